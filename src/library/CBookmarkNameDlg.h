#pragma once

#include <string>

#include <QDialog>
#include <QString>

#include "widgets/CLimitedTextEdit.h"

class QPushButton;

// "Поместить закладку": the name of a new bookmark, offered from the
// sentence at the caret. The field wraps long names over several lines, but
// Enter presses OK. At most 255 characters.
class CBookmarkNameDlg : public QDialog {
    Q_OBJECT

public:
    explicit CBookmarkNameDlg(const std::u32string& proposedName, QWidget* parent = nullptr);

    // After OK: the name without white space at either end.
    const std::u32string& Name() const { return name_; }

    CLimitedTextEdit* NameField() const { return field_; }
    QPushButton* OkButton() const { return ok_; }

    // OK: an empty name is refused and the dialog stays.
    void accept() override;

private:
    std::u32string name_;
    CLimitedTextEdit* field_;
    QPushButton* ok_;
};
