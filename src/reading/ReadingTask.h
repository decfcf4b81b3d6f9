#pragma once

// What the user chose to read. The numbers are the ones the program has always
// used (4 and 5 are not used).
enum class ReadingTask : int {
    TaskNone = 0,
    TaskWholeText = 1,
    TaskFromCaret = 2,
    TaskToCaret = 3,
    TaskSelection = 6,
    TaskChapter = 7,  // the chapter holding the caret
};

// What one step of the group cutter produced.
enum class StepKind : int {
    StepAborted = 0,  // the run was asked to stop; nothing moved
    StepEnd = 10,     // nothing left in the range
    StepPlain = 20,   // an ordinary group
    StepComma = 30,   // its last word ends in "," or ":"
    StepStop = 40,    // its last word ends in ".", ";", "?" or "!"
};
