#include "text/Outline.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>

namespace {

enum class HeadingKind { Book, Part, Chapter, Numeral, None };

constexpr std::size_t kLongestHeading = 80;

std::u32string Lower(std::u32string_view text) {
    std::u32string lower(text);
    for (char32_t& c : lower) c = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
    return lower;
}

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == 0xA0; }

// Splits off the first word (letters and digits) of text.
std::u32string_view TakeWord(std::u32string_view& text) {
    std::size_t end = 0;
    while (end < text.size() && u_isalnum(static_cast<UChar32>(text[end]))) ++end;
    const std::u32string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

bool IsRomanNumeral(std::u32string_view word) {
    static constexpr std::array<std::u32string_view, 40> kNumerals = {
        U"i",      U"ii",    U"iii",   U"iv",     U"v",      U"vi",      U"vii",   U"viii",
        U"ix",     U"x",     U"xi",    U"xii",    U"xiii",   U"xiv",     U"xv",    U"xvi",
        U"xvii",   U"xviii", U"xix",   U"xx",     U"xxi",    U"xxii",    U"xxiii", U"xxiv",
        U"xxv",    U"xxvi",  U"xxvii", U"xxviii", U"xxix",   U"xxx",     U"xxxi",  U"xxxii",
        U"xxxiii", U"xxxiv", U"xxxv",  U"xxxvi",  U"xxxvii", U"xxxviii", U"xxxix", U"xl"};
    return std::ranges::find(kNumerals, word) != kNumerals.end();
}

bool IsNumber(std::u32string_view word) {
    if (word.empty() || word.size() > 4) return IsRomanNumeral(word);
    return std::ranges::all_of(word, [](char32_t c) { return c >= '0' && c <= '9'; }) ||
           IsRomanNumeral(word);
}

// An ordinal or a small number in words: "первая", "третий", "one", "first".
bool IsNumberWord(std::u32string_view word) {
    static constexpr std::array<std::u32string_view, 20> kRussianStems = {
        U"перв",       U"втор",      U"трет",        U"четв",        U"пят",
        U"шест",       U"седьм",     U"восьм",       U"девят",       U"десят",
        U"одиннадцат", U"двенадцат", U"тринадцат",   U"четырнадцат", U"пятнадцат",
        U"шестнадцат", U"семнадцат", U"восемнадцат", U"девятнадцат", U"двадцат"};
    static constexpr std::array<std::u32string_view, 8> kRussianEndings = {
        U"ая", U"ый", U"ой", U"ое", U"ий", U"ья", U"ье", U"ей"};
    static constexpr std::array<std::u32string_view, 30> kEnglish = {
        U"one",     U"two",      U"three",    U"four",    U"five",     U"six",
        U"seven",   U"eight",    U"nine",     U"ten",     U"eleven",   U"twelve",
        U"first",   U"second",   U"third",    U"fourth",  U"fifth",    U"sixth",
        U"seventh", U"eighth",   U"ninth",    U"tenth",   U"eleventh", U"twelfth",
        U"last",    U"thirteen", U"fourteen", U"fifteen", U"sixteen",  U"twenty"};
    if (std::ranges::find(kEnglish, word) != kEnglish.end()) return true;
    const bool ending = std::ranges::any_of(
        kRussianEndings, [word](std::u32string_view e) { return word.ends_with(e); });
    return ending && word.size() <= 16 &&
           std::ranges::any_of(kRussianStems,
                               [word](std::u32string_view s) { return word.starts_with(s); });
}

// The word that begins a numbered heading.
HeadingKind KindOfKeyword(std::u32string_view word) {
    struct Keyword {
        std::u32string_view word;
        HeadingKind kind;
    };
    static constexpr std::array<Keyword, 6> kKeywords = {{
        {U"книга", HeadingKind::Book},
        {U"book", HeadingKind::Book},
        {U"часть", HeadingKind::Part},
        {U"part", HeadingKind::Part},
        {U"глава", HeadingKind::Chapter},
        {U"chapter", HeadingKind::Chapter},
    }};
    for (const Keyword& keyword : kKeywords)
        if (word == keyword.word) return keyword.kind;
    return HeadingKind::None;
}

void SkipBlanks(std::u32string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
}

// What a line, blanks trimmed and in lower case, is the heading of.
HeadingKind KindOfLine(std::u32string_view line) {
    static constexpr std::array<std::u32string_view, 4> kAlone = {U"пролог", U"эпилог", U"prologue",
                                                                  U"epilogue"};
    std::u32string_view rest = line;
    const std::u32string_view first = TakeWord(rest);
    if (rest.empty() || rest == U".") {
        if (IsRomanNumeral(first)) return HeadingKind::Numeral;
        if (std::ranges::find(kAlone, first) != kAlone.end()) return HeadingKind::Chapter;
        return HeadingKind::None;
    }
    const HeadingKind kind = KindOfKeyword(first);
    if (kind == HeadingKind::None || !IsBlank(rest.front())) return HeadingKind::None;
    SkipBlanks(rest);
    const std::u32string_view number = TakeWord(rest);
    if (!IsNumber(number) && !IsNumberWord(number)) return HeadingKind::None;
    // After the number only a title set off by a mark, which does not go on
    // as a clause.
    SkipBlanks(rest);
    if (rest.empty()) return kind;
    if (std::u32string_view(U".:—–-").find(rest.front()) == std::u32string_view::npos ||
        rest.ends_with(U",") || rest.ends_with(U";"))
        return HeadingKind::None;
    return kind;
}

}  // namespace

std::vector<Heading> PlainTextOutline(std::u32string_view text) {
    std::vector<std::pair<HeadingKind, Heading>> found;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(U"\r\n", start);
        if (end == std::u32string_view::npos) end = text.size();
        std::size_t first = start, last = end;
        while (first < last && IsBlank(text[first])) ++first;
        while (last > first && IsBlank(text[last - 1])) --last;
        if (last > first && last - first <= kLongestHeading) {
            const std::u32string_view line = text.substr(first, last - first);
            const HeadingKind kind = KindOfLine(Lower(line));
            if (kind != HeadingKind::None)
                found.push_back({kind, {0, std::u32string(line), first}});
        }
        start = end + 1;
    }
    // Levels count only the kinds there are: chapters alone are level 1.
    std::array<bool, 4> present{};
    for (const auto& [kind, heading] : found) present[static_cast<int>(kind)] = true;
    std::vector<Heading> outline;
    for (auto& [kind, heading] : found) {
        heading.level = static_cast<int>(
            std::count(present.begin(), present.begin() + static_cast<int>(kind) + 1, true));
        outline.push_back(std::move(heading));
    }
    return outline;
}

std::u32string CollapseBlanks(std::u32string_view text) {
    std::u32string collapsed;
    bool blank = false;
    for (const char32_t c : text) {
        if (IsBlank(c) || c == U'\r' || c == U'\n') {
            blank = !collapsed.empty();
            continue;
        }
        if (blank) collapsed += U' ';
        blank = false;
        collapsed += c;
    }
    return collapsed;
}

std::optional<std::size_t> HeadingAt(const std::vector<Heading>& outline, std::size_t position) {
    const auto after = std::ranges::upper_bound(outline, position, {}, &Heading::position);
    if (after == outline.begin()) return std::nullopt;
    return static_cast<std::size_t>(after - outline.begin() - 1);
}

TextRange ChapterRange(const std::vector<Heading>& outline, std::size_t index,
                       std::size_t textLength) {
    const Heading& heading = outline.at(index);
    for (std::size_t next = index + 1; next < outline.size(); ++next)
        if (outline[next].level <= heading.level) return {heading.position, outline[next].position};
    return {heading.position, textLength};
}

TextRange ChapterAround(const std::vector<Heading>& outline, std::size_t position,
                        std::size_t textLength) {
    if (const std::optional<std::size_t> index = HeadingAt(outline, position))
        return ChapterRange(outline, *index, textLength);
    return {0, outline.empty() ? textLength : outline.front().position};
}

std::size_t NextChapterStart(const std::vector<Heading>& outline, std::size_t position,
                             std::size_t textLength) {
    const auto next = std::ranges::upper_bound(outline, position, {}, &Heading::position);
    return next == outline.end() ? textLength : next->position;
}

std::size_t PreviousChapterStart(const std::vector<Heading>& outline, std::size_t position) {
    const std::optional<std::size_t> index = HeadingAt(outline, position);
    return index && *index > 0 ? outline[*index - 1].position : 0;
}
