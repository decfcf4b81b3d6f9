#include "library/BookmarkRules.h"

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "library/ShelfDocument.h"

#include "TestText.h"

// The texts are written out here; expected names and check values were
// worked out by hand from the rules (79-character windows, the after-part
// ending before the text's last character, 14 forward or 16 backward signed
// bytes folded as 2 x value + byte).

namespace {

std::u32string Repeat(const std::u32string& piece, int times) {
    std::u32string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

// "word0 word1 ... " : easy to find positions in.
std::u32string Words(int count) {
    std::u32string s;
    for (int i = 0; i < count; ++i) s += U"word" + FromCp1251(std::to_string(i)) + U" ";
    return s;
}

TEST(BookmarkRules, CharacterClasses) {
    struct Case {
        char32_t c;
        CharClass expected;
    };
    // No-break space and "№" (0xA0 and 0xB9 in Windows-1251) are ordinary, as
    // are the full stops and spaces of other scripts.
    for (const Case& c :
         {Case{U'\r', CharClass::SentenceEnd}, Case{U'\n', CharClass::SentenceEnd},
          Case{U'.', CharClass::SentenceEnd}, Case{U'?', CharClass::SentenceEnd},
          Case{U'!', CharClass::SentenceEnd}, Case{U' ', CharClass::WordGap},
          Case{U'\t', CharClass::WordGap}, Case{U'\0', CharClass::Ordinary},
          Case{U',', CharClass::Ordinary}, Case{U';', CharClass::Ordinary},
          Case{U'\u00A0', CharClass::Ordinary}, Case{U'\u2116', CharClass::Ordinary},
          Case{U'\u3002', CharClass::Ordinary}, Case{U'\u3000', CharClass::Ordinary},
          Case{U'a', CharClass::Ordinary}}) {
        SCOPED_TRACE(static_cast<std::uint32_t>(c.c));
        EXPECT_EQ(ClassifyChar(c.c), c.expected);
    }
}

TEST(BookmarkRules, ProposedNameIsTheSentenceAroundTheCaret) {
    const std::u32string pad = Repeat(U"Filler sentence here. ", 5);
    const std::u32string sentence =
        U"Alpha beta gamma. The quick brown fox jumps over the lazy dog. ";
    const std::u32string ending =
        std::u32string(70, U'a') + U". Last words of the book";  // 94 characters
    const std::u32string lines = pad + U"\r\nLine two text\r\n" + pad;
    const std::u32string cyrillic = U"Это начало. Второе предложение здесь. " + pad;
    const std::u32string foreign = U"\u65E5\u672C. G\u00F6del \U0001F600 wrote it. " + pad;
    struct Case {
        const char* label;
        std::u32string text;
        std::size_t caret;
        std::u32string expected;
    };
    const Case cases[] = {
        {"caret inside a word of a short sentence", sentence + pad, 30,
         U"The quick brown fox jumps over the lazy dog"},
        {"caret at the very end: the before-part only", ending, ending.size(),
         U"Last words of the book"},
        {"caret on the last character", ending, ending.size() - 1, U"Last words of the boo"},
        {"the after-part stops before the last character", ending, ending.size() - 2,
         U"Last words of the boo"},
        {"a long sentence is cut to whole words on both sides", Repeat(U"word ", 60), 152,
         Repeat(U"word ", 30) + U"word"},
        {"the start of the text keeps the first word", U"abcdef ghi jkl mno. " + pad, 11,
         U"abcdef ghi jkl mno"},
        {"one word longer than both windows stays whole", std::u32string(200, U'x'), 100,
         std::u32string(158, U'x')},
        {"line breaks end sentences", lines, pad.size() + 6, U"Line two text"},
        {"caret after a full stop and a space", sentence + pad, 18,
         U"The quick brown fox jumps over the lazy dog"},
        {"a zero character ends a part",
         U"Alpha beta. Gam" + std::u32string(1, U'\0') + U"ma delta. " + pad, 12, U"Gam"},
        {"Cyrillic letters are ordinary characters", cyrillic, 20, U"Второе предложение здесь"},
        // Positions count characters, so one beyond the BMP is one position.
        {"characters outside Windows-1251 are kept whole", foreign, 8,
         U"G\u00F6del \U0001F600 wrote it"},
        {"a caret past the end counts as the end", ending, 5000, U"Last words of the book"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_GE(c.text.size(), 80u);
        const std::optional<ProposedBookmark> proposed = DefaultBookmarkName(c.text, c.caret);
        ASSERT_TRUE(proposed.has_value());
        EXPECT_EQ(proposed->name, c.expected);
        EXPECT_EQ(proposed->position, std::min(c.caret, c.text.size()));
    }
    EXPECT_EQ(DefaultBookmarkName(std::u32string(79, U'a'), 10), std::nullopt);
    EXPECT_TRUE(DefaultBookmarkName(std::u32string(80, U'a'), 10).has_value());
}

TEST(BookmarkRules, CheckValueFoldsSignedBytesAndWraps) {
    struct Case {
        const char* label;
        std::string bytes;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"nothing", "", 0},
        {"abc", "abc", 683},
        {"0xFF counts -1", "\xFF", -1},
        {"0x80 counts -128", "\x80", -128},
        {"a then 0xE0", "a\xE0", 2 * 97 - 32},
        {"31 ones reach the largest value", std::string(31, '\x01'), 2147483647},
        {"32 ones wrap to -1", std::string(32, '\x01'), -1},
        {"40 times 0xFF wraps to 1", std::string(40, '\xFF'), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(FoldCheckValue(c.bytes), c.expected);
    }
}

TEST(BookmarkRules, CheckValueWindowIs14ForwardOr16Backward) {
    std::string bytes;
    for (int i = 0; i < 100; ++i) bytes += static_cast<char>('!' + i % 90);
    const std::u32string text = FromCp1251(bytes);
    struct Case {
        const char* label;
        std::u32string text;
        std::size_t position;
        std::int32_t expected;
    };
    const std::u32string abc = U"abc" + std::u32string(77, U' ');
    // The fold runs over Windows-1251 bytes, as stored check values were made:
    // "Ж" is 0xC6, a character the code page lacks is "?".
    const std::u32string foreign = U"\u0416\u65E5\U0001F600\u00F6" + std::u32string(76, U' ');
    const Case cases[] = {
        {"shorter than 80 characters", text.substr(0, 79), 10, 0},
        {"abc and eleven spaces", abc, 0, 683 * 2048 + 32 * 2047},
        {"from the start", text, 0, FoldCheckValue(bytes.substr(0, 14))},
        {"16 characters follow", text, 84, FoldCheckValue(bytes.substr(84, 14))},
        {"15 characters follow", text, 85, FoldCheckValue(bytes.substr(69, 16))},
        {"at the end", text, 100, FoldCheckValue(bytes.substr(84, 16))},
        {"past the end", text, 1000, FoldCheckValue(bytes.substr(84, 16))},
        {"characters Windows-1251 lacks fold as ?", foreign, 0,
         FoldCheckValue("\xC6???" + std::string(10, ' '))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(TextCheckValue(c.text, c.position), c.expected);
    }
}

TEST(BookmarkRules, BookmarkIsValidOnlyWhileItsTextIsUnchanged) {
    const std::u32string text = Words(30);
    const std::size_t at = text.find(U"word20");
    ShelfDocument document;
    PlaceBookmark(text, at, U"twenty", document);
    ASSERT_EQ(document.Bookmarks().size(), 1u);
    EXPECT_EQ(document.Bookmarks()[0].position, static_cast<std::int32_t>(at));
    EXPECT_EQ(document.Bookmarks()[0].checkValue, FoldCheckValue("word20 word21 "));

    std::u32string changedInside = text;
    changedInside[at + 13] = U'_';  // the last character of the forward window
    std::u32string changedBefore = text;
    changedBefore[0] = U'W';
    const std::u32string shorter = text.substr(0, at - 1) + Words(30).substr(at);
    const TextRange kept{3, 9};
    const TextRange word{at, at + 6};
    struct Case {
        const char* label;
        std::u32string text;
        std::size_t index;
        BookmarkJump expected;
    };
    const Case cases[] = {
        {"unchanged text", text, 0, {BookmarkCheck::Valid, word}},
        {"a change outside the window", changedBefore, 0, {BookmarkCheck::Valid, {at, at + 6}}},
        {"a change inside the window", changedInside, 0, {BookmarkCheck::Changed, kept}},
        {"text moved by a character", shorter, 0, {BookmarkCheck::Changed, kept}},
        {"text now ends before the bookmark",
         text.substr(0, 100),
         0,
         {BookmarkCheck::Changed, kept}},
        {"text now too small", text.substr(0, 79), 0, {BookmarkCheck::Changed, kept}},
        {"no such bookmark", text, 1, {BookmarkCheck::Missing, kept}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(GoToBookmark(c.text, document, c.index, kept), c.expected);
    }
}

TEST(BookmarkRules, ResumeBookmarkIsStoredAtTheCaretAndTakenBackOnOpening) {
    const std::u32string text = Words(30);
    const std::size_t caret = text.find(U"word7") + 2;

    ShelfDocument tooSmall;
    EXPECT_FALSE(StoreResumePosition(text.substr(0, 79), 5, tooSmall));
    // A window of zero bytes folds to 0, which stores nothing either.
    EXPECT_FALSE(StoreResumePosition(std::u32string(100, U'\0'), 5, tooSmall));
    EXPECT_TRUE(tooSmall.Bookmarks().empty());

    ShelfDocument document;
    PlaceBookmark(text, 0, U"start", document);
    PlaceBookmark(text, 100, U"later", document);
    ASSERT_TRUE(StoreResumePosition(text, caret, document));
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::u32string>{U"start", U".", U"later"}));
    EXPECT_EQ(document.Bookmarks()[1].checkValue, TextCheckValue(text, caret));

    const std::optional<TextRange> restored = RestoreResumePosition(text, document);
    ASSERT_TRUE(restored.has_value());
    EXPECT_EQ(*restored, (TextRange{caret - 2, caret + 3}));
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::u32string>{U"start", U"later"}));
    EXPECT_EQ(RestoreResumePosition(text, document), std::nullopt);

    // A "." the user named himself, past the end of a shorter text: the caret
    // goes to the end and the bookmark is gone.
    document.AddBookmark({U".", 5000, 1});
    const std::optional<TextRange> atEnd = RestoreResumePosition(text, document);
    ASSERT_TRUE(atEnd.has_value());
    EXPECT_EQ(atEnd->start, text.size());
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::u32string>{U"start", U"later"}));
}

TEST(BookmarkRules, TheListOpensAtTheResumeBookmarkElseTheFirst) {
    struct Case {
        const char* name;
        std::vector<std::u32string> names;  // in list order
        std::optional<std::size_t> opening;
    };
    const Case cases[] = {
        {"no bookmarks", {}, std::nullopt},
        {"one", {U"start"}, 0},
        {"no resume bookmark", {U"start", U"later", U"end"}, 0},
        {"resume bookmark first", {U".", U"later"}, 0},
        {"resume bookmark inside", {U"start", U".", U"later"}, 1},
        {"resume bookmark last", {U"start", U"later", U"."}, 2},
        {"two: the first of them", {U"start", U".", U"."}, 1},
        {"a name that only starts with a dot", {U"start", U".later"}, 0},
    };
    for (const Case& c : cases) {
        ShelfDocument document;
        std::int32_t position = 0;
        for (const std::u32string& name : c.names) document.AddBookmark({name, position += 10, 1});
        EXPECT_EQ(OpeningBookmark(document), c.opening) << c.name;
    }
}

}  // namespace
