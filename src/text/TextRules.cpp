#include "text/TextRules.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "base/CodePage.h"

namespace {

constexpr std::size_t kTrimWindow = 256;
constexpr std::size_t kWordReach = 30;

bool IsBlank(char32_t c) { return IsSeparator(c) || c == '\0'; }

}  // namespace

bool IsOtherSeparator(char32_t c) {
    return !Cp1251Byte(c) && u_isUWhiteSpace(static_cast<UChar32>(c));
}

std::size_t TrimmedLength(TextView text) {
    const std::size_t floor = text.size() > kTrimWindow ? text.size() - kTrimWindow : 0;
    std::size_t length = text.size();
    while (length > floor && IsBlank(text[length - 1])) --length;
    return length;
}

std::size_t CutLength(TextView text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    // The character at the limit is the first that does not fit: a break or
    // blank there makes the limit itself a good place.
    const std::size_t floor = limit > kCutSearch ? limit - kCutSearch : 0;
    const auto lastAtOrBefore = [&](auto is) {
        for (std::size_t i = limit + 1; i-- > floor;)
            if (is(text[i])) return i;
        return std::u32string_view::npos;
    };
    std::size_t cut = lastAtOrBefore([](char32_t c) {
        return c == '\n' || c == '\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
    });
    if (cut == std::u32string_view::npos) cut = lastAtOrBefore(IsSeparator);
    if (cut == std::u32string_view::npos) return limit;
    while (cut > 0 && IsSeparator(text[cut - 1])) --cut;
    return cut;
}

TextRange WordAtCaret(TextView text, std::size_t caret) {
    caret = std::min(caret, text.size());
    const std::size_t afterEnd = std::min(text.size(), caret + kWordReach);
    std::size_t end = caret;
    while (end < afterEnd && !IsSeparator(text[end])) ++end;
    const std::size_t beforeStart = caret > kWordReach ? caret - kWordReach : 0;
    std::size_t start = caret;
    while (start > beforeStart && !IsSeparator(text[start - 1])) --start;
    return {start, end};
}

TextRange LineAt(TextView text, std::size_t position) {
    position = std::min(position, text.size());
    constexpr auto npos = std::u32string_view::npos;
    const std::size_t before = position == 0 ? npos : text.find_last_of(U"\r\n", position - 1);
    const std::size_t start = before == npos ? 0 : before + 1;
    const std::size_t after = text.find_first_of(U"\r\n", position);
    return {start, after == npos ? text.size() : after};
}

std::u32string ClipboardText(TextView text) {
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            result += text[i];
            continue;
        }
        result += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return result;
}
