#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// How a stretch of a document's text looks, as every reader describes it
// (RTF, the books, the office formats) and the text pane shows it.

// The size a document gets when it names none: 12 points, in RTF's half-points.
inline constexpr int kRtfDefaultHalfPoints = 24;

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // Font size in half-points, as RTF's \fs counts it; 1 to 3276.
    int halfPoints = kRtfDefaultHalfPoints;
    // 0x00BBGGRR; none when the document leaves the color to the reader.
    std::optional<std::uint32_t> color;
    // The font family in UTF-8, empty when the document names no font for the
    // text. UTF-8 keeps a usual name ("Times New Roman") inside the string
    // itself: a document with a change of format every few words copies it
    // hundreds of thousands of times.
    std::string face;

    bool operator==(const CharFormat&) const = default;
};

// Characters (code points) [start, start + length) of the text share one
// format.
struct TextRun {
    std::size_t start = 0;
    std::size_t length = 0;
    CharFormat format;

    bool operator==(const TextRun&) const = default;
};
