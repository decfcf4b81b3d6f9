#include "text/TextRules.h"

#include <algorithm>

namespace {

constexpr std::size_t kTrimWindow = 256;
constexpr std::size_t kWordReach = 30;

constexpr bool IsBlank(char c) { return IsSeparator(c) || c == '\0'; }

}  // namespace

std::size_t TrimmedLength(std::string_view text) {
    const std::size_t floor = text.size() > kTrimWindow ? text.size() - kTrimWindow : 0;
    std::size_t length = text.size();
    while (length > floor && IsBlank(text[length - 1])) --length;
    return length;
}

TextRange WordAtCaret(std::string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    const std::size_t afterEnd = std::min(text.size(), caret + kWordReach);
    std::size_t end = caret;
    while (end < afterEnd && !IsSeparator(text[end])) ++end;
    const std::size_t beforeStart = caret > kWordReach ? caret - kWordReach : 0;
    std::size_t start = caret;
    while (start > beforeStart && !IsSeparator(text[start - 1])) --start;
    return {start, end};
}

TextRange LineAt(std::string_view text, std::size_t position) {
    position = std::min(position, text.size());
    constexpr auto npos = std::string_view::npos;
    const std::size_t before = position == 0 ? npos : text.find_last_of("\r\n", position - 1);
    const std::size_t start = before == npos ? 0 : before + 1;
    const std::size_t after = text.find_first_of("\r\n", position);
    return {start, after == npos ? text.size() : after};
}

std::string ClipboardText(std::string_view text) {
    std::string result;
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
