#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/CompactText.h"
#include "text/TextRules.h"

// Forward search over the text, and the F3 cycle around it.

struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;

    bool operator==(const SearchOptions&) const = default;
};

// Unicode's full case folding of one character, appended to `out`: "Ё" and
// "ё" fold alike (but not "е"), "ß" folds to "ss", and a character without
// case is its own fold.
void AppendCaseFold(char32_t c, std::u32string& out);
// Letters, combining marks and decimal digits are what words are made of;
// separators, punctuation and every other sign bound a word.
bool IsWordCharacter(char32_t c);

// The first occurrence of `what` that starts in [from, to) of the text, or
// none. Without matchCase an occurrence is a run of whole characters whose
// case folding equals that of `what`, so it may be longer or shorter than
// `what` ("STRASSE" finds "Straße"). An occurrence may run on past `to` (so one that starts before
// a search's starting point is found when the search comes round to it), never past the end of the
// text. A whole-word occurrence has no word character just before or just after it in the text. An
// empty `what` is never found.
std::optional<TextRange> FindForward(TextView text, std::u32string_view what, std::size_t from,
                                     std::size_t to, SearchOptions options);

// The longest search text; a longer selection is cut to it for Ctrl+F3.
constexpr std::size_t kMaxSearchText = 255;
// The search dialog takes at most this many characters, and is not offered
// a longer selection.
constexpr std::size_t kMaxDialogSearchText = 220;

// A search cycle: it starts at `origin`, runs to the end of the text, wraps
// once to the start and runs up to `origin`. Loading another text keeps it.
struct SearchState {
    std::u32string searchText;  // empty: there is no search
    SearchOptions options;
    std::size_t origin = 0;
    bool wrapped = false;

    bool operator==(const SearchState&) const = default;
};

enum class FindOutcome {
    Found,  // select the occurrence
    NotFound,  // the cycle is over: "Фрагмент текста \"%s\" не обнаружен" with the
               // search text it ran with; the new state has no search text
    NothingToSearch,  // "Не указано что искать"; nothing changes
};

struct FindResult {
    FindOutcome outcome = FindOutcome::NothingToSearch;
    TextRange selection;  // the occurrence when found, else the selection as it was
    SearchState state;

    bool operator==(const FindResult&) const = default;
};

// F3: the next occurrence after the selection's start (at the caret when the
// selection is empty), wrapping once.
FindResult FindNext(TextView text, TextRange selection, const SearchState& state);

// The text the search dialog opens with: the selection, unless it is longer
// than the dialog takes.
std::u32string DialogSearchText(std::u32string_view selectedText);
// OK in the dialog: a new cycle from the selection's start. Then FindNext.
SearchState BeginSearch(std::u32string_view searchText, SearchOptions options, TextRange selection);
// Ctrl+F3: a new cycle for the selected text, with the options kept. Then
// FindNext, which starts one past the selection and so finds the next one.
SearchState BeginSelectionSearch(const SearchState& state, std::u32string_view selectedText,
                                 TextRange selection);
