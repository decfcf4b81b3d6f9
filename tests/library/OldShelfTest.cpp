#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "base/SafeFileWriter.h"
#include "library/BookmarkRules.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "text/DocumentLoader.h"
#include "text/TextRules.h"

#include "TempFolder.h"

// A shelf the program wrote while it held text as Windows-1251 bytes, on a
// Windows-1251 document (tests/data/text/README.md): its positions, check
// values and names must still fit the document as the program reads it now.

namespace {

const std::string kDocument = LMN_TEST_DATA "/text/old-shelf-cp1251.txt";
const std::string kShelf = LMN_TEST_DATA "/text/old-shelf-bksh.dat";

// Where the old program placed its bookmarks, in the order they are stored,
// and the resume position it stored on closing.
const std::vector<std::size_t> kPositions = {0, 15, 400, 1234, 1500, 1797, 1814};
constexpr std::size_t kResume = 1000;

class OldShelfTest : public ::testing::Test {
protected:
    void SetUp() override {
        const LoadedText loaded = LoadDocumentFile(kDocument, DocumentKind::PlainText);
        ASSERT_EQ(loaded.error, LoadError::None);
        text = loaded.text;
        // As the text pane takes it in, and as the old program did.
        text.resize(TrimmedLength(text));
        const std::optional<std::string> bytes = ReadWholeFile(kShelf);
        ASSERT_TRUE(bytes.has_value());
        shelf.SetPath(folder.Write("bksh.dat", *bytes));
        ASSERT_TRUE(document.LoadFromShelf(shelf, 1));
    }

    TempFolder folder;
    ShelfFile shelf;
    std::u32string text;
    ShelfDocument document;
};

TEST_F(OldShelfTest, DocumentAndRecordAreReadAsTheOldProgramWroteThem) {
    // 1819 bytes less the closing CR LF: one character per byte.
    EXPECT_EQ(text.size(), 1817u);
    EXPECT_EQ(shelf.ListEntries(), (std::vector<ShelfListEntry>{{1, U"Старая полка"}}));
    EXPECT_EQ(document.name, U"Старая полка");
    EXPECT_EQ(document.path, "/home/reader/books/old-shelf-cp1251.txt");
    std::vector<std::size_t> positions;
    for (const Bookmark& b : document.Bookmarks()) {
        if (b.name != U".") positions.push_back(static_cast<std::size_t>(b.position));
    }
    EXPECT_EQ(positions, kPositions);
}

TEST_F(OldShelfTest, EveryBookmarkIsValidWithItsNameAndCheckValue) {
    std::size_t placed = 0;
    for (std::size_t i = 0; i < document.Bookmarks().size(); ++i) {
        const Bookmark b = document.Bookmarks()[i];
        SCOPED_TRACE(b.position);
        ASSERT_GE(b.position, 0);
        const auto position = static_cast<std::size_t>(b.position);
        EXPECT_EQ(TextCheckValue(text, position), b.checkValue);
        const BookmarkJump jump = GoToBookmark(text, document, i, TextRange{});
        EXPECT_EQ(jump.check, BookmarkCheck::Valid);
        EXPECT_EQ(jump.selection, WordAtCaret(text, position));
        if (b.name == U".") continue;
        // The old program named each bookmark with the proposal at its
        // position; the proposal from today's text must match it.
        const std::optional<ProposedBookmark> proposed = DefaultBookmarkName(text, position);
        std::u32string expected = proposed ? proposed->name : U"mark";
        if (expected.empty())
            expected = U"mark " + std::u32string(1, static_cast<char32_t>(U'0' + placed));
        EXPECT_EQ(b.name, expected);
        ++placed;
    }
    EXPECT_EQ(placed, kPositions.size());
}

TEST_F(OldShelfTest, TheResumePositionRestores) {
    const std::optional<std::size_t> resume = document.FindResumeBookmark();
    ASSERT_TRUE(resume.has_value());
    EXPECT_EQ(document.Bookmarks()[*resume].position, static_cast<std::int32_t>(kResume));
    EXPECT_EQ(document.Bookmarks()[*resume].checkValue, TextCheckValue(text, kResume));
    EXPECT_EQ(RestoreResumePosition(text, document), WordAtCaret(text, kResume));
    EXPECT_EQ(document.Bookmarks().size(), kPositions.size());
}

}  // namespace
