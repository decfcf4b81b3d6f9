#include "library/CBookmarksDlg.h"

#include <QListWidget>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "library/BookmarkRules.h"
#include "library/DocumentController.h"
#include "widgets/ProgramMessages.h"

namespace {

constexpr CListDlg::Layout kMarksLayout{"Закладки", "Перейти", 158, 120, 129};

}  // namespace

CBookmarksDlg::CBookmarksDlg(DocumentController& documents, DialogSizeFields sizes,
                             QSize screenSize, QWidget* parent)
    : CListDlg(kMarksLayout, sizes, screenSize, parent), documents_(documents) {
    setObjectName("MarksDialog");
    Fill();
}

void CBookmarksDlg::Fill() {
    QStringList names;
    for (const Bookmark& mark : documents_.Document().Bookmarks()) names << ToQString(mark.name);
    ShowEntries(names, names.isEmpty() ? ProgramText(kBookmarksEmpty)
                                       : ProgramText(kBookmarksCount).arg(names.size()));
    // Chosen from the start, so that Enter goes there and Home and End move
    // from it.
    if (const std::optional<std::size_t> row = OpeningBookmark(documents_.Document())) {
        List()->setCurrentRow(static_cast<int>(*row), QItemSelectionModel::ClearAndSelect);
    }
}

std::optional<std::size_t> CBookmarksDlg::ChosenBookmarkOrWarn(bool loneBookmarkWithoutSelection) {
    const std::optional<std::size_t> chosen = ChosenEntry(
        SelectedRow(), documents_.Document().Bookmarks().size(), loneBookmarkWithoutSelection);
    if (!chosen) ShowMessage(this, MessageCode::MSG_NO_BOOKMARK_SELECTED);
    return chosen;
}

void CBookmarksDlg::OnAction() {
    const std::optional<std::size_t> chosen = ChosenBookmarkOrWarn(true);
    if (!chosen) return;
    switch (documents_.GoToBookmark(*chosen)) {
        case DocumentController::BookmarkGo::Went: accept(); break;
        case DocumentController::BookmarkGo::Changed:
            // The caret and the selection stay where they were.
            if (AskYesNo(this, ProgramText(kAskRemoveInvalidBookmark))) {
                documents_.RemoveBookmark(*chosen);
                Fill();
            }
            break;
        case DocumentController::BookmarkGo::Missing: Fill(); break;
    }
}

void CBookmarksDlg::OnDelete() {
    // Deleting wants a selection even when there is only one bookmark.
    const std::optional<std::size_t> chosen = ChosenBookmarkOrWarn(false);
    if (!chosen) return;
    documents_.RemoveBookmark(*chosen);
    Fill();
}
