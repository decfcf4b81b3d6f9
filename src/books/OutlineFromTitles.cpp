#include "books/OutlineFromTitles.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

using namespace std::string_view_literals;

namespace {

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0xA0;
}

// The key two titles are compared by: blanks collapsed, case folded. Nothing
// when it would be longer than longest, so that long paragraphs cost little.
std::optional<std::u32string> TitleKey(TextView text, std::size_t longest) {
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

// A key without the section number it starts with: "2.1 ", "a ", "iv. ",
// "appendix a: ", "chapter 3 ". Bookmarks often leave the number out of a
// title the page prints with it, or name an appendix by its letter alone.
std::u32string WithoutNumber(std::u32string_view key) {
    for (const std::u32string_view word :
         {U"appendix ", U"chapter ", U"part ", U"приложение ", U"глава ", U"часть "}) {
        if (key.starts_with(word)) {
            key.remove_prefix(word.size());
            break;
        }
    }
    // "2.1", a Roman numeral with its dot ("iv."), or one letter ("a").
    std::size_t end = 0;
    while (end < key.size() && ((key[end] >= U'0' && key[end] <= U'9') || key[end] == U'.')) ++end;
    if (end == 0) {
        while (end < key.size() && U"ivxlc"sv.find(key[end]) != std::u32string_view::npos) ++end;
        end = end < key.size() && key[end] == U'.' ? end + 1 : 0;
    }
    if (end == 0 && key.size() > 2 && u_isalpha(static_cast<UChar32>(key[0])) &&
        (key[1] == U' ' || key[1] == U':'))
        end = 1;
    if (end == 0 || end >= key.size() || (key[end] != U' ' && key[end] != U':')) return {};
    key.remove_prefix(end + (key[end] == U':'));
    while (!key.empty() && key.front() == U' ') key.remove_prefix(1);
    return std::u32string(key);
}

}  // namespace

std::vector<Heading> OutlineFromTitles(const std::vector<TitledEntry>& entries, TextView text,
                                       const std::vector<TextLine>& lines) {
    // Each entry is looked for by its title, then by its title without a
    // section number among lines without theirs.
    std::vector<std::u32string> keys, bare;
    std::unordered_map<std::u32string, std::vector<std::size_t>> places, barePlaces;
    std::size_t longest = 0;
    for (const TitledEntry& entry : entries) {
        keys.push_back(TitleKey(entry.title, std::u32string::npos - 1).value_or(U""));
        bare.push_back(WithoutNumber(keys.back()));
        if (bare.back().empty()) bare.back() = keys.back();
        longest = std::max(longest, keys.back().size() + 16);
        if (!keys.back().empty()) places.try_emplace(keys.back());
        if (!bare.back().empty()) barePlaces.try_emplace(bare.back());
    }
    if (places.empty()) return {};
    // Where each title stands in the text, in one pass over lines and
    // paragraphs: the paragraph starts, in text order.
    const auto note = [&](std::size_t from, std::size_t to, std::size_t paragraph) {
        if (to > text.size() || from >= to) return;
        const std::optional<std::u32string> key = TitleKey(text.substr(from, to - from), longest);
        if (!key) return;
        const auto add = [paragraph](auto& map, const std::u32string& k) {
            const auto found = map.find(k);
            if (found != map.end() && (found->second.empty() || found->second.back() != paragraph))
                found->second.push_back(paragraph);
        };
        add(places, *key);
        const std::u32string without = WithoutNumber(*key);
        add(barePlaces, without.empty() ? *key : without);
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
    const auto placeIn = [&previous](const std::vector<std::size_t>& at) {
        auto next = previous ? std::ranges::upper_bound(at, *previous) : at.begin();
        if (next == at.end() && previous && std::ranges::binary_search(at, *previous))
            next = std::ranges::lower_bound(at, *previous);
        return next == at.end() ? std::nullopt : std::optional(*next);
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::optional<std::size_t> place;
        if (const auto found = places.find(keys[i]); found != places.end())
            place = placeIn(found->second);
        if (const auto found = barePlaces.find(bare[i]); !place && found != barePlaces.end())
            place = placeIn(found->second);
        if (!place) continue;
        previous = place;
        outline.push_back({entries[i].level, CollapseBlanks(entries[i].title), *place});
    }
    return outline;
}
