#pragma once

#include "text/TextSearch.h"

class CTextCtrl;
class QString;

// Search in the text control: the dialog (Ctrl+F), the next occurrence (F3)
// and a search for the selection (Ctrl+F3). It keeps the one search state of
// the program's run, so a loaded document does not end a search, and works
// through the control's text and selection only.
class TextFinder {
public:
    explicit TextFinder(CTextCtrl& text) : text_(text) {}

    // Offers the selection (unless it is too long for the dialog) with the
    // current options; OK starts a new cycle at the selection's start.
    void ShowFindDialog();
    // Starts a new cycle for the selected text, which it then skips.
    void FindSelection();
    // Selects the next occurrence, or says that the cycle is over or that
    // there is nothing to search for.
    void FindNext();

    const SearchState& State() const { return state_; }

private:
    void ShowMessage(const QString& text) const;

    CTextCtrl& text_;
    SearchState state_;
};
