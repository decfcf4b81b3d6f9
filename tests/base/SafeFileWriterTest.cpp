#include "base/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "FailingFileSystem.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

class SafeFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override { path = (directory / "bksh.dat").string(); }
    std::size_t FilesInDirectory() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(directory), {}));
    }
    TempFolder folder;
    const fs::path& directory = folder.Path();
    std::string path;
};

TEST_F(SafeFileWriterTest, FailingAnyCallLeavesTheOldFileOrTheNewOne) {
    const std::string oldBytes(1000, 'o');
    const std::string newBytes(3000, 'n');
    // Count the calls of a successful write with short writes.
    FailingFileSystem probe;
    probe.maxWrite = 512;
    ASSERT_TRUE(WriteFileSafely(path, oldBytes, probe));
    const int callsOfOneWrite = probe.calls;
    ASSERT_GT(callsOfOneWrite, 8);

    for (int k = 1; k <= callsOfOneWrite; ++k) {
        SCOPED_TRACE("failing call " + std::to_string(k));
        ASSERT_TRUE(WriteFileSafely(path, oldBytes));
        FailingFileSystem failing;
        failing.failAt = k;
        failing.maxWrite = 512;
        const bool replaced = WriteFileSafely(path, newBytes, failing);
        const std::string now = *ReadWholeFile(path);
        EXPECT_TRUE(now == oldBytes || now == newBytes);
        EXPECT_EQ(replaced, now == newBytes);
        EXPECT_EQ(FilesInDirectory(), 1u) << "a temporary file was left behind";
    }
}

TEST_F(SafeFileWriterTest, ShortAndInterruptedWritesStillWriteEverything) {
    FailingFileSystem system;
    system.maxWrite = 7;
    system.interruptFirstWrite = true;
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<char>(i));
    ASSERT_TRUE(WriteFileSafely(path, bytes, system));
    EXPECT_EQ(*ReadWholeFile(path), bytes);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST_F(SafeFileWriterTest, LeftoverTemporariesOfThatFileAreRemoved) {
    for (const char* name :
         {".bksh.dat.tmp-1-0", ".bksh.dat.tmp-99-3", ".lmn.dat.tmp-1-0", "bksh.dat.tmp", "other"}) {
        std::ofstream(directory / name) << "x";
    }
    RemoveLeftoverTemporaries(path);
    EXPECT_FALSE(fs::exists(directory / ".bksh.dat.tmp-1-0"));
    EXPECT_FALSE(fs::exists(directory / ".bksh.dat.tmp-99-3"));
    EXPECT_TRUE(fs::exists(directory / ".lmn.dat.tmp-1-0"));
    EXPECT_TRUE(fs::exists(directory / "bksh.dat.tmp"));
    EXPECT_TRUE(fs::exists(directory / "other"));
}

TEST_F(SafeFileWriterTest, ReadingAMissingFileGivesNothingAndAnEmptyOneGivesEmpty) {
    EXPECT_FALSE(ReadWholeFile(path).has_value());
    EXPECT_FALSE(ReadFileUpTo(path, 8).has_value());
    std::ofstream(path).close();
    ASSERT_TRUE(ReadWholeFile(path).has_value());
    EXPECT_EQ(*ReadWholeFile(path), "");
    EXPECT_EQ(ReadFileUpTo(path, 8), "");
}

// A file far longer than anything the program writes is read no further than
// needed to tell that it is longer: one byte past the limit.
TEST_F(SafeFileWriterTest, ReadingUpToALimitStopsOneBytePastIt) {
    std::ofstream(path, std::ios::binary) << "0123456789";
    EXPECT_EQ(ReadFileUpTo(path, 10), "0123456789");
    EXPECT_EQ(ReadFileUpTo(path, 9), "0123456789");
    EXPECT_EQ(ReadFileUpTo(path, 4), "01234");
    fs::resize_file(path, std::uintmax_t{1} << 30);  // sparse: nothing is written
    EXPECT_EQ(ReadFileUpTo(path, 4), "01234");
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_FALSE(ReadFileUpTo(path, 4).has_value());
}

TEST_F(SafeFileWriterTest, SymbolicLinksAreWrittenThrough) {
    // The link stays a link, and the file it finally names gets the bytes.
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link -> where it points
        std::string target;
    };
    fs::create_directories(directory / "data");
    const std::string absolute = (directory / "data" / "abs.dat").string();
    for (const Case& c : {
             Case{"relative", {{"bksh.dat", "data/real.dat"}}, "data/real.dat"},
             Case{"absolute", {{"bksh.dat", absolute}}, "data/abs.dat"},
             Case{"chain", {{"bksh.dat", "hop"}, {"hop", "data/chain.dat"}}, "data/chain.dat"},
             Case{"dangling", {{"bksh.dat", "data/new.dat"}}, "data/new.dat"},
         }) {
        SCOPED_TRACE(c.name);
        fs::remove(path);
        fs::remove(directory / "hop");
        for (const auto& [link, to] : c.links) fs::create_symlink(to, directory / link);
        if (std::string(c.name) != "dangling") {
            ASSERT_TRUE(WriteFileSafely((directory / c.target).string(), "old"));
        }
        ASSERT_TRUE(WriteFileSafely(path, "new"));
        EXPECT_TRUE(fs::is_symlink(path));
        EXPECT_EQ(*ReadWholeFile((directory / c.target).string()), "new");
    }
    fs::remove(path);
    fs::create_symlink("bksh.dat", path);  // a loop
    EXPECT_FALSE(WriteFileSafely(path, "new"));
}

TEST_F(SafeFileWriterTest, CopiesGoToTheFirstFreeNumberedName) {
    std::ofstream(path) << "shelf";
    std::ofstream(path + ".damaged") << "older copy";
    EXPECT_EQ(CopyToFreeName(path, ".damaged"), path + ".damaged.1");
    EXPECT_EQ(CopyToFreeName(path, ".damaged"), path + ".damaged.2");
    EXPECT_EQ(*ReadWholeFile(path + ".damaged"), "older copy");
    EXPECT_EQ(*ReadWholeFile(path + ".damaged.2"), "shelf");
    EXPECT_FALSE(CopyToFreeName((directory / "missing").string(), ".damaged"));
}

}  // namespace
