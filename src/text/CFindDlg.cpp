#include "text/CFindDlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "base/QtText.h"
#include "widgets/CLimitedTextEdit.h"
#include "widgets/DialogUnits.h"

namespace {

constexpr int kFieldLimit = static_cast<int>(kMaxDialogSearchText);

// The widget knows one kind of line break; the text may hold CR LF, a bare
// CR or a bare LF.
QString ShownText(const std::u32string& text) {
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

}  // namespace

CFindDlg::CFindDlg(const std::u32string& text, SearchOptions options, QWidget* parent)
    : QDialog(parent), initialText_(text), initialShown_(ShownText(text)) {
    setObjectName("FindDialog");
    setWindowTitle(ProgramText("Искать"));
    const DialogUnits units(font());

    field_ = new CLimitedTextEdit(kFieldLimit, this);
    field_->setObjectName("FindText");
    field_->setTabChangesFocus(true);
    units.Place(field_, 3, 4, 218, 38);
    field_->setPlainText(initialShown_);
    field_->selectAll();

    matchCase_ = new QCheckBox(ProgramText("Различать заглавные"), this);
    matchCase_->setObjectName("MatchCase");
    matchCase_->setChecked(options.matchCase);
    units.Place(matchCase_, 3, 47, 120, 11);
    wholeWord_ = new QCheckBox(ProgramText("Целое слово"), this);
    wholeWord_->setObjectName("WholeWord");
    wholeWord_->setChecked(options.wholeWord);
    units.Place(wholeWord_, 147, 47, 72, 11);

    auto* hint = new QLabel(ProgramText("Клавиша F3 - искать далее"), this);
    units.Place(hint, 3, 66, 122, 9);

    find_ = new QPushButton(ProgramText("Искать"), this);
    find_->setObjectName("FindButton");
    find_->setDefault(true);
    units.Place(find_, 137, 62, 40, 15);
    auto* cancel = new QPushButton(ProgramText("Отмена"), this);
    cancel->setObjectName("CancelButton");
    units.Place(cancel, 181, 62, 40, 14);
    connect(find_, &QPushButton::clicked, this, &QDialog::accept);
    field_->SetEnterClicks(find_, true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(units.Size(224, 80));
    field_->setFocus();
}

std::u32string CFindDlg::SearchText() const {
    const QString shown = field_->RawText();
    if (shown == initialShown_) return initialText_;
    // Line breaks the user typed are the program's own: CR LF.
    QString typed = shown;
    typed.replace(u'\n', QStringLiteral("\r\n"));
    return FromQString(typed);
}

SearchOptions CFindDlg::Options() const {
    return {matchCase_->isChecked(), wholeWord_->isChecked()};
}
