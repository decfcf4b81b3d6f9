#include "reading/ReadingEstimate.h"

#include <algorithm>
#include <cstdint>

#include "reading/GroupCutter.h"
#include "text/TextRules.h"

namespace {

// Characters whose words are counted per group the walk may take.
constexpr std::size_t kCharactersPerGroup = 8;

// Counts the words that start in [start, end); `inWord` says whether the
// character before `start` is part of a word, and is left saying it of the
// character before `end`.
std::int64_t CountWords(TextView text, std::size_t start, std::size_t end, bool& inWord) {
    end = std::min(end, text.size());
    std::int64_t words = 0;
    for (std::size_t i = start; i < end; ++i) {
        const bool separator = IsSeparator(text[i]) || text[i] == '\0';
        if (!separator && !inWord) ++words;
        inWord = !separator;
    }
    return words;
}

ReadingCursor TaskStartCursor(TextView text, ReadingCursor cursor) {
    cursor.newTask = true;
    cursor.abort = false;
    BeginTaskRange(text, cursor);
    return cursor;
}

ReadingTimer StartedTimer(const ReadingOptions& options) {
    ReadingTimer timer;
    timer.Start(options);
    return timer;
}

}  // namespace

std::int64_t CountWords(TextView text, std::size_t start, std::size_t end) {
    bool inWord = false;
    return CountWords(text, start, end, inWord);
}

std::int64_t ReadingEstimate::WordsPerMinute() const {
    if (taskMs <= 0) return 0;
    return (words * 60'000 + taskMs / 2) / taskMs;
}

std::int64_t ReadingEstimate::SecondsLeft() const {
    return (std::max<std::int64_t>(leftMs, 0) + 999) / 1000;
}

TaskTotals ScheduleTotals(TextView text, const ReadingCursor& cursor,
                          const ReadingOptions& options) {
    TotalsWalk walk(text, cursor, options);
    std::size_t groups = SIZE_MAX;
    walk.Advance(text, groups);
    return walk.Totals();
}

std::int64_t ScheduledTimeLeft(TextView text, ReadingCursor cursor, ReadingTimer timer,
                               const ReadingOptions& options) {
    ScheduleWalk walk(cursor, timer);
    std::size_t groups = SIZE_MAX;
    walk.Advance(text, options, groups);
    return walk.Ms();
}

ScheduleWalk::ScheduleWalk(ReadingCursor cursor, ReadingTimer timer)
    : cursor_(cursor), timer_(timer) {
    cursor_.abort = false;
}

bool ScheduleWalk::Advance(TextView text, const ReadingOptions& options, std::size_t& groups) {
    for (; !done_ && groups > 0; --groups) {
        const GroupShape group = NextGroupShape(text, cursor_, options);
        timer_.OnStep(group.kind, group.length, options);
        if (!timer_.Running()) {
            done_ = true;
            break;
        }
        ms_ += timer_.PeriodMs();
    }
    return done_;
}

TotalsWalk::TotalsWalk(TextView text, const ReadingCursor& cursor, const ReadingOptions& options)
    : options_(options), schedule_(TaskStartCursor(text, cursor), StartedTimer(options)) {
    const ReadingCursor fromStart = TaskStartCursor(text, cursor);
    counted_ = std::min(fromStart.taskStart, text.size());
    end_ = std::max(counted_, std::min(fromStart.end, text.size()));
}

bool TotalsWalk::Advance(TextView text, std::size_t& groups) {
    if (counted_ < end_) {
        const std::size_t room = groups > (end_ - counted_) / kCharactersPerGroup
                                     ? end_ - counted_
                                     : groups * kCharactersPerGroup;
        words_ += CountWords(text, counted_, counted_ + room, inWord_);
        counted_ += room;
    }
    schedule_.Advance(text, options_, groups);
    return Done();
}
