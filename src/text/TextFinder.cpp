#include "text/TextFinder.h"

#include <QMessageBox>
#include <QString>

#include "base/ProgramTexts.h"
#include "text/CFindDlg.h"
#include "text/CTextCtrl.h"
#include "base/CodePage.h"

void TextFinder::ShowFindDialog() {
    CFindDlg dialog(DialogSearchText(text_.SelectedText()), state_.options, text_.window());
    if (dialog.exec() != QDialog::Accepted) return;
    state_ = BeginSearch(dialog.SearchText(), dialog.Options(), text_.Selection());
    FindNext();
}

void TextFinder::FindSelection() {
    state_ = BeginSelectionSearch(state_, text_.SelectedText(), text_.Selection());
    FindNext();
}

void TextFinder::FindNext() {
    const std::string searched = state_.searchText;
    const FindResult result = ::FindNext(text_.Text(), text_.Selection(), state_);
    state_ = result.state;
    switch (result.outcome) {
        case FindOutcome::Found:
            text_.SetSelection(result.selection.start, result.selection.end);
            break;
        case FindOutcome::NotFound:
            ShowMessage(QString("Фрагмент текста \"%1\" не обнаружен")
                            .arg(QString::fromStdU16String(Cp1251ToUtf16(searched))));
            break;
        case FindOutcome::NothingToSearch:
            ShowMessage("Не указано что искать");
            break;
    }
}

void TextFinder::ShowMessage(const QString& text) const {
    QMessageBox box(
        QMessageBox::NoIcon,
        QString::fromUtf8(kProgramTitle.data(), static_cast<qsizetype>(kProgramTitle.size())), text,
        QMessageBox::Ok, text_.window());
    // The searched text is the user's: never taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
