#include "text/PositionMap.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

PositionMap::PositionMap(std::string_view text, std::size_t lineLimit) {
    const std::size_t wordSplit = std::max<std::size_t>(lineLimit / 2, 1);
    std::size_t widget = 0;
    std::size_t piece = 0;  // characters since the last break in the widget
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            piece = 0;
            ++widget;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
                anchors_.push_back({i + 1, widget});
            }
            continue;
        }
        const bool wordStarts = i > 0 && IsBlank(text[i - 1]) && !IsBlank(c);
        if (piece >= lineLimit || (piece >= wordSplit && wordStarts)) {
            splits_.push_back(i);
            ++widget;
            anchors_.push_back({i, widget});
            piece = 0;
        }
        ++piece;
        ++widget;
    }
}

std::size_t PositionMap::ToWidget(std::size_t position) const {
    const auto after = std::upper_bound(
        anchors_.begin(), anchors_.end(), position,
        [](std::size_t p, const Anchor& anchor) { return p < anchor.text; });
    if (after == anchors_.begin()) return position;
    const Anchor& anchor = *(after - 1);
    return anchor.widget + (position - anchor.text);
}

std::size_t PositionMap::ToText(std::size_t widgetPosition) const {
    const auto after = std::upper_bound(
        anchors_.begin(), anchors_.end(), widgetPosition,
        [](std::size_t w, const Anchor& anchor) { return w < anchor.widget; });
    if (after == anchors_.begin()) return widgetPosition;
    const Anchor& anchor = *(after - 1);
    return anchor.text + (widgetPosition - anchor.widget);
}
