#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestText.h"
#include "base/CodePage.h"
#include "reading/FocusLetter.h"
#include "reading/GroupCutter.h"
#include "reading/ReadingIntervals.h"
#include "reading/ReadingSchedule.h"
#include "reading/ReadingSession.h"
#include "reading/ReadingTasks.h"
#include "reading/ReadingTimer.h"

// Groups and timings worked out by hand: base interval 1000 - 32 s up to level 25, 350 - 6 s
// above; delay levels 3 and 5 by default (twice and three times the base); two thirds when short.

namespace {

constexpr std::int64_t kMs = 1'000'000;
constexpr StepKind kPlain = StepKind::StepPlain, kComma = StepKind::StepComma,
                   kStop = StepKind::StepStop, kEnd = StepKind::StepEnd;

std::string KindName(StepKind kind) { return std::string(1, "aepcs"[static_cast<int>(kind) / 10]); }

// "text/kind start-end" for each group, the highlight left out when none.
std::string Describe(const std::vector<GroupStep>& steps) {
    std::string out;
    for (const GroupStep& s : steps)
        if (s.kind != kEnd)
            out += (out.empty() ? "" : " | ") + ToUtf8(s.text) + "/" + KindName(s.kind) +
                   (s.highlight ? " " + std::to_string(s.highlight->start) + "-" +
                                      std::to_string(s.highlight->end)
                                : "");
    return out;
}

ReadingCursor Task(ReadingTask task = ReadingTask::TaskWholeText, TextRange selection = {}) {
    ReadingCursor cursor;
    cursor.newTask = false;  // a task chosen must ask for its range again
    ApplyTask(cursor, ChooseTask(task, selection));
    return cursor;
}
ReadingOptions Several(int threshold = 10) {
    ReadingOptions options;
    options.severalWords = 1;
    options.thresholdChars = threshold;
    return options;
}

// Every step of a run up to and including the one that ends it.
std::vector<GroupStep> RunToEnd(std::u32string_view text, ReadingCursor cursor,
                                const ReadingOptions& options) {
    std::vector<GroupStep> steps;
    do steps.push_back(NextGroup(text, cursor, options));
    while (steps.size() < 100000 && steps.back().kind != kEnd &&
           steps.back().kind != StepKind::StepAborted);
    return steps;
}

TEST(GroupCutter, CutsGroups) {
    const std::string w129(129, 'w'), q128(128, 'q'), q129(129, 'q'),
        z129 = ToUtf8(std::u32string(129, U'字'));
    // clang-format off
    const std::tuple<std::u32string, ReadingCursor, ReadingOptions, std::string> rows[] = {
        {U"Hello, world.", Task(), {}, "Hello,/c 0-6 | world./p 7-13"},  // the last word plain despite its stop
        // A mark counts only with a separator after it; only space, tab, CR and LF separate.
        {U"a: b; c? d! e. f.g h", Task(), {}, "a:/c 0-2 | b;/s 3-5 | c?/s 6-8 | d!/s 9-11 | e./s 12-14 | f.g/p 15-18 | h/p 19-20"},
        {U" \t\r\nx\x01y\xA0z\r\n\tend", Task(), {}, "x\x01y\u00A0z/p 4-9 | end/p 12-15"},
        // Several words up to the threshold, the last one completed, or to a mark; tabs and breaks become spaces.
        {U"one two three four.", Task(), Several(), "one two three/p 0-13 | four./p 14-19"},
        {U"a\tb\r\nc, d e", Task(), Several(), "a b  c,/c 0-7 | d e/p 8-11"},
        {U"one two", Task(), ReadingOptions{25, 3, 5, 2, 10}, "one/p 0-3 | two/p 4-7"},  // mode 2 is one word
        // A long word in pieces of 129; the highlight misses the 129th letter.
        {std::u32string(300, 'w'), Task(), {}, w129 + "/p 0-128 | " + w129 + "/p 129-257 | " + std::string(42, 'w') + "/p 258-300"},
        {std::u32string(300, U'字'), Task(), {}, z129 + "/p 0-128 | " + z129 + "/p 129-257 | " + ToUtf8(std::u32string(42, U'字')) + "/p 258-300"},
        {FromUtf8(q128 + " x"), Task(), {}, q128 + "/p 0-128 | x/p 129-130"},
        {FromUtf8(q129 + " x"), Task(), {}, q129 + "/p 0-128 | x/p 130-131"},
        // An empty group leaves the selection alone; a range ending after a stop highlights the separator; zero bytes are passed over.
        {U"  \r\n\t ", Task(), {}, "/p"}, {U"word   ", Task(), {}, "word/p 0-4 | /p"}, {U"Hi. you", Task(ReadingTask::TaskSelection, {0, 4}), {}, "Hi./s 0-4"},
        {U"reading words", Task(ReadingTask::TaskFromCaret, {3, 3}), {}, "ding/p 3-7 | words/p 8-13"}, {std::u32string(U"ab\0cd,\0 ef", 10), Task(), {}, "abcd,/c 0-7 | ef/p 8-10"},
        {U"ab", Task(ReadingTask::TaskSelection, {0, 50}), {}, "ab/p 0-2"}, {U"some text", Task(ReadingTask::TaskSelection, {0, 0}), {}, ""}, {U"some text", Task(ReadingTask::TaskToCaret, {0, 0}), {}, ""}, {U"", Task(), {}, ""},
        // Sentence and clause marks of other scripts; a mark before a letter ends nothing.
        {U"終わり。 はい！ いいえ？ لماذا؟ x‼ y", Task(), {}, "終わり。/s 0-4 | はい！/s 5-8 | いいえ？/s 9-13 | لماذا؟/s 14-20 | x‼/s 21-23 | y/p 24-25"},
        {U"a、 b， c； d، e", Task(), {}, "a、/c 0-2 | b，/c 3-5 | c；/c 6-8 | d،/c 9-11 | e/p 12-13"},
        // The code page's marks are letters; Unicode white space separates.
        {U"文。文", Task(), {}, "文。文/p 0-3"}, {U"так… — вот", Task(), {}, "так…/p 0-4 | —/p 5-6 | вот/p 7-10"},
        {U"日本\u3000語\u2003x", Task(), Several(), "日本 語 x/p 0-6"}, {U"a\U0001F600b c", Task(), {}, "a\U0001F600b/p 0-3 | c/p 4-5"},
    };
    // clang-format on
    for (const auto& [text, cursor, options, groups] : rows) {
        SCOPED_TRACE(ToUtf8(text));
        const std::vector<GroupStep> steps = RunToEnd(text, cursor, options);
        EXPECT_EQ(Describe(steps), groups);
        EXPECT_TRUE(steps.back().kind == kEnd && steps.back().progress == ProgressAction::SetFull);
    }
}

// The progress bar: a step is the range / 40, at most one advance per step, full at the end.
TEST(GroupCutter, MovesTheProgressBar) {
    std::u32string fours, longs, tenTimes;
    for (int i = 0; i < 80; ++i) fours += U"abcd ";
    for (int i = 0; i < 16; ++i) longs += std::u32string(24, 'x') + U" ";
    for (int i = 0; i < 39; ++i) tenTimes += U"+.";
    // 400 characters: once every 10; 25-character steps lag, never two at once; shorter than 40:
    // every step.
    const std::pair<std::u32string, std::u32string> rows[] = {
        {fours, U".." + tenTimes}, {longs, U"." + std::u32string(15, '+')}, {U"a b c", U"+++"}};
    for (const auto& [text, expected] : rows) {
        const std::vector<GroupStep> steps = RunToEnd(text, Task(), {});
        std::u32string advances;
        for (std::size_t i = 0; i + 1 < steps.size(); ++i)
            advances += steps[i].progress == ProgressAction::AdvanceOne ? '+'
                        : steps[i].progress == ProgressAction::None     ? '.'
                                                                        : '?';
        EXPECT_EQ(advances, expected);
    }
}

// Over random texts: every character but separators and zero bytes lands in one group, in order; no
// group is longer than 129; every step moves on; the cut that only measures a group moves its
// cursor alike.
TEST(GroupCutter, KeepsEveryCharacterOnce) {
    std::mt19937 random(2025);
    const std::u32string alphabet =
        std::u32string(U"ab.,;:!? \t\r\n\u0410\u044F\u00A0\u3002\u3001\u3000\U0001F600") + U'\0';
    for (int round = 0; round < 3000; ++round) {
        std::u32string text, expected, read;
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i)
            text.append(random() % 50 == 0 ? 140 : 1, alphabet[random() % alphabet.size()]);
        ReadingOptions options;
        options.severalWords = static_cast<int>(random() % 2);
        options.thresholdChars = static_cast<int>(random() % 200);
        SCOPED_TRACE("round " + std::to_string(round));
        for (char32_t c : text)
            if (!IsSeparator(c) && c != '\0') expected += c;
        ReadingCursor cursor = Task(), measuring = Task();
        for (std::size_t steps = 0, previous = 0;; ++steps) {
            ASSERT_LE(steps, text.size() + 1);
            const GroupStep step = NextGroup(text, cursor, options);
            const GroupShape shape = NextGroupShape(text, measuring, options);
            ASSERT_TRUE(shape.kind == step.kind && shape.length == step.text.size() &&
                        measuring == cursor);
            if (step.kind == kEnd) break;
            ASSERT_GT(cursor.position, previous);
            previous = cursor.position;
            ASSERT_LE(step.text.size(), kMaxGroupLength);
            ASSERT_EQ(step.highlight.has_value(), !step.text.empty());
            if (step.highlight) {
                ASSERT_TRUE(step.highlight->start < step.highlight->end &&
                            step.highlight->end <= text.size() &&
                            text[step.highlight->start] == step.text[0]);
            }
            for (char32_t c : step.text)
                if (c != ' ') read += c;
        }
        EXPECT_EQ(read, expected);
    }
}

TEST(ReadingTasks, TurnTheSelectionIntoARange) {
    using enum ReadingTask;
    // The whole text puts the caret at the start; from the caret starts at the selection's start.
    const std::pair<ReadingTask, TaskChoice> rows[] = {
        {TaskWholeText, {TaskWholeText, 0, std::nullopt, {0, 0}, true}},
        {TaskFromCaret, {TaskFromCaret, 5, std::nullopt, {5, 9}, true}},
        {TaskToCaret, {TaskToCaret, 0, 5, {5, 9}, true}},
        {TaskSelection, {TaskSelection, 5, 9, {5, 9}, false}},
        {TaskChapter, {TaskChapter, 5, 9, {5, 5}, true}},
        {TaskNone, {TaskNone, 0, std::nullopt, {5, 9}, false}}};
    for (const auto& [task, choice] : rows) {
        EXPECT_EQ(ChooseTask(task, {5, 9}), choice);
        ReadingCursor cursor;
        cursor.newTask = false;
        EXPECT_TRUE(ApplyTask(cursor, choice) == ProgressAction::Reset && cursor.newTask);
    }
}

TEST(ReadingIntervals, FollowTheSpeedAndDelayLevels) {
    const int bases[][2] = {{1, 968}, {10, 680}, {25, 200}, {26, 194},      {40, 110},
                            {50, 50}, {0, 968},  {51, 50},  {-100000, 968}, {100000, 50}};
    for (const auto& [level, ms] : bases) EXPECT_EQ(BaseInterval(level), ms) << "level " << level;
    const int delays[][3] = {{200, 0, 200}, {200, 1, 300}, {200, 2, 350},  {200, 4, 500},
                             {200, 7, 800}, {200, 8, 200}, {200, -1, 200}, {194, 1, 291},
                             {194, 2, 339}, {50, 2, 87}};
    for (const auto& [base, level, ms] : delays)
        EXPECT_EQ(DelayForLevel(base, level), ms) << base << " at level " << level;
    EXPECT_EQ(ComputeIntervals(ReadingOptions{}), (ReadingIntervals{200, 400, 600}));
    // Several words (0, 1, 2) with a threshold: the longest group that counts as short.
    const int limits[][3] = {{0, 20, 6}, {1, 10, 6}, {1, 20, 15}, {1, 5, 3}, {1, 7, 3}, {2, 20, 6}};
    for (const auto& [several, threshold, limit] : limits) {
        ReadingOptions options = Several(threshold);
        options.severalWords = several;
        EXPECT_EQ(ShortGroupLimit(options), limit) << several << "/" << threshold;
    }
    const ReadingIntervals at25{200, 400, 600};
    const std::tuple<StepKind, int, int> intervals[] = {
        {kPlain, 5, 132}, {kPlain, 6, 200}, {kComma, 0, 266}, {kStop, 129, 600}, {kEnd, 0, 0}};
    for (const auto& [kind, length, ms] : intervals)
        EXPECT_EQ(GroupInterval(kind, length, at25, 6), ms) << length;
}

// A group of the kind before it keeps the running period, so it may be shown for more or less than
// its own interval.
TEST(ReadingSchedule, ShowsEachGroupForThePeriodTheTimerRunsWith) {
    // "text/kind at interval, R(e-armed) K(ept) D(one), shown for".
    // clang-format off
    const std::tuple<std::u32string, ReadingOptions, std::string> rows[] = {
        {U"Hello, world.", {}, "Hello,/c 150 400R400 | world./p 550 200R200 | /e 750 0D0"},
        {U"Hello, a", {}, "Hello,/c 150 400R400 | a/p 550 132R132 | /e 682 0D0"},  // short after another kind: two thirds
        // Long groups after a short one of their kind inherit its two thirds.
        {U"Hi longer words.", {}, "Hi/p 150 132R132 | longer/p 282 200K132 | words./p 414 200K132 | /e 546 0D0"},
        {U"longer a, b. c", {}, "longer/p 150 200R200 | a,/c 350 266R266 | b./s 616 400R400 | c/p 1016 132R132 | /e 1148 0D0"},
        {U"one two three four.", Several(), "one two three/p 150 200R200 | four./p 350 132K200 | /e 550 0D0"},
        {U" \r\n ", {}, "/p 150 132R132 | /e 282 0D0"},
        {U"", {}, "/e 150 0D0"},
    };
    // clang-format on
    for (const auto& [text, options, timeline] : rows) {
        const ReadingSchedule schedule = ScheduleReading(text, Task(), options);
        std::string shown;
        for (const ScheduledStep& s : schedule.steps)
            shown += (shown.empty() ? "" : " | ") + ToUtf8(s.text) + "/" + KindName(s.kind) + " " +
                     std::to_string(s.atMs) + " " + std::to_string(s.intervalMs) +
                     "KRSD"[static_cast<int>(s.timer)] + std::to_string(s.shownMs);
        EXPECT_EQ(shown, timeline);
        EXPECT_EQ(schedule.steps.back().progress, ProgressAction::SetFull);
    }
}

// A new speed times the very next group, even one of the kind before it.
TEST(ReadingTimer, TakesANewSpeedAtTheNextGroupAndStops) {
    const std::u32string text = U"aaaaaaa bbbbbbb ccccccc ddddddd, eeeeeee fffffff";
    ReadingCursor cursor = Task();
    ReadingOptions options;
    ReadingTimer timer;
    EXPECT_EQ(timer.Start(options), ReadingTimer::kFirstTickMs);
    std::string timings;
    for (const std::int32_t level : {25, 50, 50, 50, 1, 1, 1}) {
        options.speedLevel = level;
        const GroupStep step = NextGroup(text, cursor, options);
        const TimerStep timing = timer.OnStep(step.kind, step.text.size(), options);
        timings += "KRSD"[static_cast<int>(timing.action)] + std::to_string(timing.periodMs) + " ";
    }
    // Re-armed for the new level 50, twice the base for the comma, level 1 at once.
    EXPECT_TRUE(timings == "R200 R50 K50 R100 R968 K968 D0 " && !timer.Running());
}

// A session that steps exactly when each step is due.
struct TimedRun {
    std::u32string text;
    ReadingOptions options;
    ReadingSession session;
    std::int64_t now = 0;
    TimedRun(std::u32string t, ReadingOptions o, ReadingTask task = ReadingTask::TaskWholeText,
             TextRange selection = {})
        : text(std::move(t)), options(o) {
        session.TextLoaded(text.size());
        if (task != ReadingTask::TaskWholeText) session.ChooseTask(task, selection);
        now = session.Start(options, 0) * kMs;
    }
    SessionStep Step() { return Timed(session.Step(text, options, true, now)); }
    SessionStep Move(ReadingMove move) {
        return Timed(session.Move(move, text, options, true, now));
    }
    // The clock moves on to when the step is due.
    SessionStep Timed(SessionStep step) {
        now += step.delayMs * kMs;
        return step;
    }
};

// An on-time run shows the schedule's groups for its periods; the time left is the rest of the
// schedule at every group and half way through one.
TEST(ReadingSession, AnOnTimeRunFollowsTheScheduleAndItsEstimate) {
    ReadingOptions fast, slow = Several(20);
    fast.speedLevel = 50;
    fast.commaDelayLevel = 7;
    slow.speedLevel = 3;
    const std::pair<std::u32string, ReadingOptions> rows[] = {
        {U"Hello, dear world. A cat sat; then: a dog ran! End", {}},
        {U"Hello, dear world. A cat sat on the mat; then: a dog ran away quickly! End", Several()},
        {U"a, b. c d e, f g h i j, k.", fast},
        {U"Extraordinary circumstances, notwithstanding. Yes", slow},
        {U" \r\n\t ", {}}};
    for (const auto& [text, options] : rows) {
        SCOPED_TRACE(ToUtf8(text));
        const std::vector<ScheduledStep> schedule = ScheduleReading(text, Task(), options).steps;
        std::vector<std::int64_t> left(schedule.size() + 1, 0);
        for (std::size_t i = schedule.size(); i-- > 0;) left[i] = left[i + 1] + schedule[i].shownMs;
        TimedRun run(text, options);
        EXPECT_EQ(run.now, ReadingTimer::kFirstTickMs * kMs);
        const auto estimate = run.session.Estimate(text, options, 0);
        ASSERT_TRUE(estimate);
        EXPECT_EQ(std::pair(estimate->taskMs, estimate->leftMs), std::pair(left[0], left[0] + 150));
        for (std::size_t i = 0; i < schedule.size(); ++i) {
            ASSERT_TRUE(run.session.IsReading());
            std::vector<std::u32string> upcoming;
            for (std::size_t j = i; j < schedule.size() && upcoming.size() < 3 &&
                                    schedule[j].kind != StepKind::StepEnd;
                 ++j)
                upcoming.push_back(schedule[j].text);
            EXPECT_EQ(run.session.UpcomingTexts(text, options, 3), upcoming) << i;
            const SessionStep step = run.Step();
            EXPECT_TRUE(step.group.kind == schedule[i].kind &&
                        step.group.text == schedule[i].text &&
                        step.group.highlight == schedule[i].highlight &&
                        step.delayMs == schedule[i].shownMs)
                << i;
            if (i + 1 == schedule.size()) break;
            const std::int64_t shown = schedule[i].shownMs, half = shown / 2;
            EXPECT_EQ(run.session.Estimate(text, options, run.now - shown * kMs)->leftMs, left[i])
                << i;
            EXPECT_EQ(run.session.Estimate(text, options, run.now - (shown - half) * kMs)->leftMs,
                      left[i] - half)
                << i;
        }
        EXPECT_TRUE(!run.session.IsReading() && run.session.Task() == ReadingTask::TaskNone &&
                    !run.session.Estimate(text, options, run.now));
    }
}

// The estimate taken a group at a time, with steps of the run between the slices, comes to what
// one walk gives.
TEST(ReadingSession, AnEstimateWalkedInSlicesEqualsOneWalk) {
    const std::u32string text = U"Hello, dear world. A cat sat on the mat; then: a dog ran! End";
    TimedRun sliced(text, Several()), whole(text, Several());
    sliced.Step();
    whole.Step();
    int slices = 0;
    for (; !sliced.session.PrepareEstimate(text, sliced.options, 1); ++slices) {
        if (slices < 2) sliced.Step(), whole.Step();
    }
    EXPECT_GT(slices, 4);
    EXPECT_EQ(sliced.session.Estimate(text, sliced.options, sliced.now),
              whole.session.Estimate(text, whole.options, whole.now));
}

TEST(ReadingSession, RateCountsWordsOverTheTaskTime) {
    // Five words of six letters at level 25, 200 ms each: 300 words a minute.
    TimedRun run(U"golden bridge crossed rivers slowly.", {});
    auto estimate = run.session.Estimate(run.text, run.options, 0);
    EXPECT_EQ(std::tuple(estimate->words, estimate->taskMs, estimate->WordsPerMinute(),
                         estimate->SecondsLeft()),
              std::tuple(5, 1000, 300, 2));
    run.options.speedLevel = 50;
    estimate = run.session.Estimate(run.text, run.options, 0);
    EXPECT_EQ(std::tuple(estimate->taskMs, estimate->WordsPerMinute()), std::tuple(250, 1200));
    EXPECT_EQ((ReadingEstimate{1, 60'000, 59'000, {}}).SecondsLeft(), 59);
    EXPECT_EQ((ReadingEstimate{1, 60'000, 59'001, {}}).SecondsLeft(), 60);
    EXPECT_EQ((ReadingEstimate{0, 0, 0, {}}).SecondsLeft() +
                  (ReadingEstimate{0, 0, 0, {}}).WordsPerMinute(),
              0);
    // Stopped after two words: a start now reads the other three.
    run.Step();
    run.Step();
    run.session.Stop();
    EXPECT_EQ(run.session.Estimate(run.text, run.options, run.now)->leftMs, 150);
}

// A late step gets a shorter wait, so lateness never adds up; after a stall longer than a period
// the run goes on from now.
TEST(ReadingSession, StepsAreArmedAgainstTheirDueTimes) {
    const std::u32string text = U"aaaaaa bbbbbb cccccc dddddd eeeeee";
    ReadingSession session;
    session.ChooseTask(ReadingTask::TaskWholeText, {});
    const std::int64_t start = 5'000 * kMs;
    ASSERT_EQ(session.Start({}, start), 150);
    for (const auto& [atMs, delayMs] : std::vector<std::pair<std::int64_t, int>>{
             {150, 200}, {357, 193}, {550, 200}, {1400, 200}, {1600, 200}})
        EXPECT_EQ(session.Step(text, {}, true, start + atMs * kMs).delayMs, delayMs)
            << "tick at " << atMs;
}

TEST(ReadingSession, WhatEndsARunAndWhatItLeaves) {
    const std::u32string text = U"one two three four";
    for (const bool abort : {true, false}) {  // a right-click, or a pane without height
        ReadingSession session;
        session.ChooseTask(ReadingTask::TaskWholeText, {});
        session.Start({}, 0);
        if (abort) session.AbortAtNextStep();
        const SessionStep step = session.Step(text, {}, abort, 150 * kMs);
        EXPECT_EQ(step.group.kind, abort ? StepKind::StepAborted : kPlain);
        EXPECT_TRUE(step.delayMs == 0 && !session.IsReading() && session.PeriodMs() == 0 &&
                    session.Task() == ReadingTask::TaskWholeText);
    }
    // Stopping keeps the place; a new task starts afresh; a new text takes the whole.
    TimedRun run(text, {});
    ReadingSession& session = run.session;
    EXPECT_EQ(run.Step().group.text, U"one");
    session.Stop();
    session.Start({}, 0);
    EXPECT_EQ(session.Step(text, {}, true, 150 * kMs).group.text, U"two");
    session.ChooseTask(ReadingTask::TaskWholeText, {9, 9});
    EXPECT_EQ(session.Step(text, {}, true, 0).group.text, U"one");
    session.ChooseTask(ReadingTask::TaskFromCaret, {8, 8});
    EXPECT_EQ(session.Step(text, {}, true, 0).group.text, U"three");
    EXPECT_TRUE(session.TextLoaded(0) == ProgressAction::Reset &&
                session.Task() == ReadingTask::TaskNone);
    EXPECT_TRUE(session.TextLoaded(text.size()) == ProgressAction::Reset &&
                session.Task() == ReadingTask::TaskWholeText);
    EXPECT_TRUE(session.DropTask() == ProgressAction::Reset &&
                session.Task() == ReadingTask::TaskNone);
}

TEST(ReadingMoves, GoBackAndForwardByGroupAndSentenceWithinTheTask) {
    const std::u32string text = U"Aa bb, cc dd. Ee ff gg hh. Ii jj";
    // Groups shown, then < > a group back or forward, [ ] a sentence, and the group shown at once
    // after it; none when the move ends the run. The selection task is "dd. Ee ff gg hh.", [10,
    // 26).
    // clang-format off
    const std::tuple<bool, ReadingTask, std::vector<std::string>> tables[] = {
        {false, ReadingTask::TaskWholeText, {"3<bb,", "5<dd.", "1<Aa", "0<Aa", "2>cc", "0>bb,", "10>", "7[Ee", "5[Aa", "2[Aa", "2]Ee", "8]Ii", "9]"}},
        {true, ReadingTask::TaskWholeText, {"3<cc dd.", "2<Aa bb,", "4<Ee ff gg hh.", "4[Ee ff gg hh.", "1]Ee ff gg hh."}},
        {false, ReadingTask::TaskSelection, {"2[dd.", "1<dd.", "3]", "5>"}}};
    // clang-format on
    for (const auto& [several, task, rows] : tables)
        for (const std::string& row : rows) {
            SCOPED_TRACE(testing::Message()
                         << several << " " << static_cast<int>(task) << " " << row);
            TimedRun run(text, several ? Several() : ReadingOptions{}, task, {10, 26});
            std::size_t at = 0;
            for (int i = std::stoi(row, &at); i > 0; --i) ASSERT_TRUE(run.Step().group.ShowsText());
            const SessionStep moved =
                run.Move(static_cast<ReadingMove>(std::string_view("<>[]").find(row[at])));
            const std::u32string shown = FromUtf8(row.substr(at + 1));
            if (shown.empty()) {
                EXPECT_TRUE(moved.group.kind == kEnd && !run.session.IsReading() &&
                            run.session.Task() == ReadingTask::TaskNone);
                continue;
            }
            ASSERT_TRUE(moved.group.text == shown && moved.group.highlight);
            EXPECT_TRUE(text.substr(moved.group.highlight->start, 2) == shown.substr(0, 2) &&
                        run.session.IsReading());
            // Reading goes on from there as if it had got there by itself.
            ReadingCursor after = run.session.Cursor();
            EXPECT_EQ(run.Step().group.text, NextGroup(text, after, run.options).text);
        }
}

TEST(ReadingMoves, TheProgressBarFollowsAMove) {
    std::u32string text;
    for (int i = 0; i < 100; ++i)
        text += U"word" + std::u32string(1, U'0' + i % 10) + (i % 10 == 9 ? U". " : U" ");
    TimedRun run(text, {});
    for (int i = 0; i < 50; ++i) run.Step();
    const std::int64_t left = run.session.Estimate(text, {}, run.now)->leftMs;
    SessionStep moved = run.Move(ReadingMove::PreviousSentence);
    // Nine groups back: the time left grows by them, counted afresh.
    EXPECT_GT(run.session.Estimate(text, {}, run.now)->leftMs, left + 8 * 132);
    ASSERT_TRUE(moved.progressPosition && moved.group.text == U"word0");
    const int atSentence = *moved.progressPosition;
    EXPECT_EQ(atSentence, static_cast<int>(moved.group.highlight->start / (text.size() / 40)));
    EXPECT_EQ(moved.group.progress,
              ProgressAction::None);  // the next advance at the next mark, not at once
    EXPECT_LT(*run.Move(ReadingMove::PreviousSentence).progressPosition, atSentence);
    EXPECT_EQ(*run.Move(ReadingMove::NextSentence).progressPosition, atSentence);
}

TEST(FocusLetter, SitsAboutAThirdIntoTheWordAndPinsItAsFarAsTheWordFits) {
    const int expected[21] = {0, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5};
    for (std::size_t length = 1; length <= 20; ++length)
        EXPECT_EQ(RecognitionLetter(length) + 1, static_cast<std::size_t>(expected[length]))
            << length;
    const std::pair<std::u16string_view, std::size_t> letters[] = {
        {u"мир.", 1}, {u"«Привет»,", 3}, {u"…", 0}, {u"—", 0}};  // after «
    for (const auto& [word, at] : letters) EXPECT_EQ(FocusLetterIndex(word), at);
    // In a pane 1180 wide: half a pixel rounds away from zero; the word is kept inside on the
    // right, then the left.
    const std::tuple<int, double, int> lefts[] = {
        {300, 80.4, 510}, {300, 80.5, 509}, {1179, 252, 1}, {842, 252, 338},
        {843, 252, 337},  {900, 800, 0},    {1180, 252, 0}, {1400, 252, 338}};
    for (const auto& [width, middle, left] : lefts)
        EXPECT_EQ(FocusedWordLeft(1180, width, middle), left) << width << " " << middle;
}

}  // namespace
