#include "library/CMarksDlg.h"

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "library/CDocumentController.h"
#include "widgets/ProgramMessages.h"

namespace {

constexpr CListDlg::Layout kMarksLayout{"Закладки", "Перейти", 158, 120, 129};

}  // namespace

CMarksDlg::CMarksDlg(CDocumentController& documents, DialogSizeFields sizes, QSize screenSize,
                     QWidget* parent)
    : CListDlg(kMarksLayout, sizes, screenSize, parent), documents_(documents) {
    setObjectName("MarksDialog");
    Fill();
}

void CMarksDlg::Fill() {
    QStringList names;
    for (const Bookmark& mark : documents_.Document().Bookmarks()) names << ToQString(mark.name);
    ShowEntries(names, names.isEmpty() ? ProgramText(kBookmarksEmpty)
                                       : ProgramText(kBookmarksCount).arg(names.size()));
}

std::optional<std::size_t> CMarksDlg::ChosenBookmarkOrWarn(bool loneBookmarkWithoutSelection) {
    const std::optional<std::size_t> chosen =
        ChosenEntry(SelectedRow(), documents_.Document().Bookmarks().size(),
                    loneBookmarkWithoutSelection);
    if (!chosen) ShowMessage(this, MessageCode::MSG_NO_BOOKMARK_SELECTED);
    return chosen;
}

void CMarksDlg::OnAction() {
    const std::optional<std::size_t> chosen = ChosenBookmarkOrWarn(true);
    if (!chosen) return;
    switch (documents_.GoToBookmark(*chosen)) {
        case CDocumentController::BookmarkGo::Went:
            accept();
            break;
        case CDocumentController::BookmarkGo::Changed:
            // The caret and the selection stay where they were.
            if (AskYesNo(this, ProgramText(kAskRemoveInvalidBookmark))) {
                documents_.RemoveBookmark(*chosen);
                Fill();
            }
            break;
        case CDocumentController::BookmarkGo::Missing:
            Fill();
            break;
    }
}

void CMarksDlg::OnDelete() {
    // Deleting wants a selection even when there is only one bookmark.
    const std::optional<std::size_t> chosen = ChosenBookmarkOrWarn(false);
    if (!chosen) return;
    documents_.RemoveBookmark(*chosen);
    Fill();
}
