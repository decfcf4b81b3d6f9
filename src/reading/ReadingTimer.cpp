#include "reading/ReadingTimer.h"

#include "reading/ReadingIntervals.h"

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
    if (previousKind_ == kind) return {TimerAction::KeepPeriod, periodMs_};
    previousKind_ = kind;
    periodMs_ = GroupInterval(kind, groupLength, ComputeIntervals(options), shortGroupLimit_);
    return {TimerAction::Rearm, periodMs_};
}
