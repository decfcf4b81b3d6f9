#include "reading/ReadingSession.h"

#include <algorithm>

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

// Whether the next group taken at this cursor, an abort aside, is the task's
// first.
bool StartsAtTaskStart(std::u32string_view text, ReadingCursor cursor) {
    if (cursor.newTask) return true;
    cursor.abort = false;
    ReadingCursor taskStart = cursor;
    BeginTaskRange(text, taskStart);
    return cursor == taskStart;
}

}  // namespace

std::int32_t ReadingSession::Start(const ReadingOptions& options, std::int64_t nowNs) {
    reading_ = true;
    nextDueNs_ = nowNs;
    shownStart_.reset();
    left_.reset();
    return DelayUntilNextStep(timer_.Start(options), nowNs);
}

SessionStep ReadingSession::Step(std::u32string_view text, const ReadingOptions& options,
                                 bool paneHasHeight, std::int64_t nowNs) {
    SessionStep step;
    const ReadingCursor before = cursor_;
    step.group = NextGroup(text, cursor_, options);
    if (step.group.ShowsText() && step.group.highlight) shownStart_ = step.group.highlight->start;
    const TimerStep timing =
        timer_.OnStep(step.group.kind, step.group.text.size(), options, paneHasHeight);
    if (left_ && left_->reading && left_->cursor == before && left_->options == options &&
        timing.periodMs > 0) {
        left_->ms -= timing.periodMs;
        left_->cursor = cursor_;
    } else {
        left_.reset();
    }
    switch (timing.action) {
        case TimerAction::KeepPeriod:
        case TimerAction::Rearm: step.delayMs = DelayUntilNextStep(timing.periodMs, nowNs); break;
        case TimerAction::Stop: reading_ = false; break;
        case TimerAction::StopTaskDone:
            reading_ = false;
            cursor_.task = ReadingTask::TaskNone;
            break;
    }
    return step;
}

std::int32_t ReadingSession::DelayUntilNextStep(std::int32_t periodMs, std::int64_t nowNs) {
    nextDueNs_ += periodMs * kNsPerMs;
    // After a long stall (a modal loop inside a step, a suspended machine)
    // the run goes on from now instead of racing through the missed groups.
    if (nextDueNs_ < nowNs) nextDueNs_ = nowNs + periodMs * kNsPerMs;
    return static_cast<std::int32_t>((nextDueNs_ - nowNs + kNsPerMs / 2) / kNsPerMs);
}

SessionStep ReadingSession::Move(ReadingMove move, std::u32string_view text,
                                 const ReadingOptions& options, bool paneHasHeight,
                                 std::int64_t nowNs) {
    if (!reading_) return {};
    if (cursor_.newTask) BeginTaskRange(text, cursor_);
    return ShowFrom(MoveTarget(text, cursor_, options, move, shownStart_), text, options,
                    paneHasHeight, nowNs);
}

SessionStep ReadingSession::MoveToChapter(bool forward, std::u32string_view text,
                                          const std::vector<Heading>& outline,
                                          const ReadingOptions& options, bool paneHasHeight,
                                          std::int64_t nowNs) {
    if (!reading_) return {};
    if (cursor_.newTask) BeginTaskRange(text, cursor_);
    const std::size_t place = Place();
    return ShowFrom(forward ? NextChapterStart(outline, place, text.size())
                            : PreviousChapterStart(outline, place),
                    text, options, paneHasHeight, nowNs);
}

SessionStep ReadingSession::ShowFrom(std::size_t target, std::u32string_view text,
                                     const ReadingOptions& options, bool paneHasHeight,
                                     std::int64_t nowNs) {
    const int progress = PlaceCursor(cursor_, target);
    // The group moved to is shown now, and the run is timed from it.
    nextDueNs_ = nowNs;
    SessionStep step = Step(text, options, paneHasHeight, nowNs);
    step.progressPosition = progress;
    return step;
}

std::optional<ReadingEstimate> ReadingSession::Estimate(std::u32string_view text,
                                                        const ReadingOptions& options,
                                                        std::int64_t nowNs,
                                                        std::optional<std::size_t> chapterEnd) {
    if (cursor_.task == ReadingTask::TaskNone) return std::nullopt;
    if (!totals_ || !(totalsOptions_ == options)) {
        totals_ = ScheduleTotals(text, cursor_, options);
        totalsOptions_ = options;
    }
    ReadingEstimate estimate;
    estimate.words = totals_->words;
    estimate.taskMs = totals_->taskMs;
    if (!left_ || !(left_->cursor == cursor_) || !(left_->options == options) ||
        left_->reading != reading_) {
        ReadingTimer timer = timer_;
        // Not reading: what a start now would do, which from the task's start
        // is the whole task's time, counted above.
        if (!reading_) timer.Start(options);
        const std::int64_t ms = !reading_ && StartsAtTaskStart(text, cursor_)
                                    ? totals_->taskMs
                                    : ScheduledTimeLeft(text, cursor_, timer, options);
        left_ = TimeLeft{cursor_, options, reading_, ms};
    }
    const std::int64_t onScreenMs =
        reading_ ? std::max<std::int64_t>(nextDueNs_ - nowNs, 0) / kNsPerMs : 0;
    estimate.leftMs = left_->ms + onScreenMs;
    if (chapterEnd) {
        // A walk through the chapter only, at every refresh: chapters are short.
        ReadingCursor inChapter = cursor_;
        if (inChapter.newTask) BeginTaskRange(text, inChapter);
        inChapter.end = std::clamp(*chapterEnd, inChapter.position, inChapter.end);
        ReadingTimer timer = timer_;
        if (!reading_) timer.Start(options);
        estimate.chapterLeftMs = ScheduledTimeLeft(text, inChapter, timer, options) + onScreenMs;
    }
    return estimate;
}

void ReadingSession::TaskChanged() {
    shownStart_.reset();
    totals_.reset();
    left_.reset();
}

ReadingSession::TaskChange ReadingSession::ChooseTask(ReadingTask task, TextRange selection) {
    TaskChange change;
    change.choice = ::ChooseTask(task, selection);
    change.progress = ApplyTask(cursor_, change.choice);
    TaskChanged();
    return change;
}

ProgressAction ReadingSession::TextLoaded(std::size_t textLength) {
    TaskChanged();
    return PrepareLoadedText(cursor_, textLength);
}

ProgressAction ReadingSession::DropTask() {
    const ProgressAction progress = PrepareTask(cursor_);
    cursor_.task = ReadingTask::TaskNone;
    TaskChanged();
    return progress;
}
