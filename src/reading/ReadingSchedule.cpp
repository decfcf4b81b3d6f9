#include "reading/ReadingSchedule.h"

#include "reading/ReadingIntervals.h"

ReadingSchedule ScheduleReading(TextView text, ReadingCursor cursor,
                                const ReadingOptions& options) {
    ReadingSchedule schedule;
    const ReadingIntervals intervals = ComputeIntervals(options);
    const std::int32_t shortLimit = ShortGroupLimit(options);
    ReadingTimer timer;
    std::int64_t at = timer.Start(options);
    for (;;) {
        GroupStep group = NextGroup(text, cursor, options);
        const TimerStep timing = timer.OnStep(group.kind, group.text.size(), options);
        ScheduledStep& step = schedule.steps.emplace_back();
        step.kind = group.kind;
        step.intervalMs = GroupInterval(group.kind, group.text.size(), intervals, shortLimit);
        step.text = std::move(group.text);
        step.highlight = group.highlight;
        step.progress = group.progress;
        step.atMs = at;
        step.timer = timing.action;
        step.shownMs = timing.periodMs;
        if (!timer.Running()) break;
        at += timing.periodMs;
    }
    schedule.cursor = cursor;
    return schedule;
}
