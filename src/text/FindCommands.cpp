#include "text/FindCommands.h"

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "text/CFindDlg.h"
#include "text/CTextCtrl.h"
#include "text/TextFinder.h"
#include "widgets/ProgramMessages.h"

namespace {

void ShowResult(const FindResult& result, const TextFinder& finder, CTextCtrl& text) {
    switch (result.outcome) {
        case FindOutcome::Found:
            text.SetSelection(result.selection.start, result.selection.end);
            break;
        case FindOutcome::NotFound:
            ShowNote(text.window(), ProgramText(kSearchNotFound).arg(ToQString(finder.Searched())));
            break;
        case FindOutcome::NothingToSearch:
            ShowNote(text.window(), ProgramText(kNothingToSearch));
            break;
    }
}

}  // namespace

void ShowFindDialog(TextFinder& finder, const DocumentText& document, CTextCtrl& text) {
    CFindDlg dialog(DialogSearchText(document.Slice(text.Selection())), finder.State().options,
                    text.window());
    if (dialog.exec() != QDialog::Accepted) return;
    ShowResult(
        finder.Find(dialog.SearchText(), dialog.Options(), document.Characters(), text.Selection()),
        finder, text);
}

void FindNextCommand(TextFinder& finder, const DocumentText& document, CTextCtrl& text) {
    ShowResult(finder.FindNext(document.Characters(), text.Selection()), finder, text);
}

void FindSelectionCommand(TextFinder& finder, const DocumentText& document, CTextCtrl& text) {
    ShowResult(finder.FindSelection(document.Characters(), text.Selection()), finder, text);
}
