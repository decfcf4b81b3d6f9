#pragma once

#include <cstddef>
#include <string_view>

// The letter the eye fixes on in a word of this many letters, counted from 0:
// about a third into the word, the 1st letter of a word of 1, the 2nd of
// 2 to 5, the 3rd of 6 to 9, the 4th of 10 to 13 and the 5th beyond.
std::size_t RecognitionLetter(std::size_t wordLength);

// The recognition letter of a group shown in one-word mode, as an index
// into it: punctuation before and after the word (quotes, brackets, the
// marks that end a group) is not counted as letters.
std::size_t FocusLetterIndex(std::u16string_view word);

// Where a word `wordWidth` pixels wide starts in a pane `paneWidth` wide: the
// middle of its recognition letter, `letterMiddle` pixels into the word, at
// the middle of the pane as far as the whole word still fits, otherwise
// moved the least that shows all of it. A word wider than the pane keeps
// its letter in the middle.
int FocusedWordLeft(int paneWidth, int wordWidth, double letterMiddle);
