#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "text/LoadedText.h"
#include "text/TextRules.h"

// What every book reader takes: the limits of the load and whom to tell its
// progress. It gives a LoadedText: the book's text in reading order, how parts
// of it look (headings bold, emphasis italic, as the RTF reader describes
// formats), and the metadata a shelf name can be made of; or a book error
// (Damaged, Encrypted, NoText, BookTooLarge) or Cancelled. Opening the file
// is the loader's.

struct BookLimits {
    std::size_t maxTextLength = kMaxTextLength;
    // The most bytes all the parts of an archive may unpack to together.
    std::uint64_t maxUnpackedBytes = 256ull * 1024 * 1024;
};

// Told how many parts (chapters, sections, pages) of how many are done;
// returns false to stop the load, which then ends as Cancelled. A total of 0
// tells no count and only asks whether to go on (an archive's long
// unpacking). Called from the thread that reads the book.
using BookProgress = std::function<bool(std::size_t done, std::size_t total)>;
