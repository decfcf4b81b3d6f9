#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "text/CompactText.h"
#include "text/LoadError.h"
#include "text/Outline.h"
#include "text/TextRun.h"

// What a load gives: a text file's, an RTF or HTML document's or a book's
// text, how parts of it look, and a book's metadata; or, when it failed, why.
struct LoadedText {
    LoadError error = LoadError::None;
    // At most the load's limit of characters (kMaxTextLength unless a reader
    // was given less); a book's paragraphs are separated by CR LF.
    CompactText text;
    // How parts of an RTF document or a book look (bold headings, italic
    // emphasis): empty, or covering the text from 0 without gaps. Empty for
    // plain text and HTML.
    std::vector<TextRun> runs;
    // A book's own metadata, for its shelf name; empty for other documents.
    std::u32string author;  // "First Last", several joined by ", "
    std::u32string title;
    // The source held more than the limit: the text is its start, cut where
    // a paragraph or a word ends (see CutLength).
    bool truncated = false;
    // A book that stops being well-formed part way (a cut-off file, broken
    // markup): the text is what could be read before the damage, and this is
    // how much of the file, in whole percent rounded down, lay before it.
    std::optional<int> damagedAtPercent = std::nullopt;
    // The headings of a book or a document, in text order.
    std::vector<Heading> outline;
};

// What a load gives when it fails: the error and nothing else.
inline LoadedText LoadFailure(LoadError error) {
    LoadedText failed;
    failed.error = error;
    return failed;
}

// Drops the runs, or their parts, past length.
inline void CutRuns(std::vector<TextRun>& runs, std::size_t length) {
    while (!runs.empty() && runs.back().start >= length) runs.pop_back();
    if (!runs.empty())
        runs.back().length = std::min(runs.back().length, length - runs.back().start);
}
