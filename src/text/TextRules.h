#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include "text/CompactText.h"

// Rules about the loaded text that every load and the reading tasks share.

// Of the characters Windows-1251 has, space, LF, CR and TAB separate words and
// nothing else does (a no-break space binds); of the others, Unicode white
// space does.
bool IsOtherSeparator(char32_t c);
inline bool IsSeparator(char32_t c) {
    if (c < 0x80) return c == ' ' || c == '\n' || c == '\r' || c == '\t';
    // Below the Ogham space mark the only white space beyond ASCII is the
    // next line and the no-break space, which binds: letters of the Latin,
    // Greek and Cyrillic alphabets need no look-up.
    if (c < 0x1680) return c == 0x85;
    return IsOtherSeparator(c);
}

// A range of positions [start, end) in the text.
struct TextRange {
    std::size_t start = 0;
    std::size_t end = 0;
    bool operator==(const TextRange&) const = default;
};

// Every load drops the blanks (space, CR, LF, TAB, zero) at the end of the
// text, looking at the last 256 characters only: the length that stays.
std::size_t TrimmedLength(TextView text);

// The word around a caret: up to 30 non-separator characters on each side.
// A caret between two separators gives the empty range at the caret.
TextRange WordAtCaret(TextView text, std::size_t caret);

// The line around a position, without its line break: what a triple click
// selects. CR, LF and a CR LF pair end a line.
TextRange LineAt(TextView text, std::size_t position);

// Text as it goes to the clipboard: the desktop's clipboard carries LF line
// breaks, so every CR LF pair and every lone CR becomes one LF. The text in
// the pane keeps its breaks as they are.
std::u32string ClipboardText(TextView text);

// Where a text longer than limit characters is cut: at the end of the last
// paragraph that ends within kCutSearch characters before the limit, else at
// the end of the last word there, else at the limit itself; blanks and line
// breaks in front of the cut go with it. Gives the length that stays, which is
// text.size() when the text is not longer than limit.
inline constexpr std::size_t kCutSearch = 4096;
std::size_t CutLength(TextView text, std::size_t limit);

// Texts shorter than this take no bookmarks.
constexpr std::size_t kShortText = 80;
// The most characters the text pane takes in. Loads cut a longer text with
// CutLength and say so; the pane itself drops whatever is still beyond.
constexpr std::size_t kMaxTextLength = 10'485'760;
