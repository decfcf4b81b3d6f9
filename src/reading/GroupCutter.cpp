#include "reading/GroupCutter.h"

namespace {

enum class ScanState { Skipping, InWord };

}  // namespace

void BeginTaskRange(std::string_view text, ReadingCursor& cursor) {
    cursor.newTask = false;
    cursor.position = cursor.taskStart;
    cursor.end = cursor.taskEnd.value_or(text.size());
    cursor.progressStep =
        cursor.end > cursor.taskStart ? (cursor.end - cursor.taskStart) / kProgressSteps : 0;
    cursor.nextProgressMark = cursor.taskStart + cursor.progressStep;
}

GroupStep NextGroup(std::string_view text, ReadingCursor& cursor, const ReadingOptions& options) {
    GroupStep step;
    if (cursor.abort) {
        cursor.abort = false;
        return step;
    }
    if (cursor.newTask) BeginTaskRange(text, cursor);
    if (cursor.position >= cursor.end) {
        step.kind = StepKind::StepEnd;
        step.progress = ProgressAction::SetFull;
        return step;
    }
    // With a range shorter than 40 the progress step is 0 and the bar moves
    // at every step; otherwise at most once per step, however far it lags.
    if (cursor.position >= cursor.nextProgressMark) {
        step.progress = ProgressAction::AdvanceOne;
        cursor.nextProgressMark += cursor.progressStep;
    }

    const bool severalWords = options.SeveralWords();
    ScanState state = ScanState::Skipping;
    StepKind kind = StepKind::StepPlain;
    std::string& group = step.text;
    group.reserve(kMaxGroupLength);
    std::optional<std::size_t> groupStart;
    std::size_t groupEnd = 0;
    char previous = 0;
    bool more = true;
    while (more && cursor.position < cursor.end) {
        if (cursor.position >= text.size()) {
            // Nothing there up to the end of the range.
            cursor.position = cursor.end;
            break;
        }
        char c = text[cursor.position];
        if (c == '\0') {
            // A zero byte is no character: passed over without becoming the
            // previous character.
            ++cursor.position;
            continue;
        }
        if (group.size() == kMaxGroupLength - 1) {
            // This character is still taken below, so the group ends at 129.
            more = false;
            groupEnd = cursor.position;
        }
        switch (state) {
            case ScanState::Skipping:
                if (!IsSeparator(c)) {
                    group.push_back(c);
                    state = ScanState::InWord;
                    groupStart = cursor.position;
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
                    static_cast<long long>(group.size()) < options.thresholdChars) {
                    c = ' ';
                    group.push_back(c);
                } else {
                    more = false;
                    groupEnd = cursor.position;
                }
                break;
        }
        previous = c;
        ++cursor.position;
    }

    if (groupStart) {
        // A group that runs into the end of the range is highlighted up to
        // that end, a separator that stopped it included.
        std::size_t highlightEnd = cursor.position >= cursor.end ? cursor.position : groupEnd;
        if (highlightEnd > text.size()) highlightEnd = text.size();
        if (highlightEnd > 0) step.highlight = TextRange{*groupStart, highlightEnd};
    }
    step.kind = kind;
    return step;
}
