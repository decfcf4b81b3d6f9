#include "text/RtfColorTable.h"

#include <algorithm>

namespace {

std::uint32_t Component(int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); }

}  // namespace

void RtfColorTable::Clear() {
    colors_.clear();
    red_ = green_ = blue_ = 0;
    given_ = false;
}

void RtfColorTable::SetRed(int value) {
    red_ = Component(value);
    given_ = true;
}

void RtfColorTable::SetGreen(int value) {
    green_ = Component(value);
    given_ = true;
}

void RtfColorTable::SetBlue(int value) {
    blue_ = Component(value);
    given_ = true;
}

void RtfColorTable::EndEntry() {
    if (colors_.size() < kMaxColors) {
        colors_.push_back(given_ ? std::optional(blue_ << 16 | green_ << 8 | red_) : std::nullopt);
    }
    red_ = green_ = blue_ = 0;
    given_ = false;
}

void RtfColorTable::EndUnfinishedEntry() {
    if (given_) EndEntry();
}

std::optional<std::uint32_t> RtfColorTable::Find(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colors_.size()) return std::nullopt;
    return colors_[static_cast<std::size_t>(index)];
}
