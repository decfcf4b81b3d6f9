#include "text/RtfStyleSheet.h"

#include <unicode/uchar.h>

#include <array>
#include <string_view>

namespace {

constexpr int kLevels = 9;

// The level of a built-in heading's name: "heading 1" is 0.
std::optional<int> LevelOfName(const std::u32string& name) {
    std::u32string lower;
    for (const char32_t c : name)
        if (c != U' ') lower += static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
    static constexpr std::array<std::u32string_view, 2> kHeading = {U"heading", U"заголовок"};
    for (const std::u32string_view heading : kHeading) {
        if (lower.size() == heading.size() + 1 && lower.starts_with(heading) &&
            lower.back() >= U'1' && lower.back() <= U'9')
            return static_cast<int>(lower.back() - U'1');
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> RtfOutlineLevel(bool hasParam, int param) {
    const int level = hasParam ? param : 0;
    if (level < 0 || level >= kLevels) return std::nullopt;
    return level;
}

void RtfStyleSheet::SetNumber(int number) {
    reading_ = true;
    number_ = number;
}

void RtfStyleSheet::SetOutlineLevel(std::optional<int> level) {
    reading_ = true;
    pending_.outlineLevel = level.value_or(-1);
}

void RtfStyleSheet::SetBasedOn(int style) {
    reading_ = true;
    pending_.basedOn = style;
}

void RtfStyleSheet::AddToName(char32_t codePoint) {
    reading_ = true;
    if (pending_.name.size() < kMaxNameLength) pending_.name += codePoint;
}

void RtfStyleSheet::End() {
    if (reading_ && (styles_.size() < kMaxStyles || styles_.contains(number_)))
        styles_[number_] = std::move(pending_);
    reading_ = false;
    number_ = 0;
    pending_ = Style{};
}

std::optional<int> RtfStyleSheet::OutlineLevel(int style) const {
    // Bases are followed a few steps only: they may go round in a circle.
    for (int step = 0; step < 16; ++step) {
        const auto found = styles_.find(style);
        if (found == styles_.end()) return std::nullopt;
        if (const std::optional<int> own = found->second.outlineLevel)
            return *own >= 0 ? own : std::nullopt;
        if (const std::optional<int> level = LevelOfName(found->second.name)) return level;
        if (!found->second.basedOn) return std::nullopt;
        style = *found->second.basedOn;
    }
    return std::nullopt;
}
