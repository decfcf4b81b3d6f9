#pragma once

#include <cstddef>
#include <optional>

#include "reading/ReadingTask.h"

// Where reading stands in the text: the chosen task and its range, and the
// cursor that the group cutter moves through it. Stopping a run leaves all of
// it alone, so the next run resumes after the last group shown; choosing a task
// sets the new-task flag, so the next run starts at the task start.
struct ReadingCursor {
    ReadingTask task = ReadingTask::TaskNone;
    std::size_t taskStart = 0;
    std::optional<std::size_t> taskEnd;  // none: the end of the text
    bool newTask = true;                 // the task's first step has not run yet
    bool abort = false;                  // the next step reports StepAborted

    // Taken from the task by its first step.
    std::size_t position = 0;
    std::size_t end = 0;
    std::size_t progressStep = 0;  // a fortieth of the range
    std::size_t nextProgressMark = 0;

    bool operator==(const ReadingCursor&) const = default;
};
