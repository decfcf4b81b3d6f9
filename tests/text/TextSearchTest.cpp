#include "text/TextSearch.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/CodePage.h"

// The reference fold and word classes for the characters of Windows-1251 are
// the ones the program had when it searched Windows-1251 bytes; Unicode's
// full case folding must agree with them.

namespace {

char32_t ReferenceLower(char32_t u) {
    if (u >= U'A' && u <= U'Z') return u + 0x20;
    if (u >= 0x0410 && u <= 0x042F) return u + 0x20;  // А-Я
    if (u >= 0x0400 && u <= 0x040F) return u + 0x50;  // Ѐ-Џ
    if (u == 0x0490) return 0x0491;                   // Ґ
    return u;
}

bool ReferenceWordCharacter(char32_t u) {
    return (u >= U'0' && u <= U'9') || (u >= U'A' && u <= U'Z') || (u >= U'a' && u <= U'z') ||
           (u >= 0x0400 && u <= 0x04FF) || u == 0x00B5;
}

std::u32string Fold(char32_t c) {
    std::u32string folded;
    AppendCaseFold(c, folded);
    return folded;
}

TEST(TextSearch, FoldsAndClassifiesTheCodePageAsBefore) {
    for (unsigned b = 0; b < 256; ++b) {
        SCOPED_TRACE("byte " + std::to_string(b));
        const char32_t u = Cp1251ToUnicode(std::string(1, static_cast<char>(b)))[0];
        // Unicode folds the micro sign to Greek mu; it still finds itself.
        const char32_t expected = u == 0x00B5 ? 0x03BC : ReferenceLower(u);
        EXPECT_EQ(Fold(u), std::u32string(1, expected));
        EXPECT_EQ(IsWordCharacter(u), ReferenceWordCharacter(u));
    }
}

TEST(TextSearch, FindsForwardWithTheOptions) {
    constexpr SearchOptions kAny{};
    constexpr SearchOptions kCase{true, false};
    constexpr SearchOptions kWord{false, true};
    struct Row {
        const char* name;
        std::u32string text;
        std::u32string what;
        std::size_t from;
        std::size_t to;
        SearchOptions options;
        std::optional<TextRange> found;
    };
    const Row rows[] = {
        {"Latin, case folded", U"a Word", U"word", 0, 99, kAny, TextRange{2, 6}},
        {"Latin, case kept", U"a Word word", U"word", 0, 99, kCase, TextRange{7, 11}},
        {"Cyrillic with Ё folded", U"Ёлка и ЁЛКА", U"ёлка", 1, 99, kAny, TextRange{7, 11}},
        {"Cyrillic with Ё, case kept", U"ЁЛКА ёлка", U"ёлка", 0, 99, kCase, TextRange{5, 9}},
        {"Ё is not Е", U"елка", U"ёлка", 0, 99, kAny, std::nullopt},
        {"Serbian and Ukrainian capitals fold", U"ЂЃЉЊЌЋЏЎЈҐЄЇІЅ", U"ђѓљњќћџўјґєїіѕ", 0, 99,
         kAny, TextRange{0, 14}},
        {"no fold across alphabets", U"Cоk", U"Cok", 0, 99, kAny, std::nullopt},
        {"whole word skips longer words", U"sword words word", U"word", 0, 99, kWord,
         TextRange{12, 16}},
        {"whole word bounded by punctuation", U"(word),", U"word", 0, 99, kWord, TextRange{1, 5}},
        {"digits belong to words", U"1word word2 word", U"word", 0, 99, kWord, TextRange{12, 16}},
        {"Cyrillic words", U"котик кот.", U"кот", 0, 99, kWord, TextRange{6, 9}},
        {"whole word looks outside the range", U"xword word", U"word", 1, 99, kWord,
         TextRange{6, 10}},
        {"an occurrence may run on past the range", U"abcdef", U"cde", 0, 3, kAny,
         TextRange{2, 5}},
        {"but must start inside it", U"abcdef", U"cde", 0, 2, kAny, std::nullopt},
        {"never past the text", U"abcdef", U"efg", 0, 99, kAny, std::nullopt},
        {"from past the text", U"abc", U"c", 5, 99, kAny, std::nullopt},
        {"an empty pattern is not found", U"abc", U"", 0, 99, kAny, std::nullopt},
        {"a pattern longer than the text", U"ab", U"abc", 0, 99, kAny, std::nullopt},
        {"overlapping candidates", U"aaab", U"aab", 0, 99, kAny, TextRange{1, 4}},
        {"line breaks match as characters", U"a\r\nb", U"\r\nB", 0, 99, kAny, TextRange{1, 4}},
        {"sharp s folds to ss", U"die Straße", U"STRASSE", 0, 99, kAny, TextRange{4, 10}},
        {"ss finds sharp s", U"STRASSE", U"straße", 0, 99, kAny, TextRange{0, 7}},
        {"half of a sharp s is no match", U"ß", U"s", 0, 99, kAny, std::nullopt},
        {"sharp s with match case", U"STRASSE Straße", U"Straße", 0, 99, kCase, TextRange{8, 14}},
        {"Greek final sigma", U"ΟΔΟΣ οδος", U"οδοσ", 1, 99, kAny, TextRange{5, 9}},
        {"fullwidth Latin", U"ＡＢＣ", U"ａｂｃ", 0, 99, kAny, TextRange{0, 3}},
        {"emoji is one character", U"a\U0001F600b", U"\U0001F600B", 0, 99, kAny,
         TextRange{1, 3}},
        {"accented letters are word characters", U"cafés café", U"CAFÉ", 0, 99, kWord,
         TextRange{6, 10}},
        {"a combining accent belongs to its word", U"cafe\u0301 cafe", U"cafe", 0, 99, kWord,
         TextRange{6, 10}},
        {"CJK inside a word", U"日本語", U"日本", 0, 99, kAny, TextRange{0, 2}},
        {"CJK as a whole word", U"日本語、日本。", U"日本", 0, 99, kWord, TextRange{4, 6}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindForward(row.text, row.what, row.from, row.to, row.options), row.found);
    }
}

// The search against the plain definition, over texts of a few letters in
// both cases, a separator and a letter whose fold is two letters, where near
// misses are common.
TEST(TextSearch, AgreesWithAPlainScan) {
    std::mt19937 random(1251);
    const std::u32string alphabet = U"aAбБ ,ёßs";
    auto randomText = [&](std::size_t length) {
        std::u32string s;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    auto folded = [](std::u32string_view s) {
        std::u32string f;
        for (const char32_t c : s) AppendCaseFold(c, f);
        return f;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::u32string text = randomText(random() % 40);
        const std::u32string what = randomText(1 + random() % 4);
        const SearchOptions options{random() % 2 == 0, random() % 2 == 0};
        const std::size_t from = random() % 45;
        const std::size_t to = random() % 45;
        std::optional<TextRange> expected;
        for (std::size_t p = from; p < std::min(to, text.size()) && !expected; ++p) {
            for (std::size_t end = p + 1; end <= text.size() && !expected; ++end) {
                const std::u32string_view run = std::u32string_view(text).substr(p, end - p);
                const bool same = options.matchCase ? run == what : folded(run) == folded(what);
                const bool bounded = (p == 0 || !IsWordCharacter(text[p - 1])) &&
                                     (end == text.size() || !IsWordCharacter(text[end]));
                if (same && (!options.wholeWord || bounded)) expected = TextRange{p, end};
            }
        }
        ASSERT_EQ(FindForward(text, what, from, to, options), expected)
            << "round " << round << ", " << from << ".." << to;
    }
}

enum class Key { F3, CtrlF3, Dialog };

struct Press {
    Key key;
    FindOutcome outcome;
    TextRange selection;  // after the press
};

struct Cycle {
    const char* name;
    std::u32string text;
    TextRange selection;        // before the first press
    std::u32string dialogText;  // what the dialog is confirmed with
    SearchOptions dialogOptions;
    std::vector<Press> presses;
};

void RunCycle(const Cycle& cycle) {
    SCOPED_TRACE(cycle.name);
    TextRange selection = cycle.selection;
    SearchState state;
    for (std::size_t i = 0; i < cycle.presses.size(); ++i) {
        SCOPED_TRACE("press " + std::to_string(i));
        const Press& press = cycle.presses[i];
        switch (press.key) {
            case Key::F3:
                break;
            case Key::CtrlF3:
                state = BeginSelectionSearch(
                    state,
                    std::u32string_view(cycle.text)
                        .substr(selection.start, selection.end - selection.start),
                    selection);
                break;
            case Key::Dialog:
                state = BeginSearch(cycle.dialogText, cycle.dialogOptions, selection);
                break;
        }
        const SearchState before = state;
        const FindResult result = FindNext(cycle.text, selection, state);
        EXPECT_EQ(result.outcome, press.outcome);
        EXPECT_EQ(result.selection, press.selection);
        switch (result.outcome) {
            case FindOutcome::Found:
                EXPECT_EQ(result.state.searchText, before.searchText);
                break;
            case FindOutcome::NotFound:
                EXPECT_TRUE(result.state.searchText.empty());
                EXPECT_FALSE(result.state.wrapped);
                break;
            case FindOutcome::NothingToSearch:
                EXPECT_EQ(result.state, before);
                break;
        }
        selection = result.selection;
        state = result.state;
    }
}

constexpr auto kFound = FindOutcome::Found;
constexpr auto kNotFound = FindOutcome::NotFound;
constexpr auto kNothing = FindOutcome::NothingToSearch;

TEST(TextSearch, RunsTheF3Cycle) {
    const std::u32string cats = U"cat dog cat bird cat";  // at 0, 8 and 17
    const Cycle cycles[] = {
        {"three occurrences from the start",
         cats,
         {0, 0},
         U"cat",
         {},
         {{Key::Dialog, kFound, {0, 3}},
          {Key::F3, kFound, {8, 11}},
          {Key::F3, kFound, {17, 20}},
          {Key::F3, kNotFound, {17, 20}},
          {Key::F3, kNothing, {17, 20}}}},
        {"from after the second: the third, then wrapping to the first and second",
         cats,
         {11, 11},
         U"cat",
         {},
         {{Key::Dialog, kFound, {17, 20}},
          {Key::F3, kFound, {0, 3}},
          {Key::F3, kFound, {8, 11}},
          {Key::F3, kNotFound, {8, 11}}}},
        {"Ctrl+F3 on an occurrence finds the next one, and the selected one closes the cycle",
         cats,
         {8, 11},
         U"",
         {},
         {{Key::CtrlF3, kFound, {17, 20}},
          {Key::F3, kFound, {0, 3}},
          {Key::F3, kNotFound, {0, 3}}}},
        {"Ctrl+F3 on the only occurrence",
         U"a cat here",
         {2, 5},
         U"",
         {},
         {{Key::CtrlF3, kNotFound, {2, 5}}}},
        {"Ctrl+F3 without a selection", cats, {4, 4}, U"", {}, {{Key::CtrlF3, kNothing, {4, 4}}}},
        {"match case off finds the capitalised word",
         U"Cat sat. cat",
         {0, 0},
         U"cat",
         {false, false},
         {{Key::Dialog, kFound, {0, 3}}}},
        {"match case on passes it",
         U"Cat sat. cat",
         {0, 0},
         U"cat",
         {true, false},
         {{Key::Dialog, kFound, {9, 12}}, {Key::F3, kNotFound, {9, 12}}}},
        {"whole word passes the longer word",
         U"concatenate cat",
         {0, 0},
         U"cat",
         {false, true},
         {{Key::Dialog, kFound, {12, 15}}, {Key::F3, kNotFound, {12, 15}}}},
        {"without whole word it stops inside",
         U"concatenate cat",
         {0, 0},
         U"cat",
         {},
         {{Key::Dialog, kFound, {3, 6}}, {Key::F3, kFound, {12, 15}}}},
        {"a caret inside the only occurrence finds it on the way round",
         U"the cat sat",
         {5, 5},
         U"cat",
         {},
         {{Key::Dialog, kFound, {4, 7}}, {Key::F3, kNotFound, {4, 7}}}},
        {"an empty text", U"", {0, 0}, U"cat", {}, {{Key::Dialog, kNotFound, {0, 0}}}},
        {"an empty dialog field", cats, {0, 0}, U"", {}, {{Key::Dialog, kNothing, {0, 0}}}},
        {"a new search after a wrapped cycle runs from the caret to the end again",
         cats,
         {11, 11},
         U"cat",
         {},
         {{Key::Dialog, kFound, {17, 20}},
          {Key::F3, kFound, {0, 3}},
          {Key::Dialog, kFound, {8, 11}},
          {Key::F3, kFound, {17, 20}}}},
    };
    for (const Cycle& cycle : cycles) RunCycle(cycle);
}

TEST(TextSearch, LimitsTheSearchText) {
    EXPECT_EQ(DialogSearchText(std::u32string(220, U'a')), std::u32string(220, U'a'));
    EXPECT_EQ(DialogSearchText(std::u32string(221, U'a')), U"");
    SearchState state;
    state.options = {true, true};
    state.wrapped = true;
    const SearchState selected =
        BeginSelectionSearch(state, std::u32string(300, U'b'), TextRange{40, 340});
    EXPECT_EQ(selected, (SearchState{std::u32string(255, U'b'), {true, true}, 40, false}));
    EXPECT_EQ(BeginSelectionSearch(state, std::u32string(255, U'c'), TextRange{1, 256}).searchText,
              std::u32string(255, U'c'));
}

}  // namespace
