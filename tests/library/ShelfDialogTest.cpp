#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "LibraryFixture.h"
#include "base/SafeFileWriter.h"
#include "library/CShelfDlg.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfDocument.h"

// The shelf dialog and the naming dialog, driven as the user drives them.
// The documents are small texts written into the test's own directory.

namespace {

using enum CommandId;

const QString kText =
    "Первая глава начинается здесь. Герой выходит из дома и идёт по улице к реке. "
    "Там он встречает старого друга! Они долго говорят о прошлом.";

constexpr const char* kNoDocumentSelected = "Orvek Lumeno|Документ не выбран";
constexpr const char* kMissingQuestion =
    "Orvek Lumeno|Открыть документ не удаётся.\nПо-видимому документ был удалён или "
    "переименован.\nУбрать его с полки?";

class ShelfDialogTest : public LibraryFixture {
protected:
    // Opens and shelves one document per name, the last one newest.
    void ShelveDocuments(const QStringList& names) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            ASSERT_TRUE(Open(WriteFile(QString("doc%1.txt").arg(i), names[i] + ". " + kText)));
            PutOnShelf(names[i]);
        }
    }
    // The shelf dialog, open as the shelf command opens it.
    std::unique_ptr<CShelfDlg> ShowShelf() {
        auto dialog = std::make_unique<CShelfDlg>(Frame()->Documents(),
                                                  ShelfDialogSizes(settings.settings), kScreen);
        dialog->show();
        return dialog;
    }
    QStringList Listed(const CShelfDlg& dialog) const {
        QStringList names;
        for (int i = 0; i < dialog.List()->count(); ++i) names << dialog.List()->item(i)->text();
        return names;
    }
};

TEST_F(ShelfDialogTest, AnEmptyShelfOffersOnlyCancel) {
    Start();
    auto dialog = ShowShelf();
    EXPECT_EQ(dialog->windowTitle(), "Полка");
    EXPECT_EQ(dialog->CountLine(), "Документов на полке нет");
    EXPECT_EQ(dialog->List()->count(), 0);
    EXPECT_FALSE(dialog->ActionButton()->isEnabled());
    EXPECT_FALSE(dialog->DeleteButton()->isEnabled());
    EXPECT_TRUE(dialog->CancelButton()->isEnabled());
    EXPECT_EQ(dialog->ActionButton()->text(), "Открыть");
    dialog->CancelButton()->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ShelfDialogTest, WithOneEntryNothingNeedsSelecting) {
    Start();
    ShelveDocuments({"Единственная"});
    const int key = document.key;
    ASSERT_TRUE(Open(WriteFile("other.txt", kText)));  // closes the shelved one
    ASSERT_EQ(document.key, 0);
    {
        auto dialog = ShowShelf();
        ASSERT_TRUE(dialog->List()->selectedItems().isEmpty());
        dialog->ActionButton()->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    }
    EXPECT_EQ(document.key, key);
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Единственная");
    EXPECT_EQ(Shown(Text().Document().Characters()), "Единственная. " + kText);
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    EXPECT_FALSE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_BOOKMARK_PUT)->isEnabled());

    // Deleting the open document closes it first; deleting the last entry
    // closes the dialog->
    auto dialog = ShowShelf();
    ModalAnswer answer;
    dialog->DeleteButton()->click();
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ShelfNames().isEmpty());
    EXPECT_EQ(document.key, -1);
    EXPECT_EQ(static_cast<int>(Text().Document().Length()), 0);
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
}

TEST_F(ShelfDialogTest, WithSeveralEntriesAnActionWantsASelection) {
    Start();
    ShelveDocuments({"Первая", "Вторая"});
    auto dialog = ShowShelf();
    ModalAnswer answer;
    dialog->ActionButton()->click();
    dialog->DeleteButton()->click();
    EXPECT_EQ(answer.seen, (QStringList{kNoDocumentSelected, kNoDocumentSelected}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ShelfNames(), (QStringList{"Вторая", "Первая"}));

    // Enter opens the selected one.
    dialog->List()->setCurrentRow(1);
    QTest::keyClick(dialog->List(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Первая");
}

TEST_F(ShelfDialogTest, NewestFirstAndDeletingAnotherEntryKeepsTheOpenDocument) {
    Start();
    ShelveDocuments({"Первая", "Вторая", "Третья"});
    const int openKey = document.key;
    auto dialog = ShowShelf();
    EXPECT_EQ(Listed(*dialog), (QStringList{"Третья", "Вторая", "Первая"}));
    EXPECT_EQ(dialog->CountLine(), "Документов на полке: 3");
    dialog->List()->setCurrentRow(1);
    dialog->DeleteButton()->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Listed(*dialog), (QStringList{"Третья", "Первая"}));
    EXPECT_EQ(dialog->CountLine(), "Документов на полке: 2");
    EXPECT_EQ(document.key, openKey);
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Третья");
}

TEST_F(ShelfDialogTest, DeletingTheOnlyOpenDocumentWhoseRecordIsRenumbered) {
    // Storing the only record of a shelf renumbers it to 1 (the shelf's keys
    // start again when it is emptied); deleting it must still find it.
    Start();
    ShelveDocuments({"Первая", "Вторая"});
    {
        auto dialog = ShowShelf();
        dialog->List()->setCurrentRow(1);
        dialog->DeleteButton()->click();
    }
    ASSERT_EQ(ShelfNames(), QStringList{"Вторая"});
    ASSERT_EQ(document.key, 2);
    auto dialog = ShowShelf();
    dialog->DeleteButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ShelfNames().isEmpty());
    EXPECT_EQ(document.key, -1);
}

TEST_F(ShelfDialogTest, AMissingFileCanBeTakenOffTheShelf) {
    Start();
    ShelveDocuments({"Первая", "Вторая", "Третья"});
    ASSERT_TRUE(QFile::remove(QDir(directory.path()).filePath("doc1.txt")));
    auto dialog = ShowShelf();
    dialog->List()->setCurrentRow(1);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswer yes([&icon](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    dialog->ActionButton()->click();
    EXPECT_EQ(yes.seen, QStringList{kMissingQuestion});
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Listed(*dialog), (QStringList{"Третья", "Первая"}));
    EXPECT_EQ(ShelfNames(), (QStringList{"Третья", "Первая"}));
    // Opening it closed the open document, which went back to the shelf.
    EXPECT_EQ(document.key, -1);
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
}

TEST_F(ShelfDialogTest, AMissingFileLeftOnTheShelfIsNotOpen) {
    Start();
    ShelveDocuments({"Первая", "Вторая"});
    ASSERT_TRUE(QFile::remove(QDir(directory.path()).filePath("doc0.txt")));
    const std::string before = shelf.ReadRecord(1).value_or("");
    auto dialog = ShowShelf();
    dialog->List()->setCurrentRow(1);
    ModalAnswer no(ClickButton(QMessageBox::No));
    dialog->ActionButton()->click();
    EXPECT_EQ(no.seen, QStringList{kMissingQuestion});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ShelfNames(), (QStringList{"Вторая", "Первая"}));
    EXPECT_EQ(shelf.ReadRecord(1), before);
    // No document without its text: no bookmarks to go to, nothing to store.
    EXPECT_EQ(document.key, -1);
    EXPECT_TRUE(document.Bookmarks().empty());
    EXPECT_FALSE(Frame()->Action(ID_BOOKMARKS_SHOW)->isEnabled());
    Frame()->close();
    EXPECT_EQ(ShelfNames(), (QStringList{"Вторая", "Первая"}));
}

TEST_F(ShelfDialogTest, AFileThatCannotBeLoadedIsNotLeftOpen) {
    // A record written elsewhere may name a file of a type the program
    // does not read.
    Start();
    document.key = shelf.AllocateKey().value_or(0);
    document.name = U"Заметки";
    document.path = WriteFile("notes.doc", kText).toStdString();
    document.AddBookmark({U"x", 3, 7});
    ASSERT_EQ(shelf.Rewrite(document.key, document), ShelfStatus::Done);
    document.Clear();
    const std::string before = shelf.ReadRecord(1).value_or("");
    auto dialog = ShowShelf();
    ModalAnswer answer;
    dialog->ActionButton()->click();
    ASSERT_EQ(answer.seen.size(), 1);
    EXPECT_TRUE(answer.seen[0].startsWith("Orvek Lumeno|Этот файл не может быть открыт."));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(document.key, -1);
    EXPECT_TRUE(document.Bookmarks().empty());
    EXPECT_EQ(shelf.ReadRecord(1), before);
}

TEST_F(ShelfDialogTest, TakingTheLastMissingFileOffClosesTheDialog) {
    Start();
    ShelveDocuments({"Единственная"});
    ASSERT_TRUE(Open(WriteFile("other.txt", kText)));
    ASSERT_TRUE(QFile::remove(QDir(directory.path()).filePath("doc0.txt")));
    auto dialog = ShowShelf();
    ModalAnswer yes(ClickButton(QMessageBox::Yes));
    dialog->ActionButton()->click();
    EXPECT_EQ(yes.seen, QStringList{kMissingQuestion});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ShelfNames().isEmpty());
}

TEST_F(ShelfDialogTest, TwoDocumentsMayShareAName) {
    Start();
    ASSERT_TRUE(Open(WriteFile("a.txt", "Текст А. " + kText)));
    PutOnShelf("Книга");
    const int first = document.key;
    ASSERT_TRUE(Open(WriteFile("b.txt", "Текст Б. " + kText)));
    PutOnShelf("Книга");
    EXPECT_NE(document.key, first);
    auto dialog = ShowShelf();
    EXPECT_EQ(Listed(*dialog), (QStringList{"Книга", "Книга"}));
    // A double click opens the entry clicked.
    QListWidget* list = dialog->List();
    const QPoint item = list->visualItemRect(list->item(1)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(document.key, first);
    EXPECT_EQ(Shown(Text().Document().Characters()), "Текст А. " + kText);
}

// What the naming dialog offers, and what it does with the answer.
class ShelfNameTest : public LibraryFixture {
protected:
    QString Offered() {
        QString offered;
        ModalAnswer peek([&offered](QWidget* modal) {
            auto* dialog = qobject_cast<CShelfNameDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            offered = dialog->NameField()->text();
            dialog->reject();
        });
        Frame()->Documents().PutOnShelf();
        return offered;
    }
};

TEST_F(ShelfNameTest, OffersTheFileNameWithoutItsExtension) {
    Start();
    struct Row {
        const char* file;
        const char* offered;
    };
    for (const Row& row : {Row{"Отчёт за год.txt", "Отчёт за год"},
                           Row{"archive.tar.htm", "archive.tar"}, Row{"old.plg", "old"}}) {
        SCOPED_TRACE(row.file);
        ASSERT_TRUE(Open(WriteFile(row.file, kText)));
        EXPECT_EQ(Offered(), row.offered);
        EXPECT_EQ(document.key, 0);  // cancelled: nothing stored
    }
    EXPECT_TRUE(ShelfNames().isEmpty());
}

TEST_F(ShelfNameTest, AnEmptyNameIsRefusedAndTheDialogStays) {
    Start();
    ASSERT_TRUE(Open(WriteFile("book.txt", kText)));
    int tries = 0;
    ModalAnswer answer([&tries](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<CShelfNameDlg*>(modal)) {
            // The same dialog is answered once; the second try comes from here.
            dialog->NameField()->setText(" \t ");
            dialog->OkButton()->click();
            ++tries;
            EXPECT_TRUE(dialog->isVisible());
            dialog->NameField()->setText("  Моя книга  ");
            QTest::keyClick(dialog->NameField(), Qt::Key_Return);
        }
    });
    Frame()->Documents().PutOnShelf();
    EXPECT_EQ(answer.seen, (QStringList{"Положить документ на полку",
                                        "Orvek Lumeno|Нужно внести название документа"}));
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(document.name, U"Моя книга");
    EXPECT_EQ(document.key, 1);
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Моя книга");
    EXPECT_EQ(ShelfNames(), QStringList{"Моя книга"});
    EXPECT_FALSE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_BOOKMARK_PUT)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_BOOKMARKS_SHOW)->isEnabled());
}

TEST_F(ShelfNameTest, NamesAreCutAt255Characters) {
    Start();
    ASSERT_TRUE(Open(WriteFile("long.txt", kText)));
    const QString typed = QString(250, u'д') + QString(50, u'ж');
    PutOnShelf(typed);
    EXPECT_EQ(document.name, Core(typed.left(255)));
    EXPECT_EQ(ShelfNames(), QStringList{typed.left(255)});
}

// The shelf file keeps names in Windows-1251: while the typed name holds a
// character the code page lacks, a note under the field says it will be
// stored as "?" (the shelf file tests check that it is).
TEST_F(ShelfNameTest, ANoteShowsWhileTheNameHoldsCharactersTheShelfCannotKeep) {
    Start();
    CShelfNameDlg dialog(U"Книга");
    dialog.show();
    auto* note = dialog.findChild<QLabel*>("CodePageNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(note->text(), "Знаки не из Windows-1251 сохранятся как «?»");
    QLineEdit* field = dialog.NameField();
    struct Step {
        const char* label;
        std::function<void()> edit;
        bool shown;
    };
    const Step steps[] = {
        {"typing a letter Windows-1251 lacks", [&] { TypeText(field, " \u00F6"); }, true},
        {"erasing it again", [&] { QTest::keyClick(field, Qt::Key_Backspace); }, false},
        {"typing CJK", [&] { TypeText(field, "\u65E5\u672C"); }, true},
        {"signs Windows-1251 has", [&] { field->setText("Ёлка №5 — «€» ‰"); }, false},
        {"a character beyond the BMP", [&] { field->setText("\U0001F600"); }, true},
        {"emptied", [&] { field->clear(); }, false},
        {"a name to keep", [&] { field->setText(" G\u00F6del \u65E5\u672C "); }, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        step.edit();
        EXPECT_EQ(note->isVisible(), step.shown);
        EXPECT_EQ(note->isHidden(), !step.shown);
    }
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.Name(), U"G\u00F6del \u65E5\u672C");
}

// The field's limit counts UTF-16 units: an emoji that does not fit whole is
// left out, not kept as half a character.
TEST_F(ShelfNameTest, AnEmojiCutByTheLengthLimitIsLeftOut) {
    Start();
    CShelfNameDlg dialog(U"");
    dialog.NameField()->setText(QString(254, u'a') + QStringLiteral("\U0001F600b"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.Name(), std::u32string(254, U'a'));
}

TEST_F(ShelfNameTest, AShelfThatCannotBeWrittenGivesNoKey) {
    Start();
    ASSERT_TRUE(Open(WriteFile("book.txt", kText)));
    shelf.SetPath(QDir(directory.path()).filePath("no such folder/bksh.dat").toStdString());
    ModalAnswer answer([](QWidget* modal) {
        if (auto* dialog = qobject_cast<CShelfNameDlg*>(modal)) {
            dialog->NameField()->setText("Книга");
            dialog->OkButton()->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::Ok)->click();
        }
    });
    Frame()->Documents().PutOnShelf();
    EXPECT_EQ(
        answer.seen,
        (QStringList{"Положить документ на полку",
                     "Orvek Lumeno|Не удаётся получить содержимое полки.\nНет доступа к диску"}));
    EXPECT_EQ(document.key, 0);
    EXPECT_EQ(document.name, U"book.txt");
    EXPECT_TRUE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
}

TEST_F(ShelfNameTest, APathTooLongForTheShelfIsRefusedBeforeTheNameIsAsked) {
    // Six folders of 40 Cyrillic letters: well over the 259 bytes a shelf
    // record holds for a path.
    QString folder = directory.path();
    for (int i = 0; i < 6; ++i) folder += u'/' + QString(40, u'ж');
    ASSERT_TRUE(QDir().mkpath(folder));
    Start();
    ASSERT_TRUE(
        Open(WriteFile(QDir(folder).filePath("book.txt").mid(directory.path().size() + 1), kText)));
    const std::string before = ReadWholeFile(shelf.Path()).value_or("");
    ModalAnswer answer;
    Trigger(ID_SHELF_PUT);
    EXPECT_EQ(answer.seen,
              QStringList{"Orvek Lumeno|Положить документ на полку нельзя - слишком длинный путь "
                          "к файлу.\nПереместите файл в папку с более коротким путём."});
    EXPECT_EQ(document.key, 0);
    EXPECT_EQ(ReadWholeFile(shelf.Path()).value_or(""), before);
    EXPECT_TRUE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
}

// A damaged shelf is kept aside and the reader told how much of it could be
// read; the dialog then lists that. A shelf that cannot be read at all says
// so rather than calling itself empty.
TEST_F(ShelfDialogTest, ADamagedOrUnreadableShelfIsToldAsSuch) {
    Start();
    ShelveDocuments({"Первая", "Вторая"});
    ASSERT_TRUE(Open(WriteFile("other.txt", kText)));
    const std::string two = ReadWholeFile(shelf.Path()).value_or("");
    std::string countZero = two;
    countZero[4] = '\0';  // the count's low byte: 2 becomes 0
    const QString copy = QString::fromStdString(shelf.Path()) + ".damaged";
    const QString kept =
        "Orvek Lumeno|Файл полки был повреждён. Документов прочитано: %1, "
        "не прочитано: %2.\nПрежний файл сохранён под именем:\n" +
        copy;
    struct Case {
        const char* label;
        std::string bytes;
        QString message;
        QStringList listed;
        QString countLine;
    };
    const Case cases[] = {
        {"nothing readable",
         "bksh",
         "Orvek Lumeno|Файл полки был повреждён, полка начата заново.\n"
         "Прежний файл сохранён под именем:\n" +
             copy,
         {},
         "Документов на полке нет"},
        {"count 0 on a shelf of two",
         countZero,
         kept.arg(2).arg(0),
         {"Вторая", "Первая"},
         "Документов на полке: 2"},
        {"the last record cut short",
         two.substr(0, two.size() - 1),
         kept.arg(1).arg(1),
         {"Вторая"},
         "Документов на полке: 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QFile::remove(copy);
        std::ofstream(shelf.Path(), std::ios::binary | std::ios::trunc) << c.bytes;
        QStringList listed;
        QString countLine;
        ModalAnswer answer(ClickButton(QMessageBox::Ok, [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<CShelfDlg*>(modal)) {
                listed = Listed(*dialog);
                countLine = dialog->CountLine();
                dialog->reject();
            }
        }));
        Trigger(ID_SHELF_SHOW);
        EXPECT_EQ(answer.seen, (QStringList{c.message, "Полка"}));
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(countLine, c.countLine);
        EXPECT_EQ(ReadWholeFile(copy.toStdString()), c.bytes);
    }

    ASSERT_TRUE(QFile::remove(QString::fromStdString(shelf.Path())));
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(shelf.Path())));
    QString countLine;
    ModalAnswer answer([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<CShelfDlg*>(modal)) {
            countLine = dialog->CountLine();
            dialog->reject();
        }
    });
    Trigger(ID_SHELF_SHOW);
    EXPECT_EQ(answer.seen, QStringList{"Полка"});
    EXPECT_EQ(countLine, "Не удаётся прочитать полку");
}

}  // namespace
