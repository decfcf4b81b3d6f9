#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reading/GroupCutter.h"
#include "reading/ReadingCursor.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingTimer.h"
#include "text/CompactText.h"
#include "text/TextRules.h"

// One step of a reading run as the user sees it.
struct ScheduledStep {
    StepKind kind = StepKind::StepEnd;
    std::u32string text;  // the reading pane's display text
    std::optional<TextRange> highlight;
    ProgressAction progress = ProgressAction::None;
    std::int64_t atMs = 0;  // when the step runs, counted from the start command
    // The interval the rules give this group on its own: its kind's interval,
    // two thirds of it for a short group. 0 for the final step.
    std::int32_t intervalMs = 0;
    TimerAction timer = TimerAction::Stop;
    // How long the group really stays on screen: intervalMs when the timer
    // was re-armed for it, otherwise the period left running by the last
    // re-arming. 0 for the final step.
    std::int32_t shownMs = 0;

    bool operator==(const ScheduledStep&) const = default;
};

struct ReadingSchedule {
    std::vector<ScheduledStep> steps;  // the last one is the step that stopped the run
    ReadingCursor cursor;              // the cursor after the run
};

// Every step of one uninterrupted run from the start command to the stop,
// with the options unchanged throughout. The cursor decides where it begins:
// at the task start after a task was chosen, after the last group otherwise.
ReadingSchedule ScheduleReading(TextView text, ReadingCursor cursor, const ReadingOptions& options);
