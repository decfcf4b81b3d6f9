#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reading/GroupCutter.h"
#include "reading/ReadingCursor.h"
#include "reading/ReadingEstimate.h"
#include "reading/ReadingMoves.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingTask.h"
#include "reading/ReadingTasks.h"
#include "reading/ReadingTimer.h"
#include "text/CompactText.h"
#include "text/Outline.h"
#include "text/TextRules.h"

// What the window does after one step of a run.
struct SessionStep {
    GroupStep group;
    // Arm the single-shot timer for this long; 0 when the run has ended.
    std::int32_t delayMs = 0;
    // After a move: the progress bar's new position, before the group's own
    // progress action is applied.
    std::optional<int> progressPosition;
};

// The reading of one text: the chosen task, where reading stands in it, and
// the run that shows it group by group. The window drives it with a
// single-shot timer and turns its answers into pixels; the session knows no
// window, so a whole run is tested without one.
//
// Times are nanoseconds of any monotonic clock the caller keeps. Each step is
// due at the run's start plus the periods of the groups before it, and the
// timer is armed for what is left until then, so the time a step itself takes
// never adds up over a run.
class ReadingSession {
public:
    ReadingTask Task() const { return cursor_.task; }
    const ReadingCursor& Cursor() const { return cursor_; }
    bool IsReading() const { return reading_; }
    // How long the group on screen stays there; 0 when not reading.
    std::int32_t PeriodMs() const { return reading_ ? timer_.PeriodMs() : 0; }

    // Starts a run; gives the delay until its first step.
    std::int32_t Start(const ReadingOptions& options, std::int64_t nowNs);
    // Ends the run; the task and the place in it stay for the next start.
    void Stop() { reading_ = false; }
    // Cuts the next group and times it. A pane without height, a requested
    // abort or the end of the range ends the run (the end also drops the task).
    SessionStep Step(TextView text, const ReadingOptions& options, bool paneHasHeight,
                     std::int64_t nowNs);
    // The display texts of at most `count` groups the next steps will show,
    // as far as nothing changes meanwhile; the session does not move.
    std::vector<std::u32string> UpcomingTexts(TextView text,
                                              const ReadingOptions& options,
                                              std::size_t count) const;
    // The next step stops the run, whatever happens before it.
    void AbortAtNextStep() { cursor_.abort = true; }
    // While reading: moves back or forward from the group on screen and
    // shows the group there at once; the run goes on from it. Forward past
    // the end of the task ends the run as the end of the text does.
    SessionStep Move(ReadingMove move, TextView text, const ReadingOptions& options,
                     bool paneHasHeight, std::int64_t nowNs);
    // While reading: to the next or the previous chapter of the outline from
    // the group on screen, as Move goes to a group.
    SessionStep MoveToChapter(bool forward, TextView text, const std::vector<Heading>& outline,
                              const ReadingOptions& options, bool paneHasHeight,
                              std::int64_t nowNs);
    // Where reading stands: the group on screen, else the next group's place.
    std::size_t Place() const {
        return shownStart_.value_or(cursor_.newTask ? cursor_.taskStart : cursor_.position);
    }

    // The task's rate and time left at these options; none without a task.
    // While reading, the time left counts what is left of the group on
    // screen and the timer's course from there.
    // With chapterEnd, also the time left up to there.
    std::optional<ReadingEstimate> Estimate(TextView text, const ReadingOptions& options,
                                            std::int64_t nowNs,
                                            std::optional<std::size_t> chapterEnd = {});
    // Walks towards what Estimate needs at these options, at most `groups`
    // groups of the text; true once Estimate has no walk through the text
    // left to do but the chapter's. Estimate finishes whatever is left.
    bool PrepareEstimate(TextView text, const ReadingOptions& options, std::size_t groups);

    // A task command on the caret or selection: what the pane's selection
    // becomes, and what the progress bar does.
    struct TaskChange {
        TaskChoice choice;
        ProgressAction progress = ProgressAction::None;
    };
    TaskChange ChooseTask(ReadingTask task, TextRange selection);
    // A new text: the whole of it becomes the task (none for an empty text).
    ProgressAction TextLoaded(std::size_t textLength);
    // No task; the next run would start afresh.
    ProgressAction DropTask();

private:
    SessionStep ShowFrom(std::size_t target, TextView text, const ReadingOptions& options,
                         bool paneHasHeight, std::int64_t nowNs);
    std::int32_t DelayUntilNextStep(std::int32_t periodMs, std::int64_t nowNs);
    void TaskChanged();

    ReadingCursor cursor_;
    ReadingTimer timer_;
    bool reading_ = false;
    std::int64_t nextDueNs_ = 0;
    // Where the group on screen starts; none before a run's first group.
    std::optional<std::size_t> shownStart_;
    // The whole task's schedule at the options it was taken for, maybe
    // still being walked.
    std::optional<TotalsWalk> totals_;
    // The time of the groups after the cursor, and the state it was taken
    // in. While nothing but steps happens, each step takes its own period
    // off it, so a long text is not scheduled again every second; that goes
    // on while the walk from where it was taken is still under way.
    struct TimeLeft {
        ReadingCursor cursor;
        ReadingOptions options;
        bool reading = false;
        // The periods of the steps since, negative.
        std::int64_t stepsMs = 0;
        // From where it was taken; none when that is the task's start before
        // a run, whose time is the totals' time.
        std::optional<ScheduleWalk> walk;
    };
    std::optional<TimeLeft> left_;
};
