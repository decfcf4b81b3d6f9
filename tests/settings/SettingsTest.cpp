#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "base/SafeFileWriter.h"
#include "frame/CommandRules.h"
#include "library/LibraryDialogRules.h"
#include "reading/ReadingIntervals.h"
#include "reading/ReadingOptions.h"
#include "settings/AreaChoice.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsBounds.h"
#include "settings/SettingsHolder.h"

// Offsets in the 348-byte lmn.dat record: the reading pane's area at 76, the text pane's at 180
// (font height +0, weight +16, italic +20, face +28, point size +60, style +64, text +96,
// background +100).

namespace {
namespace fs = std::filesystem;

std::string Word(std::uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string Padded(const std::string& name) { return name + std::string(32 - name.size(), '\0'); }

TEST(ReaderSettings, TheRecordByteForByteShortFilesOldMarkersBoundsAndChosenFonts) {
    // Screen width and height; window left, top, width, height and reading pane height.
    for (const auto& [w, h, left, top, width, height, pane] :
         {std::array{1024, 768, 50, 50, 924, 668, 334},
          {1300, 900, 50, 50, 1200, 800, 400},
          {1600, 1200, 200, 200, 1200, 800, 350},
          {1301, 901, 50, 50, 1200, 800, 350}})
        EXPECT_EQ(SerializeSettings(DefaultSettings(w, h)).substr(0, 20),
                  Word(left) + Word(top) + Word(width) + Word(height) + Word(pane))
            << w;
    const std::string bytes = SerializeSettings(DefaultSettings(1024, 768));
    ASSERT_EQ(bytes.size(), 348u);
    EXPECT_EQ(bytes.substr(20, 56), std::string(56, '\0'));
    const std::string font =
        Word(0) + std::string(8, '\0') + Word(400) + std::string("\0\0\0\xCC\x03\x02\x01", 7);
    const std::string regular = Padded("Regular");
    EXPECT_EQ(bytes.substr(76, 104), Word(-70) + font + "\x22" + Padded("Arial") + Word(42) +
                                         regular + Word(5366506) + Word(0));
    EXPECT_EQ(bytes.substr(180, 104), Word(20) + font + "\x12" + Padded("Times New Roman") +
                                          Word(12) + regular + Word(0) + Word(15007484));
    EXPECT_EQ(bytes.substr(284), Word(25) + Word(3) + Word(5) + std::string(40, '\0') + Word(10) +
                                     Word(1) + Word(132));
    // The area dialog's defaults, with character set 0.
    ReaderSettings first = DefaultSettings(1024, 768);
    first.readingArea.font.charSet = first.textArea.font.charSet = 0;
    EXPECT_EQ(AreaDefaults(AreaPane::Reading), first.readingArea);
    EXPECT_EQ(AreaDefaults(AreaPane::Text), first.textArea);
    // Every field is read at its own offset.
    std::string image(348, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7 + 1);
    image.replace(344, 4, Word(132));
    const ReaderSettings parsed = ParseSettings(image + "trailing", DefaultSettings(1024, 768));
    EXPECT_EQ(SerializeSettings(parsed), image);
    // Names without a terminator stop at their width.
    EXPECT_EQ(parsed.readingArea.font.FaceName(), image.substr(104, 32));
    EXPECT_EQ(parsed.textArea.StyleName(), image.substr(244, 32));
    AreaAppearance area;
    area.font.SetFaceName(std::string(40, 'x'));
    EXPECT_EQ(area.font.FaceName(), std::string(31, 'x'));
    // Fields beyond the end of a short file are those of this screen's first run.
    ReaderSettings stored = DefaultSettings(1024, 768);
    std::tie(stored.speedLevel, stored.severalWords, stored.thresholdChars, stored.clickStep) =
        std::tuple(44, 1, 17, 4);
    const std::string full = SerializeSettings(stored);
    const std::string firstRun = SerializeSettings(DefaultSettings(1600, 1200));
    for (const std::size_t length : {0, 24, 176, 292, 332, 346})
        EXPECT_EQ(
            SerializeSettings(ParseSettings(full.substr(0, length), DefaultSettings(1600, 1200))),
            full.substr(0, length) + firstRun.substr(length))
            << length;
    // Only the current marker keeps the last three fields.
    for (const std::int32_t marker : {132, 133}) {
        ReaderSettings expected = stored;
        stored.layoutMarker = marker;
        if (marker != 132)
            std::tie(expected.severalWords, expected.thresholdChars, expected.clickStep) =
                std::tuple(0, 10, 1);
        EXPECT_EQ(ParseSettings(SerializeSettings(stored), DefaultSettings(1600, 1200)), expected)
            << marker;
    }
    // Any field may hold anything: what the program derives from it stays usable.
    using S = ReaderSettings;
    for (std::int32_t S::*field :
         {&S::readingPaneHeight, &S::speedLevel, &S::commaDelayLevel, &S::stopDelayLevel,
          &S::startupAction, &S::shelfDialogWidth, &S::shelfDialogHeight, &S::shelfDialogMinWidth,
          &S::shelfDialogMinHeight, &S::bookmarksDialogWidth, &S::bookmarksDialogHeight,
          &S::bookmarksDialogMinWidth, &S::bookmarksDialogMinHeight, &S::severalWords,
          &S::thresholdChars, &S::clickStep}) {
        for (const std::int32_t value : {INT_MIN, -1, 0, 1, INT_MAX}) {
            SCOPED_TRACE(value);
            S s = DefaultSettings(1024, 768);
            s.*field = value;
            const int pane = BoundedPaneHeight(s.readingPaneHeight, 768),
                      click = BoundedClickStep(s.clickStep);
            EXPECT_TRUE(pane >= 0 && pane <= 768) << pane;
            EXPECT_TRUE(click >= 1 && 2 * click <= 10) << click;  // a double click moves two steps
            const ReadingIntervals i =
                ComputeIntervals(ReadingOptionsFrom(s, ClampSpeedLevel(s.speedLevel)));
            for (const std::int32_t ms : {i.base, i.comma, i.stop})
                EXPECT_TRUE(ms >= 50 && ms <= 4 * 968) << ms;
            for (const DialogSizeFields& fields : {ShelfDialogSizes(s), BookmarksDialogSizes(s)}) {
                const DialogGeometry g = OpenListDialog(fields, 300, 200, 1024, 768);
                EXPECT_TRUE(g.width > 0 && g.width <= 1024 && g.height > 0 && g.height <= 768 &&
                            g.minWidth <= g.width && g.minHeight <= g.height);
            }
        }
    }
    EXPECT_TRUE(BoundedPaneHeight(334, 768) == 334 && BoundedPaneHeight(900, 768) == 768 &&
                BoundedClickStep(5) == 5);
    using enum StartupAction;
    for (const auto& [stored, action] :
         {std::pair{0, Nothing}, {1, LoadClipboard}, {2, ShowShelf}, {3, Nothing}})
        EXPECT_EQ(StartupActionOf(stored), action) << stored;
    EXPECT_TRUE(IsSeveralWords(1) && !IsSeveralWords(2));  // only 1, in the pane as well
    for (const auto& [weight, italic, style] : {std::tuple{400, 0, "Regular"},
                                                {600, 1, "Italic"},
                                                {700, 0, "Bold"},
                                                {700, 1, "Bold Italic"},
                                                {800, 255, "Italic"}}) {
        LogFont font;
        std::tie(font.weight, font.italic) = std::tuple(weight, std::uint8_t(italic));
        EXPECT_EQ(StyleNameFor(font), style) << weight;
    }
    // The chosen size is kept in whole points; the colours are untouched.
    for (const auto& [tenths, points] : {std::pair{99, 9}, {8, 0}}) {
        AreaAppearance area = AreaDefaults(AreaPane::Text), expected = area;
        LogFont chosen = area.font;
        std::tie(chosen.weight, chosen.italic) = std::tuple(700, 1);
        ApplyChosenFont(area, chosen, tenths);
        std::tie(expected.font, expected.pointSize) = std::tuple(chosen, points);
        expected.SetStyleName("Bold Italic");
        EXPECT_EQ(area, expected);
    }
    // The font dialog shows the reading pane's font height in points; the text pane's size.
    using enum AreaPane;
    for (const auto& [pane, height, pointSize, dotsPerInch, shown] :
         {std::tuple{Reading, -70, 42, 96.0, 53},
          {Reading, 70, 42, 96.0, 53},
          {Reading, -70, 10, 120.0, 42},
          {Reading, 0, 42, 96.0, 42},
          {Reading, INT32_MIN, 42, 96.0, 1610612736},
          {Text, -16, 12, 96.0, 12}}) {
        AreaAppearance area = AreaDefaults(pane);
        std::tie(area.font.height, area.pointSize) = std::tuple(height, pointSize);
        EXPECT_EQ(ShownPointSize(area, pane, dotsPerInch), shown) << height;
    }
}

struct SettingsHolderTest : ::testing::Test {
    void WriteFile(const std::string& bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string Loaded() const {  // what the program would write back
        SettingsHolder holder;
        holder.SetPath(path);
        EXPECT_TRUE(holder.Load(1024, 768));
        return SerializeSettings(holder.settings);
    }
    TempFolder folder;
    const std::string path = folder.Path("lmn.dat");
};

TEST_F(SettingsHolderTest, FirstRunDefaultsRepairsAndSavingOnlyWhenAsked) {
    SettingsHolder holder;
    holder.SetPath(path);
    ASSERT_TRUE(!holder.Load(1024, 768) && holder.CreateDefaults(1024, 768));
    EXPECT_EQ(ReadWholeFile(path), SerializeSettings(DefaultSettings(1024, 768)));
    for (const bool ask : {false, true}) {  // written as the holder goes, only if asked
        SettingsHolder closing;
        closing.SetPath(path);
        closing.settings.speedLevel = ask ? 31 : 30;
        closing.SetSaveOnExit(ask);
    }
    EXPECT_EQ(Loaded().substr(284, 4), Word(31));
    WriteFile("");  // an empty file runs on the first-run values
    EXPECT_EQ(Loaded(), SerializeSettings(DefaultSettings(1024, 768)));
    // A folder that is gone fails for every user, a read-only one for all but root.
    holder.SetPath(folder.Path("gone/lmn.dat"));
    EXPECT_FALSE(holder.CreateDefaults(1024, 768)) << "gone";
    if (::geteuid() != 0) {
        fs::remove(path);
        fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        holder.SetPath(path);
        EXPECT_FALSE(holder.CreateDefaults(1024, 768) || fs::exists(path));
        fs::permissions(folder.Path(), fs::perms::owner_all);
    }
    // Neither a folder nor a pipe (whose opening would wait for a writer) is read or replaced.
    holder.SetPath(path);
    for (const fs::file_type type : {fs::file_type::directory, fs::file_type::fifo}) {
        fs::remove_all(path);
        if (type == fs::file_type::directory)
            fs::create_directory(path);
        else
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
        EXPECT_FALSE(holder.Load(1024, 768) || holder.CreateDefaults(1024, 768));
        EXPECT_EQ(fs::symlink_status(path).type(), type);
    }
    fs::remove(path);
    // A field the program would never write takes its first-run value; one it writes stays.
    ReaderSettings stored = DefaultSettings(1024, 768);
    std::tie(stored.speedLevel, stored.readingArea.textColor) = std::tuple(40, 0x00112233);
    const std::string base = SerializeSettings(stored);
    // A length word of 1 is valid on its own; the high byte above blue is dropped; the text may not
    // take the background's colour.
    const std::tuple<std::size_t, std::string, std::string> cases[] = {
        {0, Word(1 << 20), Word(50)},
        {8, Word(0), Word(924)},
        {12, Word(-5), Word(668)},
        {16, Word(0), Word(334)},
        {16, Word(1), Word(1)},
        {20, Word(2), Word(0)},
        {72, Word(7), Word(0)},
        {72, Word(1), Word(0)},
        {76, Word(0), Word(-70)},
        {76, Word(4000), Word(4000)},
        {80, Word(9), Word(0)},
        {196, Word(0), Word(400)},
        {196, Word(1001), Word(400)},
        {96, "\x02", std::string(1, 0)},
        {96, "\x01", "\x01"},
        {104, std::string(32, '\0'), Padded("Arial")},
        {208, std::string(32, 'F'), Padded("Times New Roman")},
        {136, Word(0), Word(42)},
        {208, "\x01\x02" + std::string(30, '\0'), Padded("Times New Roman")},
        {244, std::string("Heavy\0\0\0", 8), std::string("Regular\0", 8)},
        {172, Word(0x01112233), Word(0x0051E2EA)},
        {276, Word(0x00E4FEFC), Word(0)},
        {276, Word(0x00FF0000), Word(0x00FF0000)},
        {284, Word(0), Word(25)},
        {284, Word(50), Word(50)},
        {284, Word(51), Word(25)},
        {288, Word(8), Word(3)},
        {292, Word(-1), Word(5)},
        {296, Word(3), Word(0)},
        {300, Word(-1), Word(0)},
        {332, Word(2), Word(0)},
        {336, Word(4), Word(10)},
        {336, Word(20), Word(20)},
        {340, Word(6), Word(1)}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [offset, written, loaded] = cases[i];
        SCOPED_TRACE("row " + std::to_string(i));
        std::string bytes = base, expected = base;
        WriteFile(bytes.replace(offset, written.size(), written));
        EXPECT_EQ(Loaded(), expected.replace(offset, loaded.size(), loaded));
    }
    // Only the fields a run changed are written back.
    WriteFile(base);
    {
        SettingsHolder run;
        run.SetPath(path);
        ASSERT_TRUE(run.Load(1600, 1200));
        run.SetSaveOnExit(true);
        std::tie(run.settings.windowWidth, run.settings.controlBarStyle) = std::tuple(1000, 0x2000);
    }
    const std::string written =
        std::string(base).replace(8, 4, Word(1000)).replace(68, 4, Word(0x2000));
    EXPECT_EQ(ReadWholeFile(path), written);
    // A huge file is read only as far as the record goes (sparse: nothing is written).
    fs::resize_file(path, std::uintmax_t{1} << 30);
    EXPECT_EQ(Loaded(), written);
    // A file of garbage loads as a record the program can use, and is written back so.
    WriteFile(std::string(348, '\xFF'));
    const std::string mended = Loaded();
    WriteFile(mended);
    EXPECT_EQ(Loaded(), mended);
}

}  // namespace
