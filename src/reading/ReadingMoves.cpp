#include "reading/ReadingMoves.h"

#include <algorithm>
#include <limits>

#include "reading/GroupCutter.h"
#include "text/TextRules.h"

namespace {

char32_t At(TextView text, std::size_t position) {
    return position < text.size() ? text[position] : '\0';
}

// The first word character at or after a position, or the range's end.
std::size_t WordFrom(TextView text, std::size_t position, std::size_t end) {
    while (position < end && position < text.size() && IsSeparator(text[position])) ++position;
    return std::min(position, end);
}

// Just after the last character of the word before a position: separators
// before it are passed over, never past the range's start.
std::size_t WordEndBefore(TextView text, std::size_t position, std::size_t start) {
    while (position > start && IsSeparator(At(text, position - 1))) --position;
    return position;
}

// The start of the first word after the last mark that ends a group (as
// `ends` says) and lies before `before`, with its separator, or the range's
// start when there is none.
template <typename Ends>
std::size_t StartAfterLastMark(TextView text, std::size_t before, std::size_t start,
                               std::size_t end, Ends ends) {
    for (std::size_t j = std::min(before, text.size()); j >= start + 2; --j) {
        // The mark at j - 2, its separator at j - 1.
        if (IsSeparator(text[j - 1]) && ends(text[j - 2])) return WordFrom(text, j, end);
    }
    return WordFrom(text, start, end);
}

bool EndsGroup(char32_t c) { return EndsClause(c) || EndsSentence(c); }

std::size_t PreviousGroupStart(TextView text, const ReadingCursor& cursor,
                               const ReadingOptions& options, std::size_t shown) {
    const std::size_t start = cursor.taskStart;
    const std::size_t wordEnd = WordEndBefore(text, shown, start);
    if (wordEnd <= start) return WordFrom(text, start, cursor.end);
    // A mark at the very end of the word before does not count: it ends the
    // group we are looking for.
    const std::size_t anchor = StartAfterLastMark(text, wordEnd - 1, start, cursor.end, EndsGroup);
    ReadingCursor scratch;
    scratch.newTask = false;
    scratch.position = anchor;
    scratch.end = shown;
    scratch.nextProgressMark = std::numeric_limits<std::size_t>::max();
    std::size_t found = anchor;
    while (scratch.position < scratch.end) {
        const GroupStep group = NextGroup(text, scratch, options);
        if (group.highlight && group.highlight->start < shown) found = group.highlight->start;
        if (group.kind == StepKind::StepEnd) break;
    }
    return found;
}

std::size_t SentenceStart(TextView text, const ReadingCursor& cursor, std::size_t word) {
    return StartAfterLastMark(text, word, cursor.taskStart, cursor.end, EndsSentence);
}

std::size_t PreviousSentenceStart(TextView text, const ReadingCursor& cursor, std::size_t shown) {
    const std::size_t sentence = SentenceStart(text, cursor, shown);
    if (sentence < shown) return sentence;
    const std::size_t wordEnd = WordEndBefore(text, sentence, cursor.taskStart);
    if (wordEnd <= cursor.taskStart) return sentence;
    return SentenceStart(text, cursor, wordEnd - 1);
}

std::size_t NextSentenceStart(TextView text, const ReadingCursor& cursor, std::size_t shown) {
    const std::size_t last = std::min(cursor.end, text.size());
    for (std::size_t j = shown; j + 1 < last; ++j) {
        if (EndsSentence(text[j]) && IsSeparator(text[j + 1]))
            return WordFrom(text, j + 2, cursor.end);
    }
    return cursor.end;
}

}  // namespace

std::size_t MoveTarget(TextView text, const ReadingCursor& cursor, const ReadingOptions& options,
                       ReadingMove move, std::optional<std::size_t> shown) {
    const std::size_t current = shown.value_or(WordFrom(text, cursor.position, cursor.end));
    switch (move) {
        case ReadingMove::PreviousGroup: return PreviousGroupStart(text, cursor, options, current);
        case ReadingMove::NextGroup: {
            if (shown) return cursor.position;
            ReadingCursor scratch = cursor;
            NextGroup(text, scratch, options);
            return scratch.position;
        }
        case ReadingMove::PreviousSentence: return PreviousSentenceStart(text, cursor, current);
        case ReadingMove::NextSentence: return NextSentenceStart(text, cursor, current);
    }
    return cursor.position;
}

int PlaceCursor(ReadingCursor& cursor, std::size_t position) {
    const std::size_t start = cursor.taskStart;
    position = std::clamp(position, start, std::max(start, cursor.end));
    cursor.position = position;
    const std::size_t done = position - start;
    if (cursor.progressStep == 0) {
        // A range shorter than 40: the bar moves at every step.
        cursor.nextProgressMark = start;
        const std::size_t length = cursor.end - start;
        return length == 0 ? 0 : static_cast<int>(done * kProgressSteps / length);
    }
    const std::size_t marks = std::min<std::size_t>(done / cursor.progressStep, kProgressSteps);
    cursor.nextProgressMark = start + (marks + 1) * cursor.progressStep;
    return static_cast<int>(marks);
}
