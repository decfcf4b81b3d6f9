#include "reading/ReadingSession.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

// Whether the next group taken at this cursor, an abort aside, is the task's
// first.
bool StartsAtTaskStart(TextView text, ReadingCursor cursor) {
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

SessionStep ReadingSession::Step(TextView text, const ReadingOptions& options, bool paneHasHeight,
                                 std::int64_t nowNs) {
    SessionStep step;
    const ReadingCursor before = cursor_;
    step.group = NextGroup(text, cursor_, options);
    if (step.group.ShowsText() && step.group.highlight) shownStart_ = step.group.highlight->start;
    const TimerStep timing =
        timer_.OnStep(step.group.kind, step.group.text.size(), options, paneHasHeight);
    if (left_ && left_->reading && left_->cursor == before && left_->options == options &&
        timing.periodMs > 0) {
        left_->stepsMs -= timing.periodMs;
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

std::vector<std::u32string> ReadingSession::UpcomingTexts(TextView text,
                                                          const ReadingOptions& options,
                                                          std::size_t count) const {
    std::vector<std::u32string> texts;
    ReadingCursor ahead = cursor_;
    while (texts.size() < count) {
        GroupStep group = NextGroup(text, ahead, options);
        if (!group.ShowsText()) break;
        texts.push_back(std::move(group.text));
    }
    return texts;
}

std::int32_t ReadingSession::DelayUntilNextStep(std::int32_t periodMs, std::int64_t nowNs) {
    nextDueNs_ += periodMs * kNsPerMs;
    // After a long stall (a modal loop inside a step, a suspended machine)
    // the run goes on from now instead of racing through the missed groups.
    if (nextDueNs_ < nowNs) nextDueNs_ = nowNs + periodMs * kNsPerMs;
    return static_cast<std::int32_t>((nextDueNs_ - nowNs + kNsPerMs / 2) / kNsPerMs);
}

SessionStep ReadingSession::Move(ReadingMove move, TextView text, const ReadingOptions& options,
                                 bool paneHasHeight, std::int64_t nowNs) {
    if (!reading_) return {};
    if (cursor_.newTask) BeginTaskRange(text, cursor_);
    return ShowFrom(MoveTarget(text, cursor_, options, move, shownStart_), text, options,
                    paneHasHeight, nowNs);
}

SessionStep ReadingSession::MoveToChapter(bool forward, TextView text,
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

SessionStep ReadingSession::ShowFrom(std::size_t target, TextView text,
                                     const ReadingOptions& options, bool paneHasHeight,
                                     std::int64_t nowNs) {
    const int progress = PlaceCursor(cursor_, target);
    // The group moved to is shown now, and the run is timed from it.
    nextDueNs_ = nowNs;
    SessionStep step = Step(text, options, paneHasHeight, nowNs);
    step.progressPosition = progress;
    return step;
}

bool ReadingSession::PrepareEstimate(TextView text, const ReadingOptions& options,
                                     std::size_t groups) {
    if (cursor_.task == ReadingTask::TaskNone) return true;
    if (!totals_ || !(totals_->Options() == options)) totals_.emplace(text, cursor_, options);
    if (!left_ || !(left_->cursor == cursor_) || !(left_->options == options) ||
        left_->reading != reading_) {
        left_ = TimeLeft{cursor_, options, reading_, 0, std::nullopt};
        // Not reading: what a start now would do, which from the task's start
        // is the whole task's time, counted with the totals.
        if (reading_ || !StartsAtTaskStart(text, cursor_)) {
            ReadingTimer timer = timer_;
            if (!reading_) timer.Start(options);
            left_->walk.emplace(cursor_, timer);
        }
    }
    totals_->Advance(text, groups);
    if (left_->walk) left_->walk->Advance(text, options, groups);
    return totals_->Done() && (!left_->walk || left_->walk->Done());
}

std::optional<ReadingEstimate> ReadingSession::Estimate(TextView text,
                                                        const ReadingOptions& options,
                                                        std::int64_t nowNs,
                                                        std::optional<std::size_t> chapterEnd) {
    if (cursor_.task == ReadingTask::TaskNone) return std::nullopt;
    PrepareEstimate(text, options, SIZE_MAX);
    const TaskTotals totals = totals_->Totals();
    ReadingEstimate estimate;
    estimate.words = totals.words;
    estimate.taskMs = totals.taskMs;
    const std::int64_t leftMs = left_->stepsMs + (left_->walk ? left_->walk->Ms() : totals.taskMs);
    const std::int64_t onScreenMs =
        reading_ ? std::max<std::int64_t>(nextDueNs_ - nowNs, 0) / kNsPerMs : 0;
    estimate.leftMs = leftMs + onScreenMs;
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
