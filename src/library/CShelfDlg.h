#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "library/CListDlg.h"
#include "library/ShelfContents.h"

class DocumentController;

// The shelf dialog "Полка": the shelved documents, newest first. Opening one
// loads its file and puts the caret back where reading stopped; a document
// whose file has gone can be taken off the shelf; "Удалить" takes one off
// without asking.
class CShelfDlg : public CListDlg {
    Q_OBJECT

public:
    CShelfDlg(DocumentController& documents, DialogSizeFields sizes, QSize screenSize,
              QWidget* parent = nullptr);

    const std::vector<ShelfListEntry>& Entries() const { return entries_; }

private:
    void Fill();
    // The entry an action works on; tells the user when there is none.
    std::optional<std::size_t> ChosenEntryOrWarn();
    void OnAction() override;
    void OnDelete() override;

    DocumentController& documents_;
    std::vector<ShelfListEntry> entries_;
};
