#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <thread>

#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "library/CShelfNameDlg.h"
#include "library/DocumentController.h"
#include "library/ShelfFile.h"
#include "settings/ReaderSettings.h"

// Books through the controller: what the user sees when one cannot be read,
// the progress dialog of a slow one, and the shelf name a book offers.

namespace {

const std::string kData = LMN_TEST_DATA "/books/";

QString Message(MessageCode code) {
    return ProgramText(kProgramTitle) + u'|' + ProgramText(MessageText(code));
}

class BookLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        shelf.SetPath(QDir(directory.path()).filePath("bksh.dat").toStdString());
        // The text pane's selection, as the controller asks for it and sets it.
        QObject::connect(&documents, &DocumentController::TextChanged, [this] { selection = {}; });
        QObject::connect(&documents, &DocumentController::SelectionRequested,
                         [this](std::size_t start, std::size_t end) {
                             selection = {start, end};
                         });
    }
    std::string Write(const QString& name, const QByteArray& bytes) const {
        const QString path = QDir(directory.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QFile::encodeName(path).toStdString();
    }
    // The name the shelf's naming dialog offers; the dialog is cancelled.
    QString OfferedName() {
        QString offered;
        ModalAnswer answer([&offered](QWidget* modal) {
            if (auto* dialog = qobject_cast<CShelfNameDlg*>(modal)) {
                offered = dialog->NameField()->text();
                dialog->reject();
            }
        });
        documents.PutOnShelf();
        return offered;
    }
    // A text already open, which a failed book must leave in place.
    void OpenPrevious() {
        ASSERT_TRUE(documents.OpenFile(Write("old.txt", "The old text stays.")));
    }

    QTemporaryDir directory;
    ShelfFile shelf;
    ShelfDocument document;
    ReaderSettings settings = DefaultSettings(1024, 768);
    TextRange selection;
    DocumentController documents{document,         shelf,  [this] { return selection; }, settings,
                                 QSize(1024, 768), nullptr};
};

TEST_F(BookLoadTest, ABookThatCannotBeReadSaysWhyAndKeepsThePreviousText) {
    struct Case {
        const char* label;
        std::string path;
        MessageCode message;
    };
    const Case cases[] = {
        {"password", kData + "sample-password.pdf", MessageCode::MSG_BOOK_ENCRYPTED},
        {"scanned", kData + "sample-scanned.pdf", MessageCode::MSG_BOOK_NO_TEXT},
        {"damaged", Write("broken.pdf", "%PDF-1.4\nnot really"), MessageCode::MSG_BOOK_DAMAGED},
        {"missing", Write("gone.txt", "") + ".pdf", MessageCode::MSG_FILE_OPEN_FAILED},
        {"not a zip named .odt", Write("tale.odt", "PK"), MessageCode::MSG_BOOK_DAMAGED},
        {"not a zip named .fb2.zip", Write("tale.fb2.zip", "<FictionBook/>"),
         MessageCode::MSG_BOOK_DAMAGED},
    };
    OpenPrevious();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ModalAnswer answer;
        EXPECT_FALSE(documents.OpenFile(c.path));
        EXPECT_EQ(answer.seen, QStringList{Message(c.message)});
        EXPECT_EQ(documents.Text().Characters(), U"The old text stays.");
        EXPECT_EQ(documents.Title(), "Orvek Lumeno - old.txt");
        EXPECT_EQ(document.key, ShelfDocument::kNotOnShelf);
    }
}

TEST_F(BookLoadTest, TooLargeHasTheBookMessage) {
    documents.SetBookLoad([](const std::string&, DocumentKind, const BookProgress&) {
        LoadedText loaded;
        loaded.error = LoadError::BookTooLarge;
        return loaded;
    });
    OpenPrevious();
    ModalAnswer answer;
    EXPECT_FALSE(documents.OpenFile(Write("huge.epub", "x")));
    EXPECT_EQ(answer.seen, QStringList{Message(MessageCode::MSG_BOOK_TOO_LARGE)});
    EXPECT_EQ(documents.Text().Characters(), U"The old text stays.");
}

TEST_F(BookLoadTest, APdfOpensWithItsTextAndOffersAuthorAndTitleOnTheShelf) {
    ASSERT_TRUE(documents.OpenFile(kData + "sample.pdf"));
    EXPECT_EQ(documents.Title(), "Orvek Lumeno - sample.pdf");
    EXPECT_TRUE(
        documents.Text().Characters().starts_with(U"Глава первая. Город\r\nЭто первый абзац"));

    EXPECT_EQ(OfferedName(), "Анна Иванова - Образцы текста");
    // A text file afterwards offers its file name again.
    ASSERT_TRUE(documents.OpenFile(Write("plain.txt", "words")));
    EXPECT_EQ(OfferedName(), "plain");
}

// A shelved book that fails when it is opened from the shelf leaves the open
// document as it was, not closed.
TEST_F(BookLoadTest, AShelvedBookThatFailsLeavesTheOpenDocument) {
    QFile::copy(QString::fromStdString(kData + "sample.pdf"), directory.filePath("book.pdf"));
    const std::string book = QFile::encodeName(directory.filePath("book.pdf")).toStdString();
    ASSERT_TRUE(documents.OpenFile(book));
    {
        ModalAnswer answer([](QWidget* modal) {
            if (auto* dialog = qobject_cast<CShelfNameDlg*>(modal)) dialog->OkButton()->click();
        });
        documents.PutOnShelf();
    }
    const int key = document.key;
    ASSERT_GT(key, 0);
    OpenPrevious();
    Write("book.pdf", "%PDF-1.4\ntorn off");
    ModalAnswer answer;
    EXPECT_EQ(documents.OpenFromShelf(key), DocumentController::ShelfOpen::NotOpened);
    EXPECT_EQ(answer.seen, QStringList{Message(MessageCode::MSG_BOOK_DAMAGED)});
    EXPECT_EQ(documents.Text().Characters(), U"The old text stays.");
    EXPECT_EQ(documents.Title(), "Orvek Lumeno - old.txt");
    EXPECT_EQ(document.key, ShelfDocument::kNotOnShelf);
}

// A reader that goes on until it is told to stop, as a long book would: the
// progress dialog shows its count, and "Отмена" leaves the old text.
TEST_F(BookLoadTest, ASlowLoadShowsProgressAndCancelKeepsTheOldText) {
    documents.SetBookLoad([](const std::string&, DocumentKind, const BookProgress& progress) {
        LoadedText loaded;
        for (std::size_t done = 1;; done = done % 99 + 1) {
            if (!progress(done, 100)) break;
            std::this_thread::yield();
        }
        loaded.error = LoadError::Cancelled;
        return loaded;
    });
    OpenPrevious();
    int maximum = 0;
    QString label;
    QString cancelLabel;
    ModalAnswer answer([&](QWidget* modal) {
        auto* dialog = qobject_cast<QProgressDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        const auto buttons = dialog->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 1);
        QPushButton* cancel = buttons.front();
        cancelLabel = cancel->text();
        // Once the count has arrived, cancel.
        auto* poll = new QTimer(dialog);
        QObject::connect(poll, &QTimer::timeout, dialog, [dialog, poll, cancel, &maximum, &label] {
            if (dialog->maximum() == 0) return;
            maximum = dialog->maximum();
            label = dialog->labelText();
            poll->stop();
            cancel->click();
        });
        poll->start(5);
    });
    EXPECT_FALSE(documents.OpenFile(Write("long.pdf", "x")));
    EXPECT_EQ(answer.seen, QStringList{"Orvek Lumeno"});  // the dialog, and no message after it
    EXPECT_EQ(cancelLabel, "Отмена");
    EXPECT_EQ(maximum, 100);
    EXPECT_TRUE(label.startsWith("Чтение книги…\nПрочитано: ") && label.endsWith(" из 100"))
        << label.toStdString();
    EXPECT_EQ(documents.Text().Characters(), U"The old text stays.");
    EXPECT_EQ(documents.Title(), "Orvek Lumeno - old.txt");
}

TEST_F(BookLoadTest, AQuickLoadShowsNoDialog) {
    documents.SetBookLoad([](const std::string&, DocumentKind, const BookProgress& progress) {
        LoadedText loaded;
        progress(1, 1);
        loaded.text = U"Quick.";
        return loaded;
    });
    ModalAnswer answer;
    ASSERT_TRUE(documents.OpenFile(Write("quick.epub", "x")));
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_EQ(documents.Text().Characters(), U"Quick.");
}

}  // namespace
