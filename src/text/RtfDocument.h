#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/CompactText.h"
#include "text/Outline.h"
#include "text/TextRules.h"
#include "text/TextRun.h"

// What the RTF reader hands the text pane: the document's characters and how
// they looked, as far as the pane can show it.

struct RtfDocument {
    // One code point per position; every paragraph, line, page, section and
    // table-row break is CR LF (two positions); what cannot be decoded is
    // U+FFFD.
    CompactText text;
    // For an RTF document: cover the text from 0 in order, without gaps, and
    // two neighbours always differ in format. Empty for plain text.
    std::vector<TextRun> runs;
    // The bytes did not begin with "{\rtf": the text is those bytes, taken
    // byte for byte as Windows-1251, as a rich text control reads such a file.
    bool plainText = false;
    // The paragraphs with an outline level (\outlinelevelN, or a heading
    // style of the stylesheet), in text order: level N + 1, the paragraph's
    // text with blanks collapsed, where its first character is.
    std::vector<Heading> outline;
    // The text reached kMaxTextLength and the rest of the document was
    // dropped.
    bool truncated = false;
};
