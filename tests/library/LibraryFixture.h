#pragma once

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "base/QtText.h"
#include "library/CBookmarkNameDlg.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfFile.h"
#include "text/CTextCtrl.h"

// Test output shows texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

// Types a text key by key, one key per character, as an input method hands
// in characters QTest::keyClicks cannot (beyond Latin-1).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const char32_t c : text.toStdU32String()) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                            Qt::NoModifier);
    }
}

// Clicks a message box's button; other dialogs are left to `otherwise`.
inline ModalAnswer::Action ClickButton(QMessageBox::StandardButton button,
                                       ModalAnswer::Action otherwise = {}) {
    return [button, otherwise](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(button)->click();
        } else if (otherwise) {
            otherwise(modal);
        }
    };
}

// A started program with documents written into its directory. Texts are
// written in UTF-8, which the loader takes as UTF-8, as for any such file.
class LibraryFixture : public ProgramFixture {
protected:
    QString WriteFile(const QString& fileName, const QString& text) {
        const QString path = QDir(directory.path()).filePath(fileName);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }
    // Puts the open document on the shelf under the name typed.
    void PutOnShelf(const QString& name) {
        ModalAnswer answer([name](QWidget* modal) {
            if (auto* dialog = qobject_cast<CShelfNameDlg*>(modal)) {
                dialog->NameField()->setText(name);
                dialog->OkButton()->click();
            }
        });
        Trigger(CommandId::ID_SHELF_PUT);
    }
    // Places a bookmark at the caret under the name typed into the dialog;
    // gives what the dialog offered.
    QString PlaceNamed(const QString& name) {
        QString offered;
        ModalAnswer answer([&offered, name](QWidget* modal) {
            auto* dialog = qobject_cast<CBookmarkNameDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            offered = dialog->NameField()->toPlainText();
            if (!name.isNull()) dialog->NameField()->setPlainText(name);
            QTest::keyClick(dialog->NameField(), Qt::Key_Return);
        });
        Trigger(CommandId::ID_BOOKMARK_PUT);
        return offered;
    }
    CTextCtrl& Text() const { return *Frame()->TextCtrl(); }
    static std::u32string Core(const QString& text) { return FromQString(text); }
    static QString Shown(std::u32string_view text) { return ToQString(text); }
    // The position of a piece of the text, as the text control counts.
    std::size_t PositionOf(const QString& piece) const {
        const std::size_t at = Text().Document().Characters().find(Core(piece));
        EXPECT_NE(at, std::u32string::npos) << piece.toStdString();
        return at;
    }
    QStringList ShelfNames() {
        QStringList names;
        for (const ShelfListEntry& entry :
             shelf.ListEntries().value_or(std::vector<ShelfListEntry>{})) {
            names << Shown(entry.name);
        }
        return names;
    }
};
