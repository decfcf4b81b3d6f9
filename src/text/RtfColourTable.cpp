#include "text/RtfColourTable.h"

#include <algorithm>

namespace {

std::uint32_t Component(int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); }

}  // namespace

void RtfColourTable::Clear() {
    colours_.clear();
    red_ = green_ = blue_ = 0;
    given_ = false;
}

void RtfColourTable::SetRed(int value) {
    red_ = Component(value);
    given_ = true;
}

void RtfColourTable::SetGreen(int value) {
    green_ = Component(value);
    given_ = true;
}

void RtfColourTable::SetBlue(int value) {
    blue_ = Component(value);
    given_ = true;
}

void RtfColourTable::EndEntry() {
    if (colours_.size() < kMaxColours) {
        colours_.push_back(given_ ? std::optional(blue_ << 16 | green_ << 8 | red_) : std::nullopt);
    }
    red_ = green_ = blue_ = 0;
    given_ = false;
}

void RtfColourTable::EndUnfinishedEntry() {
    if (given_) EndEntry();
}

std::optional<std::uint32_t> RtfColourTable::Find(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
    return colours_[static_cast<std::size_t>(index)];
}
