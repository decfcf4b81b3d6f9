#include "text/PositionMap.h"

#include <algorithm>

PositionMap::PositionMap(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n') {
            pairs_.push_back(i - pairs_.size());
            ++i;
        }
    }
}

std::size_t PositionMap::ToWidget(std::size_t position) const {
    // Each pair that lies wholly before the position takes one widget
    // position less; a position between CR and LF maps to after the break.
    std::size_t low = 0;
    std::size_t high = pairs_.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (pairs_[middle] + middle + 2 <= position) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return position - low;
}

std::size_t PositionMap::ToText(std::size_t widgetPosition) const {
    const auto before = std::lower_bound(pairs_.begin(), pairs_.end(), widgetPosition);
    return widgetPosition + static_cast<std::size_t>(before - pairs_.begin());
}
