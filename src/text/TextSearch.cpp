#include "text/TextSearch.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr std::size_t kPlaneSize = 0x10000;
// Marks a fold of more than one character in the table below.
constexpr char32_t kExpands = 0x80000000;

// The simple fold of every character of the Basic Multilingual Plane, which
// is where every fold of more than one character starts; for those the table
// holds the first character of the fold, marked with kExpands. A search looks
// up each character it passes, so this is built once.
const std::array<char32_t, kPlaneSize>& FoldTable() {
    static const auto table = [] {
        auto built = std::make_unique<std::array<char32_t, kPlaneSize>>();
        for (char32_t c = 0; c < kPlaneSize; ++c) {
            UChar unit = static_cast<UChar>(c);
            UChar folded[4];
            UErrorCode status = U_ZERO_ERROR;
            const int32_t length = U_IS_SURROGATE(c) ? 1
                                                     : u_strFoldCase(folded, 4, &unit, 1,
                                                                     U_FOLD_CASE_DEFAULT, &status);
            if (U_IS_SURROGATE(c) || U_FAILURE(status) || length == 1) {
                (*built)[c] =
                    static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
            } else {
                (*built)[c] = folded[0] | kExpands;
            }
        }
        return built;
    }();
    return *table;
}

bool IsWholeWord(TextView text, std::size_t start, std::size_t end) {
    return (start == 0 || !IsWordCharacter(text[start - 1])) &&
           (end == text.size() || !IsWordCharacter(text[end]));
}

// The folded characters of the text from `pos` on that make up `pattern`
// exactly, character by character: the end of that run, or nothing.
std::optional<std::size_t> FoldedMatchEnd(TextView text, std::size_t pos,
                                          std::u32string_view pattern) {
    const auto& table = FoldTable();
    std::u32string expanded;
    std::size_t matched = 0;
    while (matched < pattern.size()) {
        if (pos >= text.size()) return std::nullopt;
        const char32_t c = text[pos++];
        const char32_t entry = c < kPlaneSize ? table[c] : 0;
        if (c < kPlaneSize && (entry & kExpands) == 0) {
            if (entry != pattern[matched++]) return std::nullopt;
            continue;
        }
        expanded.clear();
        AppendCaseFold(c, expanded);
        if (pattern.substr(matched, expanded.size()) != expanded) return std::nullopt;
        matched += expanded.size();
    }
    return pos;
}

}  // namespace

void AppendCaseFold(char32_t c, std::u32string& out) {
    if (c >= kPlaneSize) {
        out.push_back(
            static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT)));
        return;
    }
    const char32_t entry = FoldTable()[c];
    if ((entry & kExpands) == 0) {
        out.push_back(entry);
        return;
    }
    const UChar unit = static_cast<UChar>(c);
    UChar folded[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = u_strFoldCase(folded, 4, &unit, 1, U_FOLD_CASE_DEFAULT, &status);
    for (int32_t i = 0; i < length; ++i) out.push_back(folded[i]);
}

bool IsWordCharacter(char32_t c) {
    if (c < 0x80) return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    const auto category = U_GET_GC_MASK(static_cast<UChar32>(c));
    return (category & (U_GC_L_MASK | U_GC_M_MASK | U_GC_ND_MASK)) != 0;
}

std::optional<TextRange> FindForward(TextView text, std::u32string_view what, std::size_t from,
                                     std::size_t to, SearchOptions options) {
    if (what.empty()) return std::nullopt;
    to = std::min(to, text.size());
    if (options.matchCase) {
        for (std::size_t pos = text.find(what, from); pos < to; pos = text.find(what, pos + 1)) {
            if (!options.wholeWord || IsWholeWord(text, pos, pos + what.size())) {
                return TextRange{pos, pos + what.size()};
            }
        }
        return std::nullopt;
    }
    std::u32string pattern;
    for (const char32_t c : what) AppendCaseFold(c, pattern);
    // Most characters fail on their first folded character, found by a table
    // look-up; only those that pass are matched further.
    const auto& table = FoldTable();
    const char32_t first = pattern[0];
    for (std::size_t pos = from; pos < to; ++pos) {
        const char32_t c = text[pos];
        const char32_t folded = c < kPlaneSize ? table[c] & ~kExpands : first;
        if (folded != first) continue;
        const std::optional<std::size_t> end = FoldedMatchEnd(text, pos, pattern);
        if (end && (!options.wholeWord || IsWholeWord(text, pos, *end))) {
            return TextRange{pos, *end};
        }
    }
    return std::nullopt;
}

FindResult FindNext(TextView text, TextRange selection, const SearchState& state) {
    if (state.searchText.empty()) return {FindOutcome::NothingToSearch, selection, state};
    SearchState next = state;
    std::size_t from = selection.end > selection.start ? selection.start + 1 : selection.start;
    for (;;) {
        const std::size_t to = next.wrapped ? next.origin : text.size();
        if (const auto found = FindForward(text, next.searchText, from, to, next.options)) {
            return {FindOutcome::Found, *found, next};
        }
        if (next.wrapped) break;
        next.wrapped = true;
        from = 0;
    }
    next.wrapped = false;
    next.searchText.clear();
    return {FindOutcome::NotFound, selection, next};
}

std::u32string DialogSearchText(std::u32string_view selectedText) {
    if (selectedText.size() > kMaxDialogSearchText) return {};
    return std::u32string(selectedText);
}

SearchState BeginSearch(std::u32string_view searchText, SearchOptions options,
                        TextRange selection) {
    return {std::u32string(searchText.substr(0, kMaxSearchText)), options, selection.start, false};
}

SearchState BeginSelectionSearch(const SearchState& state, std::u32string_view selectedText,
                                 TextRange selection) {
    return BeginSearch(selectedText, state.options, selection);
}
