#include "text/PositionMap.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

PositionMap::PositionMap(std::string_view text, std::size_t lineLimit) {
    const std::size_t size = text.size();
    // Where the next CR and the next LF at or after `from` are; size when none.
    const auto next = [text, size](char c, std::size_t from) {
        const void* found = from < size ? std::memchr(text.data() + from, c, size - from) : nullptr;
        return found != nullptr
                   ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                   : size;
    };
    std::size_t nextCr = next('\r', 0);
    std::size_t nextLf = next('\n', 0);
    std::size_t widget = 0;  // the widget position of `start`
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(nextCr, nextLf);
        if (end - start > lineLimit) SplitLine(text, start, end, lineLimit, widget);
        widget += end - start;
        if (end == size) break;
        ++widget;  // the line break
        start = end + 1;
        if (text[end] == '\r' && start < size && text[start] == '\n') {
            ++start;
            anchors_.push_back({start, widget});
        }
        if (nextCr < start) nextCr = next('\r', start);
        if (nextLf < start) nextLf = next('\n', start);
    }
}

// Splits [start, end), a line longer than the limit, into pieces: each ends
// before the first word that starts once it holds half the limit, or at the
// limit itself, until what is left of the line fits.
void PositionMap::SplitLine(std::string_view text, std::size_t start, std::size_t end,
                            std::size_t lineLimit, std::size_t& widget) {
    const std::size_t wordSplit = std::max<std::size_t>(lineLimit / 2, 1);
    std::size_t pieceStart = start;
    for (std::size_t i = start + 1; i < end && end - pieceStart > lineLimit; ++i) {
        const std::size_t piece = i - pieceStart;
        const bool wordStarts = IsBlank(text[i - 1]) && !IsBlank(text[i]);
        if (piece >= lineLimit || (piece >= wordSplit && wordStarts)) {
            splits_.push_back(i);
            ++widget;
            anchors_.push_back({i, widget + (i - start)});
            pieceStart = i;
        }
    }
}

std::size_t PositionMap::ToWidget(std::size_t position) const {
    const auto after =
        std::upper_bound(anchors_.begin(), anchors_.end(), position,
                         [](std::size_t p, const Anchor& anchor) { return p < anchor.text; });
    if (after == anchors_.begin()) return position;
    const Anchor& anchor = *(after - 1);
    return anchor.widget + (position - anchor.text);
}

std::size_t PositionMap::ToText(std::size_t widgetPosition) const {
    const auto after =
        std::upper_bound(anchors_.begin(), anchors_.end(), widgetPosition,
                         [](std::size_t w, const Anchor& anchor) { return w < anchor.widget; });
    if (after == anchors_.begin()) return widgetPosition;
    const Anchor& anchor = *(after - 1);
    return anchor.text + (widgetPosition - anchor.widget);
}
