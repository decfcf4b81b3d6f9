#include "library/CShelfDlg.h"

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "library/DocumentController.h"
#include "widgets/ProgramMessages.h"

namespace {

constexpr CListDlg::Layout kShelfLayout{"Полка", "Открыть", 123, 84, 93};

}  // namespace

CShelfDlg::CShelfDlg(DocumentController& documents, DialogSizeFields sizes, QSize screenSize,
                     QWidget* parent)
    : CListDlg(kShelfLayout, sizes, screenSize, parent), documents_(documents) {
    setObjectName("ShelfDialog");
    Fill();
}

void CShelfDlg::Fill() {
    std::optional<std::vector<ShelfListEntry>> entries = documents_.ShelfEntries();
    const bool readable = entries.has_value();
    entries_ = std::move(entries).value_or(std::vector<ShelfListEntry>{});
    QStringList names;
    for (const ShelfListEntry& entry : entries_) names << ToQString(entry.name);
    // A shelf that cannot be read is not an empty one: the reader must not
    // take the documents for gone.
    ShowEntries(names, !readable          ? ProgramText(kShelfUnreadable)
                       : entries_.empty() ? ProgramText(kShelfEmpty)
                                          : ProgramText(kShelfCount).arg(entries_.size()));
}

std::optional<std::size_t> CShelfDlg::ChosenEntryOrWarn() {
    const std::optional<std::size_t> chosen = ChosenEntry(SelectedRow(), entries_.size(), true);
    if (!chosen) ShowMessage(this, MessageCode::MSG_NO_DOCUMENT_SELECTED);
    return chosen;
}

void CShelfDlg::OnAction() {
    const std::optional<std::size_t> chosen = ChosenEntryOrWarn();
    if (!chosen) return;
    switch (documents_.OpenFromShelf(entries_[*chosen].key)) {
        case DocumentController::ShelfOpen::Opened: accept(); return;
        case DocumentController::ShelfOpen::NotOpened: reject(); return;
        case DocumentController::ShelfOpen::FileMissing: break;
    }
    if (documents_.DropMissingDocument(AskYesNo(this, ProgramText(kAskRemoveMissingDocument)))) {
        Fill();
        if (entries_.empty()) reject();
        return;
    }
    reject();
}

void CShelfDlg::OnDelete() {
    const std::optional<std::size_t> chosen = ChosenEntryOrWarn();
    if (!chosen) return;
    if (!documents_.RemoveFromShelf(entries_[*chosen].key)) return;
    Fill();
    if (entries_.empty()) reject();
}
