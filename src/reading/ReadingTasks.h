#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "reading/GroupCutter.h"
#include "reading/ReadingCursor.h"
#include "reading/ReadingTask.h"
#include "text/TextRules.h"

// What a task command makes of the caret or selection. None of them starts
// reading.
struct TaskChoice {
    ReadingTask task = ReadingTask::TaskNone;
    std::size_t start = 0;
    std::optional<std::size_t> end;  // none: to the end of the text
    // The selection the command leaves in the text pane. When
    // selectWordAtCaret is set, the word around its start (WordAtCaret) is
    // selected next, only to show where reading will begin or end: the range
    // above stays as it is.
    TextRange selection;
    bool selectWordAtCaret = false;

    bool operator==(const TaskChoice&) const = default;
};

// The whole text (the caret goes to the start), from the caret to the end,
// from the start up to the caret (both taken at the selection's start), or
// the selection itself (left as it is). A chapter is given as the selection
// and read like one, the caret going to its start. TaskNone gives the empty choice the
// shelf makes when the document's entry goes: the whole range, no task.
TaskChoice ChooseTask(ReadingTask task, TextRange selection);

// The status pane's text for a task (UTF-8); empty for no task. A chapter's
// text takes its title for %1.
std::string_view TaskStatusText(ReadingTask task);

// The first step of every task command and of every load: the progress bar
// empties, and the next run starts afresh at 0 and runs to the end of the
// text. Returns what the progress bar does.
ProgressAction PrepareTask(ReadingCursor& cursor);
// Prepares and takes the choice's task and range.
ProgressAction ApplyTask(ReadingCursor& cursor, const TaskChoice& choice);
// After a load: the whole text, or no task when the text is empty.
ProgressAction PrepareLoadedText(ReadingCursor& cursor, std::size_t textLength);
