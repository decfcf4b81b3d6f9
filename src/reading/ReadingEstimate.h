#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "reading/ReadingCursor.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingTimer.h"
#include "text/CompactText.h"

// How fast the task reads and how long is left, both from the schedule the
// reading timer follows: every group's time, with the delays after commas
// and stops, the two thirds for short groups and the periods a group
// inherits from the one before it.
struct ReadingEstimate {
    std::int64_t words = 0;   // in the task's range
    std::int64_t taskMs = 0;  // every group of the task, from its start to its end
    std::int64_t leftMs = 0;  // from the group on screen (or the next one) to the end
    // The same to the end of the chapter being read, when asked for.
    std::optional<std::int64_t> chapterLeftMs;

    // Words of the task over its scheduled time; 0 for an empty task.
    std::int64_t WordsPerMinute() const;
    // The time left in whole seconds, a part of one counting as one.
    std::int64_t SecondsLeft() const;
    bool operator==(const ReadingEstimate&) const = default;
};

// The words between start and end: runs of characters that are not separators.
std::int64_t CountWords(TextView text, std::size_t start, std::size_t end);

// The words of a task and the time of all its groups in a run from its start.
struct TaskTotals {
    std::int64_t words = 0;
    std::int64_t taskMs = 0;
    bool operator==(const TaskTotals&) const = default;
};
TaskTotals ScheduleTotals(TextView text, const ReadingCursor& cursor,
                          const ReadingOptions& options);

// The time of the groups still to come after the cursor, with the timer
// running on as it runs now (a started timer for a run about to begin). The
// options are taken where the timer takes them, at changes of kind.
std::int64_t ScheduledTimeLeft(TextView text, ReadingCursor cursor, ReadingTimer timer,
                               const ReadingOptions& options);

// ScheduledTimeLeft's walk through the text, taken some groups at a time, so
// that a long text does not hold the window while it is scheduled.
class ScheduleWalk {
public:
    ScheduleWalk(ReadingCursor cursor, ReadingTimer timer);
    // Takes at most `groups` more groups, less what they take off it; true
    // once the walk has reached the end.
    bool Advance(TextView text, const ReadingOptions& options, std::size_t& groups);
    bool Done() const { return done_; }
    // The time of the groups walked so far.
    std::int64_t Ms() const { return ms_; }

private:
    ReadingCursor cursor_;
    ReadingTimer timer_;
    std::int64_t ms_ = 0;
    bool done_ = false;
};

// ScheduleTotals taken some groups at a time, as ScheduleWalk is.
class TotalsWalk {
public:
    TotalsWalk(TextView text, const ReadingCursor& cursor, const ReadingOptions& options);
    bool Advance(TextView text, std::size_t& groups);
    bool Done() const { return schedule_.Done() && counted_ == end_; }
    // Complete once Done.
    TaskTotals Totals() const { return {words_, schedule_.Ms()}; }
    const ReadingOptions& Options() const { return options_; }

private:
    ReadingOptions options_;
    ScheduleWalk schedule_;
    // The words are counted up to `counted_`; `inWord_` says whether the
    // character before it ends a word not ended yet.
    std::size_t counted_ = 0;
    std::size_t end_ = 0;
    bool inWord_ = false;
    std::int64_t words_ = 0;
};
