#include "library/CMarkNameDlg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "widgets/CLimitedTextEdit.h"
#include "widgets/DialogUnits.h"
#include "library/LibraryDialogRules.h"
#include "base/CodePage.h"

namespace {

constexpr int kMaxNameLength = 255;

// A name is one line in the bookmarks list: a line break pasted into the
// field becomes a space. The raw text keeps no-break spaces as they are.
QString FieldText(const CLimitedTextEdit* field) {
    QString text = field->RawText();
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

}  // namespace

CMarkNameDlg::CMarkNameDlg(const std::string& proposedName, QWidget* parent) : QDialog(parent) {
    setObjectName("MarkNameDialog");
    setWindowTitle(QStringLiteral("Поместить закладку"));
    const DialogUnits units(font());

    field_ = new CLimitedTextEdit(kMaxNameLength, this);
    field_->setObjectName("NameField");
    field_->setTabChangesFocus(true);
    field_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    field_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    field_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field_->installEventFilter(this);
    units.Place(field_, 3, 5, 181, 44);
    field_->setPlainText(QString::fromStdU16String(Cp1251ToUtf16(proposedName)));
    field_->selectAll();

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName("OkButton");
    ok_->setDefault(true);
    units.Place(ok_, 100, 55, 40, 14);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName("CancelButton");
    units.Place(cancel, 144, 55, 40, 14);
    connect(ok_, &QPushButton::clicked, this, &CMarkNameDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(units.Size(187, 73));
    field_->setFocus();
}

void CMarkNameDlg::accept() {
    std::string name = TrimName(Utf16ToCp1251(FieldText(field_).toStdU16String()));
    if (name.empty()) {
        CLmnApp::Instance()->ShowMessage(MSG_BOOKMARK_NAME_EMPTY);
        field_->setFocus();
        return;
    }
    name_ = std::move(name);
    QDialog::accept();
}

// The field takes no line breaks: Enter presses the default button, as it
// would in a one-line field.
bool CMarkNameDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ok_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
