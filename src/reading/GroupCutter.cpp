#include "reading/GroupCutter.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <type_traits>

#include "base/CodePage.h"

namespace {

enum class ScanState { Skipping, InWord };

// Commas, semicolons and colons of scripts whose marks Windows-1251 lacks;
// Unicode has no property for them. Sorted.
constexpr std::array<char32_t, 20> kOtherClauseMarks = {
    0x055D,  // Armenian comma
    0x060C,  // Arabic comma
    0x061B,  // Arabic semicolon
    0x07F8,  // NKo comma
    0x1363,  // Ethiopic comma
    0x1364,  // Ethiopic semicolon
    0x1365,  // Ethiopic colon
    0x1802,  // Mongolian comma
    0x1808,  // Mongolian Manchu comma
    0x3001,  // ideographic comma
    0xA4FE,  // Lisu punctuation comma
    0xA60D,  // Vai comma
    0xFE10,  // presentation form for vertical comma
    0xFE11,  // presentation form for vertical ideographic comma
    0xFE50,  // small comma
    0xFE51,  // small ideographic comma
    0xFE54,  // small semicolon
    0xFF0C,  // fullwidth comma
    0xFF1A,  // fullwidth colon
    0xFF1B,  // fullwidth semicolon
};

}  // namespace

bool IsOtherClauseMark(char32_t c) {
    return !Cp1251Byte(c) &&
           std::binary_search(kOtherClauseMarks.begin(), kOtherClauseMarks.end(), c);
}

bool IsOtherSentenceMark(char32_t c) {
    return !Cp1251Byte(c) && u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_S_TERM);
}

void BeginTaskRange(TextView text, ReadingCursor& cursor) {
    cursor.newTask = false;
    cursor.position = cursor.taskStart;
    cursor.end = cursor.taskEnd.value_or(text.size());
    cursor.progressStep =
        cursor.end > cursor.taskStart ? (cursor.end - cursor.taskStart) / kProgressSteps : 0;
    cursor.nextProgressMark = cursor.taskStart + cursor.progressStep;
}

namespace {

// Counts a group's characters where its length is all that is needed: a walk
// through a whole task for its time.
struct CharacterCount {
    std::size_t characters = 0;
    void push_back(char32_t) { ++characters; }
    std::size_t size() const { return characters; }
};

// What a step settles before it cuts anything: an abort, the task's first
// step, the end of the range, and the progress bar's fortieths. True when
// the step ends there.
bool EndsBeforeCutting(TextView text, ReadingCursor& cursor, GroupStep& step) {
    if (cursor.abort) {
        cursor.abort = false;
        return true;
    }
    if (cursor.newTask) BeginTaskRange(text, cursor);
    if (cursor.position >= cursor.end) {
        step.kind = StepKind::StepEnd;
        step.progress = ProgressAction::SetFull;
        return true;
    }
    // With a range shorter than 40 the progress step is 0 and the bar moves
    // at every step; otherwise at most once per step, however far it lags.
    if (cursor.position >= cursor.nextProgressMark) {
        step.progress = ProgressAction::AdvanceOne;
        cursor.nextProgressMark += cursor.progressStep;
    }
    return false;
}

// A group taken character by character: separators before it are skipped,
// then a word is taken, and in several-word mode the words after it, joined
// by single spaces, until the group is as long as the threshold. Its
// characters go to `group`, the step's text or a count of them.
template <typename Group>
struct GroupScan {
    GroupScan(Group& out, const ReadingOptions& options)
        : group(out),
          severalWords(options.SeveralWords()),
          thresholdChars(options.thresholdChars) {}

    Group& group;
    const bool severalWords;
    const long long thresholdChars;
    ScanState state = ScanState::Skipping;
    StepKind kind = StepKind::StepPlain;
    std::size_t start = 0;  // of the first word, once there is one
    std::size_t end = 0;
    char32_t previous = 0;

    bool FoundWord() const { return state == ScanState::InWord; }

    // Takes the character at `position`; false when the group ends with it.
    bool Take(char32_t c, std::size_t position) {
        bool more = true;
        if (group.size() == kMaxGroupLength - 1) {
            // This character is still taken below, so the group ends at 129.
            more = false;
            end = position;
        }
        switch (state) {
            case ScanState::Skipping:
                if (!IsSeparator(c)) {
                    group.push_back(c);
                    state = ScanState::InWord;
                    start = position;
                }
                break;
            case ScanState::InWord:
                if (!IsSeparator(c)) {
                    group.push_back(c);
                    break;
                }
                // Punctuation counts only with a separator right after it.
                if (EndsClause(previous)) {
                    kind = StepKind::StepComma;
                } else if (EndsSentence(previous)) {
                    kind = StepKind::StepStop;
                }
                if (severalWords && kind == StepKind::StepPlain &&
                    static_cast<long long>(group.size()) < thresholdChars) {
                    c = ' ';
                    group.push_back(c);
                } else {
                    more = false;
                    end = position;
                }
                break;
        }
        previous = c;
        return more;
    }
};

// Cuts the next group; its characters go to `group`, the step's text or a
// count of them.
template <typename Group>
GroupStep Cut(TextView text, ReadingCursor& cursor, const ReadingOptions& options, Group& group) {
    GroupStep step;
    if (EndsBeforeCutting(text, cursor, step)) return step;
    if constexpr (std::is_same_v<Group, std::u32string>) group.reserve(kMaxGroupLength);
    GroupScan<Group> scan(group, options);
    bool more = true;
    while (more && cursor.position < cursor.end) {
        if (cursor.position >= text.size()) {
            // Nothing there up to the end of the range.
            cursor.position = cursor.end;
            break;
        }
        const char32_t c = text[cursor.position];
        if (c == '\0') {
            // A zero byte is no character: passed over without becoming the
            // previous character.
            ++cursor.position;
            continue;
        }
        more = scan.Take(c, cursor.position);
        ++cursor.position;
    }

    if (scan.FoundWord()) {
        // A group that runs into the end of the range is highlighted up to
        // that end, a separator that stopped it included.
        std::size_t highlightEnd = cursor.position >= cursor.end ? cursor.position : scan.end;
        if (highlightEnd > text.size()) highlightEnd = text.size();
        if (highlightEnd > 0) step.highlight = TextRange{scan.start, highlightEnd};
    }
    step.kind = scan.kind;
    return step;
}

}  // namespace

GroupStep NextGroup(TextView text, ReadingCursor& cursor, const ReadingOptions& options) {
    std::u32string group;
    GroupStep step = Cut(text, cursor, options, group);
    step.text = std::move(group);
    return step;
}

GroupShape NextGroupShape(TextView text, ReadingCursor& cursor, const ReadingOptions& options) {
    CharacterCount group;
    const GroupStep step = Cut(text, cursor, options, group);
    return {step.kind, group.characters};
}
