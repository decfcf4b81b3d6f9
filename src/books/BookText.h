#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/LoadError.h"
#include "text/TextRules.h"
#include "text/TextRun.h"

// What a book reader gives: the book's text in reading order, how parts of
// it look (headings bold, emphasis italic, as the RTF reader describes
// formats), and the metadata a shelf name can be made of.

struct BookText {
    // A book error (Damaged, Encrypted, NoText, BookTooLarge) or Cancelled;
    // opening the file is the loader's.
    LoadError error = LoadError::None;
    std::u32string text;        // at most the limit's characters; CR LF between paragraphs
    std::vector<TextRun> runs;  // empty, or covering the text from 0 without gaps
    std::u32string author;      // "First Last", several joined by ", "; may be empty
    std::u32string title;       // may be empty
};

struct BookLimits {
    std::size_t maxTextLength = kMaxTextLength;
    // The most bytes all the parts of an archive may unpack to together.
    std::uint64_t maxUnpackedBytes = 256ull * 1024 * 1024;
};

// Told how many parts (chapters, sections, pages) of how many are done;
// returns false to stop the load, which then ends as Cancelled. Called from
// the thread that reads the book.
using BookProgress = std::function<bool(std::size_t done, std::size_t total)>;
