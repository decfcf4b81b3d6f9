#include "reading/ReadingTimer.h"

std::int32_t ReadingTimer::Start(const ReadingOptions& options) {
    shortGroupLimit_ = ShortGroupLimit(options);
    previousKind_.reset();
    periodMs_ = kFirstTickMs;
    return periodMs_;
}

TimerStep ReadingTimer::OnStep(StepKind kind, std::size_t groupLength,
                               const ReadingOptions& options, bool paneHasHeight) {
    if (kind == StepKind::StepEnd) {
        periodMs_ = 0;
        return {TimerAction::StopTaskDone, 0};
    }
    if (kind == StepKind::StepAborted || !paneHasHeight) {
        periodMs_ = 0;
        return {TimerAction::Stop, 0};
    }
    const ReadingIntervals intervals = ComputeIntervals(options);
    if (previousKind_ == kind && intervals == intervals_) {
        return {TimerAction::KeepPeriod, periodMs_};
    }
    previousKind_ = kind;
    intervals_ = intervals;
    periodMs_ = GroupInterval(kind, groupLength, intervals, shortGroupLimit_);
    return {TimerAction::Rearm, periodMs_};
}
