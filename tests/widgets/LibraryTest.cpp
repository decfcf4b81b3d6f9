#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <memory>
#include <thread>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "library/BookmarkRules.h"
#include "library/CBookmarkNameDlg.h"
#include "library/CBookmarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfRecord.h"
#include "widgets/CLimitedTextEdit.h"

// The shelf and the bookmarks, driven as the user drives them, over small
// texts written into the test's directory.

namespace {

using enum CommandId;

const QString kBook =
    "Первая глава начинается здесь. Герой выходит из дома и идёт по улице к реке. "
    "Там он встречает старого друга! Они долго говорят о прошлом. Вечером герой "
    "возвращается домой.";
const std::string kBooks = LMN_TEST_DATA "/books/";

class LibraryTest : public ProgramFixture {
protected:
    // Opens "<name>.txt" and puts it on the shelf under that name.
    void Shelve(const QString& name, const QString& text = kBook) {
        ASSERT_TRUE(Open(WriteFile(name + ".txt", (name + ". " + text).toUtf8())));
        PutOnShelf(name);
    }
    // Puts the document on the shelf under the name typed (none: as
    // offered); gives what the dialog offered.
    QString PutOnShelf(const QString& name = {}) {
        QString offered;
        ModalAnswer answer(On<CShelfNameDlg>([&offered, name](CShelfNameDlg* dialog) {
            offered = dialog->NameField()->text();
            if (!name.isNull()) dialog->NameField()->setText(name);
            dialog->OkButton()->click();
        }));
        Trigger(ID_SHELF_PUT);
        seen += answer.seen;
        return offered;
    }
    // Places a bookmark at the caret under the name typed (none: as offered);
    // gives what the dialog offered.
    QString PlaceNamed(const QString& name = {}) {
        QString offered;
        ModalAnswer answer(On<CBookmarkNameDlg>([&offered, name](CBookmarkNameDlg* dialog) {
            offered = dialog->NameField()->toPlainText();
            if (!name.isNull()) dialog->NameField()->setPlainText(name);
            QTest::keyClick(dialog->NameField(), Qt::Key_Return);
        }));
        Trigger(ID_BOOKMARK_PUT);
        seen += answer.seen;
        return offered;
    }
    std::size_t PositionOf(const QString& piece) const {
        return Text().Document().Characters().find(FromQString(piece));
    }
    void CaretAt(const QString& piece) const { Text().SetCaret(PositionOf(piece)); }
    QStringList ShelfNames() {
        QStringList names;
        for (const ShelfListEntry& entry : shelf.ListEntries().value_or(std::vector<ShelfListEntry>{}))
            names << ToQString(entry.name);
        return names;
    }
    QStringList Marks() const {
        QStringList names;
        for (const std::u32string& name : document.BookmarkNames()) names << ToQString(name);
        return names;
    }
    std::unique_ptr<CShelfDlg> ShowShelf() {
        auto dialog = std::make_unique<CShelfDlg>(Documents(), ShelfDialogSizes(settings.settings), kScreen);
        dialog->show();
        return dialog;
    }
    std::unique_ptr<CBookmarksDlg> ShowMarks() {
        auto dialog = std::make_unique<CBookmarksDlg>(Documents(), BookmarksDialogSizes(settings.settings), kScreen);
        dialog->show();
        return dialog;
    }
    static QStringList Listed(const CListDlg& dialog) {
        QStringList names;
        for (int i = 0; i < dialog.List()->count(); ++i) names << dialog.List()->item(i)->text();
        return names;
    }
    // Opens the shelf's entry in that row through the shelf command.
    void OpenFromShelf(int row) {
        ModalAnswer open(On<CShelfDlg>([row](CShelfDlg* dialog) {
            dialog->List()->setCurrentRow(row);
            dialog->ActionButton()->click();
        }));
        Trigger(ID_SHELF_SHOW);
    }
    QString Title() const { return Frame()->windowTitle(); }
    const std::u32string& Chars() const { return Text().Document().Characters(); }
    // The open document as the window shows it: title, text and shelf key.
    QString Shows() const {
        return Title() + u'|' + ToQString(Chars()) + u'|' + QString::number(document.key);
    }

    QStringList seen;
};

// A file that cannot be opened is told, and the open document, its title,
// text and status stay as they were.
TEST_F(LibraryTest, AFailedOpenSaysWhyAndKeepsTheOpenDocument) {
    Start();
    ASSERT_TRUE(Open(WriteFile("old.txt", "The old text stays.")));
    const QString status = Frame()->StatusPane()->text();
    QSignalSpy replaced(&Documents(), &DocumentController::TextReplaced);
    struct Case {
        std::string path;
        MessageCode message;
    };
    const Case cases[] = {
        {kBooks + "sample-password.pdf", MessageCode::MSG_BOOK_ENCRYPTED},
        {kBooks + "sample-scanned.pdf", MessageCode::MSG_BOOK_NO_TEXT},
        {WriteFile("broken.pdf", "%PDF-1.4\nnot really").toStdString(), MessageCode::MSG_BOOK_DAMAGED},
        {WriteFile("tale.odt", "PK").toStdString(), MessageCode::MSG_BOOK_DAMAGED},
        {WriteFile("tale.fb2.zip", "<FictionBook/>").toStdString(), MessageCode::MSG_BOOK_DAMAGED},
        {directory.filePath("gone.pdf").toStdString(), MessageCode::MSG_FILE_OPEN_FAILED},
        {directory.filePath("gone.txt").toStdString(), MessageCode::MSG_FILE_OPEN_FAILED},
        {WriteFile("notes.doc", "x").toStdString(), MessageCode::MSG_FILE_TYPE_REJECTED},
        {WriteFile("README", "x").toStdString(), MessageCode::MSG_FILE_TYPE_REJECTED},
        {WriteFile("my.docs/README", "x").toStdString(), MessageCode::MSG_FILE_TYPE_REJECTED},
        {WriteFile("notes.text", "x").toStdString(), MessageCode::MSG_FILE_TYPE_REJECTED},
        {WriteFile("huge.epub", "x").toStdString(), MessageCode::MSG_BOOK_TOO_LARGE},  // last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.message == MessageCode::MSG_BOOK_TOO_LARGE) {
            Documents().SetBookLoad([](const std::string&, DocumentKind, const BookProgress&) {
                return LoadedText{.error = LoadError::BookTooLarge};
            });
        }
        ModalAnswer answer;
        EXPECT_FALSE(Documents().OpenFile(c.path));
        EXPECT_EQ(answer.seen, QStringList{Told(c.message)});
        EXPECT_EQ(Shows(), "Orvek Lumeno - old.txt|The old text stays.|0");
        EXPECT_EQ(Frame()->StatusPane()->text(), status);
        EXPECT_EQ(replaced.count(), 0);
    }
}

TEST_F(LibraryTest, AShelvedBookThatFailsLeavesTheOpenDocument) {
    Start();
    QFile::copy(QString::fromStdString(kBooks + "sample.pdf"), directory.filePath("book.pdf"));
    ASSERT_TRUE(Open(directory.filePath("book.pdf")));
    EXPECT_TRUE(Chars().starts_with(U"Глава первая. Город\r\nЭто первый абзац"));
    EXPECT_EQ(PutOnShelf(), "Анна Иванова - Образцы текста");  // the book's author and title
    const int key = document.key;
    ASSERT_GT(key, 0);
    ASSERT_TRUE(Open(WriteFile("old.txt", "The old text stays.")));
    WriteFile("book.pdf", "%PDF-1.4\ntorn off");
    ModalAnswer answer;
    EXPECT_EQ(Documents().OpenFromShelf(key), DocumentController::ShelfOpen::NotOpened);
    EXPECT_EQ(answer.seen, QStringList{Told(MessageCode::MSG_BOOK_DAMAGED)});
    EXPECT_EQ(Shows(), "Orvek Lumeno - old.txt|The old text stays.|0");
}

// A reader that goes on until told to stop, as a long book would: the
// progress dialog shows its count, and its cancel button leaves the old text.
TEST_F(LibraryTest, ASlowLoadShowsProgressAndCancelKeepsTheOldText) {
    Start();
    ASSERT_TRUE(Open(WriteFile("old.txt", "The old text stays.")));
    Documents().SetBookLoad([](const std::string&, DocumentKind, const BookProgress& progress) {
        for (std::size_t done = 1; progress(done, 100); done = done % 99 + 1)
            std::this_thread::yield();
        return LoadedText{.error = LoadError::Cancelled};
    });
    int maximum = 0;
    QString label;
    ModalAnswer answer([&](QWidget* modal) {
        auto* dialog = qobject_cast<QProgressDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        const auto buttons = dialog->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 1);
        auto* poll = new QTimer(dialog);  // once the count has arrived, cancel
        QObject::connect(poll, &QTimer::timeout, dialog, [=, &maximum, &label] {
            if (dialog->maximum() == 0) return;
            maximum = dialog->maximum();
            label = dialog->labelText();
            poll->stop();
            buttons.front()->click();
        });
        poll->start(5);
    });
    EXPECT_FALSE(Documents().OpenFile(WriteFile("long.pdf", "x").toStdString()));
    EXPECT_EQ(answer.seen, QStringList{"Orvek Lumeno"});  // the dialog, and no message after it
    EXPECT_EQ(maximum, 100);
    EXPECT_TRUE(label.startsWith("Чтение книги…\nПрочитано: ") && label.endsWith(" из 100"))
        << label.toStdString();
    EXPECT_EQ(Shows(), "Orvek Lumeno - old.txt|The old text stays.|0");
}

// Every write stores the place where reading stands (".") with the
// bookmarks. On a full disk the user hears of it once, the document keeps
// them, and the next write that finds room stores them all.
TEST_F(LibraryTest, AFullDiskLosesNothingAndSaysSoOnce) {
    Start();
    QString words;
    for (int i = 0; i < 400; ++i) words += QString("word%1 ").arg(i);
    ASSERT_TRUE(Open(WriteFile("book.txt", words.toUtf8())));
    PutOnShelf("Книга");
    ASSERT_GT(document.key, 0);
    const auto stored = [this] {
        ShelfDocument record;
        const std::optional<std::string> bytes = shelf.ReadRecord(document.key);
        return bytes && LoadRecord(*bytes, record) ? record.BookmarkNames()
                                                  : std::vector<std::u32string>{};
    };
    Text().SetCaret(100);
    PlaceNamed("a");
    EXPECT_EQ(stored().size(), 2u);
    seen.clear();
    disk.writesLeft = 0;
    Text().SetCaret(200);
    PlaceNamed("b");
    Text().SetCaret(300);
    PlaceNamed("c");
    EXPECT_EQ(seen, QStringList({"Поместить закладку", Told(kShelfWriteFailed),
                                 "Поместить закладку"}));
    EXPECT_EQ(stored().size(), 2u);
    EXPECT_EQ(Marks(), QStringList({"a", "b", "c"}));
    disk.writesLeft = -1;
    Text().SetCaret(1000);
    Documents().ReadingStopped();
    const std::vector<std::u32string> now = stored();
    EXPECT_EQ(now.size(), 4u);
    EXPECT_EQ(std::count(now.begin(), now.end(), U"."), 1);
    EXPECT_EQ(Marks(), QStringList({"a", "b", "c"}));  // the place is the record's, not a bookmark
}

// The key is written into the file before the record: when the record then
// cannot be stored, the document must not keep a key that names nothing. A
// shelf that cannot be written at all gives no key either.
TEST_F(LibraryTest, AShelfThatCannotTakeTheRecordGivesNoKey) {
    Start();
    ASSERT_TRUE(Open(WriteFile("book.txt", kBook.toUtf8())));
    ASSERT_TRUE(shelf.Validate());
    disk.writesLeft = 1;
    PutOnShelf("Книга");
    EXPECT_EQ(seen, QStringList({"Положить документ на полку", Told(kShelfWriteFailed)}));
    EXPECT_EQ(document.key, ShelfDocument::kNotOnShelf);
    EXPECT_EQ(document.name, U"book.txt");

    disk.writesLeft = -1;
    shelf.SetPath(directory.filePath("no such folder/bksh.dat").toStdString());
    seen.clear();
    PutOnShelf("Книга");
    EXPECT_EQ(seen, QStringList({"Положить документ на полку",
                                 Told(MessageCode::MSG_SHELF_UNAVAILABLE)}));
    EXPECT_EQ(document.key, 0);
    EXPECT_TRUE(Enabled(ID_SHELF_PUT));
    // Six folders of 40 Cyrillic letters: well over the 259 bytes a record
    // holds for a path; refused before the name is asked.
    shelf.SetPath(directory.filePath("bksh.dat").toStdString());
    ASSERT_TRUE(Open(WriteFile(QString(240, u'ж').replace(QRegularExpression("(.{40})"), "\\1/") + "b.txt", "x")));
    ModalAnswer answer;
    Trigger(ID_SHELF_PUT);
    EXPECT_EQ(answer.seen, QStringList{Told(MessageCode::MSG_SHELF_PATH_TOO_LONG)});
}

TEST_F(LibraryTest, TheNameDialogRefusesAnEmptyName) {
    Start();
    ASSERT_TRUE(Open(WriteFile("Отчёт за год.txt", kBook.toUtf8())));
    ModalAnswer answer(On<CShelfNameDlg>([](CShelfNameDlg* dialog) {
        EXPECT_EQ(dialog->NameField()->text(), "Отчёт за год");
        // The same dialog is answered once; the second try comes from here.
        dialog->NameField()->setText(" \t ");
        dialog->OkButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->NameField()->setText("  Моя книга  ");
        QTest::keyClick(dialog->NameField(), Qt::Key_Return);
    }));
    Trigger(ID_SHELF_PUT);
    EXPECT_EQ(answer.seen, QStringList({"Положить документ на полку",
                                        Told(MessageCode::MSG_DOCUMENT_NAME_EMPTY)}));
    EXPECT_EQ(document.key, 1);
    EXPECT_EQ(Title(), "Orvek Lumeno - Моя книга");
    EXPECT_EQ(ShelfNames(), QStringList{"Моя книга"});
    EXPECT_FALSE(Enabled(ID_SHELF_PUT));
    EXPECT_TRUE(Enabled(ID_BOOKMARK_PUT));
    EXPECT_TRUE(Enabled(ID_BOOKMARKS_SHOW));
}

// The shelf file keeps names in Windows-1251: while the typed name holds a
// character the code page lacks, a note under the field says it will be
// stored as "?". Both naming dialogs share the note.
TEST_F(LibraryTest, ANoteShowsWhileTheNameHoldsCharactersTheShelfCannotKeep) {
    CShelfNameDlg dialog(U"Книга");
    dialog.show();
    auto* note = dialog.findChild<QLabel*>("CodePageNote");
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(note->text(), ProgramText(kNameLosesCharacters));
    QLineEdit* field = dialog.NameField();
    const auto type = [field](const QString& text) {
        for (const char32_t c : text.toStdU32String())  // as an input method hands them in
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromUcs4(&c, 1), {});
    };
    const std::pair<std::function<void()>, bool> steps[] = {
        {[&] { type(" \u00F6"); }, true},
        {[&] { QTest::keyClick(field, Qt::Key_Backspace); }, false},
        {[&] { type("\u65E5\u672C"); }, true},
        {[&] { field->setText("Ёлка №5 — «€» ‰"); }, false},
        {[&] { field->setText("\U0001F600"); }, true},
        {[&] { field->clear(); }, false},
        {[&] { field->setText(" G\u00F6del \u65E5\u672C "); }, true},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        steps[i].first();
        EXPECT_EQ(note->isVisible(), steps[i].second);
    }
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.Name(), U"G\u00F6del \u65E5\u672C");
    // A bookmark's name proposed from the text may hold such characters from the start.
    CBookmarkNameDlg proposed(U"G\u00F6del");
    proposed.show();
    EXPECT_TRUE(proposed.findChild<QLabel*>("CodePageNote")->isVisible());
}

TEST_F(LibraryTest, TheShelfDialogsButtonsFollowItsEntries) {
    Start();
    auto dialog = ShowShelf();
    EXPECT_EQ(dialog->CountLine(), ProgramText(kShelfEmpty));
    EXPECT_FALSE(dialog->ActionButton()->isEnabled());
    EXPECT_FALSE(dialog->DeleteButton()->isEnabled());
    Shelve("Единственная");
    const QString key = QString::number(document.key);
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook.toUtf8())));
    dialog = ShowShelf();  // with one entry nothing needs selecting
    dialog->ActionButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Shows(), "Orvek Lumeno - Единственная|Единственная. " + kBook + u'|' + key);
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    EXPECT_FALSE(Enabled(ID_SHELF_PUT));
    // Deleting the open document closes it, and the last entry the dialog.
    dialog = ShowShelf();
    ModalAnswer answer;
    dialog->DeleteButton()->click();
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Shows(), "Orvek Lumeno||-1");
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
}

TEST_F(LibraryTest, WithSeveralEntriesTheShelfWantsASelection) {
    Start();
    Shelve("Первая");
    Shelve("Вторая");
    Shelve("Третья");
    auto dialog = ShowShelf();
    EXPECT_EQ(Listed(*dialog), QStringList({"Третья", "Вторая", "Первая"}));  // newest first
    EXPECT_EQ(dialog->CountLine(), "Документов на полке: 3");
    ModalAnswer answer;
    dialog->ActionButton()->click();
    dialog->DeleteButton()->click();
    EXPECT_EQ(answer.seen, QStringList(2, Told(MessageCode::MSG_NO_DOCUMENT_SELECTED)));
    dialog->List()->setCurrentRow(1);
    QTest::keyClick(dialog->List(), Qt::Key_Return);  // Enter opens the selected one
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Title(), "Orvek Lumeno - Вторая");
    const int openKey = document.key;
    // Deleting the others keeps the open document. The only record left is
    // then renumbered to 1 (the shelf's keys start again when it is emptied):
    // deleting it must still find it.
    dialog = ShowShelf();
    for (const char* name : {"Первая", "Третья"}) {
        dialog->List()->setCurrentRow(static_cast<int>(Listed(*dialog).indexOf(name)));
        dialog->DeleteButton()->click();
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Listed(*dialog), QStringList{"Вторая"});
    EXPECT_EQ(dialog->CountLine(), "Документов на полке: 1");
    EXPECT_EQ(document.key, openKey);
    dialog = ShowShelf();
    dialog->DeleteButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ShelfNames().isEmpty());
    EXPECT_EQ(document.key, -1);
}

TEST_F(LibraryTest, AMissingFileCanBeTakenOffTheShelfOrLeftThere) {
    Start();
    Shelve("Первая");
    Shelve("Вторая");
    Shelve("Третья");
    ASSERT_TRUE(QFile::remove(directory.filePath("Вторая.txt")));
    ASSERT_TRUE(QFile::remove(directory.filePath("Первая.txt")));
    const std::string before = shelf.ReadRecord(1).value_or("");
    auto dialog = ShowShelf();
    dialog->List()->setCurrentRow(2);
    {
        ModalAnswer no(On<QDialog>({}, QMessageBox::No));
        dialog->ActionButton()->click();
        EXPECT_EQ(no.seen, QStringList{Told(kAskRemoveMissingDocument)});
    }
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(shelf.ReadRecord(1), before);
    // Opening it closed the open document; none is left open without its text.
    EXPECT_EQ(Shows(), "Orvek Lumeno||-1");
    EXPECT_FALSE(Enabled(ID_BOOKMARKS_SHOW));

    dialog = ShowShelf();
    ModalAnswer yes(On<QDialog>({}, QMessageBox::Yes));
    for (int row : {1, 1}) {
        dialog->List()->setCurrentRow(row);
        dialog->ActionButton()->click();
    }
    EXPECT_EQ(yes.seen, QStringList(2, Told(kAskRemoveMissingDocument)));
    EXPECT_EQ(Listed(*dialog), QStringList{"Третья"});
    EXPECT_EQ(ShelfNames(), QStringList{"Третья"});
    ASSERT_TRUE(QFile::remove(directory.filePath("Третья.txt")));
    dialog->ActionButton()->click();  // taking the last one off closes the dialog
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ShelfNames().isEmpty());
}

// A damaged shelf is kept aside and the reader told how much of it could be
// read; the dialog then lists that. A shelf that cannot be read at all says
// so rather than calling itself empty.
TEST_F(LibraryTest, ADamagedOrUnreadableShelfIsToldAsSuch) {
    Start();
    Shelve("Первая");
    Shelve("Вторая");
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook.toUtf8())));
    const std::string two = ReadWholeFile(shelf.Path()).value_or("");
    std::string countZero = two;
    countZero[4] = '\0';  // the count's low byte: 2 becomes 0
    const QString copy = QString::fromStdString(shelf.Path()) + ".damaged";
    const QString kept = Told(kShelfDamagedKept).arg("%1", "%2", copy);
    struct Case {
        std::string bytes;
        QString message;
        QStringList listed;
    };
    const Case cases[] = {
        {"bksh", Told(MessageCode::MSG_SHELF_DAMAGED) + copy, {}},
        {countZero, kept.arg(2).arg(0), {"Вторая", "Первая"}},
        {two.substr(0, two.size() - 1), kept.arg(1).arg(1), {"Вторая"}},  // the last record cut short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        QFile::remove(copy);
        std::ofstream(shelf.Path(), std::ios::binary | std::ios::trunc) << c.bytes;
        QStringList listed;
        ModalAnswer answer(On<CShelfDlg>([&listed](CShelfDlg* dialog) {
            listed = Listed(*dialog);
            dialog->reject();
        }));
        Trigger(ID_SHELF_SHOW);
        EXPECT_EQ(answer.seen, QStringList({c.message, "Полка"}));
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(ReadWholeFile(copy.toStdString()), c.bytes);
    }
    ASSERT_TRUE(QFile::remove(QString::fromStdString(shelf.Path())));
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(shelf.Path())));
    EXPECT_EQ(ShowShelf()->CountLine(), ProgramText(kShelfUnreadable));
}

TEST_F(LibraryTest, TheBookmarkOfferedIsTheSentenceAtTheCaret) {
    Start();
    Shelve("Книга");
    const std::size_t caret = PositionOf("из дома");
    Text().SetCaret(caret);
    EXPECT_EQ(PlaceNamed(), "Герой выходит из дома и идёт по улице к реке");
    ASSERT_EQ(Marks(), QStringList{"Герой выходит из дома и идёт по улице к реке"});
    EXPECT_EQ(document.Bookmarks()[0].position, static_cast<std::int32_t>(caret));
    EXPECT_EQ(document.Bookmarks()[0].checkValue, TextCheckValue(Chars(), caret));
    EXPECT_EQ(Text().Selection(), (TextRange{caret, caret}));  // the caret did not move

    // Shift takes the offered name without the dialog, unless nothing is
    // offered (the caret after the last full stop).
    QTest::keyPress(Frame()->windowHandle(), Qt::Key_Shift, Qt::ShiftModifier);
    ModalAnswer answer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    CaretAt("старого");
    Trigger(ID_BOOKMARK_PUT);
    EXPECT_TRUE(answer.seen.isEmpty());
    Text().SetCaret(Chars().size());
    Trigger(ID_BOOKMARK_PUT);
    EXPECT_EQ(answer.seen, QStringList{"Поместить закладку"});
    QTest::keyRelease(Frame()->windowHandle(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_EQ(Marks().size(), 2);
    EXPECT_TRUE(Marks().contains("Там он встречает старого друга"));
}

TEST_F(LibraryTest, ABookmarkNeedsANameAndAText) {
    Start();
    Shelve("Книга");
    CaretAt("Там он");
    auto answer = std::make_unique<ModalAnswer>(On<CBookmarkNameDlg>([](CBookmarkNameDlg* dialog) {
        dialog->NameField()->setPlainText(" \t ");
        dialog->OkButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->NameField()->setPlainText("  у реки\n ");
        dialog->OkButton()->click();
    }));
    Trigger(ID_BOOKMARK_PUT);
    EXPECT_EQ(answer->seen, QStringList({"Поместить закладку",
                                         Told(MessageCode::MSG_BOOKMARK_NAME_EMPTY)}));
    EXPECT_EQ(Marks(), QStringList{"у реки"});
    answer = std::make_unique<ModalAnswer>([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    Trigger(ID_BOOKMARK_PUT);
    EXPECT_EQ(Marks(), QStringList{"у реки"});
    answer.reset();

    ASSERT_TRUE(Open(WriteFile("short.txt", "Короткий текст.")));
    PutOnShelf("Коротко");
    ModalAnswer small;
    Trigger(ID_BOOKMARK_PUT);
    EXPECT_EQ(small.seen, QStringList{Told(MessageCode::MSG_TEXT_TOO_SMALL)});
    EXPECT_TRUE(document.Bookmarks().empty());
}

TEST_F(LibraryTest, TheBookmarksListGoesAndDeletes) {
    Start();
    Shelve("Книга");
    {
        auto dialog = ShowMarks();
        EXPECT_EQ(dialog->CountLine(), ProgramText(kBookmarksEmpty));
        EXPECT_FALSE(dialog->ActionButton()->isEnabled());
        EXPECT_FALSE(dialog->DeleteButton()->isEnabled());
    }
    const std::size_t place = PositionOf("встречает");
    Text().SetCaret(place);
    PlaceNamed("встреча");
    Text().SetCaret(0);
    // One bookmark: going needs no selection, deleting does.
    {
        auto dialog = ShowMarks();
        dialog->List()->clearSelection();
        ModalAnswer answer;
        dialog->DeleteButton()->click();
        EXPECT_EQ(answer.seen, QStringList{Told(MessageCode::MSG_NO_BOOKMARK_SELECTED)});
        dialog->ActionButton()->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(Text().Selection(), (TextRange{place, place + 9}));
        EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    }
    // Equal places are listed newest first; the list opens with the first
    // chosen, End and Home move the choice, Enter goes.
    CaretAt("Вечером");
    PlaceNamed("вечер");
    PlaceNamed("вечер 2");
    auto dialog = ShowMarks();
    QListWidget* list = dialog->List();
    EXPECT_EQ(Listed(*dialog), QStringList({"встреча", "вечер 2", "вечер"}));
    EXPECT_EQ(dialog->CountLine(), "Всего закладок: 3");
    EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(2)});
    list->clearSelection();
    ModalAnswer answer;
    dialog->ActionButton()->click();
    EXPECT_EQ(answer.seen, QStringList{Told(MessageCode::MSG_NO_BOOKMARK_SELECTED)});
    list->setCurrentRow(2);
    dialog->DeleteButton()->click();  // without asking
    EXPECT_EQ(answer.seen.size(), 1);
    EXPECT_EQ(dialog->CountLine(), "Всего закладок: 2");
    EXPECT_EQ(Listed(*dialog), QStringList({"встреча", "вечер 2"}));
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Text().Selection().start, place);
}

TEST_F(LibraryTest, AChangedFileMakesABookmarkInvalid) {
    Start();
    ASSERT_TRUE(Open(WriteFile("book.txt", kBook.toUtf8())));
    PutOnShelf("Книга");
    CaretAt("встречает");
    PlaceNamed("встреча");
    CaretAt("Вечером");
    PlaceNamed("вечер");
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook.toUtf8())));  // the book goes back to the shelf
    QString edited = kBook;
    WriteFile("book.txt", edited.replace("встречает", "провожает").toUtf8());  // same length
    OpenFromShelf(1);
    ASSERT_EQ(Marks(), QStringList({"встреча", "вечер"}));  // no resume bookmark listed
    Text().SetSelection(5, 10);
    auto dialog = ShowMarks();
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        ModalAnswer answer(On<QDialog>({}, button));
        dialog->List()->setCurrentRow(0);
        dialog->ActionButton()->click();
        EXPECT_EQ(answer.seen, QStringList{Told(kAskRemoveInvalidBookmark)});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(Text().Selection(), (TextRange{5, 10}));
    }
    EXPECT_EQ(Marks(), QStringList{"вечер"});
    EXPECT_EQ(dialog->CountLine(), "Всего закладок: 1");
    dialog->ActionButton()->click();  // the text after the edit kept its place
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Text().Selection().start, PositionOf("Вечером"));
}

// A shelved document over two runs of the program in one directory: the
// shelf, its bookmarks and the place where reading stopped all come back. The
// second run has program-wide objects of its own, as a new process would.
TEST_F(LibraryTest, AShelvedDocumentComesBackWhereReadingStoppedAfterARestart) {
    Start();
    ASSERT_TRUE(Open(WriteFile("book.txt", kBook.toUtf8())));
    PutOnShelf("Война и мир");
    const std::size_t meeting = PositionOf("встречает");
    const std::size_t evening = PositionOf("Вечером");
    const std::size_t stop = PositionOf("говорят");
    Text().SetCaret(evening);
    PlaceNamed("вечер");
    Text().SetCaret(meeting);
    PlaceNamed("встреча");
    Shelve("Другая книга");
    OpenFromShelf(1);
    ASSERT_EQ(Title(), "Orvek Lumeno - Война и мир");
    EXPECT_EQ(Text().Selection().start, meeting);  // where the caret was when it was closed
    Text().SetCaret(stop);
    CloseProgram();

    SettingsHolder settings2;
    ShelfFile shelf2;
    ShelfDocument document2;
    struct RunEnd {  // ends the run before its objects go, however the test leaves
        ~RunEnd() {
            if (CMainFrame* frame = CLmnApp::Instance()->MainFrame()) frame->close();
            CLmnApp::Instance()->ExitInstance();
        }
    } runEnd;
    const StartupEnvironment environment{"lmn", directory.path() + u'/', {}, kScreen};
    ASSERT_TRUE(CLmnApp::Instance()->Start(environment, settings2, shelf2, document2));
    const auto entries = shelf2.ListEntries().value_or(std::vector<ShelfListEntry>{});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, U"Война и мир");  // closing moved it to the front
    OpenFromShelf(0);
    EXPECT_EQ(document2.key, entries[0].key);
    EXPECT_EQ(Text().Selection(), (TextRange{stop, stop + 7}));  // the word at the caret
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    for (const auto& [row, place] : {std::pair{0, meeting}, std::pair{1, evening}}) {
        ModalAnswer go(On<CBookmarksDlg>([row](CBookmarksDlg* dialog) {
            EXPECT_EQ(Listed(*dialog), QStringList({"встреча", "вечер"}));
            dialog->List()->setCurrentRow(row);
            dialog->ActionButton()->click();
        }));
        Text().SetCaret(0);
        Trigger(ID_BOOKMARKS_SHOW);
        EXPECT_EQ(Text().Selection().start, place);
    }
}

}  // namespace
