#include "text/TextFinder.h"

FindResult TextFinder::Find(std::u32string_view searchText, SearchOptions options, TextView text,
                            TextRange selection) {
    state_ = BeginSearch(searchText, options, selection);
    return FindNext(text, selection);
}

FindResult TextFinder::FindSelection(TextView text, TextRange selection) {
    state_ = BeginSelectionSearch(
        state_, text.substr(selection.start, selection.end - selection.start).ToString(),
        selection);
    return FindNext(text, selection);
}

FindResult TextFinder::FindNext(TextView text, TextRange selection) {
    searched_ = state_.searchText;
    FindResult result = ::FindNext(text, selection, state_);
    state_ = result.state;
    return result;
}
