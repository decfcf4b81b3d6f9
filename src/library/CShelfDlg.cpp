#include "library/CShelfDlg.h"

#include <QMessageBox>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "frame/CMainFrame.h"
#include "library/CShelfFile.h"
#include "library/ShelfDocument.h"
#include "settings/SettingsHolder.h"
#include "base/CodePage.h"

namespace {

constexpr CListDlg::Layout kShelfLayout{"Полка", "Открыть", 123, 84, 93};

DialogSizeFields ShelfDialogSizes() {
    ReaderSettings& s = CLmnApp::Instance()->Settings().settings;
    return {s.shelfDialogWidth, s.shelfDialogHeight, s.shelfDialogMinWidth, s.shelfDialogMinHeight};
}

}  // namespace

CShelfDlg::CShelfDlg(CMainFrame& frame, QWidget* parent)
    : CListDlg(kShelfLayout, ShelfDialogSizes(), CLmnApp::Instance()->ScreenSize(), parent),
      frame_(frame),
      shelf_(CLmnApp::Instance()->Shelf()),
      document_(CLmnApp::Instance()->Document()) {
    setObjectName("ShelfDialog");
    Fill();
}

void CShelfDlg::Fill() {
    entries_ = shelf_.ListEntries().value_or(std::vector<ShelfListEntry>{});
    QStringList names;
    for (const ShelfListEntry& entry : entries_) {
        names << QString::fromStdU16String(Cp1251ToUtf16(entry.name));
    }
    ShowEntries(names, entries_.empty()
                           ? QStringLiteral("Документов на полке нет")
                           : QStringLiteral("Документов на полке: %1").arg(entries_.size()));
}

std::optional<std::size_t> CShelfDlg::ChosenEntryOrWarn() const {
    const std::optional<std::size_t> chosen = ChosenEntry(SelectedRow(), entries_.size(), true);
    if (!chosen) CLmnApp::Instance()->ShowMessage(MSG_NO_DOCUMENT_SELECTED);
    return chosen;
}

void CShelfDlg::OnAction() {
    const std::optional<std::size_t> chosen = ChosenEntryOrWarn();
    if (!chosen) return;
    if (!document_.LoadFromShelf(shelf_, entries_[*chosen].key)) {
        reject();
        return;
    }
    if (document_.FileExists()) {
        if (frame_.LoadDocument()) {
            frame_.ResumeShelvedDocument();
        } else {
            // Reported already; a shelved document is not left open without
            // its text.
            document_.Clear();
        }
        accept();
        return;
    }
    if (AskToRemoveMissingDocument() && shelf_.Delete(document_.key) == ShelfStatus::Done) {
        document_.Clear();
        Fill();
        if (entries_.empty()) reject();
        return;
    }
    // The document stays on the shelf as it was, but it is not open: a
    // record without its text would offer bookmarks that all look invalid.
    document_.Clear();
    reject();
}

bool CShelfDlg::AskToRemoveMissingDocument() {
    QMessageBox question(QMessageBox::Question, CLmnApp::applicationName(),
                         QStringLiteral("Открыть документ не удаётся.\n"
                                        "По-видимому документ был удалён или переименован.\n"
                                        "Убрать его с полки?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::Yes);
    return question.exec() == QMessageBox::Yes;
}

void CShelfDlg::OnDelete() {
    const std::optional<std::size_t> chosen = ChosenEntryOrWarn();
    if (!chosen) return;
    int key = entries_[*chosen].key;
    if (key == document_.key) {
        // The open document goes back to the shelf before it is closed, as
        // every closing does. Storing the only record of a shelf renumbers it
        // to 1, so the record to delete is the one the document names then.
        frame_.ReturnToShelf(document_);
        key = document_.key;
        document_.Clear();
        frame_.ResetTask();
    }
    if (shelf_.Delete(key) != ShelfStatus::Done) return;
    Fill();
    if (entries_.empty()) reject();
}
