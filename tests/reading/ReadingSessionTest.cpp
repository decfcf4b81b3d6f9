#include "reading/ReadingSession.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reading/ReadingSchedule.h"

// The run as the window drives it, without a window: a clock in nanoseconds
// that the test moves, and the delays the session asks the timer for.

namespace {

constexpr std::int64_t kMs = 1'000'000;

// Runs a whole task with every step on time: the session must show the very
// groups, for the very periods, that the schedule of the rules gives.
TEST(ReadingSession, AnOnTimeRunFollowsTheSchedule) {
    struct Row {
        const char* name;
        std::u32string text;
        ReadingOptions options;
    };
    ReadingOptions several;
    several.severalWords = 1;
    ReadingOptions fast;
    fast.speedLevel = 50;
    fast.commaDelayLevel = 7;
    const Row rows[] = {
        {"one word", U"Hello, world. One two; three four: five.", {}},
        {"several words", U"Hello, world. One two; three four: five six seven eight.", several},
        {"fast with long delays", U"a, b. c d e, f.", fast},
        {"separators only", U" \r\n\t ", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReadingSession session;
        session.ChooseTask(ReadingTask::TaskWholeText, {});
        const ReadingSchedule schedule = ScheduleReading(row.text, session.Cursor(), row.options);

        std::int64_t now = 0;
        std::int32_t delay = session.Start(row.options, now);
        EXPECT_EQ(delay, ReadingTimer::kFirstTickMs);
        for (const ScheduledStep& expected : schedule.steps) {
            ASSERT_TRUE(session.IsReading());
            now += delay * kMs;
            const SessionStep step = session.Step(row.text, row.options, true, now);
            EXPECT_EQ(step.group.kind, expected.kind);
            EXPECT_EQ(step.group.text, expected.text);
            EXPECT_EQ(step.group.highlight, expected.highlight);
            EXPECT_EQ(step.delayMs, expected.shownMs);
            delay = step.delayMs;
        }
        EXPECT_FALSE(session.IsReading());
        EXPECT_EQ(session.Task(), ReadingTask::TaskNone);
        EXPECT_EQ(session.Cursor().position, schedule.cursor.position);
    }
}

// Each step is due at the start plus the periods so far: a late step gets a
// shorter wait, so the lateness never adds up, and after a stall longer than
// a period the run goes on from now instead of racing through what it missed.
TEST(ReadingSession, StepsAreArmedAgainstTheirDueTimes) {
    const std::u32string text = U"aaaaaa bbbbbb cccccc dddddd eeeeee";  // plain groups of 200 ms
    ReadingSession session;
    session.ChooseTask(ReadingTask::TaskWholeText, {});
    const std::int64_t start = 5'000 * kMs;
    ASSERT_EQ(session.Start({}, start), 150);
    struct Tick {
        std::int64_t atMs;  // since the start
        std::int32_t delayMs;
    };
    const Tick ticks[] = {
        {150, 200},  // on time
        {357, 193},  // 7 ms late: due at 550
        {550, 200},  // on time again
        {1400, 200},  // a stall far past 750: the next is due 200 ms from now
        {1600, 200},
    };
    for (const Tick& tick : ticks) {
        const SessionStep step = session.Step(text, {}, true, start + tick.atMs * kMs);
        EXPECT_EQ(step.delayMs, tick.delayMs) << "tick at " << tick.atMs;
    }
}

TEST(ReadingSession, WhatEndsARunAndWhatItLeaves) {
    const std::u32string text = U"one two three four";
    struct Row {
        const char* name;
        bool abort;
        bool paneHasHeight;
        StepKind kind;
        ReadingTask taskAfter;
    };
    const Row rows[] = {
        {"a right-click asks to abort", true, true, StepKind::StepAborted,
         ReadingTask::TaskWholeText},
        {"the pane has no height", false, false, StepKind::StepPlain, ReadingTask::TaskWholeText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReadingSession session;
        session.ChooseTask(ReadingTask::TaskWholeText, {});
        session.Start({}, 0);
        if (row.abort) session.AbortAtNextStep();
        const SessionStep step = session.Step(text, {}, row.paneHasHeight, 150 * kMs);
        EXPECT_EQ(step.group.kind, row.kind);
        EXPECT_EQ(step.delayMs, 0);
        EXPECT_FALSE(session.IsReading());
        EXPECT_EQ(session.PeriodMs(), 0);
        EXPECT_EQ(session.Task(), row.taskAfter);
    }

    // Stopping keeps the place: the next run goes on after the last group.
    ReadingSession session;
    session.ChooseTask(ReadingTask::TaskWholeText, {});
    session.Start({}, 0);
    EXPECT_EQ(session.Step(text, {}, true, 150 * kMs).group.text, U"one");
    session.Stop();
    session.Start({}, 0);
    EXPECT_EQ(session.Step(text, {}, true, 150 * kMs).group.text, U"two");
    // A new task starts afresh; a new text takes the whole of it.
    session.ChooseTask(ReadingTask::TaskFromCaret, {8, 8});
    EXPECT_EQ(session.Step(text, {}, true, 0).group.text, U"three");
    EXPECT_EQ(session.TextLoaded(0), ProgressAction::Reset);
    EXPECT_EQ(session.Task(), ReadingTask::TaskNone);
    EXPECT_EQ(session.TextLoaded(text.size()), ProgressAction::Reset);
    EXPECT_EQ(session.Task(), ReadingTask::TaskWholeText);
    EXPECT_EQ(session.DropTask(), ProgressAction::Reset);
    EXPECT_EQ(session.Task(), ReadingTask::TaskNone);
}

}  // namespace
