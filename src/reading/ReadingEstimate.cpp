#include "reading/ReadingEstimate.h"

#include <algorithm>

#include "reading/GroupCutter.h"
#include "text/TextRules.h"

std::int64_t CountWords(std::u32string_view text, std::size_t start, std::size_t end) {
    end = std::min(end, text.size());
    std::int64_t words = 0;
    bool inWord = false;
    for (std::size_t i = start; i < end; ++i) {
        const bool separator = IsSeparator(text[i]) || text[i] == '\0';
        if (!separator && !inWord) ++words;
        inWord = !separator;
    }
    return words;
}

std::int64_t ReadingEstimate::WordsPerMinute() const {
    if (taskMs <= 0) return 0;
    return (words * 60'000 + taskMs / 2) / taskMs;
}

std::int64_t ReadingEstimate::SecondsLeft() const {
    return (std::max<std::int64_t>(leftMs, 0) + 999) / 1000;
}

TaskTotals ScheduleTotals(std::u32string_view text, const ReadingCursor& cursor,
                          const ReadingOptions& options) {
    ReadingCursor fromStart = cursor;
    fromStart.newTask = true;
    fromStart.abort = false;
    BeginTaskRange(text, fromStart);
    ReadingTimer timer;
    timer.Start(options);
    TaskTotals totals;
    totals.words = CountWords(text, fromStart.taskStart, fromStart.end);
    totals.taskMs = ScheduledTimeLeft(text, fromStart, timer, options);
    return totals;
}

std::int64_t ScheduledTimeLeft(std::u32string_view text, ReadingCursor cursor, ReadingTimer timer,
                               const ReadingOptions& options) {
    cursor.abort = false;
    std::int64_t left = 0;
    for (;;) {
        const GroupShape group = NextGroupShape(text, cursor, options);
        timer.OnStep(group.kind, group.length, options);
        if (!timer.Running()) break;
        left += timer.PeriodMs();
    }
    return left;
}
