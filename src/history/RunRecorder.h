#pragma once

#include <cstdint>

#include "history/ReadingRun.h"
#include "library/ShelfDocument.h"
#include "reading/ReadingSession.h"

// What one reading run was, for the history: a run lasts from the start of
// reading to its stop, so the pauses between runs are never in it. Its time is
// that of the monotonic clock while it runs, interval by interval between the
// start, the groups shown and the stop; an interval counts for no more than
// the timer was armed for plus a little slack, so a stall (a modal loop inside
// a step, a suspended machine) is not taken for reading. Times are
// nanoseconds of the caller's monotonic clock.
class RunRecorder {
public:
    // Lateness of the reading timer beyond this counts as a stall.
    static constexpr std::int32_t kSlackMs = 1000;

    // What names a run: the open document (by its shelf key when shelved),
    // the task's range in its text and the wall-clock start, Unix milliseconds.
    static ReadingRun Describe(const ShelfDocument& document, const ReadingCursor& cursor,
                               std::size_t textLength, std::int64_t startMs);

    // A run begins: `run` names the document and the task; the first step
    // is due `firstDelayMs` after nowNs.
    void Start(ReadingRun run, int level, std::int64_t nowNs, std::int32_t firstDelayMs);
    // A step of the run (or a move within it), taken at nowNs.
    void Shown(const SessionStep& step, int level, std::int64_t nowNs);
    // The run ends; further steps are ignored until the next Start.
    void Stop(std::int64_t nowNs);
    bool Running() const { return running_; }

    // The run's figures, the interval under way counted up to nowNs.
    ReadingRun Figures(std::int64_t nowNs) const;

private:
    std::int64_t OpenIntervalNs(std::int64_t nowNs) const;
    void CloseInterval(std::int64_t nowNs, std::int32_t nextDueMs);
    void UseLevel(int level);

    ReadingRun run_;
    bool running_ = false;
    // Summed in nanoseconds: a long run of short groups would lose whole
    // seconds to milliseconds rounded down.
    std::int64_t closedNs_ = 0;       // the intervals already closed
    std::int64_t intervalNs_ = 0;     // when the interval under way began
    std::int32_t intervalDueMs_ = 0;  // how long the timer was armed for then
};
