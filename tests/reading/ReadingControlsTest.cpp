#include "reading/ReadingSession.h"

#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reading/FocusLetter.h"
#include "reading/ReadingSchedule.h"
#include "reading/ReadingTasks.h"

// The controls a reader uses while reading runs: moving back and forward,
// the rate and time left, and the letter the eye fixes on. The expected
// groups are worked out by hand from the cutting rules.

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

ReadingOptions Mode(bool severalWords) {
    ReadingOptions options;
    options.severalWords = severalWords ? 1 : 0;
    return options;
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
        now = session.Start(options, 0) * kNsPerMs;
    }
    SessionStep Step() {
        const SessionStep step = session.Step(text, options, true, now);
        now += step.delayMs * kNsPerMs;
        return step;
    }
    SessionStep Move(ReadingMove move) {
        const SessionStep step = session.Move(move, text, options, true, now);
        now += step.delayMs * kNsPerMs;
        return step;
    }
};

std::int64_t SumShown(const std::vector<ScheduledStep>& steps, std::size_t from) {
    std::int64_t sum = 0;
    for (std::size_t i = from; i < steps.size(); ++i) sum += steps[i].shownMs;
    return sum;
}

TEST(ReadingEstimate, TimeLeftIsTheRestOfTheScheduleAtEveryGroup) {
    struct Row {
        const char* name;
        std::u32string text;
        bool severalWords;
        int speed;
    };
    const std::vector<Row> rows = {
        {"one word, commas and stops", U"Hello, dear world. A cat sat; then: a dog ran! End", false,
         25},
        {"several words, commas and stops",
         U"Hello, dear world. A cat sat on the mat; then: a dog ran away quickly! End", true, 25},
        {"one word, fast, short groups inherit", U"a b c, d e. f g h i j, k.", false, 50},
        {"several words, slow, long words", U"Extraordinary circumstances, notwithstanding. Yes",
         true, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReadingOptions options = Mode(row.severalWords);
        options.speedLevel = row.speed;
        ReadingCursor whole;
        PrepareLoadedText(whole, row.text.size());
        const std::vector<ScheduledStep> schedule = ScheduleReading(row.text, whole, options).steps;

        TimedRun run(row.text, options);
        // Before the first group: the whole task is left.
        auto estimate = run.session.Estimate(run.text, options, run.now - 150 * kNsPerMs);
        ASSERT_TRUE(estimate);
        EXPECT_EQ(estimate->taskMs, SumShown(schedule, 0));
        EXPECT_EQ(estimate->leftMs, SumShown(schedule, 0) + 150);
        for (std::size_t i = 0; i + 1 < schedule.size(); ++i) {
            ASSERT_EQ(run.Step().group.text, schedule[i].text);
            // Just after the group came up, and half way through its time.
            estimate =
                run.session.Estimate(run.text, options, run.now - schedule[i].shownMs * kNsPerMs);
            EXPECT_EQ(estimate->leftMs, SumShown(schedule, i)) << "at group " << i;
            const std::int64_t half = schedule[i].shownMs / 2;
            estimate = run.session.Estimate(run.text, options,
                                            run.now - (schedule[i].shownMs - half) * kNsPerMs);
            EXPECT_EQ(estimate->leftMs, SumShown(schedule, i) - half) << "at group " << i;
        }
        run.Step();
        EXPECT_FALSE(run.session.Estimate(run.text, options, run.now));
    }
}

TEST(ReadingEstimate, RateCountsWordsOverTheTaskTimeAndFollowsTheSpeed) {
    // Five words of six letters or more at level 25, 200 ms each (the last
    // is plain: punctuation at the end of the range does not count): five
    // words in a second is 300 words a minute.
    TimedRun run(U"golden bridge crossed rivers slowly.", Mode(false));
    auto estimate = run.session.Estimate(run.text, run.options, 0);
    EXPECT_EQ(estimate->words, 5);
    EXPECT_EQ(estimate->taskMs, 1000);
    EXPECT_EQ(estimate->WordsPerMinute(), 300);
    EXPECT_EQ(estimate->SecondsLeft(), 2);
    run.options.speedLevel = 50;  // 50 ms a word
    estimate = run.session.Estimate(run.text, run.options, 0);
    EXPECT_EQ(estimate->taskMs, 250);
    EXPECT_EQ(estimate->WordsPerMinute(), 1200);
    // Seconds left, rounded up.
    EXPECT_EQ((ReadingEstimate{1, 60'000, 59'000}).SecondsLeft(), 59);
    EXPECT_EQ((ReadingEstimate{1, 60'000, 59'001}).SecondsLeft(), 60);
    EXPECT_EQ((ReadingEstimate{0, 0, 0}).SecondsLeft(), 0);
    EXPECT_EQ((ReadingEstimate{0, 0, 0}).WordsPerMinute(), 0);
    // Stopped after two words: a start now reads the other three.
    run.Step();
    run.Step();
    run.session.Stop();
    estimate = run.session.Estimate(run.text, run.options, run.now);
    EXPECT_EQ(estimate->leftMs, 150);
}

TEST(ReadingMoves, GoBackAndForwardByGroupAndSentenceWithinTheTask) {
    const std::u32string text = U"Aa bb, cc dd. Ee ff gg hh. Ii jj";
    //                        0123456789012345678901234567890
    struct Row {
        const char* name;
        bool severalWords;
        ReadingTask task;
        TextRange selection;
        int steps;  // groups shown before the move
        ReadingMove move;
        const char32_t* shown;  // the group shown at once after it; "" ends the run
    };
    using Move = ReadingMove;
    using enum ReadingTask;
    const std::vector<Row> rows = {
        {"back a word", false, TaskWholeText, {}, 3, Move::PreviousGroup, U"bb,"},
        {"back over a stop", false, TaskWholeText, {}, 5, Move::PreviousGroup, U"dd."},
        {"back at the first group stays", false, TaskWholeText, {}, 1, Move::PreviousGroup, U"Aa"},
        {"back before the first group is up",
         false,
         TaskWholeText,
         {},
         0,
         Move::PreviousGroup,
         U"Aa"},
        {"forward a word", false, TaskWholeText, {}, 2, Move::NextGroup, U"cc"},
        {"forward before the first group skips it",
         false,
         TaskWholeText,
         {},
         0,
         Move::NextGroup,
         U"bb,"},
        {"forward past the end ends the run", false, TaskWholeText, {}, 10, Move::NextGroup, U""},
        {"back to this sentence's start",
         false,
         TaskWholeText,
         {},
         7,
         Move::PreviousSentence,
         U"Ee"},
        {"back a sentence from its start",
         false,
         TaskWholeText,
         {},
         5,
         Move::PreviousSentence,
         U"Aa"},
        {"back a sentence in the first stays",
         false,
         TaskWholeText,
         {},
         2,
         Move::PreviousSentence,
         U"Aa"},
        {"forward a sentence", false, TaskWholeText, {}, 2, Move::NextSentence, U"Ee"},
        {"forward from a sentence's last word",
         false,
         TaskWholeText,
         {},
         8,
         Move::NextSentence,
         U"Ii"},
        {"forward from the last sentence ends",
         false,
         TaskWholeText,
         {},
         9,
         Move::NextSentence,
         U""},
        {"several: back a group", true, TaskWholeText, {}, 3, Move::PreviousGroup, U"cc dd."},
        {"several: back across a comma", true, TaskWholeText, {}, 2, Move::PreviousGroup, U"Aa bb,"},
        {"several: back over a stop",
         true,
         TaskWholeText,
         {},
         4,
         Move::PreviousGroup,
         U"Ee ff gg hh."},
        {"several: back a sentence",
         true,
         TaskWholeText,
         {},
         4,
         Move::PreviousSentence,
         U"Ee ff gg hh."},
        {"several: forward a sentence",
         true,
         TaskWholeText,
         {},
         1,
         Move::NextSentence,
         U"Ee ff gg hh."},
        // Selection "dd. Ee ff gg hh." is the task: [10, 26).
        {"task: back stops at its start",
         false,
         TaskSelection,
         {10, 26},
         2,
         Move::PreviousSentence,
         U"dd."},
        {"task: back a group at its start",
         false,
         TaskSelection,
         {10, 26},
         1,
         Move::PreviousGroup,
         U"dd."},
        {"task: forward past its end ends",
         false,
         TaskSelection,
         {10, 26},
         3,
         Move::NextSentence,
         U""},
        {"task: forward a group at its end ends",
         false,
         TaskSelection,
         {10, 26},
         5,
         Move::NextGroup,
         U""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TimedRun run(text, Mode(row.severalWords), row.task, row.selection);
        for (int i = 0; i < row.steps; ++i) ASSERT_TRUE(run.Step().group.ShowsText());
        const SessionStep moved = run.Move(row.move);
        if (*row.shown == '\0') {
            EXPECT_EQ(moved.group.kind, StepKind::StepEnd);
            EXPECT_FALSE(run.session.IsReading());
            EXPECT_EQ(run.session.Task(), ReadingTask::TaskNone);
            continue;
        }
        EXPECT_EQ(moved.group.text, row.shown);
        ASSERT_TRUE(moved.group.highlight);
        EXPECT_EQ(text.substr(moved.group.highlight->start, 2), std::u32string_view(row.shown).substr(0, 2));
        EXPECT_TRUE(run.session.IsReading());
        // Reading goes on from there as if it had got there by itself.
        ReadingCursor after = run.session.Cursor();
        const GroupStep expected = NextGroup(text, after, run.options);
        EXPECT_EQ(run.Step().group.text, expected.text);
    }
}

TEST(ReadingMoves, BackAGroupCutsTheClauseAgainFromItsStart) {
    // Several words up to 10 characters: "one two three", "four five six",
    // "seven eight." — no mark before them, so they are cut from the start.
    TimedRun run(U"one two three four five six seven eight. nine", Mode(true));
    for (int i = 0; i < 3; ++i) run.Step();
    EXPECT_EQ(run.Move(ReadingMove::PreviousGroup).group.text, U"four five six");
    EXPECT_EQ(run.Move(ReadingMove::PreviousGroup).group.text, U"one two three");
    EXPECT_EQ(run.Step().group.text, U"four five six");
}

TEST(ReadingMoves, TheProgressBarFollowsAMove) {
    std::u32string text;
    for (int i = 0; i < 100; ++i)
        text += U"word" + std::u32string(1, U'0' + i % 10) + (i % 10 == 9 ? U". " : U" ");
    TimedRun run(text, Mode(false));
    for (int i = 0; i < 50; ++i) run.Step();
    // Half the text read: the bar stands near 20 and goes back with a move.
    SessionStep moved = run.Move(ReadingMove::PreviousSentence);
    ASSERT_TRUE(moved.progressPosition);
    EXPECT_EQ(moved.group.text, U"word0");
    const int atSentence = *moved.progressPosition;
    EXPECT_EQ(atSentence, static_cast<int>(moved.group.highlight->start / (text.size() / 40)));
    moved = run.Move(ReadingMove::PreviousSentence);
    EXPECT_LT(*moved.progressPosition, atSentence);
    moved = run.Move(ReadingMove::NextSentence);
    EXPECT_EQ(*moved.progressPosition, atSentence);
}

TEST(FocusLetter, SitsAboutAThirdIntoTheWord) {
    // Word length 1..20 and the letter's number, from 1.
    const int expected[21] = {0, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5};
    for (std::size_t length = 1; length <= 20; ++length) {
        EXPECT_EQ(RecognitionLetter(length) + 1, static_cast<std::size_t>(expected[length]))
            << "length " << length;
    }
    EXPECT_EQ(FocusLetterIndex(u"мир."), 1u);
    EXPECT_EQ(FocusLetterIndex(u"«Привет»,"), 3u);  // the 3rd letter of "Привет", after «
    EXPECT_EQ(FocusLetterIndex(u"—"), 0u);
}

TEST(FocusLetter, PinsTheLetterOnlyAsFarAsTheWordFits) {
    struct Case {
        const char* name;
        int paneWidth, wordWidth;
        double letterMiddle;
        int left;
    };
    const Case cases[] = {
        {"short word: letter in the middle", 1180, 300, 80.4, 510},
        {"letter's middle rounds half away from zero", 1180, 300, 80.5, 509},
        {"long word would run past the right edge", 1180, 1179, 252, 1},
        {"ends exactly at the right edge", 1180, 842, 252, 338},
        {"one pixel past: moved by one", 1180, 843, 252, 337},
        {"long end word would start left of the pane", 1180, 900, 800, 0},
        {"as wide as the pane", 1180, 1180, 252, 0},
        {"wider than the pane: letter stays in the middle", 1180, 1400, 252, 338},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FocusedWordLeft(c.paneWidth, c.wordWidth, c.letterMiddle), c.left) << c.name;
    }
}

}  // namespace
