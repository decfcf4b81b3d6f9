#include "books/OutlineFromTitles.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace {

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0xA0;
}

// The key two titles are compared by: blanks collapsed, case folded. Nothing
// when it would be longer than longest, so that long paragraphs cost little.
std::optional<std::u32string> TitleKey(std::u32string_view text, std::size_t longest) {
    std::u32string key;
    bool blank = false;
    for (const char32_t c : text) {
        if (IsBlank(c)) {
            blank = !key.empty();
            continue;
        }
        if (blank) key += U' ';
        blank = false;
        key += static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
        if (key.size() > longest) return std::nullopt;
    }
    return key;
}

}  // namespace

std::vector<Heading> OutlineFromTitles(const std::vector<TitledEntry>& entries,
                                       std::u32string_view text,
                                       const std::vector<TextLine>& lines) {
    std::vector<std::u32string> keys;
    std::unordered_map<std::u32string, std::vector<std::size_t>> places;
    std::size_t longest = 0;
    for (const TitledEntry& entry : entries) {
        keys.push_back(TitleKey(entry.title, std::u32string::npos - 1).value_or(U""));
        longest = std::max(longest, keys.back().size());
        if (!keys.back().empty()) places.try_emplace(keys.back());
    }
    if (places.empty()) return {};
    // Where each title stands in the text, in one pass over lines and
    // paragraphs: the paragraph starts, in text order.
    const auto note = [&](std::size_t from, std::size_t to, std::size_t paragraph) {
        if (to > text.size() || from >= to) return;
        const std::optional<std::u32string> key = TitleKey(text.substr(from, to - from), longest);
        if (!key) return;
        const auto found = places.find(*key);
        if (found != places.end() && (found->second.empty() || found->second.back() != paragraph))
            found->second.push_back(paragraph);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        note(lines[i].start, lines[i].end, lines[i].paragraph);
        // A paragraph of several lines, once its last line is seen.
        const bool last = i + 1 == lines.size() || lines[i + 1].paragraph != lines[i].paragraph;
        if (last && lines[i].start != lines[i].paragraph)
            note(lines[i].paragraph, lines[i].end, lines[i].paragraph);
    }
    std::vector<Heading> outline;
    std::optional<std::size_t> previous;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto found = places.find(keys[i]);
        if (found == places.end()) continue;
        const std::vector<std::size_t>& at = found->second;
        auto next = previous ? std::ranges::upper_bound(at, *previous) : at.begin();
        if (next == at.end() && previous && std::ranges::binary_search(at, *previous))
            next = std::ranges::lower_bound(at, *previous);
        if (next == at.end()) continue;
        previous = *next;
        outline.push_back({entries[i].level, CollapseBlanks(entries[i].title), *next});
    }
    return outline;
}
