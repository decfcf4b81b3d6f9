#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>
#include "text/CompactText.h"

// Converts between positions in the program's text, where every character
// counts one (CR and LF one each), and positions in the text widget. The
// widget holds UTF-16, where a character beyond the Basic Multilingual Plane
// takes two positions; it shows every line break (CR LF, lone CR, lone LF) as
// one separator, and it splits a very long line
// into pieces with a break of its own that has no character in the text: the
// widget lays out and paints a paragraph as a whole, so a line of megabytes
// would make every step, scroll and selection slow.
//
// Only a line longer than the limit is split: before the first word that
// starts once a piece holds half the limit, or at the limit itself when no
// word starts before it, until what is left of the line fits.
// A text position where a split lies maps to after the split's break, so a
// selection that starts there does not begin with a break.
class PositionMap {
public:
    static constexpr std::size_t kLineLimit = 4096;

    PositionMap() = default;
    explicit PositionMap(TextView text, std::size_t lineLimit = kLineLimit);

    std::size_t ToWidget(std::size_t position) const;
    std::size_t ToText(std::size_t widgetPosition) const;

    // The text positions before which the widget has a break of its own, in
    // increasing order.
    const std::vector<std::size_t>& Splits() const { return splits_; }

private:
    // Where the difference between widget and text positions changes: from
    // text position `text` on (widget position `widget` on) a position maps
    // by the difference of this anchor.
    void MapLine(TextView text, std::size_t start, std::size_t end, std::size_t lineLimit,
                 std::size_t& widget);

    // Four bytes each: a text holds at most kMaxTextLength characters, and a
    // book with a line break every line has an anchor for every line.
    struct Anchor {
        std::uint32_t text;
        std::uint32_t widget;
    };
    void AddAnchor(std::size_t text, std::size_t widget) {
        anchors_.push_back({static_cast<std::uint32_t>(text), static_cast<std::uint32_t>(widget)});
    }
    std::vector<Anchor> anchors_;
    std::vector<std::size_t> splits_;
};
