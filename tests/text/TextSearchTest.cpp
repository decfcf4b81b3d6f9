#include "text/TextSearch.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/CodePage.h"

// Texts are written inline, Cyrillic ones as Windows-1251 bytes converted from
// UTF-8 literals through the codec. The reference fold is derived from the
// codec's Unicode mapping, independently of the table under test.

namespace {

std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8); }

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

TEST(TextSearch, FoldsAndClassifiesEveryByteAsTheCodePageSays) {
    int folded = 0;
    int wordCharacters = 0;
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        SCOPED_TRACE("byte " + std::to_string(b));
        const char16_t u = ByteToUnicode(CodePage::Windows1251, byte);
        const char32_t lower = ReferenceLower(u);
        const auto expected =
            lower == u ? byte
                       : static_cast<unsigned char>(UnicodeToByte(CodePage::Windows1251, lower));
        EXPECT_EQ(FoldCase(byte), expected);
        EXPECT_EQ(FoldCase(FoldCase(byte)), FoldCase(byte));
        EXPECT_EQ(IsWordCharacter(byte), ReferenceWordCharacter(u));
        folded += FoldCase(byte) != byte;
        wordCharacters += IsWordCharacter(byte);
    }
    EXPECT_EQ(folded, 26 + 32 + 15);  // Latin, А-Я, the fifteen other capitals
    EXPECT_EQ(wordCharacters, 10 + 52 + 64 + 30 + 1);
}

TEST(TextSearch, FindsForwardWithTheOptions) {
    constexpr SearchOptions kAny{};
    constexpr SearchOptions kCase{true, false};
    constexpr SearchOptions kWord{false, true};
    struct Row {
        const char* name;
        std::string text;
        std::string what;
        std::size_t from;
        std::size_t to;
        SearchOptions options;
        std::optional<TextRange> found;
    };
    const Row rows[] = {
        {"Latin, case folded", "a Word", "word", 0, 99, kAny, TextRange{2, 6}},
        {"Latin, case kept", "a Word word", "word", 0, 99, kCase, TextRange{7, 11}},
        {"Cyrillic with Ё folded", Cp("Ёлка и ЁЛКА"), Cp("ёлка"), 1, 99, kAny, TextRange{7, 11}},
        {"Cyrillic with Ё, case kept", Cp("ЁЛКА ёлка"), Cp("ёлка"), 0, 99, kCase, TextRange{5, 9}},
        {"Serbian and Ukrainian capitals fold", Cp("ЂЃЉЊЌЋЏЎЈҐЄЇІЅ"), Cp("ђѓљњќћџўјґєїіѕ"), 0, 99,
         kAny, TextRange{0, 14}},
        {"no fold across alphabets", Cp("Cоk"), "Cok", 0, 99, kAny, std::nullopt},
        {"whole word skips longer words", "sword words word", "word", 0, 99, kWord,
         TextRange{12, 16}},
        {"whole word bounded by punctuation", "(word),", "word", 0, 99, kWord, TextRange{1, 5}},
        {"digits belong to words", "1word word2 word", "word", 0, 99, kWord, TextRange{12, 16}},
        {"Cyrillic words", Cp("котик кот."), Cp("кот"), 0, 99, kWord, TextRange{6, 9}},
        {"whole word looks outside the range", "xword word", "word", 1, 99, kWord,
         TextRange{6, 10}},
        {"an occurrence may run on past the range", "abcdef", "cde", 0, 3, kAny, TextRange{2, 5}},
        {"but must start inside it", "abcdef", "cde", 0, 2, kAny, std::nullopt},
        {"never past the text", "abcdef", "efg", 0, 99, kAny, std::nullopt},
        {"from past the text", "abc", "c", 5, 99, kAny, std::nullopt},
        {"an empty pattern is not found", "abc", "", 0, 99, kAny, std::nullopt},
        {"a pattern longer than the text", "ab", "abc", 0, 99, kAny, std::nullopt},
        {"overlapping candidates", "aaab", "aab", 0, 99, kAny, TextRange{1, 4}},
        {"line breaks match as bytes", "a\r\nb", "\r\nB", 0, 99, kAny, TextRange{1, 4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindForward(row.text, row.what, row.from, row.to, row.options), row.found);
    }
}

// The skipping search against the plain definition, over texts of a few
// letters in both cases and a separator, where near misses are common.
TEST(TextSearch, AgreesWithAPlainScan) {
    std::mt19937 random(1251);
    const std::string alphabet = Cp("aAбБ ,ё");
    auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = randomText(random() % 40);
        const std::string what = randomText(1 + random() % 4);
        const SearchOptions options{random() % 2 == 0, random() % 2 == 0};
        const std::size_t from = random() % 45;
        const std::size_t to = random() % 45;
        std::optional<TextRange> expected;
        for (std::size_t p = from; p < to && p + what.size() <= text.size() && !expected; ++p) {
            bool same = true;
            for (std::size_t i = 0; i < what.size(); ++i) {
                const auto a = static_cast<unsigned char>(text[p + i]);
                const auto b = static_cast<unsigned char>(what[i]);
                same = same && (options.matchCase ? a == b : FoldCase(a) == FoldCase(b));
            }
            const std::size_t end = p + what.size();
            const bool bounded =
                (p == 0 || !IsWordCharacter(static_cast<unsigned char>(text[p - 1]))) &&
                (end == text.size() || !IsWordCharacter(static_cast<unsigned char>(text[end])));
            if (same && (!options.wholeWord || bounded)) expected = TextRange{p, end};
        }
        ASSERT_EQ(FindForward(text, what, from, to, options), expected)
            << "text \"" << text << "\" what \"" << what << "\" " << from << ".." << to;
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
    std::string text;
    TextRange selection;     // before the first press
    std::string dialogText;  // what the dialog is confirmed with
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
                    std::string_view(cycle.text)
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
    const std::string cats = "cat dog cat bird cat";  // at 0, 8 and 17
    const Cycle cycles[] = {
        {"three occurrences from the start",
         cats,
         {0, 0},
         "cat",
         {},
         {{Key::Dialog, kFound, {0, 3}},
          {Key::F3, kFound, {8, 11}},
          {Key::F3, kFound, {17, 20}},
          {Key::F3, kNotFound, {17, 20}},
          {Key::F3, kNothing, {17, 20}}}},
        {"from after the second: the third, then wrapping to the first and second",
         cats,
         {11, 11},
         "cat",
         {},
         {{Key::Dialog, kFound, {17, 20}},
          {Key::F3, kFound, {0, 3}},
          {Key::F3, kFound, {8, 11}},
          {Key::F3, kNotFound, {8, 11}}}},
        {"Ctrl+F3 on an occurrence finds the next one, and the selected one closes the cycle",
         cats,
         {8, 11},
         "",
         {},
         {{Key::CtrlF3, kFound, {17, 20}},
          {Key::F3, kFound, {0, 3}},
          {Key::F3, kNotFound, {0, 3}}}},
        {"Ctrl+F3 on the only occurrence",
         "a cat here",
         {2, 5},
         "",
         {},
         {{Key::CtrlF3, kNotFound, {2, 5}}}},
        {"Ctrl+F3 without a selection", cats, {4, 4}, "", {}, {{Key::CtrlF3, kNothing, {4, 4}}}},
        {"match case off finds the capitalised word",
         "Cat sat. cat",
         {0, 0},
         "cat",
         {false, false},
         {{Key::Dialog, kFound, {0, 3}}}},
        {"match case on passes it",
         "Cat sat. cat",
         {0, 0},
         "cat",
         {true, false},
         {{Key::Dialog, kFound, {9, 12}}, {Key::F3, kNotFound, {9, 12}}}},
        {"whole word passes the longer word",
         "concatenate cat",
         {0, 0},
         "cat",
         {false, true},
         {{Key::Dialog, kFound, {12, 15}}, {Key::F3, kNotFound, {12, 15}}}},
        {"without whole word it stops inside",
         "concatenate cat",
         {0, 0},
         "cat",
         {},
         {{Key::Dialog, kFound, {3, 6}}, {Key::F3, kFound, {12, 15}}}},
        {"a caret inside the only occurrence finds it on the way round",
         "the cat sat",
         {5, 5},
         "cat",
         {},
         {{Key::Dialog, kFound, {4, 7}}, {Key::F3, kNotFound, {4, 7}}}},
        {"an empty text", "", {0, 0}, "cat", {}, {{Key::Dialog, kNotFound, {0, 0}}}},
        {"an empty dialog field", cats, {0, 0}, "", {}, {{Key::Dialog, kNothing, {0, 0}}}},
        {"a new search after a wrapped cycle runs from the caret to the end again",
         cats,
         {11, 11},
         "cat",
         {},
         {{Key::Dialog, kFound, {17, 20}},
          {Key::F3, kFound, {0, 3}},
          {Key::Dialog, kFound, {8, 11}},
          {Key::F3, kFound, {17, 20}}}},
    };
    for (const Cycle& cycle : cycles) RunCycle(cycle);
}

TEST(TextSearch, LimitsTheSearchText) {
    EXPECT_EQ(DialogSearchText(std::string(220, 'a')), std::string(220, 'a'));
    EXPECT_EQ(DialogSearchText(std::string(221, 'a')), "");
    SearchState state;
    state.options = {true, true};
    state.wrapped = true;
    const SearchState selected =
        BeginSelectionSearch(state, std::string(300, 'b'), TextRange{40, 340});
    EXPECT_EQ(selected, (SearchState{std::string(255, 'b'), {true, true}, 40, false}));
    EXPECT_EQ(BeginSelectionSearch(state, std::string(255, 'c'), TextRange{1, 256}).searchText,
              std::string(255, 'c'));
}

}  // namespace
