#include "text/TextFinder.h"

FindResult TextFinder::Find(std::u32string_view searchText, SearchOptions options,
                            std::u32string_view text, TextRange selection) {
    state_ = BeginSearch(searchText, options, selection);
    return FindNext(text, selection);
}

FindResult TextFinder::FindSelection(std::u32string_view text, TextRange selection) {
    state_ = BeginSelectionSearch(state_, text.substr(selection.start, selection.end - selection.start),
                                  selection);
    return FindNext(text, selection);
}

FindResult TextFinder::FindNext(std::u32string_view text, TextRange selection) {
    searched_ = state_.searchText;
    FindResult result = ::FindNext(text, selection, state_);
    state_ = result.state;
    return result;
}
