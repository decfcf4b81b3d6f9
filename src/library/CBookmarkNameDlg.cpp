#include "library/CBookmarkNameDlg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "widgets/CLimitedTextEdit.h"
#include "widgets/CCodePageNote.h"
#include "widgets/DialogButtons.h"
#include "widgets/DialogUnits.h"
#include "widgets/ProgramMessages.h"
#include "library/LibraryDialogRules.h"
#include "base/QtText.h"

namespace {

// A name is one line in the bookmarks list: a line break pasted into the
// field becomes a space. The raw text keeps no-break spaces as they are.
QString FieldText(const CLimitedTextEdit* field) {
    QString text = field->RawText();
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

}  // namespace

CBookmarkNameDlg::CBookmarkNameDlg(const std::u32string& proposedName, QWidget* parent) : QDialog(parent) {
    setObjectName("MarkNameDialog");
    setWindowTitle(QStringLiteral("Поместить закладку"));
    const DialogUnits units(font());

    field_ = new CLimitedTextEdit(kMaxNameLength, this);
    field_->setObjectName("NameField");
    field_->setTabChangesFocus(true);
    field_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    field_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    field_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    units.Place(field_, 3, 5, 181, 44);
    auto* note = new CCodePageNote(this);
    units.Place(note, 3, 51, 94, 22);
    connect(field_, &QPlainTextEdit::textChanged, note,
            [this, note] { note->Follow(field_->toPlainText()); });
    field_->setPlainText(ToQString(proposedName));
    field_->selectAll();

    ok_ = AddDialogButtons(*this, units, 100, 144, 55).accept;
    field_->SetEnterClicks(ok_, false);

    setFixedSize(units.Size(187, 73));
    field_->setFocus();
}

void CBookmarkNameDlg::accept() {
    std::u32string name = TrimName(FromFieldText(FieldText(field_)));
    if (name.empty()) {
        ShowMessage(this, MessageCode::MSG_BOOKMARK_NAME_EMPTY);
        field_->setFocus();
        return;
    }
    name_ = std::move(name);
    QDialog::accept();
}
