#include "settings/ReaderSettings.h"

#include <gtest/gtest.h>

#include "base/LittleEndian.h"

namespace {

std::int32_t IntAt(const std::string& bytes, std::size_t offset) {
    return le::GetI32(bytes, offset);
}

struct ScreenCase {
    const char* name;
    int width, height;
    int left, top, windowWidth, windowHeight, pane;
};

class DefaultsByScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(DefaultsByScreen, GeometryAtItsOffsets) {
    const ScreenCase& c = GetParam();
    const std::string bytes = SerializeSettings(DefaultSettings(c.width, c.height));
    ASSERT_EQ(bytes.size(), 348u);
    EXPECT_EQ(IntAt(bytes, 0), c.left);
    EXPECT_EQ(IntAt(bytes, 4), c.top);
    EXPECT_EQ(IntAt(bytes, 8), c.windowWidth);
    EXPECT_EQ(IntAt(bytes, 12), c.windowHeight);
    EXPECT_EQ(IntAt(bytes, 16), c.pane);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, DefaultsByScreen,
    ::testing::Values(ScreenCase{"small_1024x768", 1024, 768, 50, 50, 924, 668, 334},
                      ScreenCase{"edge_1300x900", 1300, 900, 50, 50, 1200, 800, 400},
                      ScreenCase{"large_1600x1200", 1600, 1200, 200, 200, 1200, 800, 350},
                      ScreenCase{"odd_1301x901", 1301, 901, 50, 50, 1200, 800, 350}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderSettings, DefaultRecordByteForByte) {
    const std::string bytes = SerializeSettings(DefaultSettings(1024, 768));
    // Everything after the geometry, offset by offset.
    EXPECT_EQ(IntAt(bytes, 20), 0);  // windowMaximized
    for (std::size_t offset = 24; offset < 76; ++offset) EXPECT_EQ(bytes[offset], 0) << offset;
    struct Area {
        std::size_t base;
        std::int32_t height;
        unsigned char pitch;
        const char* face;
        std::int32_t points;
        std::uint32_t text, background;
    };
    for (const Area& a : {Area{76, -70, 0x22, "Arial", 42, 5366506u, 0u},
                          Area{180, 20, 0x12, "Times New Roman", 12, 0u, 15007484u}}) {
        SCOPED_TRACE(a.face);
        EXPECT_EQ(IntAt(bytes, a.base + 0), a.height);
        EXPECT_EQ(IntAt(bytes, a.base + 4), 0);
        EXPECT_EQ(IntAt(bytes, a.base + 16), 400);
        EXPECT_EQ(bytes.substr(a.base + 20, 8),
                  std::string("\0\0\0\xCC\x03\x02\x01", 7) + static_cast<char>(a.pitch));
        EXPECT_EQ(bytes.substr(a.base + 28, 32),
                  std::string(a.face) + std::string(32 - std::strlen(a.face), '\0'));
        EXPECT_EQ(IntAt(bytes, a.base + 60), a.points);
        EXPECT_EQ(bytes.substr(a.base + 64, 32), std::string("Regular") + std::string(25, '\0'));
        EXPECT_EQ(le::GetU32(bytes, a.base + 96), a.text);
        EXPECT_EQ(le::GetU32(bytes, a.base + 100), a.background);
    }
    const std::int32_t tail[] = {25, 3, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 1, 132};
    for (std::size_t i = 0; i < std::size(tail); ++i) {
        EXPECT_EQ(IntAt(bytes, 284 + 4 * i), tail[i]) << "offset " << 284 + 4 * i;
    }
}

TEST(ReaderSettings, EveryFieldRoundTripsAtItsOwnOffset) {
    // Distinct bytes everywhere (and a marker of 132) must read back unchanged.
    std::string bytes(348, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 1);
    le::PutI32(bytes, 344, 132);
    const ReaderSettings parsed = ParseSettings(bytes, DefaultSettings(1024, 768));
    EXPECT_EQ(SerializeSettings(parsed), bytes);
    EXPECT_EQ(parsed.speedLevel, IntAt(bytes, 284));
    EXPECT_EQ(parsed.controlBarPlacement.normalBottom, IntAt(bytes, 64));
    EXPECT_EQ(parsed.textArea.backgroundColor, le::GetU32(bytes, 280));
    EXPECT_EQ(parsed.readingArea.font.pitchAndFamily, static_cast<unsigned char>(bytes[103]));
}

TEST(ReaderSettings, MarkerRule) {
    struct Case {
        const char* name;
        std::int32_t marker;
        bool defaulted;
    };
    for (const Case& c : {Case{"current", 132, false}, Case{"zero", 0, true},
                          Case{"other", 133, true}, Case{"negative", -132, true}}) {
        SCOPED_TRACE(c.name);
        ReaderSettings stored = DefaultSettings(1600, 1200);
        stored.severalWords = 1;
        stored.thresholdChars = 17;
        stored.clickStep = 4;
        stored.speedLevel = 44;
        stored.startupAction = 2;
        stored.layoutMarker = c.marker;
        const ReaderSettings loaded =
            ParseSettings(SerializeSettings(stored), DefaultSettings(1024, 768));
        EXPECT_EQ(loaded.layoutMarker, 132);
        EXPECT_EQ(loaded.speedLevel, 44);
        EXPECT_EQ(loaded.startupAction, 2);
        EXPECT_EQ(loaded.severalWords, c.defaulted ? 0 : 1);
        EXPECT_EQ(loaded.thresholdChars, c.defaulted ? 10 : 17);
        EXPECT_EQ(loaded.clickStep, c.defaulted ? 1 : 4);
    }
}

TEST(ReaderSettings, FieldsBeyondTheEndOfAShortFileTakeTheirFirstRunValues) {
    // A record written by an older program on a 1024 x 768 screen, read on a
    // 1600 x 1200 one: what the file holds stays, the rest is the first-run
    // record of this screen, never zero.
    ReaderSettings old = DefaultSettings(1024, 768);
    old.speedLevel = 40;
    old.commaDelayLevel = 6;
    old.readingArea.textColor = 0x00112233;
    const std::string full = SerializeSettings(old);
    const ReaderSettings defaults = DefaultSettings(1600, 1200);
    struct Case {
        const char* name;
        std::size_t length;
        std::int32_t windowWidth, speed, comma, stop, clickStep;
        std::uint32_t readingText;
    };
    for (const Case& c : {
             Case{"empty", 0, 1200, 25, 3, 5, 1, 0x0051E2EA},
             Case{"geometry only", 24, 924, 25, 3, 5, 1, 0x0051E2EA},
             Case{"ends after the reading pane's text colour", 176, 924, 25, 3, 5, 1, 0x00112233},
             Case{"ends after the comma delay", 292, 924, 40, 6, 5, 1, 0x00112233},
             Case{"older layout without the last four fields", 332, 924, 40, 6, 5, 1, 0x00112233},
             Case{"ends inside the marker", 346, 924, 40, 6, 5, 1, 0x00112233},
         }) {
        SCOPED_TRACE(c.name);
        const ReaderSettings loaded = ParseSettings(full.substr(0, c.length), defaults);
        EXPECT_EQ(loaded.windowWidth, c.windowWidth);
        EXPECT_EQ(loaded.speedLevel, c.speed);
        EXPECT_EQ(loaded.commaDelayLevel, c.comma);
        EXPECT_EQ(loaded.stopDelayLevel, c.stop);
        EXPECT_EQ(loaded.clickStep, c.clickStep);
        EXPECT_EQ(loaded.thresholdChars, 10);
        EXPECT_EQ(loaded.readingArea.textColor, c.readingText);
        EXPECT_EQ(loaded.textArea, defaults.textArea);
        EXPECT_EQ(loaded.layoutMarker, 132);
    }
    EXPECT_EQ(ParseSettings("", defaults), defaults);
}

TEST(ReaderSettings, LongerFileReadsOnlyTheRecord) {
    ReaderSettings stored = DefaultSettings(1024, 768);
    stored.speedLevel = 7;
    const ReaderSettings loaded =
        ParseSettings(SerializeSettings(stored) + "trailing bytes", DefaultSettings(1600, 1200));
    EXPECT_EQ(loaded, stored);
}

TEST(ReaderSettings, UnterminatedNamesStopAtTheirWidth) {
    std::string bytes = SerializeSettings(DefaultSettings(1024, 768));
    for (std::size_t i = 0; i < 32; ++i) bytes[76 + 28 + i] = 'F';   // reading face
    for (std::size_t i = 0; i < 32; ++i) bytes[180 + 64 + i] = 'S';  // text style
    const ReaderSettings loaded = ParseSettings(bytes, DefaultSettings(1024, 768));
    EXPECT_EQ(loaded.readingArea.font.FaceName(), std::string(32, 'F'));
    EXPECT_EQ(loaded.textArea.StyleName(), std::string(32, 'S'));
    EXPECT_EQ(loaded.readingArea.pointSize, 42);  // the next field is untouched
    EXPECT_EQ(SerializeSettings(loaded), bytes);
}

TEST(ReaderSettings, SettingANameKeepsItTerminatedWithinItsWidth) {
    AreaAppearance area;
    area.font.SetFaceName(std::string(40, 'x'));
    EXPECT_EQ(area.font.FaceName(), std::string(31, 'x'));
    area.font.SetFaceName("Arial");
    EXPECT_EQ(area.font.FaceName(), "Arial");
    EXPECT_EQ(area.font.faceName[5], '\0');
    EXPECT_EQ(area.font.faceName[31], '\0');
}

}  // namespace
