#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

// A hyphen at the end of a line of a laid-out page (a PDF's) either breaks a
// word in two or belongs to a compound written with a hyphen anyway. The
// text of the book itself tells them apart best: a compound is written
// whole somewhere else. Failing that, Russian particles and prefixes that
// always take a hyphen ("что-то", "кое-как", "по-русски") keep it, a capital
// after a word that is not all in capitals keeps it ("Rimsky-Korsakov"),
// and any other hyphen between letters is a broken word, in capitals too
// ("OP-TIONAL").

// The words the book writes with a hyphen inside a line, in lower case.
class HyphenatedWords {
public:
    void AddLine(std::u32string_view line);
    bool Contains(const std::u32string& lowerCaseWord) const {
        return words_.count(lowerCaseWord) != 0;
    }

private:
    std::unordered_set<std::u32string> words_;
};

enum class LineEndJoin {
    Space,       // the hyphen is no part of a word: the lines are joined with a space
    DropHyphen,  // a broken word, joined again
    KeepHyphen,  // a compound: the hyphen stays and no space comes after it
};

// How the text so far, which ends a line, goes on with the next line.
LineEndJoin JoinAtLineEnd(std::u32string_view before, std::u32string_view next,
                          const HyphenatedWords& book);
