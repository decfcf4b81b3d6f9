#pragma once

#include <string>
#include <string_view>

#include "books/BookText.h"

// A PDF's text layer as a book: the words of each page in poppler's reading
// order, put back into paragraphs by their geometry. Lines of a paragraph are
// joined with a space; a word broken by a hyphen at a line end is joined
// again, while a compound keeps its hyphen (LineEndHyphen.h). A line that
// repeats at the top or bottom of most pages (digits aside, so that page
// numbers match) is a running header or footer and is left out.
// A password or DRM gives Encrypted, pages without any text (a scan) NoText,
// what poppler cannot open Damaged. Progress is told once per page. The
// outline is the document's bookmarks, placed by their titles
// (OutlineFromTitles.h).

// The bytes must be the whole file.
LoadedText ReadPdf(std::string_view bytes, const BookLimits& limits, const BookProgress& progress);

// The file at path (the platform's bytes), read by poppler as it needs it.
LoadedText ReadPdfFile(const std::string& path, const BookLimits& limits,
                       const BookProgress& progress);
