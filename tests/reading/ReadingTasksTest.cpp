#include "reading/ReadingTasks.h"

#include <gtest/gtest.h>

#include "reading/GroupCutter.h"

namespace {

TEST(ReadingTasks, TurnTheSelectionIntoARange) {
    struct Row {
        const char* name;
        ReadingTask task;
        TextRange selection;
        TaskChoice choice;
    };
    const Row rows[] = {
        {"whole text: caret to the start",
         ReadingTask::TaskWholeText,
         {5, 9},
         {ReadingTask::TaskWholeText, 0, std::nullopt, {0, 0}, true}},
        {"from the caret: the selection's start, not its end",
         ReadingTask::TaskFromCaret,
         {5, 9},
         {ReadingTask::TaskFromCaret, 5, std::nullopt, {5, 9}, true}},
        {"to the caret: up to the selection's start",
         ReadingTask::TaskToCaret,
         {5, 9},
         {ReadingTask::TaskToCaret, 0, 5, {5, 9}, true}},
        {"the selection, left as it is",
         ReadingTask::TaskSelection,
         {5, 90},
         {ReadingTask::TaskSelection, 5, 90, {5, 90}, false}},
        {"no task: the whole range, selection untouched",
         ReadingTask::TaskNone,
         {5, 9},
         {ReadingTask::TaskNone, 0, std::nullopt, {5, 9}, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TaskChoice choice = ChooseTask(row.task, row.selection);
        EXPECT_EQ(choice, row.choice);
        ReadingCursor cursor;
        cursor.newTask = false;
        cursor.position = 77;
        EXPECT_EQ(ApplyTask(cursor, choice), ProgressAction::Reset);
        EXPECT_TRUE(cursor.newTask);
        EXPECT_EQ(cursor.task, row.task);
        EXPECT_EQ(cursor.taskStart, row.choice.start);
        EXPECT_EQ(cursor.taskEnd, row.choice.end);
    }
}

TEST(ReadingTasks, ToTheCaretAtTheStartReadsNothing) {
    ReadingCursor cursor;
    ApplyTask(cursor, ChooseTask(ReadingTask::TaskToCaret, {0, 0}));
    const GroupStep step = NextGroup(U"some text", cursor, {});
    EXPECT_EQ(step.kind, StepKind::StepEnd);
    EXPECT_EQ(step.progress, ProgressAction::SetFull);
}

TEST(ReadingTasks, ALoadPreparesTheWholeTextOrNoTask) {
    ReadingCursor cursor;
    ApplyTask(cursor, ChooseTask(ReadingTask::TaskSelection, {3, 8}));
    NextGroup(U"abc defgh", cursor, {});
    EXPECT_EQ(PrepareLoadedText(cursor, 12), ProgressAction::Reset);
    EXPECT_EQ(cursor.task, ReadingTask::TaskWholeText);
    EXPECT_EQ(cursor.taskStart, 0u);
    EXPECT_EQ(cursor.taskEnd, std::nullopt);
    EXPECT_TRUE(cursor.newTask);
    PrepareLoadedText(cursor, 0);
    EXPECT_EQ(cursor.task, ReadingTask::TaskNone);
}

}  // namespace
