#include "library/CShelfNameDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/QtText.h"
#include "library/LibraryDialogRules.h"
#include "widgets/CCodePageNote.h"
#include "widgets/DialogButtons.h"
#include "widgets/DialogUnits.h"

CShelfNameDlg::CShelfNameDlg(const std::u32string& offeredName, QWidget* parent)
    : CNameDlg(MessageCode::MSG_DOCUMENT_NAME_EMPTY, parent) {
    setObjectName("ShelfNameDialog");
    setWindowTitle(ProgramText("Положить документ на полку"));
    const DialogUnits units(font());

    auto* prompt = new QLabel(ProgramText("Имя документа на полке:"), this);
    units.Place(prompt, 3, 5, 228, 9);
    field_ = new QLineEdit(this);
    field_->setObjectName("NameField");
    field_->setMaxLength(kMaxNameLength);
    units.Place(field_, 3, 18, 237, 15);
    prompt->setBuddy(field_);
    SetField(field_, [this] { return field_->text(); });

    ok_ = AddDialogButtons(*this, units, 155, 200, 42).accept;
    auto* note = new CCodePageNote(this);
    units.Place(note, 3, 37, 148, 20);
    connect(field_, &QLineEdit::textChanged, note, &CCodePageNote::Follow);

    setFixedSize(units.Size(242, 59));
    field_->setText(ToQString(offeredName));
    field_->selectAll();
    field_->setFocus();
}
