#include "library/CBookmarkNameDlg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "base/QtText.h"
#include "library/LibraryDialogRules.h"
#include "widgets/CCodePageNote.h"
#include "widgets/CLimitedTextEdit.h"
#include "widgets/DialogButtons.h"
#include "widgets/DialogUnits.h"

CBookmarkNameDlg::CBookmarkNameDlg(const std::u32string& proposedName, QWidget* parent)
    : CNameDlg(MessageCode::MSG_BOOKMARK_NAME_EMPTY, parent) {
    setObjectName("MarkNameDialog");
    setWindowTitle(ProgramText("Поместить закладку"));
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
    // A name is one line in the bookmarks list: a line break pasted into the
    // field becomes a space. The raw text keeps no-break spaces as they are.
    SetField(field_, [this] {
        QString text = field_->RawText();
        text.replace(u'\n', u' ');
        text.replace(u'\r', u' ');
        return text;
    });
    field_->setPlainText(ToQString(proposedName));
    field_->selectAll();

    ok_ = AddDialogButtons(*this, units, 100, 144, 55).accept;
    field_->SetEnterClicks(ok_, false);

    setFixedSize(units.Size(187, 73));
    field_->setFocus();
}
