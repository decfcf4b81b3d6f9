#pragma once

#include <string_view>

#include "books/BookText.h"

// Word documents (Office Open XML). Paragraphs and tables of the main
// document in order, a table row a line with its cells separated by tabs;
// headings (the Title and Heading styles, or an outline level) bold, runs
// bold and italic as their properties or character styles say; a line break
// starts a new line. Footnote and endnote references are "[n]", numbered
// together in the order they are met, and the notes follow the text in that
// order, each starting with its "[n]". Hidden text, deleted revisions,
// drawings and field codes are skipped. Author and title come from
// docProps/core.xml.
//
// The outline: paragraphs with an outline level of their own or along their
// style's chain (w:outlineLvl 0 is level 1), of a built-in heading style
// ("heading 1" to "heading 9") or of the Title style (level 1), titled by
// their text without the list number.
//
// A password-protected document is not a ZIP but an OLE compound file:
// Encrypted. Progress counts the body's top-level paragraphs and tables.
LoadedText ReadDocx(std::string_view bytes, const BookLimits& limits, const BookProgress& progress);
