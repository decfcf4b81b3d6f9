#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/CompactText.h"
#include "text/TextRules.h"

class ShelfDocument;

// The rules of bookmarks that need the text but no window: the proposed name,
// the check value that tells whether a bookmark still points at the same
// text, and the resume bookmark ".". They take the text and the selection and
// return what the text control should do; the text's length is the length of
// the loaded text (CR and LF count one each).

enum class CharClass { Ordinary, SentenceEnd, WordGap };

// CR, LF, ".", "?", "!" end a sentence; space and tab are gaps between words.
CharClass ClassifyChar(char32_t c);

struct ProposedBookmark {
    std::size_t position = 0;
    std::u32string name;  // may be empty

    bool operator==(const ProposedBookmark&) const = default;
};

// The position of a new bookmark (the selection start) and its proposed name:
// the sentence around it, taken from at most 79 characters on either side
// and cut to whole words where the sentence reaches further. Nothing when the
// text is too small to take bookmarks (fewer than 80 characters).
std::optional<ProposedBookmark> DefaultBookmarkName(TextView text, std::size_t selectionStart);

// Each byte, as a signed 8-bit number, folded in as value = 2 x value + byte,
// wrapping in 32 bits.
std::int32_t FoldCheckValue(std::string_view bytes);

// The check value at a position: 0 for a text shorter than 80 characters;
// otherwise the fold of the Windows-1251 bytes of the 14 characters from the
// position on when more than 15 follow it, else of the 16 before it ("?" for
// a character the code page lacks), so shelves stored while the program held
// text as Windows-1251 keep their bookmarks.
std::int32_t TextCheckValue(TextView text, std::size_t position);

// Adds a bookmark at the position with the check value of the text there.
void PlaceBookmark(TextView text, std::size_t position, std::u32string name,
                   ShelfDocument& document);

enum class BookmarkCheck {
    Valid,    // the text at the bookmark is what it was
    Changed,  // the document was edited: the bookmark no longer fits
    Missing,  // no bookmark at that index
};

struct BookmarkJump {
    BookmarkCheck check = BookmarkCheck::Missing;
    // The word at the bookmark when it is valid; otherwise the selection
    // as it was.
    TextRange selection;

    bool operator==(const BookmarkJump&) const = default;
};

BookmarkJump GoToBookmark(TextView text, const ShelfDocument& document, std::size_t index,
                          TextRange selection);

// The bookmark the bookmark list opens at: the resume bookmark when there is
// one, otherwise the first; nothing without bookmarks.
std::optional<std::size_t> OpeningBookmark(const ShelfDocument& document);

// Adds the resume bookmark "." at the selection start, unless the check value
// there is 0 (a text too small, or an unlucky fold). True when one was added.
bool StoreResumePosition(TextView text, std::size_t selectionStart, ShelfDocument& document);

// Removes the first resume bookmark and gives the word at its position (the
// position kept within the text) for the caret; its check value is not
// compared. Nothing when the document has no resume bookmark.
std::optional<TextRange> RestoreResumePosition(TextView text, ShelfDocument& document);
