#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "text/FolderListing.h"

class QLineEdit;
class QListWidget;
class QPushButton;

// The open dialog: the folders and documents of one folder, listed by the
// entries' own bytes so that names which are not UTF-8 can be chosen too
// (the desktop's file dialogs skip them). A double click or Return on a
// folder goes into it; on a document, or "Открыть" with a name typed or
// chosen, accepts. Backspace in the list and Alt+Up go to the folder above;
// "/" typed in the list starts a path in the name field.
class COpenDlg : public QDialog {
    Q_OBJECT

public:
    explicit COpenDlg(const std::string& folder, QWidget* parent = nullptr);

    // The folder listed, in its own bytes.
    const std::string& Folder() const { return folder_; }
    // The file chosen, in its own bytes; empty until the dialog is accepted.
    const std::string& ChosenPath() const { return chosen_; }

    QLineEdit* FolderField() const { return folderField_; }
    QListWidget* List() const { return list_; }
    QLineEdit* NameField() const { return nameField_; }
    QPushButton* OpenButton() const { return openButton_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lists a folder; a folder that cannot be read is told and the one
    // listed stays. The entry named selectName, else the first, becomes
    // current.
    bool ShowFolder(const std::string& folder, const std::string& selectName = {});
    void GoUp();
    // A folder is gone into, anything else accepted as the file chosen.
    void Choose(const std::string& path);
    void OnOpen();
    const FolderEntry* CurrentEntry() const;

    std::string folder_;
    std::string chosen_;
    std::vector<FolderEntry> entries_;
    QLineEdit* folderField_;
    QListWidget* list_;
    QLineEdit* nameField_;
    QPushButton* openButton_;
};
