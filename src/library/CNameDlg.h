#pragma once

#include <QDialog>
#include <QString>
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
    // The field the name is typed in, and what it holds.
    virtual QWidget* Field() const = 0;
    virtual QString TypedName() const = 0;

    QPushButton* ok_ = nullptr;

private:
    MessageCode emptyNameMessage_;
    std::u32string name_;
};
