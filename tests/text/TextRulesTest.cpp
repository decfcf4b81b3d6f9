#include "text/TextRules.h"

#include <gtest/gtest.h>

#include <string>

#include "TestText.h"

namespace {

TEST(TextRules, TrailingBlanksGoWithinTheLast256Characters) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t kept;
    };
    const Case cases[] = {
        {"two breaks and two spaces", "word\r\n\r\n  ", 4},
        {"tabs and zeros", std::string("x\t\0\t", 4), 1},
        {"nothing to trim", "end.", 4},
        {"only blanks", std::string(256, ' '), 0},
        {"empty", "", 0},
        {"300 with 280 spaces keeps 24", std::string(20, 'a') + std::string(280, ' '), 44},
        {"257 blanks keep one", std::string(257, '\n'), 1},
        {"blank inside stays", "a b   ", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrimmedLength(FromCp1251(c.text)), c.kept);
    }
}

TEST(TextRules, LongTextIsCutWhereAParagraphElseAWordEnds) {
    const std::u32string far(kCutSearch + 10, U'x');
    struct Case {
        const char* name;
        std::u32string text;
        std::size_t limit;
        std::u32string kept;
    };
    const Case cases[] = {
        {"not over the limit", U"one two", 7, U"one two"},
        {"paragraph before a nearer word end", U"one two\r\nthree four five", 15, U"one two"},
        {"line feed alone", U"one\ntwo three", 12, U"one"},
        {"paragraph separator", U"one\u2029two three", 12, U"one"},
        {"word end", U"one two three", 9, U"one two"},
        {"blank just past the limit", U"one two three", 7, U"one two"},
        {"break just past the limit", U"one two\r\nthree", 7, U"one two"},
        {"blanks in front of the cut go", U"one   two three", 7, U"one"},
        {"no-break space binds", U"one\u00A0two", 5, U"one\u00A0t"},
        {"no boundary", U"abcdefgh", 5, U"abcde"},
        {"paragraph too far back", U"one\n" + far + U" two three", far.size() + 10,
         U"one\n" + far + U" two"},
        {"word too far back", U"one " + far, far.size(), (U"one " + far).substr(0, far.size())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t length = CutLength(c.text, c.limit);
        EXPECT_LE(length, c.limit);
        EXPECT_TRUE(c.text.substr(0, length) == c.kept) << length;
    }
}

TEST(TextRules, WordAtCaretReachesThirtyEachSide) {
    const std::string twelve = "one abcdefghijkl two";
    const std::string long35 = "x " + std::string(35, 'w') + " y";
    struct Case {
        const char* name;
        std::string text;
        std::size_t caret;
        TextRange expected;
    };
    const Case cases[] = {
        {"inside a 12-letter word", twelve, 4 + 5, {4, 16}},
        {"at the start of a word", twelve, 4, {4, 16}},
        {"at the end of the text", "ends in word", 12, {8, 12}},
        {"between two separators", "a  b", 2, {2, 2}},
        {"35 letters before the caret", long35, 2 + 35, {7, 37}},
        {"35 letters after the caret", long35, 2, {2, 32}},
        {"at position 0", "word rest", 0, {0, 4}},
        {"empty text", "", 0, {0, 0}},
        {"line break bounds", "ab\r\ncd", 5, {4, 6}},
        {"a no-break space binds", "x a\xA0" "b y", 3, {2, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WordAtCaret(FromCp1251(c.text), c.caret), c.expected);
    }
}

TEST(TextRules, LineAtStopsAtEveryKindOfBreak) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t position;
        TextRange expected;
    };
    const Case cases[] = {
        {"middle line of CR LF text", "one\r\ntwo\r\nsix", 6, {5, 8}},
        {"caret before the line's CR", "one\r\ntwo\r\nsix", 8, {5, 8}},
        {"first line", "one\ntwo", 0, {0, 3}},
        {"last line without a break", "one\ntwo", 7, {4, 7}},
        {"lone CR", "a\rbc\rd", 3, {2, 4}},
        {"empty line between two breaks", "a\n\nb", 2, {2, 2}},
        {"text starting with a break", "\nab", 0, {0, 0}},
        {"a text without breaks is one line", std::string(10000, 'x'), 5000, {0, 10000}},
        {"position past the end", "ab", 9, {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LineAt(FromCp1251(c.text), c.position), c.expected);
    }
}

TEST(TextRules, ClipboardGetsLfLineBreaks) {
    struct Case {
        const char* name;
        std::string text;
        std::string copied;
    };
    const Case cases[] = {
        {"CR LF", "one\r\ntwo\r\n", "one\ntwo\n"},
        {"LF stays", "one\ntwo", "one\ntwo"},
        {"lone CR", "one\rtwo\r", "one\ntwo\n"},
        {"CR CR LF", "a\r\r\nb", "a\n\nb"},
        {"LF CR", "a\n\rb", "a\n\nb"},
        {"no breaks", "abc", "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClipboardText(FromCp1251(c.text)), FromCp1251(c.copied));
    }
}

TEST(TextRules, SeparatorsAreTheFourOfTheCodePageAndOtherUnicodeWhiteSpace) {
    struct Case {
        const char* name;
        char32_t character;
        bool separates;
    };
    const Case cases[] = {
        {"space", U' ', true},
        {"tab", U'\t', true},
        {"CR", U'\r', true},
        {"LF", U'\n', true},
        {"vertical tab (in the code page)", U'\v', false},
        {"form feed (in the code page)", U'\f', false},
        {"no-break space (in the code page)", U'\u00A0', false},
        {"soft hyphen (in the code page)", U'\u00AD', false},
        {"em space", U'\u2003', true},
        {"ideographic space", U'\u3000', true},
        {"next line", U'\u0085', true},
        {"paragraph separator", U'\u2029', true},
        {"narrow no-break space", U'\u202F', true},
        {"zero-width space is not white space", U'\u200B', false},
        {"letter", U'ж', false},
        {"CJK", U'日', false},
        {"emoji", U'\U0001F600', false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSeparator(c.character), c.separates);
    }
    // The quick answer below U+1680 agrees with the full rule.
    for (char32_t c = 0x80; c <= 0x1680; ++c) {
        ASSERT_EQ(IsSeparator(c), IsOtherSeparator(c)) << std::hex << static_cast<unsigned>(c);
    }
    // A word of another script is bounded by that white space.
    EXPECT_EQ(WordAtCaret(U"日本語\u3000テキスト", 1), (TextRange{0, 3}));
    EXPECT_EQ(WordAtCaret(U"a \U0001F600\U0001F600 b", 2), (TextRange{2, 4}));
}

}  // namespace
