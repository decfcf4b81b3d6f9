#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "reading/ReadingIntervals.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingTask.h"

// What the frame does with its reading timer after a step.
enum class TimerAction {
    KeepPeriod,    // same kind as the group before: the timer runs on unchanged
    Rearm,         // kill the timer and set it again with the new period
    Stop,          // stop the run; the task stays for the next start
    StopTaskDone,  // stop the run; the range is exhausted, the task becomes TaskNone
};

struct TimerStep {
    TimerAction action = TimerAction::Stop;
    // The timer's period from this step on: how long the group just shown
    // stays on screen, since the next tick replaces it. 0 once stopped.
    std::int32_t periodMs = 0;

    bool operator==(const TimerStep&) const = default;
};

// The timing side of a reading run. The timer is re-armed when a step's kind
// differs from the previous step's or the intervals have changed since it
// was armed (a new speed level): otherwise a group of the same kind as the
// one before inherits that group's period, the two thirds of a short group
// included.
class ReadingTimer {
public:
    static constexpr std::int32_t kFirstTickMs = 150;

    // A run starts: the first step comes kFirstTickMs later, and that step
    // always re-arms. The short-group limit is taken now, for the whole run.
    std::int32_t Start(const ReadingOptions& options);
    // After each step: the cutter's kind and the length of the group it shows.
    // A reading pane without height stops the run after the step.
    TimerStep OnStep(StepKind kind, std::size_t groupLength, const ReadingOptions& options,
                     bool paneHasHeight = true);

    bool Running() const { return periodMs_ > 0; }
    std::int32_t PeriodMs() const { return periodMs_; }

private:
    std::optional<StepKind> previousKind_;  // none right after a start
    ReadingIntervals intervals_;            // those the period was worked out from
    std::int32_t shortGroupLimit_ = 6;
    std::int32_t periodMs_ = 0;
};
