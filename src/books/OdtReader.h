#pragma once

#include <string_view>

#include "books/BookText.h"

// OpenDocument text. Paragraphs, headings (text:h, and the Title style) bold,
// list items a paragraph each, a table row a line with its cells separated by
// tabs; text bold and italic as its styles say (automatic styles and named
// ones, through their parents). A note's citation stays in the text as "[n]"
// and the note bodies follow the text in the order they were cited, each
// starting with its "[n]". Drawings, annotations and tracked deletions are skipped. Author
// (the initial creator, else the creator) and title come from meta.xml.
// The outline: each text:h on its text:outline-level (else its style's
// default-outline-level, else 1), each paragraph whose style has a default
// outline level, and the Title style at level 1; titled by their text
// without the list number.
//
// A package whose manifest has encryption data is Encrypted. Progress counts
// the top-level paragraphs, lists and tables.
LoadedText ReadOdt(std::string_view bytes, const BookLimits& limits, const BookProgress& progress);
