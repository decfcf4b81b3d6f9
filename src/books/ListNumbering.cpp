#include "books/ListNumbering.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr long long kMaxStart = 1'000'000'000;
// Word writes 27 as "aa" and 780 as thirty z's; past that, digits.
constexpr long long kMaxRepeatedLetters = 30;
constexpr const char* kBullet = "\u2022";

std::string Letters(long long value, bool upper, bool repeat) {
    const char first = upper ? 'A' : 'a';
    if (repeat) {
        const long long times = (value - 1) / 26 + 1;
        if (times > kMaxRepeatedLetters) return std::to_string(value);
        return std::string(static_cast<std::size_t>(times),
                           static_cast<char>(first + (value - 1) % 26));
    }
    std::string out;
    for (long long n = value; n > 0; n = (n - 1) / 26)
        out.insert(out.begin(), static_cast<char>(first + (n - 1) % 26));
    return out;
}

std::string Roman(long long value, bool upper) {
    if (value > 3999) return std::to_string(value);
    static constexpr std::pair<int, const char*> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string out;
    for (const auto& [amount, digits] : kDigits) {
        for (; value >= amount; value -= amount) out += digits;
    }
    if (upper) {
        for (char& c : out) c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

std::string FormatListNumber(long long value, NumberStyle style, bool repeatLetters) {
    if (style == NumberStyle::None) return {};
    if (value <= 0) return std::to_string(value);
    switch (style) {
        case NumberStyle::DecimalZero: return (value < 10 ? "0" : "") + std::to_string(value);
        case NumberStyle::LowerLetter:
        case NumberStyle::UpperLetter:
            return Letters(value, style == NumberStyle::UpperLetter, repeatLetters);
        case NumberStyle::LowerRoman:
        case NumberStyle::UpperRoman: return Roman(value, style == NumberStyle::UpperRoman);
        default: return std::to_string(value);
    }
}

std::string ListBullet(std::string_view utf8) {
    if (utf8.empty()) return {};
    const auto* s = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<std::int32_t>(utf8.size());
    for (std::int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0 || !u_isgraph(c) || u_charType(c) == U_PRIVATE_USE_CHAR) return kBullet;
    }
    return std::string(utf8);
}

std::string ExpandLevelText(std::string_view levelText, const std::vector<std::string>& numbers) {
    std::string out;
    for (std::size_t i = 0; i < levelText.size(); ++i) {
        if (levelText[i] == '%' && i + 1 < levelText.size() && levelText[i + 1] >= '1' &&
            levelText[i + 1] <= '9') {
            const auto level = static_cast<std::size_t>(levelText[++i] - '1');
            if (level < numbers.size()) out += numbers[level];
        } else {
            out += levelText[i];
        }
    }
    return out;
}

long long ListCounters::Count(int level, long long start, std::optional<long long> value) {
    if (level < 0 || level >= kLevels) return start;
    auto& counter = counters_[static_cast<std::size_t>(level)];
    if (value) {
        counter = ClampedStart(*value);
    } else {
        counter = counter ? std::min(*counter + 1, 2 * kMaxStart) : start;
    }
    return *counter;
}

void ListCounters::Restart(int level) {
    if (level >= 0 && level < kLevels) counters_[static_cast<std::size_t>(level)].reset();
}

long long ListCounters::Current(int level, long long start) const {
    if (level < 0 || level >= kLevels) return start;
    return counters_[static_cast<std::size_t>(level)].value_or(start);
}

long long ClampedStart(long long value) { return std::clamp(value, 0LL, kMaxStart); }
