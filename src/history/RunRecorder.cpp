#include "history/RunRecorder.h"

#include <algorithm>

#include "base/CodePage.h"
#include "reading/ReadingEstimate.h"

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

}  // namespace

ReadingRun RunRecorder::Describe(const ShelfDocument& document, const ReadingCursor& cursor,
                                 std::size_t textLength, std::int64_t startMs) {
    ReadingRun run;
    run.shelfKey = document.key > ShelfDocument::kNotOnShelf ? document.key : -1;
    run.path = document.path;
    run.name = ToUtf8(document.name);
    run.textLength = static_cast<std::int64_t>(textLength);
    run.taskKind = static_cast<int>(cursor.task);
    run.taskFrom = static_cast<std::int64_t>(cursor.taskStart);
    run.taskTo = static_cast<std::int64_t>(cursor.taskEnd.value_or(textLength));
    run.startMs = startMs;
    return run;
}

void RunRecorder::Start(ReadingRun run, int level, std::int64_t nowNs, std::int32_t firstDelayMs) {
    run_ = std::move(run);
    run_.spentMs = run_.groupsShown = run_.wordsShown = 0;
    run_.minLevel = run_.maxLevel = run_.lastLevel = level;
    run_.furthest = 0;
    running_ = true;
    closedNs_ = 0;
    intervalNs_ = nowNs;
    intervalDueMs_ = firstDelayMs;
}

void RunRecorder::Shown(const SessionStep& step, int level, std::int64_t nowNs) {
    if (!running_) return;
    CloseInterval(nowNs, step.delayMs);
    UseLevel(level);
    if (!step.group.ShowsText()) return;
    ++run_.groupsShown;
    run_.wordsShown += CountWords(step.group.text, 0, step.group.text.size());
    if (step.group.highlight) {
        run_.furthest = std::max<std::int64_t>(
            run_.furthest, static_cast<std::int64_t>(step.group.highlight->end));
    }
}

void RunRecorder::Stop(std::int64_t nowNs) {
    if (!running_) return;
    CloseInterval(nowNs, 0);
    run_.spentMs = closedNs_ / kNsPerMs;
    running_ = false;
}

ReadingRun RunRecorder::Figures(std::int64_t nowNs) const {
    ReadingRun figures = run_;
    if (running_) figures.spentMs = (closedNs_ + OpenIntervalNs(nowNs)) / kNsPerMs;
    return figures;
}

std::int64_t RunRecorder::OpenIntervalNs(std::int64_t nowNs) const {
    return std::clamp<std::int64_t>(nowNs - intervalNs_, 0,
                                    (std::int64_t{intervalDueMs_} + kSlackMs) * kNsPerMs);
}

void RunRecorder::CloseInterval(std::int64_t nowNs, std::int32_t nextDueMs) {
    closedNs_ += OpenIntervalNs(nowNs);
    intervalNs_ = nowNs;
    intervalDueMs_ = nextDueMs;
}

void RunRecorder::UseLevel(int level) {
    run_.minLevel = std::min(run_.minLevel, level);
    run_.maxLevel = std::max(run_.maxLevel, level);
    run_.lastLevel = level;
}
