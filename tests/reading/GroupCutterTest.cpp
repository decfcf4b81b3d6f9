#include "reading/GroupCutter.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reading/ReadingTasks.h"

// Texts are written inline; all of them are ASCII, which is the same in
// Windows-1251.

namespace {

struct Group {
    StepKind kind;
    std::string text;
    std::optional<TextRange> highlight;
    bool operator==(const Group&) const = default;
};

void PrintTo(const Group& g, std::ostream* os) {
    *os << static_cast<int>(g.kind) << " \"" << g.text << "\" ";
    if (g.highlight) {
        *os << "[" << g.highlight->start << "," << g.highlight->end << ")";
    } else {
        *os << "no highlight";
    }
}

ReadingCursor WholeText() {
    ReadingCursor cursor;
    ApplyTask(cursor, ChooseTask(ReadingTask::TaskWholeText, {}));
    return cursor;
}

ReadingCursor Range(std::size_t start, std::optional<std::size_t> end) {
    ReadingCursor cursor;
    ApplyTask(cursor, {ReadingTask::TaskSelection, start, end, {}, false});
    return cursor;
}

// Every step of a run up to and including the one that ends it.
std::vector<GroupStep> RunToEnd(std::string_view text, ReadingCursor cursor,
                                const ReadingOptions& options) {
    std::vector<GroupStep> steps;
    while (steps.size() < 100000) {
        steps.push_back(NextGroup(text, cursor, options));
        if (steps.back().kind == StepKind::StepEnd || steps.back().kind == StepKind::StepAborted)
            break;
    }
    return steps;
}

std::vector<Group> Groups(const std::vector<GroupStep>& steps) {
    std::vector<Group> groups;
    for (const GroupStep& s : steps) {
        if (s.kind == StepKind::StepEnd) continue;
        groups.push_back({s.kind, s.text, s.highlight});
    }
    return groups;
}

ReadingOptions OneWord() { return {}; }
ReadingOptions SeveralWords(int threshold) {
    ReadingOptions options;
    options.severalWords = 1;
    options.thresholdChars = threshold;
    return options;
}

constexpr StepKind kPlain = StepKind::StepPlain;
constexpr StepKind kComma = StepKind::StepComma;
constexpr StepKind kStop = StepKind::StepStop;

TEST(GroupCutter, CutsGroups) {
    const std::string longWord(300, 'w');
    const std::string word128(128, 'q');
    const std::string word129(129, 'q');
    struct Row {
        const char* name;
        std::string text;
        ReadingCursor cursor;
        ReadingOptions options;
        std::vector<Group> groups;
    };
    const Row rows[] = {
        {"comma group, then the last word plain despite its full stop",
         "Hello, world.",
         WholeText(),
         OneWord(),
         {{kComma, "Hello,", TextRange{0, 6}}, {kPlain, "world.", TextRange{7, 13}}}},
        {"every mark counts only with a separator after it",
         "a: b; c? d! e. f.g h",
         WholeText(),
         OneWord(),
         {{kComma, "a:", TextRange{0, 2}},
          {kStop, "b;", TextRange{3, 5}},
          {kStop, "c?", TextRange{6, 8}},
          {kStop, "d!", TextRange{9, 11}},
          {kStop, "e.", TextRange{12, 14}},
          {kPlain, "f.g", TextRange{15, 18}},
          {kPlain, "h", TextRange{19, 20}}}},
        {"only space, tab, CR and LF separate",
         " \t\r\nx\x01y\xA0z\r\n\tend",
         WholeText(),
         OneWord(),
         {{kPlain, "x\x01y\xA0z", TextRange{4, 9}}, {kPlain, "end", TextRange{12, 15}}}},
        {"several words up to the threshold, the last word completed",
         "one two three four.",
         WholeText(),
         SeveralWords(10),
         {{kPlain, "one two three", TextRange{0, 13}}, {kPlain, "four.", TextRange{14, 19}}}},
        {"several words end at the first mark, tabs and line breaks become spaces",
         "a\tb\r\nc, d e",
         WholeText(),
         SeveralWords(10),
         {{kComma, "a b  c,", TextRange{0, 7}}, {kPlain, "d e", TextRange{8, 11}}}},
        {"a mode value other than 1 reads one word",
         "one two",
         WholeText(),
         ReadingOptions{25, 3, 5, 2, 10},
         {{kPlain, "one", TextRange{0, 3}}, {kPlain, "two", TextRange{4, 7}}}},
        {"a 300-letter word in pieces of 129, 129 and 42",
         longWord,
         WholeText(),
         OneWord(),
         {{kPlain, std::string(129, 'w'), TextRange{0, 128}},
          {kPlain, std::string(129, 'w'), TextRange{129, 257}},
          {kPlain, std::string(42, 'w'), TextRange{258, 300}}}},
        {"a 128-letter word fits whole",
         word128 + " x",
         WholeText(),
         OneWord(),
         {{kPlain, word128, TextRange{0, 128}}, {kPlain, "x", TextRange{129, 130}}}},
        {"a 129-letter word fits but its highlight misses the last letter",
         word129 + " x",
         WholeText(),
         OneWord(),
         {{kPlain, word129, TextRange{0, 128}}, {kPlain, "x", TextRange{130, 131}}}},
        {"separators only: one empty group that leaves the selection alone",
         "  \r\n\t ",
         WholeText(),
         OneWord(),
         {{kPlain, "", std::nullopt}}},
        {"trailing separators give an empty group before the end",
         "word   ",
         WholeText(),
         OneWord(),
         {{kPlain, "word", TextRange{0, 4}}, {kPlain, "", std::nullopt}}},
        {"a range ending on the separator after a stop highlights that separator",
         "Hi. you",
         Range(0, 4),
         OneWord(),
         {{kStop, "Hi.", TextRange{0, 4}}}},
        {"a range that starts inside a word starts with its rest",
         "reading words",
         Range(3, std::nullopt),
         OneWord(),
         {{kPlain, "ding", TextRange{3, 7}}, {kPlain, "words", TextRange{8, 13}}}},
        {"zero bytes are passed over and do not end a word",
         std::string("ab\0cd,\0 ef", 10),
         WholeText(),
         OneWord(),
         {{kComma, "abcd,", TextRange{0, 7}}, {kPlain, "ef", TextRange{8, 10}}}},
        {"positions past the text hold nothing",
         "ab",
         Range(0, 50),
         OneWord(),
         {{kPlain, "ab", TextRange{0, 2}}}},
        {"an empty range ends at once", "some text", Range(0, 0), OneWord(), {}},
        {"an empty text ends at once", "", WholeText(), OneWord(), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<GroupStep> steps = RunToEnd(row.text, row.cursor, row.options);
        EXPECT_EQ(Groups(steps), row.groups);
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.back().kind, StepKind::StepEnd);
        EXPECT_EQ(steps.back().progress, ProgressAction::SetFull);
    }
}

// How often the progress bar moves: a step is the range / 40, at most one
// advance per step, and full at the end.
TEST(GroupCutter, MovesTheProgressBar) {
    std::string fourLetterWords;
    for (int i = 0; i < 80; ++i) fourLetterWords += "abcd ";
    std::string longWords;
    for (int i = 0; i < 16; ++i) longWords += std::string(24, 'x') + " ";
    struct Row {
        const char* name;
        std::string text;
        std::string advances;  // one mark per step before the end: '+' advance, '.' none
    };
    const Row rows[] = {
        {"400 characters: once every 10 characters", fourLetterWords,
         ".." +
             [] {
                 std::string s;
                 for (int i = 0; i < 39; ++i) s += "+.";
                 return s;
             }()},
        {"25-character steps lag: one advance per step, never two", longWords,
         "." + std::string(15, '+')},
        {"shorter than 40: every step", "a b c", "+++"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<GroupStep> steps = RunToEnd(row.text, WholeText(), OneWord());
        std::string advances;
        for (const GroupStep& s : steps) {
            if (s.kind == StepKind::StepEnd) break;
            EXPECT_NE(s.progress, ProgressAction::SetFull);
            advances += s.progress == ProgressAction::AdvanceOne ? '+' : '.';
        }
        EXPECT_EQ(advances, row.advances);
        EXPECT_EQ(steps.back().progress, ProgressAction::SetFull);
    }
}

// Stop leaves the cursor alone; only choosing a task again goes back to its
// start. The abort flag costs one step and moves nothing.
TEST(GroupCutter, ResumesAfterStopAndRestartsOnANewTask) {
    const std::string text = "one two three four";
    ReadingCursor cursor = WholeText();
    const ReadingOptions options = OneWord();
    EXPECT_EQ(NextGroup(text, cursor, options).text, "one");
    EXPECT_EQ(NextGroup(text, cursor, options).text, "two");
    // The run stops here; the next one continues.
    cursor.abort = true;
    const ReadingCursor beforeAbort = [&] {
        ReadingCursor c = cursor;
        c.abort = false;
        return c;
    }();
    const GroupStep aborted = NextGroup(text, cursor, options);
    EXPECT_EQ(aborted.kind, StepKind::StepAborted);
    EXPECT_EQ(aborted.progress, ProgressAction::None);
    EXPECT_FALSE(aborted.highlight);
    EXPECT_EQ(cursor, beforeAbort);
    EXPECT_EQ(NextGroup(text, cursor, options).text, "three");
    // The same task chosen again starts from its beginning.
    EXPECT_EQ(ApplyTask(cursor, ChooseTask(ReadingTask::TaskWholeText, {9, 9})),
              ProgressAction::Reset);
    EXPECT_EQ(NextGroup(text, cursor, options).text, "one");
    // At the end the cursor stays at the end.
    EXPECT_EQ(RunToEnd(text, cursor, options).size(), 4u);
    while (NextGroup(text, cursor, options).kind != StepKind::StepEnd) {
    }
    EXPECT_EQ(NextGroup(text, cursor, options).kind, StepKind::StepEnd);
}

// Over random texts of letters, marks, separators and zero bytes: every
// character other than a separator or a zero byte lands in exactly one group,
// in order; each highlight starts at its group's first character; no group
// is longer than 129; every step but the last moves the cursor on.
TEST(GroupCutter, KeepsEveryCharacterOnce) {
    std::mt19937 random(2025);
    const std::string alphabet = std::string("ab.,;:!? \t\r\n\xC0\xFF") + '\0';
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i) {
            // Long runs of one letter now and then, to reach the 129 limit.
            const char c = alphabet[random() % alphabet.size()];
            text.append(random() % 50 == 0 ? 140 : 1, c);
        }
        ReadingOptions options;
        options.severalWords = static_cast<int>(random() % 2);
        options.thresholdChars = static_cast<int>(random() % 200);
        SCOPED_TRACE("round " + std::to_string(round));
        std::string expected;
        for (char c : text) {
            if (!IsSeparator(c) && c != '\0') expected += c;
        }
        std::string read;
        ReadingCursor cursor = WholeText();
        std::size_t previous = 0;
        for (std::size_t steps = 0;; ++steps) {
            ASSERT_LE(steps, text.size() + 1);
            const GroupStep step = NextGroup(text, cursor, options);
            if (step.kind == StepKind::StepEnd) break;
            ASSERT_GT(cursor.position, previous);
            previous = cursor.position;
            ASSERT_LE(step.text.size(), kMaxGroupLength);
            ASSERT_EQ(step.highlight.has_value(), !step.text.empty());
            if (step.highlight) {
                ASSERT_LT(step.highlight->start, step.highlight->end);
                ASSERT_LE(step.highlight->end, text.size());
                ASSERT_EQ(text[step.highlight->start], step.text[0]);
            }
            for (char c : step.text) {
                if (c != ' ') read += c;
            }
        }
        EXPECT_EQ(read, expected);
    }
}

}  // namespace
