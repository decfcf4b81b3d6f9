#include "text/TextSearch.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using ByteTable = std::array<unsigned char, 256>;

// Capitals of the upper half whose small letter is not simply 0x20 above.
struct CasePair {
    unsigned char upper;
    unsigned char lower;
};
constexpr CasePair kUpperHalfPairs[] = {
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xA8, 0xB8},  // Ё ё
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
};
constexpr unsigned char kMicro = 0xB5;
constexpr std::size_t kShortPattern = 3;

constexpr ByteTable MakeFold() {
    ByteTable fold{};
    for (unsigned b = 0; b < 256; ++b) fold[b] = static_cast<unsigned char>(b);
    for (unsigned b = 'A'; b <= 'Z'; ++b) fold[b] = static_cast<unsigned char>(b + 0x20);
    for (unsigned b = 0xC0; b <= 0xDF; ++b) fold[b] = static_cast<unsigned char>(b + 0x20);
    for (const CasePair& p : kUpperHalfPairs) fold[p.upper] = p.lower;
    return fold;
}

constexpr ByteTable MakeIdentity() {
    ByteTable identity{};
    for (unsigned b = 0; b < 256; ++b) identity[b] = static_cast<unsigned char>(b);
    return identity;
}

constexpr std::array<bool, 256> MakeWordCharacters() {
    std::array<bool, 256> word{};
    for (unsigned b = '0'; b <= '9'; ++b) word[b] = true;
    for (unsigned b = 'A'; b <= 'Z'; ++b) word[b] = word[b + 0x20] = true;
    for (unsigned b = 0xC0; b <= 0xFF; ++b) word[b] = true;
    for (const CasePair& p : kUpperHalfPairs) word[p.upper] = word[p.lower] = true;
    word[kMicro] = true;
    return word;
}

constexpr ByteTable MakeUnfold() {
    ByteTable unfold = MakeIdentity();
    const ByteTable fold = MakeFold();
    for (unsigned b = 0; b < 256; ++b) {
        if (fold[b] != b) unfold[fold[b]] = static_cast<unsigned char>(b);
    }
    return unfold;
}

constexpr ByteTable kFold = MakeFold();
constexpr ByteTable kIdentity = MakeIdentity();
constexpr ByteTable kUnfold = MakeUnfold();  // the capital of a small letter
constexpr std::array<bool, 256> kWordCharacters = MakeWordCharacters();

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

bool IsWholeWord(std::string_view text, std::size_t start, std::size_t end) {
    return (start == 0 || !IsWordCharacter(Byte(text[start - 1]))) &&
           (end == text.size() || !IsWordCharacter(Byte(text[end])));
}

bool Matches(std::string_view text, std::size_t pos, std::string_view pattern, const ByteTable& map,
             SearchOptions options) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (map[Byte(text[pos + i])] != Byte(pattern[i])) return false;
    }
    return !options.wholeWord || IsWholeWord(text, pos, pos + pattern.size());
}

// Horspool's skips are short for a short pattern; there the library's
// memchr, which looks at many bytes at once, finds the candidates for the
// first byte (in either case) faster.
std::optional<TextRange> FindShort(std::string_view text, std::string_view pattern,
                                   std::size_t from, std::size_t to, const ByteTable& map,
                                   SearchOptions options) {
    const unsigned char first = Byte(pattern[0]);
    const unsigned char other = options.matchCase ? first : kUnfold[first];
    const char* base = text.data();
    auto next = [&](unsigned char byte, std::size_t pos) -> std::size_t {
        const void* hit = std::memchr(base + pos, byte, to - pos);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : to;
    };
    std::size_t nextFirst = next(first, from);
    std::size_t nextOther = other != first ? next(other, from) : to;
    for (;;) {
        const std::size_t pos = std::min(nextFirst, nextOther);
        if (pos >= to) return std::nullopt;
        if (Matches(text, pos, pattern, map, options)) return TextRange{pos, pos + pattern.size()};
        if (pos == nextFirst) nextFirst = pos + 1 < to ? next(first, pos + 1) : to;
        if (pos == nextOther) nextOther = pos + 1 < to ? next(other, pos + 1) : to;
    }
}

}  // namespace

unsigned char FoldCase(unsigned char byte) { return kFold[byte]; }

bool IsWordCharacter(unsigned char byte) { return kWordCharacters[byte]; }

std::optional<TextRange> FindForward(std::string_view text, std::string_view what, std::size_t from,
                                     std::size_t to, SearchOptions options) {
    const std::size_t length = what.size();
    if (length == 0 || length > text.size()) return std::nullopt;
    to = std::min(to, text.size() - length + 1);
    if (from >= to) return std::nullopt;

    // Boyer-Moore-Horspool over the bytes as the options compare them: the
    // window moves by how far its last byte is from that byte's last place in
    // the pattern, so most of the text is never looked at.
    const ByteTable& map = options.matchCase ? kIdentity : kFold;
    std::string pattern(length, '\0');
    for (std::size_t i = 0; i < length; ++i) pattern[i] = static_cast<char>(map[Byte(what[i])]);
    if (length <= kShortPattern) return FindShort(text, pattern, from, to, map, options);
    std::array<std::size_t, 256> shift;
    shift.fill(length);
    for (std::size_t i = 0; i + 1 < length; ++i) shift[Byte(pattern[i])] = length - 1 - i;

    for (std::size_t pos = from; pos < to;) {
        const unsigned char last = map[Byte(text[pos + length - 1])];
        if (last == Byte(pattern[length - 1]) && Matches(text, pos, pattern, map, options)) {
            return TextRange{pos, pos + length};
        }
        pos += shift[last];
    }
    return std::nullopt;
}

FindResult FindNext(std::string_view text, TextRange selection, const SearchState& state) {
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

std::string DialogSearchText(std::string_view selectedText) {
    if (selectedText.size() > kMaxDialogSearchText) return {};
    return std::string(selectedText);
}

SearchState BeginSearch(std::string_view searchText, SearchOptions options, TextRange selection) {
    return {std::string(searchText.substr(0, kMaxSearchText)), options, selection.start, false};
}

SearchState BeginSelectionSearch(const SearchState& state, std::string_view selectedText,
                                 TextRange selection) {
    return BeginSearch(selectedText, state.options, selection);
}
