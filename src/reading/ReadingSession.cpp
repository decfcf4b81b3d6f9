#include "reading/ReadingSession.h"

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

}  // namespace

std::int32_t ReadingSession::Start(const ReadingOptions& options, std::int64_t nowNs) {
    reading_ = true;
    nextDueNs_ = nowNs;
    return DelayUntilNextStep(timer_.Start(options), nowNs);
}

SessionStep ReadingSession::Step(std::string_view text, const ReadingOptions& options,
                                 bool paneHasHeight, std::int64_t nowNs) {
    SessionStep step;
    step.group = NextGroup(text, cursor_, options);
    const TimerStep timing =
        timer_.OnStep(step.group.kind, step.group.text.size(), options, paneHasHeight);
    switch (timing.action) {
        case TimerAction::KeepPeriod:
        case TimerAction::Rearm:
            step.delayMs = DelayUntilNextStep(timing.periodMs, nowNs);
            break;
        case TimerAction::Stop:
            reading_ = false;
            break;
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

ReadingSession::TaskChange ReadingSession::ChooseTask(ReadingTask task, TextRange selection) {
    TaskChange change;
    change.choice = ::ChooseTask(task, selection);
    change.progress = ApplyTask(cursor_, change.choice);
    return change;
}

ProgressAction ReadingSession::TextLoaded(std::size_t textLength) {
    return PrepareLoadedText(cursor_, textLength);
}

ProgressAction ReadingSession::DropTask() {
    const ProgressAction progress = PrepareTask(cursor_);
    cursor_.task = ReadingTask::TaskNone;
    return progress;
}
