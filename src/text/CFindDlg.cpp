#include "text/CFindDlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "widgets/CLimitedTextEdit.h"
#include "widgets/DialogUnits.h"
#include "base/CodePage.h"

namespace {

constexpr int kFieldLimit = static_cast<int>(kMaxDialogSearchText);

// The widget knows one kind of line break; the text may hold CR LF, a bare
// CR or a bare LF.
QString ShownText(const std::string& text) {
    QString shown = QString::fromStdU16String(Cp1251ToUtf16(text));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

}  // namespace

CFindDlg::CFindDlg(const std::string& text, SearchOptions options, QWidget* parent)
    : QDialog(parent), initialText_(text), initialShown_(ShownText(text)) {
    setObjectName("FindDialog");
    setWindowTitle("Искать");
    const DialogUnits units(font());

    field_ = new CLimitedTextEdit(kFieldLimit, this);
    field_->setObjectName("FindText");
    field_->setTabChangesFocus(true);
    field_->installEventFilter(this);
    units.Place(field_, 3, 4, 218, 38);
    field_->setPlainText(initialShown_);
    field_->selectAll();

    matchCase_ = new QCheckBox("Различать заглавные", this);
    matchCase_->setObjectName("MatchCase");
    matchCase_->setChecked(options.matchCase);
    units.Place(matchCase_, 3, 47, 120, 11);
    wholeWord_ = new QCheckBox("Целое слово", this);
    wholeWord_->setObjectName("WholeWord");
    wholeWord_->setChecked(options.wholeWord);
    units.Place(wholeWord_, 147, 47, 72, 11);

    auto* hint = new QLabel("Клавиша F3 - искать далее", this);
    units.Place(hint, 3, 66, 122, 9);

    find_ = new QPushButton("Искать", this);
    find_->setObjectName("FindButton");
    find_->setDefault(true);
    units.Place(find_, 137, 62, 40, 15);
    auto* cancel = new QPushButton("Отмена", this);
    cancel->setObjectName("CancelButton");
    units.Place(cancel, 181, 62, 40, 14);
    connect(find_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(units.Size(224, 80));
    field_->setFocus();
}

std::string CFindDlg::SearchText() const {
    const QString shown = field_->RawText();
    if (shown == initialShown_) return initialText_;
    // Line breaks the user typed are the program's own: CR LF.
    QString typed = shown;
    typed.replace(u'\n', QStringLiteral("\r\n"));
    return Utf16ToCp1251(typed.toStdU16String());
}

SearchOptions CFindDlg::Options() const {
    return {matchCase_->isChecked(), wholeWord_->isChecked()};
}

// Enter in the field presses the default button, as in a one-line field;
// Ctrl+Enter starts a new line.
bool CFindDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier) {
                field_->insertPlainText(QStringLiteral("\n"));
            } else {
                find_->click();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
