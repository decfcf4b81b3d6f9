#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/CompactText.h"
#include "text/Outline.h"

// An entry of a book's own table of contents that names its heading only by
// title: a PDF bookmark, where poppler does not say which page it leads to.
struct TitledEntry {
    int level = 1;
    std::u32string title;
};

// A line of the text as it was laid out on its page: where it lies in the
// text, and where the paragraph it belongs to starts. Lines come in text order.
struct TextLine {
    std::size_t start = 0, end = 0;
    std::size_t paragraph = 0;
};

// The outline of entries (in the order of the table of contents) placed by
// their titles. An entry's heading is the first paragraph after the previous
// placed entry's whose text, or one of whose lines, equals the title, both
// compared with blanks collapsed and letter case ignored; failing that, the
// previous entry's own paragraph when it equals the title too (a chapter and
// its first section may share a title). Failing both, the same with the
// section number the title or the line starts with left out ("ASN.1 syntax"
// finds "2.1 ASN.1 syntax", "A Copying Information" finds "Appendix A
// Copying Information"). An entry whose title the text does
// not hold (a page past the text's limit, a title the page spells otherwise)
// is left out. Titles keep the entries' words, blanks collapsed.
std::vector<Heading> OutlineFromTitles(const std::vector<TitledEntry>& entries, TextView text,
                                       const std::vector<TextLine>& lines);
