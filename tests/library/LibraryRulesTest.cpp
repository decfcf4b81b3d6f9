#include <gtest/gtest.h>

#include "TestText.h"
#include "base/CodePage.h"
#include "library/BookmarkRules.h"
#include "library/LibraryDialogRules.h"
#include "library/ShelfDocument.h"

// Names and check values worked out by hand: 79-character windows, the after-part ending
// before the text's last character, 14 forward or 16 backward signed bytes, 2 x value + byte.

namespace {

std::u32string Repeat(const std::u32string& piece, int times) {
    std::u32string s;
    while (times-- > 0) s += piece;
    return s;
}

TEST(BookmarkRules, CharacterClassesProposedNamesAndCheckValues) {
    // No-break space, "№" and the stops and spaces of other scripts are ordinary.
    for (char32_t c : std::u32string(U"\r\n.?!"))
        EXPECT_EQ(ClassifyChar(c), CharClass::SentenceEnd);
    for (char32_t c : std::u32string(U" \t")) EXPECT_EQ(ClassifyChar(c), CharClass::WordGap);
    for (char32_t c : std::u32string(U",;\u00A0\u2116\u3002\u3000a", 8) + char32_t(0))
        EXPECT_EQ(ClassifyChar(c), CharClass::Ordinary) << std::uint32_t(c);
    // The sentence around the caret is proposed as a bookmark's name.
    const std::u32string pad = Repeat(U"Filler sentence here. ", 5);
    const std::u32string sentence =
        U"Alpha beta gamma. The quick brown fox jumps over the lazy dog. ";
    const std::u32string ending = std::u32string(70, U'a') + U". Last words of the book",
                         fox = sentence.substr(18, 43);
    const std::u32string foreign = U"\u65E5\u672C. G\u00F6del \U0001F600 wrote it. " + pad;
    const std::tuple<std::u32string, std::size_t, std::u32string> cases[] = {
        // text, caret, name
        {sentence + pad, 30, fox},
        {sentence + pad, 18, fox},                              // after a full stop and a space
        {ending, 5000, U"Last words of the book"},              // at the end: the before-part only
        {ending, ending.size() - 2, U"Last words of the boo"},  // stops before the last character
        {Repeat(U"word ", 60), 152, Repeat(U"word ", 30) + U"word"},  // cut to whole words
        {std::u32string(200, U'x'), 100, std::u32string(158, U'x')},  // one word stays whole
        {pad + U"\r\nLine two text\r\n" + pad, pad.size() + 6, U"Line two text"},
        {U"Alpha beta. Gam" + std::u32string(1, U'\0') + U"ma delta. " + pad, 12, U"Gam"},
        {foreign, 8, U"G\u00F6del \U0001F600 wrote it"},  // one position per character
    };
    for (const auto& [text, caret, expected] : cases)
        EXPECT_EQ(DefaultBookmarkName(text, caret),
                  (ProposedBookmark{std::min(caret, text.size()), expected}))
            << UnicodeToCp1251(expected);
    EXPECT_TRUE(!DefaultBookmarkName(std::u32string(79, U'a'), 10) &&
                DefaultBookmarkName(std::u32string(80, U'a'), 10));
    // Check values fold signed bytes over a 14- or 16-byte window.
    for (const auto& [bytes, value] : {std::pair<std::string, std::int32_t>{"", 0},
                                       {"\x80", -128},
                                       {"a\xE0", 2 * 97 - 32},
                                       {std::string(31, '\x01'), 2147483647},
                                       {std::string(32, '\x01'), -1},
                                       {std::string(40, '\xFF'), 1}})
        EXPECT_EQ(FoldCheckValue(bytes), value) << bytes.size();
    std::string bytes;
    for (int i = 0; i < 100; ++i) bytes += static_cast<char>('!' + i % 90);
    const std::u32string text = FromCp1251(bytes);
    EXPECT_EQ(TextCheckValue(text.substr(0, 79), 10), 0);
    EXPECT_EQ(TextCheckValue(U"abc" + std::u32string(77, U' '), 0), 683 * 2048 + 32 * 2047);
    // At 84, 16 characters follow: forward; at 85, 15: backward.
    for (const auto& [at, from, count] :
         {std::array<std::size_t, 3>{0, 0, 14}, {84, 84, 14}, {85, 69, 16}, {1000, 84, 16}})
        EXPECT_EQ(TextCheckValue(text, at), FoldCheckValue(bytes.substr(from, count))) << at;
    // Windows-1251 bytes, as stored values were made: "Ж" is 0xC6, what it lacks "?".
    EXPECT_EQ(TextCheckValue(U"\u0416\u65E5\U0001F600\u00F6" + std::u32string(76, U' '), 0),
              FoldCheckValue("\xC6???" + std::string(10, ' ')));
}

TEST(BookmarkRules, BookmarkIsValidOnlyWhileItsTextIsUnchangedAndTheResumeBookmark) {
    std::u32string text;  // "word0 word1 ... word29 "
    for (int i = 0; i < 30; ++i) text += U"word" + FromCp1251(std::to_string(i)) + U" ";
    const std::size_t at = text.find(U"word20");
    ShelfDocument document;
    PlaceBookmark(text, at, U"twenty", document);
    EXPECT_EQ(
        document.Bookmarks(),
        (std::vector<Bookmark>{{U"twenty", std::int32_t(at), FoldCheckValue("word20 word21 ")}}));
    std::u32string inside = text, before = text;
    inside[at + 13] = U'_';  // the last character of the forward window
    before[0] = U'W';
    const TextRange kept{3, 9};
    for (const std::u32string& t : {text, before})
        EXPECT_EQ(GoToBookmark(t, document, 0, kept),
                  (BookmarkJump{BookmarkCheck::Valid, {at, at + 6}}));
    for (const std::u32string& t :
         {inside, text.substr(0, at - 1) + text.substr(at), text.substr(0, 100)})
        EXPECT_EQ(GoToBookmark(t, document, 0, kept), (BookmarkJump{BookmarkCheck::Changed, kept}));
    EXPECT_EQ(GoToBookmark(text, document, 1, kept), (BookmarkJump{BookmarkCheck::Missing, kept}));
    // The resume bookmark is stored at the caret; a short text or a window folding to 0 stores
    // none.
    const std::size_t caret = text.find(U"word7") + 2;
    document = ShelfDocument();
    EXPECT_FALSE(StoreResumePosition(text.substr(0, 79), 5, document) ||
                 StoreResumePosition(std::u32string(100, U'\0'), 5, document) ||
                 !document.Bookmarks().empty());
    PlaceBookmark(text, 0, U"start", document);
    PlaceBookmark(text, 100, U"later", document);
    ASSERT_TRUE(StoreResumePosition(text, caret, document));
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::u32string>{U"start", U".", U"later"}));
    EXPECT_EQ(document.Bookmarks()[1].checkValue, TextCheckValue(text, caret));
    EXPECT_EQ(RestoreResumePosition(text, document), (TextRange{caret - 2, caret + 3}));
    EXPECT_EQ(document.BookmarkNames(), (std::vector<std::u32string>{U"start", U"later"}));
    EXPECT_EQ(RestoreResumePosition(text, document), std::nullopt);
    document.AddBookmark(
        {U".", 5000, 1});  // past the end of a shorter text: the caret goes to the end
    EXPECT_EQ(RestoreResumePosition(text, document), (TextRange{text.size(), text.size()}));
    EXPECT_EQ(document.Bookmarks().size(), 2u);
    // Bookmarks keep position order, newest first among equals; the first "." resumes.
    document = ShelfDocument();
    EXPECT_EQ(OpeningBookmark(document), std::nullopt);
    for (const auto& [name, position] :
         {std::pair{U"b", 50}, {U"a", 10}, {U"c", 90}, {U"b2", 50}, {U"end", 90}, {U"start", 0}})
        document.AddBookmark({name, position, position});
    EXPECT_EQ(document.BookmarkNames(),
              (std::vector<std::u32string>{U"start", U"a", U"b2", U"b", U"end", U"c"}));
    EXPECT_TRUE(document.GetBookmark(5) == (Bookmark{U"c", 90, 90}) && !document.GetBookmark(6));
    document.RemoveBookmark(6);
    EXPECT_EQ(document.Bookmarks().size(), 6u);
    EXPECT_EQ(OpeningBookmark(document), 0u);  // no resume bookmark: the first
    for (const char32_t* name : {U". ", U"..", U".", U"."}) document.AddBookmark({name, 60, 0});
    EXPECT_TRUE(document.FindResumeBookmark() == 4u && OpeningBookmark(document) == 4u);
    document.RemoveBookmark(0);
    EXPECT_EQ(document.FindResumeBookmark(), 3u);
}

TEST(LibraryDialogRules, ChosenEntryListDialogSizeAndOfferedNames) {
    EXPECT_TRUE(ChosenEntry(2, 3, true) == 2u && ChosenEntry(0, 1, false) == 0u &&
                ChosenEntry(std::nullopt, 1, true) == 0u);
    EXPECT_FALSE(ChosenEntry(3, 3, true) || ChosenEntry(std::nullopt, 1, false) ||
                 ChosenEntry(std::nullopt, 2, true) || ChosenEntry(std::nullopt, 0, true));
    // Fields (width, height, min width, min height), screen, geometry, fields after. Unknown sizes
    // take the 300 x 200 client size; larger than an unknown screen: the origin shifts left.
    const std::array<std::int32_t, 16> rows[] = {
        {0, 0, 0, 0, 1024, 768, 362, 284, 300, 200, 300, 200, 300, 200, 300, 200},
        {-400, 300, 50, 50, 1024, 768, 362, 284, 300, 200, 300, 200, 300, 200, 300, 200},
        {301, 201, 300, 200, 1024, 768, 361, 283, 301, 201, 300, 200, 301, 201, 300, 200},
        {1500, 901, 300, 200, 0, 0, -750, -451, 1500, 901, 300, 200, 1500, 901, 300, 200},
        {5000, 4000, 3000, 2000, 1024, 768, 0, 0, 1024, 768, 1024, 768, 5000, 4000, 3000, 2000},
        {100, 100, 300, 200, 1024, 768, 362, 284, 300, 200, 300, 200, 100, 100, 300, 200},
        {400, 300, 0, -5, 1024, 768, 312, 234, 400, 300, 300, 200, 400, 300, 0, -5},
        {400, 300, 1, 1, 1024, 768, 312, 234, 400, 300, 1, 1, 400, 300, 1, 1}};
    for (auto r : rows) {
        const DialogGeometry g{r[6], r[7], r[8], r[9], r[10], r[11]};
        EXPECT_EQ(OpenListDialog({r[0], r[1], r[2], r[3]}, 300, 200, r[4], r[5]), g) << r[0];
        EXPECT_TRUE(std::equal(r.begin(), r.begin() + 4, r.begin() + 12)) << r[0];
    }
    for (const auto& [document, offered] : {std::pair{U"archive.tar.gz", U"archive.tar"},
                                            {U"README", U"README"},
                                            {U".profile", U""},
                                            {U"G\u00F6del.pdf", U"G\u00F6del"}})
        EXPECT_EQ(OfferedShelfName(document), offered);
    // A zipped fb2 loses both extensions, unless they are the whole name.
    const std::array<const char32_t*, 4> named[] = {
        // document, author, title, offered
        {U"tale.pdf", U"Лев Толстой", U"Война и мир", U"Лев Толстой - Война и мир"},
        {U"tale.epub", U"", U"Война и мир", U"Война и мир"},
        {U"tale.epub", U"Лев Толстой", U"  \t", U"tale"},
        {U"TALE.FB2.ZIP", U"", U"", U"TALE"},
        {U"tale.fb2", U"", U"", U"tale"},
        {U".fb2.zip", U"", U"", U".fb2"}};
    for (const auto& [document, author, title, offered] : named)
        EXPECT_EQ(OfferedShelfName(document, author, title), offered);
    // Only ASCII white space is trimmed; other spaces are characters of the name.
    EXPECT_TRUE(TrimName(U" \t name x \r\n") == U"name x" && TrimName(U" \t\r\n\v\f").empty());
    for (const std::u32string& kept : {std::u32string(U"\u00A0n\u3000"), std::u32string(U"\0a", 2)})
        EXPECT_EQ(TrimName(kept), kept);
}

}  // namespace
