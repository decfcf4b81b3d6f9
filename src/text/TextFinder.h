#pragma once

#include <string>
#include <string_view>

#include "text/CompactText.h"
#include "text/TextRules.h"
#include "text/TextSearch.h"

// The one search of the program's run: its text, options and cycle. A loaded
// document does not end it. Each call takes the text and the selection as
// they are now and gives the selection to make or what to tell the user.
class TextFinder {
public:
    const SearchState& State() const { return state_; }
    // The text the last call searched for; a cycle that ended has forgotten it.
    const std::u32string& Searched() const { return searched_; }

    // OK in the search dialog: a new cycle from the selection's start.
    FindResult Find(std::u32string_view searchText, SearchOptions options, TextView text,
                    TextRange selection);
    // Ctrl+F3: a new cycle for the selected text, which it then skips.
    FindResult FindSelection(TextView text, TextRange selection);
    // F3: the next occurrence, or the end of the cycle.
    FindResult FindNext(TextView text, TextRange selection);

private:
    SearchState state_;
    std::u32string searched_;
};
