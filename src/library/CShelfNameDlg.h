#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Положить документ на полку": asks for the name the open document gets on
// the shelf. On OK it issues the document's shelf key and renames it; storing
// the record is the caller's business.
class CShelfNameDlg : public QDialog {
    Q_OBJECT

public:
    explicit CShelfNameDlg(QWidget* parent = nullptr);

    QLineEdit* NameField() const { return field_; }
    QPushButton* OkButton() const { return ok_; }

    // OK: an empty name is refused and the dialog stays; a shelf without a
    // key to give closes it with nothing changed.
    void accept() override;

private:
    QLineEdit* field_;
    QPushButton* ok_;
};
