#include "settings/SettingsHolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "base/SafeFileWriter.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

class SettingsHolderTest : public ::testing::Test {
protected:
    void SetUp() override { path = (directory / "lmn.dat").string(); }
    TempFolder folder;
    const fs::path& directory = folder.Path();
    std::string path;
};

TEST_F(SettingsHolderTest, MissingFileIsNotLoadedAndDefaultsAreWritten) {
    SettingsHolder holder;
    holder.SetPath(path);
    EXPECT_FALSE(holder.Load(1024, 768));
    ASSERT_TRUE(holder.CreateDefaults(1024, 768));
    EXPECT_EQ(fs::file_size(path), 348u);
    EXPECT_EQ(*ReadWholeFile(path), SerializeSettings(DefaultSettings(1024, 768)));
}

TEST_F(SettingsHolderTest, UnwritableDirectoryFailsAndLeavesNothing) {
    // A directory that is gone fails for every user; a read-only one only
    // for users other than root.
    SettingsHolder holder;
    holder.SetPath((directory / "gone" / "lmn.dat").string());
    EXPECT_FALSE(holder.CreateDefaults(1024, 768));
    if (::geteuid() != 0) {
        fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
        holder.SetPath(path);
        EXPECT_FALSE(holder.CreateDefaults(1024, 768));
        EXPECT_FALSE(fs::exists(path));
    }
}

TEST_F(SettingsHolderTest, WritesAtDestructionOnlyWhenAsked) {
    {
        SettingsHolder holder;
        holder.SetPath(path);
        holder.settings = DefaultSettings(1024, 768);
    }
    EXPECT_FALSE(fs::exists(path));
    {
        SettingsHolder holder;
        holder.SetPath(path);
        holder.settings = DefaultSettings(1024, 768);
        holder.settings.speedLevel = 31;
        holder.SetSaveOnExit(true);
    }
    SettingsHolder reader;
    reader.SetPath(path);
    ASSERT_TRUE(reader.Load(1024, 768));
    EXPECT_EQ(reader.settings.speedLevel, 31);
}

TEST_F(SettingsHolderTest, RunThatChangesGeometryAndSpeedRewritesOnlyThoseFields) {
    ReaderSettings stored = DefaultSettings(1600, 1200);
    stored.startupAction = 1;
    stored.severalWords = 1;
    ASSERT_TRUE(WriteFileSafely(path, SerializeSettings(stored)));
    const std::string before = *ReadWholeFile(path);
    {
        SettingsHolder holder;
        holder.SetPath(path);
        ASSERT_TRUE(holder.Load(1024, 768));
        holder.SetSaveOnExit(true);
        // What the window's close stores.
        holder.settings.windowLeft = 10;
        holder.settings.windowWidth = 1000;
        holder.settings.speedLevel = 40;
        holder.settings.controlBarStyle = 0x2000;
        holder.settings.controlBarPlacementValid = 1;
    }
    const std::string after = *ReadWholeFile(path);
    ASSERT_EQ(after.size(), 348u);
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) changed.push_back(i);
    }
    for (std::size_t offset : changed) {
        const bool expected = offset < 4 || (offset >= 8 && offset < 12) ||
                              (offset >= 68 && offset < 76) || (offset >= 284 && offset < 288);
        EXPECT_TRUE(expected) << "offset " << offset << " changed";
    }
    EXPECT_FALSE(changed.empty());
}

TEST_F(SettingsHolderTest, EmptyFileRunsOnTheFirstRunValues) {
    std::ofstream(path).close();
    SettingsHolder holder;
    holder.SetPath(path);
    ASSERT_TRUE(holder.Load(1024, 768));
    EXPECT_EQ(holder.settings, DefaultSettings(1024, 768));
}

TEST_F(SettingsHolderTest, SomethingThatIsNotAFileIsNeitherReadNorReplaced) {
    // Each must fail at once (a pipe must not be opened: that waits for a
    // writer) and be left in place; start-up then reports message 0.
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
        fs::file_type type;
    };
    for (const Case& c : {
             Case{"folder", [](const std::string& p) { fs::create_directory(p); },
                  fs::file_type::directory},
             Case{"pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
                  fs::file_type::fifo},
         }) {
        SCOPED_TRACE(c.name);
        fs::remove_all(path);
        c.make(path);
        SettingsHolder holder;
        holder.SetPath(path);
        EXPECT_FALSE(holder.Load(1024, 768));
        EXPECT_FALSE(holder.CreateDefaults(1024, 768));
        EXPECT_EQ(fs::symlink_status(path).type(), c.type);
    }
}

TEST_F(SettingsHolderTest, LinkedSettingsFileIsWrittenThroughToItsTarget) {
    fs::create_directories(directory / "real");
    const fs::path target = directory / "real" / "lmn.dat";
    ReaderSettings stored = DefaultSettings(1024, 768);
    ASSERT_TRUE(WriteFileSafely(target.string(), SerializeSettings(stored)));
    fs::create_symlink("real/lmn.dat", path);  // relative, as users make them
    {
        SettingsHolder holder;
        holder.SetPath(path);
        ASSERT_TRUE(holder.Load(1024, 768));
        holder.settings.speedLevel = 12;
        holder.SetSaveOnExit(true);
    }
    EXPECT_TRUE(fs::is_symlink(path));
    stored.speedLevel = 12;
    EXPECT_EQ(*ReadWholeFile(target.string()), SerializeSettings(stored));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory / "real"), {}), 1)
        << "the temporary file must lie beside the target and be gone";
}

}  // namespace
