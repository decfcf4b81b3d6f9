#pragma once

#include <string>

#include <QDialog>
#include <QString>

#include "widgets/CLimitedTextEdit.h"

class QPushButton;

// "Поместить закладку": the name of a new bookmark, offered from the
// sentence at the caret. The field wraps long names over several lines, but
// Enter presses OK. At most 255 characters.
class CMarkNameDlg : public QDialog {
    Q_OBJECT

public:
    // The proposal is Windows-1251, as the text holds it.
    explicit CMarkNameDlg(const std::string& proposedName, QWidget* parent = nullptr);

    // After OK: the name without white space at either end, Windows-1251.
    const std::string& Name() const { return name_; }

    CLimitedTextEdit* NameField() const { return field_; }
    QPushButton* OkButton() const { return ok_; }

    // OK: an empty name is refused and the dialog stays.
    void accept() override;

private:
    std::string name_;
    CLimitedTextEdit* field_;
    QPushButton* ok_;
};
