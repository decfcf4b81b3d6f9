#pragma once

#include <QDialog>
#include <QRect>
#include <QStringList>
#include <cstddef>
#include <optional>

#include "library/LibraryDialogRules.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;

// What the shelf dialog and the bookmarks dialog share: a list of names,
// an action button (the default), "Отмена" and "Удалить" under it, and a
// status bar with a size grip that counts the entries. The dialog opens
// centred at the size the user last gave it and cannot be made smaller than
// the size it had the first time it was ever shown; the list grows with it
// and the buttons keep to their corners.
class CListDlg : public QDialog {
    Q_OBJECT

public:
    // A template in dialog units: the list at (3, 4) over the whole width,
    // the buttons in one row under it.
    struct Layout {
        const char* title;
        const char* actionText;
        int height;
        int listHeight;
        int buttonTop;
    };

    QListWidget* List() const { return list_; }
    QPushButton* ActionButton() const { return action_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* DeleteButton() const { return delete_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    QString CountLine() const;

protected:
    CListDlg(const Layout& layout, DialogSizeFields sizes, QSize screenSize, QWidget* parent);

    // Shows the names in list order and the count line. An empty list
    // disables the action and "Удалить"; nothing enables them again, since
    // nothing fills an empty list while the dialog is open.
    void ShowEntries(const QStringList& names, const QString& countLine);
    std::optional<std::size_t> SelectedRow() const;

    // The action button, Enter and a double click on an entry.
    virtual void OnAction() = 0;
    virtual void OnDelete() = 0;

    void resizeEvent(QResizeEvent* event) override;

private:
    DialogSizeFields sizes_;
    QSize templateSize_;
    QRect listRect_;
    QRect actionRect_;
    QRect cancelRect_;
    QRect deleteRect_;
    bool opened_ = false;
    QListWidget* list_;
    QPushButton* action_;
    QPushButton* cancel_;
    QPushButton* delete_;
    QStatusBar* statusBar_;
    QLabel* countLine_;
};
