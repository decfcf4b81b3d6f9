#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/CompactText.h"
#include "text/TextRules.h"

// One heading of a document's outline: how deep it lies (1 is a top-level
// chapter), its title and where it starts in the text.
struct Heading {
    int level = 1;
    std::u32string title;
    std::size_t position = 0;

    bool operator==(const Heading&) const = default;
};

// The headings of a plain text: lines standing alone that look like the
// heading of a chapter, a part or a book ("Глава 3", "ГЛАВА III. Утро",
// "Часть первая", "Chapter 12", "BOOK II"), a prologue or an epilogue, or a
// lone Roman numeral. The rule is cautious: a line that reads on as a
// sentence ("Глава 3 начинается с…") or is long is no heading. Books lie
// above parts, parts above chapters, chapters above lone numerals; the
// levels are numbered from 1 over the kinds the text has.
std::vector<Heading> PlainTextOutline(TextView text);

// A heading's title as the book gives it: blanks (line breaks too) collapsed,
// none at the ends, one space between words.
std::u32string CollapseBlanks(TextView text);

// The heading whose chapter holds a position: the last one at or before it.
std::optional<std::size_t> HeadingAt(const std::vector<Heading>& outline, std::size_t position);

// The chapter a position lies in; the text before the first heading counts
// as a chapter of its own.
TextRange ChapterAround(const std::vector<Heading>& outline, std::size_t position,
                        std::size_t textLength);

// The name of the chapter that starts at a position: its heading's title, or
// for the text before the first heading, the line it starts with; blanks
// collapsed.
std::u32string ChapterTitle(const std::vector<Heading>& outline, TextView text, std::size_t start);

// Where the next or the previous chapter from a position starts: the first
// heading after it, or the end of the text; the heading before the one whose
// chapter holds it, or the start of the text.
std::size_t NextChapterStart(const std::vector<Heading>& outline, std::size_t position,
                             std::size_t textLength);
std::size_t PreviousChapterStart(const std::vector<Heading>& outline, std::size_t position);

// A chapter: from its heading to the next heading of the same or a higher
// level, or to the end of the text.
TextRange ChapterRange(const std::vector<Heading>& outline, std::size_t index,
                       std::size_t textLength);

// Drops the headings that start at or past length, as of a text cut there.
void DropHeadingsPast(std::vector<Heading>& outline, std::size_t length);
