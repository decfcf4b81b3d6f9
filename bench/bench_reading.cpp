// One step of the group cutter at the start, the middle and the end of a
// text of 10 M characters: the step costs what its group costs, wherever it is.

#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "reading/GroupCutter.h"
#include "reading/ReadingEstimate.h"
#include "reading/ReadingSchedule.h"
#include "reading/ReadingTasks.h"

namespace {

constexpr std::size_t kTextSize = 10 * 1024 * 1024;

// Russian prose-like text: words of 1 to 12 letters, some followed by a comma
// or a full stop, lines of about 70 characters ending in CR LF.
const std::u32string& TenMegabytes() {
    static const std::u32string text = [] {
        const std::u32string letters = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВ";
        std::mt19937 random(42);
        std::u32string s;
        s.reserve(kTextSize + 64);
        std::size_t lineLength = 0;
        while (s.size() < kTextSize) {
            const std::size_t length = 1 + random() % 12;
            for (std::size_t i = 0; i < length; ++i) s += letters[random() % letters.size()];
            const unsigned mark = random() % 10;
            if (mark == 0) s += U',';
            if (mark == 1) s += U'.';
            lineLength += length + 1;
            if (lineLength > 70) {
                s += U"\r\n";
                lineLength = 0;
            } else {
                s += U' ';
            }
        }
        s.resize(kTextSize);
        return s;
    }();
    return text;
}

void BM_NextGroup(benchmark::State& state, double where, ReadingOptions options) {
    const std::u32string& text = TenMegabytes();
    ReadingCursor prototype;
    ApplyTask(prototype, ChooseTask(ReadingTask::TaskFromCaret,
                                    {static_cast<std::size_t>(where * text.size()), 0}));
    NextGroup(text, prototype, options);  // the task's first step sets up the cursor
    for (auto _ : state) {
        ReadingCursor cursor = prototype;
        GroupStep step = NextGroup(text, cursor, options);
        benchmark::DoNotOptimize(step);
    }
}

ReadingOptions SeveralWords() {
    ReadingOptions options;
    options.severalWords = 1;
    options.thresholdChars = 20;
    return options;
}

BENCHMARK_CAPTURE(BM_NextGroup, start, 0.0, ReadingOptions{});
BENCHMARK_CAPTURE(BM_NextGroup, middle, 0.5, ReadingOptions{});
BENCHMARK_CAPTURE(BM_NextGroup, end, 0.999999, ReadingOptions{});
BENCHMARK_CAPTURE(BM_NextGroup, several_words_middle, 0.5, SeveralWords());

// The whole text read through once, for scale.
void BM_WholeSchedule(benchmark::State& state) {
    const std::u32string& text = TenMegabytes();
    for (auto _ : state) {
        ReadingCursor cursor;
        ApplyTask(cursor, ChooseTask(ReadingTask::TaskWholeText, {}));
        ReadingSchedule schedule = ScheduleReading(text, cursor, {});
        benchmark::DoNotOptimize(schedule);
    }
}
BENCHMARK(BM_WholeSchedule)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

namespace {

// The status pane's figures: the whole task's schedule (taken again when the
// speed or settings change) and the time left from the middle (every second
// while reading runs).
void BM_TaskTotals(benchmark::State& state) {
    const std::u32string& text = TenMegabytes();
    ReadingCursor cursor;
    ApplyTask(cursor, ChooseTask(ReadingTask::TaskWholeText, {}));
    for (auto _ : state) benchmark::DoNotOptimize(ScheduleTotals(text, cursor, {}));
}
BENCHMARK(BM_TaskTotals)->Unit(benchmark::kMillisecond);

void BM_TimeLeftFromTheMiddle(benchmark::State& state) {
    const std::u32string& text = TenMegabytes();
    ReadingCursor cursor;
    ApplyTask(cursor, ChooseTask(ReadingTask::TaskFromCaret, {text.size() / 2, 0}));
    NextGroup(text, cursor, {});
    ReadingTimer timer;
    timer.Start({});
    for (auto _ : state) benchmark::DoNotOptimize(ScheduledTimeLeft(text, cursor, timer, {}));
}
BENCHMARK(BM_TimeLeftFromTheMiddle)->Unit(benchmark::kMillisecond);

}  // namespace
