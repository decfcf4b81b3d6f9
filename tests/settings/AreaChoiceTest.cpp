#include "settings/AreaChoice.h"

#include <gtest/gtest.h>

// The expected defaults are the values of the area dialog's "Дефолт" table,
// written out here rather than taken from the first-run record they derive from.

namespace {

TEST(AreaChoice, NamesTheStyleByWeight700Only) {
    struct Row {
        const char* name;
        std::int32_t weight;
        std::uint8_t italic;
        const char* style;
    };
    const Row rows[] = {
        {"normal", 400, 0, "Regular"},
        {"normal italic", 400, 1, "Italic"},
        {"semibold is not bold", 600, 0, "Regular"},
        {"semibold italic", 600, 1, "Italic"},
        {"bold", 700, 0, "Bold"},
        {"bold italic", 700, 1, "Bold Italic"},
        {"extra bold is not bold", 800, 0, "Regular"},
        {"extra bold italic", 800, 255, "Italic"},
        {"no weight", 0, 0, "Regular"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LogFont font;
        font.weight = row.weight;
        font.italic = row.italic;
        EXPECT_EQ(StyleNameFor(font), row.style);
    }
}

TEST(AreaChoice, DefaultsOfEachPaneHaveCharacterSetZero) {
    const AreaAppearance reading = AreaDefaults(AreaPane::Reading);
    EXPECT_EQ(reading.font.height, -70);
    EXPECT_EQ(reading.font.weight, 400);
    EXPECT_EQ(reading.font.outPrecision, 3);
    EXPECT_EQ(reading.font.clipPrecision, 2);
    EXPECT_EQ(reading.font.quality, 1);
    EXPECT_EQ(reading.font.pitchAndFamily, 0x22);
    EXPECT_EQ(reading.font.charSet, 0);
    EXPECT_EQ(reading.font.FaceName(), "Arial");
    EXPECT_EQ(reading.pointSize, 42);
    EXPECT_EQ(reading.StyleName(), "Regular");
    EXPECT_EQ(reading.textColor, 5366506u);
    EXPECT_EQ(reading.backgroundColor, 0u);

    const AreaAppearance text = AreaDefaults(AreaPane::Text);
    EXPECT_EQ(text.font.height, 20);
    EXPECT_EQ(text.font.weight, 400);
    EXPECT_EQ(text.font.pitchAndFamily, 0x12);
    EXPECT_EQ(text.font.charSet, 0);
    EXPECT_EQ(text.font.FaceName(), "Times New Roman");
    EXPECT_EQ(text.pointSize, 12);
    EXPECT_EQ(text.StyleName(), "Regular");
    EXPECT_EQ(text.textColor, 0u);
    EXPECT_EQ(text.backgroundColor, 15007484u);
    // Every byte the table does not name is zero.
    EXPECT_EQ(text.font.width, 0);
    EXPECT_EQ(text.font.italic, 0);
    for (std::size_t i = 15; i < text.font.faceName.size(); ++i)
        EXPECT_EQ(text.font.faceName[i], 0);
}

TEST(AreaChoice, KeepsTheChosenSizeInWholePoints) {
    struct Row {
        const char* name;
        int tenths;
        std::int32_t pointSize;
    };
    const Row rows[] = {
        {"10.5 points", 105, 10}, {"9.9 points", 99, 9},   {"12 points", 120, 12},
        {"72 points", 720, 72},   {"below a point", 8, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AreaAppearance area = AreaDefaults(AreaPane::Text);
        LogFont chosen = area.font;
        chosen.weight = 700;
        chosen.italic = 1;
        chosen.SetFaceName("Verdana");
        ApplyChosenFont(area, chosen, row.tenths);
        EXPECT_EQ(area.pointSize, row.pointSize);
        EXPECT_EQ(area.font, chosen);
        EXPECT_EQ(area.StyleName(), "Bold Italic");
        EXPECT_EQ(area.backgroundColor, 15007484u);  // colours untouched
    }
}

// The size field shows what the font dialog will show: the reading pane's
// LOGFONT height turned into points, not the record's point size.
TEST(AreaChoice, ShownPointSizeIsTheDrawnSize) {
    struct Row {
        const char* name;
        AreaPane pane;
        std::int32_t height;
        std::int32_t pointSize;
        double dotsPerInch;
        int shown;
    };
    const Row rows[] = {
        {"reading, 70 px at 96 dpi: 52.5 rounds up", AreaPane::Reading, -70, 42, 96, 53},
        {"reading, a cell height counts the same", AreaPane::Reading, 70, 42, 96, 53},
        {"reading, 71 px at 96 dpi", AreaPane::Reading, -71, 42, 96, 53},
        {"reading, 70 px at 120 dpi", AreaPane::Reading, -70, 10, 120, 42},
        {"reading without a height: the point size", AreaPane::Reading, 0, 42, 96, 42},
        {"reading, damaged height", AreaPane::Reading, INT32_MIN, 42, 96, 1610612736},
        {"text pane: its point size", AreaPane::Text, -16, 12, 96, 12},
    };
    for (const Row& row : rows) {
        AreaAppearance area = AreaDefaults(row.pane);
        area.font.height = row.height;
        area.pointSize = row.pointSize;
        EXPECT_EQ(ShownPointSize(area, row.pane, row.dotsPerInch), row.shown) << row.name;
    }
}

}  // namespace
