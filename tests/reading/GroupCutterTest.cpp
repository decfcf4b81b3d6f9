#include "reading/GroupCutter.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "reading/ReadingTasks.h"

// Texts are written inline; those of the code page's characters read as they
// did when the program held Windows-1251 bytes.

namespace {

struct Group {
    StepKind kind;
    std::u32string text;
    std::optional<TextRange> highlight;
    bool operator==(const Group&) const = default;
};

void PrintTo(const Group& g, std::ostream* os) {
    *os << static_cast<int>(g.kind) << " \"" << ToUtf8(g.text) << "\" ";
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
std::vector<GroupStep> RunToEnd(std::u32string_view text, ReadingCursor cursor,
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
    const std::u32string longWord(300, 'w');
    const std::u32string word128(128, 'q');
    const std::u32string word129(129, 'q');
    struct Row {
        const char* name;
        std::u32string text;
        ReadingCursor cursor;
        ReadingOptions options;
        std::vector<Group> groups;
    };
    const Row rows[] = {
        {"comma group, then the last word plain despite its full stop",
         U"Hello, world.",
         WholeText(),
         OneWord(),
         {{kComma, U"Hello,", TextRange{0, 6}}, {kPlain, U"world.", TextRange{7, 13}}}},
        {"every mark counts only with a separator after it",
         U"a: b; c? d! e. f.g h",
         WholeText(),
         OneWord(),
         {{kComma, U"a:", TextRange{0, 2}},
          {kStop, U"b;", TextRange{3, 5}},
          {kStop, U"c?", TextRange{6, 8}},
          {kStop, U"d!", TextRange{9, 11}},
          {kStop, U"e.", TextRange{12, 14}},
          {kPlain, U"f.g", TextRange{15, 18}},
          {kPlain, U"h", TextRange{19, 20}}}},
        {"only space, tab, CR and LF separate",
         U" \t\r\nx\x01y\xA0z\r\n\tend",
         WholeText(),
         OneWord(),
         {{kPlain, U"x\x01y\xA0z", TextRange{4, 9}}, {kPlain, U"end", TextRange{12, 15}}}},
        {"several words up to the threshold, the last word completed",
         U"one two three four.",
         WholeText(),
         SeveralWords(10),
         {{kPlain, U"one two three", TextRange{0, 13}}, {kPlain, U"four.", TextRange{14, 19}}}},
        {"several words end at the first mark, tabs and line breaks become spaces",
         U"a\tb\r\nc, d e",
         WholeText(),
         SeveralWords(10),
         {{kComma, U"a b  c,", TextRange{0, 7}}, {kPlain, U"d e", TextRange{8, 11}}}},
        {"a mode value other than 1 reads one word",
         U"one two",
         WholeText(),
         ReadingOptions{25, 3, 5, 2, 10},
         {{kPlain, U"one", TextRange{0, 3}}, {kPlain, U"two", TextRange{4, 7}}}},
        {"a 300-letter word in pieces of 129, 129 and 42",
         longWord,
         WholeText(),
         OneWord(),
         {{kPlain, std::u32string(129, 'w'), TextRange{0, 128}},
          {kPlain, std::u32string(129, 'w'), TextRange{129, 257}},
          {kPlain, std::u32string(42, 'w'), TextRange{258, 300}}}},
        {"a 128-letter word fits whole",
         word128 + U" x",
         WholeText(),
         OneWord(),
         {{kPlain, word128, TextRange{0, 128}}, {kPlain, U"x", TextRange{129, 130}}}},
        {"a 129-letter word fits but its highlight misses the last letter",
         word129 + U" x",
         WholeText(),
         OneWord(),
         {{kPlain, word129, TextRange{0, 128}}, {kPlain, U"x", TextRange{130, 131}}}},
        {"separators only: one empty group that leaves the selection alone",
         U"  \r\n\t ",
         WholeText(),
         OneWord(),
         {{kPlain, U"", std::nullopt}}},
        {"trailing separators give an empty group before the end",
         U"word   ",
         WholeText(),
         OneWord(),
         {{kPlain, U"word", TextRange{0, 4}}, {kPlain, U"", std::nullopt}}},
        {"a range ending on the separator after a stop highlights that separator",
         U"Hi. you",
         Range(0, 4),
         OneWord(),
         {{kStop, U"Hi.", TextRange{0, 4}}}},
        {"a range that starts inside a word starts with its rest",
         U"reading words",
         Range(3, std::nullopt),
         OneWord(),
         {{kPlain, U"ding", TextRange{3, 7}}, {kPlain, U"words", TextRange{8, 13}}}},
        {"zero bytes are passed over and do not end a word",
         std::u32string(U"ab\0cd,\0 ef", 10),
         WholeText(),
         OneWord(),
         {{kComma, U"abcd,", TextRange{0, 7}}, {kPlain, U"ef", TextRange{8, 10}}}},
        {"positions past the text hold nothing",
         U"ab",
         Range(0, 50),
         OneWord(),
         {{kPlain, U"ab", TextRange{0, 2}}}},
        {"an empty range ends at once", U"some text", Range(0, 0), OneWord(), {}},
        {"an empty text ends at once", U"", WholeText(), OneWord(), {}},
        {"an ideographic full stop ends a sentence",
         U"終わり。 次",
         WholeText(),
         OneWord(),
         {{kStop, U"終わり。", TextRange{0, 4}}, {kPlain, U"次", TextRange{5, 6}}}},
        {"fullwidth and Arabic sentence marks",
         U"はい！ いいえ？ لماذا؟ x‼ y",
         WholeText(),
         OneWord(),
         {{kStop, U"はい！", TextRange{0, 3}},
          {kStop, U"いいえ？", TextRange{4, 8}},
          {kStop, U"لماذا؟", TextRange{9, 15}},
          {kStop, U"x‼", TextRange{16, 18}},
          {kPlain, U"y", TextRange{19, 20}}}},
        {"clause marks of other scripts",
         U"a、 b， c； d، e",
         WholeText(),
         OneWord(),
         {{kComma, U"a、", TextRange{0, 2}},
          {kComma, U"b，", TextRange{3, 5}},
          {kComma, U"c；", TextRange{6, 8}},
          {kComma, U"d،", TextRange{9, 11}},
          {kPlain, U"e", TextRange{12, 13}}}},
        {"the code page's ellipsis and dashes are parts of words",
         U"так… — вот",
         WholeText(),
         OneWord(),
         {{kPlain, U"так…", TextRange{0, 4}},
          {kPlain, U"—", TextRange{5, 6}},
          {kPlain, U"вот", TextRange{7, 10}}}},
        {"a mark followed by a letter ends nothing",
         U"文。文",
         WholeText(),
         OneWord(),
         {{kPlain, U"文。文", TextRange{0, 3}}}},
        {"Unicode white space separates, and becomes a space in a group",
         U"日本\u3000語\u2003x",
         WholeText(),
         SeveralWords(10),
         {{kPlain, U"日本 語 x", TextRange{0, 6}}}},
        {"an emoji is one character of its word",
         U"a\U0001F600b c",
         WholeText(),
         OneWord(),
         {{kPlain, U"a\U0001F600b", TextRange{0, 3}}, {kPlain, U"c", TextRange{4, 5}}}},
        {"a 300-character CJK word in pieces like any long word",
         std::u32string(300, U'字'),
         WholeText(),
         OneWord(),
         {{kPlain, std::u32string(129, U'字'), TextRange{0, 128}},
          {kPlain, std::u32string(129, U'字'), TextRange{129, 257}},
          {kPlain, std::u32string(42, U'字'), TextRange{258, 300}}}},
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
    std::u32string fourLetterWords;
    for (int i = 0; i < 80; ++i) fourLetterWords += U"abcd ";
    std::u32string longWords;
    for (int i = 0; i < 16; ++i) longWords += std::u32string(24, 'x') + U" ";
    struct Row {
        const char* name;
        std::u32string text;
        std::u32string advances;  // one mark per step before the end: '+' advance, '.' none
    };
    const Row rows[] = {
        {"400 characters: once every 10 characters", fourLetterWords,
         U".." +
             [] {
                 std::u32string s;
                 for (int i = 0; i < 39; ++i) s += U"+.";
                 return s;
             }()},
        {"25-character steps lag: one advance per step, never two", longWords,
         U"." + std::u32string(15, '+')},
        {"shorter than 40: every step", U"a b c", U"+++"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<GroupStep> steps = RunToEnd(row.text, WholeText(), OneWord());
        std::u32string advances;
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
    const std::u32string text = U"one two three four";
    ReadingCursor cursor = WholeText();
    const ReadingOptions options = OneWord();
    EXPECT_EQ(NextGroup(text, cursor, options).text, U"one");
    EXPECT_EQ(NextGroup(text, cursor, options).text, U"two");
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
    EXPECT_EQ(NextGroup(text, cursor, options).text, U"three");
    // The same task chosen again starts from its beginning.
    EXPECT_EQ(ApplyTask(cursor, ChooseTask(ReadingTask::TaskWholeText, {9, 9})),
              ProgressAction::Reset);
    EXPECT_EQ(NextGroup(text, cursor, options).text, U"one");
    // At the end the cursor stays at the end.
    EXPECT_EQ(RunToEnd(text, cursor, options).size(), 4u);
    while (NextGroup(text, cursor, options).kind != StepKind::StepEnd) {
    }
    EXPECT_EQ(NextGroup(text, cursor, options).kind, StepKind::StepEnd);
}

// Over random texts of letters, marks, separators and zero bytes: every
// character other than a separator or a zero byte lands in exactly one group,
// in order; each highlight starts at its group's first character; no group
// is longer than 129; every step but the last moves the cursor on. The cut
// that only measures a group moves its cursor alike.
TEST(GroupCutter, KeepsEveryCharacterOnce) {
    std::mt19937 random(2025);
    const std::u32string alphabet =
        std::u32string(U"ab.,;:!? \t\r\n\u0410\u044F\u00A0\u3002\u3001\u3000\U0001F600") + U'\0';
    for (int round = 0; round < 3000; ++round) {
        std::u32string text;
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i) {
            // Long runs of one letter now and then, to reach the 129 limit.
            const char32_t c = alphabet[random() % alphabet.size()];
            text.append(random() % 50 == 0 ? 140 : 1, c);
        }
        ReadingOptions options;
        options.severalWords = static_cast<int>(random() % 2);
        options.thresholdChars = static_cast<int>(random() % 200);
        SCOPED_TRACE("round " + std::to_string(round));
        std::u32string expected;
        for (char32_t c : text) {
            if (!IsSeparator(c) && c != '\0') expected += c;
        }
        std::u32string read;
        ReadingCursor cursor = WholeText();
        ReadingCursor measuring = WholeText();
        std::size_t previous = 0;
        for (std::size_t steps = 0;; ++steps) {
            ASSERT_LE(steps, text.size() + 1);
            const GroupStep step = NextGroup(text, cursor, options);
            const GroupShape shape = NextGroupShape(text, measuring, options);
            ASSERT_EQ(shape.kind, step.kind);
            ASSERT_EQ(shape.length, step.text.size());
            ASSERT_EQ(measuring, cursor);
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
            for (char32_t c : step.text) {
                if (c != ' ') read += c;
            }
        }
        EXPECT_EQ(read, expected);
    }
}

}  // namespace
