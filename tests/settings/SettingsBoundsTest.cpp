#include "settings/SettingsBounds.h"

#include <climits>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "frame/CommandRules.h"
#include "library/LibraryDialogRules.h"
#include "reading/GroupCutter.h"
#include "reading/ReadingIntervals.h"
#include "reading/ReadingOptions.h"
#include "settings/ReaderSettings.h"

// A settings file may hold anything in any field. Every value the program
// takes from the record is checked here at the extremes; under the
// sanitizers an overflow on the way fails the test as well.

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// Everything the program derives from the record where it uses it.
void ExpectUsableValues(ReaderSettings& s) {
    EXPECT_GE(BoundedPaneHeight(s.readingPaneHeight, kScreenHeight), 0);
    EXPECT_LE(BoundedPaneHeight(s.readingPaneHeight, kScreenHeight), kScreenHeight);
    const int click = BoundedClickStep(s.clickStep);
    EXPECT_GE(click, 1);
    EXPECT_LE(2 * click, 10);  // a double click moves two steps
    const int speed = ClampSpeedLevel(s.speedLevel);
    EXPECT_GE(speed, kMinSpeedLevel);
    EXPECT_LE(speed, kMaxSpeedLevel);

    const ReadingOptions options = ReadingOptionsFrom(s, speed);
    const ReadingIntervals intervals = ComputeIntervals(options);
    for (const std::int32_t ms : {intervals.base, intervals.comma, intervals.stop}) {
        EXPECT_GE(ms, 50);
        EXPECT_LE(ms, 4 * 968);
    }
    ReadingCursor cursor;
    const GroupStep group = NextGroup(U"one, two three. four", cursor, options);
    EXPECT_EQ(group.kind, StepKind::StepComma);
    EXPECT_LE(GroupInterval(group.kind, group.text.size(), intervals, ShortGroupLimit(options)),
              intervals.comma);

    for (const DialogSizeFields& fields : {ShelfDialogSizes(s), BookmarksDialogSizes(s)}) {
        const DialogGeometry geometry =
            OpenListDialog(fields, 300, 200, kScreenWidth, kScreenHeight);
        EXPECT_GT(geometry.width, 0);
        EXPECT_LE(geometry.width, kScreenWidth);
        EXPECT_GT(geometry.height, 0);
        EXPECT_LE(geometry.height, kScreenHeight);
        EXPECT_LE(geometry.minWidth, geometry.width);
        EXPECT_LE(geometry.minHeight, geometry.height);
    }
    const StartupAction action = StartupActionOf(s.startupAction);
    EXPECT_TRUE(action == StartupAction::Nothing || action == StartupAction::LoadClipboard ||
                action == StartupAction::ShowShelf);
}

TEST(SettingsBounds, EveryFieldAtItsExtremesGivesUsableValues) {
    struct Field {
        const char* name;
        std::function<std::int32_t&(ReaderSettings&)> of;
    };
    const Field fields[] = {
        {"readingPaneHeight", [](ReaderSettings & s) -> auto& {return s.readingPaneHeight;
}
}  // namespace
, {"speedLevel", [](ReaderSettings& s) -> auto& {return s.speedLevel;
}
}
, {"commaDelayLevel", [](ReaderSettings& s) -> auto& {return s.commaDelayLevel;
}
}
, {"stopDelayLevel", [](ReaderSettings& s) -> auto& {return s.stopDelayLevel;
}
}
, {"startupAction", [](ReaderSettings& s) -> auto& {return s.startupAction;
}
}
, {"shelfDialogWidth", [](ReaderSettings& s) -> auto& {return s.shelfDialogWidth;
}
}
, {"shelfDialogHeight", [](ReaderSettings& s) -> auto& {return s.shelfDialogHeight;
}
}
, {"shelfDialogMinWidth", [](ReaderSettings& s) -> auto& {return s.shelfDialogMinWidth;
}
}
, {"shelfDialogMinHeight", [](ReaderSettings& s) -> auto& {return s.shelfDialogMinHeight;
}
}
, {"bookmarksDialogWidth", [](ReaderSettings& s) -> auto& {return s.bookmarksDialogWidth;
}
}
, {"bookmarksDialogHeight", [](ReaderSettings& s) -> auto& {return s.bookmarksDialogHeight;
}
}
, {"bookmarksDialogMinWidth", [](ReaderSettings& s) -> auto& {return s.bookmarksDialogMinWidth;
}
}
, {"bookmarksDialogMinHeight", [](ReaderSettings& s) -> auto& {return s.bookmarksDialogMinHeight;
}
}
, {"severalWords", [](ReaderSettings& s) -> auto& {return s.severalWords;
}
}
, {"thresholdChars", [](ReaderSettings& s) -> auto& {return s.thresholdChars;
}
}
, {"clickStep", [](ReaderSettings& s) -> auto& {return s.clickStep;
}
}
,
}
;
for (const Field& field : fields) {
    for (const std::int32_t value : {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX}) {
        SCOPED_TRACE(std::string(field.name) + " = " + std::to_string(value));
        ReaderSettings settings = DefaultSettings(kScreenWidth, kScreenHeight);
        field.of(settings) = value;
        ExpectUsableValues(settings);
    }
}
}

TEST(SettingsBounds, ValuesInRangeAreUsedAsTheyAre) {
    EXPECT_EQ(BoundedPaneHeight(334, kScreenHeight), 334);
    EXPECT_EQ(BoundedPaneHeight(900, kScreenHeight), kScreenHeight);
    for (int step = 1; step <= 5; ++step) EXPECT_EQ(BoundedClickStep(step), step);
    EXPECT_EQ(StartupActionOf(1), StartupAction::LoadClipboard);
    EXPECT_EQ(StartupActionOf(2), StartupAction::ShowShelf);
    EXPECT_EQ(StartupActionOf(3), StartupAction::Nothing);
    EXPECT_TRUE(IsSeveralWords(1));
    EXPECT_FALSE(IsSeveralWords(2));  // only 1 means several words, in the pane as well
}

}  // namespace
