#include "books/LineEndHyphen.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <initializer_list>

namespace {

constexpr std::size_t kWordReach = 100;

bool IsLetter(char32_t c) { return u_isalpha(static_cast<UChar32>(c)) != 0; }
bool IsWordHyphen(char32_t c) { return c == U'-' || c == 0x2010; }
bool IsLineEndHyphen(char32_t c) { return IsWordHyphen(c) || c == 0xAD; }

std::u32string Lower(std::u32string_view text) {
    std::u32string out;
    for (char32_t c : text) out += static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
    return out;
}

bool AllCapitals(std::u32string_view letters) {
    return std::none_of(letters.begin(), letters.end(),
                        [](char32_t c) { return u_islower(static_cast<UChar32>(c)); });
}

bool EndsWith(std::u32string_view text, std::u32string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool OneOf(std::u32string_view word, std::initializer_list<std::u32string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Russian words that always take their hyphen, in lower case: the left part
// and the right one.
bool KnownCompound(std::u32string_view left, std::u32string_view right) {
    if (OneOf(right, {U"либо", U"нибудь"}) || left == U"кое") return true;
    // Not "контра-таки": a counter-attack broken.
    if (right == U"таки") return OneOf(left, {U"всё", U"все", U"так", U"опять", U"довольно"});
    if (left == U"из" && OneOf(right, {U"за", U"под"})) return true;
    if (right == U"то") {
        return OneOf(left,
                     {U"кто",    U"кого",   U"кому",  U"кем",    U"ком",   U"что",    U"чего",
                      U"чему",   U"чем",    U"чём",   U"какой",  U"какая", U"какое",  U"какие",
                      U"какого", U"какому", U"каким", U"каком",  U"какую", U"каких",  U"какими",
                      U"чей",    U"чья",    U"чьё",   U"чье",    U"чьи",   U"где",    U"куда",
                      U"когда",  U"откуда", U"как",   U"почему", U"зачем", U"отчего", U"сколько"});
    }
    if (right == U"ка") {
        return OneOf(left, {U"ну",       U"на",    U"нате",   U"давай",    U"давайте",
                            U"дай",      U"дайте", U"скажи",  U"скажите",  U"смотри",
                            U"смотрите", U"гляди", U"постой", U"погоди",   U"подожди",
                            U"поди",     U"пойди", U"слушай", U"послушай", U"попробуй"});
    }
    // Adverbs of "по-": "по-русски", "по-немецки", "по-волчьи" from any
    // adjective, but of those in -ому/-ему only the usual ones, since
    // "подобному", "последнему", "похожему" are whole words. "поиски",
    // "полоски" are too short to be such adverbs.
    if (left == U"по") {
        return ((EndsWith(right, U"ски") || EndsWith(right, U"цки")) && right.size() >= 6) ||
               EndsWith(right, U"ьи") ||
               OneOf(right, {U"моему",    U"твоему",     U"своему",    U"нашему",   U"вашему",
                             U"прежнему", U"новому",     U"другому",   U"иному",    U"старому",
                             U"хорошему", U"всякому",    U"простому",  U"разному",  U"настоящему",
                             U"пустому",  U"видимому",   U"честному",  U"любому",   U"доброму",
                             U"летнему",  U"зимнему",    U"весеннему", U"осеннему", U"домашнему",
                             U"детскому", U"серьёзному", U"серьезному"});
    }
    return false;
}

}  // namespace

void HyphenatedWords::AddLine(std::u32string_view line) {
    std::size_t start = 0;
    bool hyphenated = false;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const bool inWord = i < line.size() &&
                            (IsLetter(line[i]) || (IsWordHyphen(line[i]) && i > start &&
                                                   i + 1 < line.size() && IsLetter(line[i + 1])));
        if (inWord) {
            hyphenated = hyphenated || IsWordHyphen(line[i]);
            continue;
        }
        if (hyphenated) words_.insert(Lower(line.substr(start, i - start)));
        start = i + 1;
        hyphenated = false;
    }
}

LineEndJoin JoinAtLineEnd(std::u32string_view before, std::u32string_view next,
                          const HyphenatedWords& book) {
    if (before.empty() || !IsLineEndHyphen(before.back())) return LineEndJoin::Space;
    // Words are looked at this far around the hyphen: a run of letters that
    // goes on and on is no word, and the whole text is never walked back.
    std::u32string_view head = before.substr(0, before.size() - 1);
    head = head.substr(head.size() - std::min(head.size(), kWordReach));
    next = next.substr(0, kWordReach);
    std::size_t leftStart = head.size();
    while (leftStart > 0 && IsLetter(head[leftStart - 1])) --leftStart;
    std::size_t rightEnd = 0;
    while (rightEnd < next.size() && IsLetter(next[rightEnd])) ++rightEnd;
    const std::u32string_view left = head.substr(leftStart), right = next.substr(0, rightEnd);
    if (left.empty() || right.empty()) return LineEndJoin::Space;
    // A soft hyphen is where a word was broken and nothing else.
    if (before.back() == 0xAD) return LineEndJoin::DropHyphen;

    // The whole word for the look-up: "бело-сине-" before "красный".
    std::size_t wordStart = leftStart;
    while (wordStart > 1 && IsWordHyphen(head[wordStart - 1]) && IsLetter(head[wordStart - 2])) {
        --wordStart;
        while (wordStart > 0 && IsLetter(head[wordStart - 1])) --wordStart;
    }
    std::size_t wordEnd = rightEnd;
    while (wordEnd + 1 < next.size() && IsWordHyphen(next[wordEnd]) &&
           IsLetter(next[wordEnd + 1])) {
        ++wordEnd;
        while (wordEnd < next.size() && IsLetter(next[wordEnd])) ++wordEnd;
    }
    const std::u32string whole =
        Lower(head.substr(wordStart)) + U'-' + Lower(next.substr(0, wordEnd));
    if (book.Contains(whole) || KnownCompound(Lower(left), Lower(right)))
        return LineEndJoin::KeepHyphen;
    if (u_islower(static_cast<UChar32>(right.front()))) return LineEndJoin::DropHyphen;
    const bool capitals = u_isupper(static_cast<UChar32>(left.back())) &&
                          u_isupper(static_cast<UChar32>(right.front())) && AllCapitals(left) &&
                          AllCapitals(right);
    return capitals ? LineEndJoin::DropHyphen : LineEndJoin::KeepHyphen;
}
