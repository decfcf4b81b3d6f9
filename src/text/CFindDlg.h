#pragma once

#include <string>

#include <QDialog>
#include <QString>

#include "widgets/CLimitedTextEdit.h"
#include "text/TextSearch.h"

class QCheckBox;
class QPushButton;

// The search dialog "Искать": the text to look for (at most 220 characters)
// and the two options. It only gathers them; starting the search is the
// caller's business after OK.
class CFindDlg : public QDialog {
    Q_OBJECT

public:
    // `text` is Windows-1251, as the text control holds it.
    CFindDlg(const std::u32string& text, SearchOptions options, QWidget* parent = nullptr);

    // The field's text in Windows-1251; the text it was opened with, byte for
    // byte, while the user has not changed it.
    std::u32string SearchText() const;
    SearchOptions Options() const;

    CLimitedTextEdit* TextField() const { return field_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QCheckBox* WholeWordBox() const { return wholeWord_; }
    QPushButton* FindButton() const { return find_; }

private:
    std::u32string initialText_;
    QString initialShown_;
    CLimitedTextEdit* field_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QPushButton* find_;
};
