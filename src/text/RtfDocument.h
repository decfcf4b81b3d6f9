#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/TextRules.h"

// What the RTF reader hands the text pane: the document's characters and how
// they looked, as far as the pane can show it.

// RTF's own size when a document names none (\fs24, 12 points).
inline constexpr int kRtfDefaultHalfPoints = 24;

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // Font size in half-points, as RTF's \fs counts it; 1 to 3276.
    int halfPoints = kRtfDefaultHalfPoints;
    // 0x00BBGGRR; none when the document leaves the colour to the reader
    // (no \cf, or a colour-table entry without components).
    std::optional<std::uint32_t> color;
    // The font family, decoded in the font's code page; empty when the
    // document names no font for the text.
    std::u32string face;

    bool operator==(const RtfCharFormat&) const = default;
};

// Characters (code points) [start, start + length) of the text share one
// format.
struct RtfRun {
    std::size_t start = 0;
    std::size_t length = 0;
    RtfCharFormat format;

    bool operator==(const RtfRun&) const = default;
};

struct RtfDocument {
    // One code point per position; every paragraph, line, page, section and
    // table-row break is CR LF (two positions); what cannot be decoded is
    // U+FFFD.
    std::u32string text;
    // For an RTF document: cover the text from 0 in order, without gaps, and
    // two neighbours always differ in format. Empty for plain text.
    std::vector<RtfRun> runs;
    // The bytes did not begin with "{\rtf": the text is those bytes, taken
    // byte for byte as Windows-1251, as a rich text control reads such a file.
    bool plainText = false;
    // The text reached kMaxTextLength and the rest of the document was
    // dropped.
    bool truncated = false;
};
