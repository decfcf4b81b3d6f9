#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "reading/ReadingCursor.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingTask.h"
#include "text/CompactText.h"
#include "text/TextRules.h"

// What the control bar's progress bar (range 1..40) does.
enum class ProgressAction {
    None,
    Reset,       // back to empty: a task was chosen
    AdvanceOne,  // the cursor has passed another fortieth of the range
    SetFull,     // the range is exhausted
};

// One step of a reading run.
struct GroupStep {
    StepKind kind = StepKind::StepAborted;
    // The reading pane's new display text, at most
    // kMaxGroupLength characters. Only plain, comma and stop steps set it; the
    // run stops on the other two, which empties the pane anyway.
    std::u32string text;
    // The characters to select in the text pane; none leaves the user's
    // selection as it is (a step that found only separators, or no group).
    std::optional<TextRange> highlight;
    ProgressAction progress = ProgressAction::None;

    bool ShowsText() const {
        return kind == StepKind::StepPlain || kind == StepKind::StepComma ||
               kind == StepKind::StepStop;
    }
    bool operator==(const GroupStep&) const = default;
};

// A group never holds more than this; a longer word is cut into pieces, and
// the highlight of a full piece covers its first kMaxGroupLength - 1
// characters.
constexpr std::size_t kMaxGroupLength = 129;
constexpr int kProgressSteps = 40;

// The marks that end a group when a separator follows them directly. Of the
// characters Windows-1251 has, "," and ":" end a clause and ".", ";", "?" and
// "!" a sentence; of the others, Unicode's sentence terminals ("。", "！",
// "؟" ...) end a sentence and the clause marks of other scripts ("、", "，",
// "；", "،" ...) a clause.
bool IsOtherClauseMark(char32_t c);
bool IsOtherSentenceMark(char32_t c);
inline bool EndsClause(char32_t c) {
    if (c < 0x80) return c == ',' || c == ':';
    return IsOtherClauseMark(c);
}
inline bool EndsSentence(char32_t c) {
    if (c < 0x80) return c == '.' || c == ';' || c == '?' || c == '!';
    return IsOtherSentenceMark(c);
}

// The first step of a task takes its range: the cursor goes to the task start
// and the progress bar's fortieths are measured.
void BeginTaskRange(TextView text, ReadingCursor& cursor);

// Cuts the next group out of the task's range and moves the cursor past it.
// The cost is that of the group and the separators before it, never of the
// text's length. The text's own length stands for the end of a task that
// runs to the end; positions past the text hold nothing and are passed over.
GroupStep NextGroup(TextView text, ReadingCursor& cursor, const ReadingOptions& options);

// The same cut when only the group's kind and length matter: the cursor moves
// exactly as NextGroup moves it, and no text is copied.
struct GroupShape {
    StepKind kind = StepKind::StepAborted;
    std::size_t length = 0;
};
GroupShape NextGroupShape(TextView text, ReadingCursor& cursor, const ReadingOptions& options);
