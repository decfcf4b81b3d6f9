#include "library/ShelfDocument.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <string>

namespace {

struct RecordingHost : DocumentHost {
    std::vector<std::u32string> calls;
    void ReturnToShelf(ShelfDocument& d) override { calls.push_back(U"shelf:" + d.name); }
    void DocumentCleared() override { calls.push_back(U"cleared"); }
};

std::vector<std::u32string> Order(const ShelfDocument& d) { return d.BookmarkNames(); }

TEST(ShelfDocument, BookmarksKeepPositionOrderWithNewestFirstAtEqualPositions) {
    struct Step {
        const char32_t* name;
        int position;
    };
    ShelfDocument document;
    for (const Step& s : {Step{U"b", 50}, Step{U"a", 10}, Step{U"c", 90}, Step{U"b2", 50},
                          Step{U"end", 90}, Step{U"start", 0}}) {
        document.AddBookmark({s.name, s.position, 0});
    }
    EXPECT_EQ(Order(document),
              (std::vector<std::u32string>{U"start", U"a", U"b2", U"b", U"end", U"c"}));
}

TEST(ShelfDocument, GetAndRemoveByIndexIgnoreIndicesPastTheEnd) {
    ShelfDocument document;
    document.AddBookmark({U"one", 5, 111});
    document.AddBookmark({U"two", 9, 222});
    ASSERT_TRUE(document.GetBookmark(1).has_value());
    EXPECT_EQ(document.GetBookmark(1)->position, 9);
    EXPECT_EQ(document.GetBookmark(1)->checkValue, 222);
    EXPECT_FALSE(document.GetBookmark(2).has_value());
    document.RemoveBookmark(2);
    EXPECT_EQ(document.Bookmarks().size(), 2u);
    document.RemoveBookmark(0);
    EXPECT_EQ(Order(document), std::vector<std::u32string>{U"two"});
}

TEST(ShelfDocument, ResumeBookmarkIsTheFirstNamedExactlyDot) {
    struct Case {
        const char* label;
        std::vector<Bookmark> marks;
        std::optional<std::size_t> expected;
    };
    const Case cases[] = {
        {"none", {}, std::nullopt},
        {"dot space and two dots", {{U". ", 1, 0}, {U"..", 2, 0}}, std::nullopt},
        {"plain dot", {{U"a", 1, 0}, {U".", 7, 0}}, 1},
        {"first of two", {{U".", 3, 0}, {U".", 8, 0}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ShelfDocument document;
        for (const Bookmark& b : c.marks) document.AddBookmark(b);
        EXPECT_EQ(document.FindResumeBookmark(), c.expected);
    }
}

TEST(ShelfDocument, CloseCurrentReturnsOnlyShelvedDocumentsAndAlwaysClears) {
    struct Case {
        int key;
        std::vector<std::u32string> calls;
    };
    for (const Case& c :
         {Case{-1, {U"cleared"}}, Case{0, {U"cleared"}}, Case{3, {U"shelf:Война", U"cleared"}}}) {
        SCOPED_TRACE(c.key);
        RecordingHost host;
        ShelfDocument document;
        document.SetHost(&host);
        document.key = c.key;
        document.name = U"Война";
        document.path = "/tmp/war.txt";
        document.AddBookmark({U"x", 1, 2});
        document.CloseCurrent();
        EXPECT_EQ(host.calls, c.calls);
        EXPECT_EQ(document.key, -1);
        EXPECT_TRUE(document.name.empty());
        EXPECT_TRUE(document.path.empty());
        EXPECT_TRUE(document.Bookmarks().empty());
    }
}

TEST(ShelfDocument, FileExistsOnlyForAReadableFile) {
    ShelfDocument document;
    EXPECT_FALSE(document.FileExists());
    document.path = "/nonexistent/lumeno/file.txt";
    EXPECT_FALSE(document.FileExists());
    document.path = LMN_TEST_DATA "/html/zlib_how.txt";
    EXPECT_TRUE(document.FileExists());
    // A pipe is there, and asking must not wait for a writer; the loader
    // then refuses it as no regular file.
    const std::string pipe =
        (std::filesystem::temp_directory_path() / ("lmn-pipe-" + std::to_string(::getpid())))
            .string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    document.path = pipe;
    EXPECT_TRUE(document.FileExists());
    std::filesystem::remove(pipe);
}

}  // namespace
