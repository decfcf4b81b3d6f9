#include "text/Outline.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

// The line ends of a text in turn: each the next CR or LF. Each kind is looked
// for again only once passed, so that a text without CRs is searched for them
// once.
class LineEnds {
public:
    explicit LineEnds(TextView text)
        : size_(text.size()),
          lineFeeds_(text, U'\n'),
          carriageReturns_(text, U'\r'),
          lineFeed_(Next(lineFeeds_, 0)),
          carriageReturn_(Next(carriageReturns_, 0)) {}
    std::size_t From(std::size_t start) {
        if (lineFeed_ < start) lineFeed_ = Next(lineFeeds_, start);
        if (carriageReturn_ < start) carriageReturn_ = Next(carriageReturns_, start);
        return std::min(lineFeed_, carriageReturn_);
    }

private:
    // The next break of a kind at or after from, or the end.
    std::size_t Next(const CharacterSearch& breaks, std::size_t from) const {
        return std::min(breaks.From(from), size_);
    }

    std::size_t size_;
    CharacterSearch lineFeeds_, carriageReturns_;
    std::size_t lineFeed_, carriageReturn_;
};

// A letter or digit in lower case, or 0 for anything else. Latin and Russian
// letters, most of any text read here, are told without ICU.
char32_t LowerAlnum(char32_t c) {
    if (c < 0x80) {
        if (c >= U'A' && c <= U'Z') return c + (U'a' - U'A');
        return (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') ? c : 0;
    }
    if (c >= U'А' && c <= U'Я') return c + (U'а' - U'А');
    if (c >= U'а' && c <= U'я') return c;
    return u_isalnum(static_cast<UChar32>(c))
               ? static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)))
               : 0;
}

// Whether a lowered letter starts a keyword, a prologue or an epilogue, or a
// Roman numeral: "кbчpгcпэeivxl", as bit sets of the two alphabets.
bool IsFirstLetter(char32_t lower) {
    constexpr auto latin = [](std::u32string_view letters) {
        std::uint32_t set = 0;
        for (const char32_t c : letters) set |= 1u << (c - U'a');
        return set;
    };
    constexpr auto russian = [](std::u32string_view letters) {
        std::uint32_t set = 0;
        for (const char32_t c : letters) set |= 1u << (c - U'а');
        return set;
    };
    constexpr std::uint32_t kLatin = latin(U"bcepilvx"), kRussian = russian(U"кчгпэ");
    if (lower >= U'a' && lower <= U'z') return (kLatin >> (lower - U'a')) & 1u;
    if (lower >= U'а' && lower <= U'я') return (kRussian >> (lower - U'а')) & 1u;
    return false;
}

// Whether a line may be a heading by its first word: every heading starts
// with a keyword, a prologue or an epilogue, or a Roman numeral. Most lines
// are told by this alone, often by their first letter.
bool MayBeHeading(std::u32string_view line) {
    constexpr std::size_t kLongestWord = 8;
    char32_t word[kLongestWord];
    std::size_t length = 0;
    for (const char32_t c : line) {
        const char32_t lower = LowerAlnum(c);
        if (lower == 0) break;
        if (length == kLongestWord) return false;
        if (length == 0 && !IsFirstLetter(lower)) return false;
        word[length++] = lower;
    }
    const std::u32string_view first(word, length);
    static constexpr std::array<std::u32string_view, 4> kAlone = {U"пролог", U"эпилог", U"prologue",
                                                                  U"epilogue"};
    return IsRomanNumeral(first) || KindOfKeyword(first) != HeadingKind::None ||
           std::ranges::find(kAlone, first) != kAlone.end();
}

}  // namespace

std::vector<Heading> PlainTextOutline(TextView text) {
    std::vector<std::pair<HeadingKind, Heading>> found;
    LineEnds lineEnds(text);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = lineEnds.From(start);
        std::size_t first = start, last = end;
        while (first < last && IsBlank(text[first])) ++first;
        if (first < last && IsFirstLetter(LowerAlnum(text[first]))) {
            while (last > first && IsBlank(text[last - 1])) --last;
        } else {
            last = first;  // no heading: most lines are told by their first letter
        }
        if (last > first && last - first <= kLongestHeading) {
            std::array<char32_t, kLongestHeading> characters;
            std::copy(text.begin() + first, text.begin() + last, characters.begin());
            const std::u32string_view line(characters.data(), last - first);
            const HeadingKind kind =
                MayBeHeading(line) ? KindOfLine(Lower(line)) : HeadingKind::None;
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

std::u32string CollapseBlanks(TextView text) {
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

void DropHeadingsPast(std::vector<Heading>& outline, std::size_t length) {
    std::erase_if(outline, [length](const Heading& heading) { return heading.position >= length; });
}

std::u32string ChapterTitle(const std::vector<Heading>& outline, TextView text, std::size_t start) {
    if (const std::optional<std::size_t> index = HeadingAt(outline, start))
        return CollapseBlanks(outline[*index].title);
    const TextRange line = LineAt(text, start);
    return CollapseBlanks(text.substr(line.start, line.end - line.start));
}
