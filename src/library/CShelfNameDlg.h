#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

// "Положить документ на полку": asks for the name the open document gets on
// the shelf. Storing it is the caller's business.
class CShelfNameDlg : public QDialog {
    Q_OBJECT

public:
    explicit CShelfNameDlg(const std::u32string& offeredName, QWidget* parent = nullptr);

    // After OK: the name without white space at either end.
    const std::u32string& Name() const { return name_; }

    QLineEdit* NameField() const { return field_; }
    QPushButton* OkButton() const { return ok_; }

    // OK: an empty name is refused and the dialog stays.
    void accept() override;

private:
    std::u32string name_;
    QLineEdit* field_;
    QPushButton* ok_;
};
