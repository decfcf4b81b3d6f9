#pragma once

#include <string>

#include "library/CNameDlg.h"

class QLineEdit;

// "Положить документ на полку": asks for the name the open document gets on
// the shelf. Storing it is the caller's business.
class CShelfNameDlg : public CNameDlg {
    Q_OBJECT

public:
    explicit CShelfNameDlg(const std::u32string& offeredName, QWidget* parent = nullptr);

    QLineEdit* NameField() const { return field_; }

private:
    QLineEdit* field_;
};
