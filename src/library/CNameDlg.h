#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "base/ProgramTexts.h"

class QPushButton;

// A dialog that asks for a name: OK takes the name typed, without white
// space at either end, and refuses an empty one with its own message,
// keeping the dialog open.
class CNameDlg : public QDialog {
    Q_OBJECT

public:
    // After OK: the name without white space at either end.
    const std::u32string& Name() const { return name_; }
    QPushButton* OkButton() const { return ok_; }

    void accept() override;

protected:
    CNameDlg(MessageCode emptyNameMessage, QWidget* parent);
    // The field the name is typed in, and how to read the name from it.
    void SetField(QWidget* field, std::function<QString()> typedName) {
        field_ = field;
        typedName_ = std::move(typedName);
    }

    QPushButton* ok_ = nullptr;

private:
    MessageCode emptyNameMessage_;
    QWidget* field_ = nullptr;
    std::function<QString()> typedName_;
    std::u32string name_;
};
