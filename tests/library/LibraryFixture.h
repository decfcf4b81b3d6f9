#pragma once

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ProgramFixture.h"
#include "library/CMarkNameDlg.h"
#include "library/CShelfFile.h"
#include "library/CShelfNameDlg.h"
#include "library/LibraryCommands.h"
#include "text/CTextCtrl.h"
#include "base/CodePage.h"

// Test output shows texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

// Answers each modal dialog or message box once, after its own event loop
// has started, so that the answer may open further modal windows (a watcher
// answering from inside its own timer would not see them). Records
// "title|text" for message boxes and the title for other dialogs.
class DeferredAnswer {
public:
    using Action = std::function<void(QWidget* modal)>;

    explicit DeferredAnswer(Action action = {}) : action_(std::move(action)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start();
    }

    QStringList seen;

private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->property("lmnAnswered").toBool()) return;
        modal->setProperty("lmnAnswered", true);
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen << (box != nullptr ? box->windowTitle() + u'|' + box->text() : modal->windowTitle());
        QTimer::singleShot(0, modal, [this, modal, box] {
            if (action_) {
                action_(modal);
            } else if (box != nullptr && box->defaultButton() != nullptr) {
                box->defaultButton()->click();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->accept();
            }
        });
    }

    Action action_;
    QTimer timer_;
};

// Clicks a message box's button; other dialogs are left to `otherwise`.
inline DeferredAnswer::Action ClickButton(QMessageBox::StandardButton button,
                                          DeferredAnswer::Action otherwise = {}) {
    return [button, otherwise](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(button)->click();
        } else if (otherwise) {
            otherwise(modal);
        }
    };
}

// A started program with documents written into its directory. Texts are
// given in UTF-8; with a Cyrillic letter in them the loader takes them as
// UTF-8 and the text control holds Windows-1251, as for any such file.
class LibraryFixture : public ProgramFixture {
protected:
    QString WriteFile(const QString& fileName, const QString& text) {
        const QString path = QDir(directory.path()).filePath(fileName);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }
    bool Open(const QString& path) {
        Frame()->chooseFile = [path](QWidget*) { return path; };
        return Frame()->ChooseDocument();
    }
    // Puts the open document on the shelf under the name typed.
    void PutOnShelf(const QString& name) {
        DeferredAnswer answer([name](QWidget* modal) {
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
        DeferredAnswer answer([&offered, name](QWidget* modal) {
            auto* dialog = qobject_cast<CMarkNameDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            offered = dialog->NameField()->toPlainText();
            if (!name.isNull()) dialog->NameField()->setPlainText(name);
            QTest::keyClick(dialog->NameField(), Qt::Key_Return);
        });
        Trigger(CommandId::ID_BOOKMARK_PUT);
        return offered;
    }
    CTextCtrl& Text() const { return *Frame()->TextCtrl(); }
    static std::string Cp(const QString& text) { return Utf16ToCp1251(text.toStdU16String()); }
    static QString Shown(const std::string& text) {
        return QString::fromStdU16String(Cp1251ToUtf16(text));
    }
    // The position of a piece of the text, as the text control counts.
    std::size_t PositionOf(const QString& piece) const {
        const std::size_t at = Text().Text().find(Cp(piece));
        EXPECT_NE(at, std::string::npos) << piece.toStdString();
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
