#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How word processors number the paragraphs of a list: the counters of a
// list's levels and the ways a number is written. DOCX and ODT each say which
// level a paragraph is on and how that level looks; the counting and the
// writing are the same for both.

enum class NumberStyle {
    Decimal,
    DecimalZero,
    LowerLetter,
    UpperLetter,
    LowerRoman,
    UpperRoman,
    None
};

// The number as the style writes it: "3", "03", "c", "C", "iii", "III" or
// nothing. Letters past z go on as Word counts them, aa, bb, cc, when
// repeatLetters, else as ODF does by default, aa, ab, ac. A number the style
// cannot write (zero or less, Roman past 3999, a very long run of letters)
// is written in digits.
std::string FormatListNumber(long long value, NumberStyle style, bool repeatLetters = true);

// A bullet as a word processor shows it: the document's own character when it
// is a printable one. A symbol font's private-use character (Word writes
// U+F0B7 for the Symbol font's dot), a blank or a control character shows as
// "•". No character, no bullet.
std::string ListBullet(std::string_view utf8);

// Word's level text with %1..%9 replaced by the numbers of levels 1..9 as
// written; a level with no number given writes nothing.
std::string ExpandLevelText(std::string_view levelText, const std::vector<std::string>& numbers);

// The counters of one list, level by level (0 the outermost).
class ListCounters {
public:
    static constexpr int kLevels = 10;

    // Counts one more item on the level and returns its number: `value` when
    // given, else the number after the level's last one, or `start` for the
    // level's first item.
    long long Count(int level, long long start, std::optional<long long> value = std::nullopt);
    // The level counts from its start again.
    void Restart(int level);
    // The level's number now; `start` when it has counted no item yet.
    long long Current(int level, long long start) const;

private:
    std::array<std::optional<long long>, kLevels> counters_;
};

// A start value read from a document, kept in a range no counting overflows.
long long ClampedStart(long long value);
