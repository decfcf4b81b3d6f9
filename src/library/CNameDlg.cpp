#include "library/CNameDlg.h"

#include "base/QtText.h"
#include "library/LibraryDialogRules.h"
#include "widgets/ProgramMessages.h"

CNameDlg::CNameDlg(MessageCode emptyNameMessage, QWidget* parent)
    : QDialog(parent), emptyNameMessage_(emptyNameMessage) {}

void CNameDlg::accept() {
    std::u32string name = TrimName(FromFieldText(typedName_()));
    if (name.empty()) {
        ShowMessage(this, emptyNameMessage_);
        field_->setFocus();
        return;
    }
    name_ = std::move(name);
    QDialog::accept();
}
