#pragma once

#include <cstddef>
#include <optional>

#include "library/CListDlg.h"

class DocumentController;

// The bookmarks dialog "Закладки": the open document's bookmarks in the order
// of their positions. "Перейти" puts the caret on one and reads on from
// there, unless the text around it has changed since it was placed;
// "Удалить" removes the selected one without asking.
class CBookmarksDlg : public CListDlg {
    Q_OBJECT

public:
    CBookmarksDlg(DocumentController& documents, DialogSizeFields sizes, QSize screenSize,
                  QWidget* parent = nullptr);

private:
    void Fill();
    // The bookmark an action works on; tells the user when there is none.
    std::optional<std::size_t> ChosenBookmarkOrWarn(bool loneBookmarkWithoutSelection);
    void OnAction() override;
    void OnDelete() override;

    DocumentController& documents_;
};
