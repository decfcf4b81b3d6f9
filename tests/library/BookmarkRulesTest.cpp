#include "library/BookmarkRules.h"

#include <gtest/gtest.h>

#include "library/ShelfDocument.h"
#include "base/CodePage.h"

// The texts are written out here; expected names and check values were
// worked out by hand from the rules (79-character windows, the after-part
// ending before the text's last character, 14 forward or 16 backward signed
// bytes folded as 2 x value + byte).

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

// "word0 word1 ... " : easy to find positions in.
std::string Words(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += "word" + std::to_string(i) + " ";
    return s;
}

TEST(BookmarkRules, CharacterClasses) {
    struct Case {
        char c;
        CharClass expected;
    };
    for (const Case& c : {Case{'\r', CharClass::SentenceEnd}, Case{'\n', CharClass::SentenceEnd},
                          Case{'.', CharClass::SentenceEnd}, Case{'?', CharClass::SentenceEnd},
                          Case{'!', CharClass::SentenceEnd}, Case{' ', CharClass::WordGap},
                          Case{'\t', CharClass::WordGap}, Case{'\0', CharClass::Ordinary},
                          Case{',', CharClass::Ordinary}, Case{';', CharClass::Ordinary},
                          Case{'\xA0', CharClass::Ordinary}, Case{'\xB9', CharClass::Ordinary},
                          Case{'a', CharClass::Ordinary}}) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.c)));
        EXPECT_EQ(ClassifyChar(c.c), c.expected);
    }
}

TEST(BookmarkRules, ProposedNameIsTheSentenceAroundTheCaret) {
    const std::string pad = Repeat("Filler sentence here. ", 5);
    const std::string sentence = "Alpha beta gamma. The quick brown fox jumps over the lazy dog. ";
    const std::string ending = std::string(70, 'a') + ". Last words of the book";  // 94 characters
    const std::string lines = pad + "\r\nLine two text\r\n" + pad;
    const std::string cyrillic = Utf8ToCp1251("Это начало. Второе предложение здесь. ") + pad;
    struct Case {
        const char* label;
        std::string text;
        std::size_t caret;
        std::string expected;
    };
    const Case cases[] = {
        {"caret inside a word of a short sentence", sentence + pad, 30,
         "The quick brown fox jumps over the lazy dog"},
        {"caret at the very end: the before-part only", ending, ending.size(),
         "Last words of the book"},
        {"caret on the last character", ending, ending.size() - 1, "Last words of the boo"},
        {"the after-part stops before the last character", ending, ending.size() - 2,
         "Last words of the boo"},
        {"a long sentence is cut to whole words on both sides", Repeat("word ", 60), 152,
         Repeat("word ", 30) + "word"},
        {"the start of the text keeps the first word", "abcdef ghi jkl mno. " + pad, 11,
         "abcdef ghi jkl mno"},
        {"one word longer than both windows stays whole", std::string(200, 'x'), 100,
         std::string(158, 'x')},
        {"line breaks end sentences", lines, pad.size() + 6, "Line two text"},
        {"caret after a full stop and a space", sentence + pad, 18,
         "The quick brown fox jumps over the lazy dog"},
        {"a zero byte ends a part", "Alpha beta. Gam" + std::string(1, '\0') + "ma delta. " + pad,
         12, "Gam"},
        {"Windows-1251 letters are ordinary characters", cyrillic, 20,
         Utf8ToCp1251("Второе предложение здесь")},
        {"a caret past the end counts as the end", ending, 5000, "Last words of the book"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_GE(c.text.size(), 80u);
        const std::optional<ProposedBookmark> proposed = DefaultBookmarkName(c.text, c.caret);
        ASSERT_TRUE(proposed.has_value());
        EXPECT_EQ(proposed->name, c.expected);
        EXPECT_EQ(proposed->position, std::min(c.caret, c.text.size()));
    }
    EXPECT_EQ(DefaultBookmarkName(std::string(79, 'a'), 10), std::nullopt);
    EXPECT_TRUE(DefaultBookmarkName(std::string(80, 'a'), 10).has_value());
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
    std::string text;
    for (int i = 0; i < 100; ++i) text += static_cast<char>('!' + i % 90);
    struct Case {
        const char* label;
        std::string text;
        std::size_t position;
        std::int32_t expected;
    };
    const std::string abc = "abc" + std::string(77, ' ');
    const Case cases[] = {
        {"shorter than 80 characters", text.substr(0, 79), 10, 0},
        {"abc and eleven spaces", abc, 0, 683 * 2048 + 32 * 2047},
        {"from the start", text, 0, FoldCheckValue(text.substr(0, 14))},
        {"16 characters follow", text, 84, FoldCheckValue(text.substr(84, 14))},
        {"15 characters follow", text, 85, FoldCheckValue(text.substr(69, 16))},
        {"at the end", text, 100, FoldCheckValue(text.substr(84, 16))},
        {"past the end", text, 1000, FoldCheckValue(text.substr(84, 16))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(TextCheckValue(c.text, c.position), c.expected);
    }
}

TEST(BookmarkRules, BookmarkIsValidOnlyWhileItsTextIsUnchanged) {
    const std::string text = Words(30);
    const std::size_t at = text.find("word20");
    ShelfDocument document;
    PlaceBookmark(text, at, "twenty", document);
    ASSERT_EQ(document.Bookmarks().size(), 1u);
    EXPECT_EQ(document.Bookmarks()[0].position, static_cast<std::int32_t>(at));
    EXPECT_EQ(document.Bookmarks()[0].checkValue, FoldCheckValue("word20 word21 "));

    std::string changedInside = text;
    changedInside[at + 13] = '_';  // the last character of the forward window
    std::string changedBefore = text;
    changedBefore[0] = 'W';
    const std::string shorter = text.substr(0, at - 1) + Words(30).substr(at);
    const TextRange kept{3, 9};
    const TextRange word{at, at + 6};
    struct Case {
        const char* label;
        std::string text;
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
    const std::string text = Words(30);
    const std::size_t caret = text.find("word7") + 2;

    ShelfDocument tooSmall;
    EXPECT_FALSE(StoreResumePosition(text.substr(0, 79), 5, tooSmall));
    // A window of zero bytes folds to 0, which stores nothing either.
    EXPECT_FALSE(StoreResumePosition(std::string(100, '\0'), 5, tooSmall));
    EXPECT_TRUE(tooSmall.Bookmarks().empty());

    ShelfDocument document;
    PlaceBookmark(text, 0, "start", document);
    PlaceBookmark(text, 100, "later", document);
    ASSERT_TRUE(StoreResumePosition(text, caret, document));
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::string>{"start", ".", "later"}));
    EXPECT_EQ(document.Bookmarks()[1].checkValue, TextCheckValue(text, caret));

    const std::optional<TextRange> restored = RestoreResumePosition(text, document);
    ASSERT_TRUE(restored.has_value());
    EXPECT_EQ(*restored, (TextRange{caret - 2, caret + 3}));
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::string>{"start", "later"}));
    EXPECT_EQ(RestoreResumePosition(text, document), std::nullopt);

    // A "." the user named himself, past the end of a shorter text: the caret
    // goes to the end and the bookmark is gone.
    document.AddBookmark({".", 5000, 1});
    const std::optional<TextRange> atEnd = RestoreResumePosition(text, document);
    ASSERT_TRUE(atEnd.has_value());
    EXPECT_EQ(atEnd->start, text.size());
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::string>{"start", "later"}));
}

}  // namespace
