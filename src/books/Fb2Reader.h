#pragma once

#include <string_view>

#include "books/BookText.h"

// FictionBook 2. The text in reading order: the main body (the first body
// that is not named "notes" or "comments") with its title and epigraphs, its
// sections in order with their titles; then every other body (the notes)
// under its own title. Titles and subtitles are bold, <strong> bold,
// <emphasis> italic; poems give a line a verse and an empty line between
// stanzas; a table row is a line with its cells separated by tabs;
// <empty-line/> is an empty paragraph; images are skipped. Author ("First
// Middle Last", several joined by ", ") and title come from the title-info.
// The outline: each titled section of the main body, a level below the
// titled sections around it (a section without a title gives no heading and
// no level); then each other body at level 1, under its title or
// "Примечания".
//
// The XML declaration's encoding is honoured (windows-1251, KOI8-R, ...). A
// file that is not a FictionBook with a body is Damaged; one cut short gives
// what was read before the cut. Progress counts the bodies' top-level sections.
LoadedText ReadFb2(std::string_view bytes, const BookLimits& limits, const BookProgress& progress);

// The first entry whose name ends in ".fb2" (any letter case) of a ZIP
// archive. Damaged without one, Encrypted when it has a password,
// BookTooLarge beyond the unpacking cap.
LoadedText ReadFb2Zip(std::string_view bytes, const BookLimits& limits,
                      const BookProgress& progress);
