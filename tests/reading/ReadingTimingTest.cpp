#include "base/CodePage.h"
#include "reading/ReadingSchedule.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reading/ReadingIntervals.h"
#include "reading/ReadingTasks.h"
#include "reading/ReadingTimer.h"

// The timing figures are worked out by hand from the interval rules: base
// 1000 - 32 s up to level 25 and 350 - 6 s above, delay levels 3 and 5 by
// default (twice and three times the base), two thirds for a short group.

namespace {

ReadingCursor WholeText() {
    ReadingCursor cursor;
    ApplyTask(cursor, ChooseTask(ReadingTask::TaskWholeText, {}));
    return cursor;
}

TEST(ReadingIntervals, FollowTheSpeedAndDelayLevels) {
    struct Base {
        int level;
        int ms;
    };
    for (const Base& b :
         {Base{1, 968}, Base{10, 680}, Base{25, 200}, Base{26, 194}, Base{40, 110}, Base{50, 50},
          Base{0, 968}, Base{51, 50}, Base{-100000, 968}, Base{100000, 50}}) {
        EXPECT_EQ(BaseInterval(b.level), b.ms) << "level " << b.level;
    }
    struct Delay {
        int base;
        int level;
        int ms;
    };
    for (const Delay& d :
         {Delay{200, 0, 200}, Delay{200, 1, 300}, Delay{200, 2, 350}, Delay{200, 3, 400},
          Delay{200, 4, 500}, Delay{200, 5, 600}, Delay{200, 6, 700}, Delay{200, 7, 800},
          Delay{200, 8, 200}, Delay{200, -1, 200}, Delay{194, 1, 291}, Delay{194, 2, 339},
          Delay{194, 4, 485}, Delay{194, 6, 679}, Delay{50, 2, 87}}) {
        EXPECT_EQ(DelayForLevel(d.base, d.level), d.ms) << d.base << " at level " << d.level;
    }
    EXPECT_EQ(ComputeIntervals(ReadingOptions{}), (ReadingIntervals{200, 400, 600}));
    struct Limit {
        int severalWords;
        int threshold;
        int limit;
    };
    for (const Limit& l : {Limit{0, 20, 6}, Limit{1, 10, 6}, Limit{1, 20, 15}, Limit{1, 5, 3},
                           Limit{1, 7, 3}, Limit{2, 20, 6}}) {
        ReadingOptions options;
        options.severalWords = l.severalWords;
        options.thresholdChars = l.threshold;
        EXPECT_EQ(ShortGroupLimit(options), l.limit) << l.severalWords << "/" << l.threshold;
    }
    const ReadingIntervals at25{200, 400, 600};
    EXPECT_EQ(GroupInterval(StepKind::StepPlain, 5, at25, 6), 132);
    EXPECT_EQ(GroupInterval(StepKind::StepPlain, 6, at25, 6), 200);
    EXPECT_EQ(GroupInterval(StepKind::StepComma, 0, at25, 6), 266);
    EXPECT_EQ(GroupInterval(StepKind::StepStop, 129, at25, 6), 600);
    EXPECT_EQ(GroupInterval(StepKind::StepEnd, 0, at25, 6), 0);
}

struct Shown {
    StepKind kind;
    std::u32string text;
    std::int64_t atMs;
    std::int32_t intervalMs;
    TimerAction timer;
    std::int32_t shownMs;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
    *os << static_cast<int>(s.kind) << " \"" << ToUtf8(s.text) << "\" at " << s.atMs << " interval "
        << s.intervalMs << " timer " << static_cast<int>(s.timer) << " shown " << s.shownMs;
}

std::vector<Shown> Timeline(const ReadingSchedule& schedule) {
    std::vector<Shown> shown;
    for (const ScheduledStep& s : schedule.steps) {
        shown.push_back({s.kind, s.text, s.atMs, s.intervalMs, s.timer, s.shownMs});
    }
    return shown;
}

constexpr auto kRearm = TimerAction::Rearm;
constexpr auto kKeep = TimerAction::KeepPeriod;
constexpr auto kDone = TimerAction::StopTaskDone;
constexpr auto kPlain = StepKind::StepPlain;
constexpr auto kComma = StepKind::StepComma;
constexpr auto kStop = StepKind::StepStop;
constexpr auto kEnd = StepKind::StepEnd;

// A group of the same kind as the one before keeps the running period, so
// what it is shown for can differ from its own interval both ways.
TEST(ReadingSchedule, ShowsEachGroupForThePeriodTheTimerRunsWith) {
    ReadingOptions several;
    several.severalWords = 1;
    several.thresholdChars = 10;
    struct Row {
        const char* name;
        std::u32string text;
        ReadingOptions options;
        std::vector<Shown> timeline;
    };
    const Row rows[] = {
        {"Hello, world.",
         U"Hello, world.",
         {},
         {{kComma, U"Hello,", 150, 400, kRearm, 400},
          {kPlain, U"world.", 550, 200, kRearm, 200},
          {kEnd, U"", 750, 0, kDone, 0}}},
        {"a short group after another kind gets two thirds",
         U"Hello, a",
         {},
         {{kComma, U"Hello,", 150, 400, kRearm, 400},
          {kPlain, U"a", 550, 132, kRearm, 132},
          {kEnd, U"", 682, 0, kDone, 0}}},
        {"a long group after a short one of its kind inherits two thirds",
         U"Hi longer words.",
         {},
         {{kPlain, U"Hi", 150, 132, kRearm, 132},
          {kPlain, U"longer", 282, 200, kKeep, 132},
          {kPlain, U"words.", 414, 200, kKeep, 132},
          {kEnd, U"", 546, 0, kDone, 0}}},
        {"a short group after a long one of its kind keeps the full period",
         U"longer a, b. c",
         {},
         {{kPlain, U"longer", 150, 200, kRearm, 200},
          {kComma, U"a,", 350, 266, kRearm, 266},
          {kStop, U"b.", 616, 400, kRearm, 400},
          {kPlain, U"c", 1016, 132, kRearm, 132},
          {kEnd, U"", 1148, 0, kDone, 0}}},
        {"several words, threshold 10",
         U"one two three four.",
         several,
         {{kPlain, U"one two three", 150, 200, kRearm, 200},
          {kPlain, U"four.", 350, 132, kKeep, 200},
          {kEnd, U"", 550, 0, kDone, 0}}},
        {"only separators: an empty pane for one step",
         U" \r\n ",
         {},
         {{kPlain, U"", 150, 132, kRearm, 132}, {kEnd, U"", 282, 0, kDone, 0}}},
        {"an empty range ends at the first tick", U"", {}, {{kEnd, U"", 150, 0, kDone, 0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ReadingSchedule schedule = ScheduleReading(row.text, WholeText(), row.options);
        EXPECT_EQ(Timeline(schedule), row.timeline);
        EXPECT_EQ(schedule.steps.back().progress, ProgressAction::SetFull);
    }
}

TEST(ReadingSchedule, CarriesHighlightAndProgressAndResumes) {
    const std::u32string text = U"Hello, world.";
    const ReadingSchedule full = ScheduleReading(text, WholeText(), {});
    ASSERT_EQ(full.steps.size(), 3u);
    EXPECT_EQ(full.steps[0].highlight, (TextRange{0, 6}));
    EXPECT_EQ(full.steps[1].highlight, (TextRange{7, 13}));
    EXPECT_EQ(full.steps[0].progress, ProgressAction::AdvanceOne);
    EXPECT_EQ(full.cursor.position, text.size());

    // Stopped after the first group: the next run starts with the second,
    // and the timer is armed afresh for it.
    ReadingCursor cursor = WholeText();
    NextGroup(text, cursor, {});
    const ReadingSchedule resumed = ScheduleReading(text, cursor, {});
    ASSERT_EQ(resumed.steps.size(), 2u);
    EXPECT_EQ(resumed.steps[0].text, U"world.");
    EXPECT_EQ(resumed.steps[0].atMs, 150);
    EXPECT_EQ(resumed.steps[0].timer, TimerAction::Rearm);

    // A right-click during the run: the next step stops it, nothing moves.
    cursor.abort = true;
    const ReadingSchedule aborted = ScheduleReading(text, cursor, {});
    ASSERT_EQ(aborted.steps.size(), 1u);
    EXPECT_EQ(aborted.steps[0].kind, StepKind::StepAborted);
    EXPECT_EQ(aborted.steps[0].timer, TimerAction::Stop);
    cursor.abort = false;
    EXPECT_EQ(aborted.cursor, cursor);
}

// A new speed times the very next group, even one of the kind before it, as
// in a text without commas or full stops.
TEST(ReadingTimer, TakesANewSpeedAtTheNextGroup) {
    const std::u32string text = U"aaaaaaa bbbbbbb ccccccc ddddddd, eeeeeee fffffff";
    // The speed level the control shows when each step runs.
    const std::int32_t levels[] = {25, 50, 50, 50, 1, 1, 1};
    ReadingCursor cursor = WholeText();
    ReadingOptions options;
    ReadingTimer timer;
    EXPECT_EQ(timer.Start(options), ReadingTimer::kFirstTickMs);
    std::vector<TimerStep> timings;
    for (const std::int32_t level : levels) {
        options.speedLevel = level;
        const GroupStep step = NextGroup(text, cursor, options);
        timings.push_back(timer.OnStep(step.kind, step.text.size(), options));
        if (!timer.Running()) break;
    }
    const std::vector<TimerStep> expected = {
        {TimerAction::Rearm, 200},       // aaaaaaa at level 25
        {TimerAction::Rearm, 50},        // bbbbbbb at the new level 50
        {TimerAction::KeepPeriod, 50},   // ccccccc
        {TimerAction::Rearm, 100},       // ddddddd, twice the base of 50
        {TimerAction::Rearm, 968},       // eeeeeee, level 1
        {TimerAction::KeepPeriod, 968},  // fffffff
        {TimerAction::StopTaskDone, 0},
    };
    EXPECT_EQ(timings, expected);
}

TEST(ReadingTimer, StopsWithoutHeightOrOnAbortAndRearmsAfterAStart) {
    ReadingTimer timer;
    const ReadingOptions options;
    timer.Start(options);
    EXPECT_EQ(timer.OnStep(StepKind::StepPlain, 10, options), (TimerStep{TimerAction::Rearm, 200}));
    EXPECT_EQ(timer.OnStep(StepKind::StepPlain, 10, options, false),
              (TimerStep{TimerAction::Stop, 0}));
    EXPECT_FALSE(timer.Running());
    // A new run re-arms even for the kind the last run ended with.
    timer.Start(options);
    EXPECT_EQ(timer.OnStep(StepKind::StepPlain, 10, options), (TimerStep{TimerAction::Rearm, 200}));
    EXPECT_EQ(timer.OnStep(StepKind::StepAborted, 0, options), (TimerStep{TimerAction::Stop, 0}));
}

}  // namespace
