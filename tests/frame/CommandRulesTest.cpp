#include <gtest/gtest.h>

#include "frame/CommandRules.h"

namespace {

using enum CommandId;

TEST(CommandRules, EnablingLayoutArithmeticAndSpeedLevels) {
    const CommandId ids[] = {ID_READ_ALL,     ID_READ_TO_CARET, ID_READ_SELECTION,
                             ID_BOOKMARK_PUT, ID_SHELF_PUT,     ID_FIND,
                             ID_SHELF_SHOW,   ID_READ_BACK,     ID_READ_TOGGLE,
                             ID_CONTENTS,     ID_READ_CHAPTER,  ID_READ_NEXT_CHAPTER};
    // {reading, shelf key, text length, selection length, outline}: one digit per command for the
    // menu, then for the context menu, which ignores reading. Key -1 is clipboard text.
    const std::tuple<CommandContext, const char*, const char*> cases[] = {
        {{false, 0, 500, 70}, "110011101000", "110011111101"},
        {{false, 0, 500, 71}, "001011101000", "001011111101"},
        {{false, 4, 500, 0}, "110101101000", "110111111101"},
        {{false, -1, 500, 0}, "110001101000", "110011111101"},
        {{false, -1, 0, 0}, "000000101000", "000010111101"},
        {{true, 4, 500, 100}, "000000011000", "001111111101"},
        {{false, 0, 500, 70, true}, "110011101110", "110011111111"},  // with an outline
        {{true, 4, 500, 100, true}, "000000011001", "001111111101"}};
    for (const auto& [context, menu, contextMenu] : cases)
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            SCOPED_TRACE(std::string(menu) + " at " + std::to_string(i));
            EXPECT_EQ(IsCommandEnabled(ids[i], context), menu[i] == '1');
            EXPECT_EQ(IsContextItemEnabled(ids[i], context), contextMenu[i] == '1');
        }
    EXPECT_TRUE(MinimumWindowSize(1024, 768).width == 682 &&
                MinimumWindowSize(1024, 768).height == 512);
    EXPECT_EQ(MinimumWindowSize(1000, 700).width, 666);  // (1000/3)*2, not 2000/3
    EXPECT_EQ(SharedPaneHeight(500), 333);               // 1000/3; (500/3)*2 would give 332
    // Both panes keep their minimum of 30; when they cannot, the reading pane does.
    for (const auto& [pane, panes, fitted] :
         {std::tuple{350, 700, 350}, {671, 700, 670}, {694, 450, 420}, {50, 40, 30}, {10, 700, 30}})
        EXPECT_EQ(FittedPaneHeight(pane, panes), fitted) << pane << " in " << panes;
    // The low 16 bits, signed, then clamped to 1..50.
    for (const auto& [requested, level] :
         {std::pair{25, 25}, {51, 50}, {50, 50}, {0, 1}, {1, 1}, {65536 + 30, 30}, {32768, 1}})
        EXPECT_EQ(ClampSpeedLevel(requested), level) << requested;
}

}  // namespace
