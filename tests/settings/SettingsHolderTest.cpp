#include "settings/SettingsHolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

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

std::string Word(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// One field at a time set to what the program never writes: it takes its
// first-run value and nothing else changes; a value the program writes stays.
// Offsets are those of the 348-byte record (reading pane's area at 76, text
// pane's at 180: font height +0, weight +16, italic +20, face +28, point size
// +60, style +64, text colour +96, background +100).
TEST_F(SettingsHolderTest, FieldsOutsideWhatTheProgramWritesTakeTheirFirstRunValues) {
    ReaderSettings stored = DefaultSettings(1024, 768);
    stored.speedLevel = 40;
    stored.readingArea.textColor = 0x00112233;
    const std::string base = SerializeSettings(stored);
    struct Case {
        const char* label;
        std::size_t offset;
        std::string written;
        std::string loaded;
    };
    const std::string arial = std::string("Arial") + std::string(27, '\0');
    const std::string times = std::string("Times New Roman") + std::string(17, '\0');
    const Case cases[] = {
        {"window left far off every screen", 0, Word(1 << 20), Word(50)},
        {"window width 0", 8, Word(0), Word(924)},
        {"window height negative", 12, Word(-5), Word(668)},
        {"reading pane 0 pixels high", 16, Word(0), Word(334)},
        {"reading pane 1 pixel high", 16, Word(1), Word(1)},
        {"maximized 2", 20, Word(2), Word(0)},
        {"bar placement valid 7", 72, Word(7), Word(0)},
        {"bar placement valid without its length", 72, Word(1), Word(0)},
        {"reading font height 0", 76, Word(0), Word(-70)},
        {"reading font height 4000 pixels", 76, Word(4000), Word(4000)},
        {"reading font width", 76 + 4, Word(9), Word(0)},
        {"text font weight 0", 180 + 16, Word(0), Word(400)},
        {"text font weight 1001", 180 + 16, Word(1001), Word(400)},
        {"text font weight 700", 180 + 16, Word(700), Word(700)},
        {"italic 2", 76 + 20, "\x02", "\x00"},
        {"italic 1", 76 + 20, "\x01", "\x01"},
        {"no face name", 76 + 28, std::string(32, '\0'), arial},
        {"face name without terminator", 180 + 28, std::string(32, 'F'), times},
        {"face name of control characters", 180 + 28, "\x01\x02" + std::string(30, '\0'), times},
        {"point size 0", 76 + 60, Word(0), Word(42)},
        {"unknown style", 180 + 64, std::string("Heavy\0\0\0", 8), std::string("Regular\0", 8)},
        {"text colour with bits above blue", 76 + 96, Word(0x01112233), Word(0x0051E2EA)},
        {"text colour of the background", 180 + 96, Word(0x00E4FEFC), Word(0)},
        {"another text colour", 180 + 96, Word(0x00FF0000), Word(0x00FF0000)},
        {"background 0xFFFFFFFF", 180 + 100, Word(0xFFFFFFFF), Word(0x00E4FEFC)},
        {"speed 0", 284, Word(0), Word(25)},
        {"speed 50", 284, Word(50), Word(50)},
        {"speed 51", 284, Word(51), Word(25)},
        {"comma delay 8", 288, Word(8), Word(3)},
        {"stop delay -1", 292, Word(-1), Word(5)},
        {"start-up action 3", 296, Word(3), Word(0)},
        {"shelf dialog width negative", 300, Word(-1), Word(0)},
        {"bookmarks dialog height huge", 320, Word(1 << 24), Word(0)},
        {"several words 2", 332, Word(2), Word(0)},
        {"threshold 4", 336, Word(4), Word(10)},
        {"threshold 20", 336, Word(20), Word(20)},
        {"click step 6", 340, Word(6), Word(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string bytes = base;
        bytes.replace(c.offset, c.written.size(), c.written);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        SettingsHolder holder;
        holder.SetPath(path);
        ASSERT_TRUE(holder.Load(1024, 768));
        std::string expected = base;
        expected.replace(c.offset, c.loaded.size(), c.loaded);
        EXPECT_EQ(SerializeSettings(holder.settings), expected);
    }
}

// A whole file of garbage gives a record the program can show, and that
// record, not the garbage, is written back. A file longer than the record is
// read only as far as the record goes.
TEST_F(SettingsHolderTest, GarbageFilesLoadUsableAndAreWrittenBackSo) {
    std::string random(348, '\0');
    std::uint32_t state = 12345;
    for (char& c : random) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    struct Case {
        const char* label;
        std::string bytes;
    };
    const Case cases[] = {
        {"zeros", std::string(348, '\0')},
        {"0xFF bytes", std::string(348, '\xFF')},
        {"random bytes", random},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        {
            SettingsHolder holder;
            holder.SetPath(path);
            ASSERT_TRUE(holder.Load(1024, 768));
            holder.SetSaveOnExit(true);
            const ReaderSettings& s = holder.settings;
            for (const AreaAppearance* area : {&s.readingArea, &s.textArea}) {
                EXPECT_NE(area->textColor, area->backgroundColor);
                EXPECT_NE(area->font.height, 0);
                EXPECT_FALSE(area->font.FaceName().empty());
                EXPECT_GT(area->pointSize, 0);
            }
            EXPECT_GT(s.readingPaneHeight, 0);
            EXPECT_GT(s.windowWidth, 0);
            EXPECT_GE(s.speedLevel, 1);
            EXPECT_LE(s.speedLevel, 50);
        }
        const std::string written = ReadWholeFile(path).value_or("");
        EXPECT_NE(written, c.bytes);
        SettingsHolder again;
        again.SetPath(path);
        ASSERT_TRUE(again.Load(1024, 768));
        EXPECT_EQ(SerializeSettings(again.settings), written);
    }

    ReaderSettings stored = DefaultSettings(1024, 768);
    stored.speedLevel = 9;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << SerializeSettings(stored);
    fs::resize_file(path, std::uintmax_t{1} << 30);  // sparse: nothing is written
    SettingsHolder holder;
    holder.SetPath(path);
    ASSERT_TRUE(holder.Load(1024, 768));
    EXPECT_EQ(holder.settings, stored);
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
