#include "reading/ReadingTasks.h"

#include "base/ProgramTexts.h"

TaskChoice ChooseTask(ReadingTask task, TextRange selection) {
    TaskChoice choice;
    choice.task = task;
    choice.selection = selection;
    switch (task) {
        case ReadingTask::TaskNone: break;
        case ReadingTask::TaskWholeText:
            choice.selection = {0, 0};
            choice.selectWordAtCaret = true;
            break;
        case ReadingTask::TaskFromCaret:
            choice.start = selection.start;
            choice.selectWordAtCaret = true;
            break;
        case ReadingTask::TaskToCaret:
            choice.end = selection.start;
            choice.selectWordAtCaret = true;
            break;
        case ReadingTask::TaskSelection:
            choice.start = selection.start;
            choice.end = selection.end;
            break;
        case ReadingTask::TaskChapter:
            choice.start = selection.start;
            choice.end = selection.end;
            choice.selection = {selection.start, selection.start};
            choice.selectWordAtCaret = true;
            break;
    }
    return choice;
}

ProgressAction PrepareTask(ReadingCursor& cursor) {
    cursor.newTask = true;
    cursor.taskStart = 0;
    cursor.taskEnd.reset();
    return ProgressAction::Reset;
}

ProgressAction ApplyTask(ReadingCursor& cursor, const TaskChoice& choice) {
    const ProgressAction progress = PrepareTask(cursor);
    cursor.task = choice.task;
    cursor.taskStart = choice.start;
    cursor.taskEnd = choice.end;
    return progress;
}

ProgressAction PrepareLoadedText(ReadingCursor& cursor, std::size_t textLength) {
    const ProgressAction progress = PrepareTask(cursor);
    cursor.task = textLength != 0 ? ReadingTask::TaskWholeText : ReadingTask::TaskNone;
    return progress;
}

std::string_view TaskStatusText(ReadingTask task) {
    switch (task) {
        case ReadingTask::TaskNone: return {};
        case ReadingTask::TaskWholeText: return kTaskWholeTextStatus;
        case ReadingTask::TaskFromCaret: return kTaskFromCaretStatus;
        case ReadingTask::TaskToCaret: return kTaskToCaretStatus;
        case ReadingTask::TaskSelection: return kTaskSelectionStatus;
        case ReadingTask::TaskChapter: return kTaskChapterStatus;
    }
    return {};
}
