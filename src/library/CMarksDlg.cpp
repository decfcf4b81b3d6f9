#include "library/CMarksDlg.h"

#include <QMessageBox>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "frame/CMainFrame.h"
#include "library/BookmarkRules.h"
#include "library/ShelfDocument.h"
#include "settings/SettingsHolder.h"
#include "text/CTextCtrl.h"
#include "base/CodePage.h"

namespace {

constexpr CListDlg::Layout kMarksLayout{"Закладки", "Перейти", 158, 120, 129};

DialogSizeFields MarksDialogSizes() {
    ReaderSettings& s = CLmnApp::Instance()->Settings().settings;
    return {s.bookmarksDialogWidth, s.bookmarksDialogHeight, s.bookmarksDialogMinWidth,
            s.bookmarksDialogMinHeight};
}

}  // namespace

CMarksDlg::CMarksDlg(CMainFrame& frame, QWidget* parent)
    : CListDlg(kMarksLayout, MarksDialogSizes(), CLmnApp::Instance()->ScreenSize(), parent),
      frame_(frame),
      document_(CLmnApp::Instance()->Document()) {
    setObjectName("MarksDialog");
    Fill();
}

void CMarksDlg::Fill() {
    QStringList names;
    for (const Bookmark& mark : document_.Bookmarks()) {
        names << QString::fromStdU16String(Cp1251ToUtf16(mark.name));
    }
    ShowEntries(names, names.isEmpty() ? QStringLiteral("Закладок нет")
                                       : QStringLiteral("Всего закладок: %1").arg(names.size()));
}

std::optional<std::size_t> CMarksDlg::ChosenBookmarkOrWarn(
    bool loneBookmarkWithoutSelection) const {
    const std::optional<std::size_t> chosen =
        ChosenEntry(SelectedRow(), document_.Bookmarks().size(), loneBookmarkWithoutSelection);
    if (!chosen) CLmnApp::Instance()->ShowMessage(MSG_NO_BOOKMARK_SELECTED);
    return chosen;
}

void CMarksDlg::OnAction() {
    const std::optional<std::size_t> chosen = ChosenBookmarkOrWarn(true);
    if (!chosen) return;
    CTextCtrl* text = frame_.TextCtrl();
    const BookmarkJump jump = GoToBookmark(text->Text(), document_, *chosen, text->Selection());
    switch (jump.check) {
        case BookmarkCheck::Valid:
            text->SetSelection(jump.selection.start, jump.selection.end);
            frame_.ChooseReadingTask(ReadingTask::TaskFromCaret);
            accept();
            break;
        case BookmarkCheck::Changed:
            // The caret and the selection stay where they were.
            if (AskToRemoveInvalidBookmark()) {
                document_.RemoveBookmark(*chosen);
                Fill();
            }
            break;
        case BookmarkCheck::Missing:
            Fill();
            break;
    }
}

bool CMarksDlg::AskToRemoveInvalidBookmark() {
    QMessageBox question(QMessageBox::Question, CLmnApp::applicationName(),
                         QStringLiteral("Эта закладка недействительна.\n"
                                        "По-видимому в документ были внесены изменения.\n"
                                        "Удалить эту закладку?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::Yes);
    return question.exec() == QMessageBox::Yes;
}

void CMarksDlg::OnDelete() {
    // Deleting wants a selection even when there is only one bookmark.
    const std::optional<std::size_t> chosen = ChosenBookmarkOrWarn(false);
    if (!chosen) return;
    document_.RemoveBookmark(*chosen);
    Fill();
}
