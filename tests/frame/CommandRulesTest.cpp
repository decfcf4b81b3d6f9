#include "frame/CommandRules.h"

#include <gtest/gtest.h>

namespace {

using enum CommandId;

TEST(CommandRules, EnablingFollowsReadingShelfKeyTextAndSelection) {
    struct Case {
        const char* name;
        CommandContext context;
        std::vector<CommandId> enabled;
        std::vector<CommandId> disabled;
    };
    const Case cases[] = {
        {"selection of 70 offers the caret tasks",
         {false, 0, 500, 70},
         {ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET, ID_SHELF_PUT, ID_FIND},
         {ID_READ_SELECTION, ID_BOOKMARK_PUT, ID_BOOKMARKS_SHOW}},
        {"selection of 71 offers only the selection",
         {false, 0, 500, 71},
         {ID_READ_SELECTION},
         {ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET}},
        {"shelved document takes bookmarks, not the shelf",
         {false, 4, 500, 0},
         {ID_BOOKMARK_PUT, ID_BOOKMARKS_SHOW},
         {ID_SHELF_PUT}},
        {"clipboard text is neither",
         {false, -1, 500, 0},
         {ID_OPEN_DOCUMENT, ID_SHELF_SHOW},
         {ID_SHELF_PUT, ID_BOOKMARK_PUT, ID_BOOKMARKS_SHOW}},
        {"empty text",
         {false, -1, 0, 0},
         {ID_SETTINGS_GENERAL},
         {ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET, ID_READ_SELECTION, ID_FIND}},
        {"reading disables what would disturb it",
         {true, 4, 500, 100},
         {ID_READ_TOGGLE, ID_LOAD_CLIPBOARD, ID_COPY_TEXT, ID_VIEW_WHOLE_WINDOW,
          ID_VIEW_SHARED_WINDOW, ID_FIND_NEXT, ID_FIND_SELECTION, ID_HELP_CONTENTS, ID_HELP_HOTKEYS,
          ID_HELP_MOUSE, ID_SPEED_UP, ID_SPEED_DOWN, ID_APP_ABOUT, ID_APP_EXIT},
         {ID_SHELF_SHOW, ID_OPEN_DOCUMENT, ID_SHELF_PUT, ID_READ_SELECTION, ID_READ_ALL,
          ID_BOOKMARK_PUT, ID_BOOKMARKS_SHOW, ID_SETTINGS_GENERAL, ID_SETTINGS_READ_AREA,
          ID_SETTINGS_TEXT_AREA, ID_FIND}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (CommandId id : c.enabled) EXPECT_TRUE(IsCommandEnabled(id, c.context)) << int(id);
        for (CommandId id : c.disabled) EXPECT_FALSE(IsCommandEnabled(id, c.context)) << int(id);
    }
}

TEST(CommandRules, ContextMenuGraysWithoutRegardToReading) {
    struct Case {
        const char* name;
        CommandContext context;
        std::vector<CommandId> gray;
    };
    const std::vector<CommandId> all = {
        ID_READ_ALL,       ID_READ_FROM_CARET, ID_READ_TO_CARET, ID_READ_SELECTION,
        ID_BOOKMARKS_SHOW, ID_BOOKMARK_PUT,    ID_FIND};
    const Case cases[] = {
        {"empty text off the shelf",
         {false, -1, 0, 0},
         {ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET, ID_READ_SELECTION, ID_FIND,
          ID_BOOKMARKS_SHOW, ID_BOOKMARK_PUT}},
        {"long selection on the shelf while reading",
         {true, 2, 900, 71},
         {ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET}},
        {"short selection, file not shelved",
         {false, 0, 900, 3},
         {ID_READ_SELECTION, ID_BOOKMARKS_SHOW, ID_BOOKMARK_PUT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (CommandId id : all) {
            const bool gray = std::find(c.gray.begin(), c.gray.end(), id) != c.gray.end();
            EXPECT_EQ(IsContextItemEnabled(id, c.context), !gray) << int(id);
        }
    }
}

TEST(CommandRules, LayoutArithmeticDividesInItsOwnOrder) {
    const MinimumSize minimum = MinimumWindowSize(1024, 768);
    EXPECT_EQ(minimum.width, 682);
    EXPECT_EQ(minimum.height, 512);
    EXPECT_EQ(MinimumWindowSize(1000, 700).width, 666);  // (1000/3)*2, not 2000/3
    EXPECT_EQ(SharedPaneHeight(600), 400);
    EXPECT_EQ(SharedPaneHeight(1000), 666);
    EXPECT_EQ(SharedPaneHeight(500), 333);  // 1000/3; (500/3)*2 would give 332
}

TEST(CommandRules, FittedPaneHeightLeavesBothPanesTheirMinimum) {
    struct Case {
        const char* name;
        int paneHeight, panesHeight, fitted;
    };
    const Case cases[] = {
        {"room for both", 350, 700, 350},
        {"text pane exactly at its minimum", 670, 700, 670},
        {"text pane one pixel short", 671, 700, 670},
        {"reading pane made for a maximised window", 694, 450, 420},
        {"panes too low for both: the reading pane keeps its own", 50, 40, 30},
        {"a reading pane below its minimum grows", 10, 700, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FittedPaneHeight(c.paneHeight, c.panesHeight), c.fitted) << c.name;
    }
}

TEST(CommandRules, SpeedLevelStaysWithinItsRange) {
    struct Case {
        int requested, level;
    };
    for (const Case& c : {Case{25, 25}, Case{51, 50}, Case{50, 50}, Case{0, 1}, Case{-5, 1},
                          Case{1, 1}, Case{65536 + 30, 30}, Case{65535, 1}, Case{32768, 1}}) {
        EXPECT_EQ(ClampSpeedLevel(c.requested), c.level) << c.requested;
    }
}

}  // namespace
