#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <fstream>
#include <memory>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "library/BookmarkRules.h"
#include "library/CBookmarkNameDlg.h"
#include "library/CBookmarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfRecord.h"
#include "widgets/CLimitedTextEdit.h"

namespace {

using enum CommandId;
using enum MessageCode;

const QString kBook =
    "Первая глава начинается здесь. Герой выходит из дома и идёт по улице к реке. "
    "Там он встречает старого друга! Они долго говорят о прошлом. Вечером герой "
    "возвращается домой.";
const std::string kBooks = LMN_TEST_DATA "/books/";
const QString kOld = "Orvek Lumeno - old.txt|The old text stays.|0";

class LibraryTest : public ProgramFixture {
protected:
    void Shelve(const QString& name) {
        ASSERT_TRUE(Open(WriteFile(name + ".txt", (name + ". " + kBook).toUtf8())));
        PutOnShelf(name);
    }
    // Names the document or bookmark in its dialog (null: as offered); gives what was offered.
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
    std::size_t PositionOf(const QString& piece) const { return Chars().find(FromQString(piece)); }
    void CaretAt(const QString& piece) const { Text().SetCaret(PositionOf(piece)); }
    QStringList ShelfNames() { return Listed(*ShowShelf()); }
    QStringList Marks() const {
        QStringList names;
        for (const std::u32string& name : document.BookmarkNames()) names << ToQString(name);
        return names;
    }
    template <class Dialog>
    std::unique_ptr<Dialog> Show(DialogSizeFields (*sizes)(ReaderSettings&)) {
        auto dialog = std::make_unique<Dialog>(Documents(), sizes(settings.settings), kScreen);
        dialog->show();
        return dialog;
    }
    std::unique_ptr<CShelfDlg> ShowShelf() { return Show<CShelfDlg>(ShelfDialogSizes); }
    std::unique_ptr<CBookmarksDlg> ShowMarks() { return Show<CBookmarksDlg>(BookmarksDialogSizes); }
    static QStringList Listed(const CListDlg& dialog) {
        QStringList names;
        for (int i = 0; i < dialog.List()->count(); ++i) names << dialog.List()->item(i)->text();
        return names;
    }
    std::u32string Chars() const { return Text().Document().Characters().ToString(); }
    // The open document as the window shows it: title, text and shelf key.
    QString Shows() const {
        return Frame()->windowTitle() + u'|' + ToQString(Chars()) + u'|' +
               QString::number(document.key);
    }

    QStringList seen;
};

// A file that cannot be opened is told, and the open document stays as it was.
TEST_F(LibraryTest, AFailedOpenSaysWhyAndKeepsTheOpenDocument) {
    Start();
    QFile::copy(QString::fromStdString(kBooks + "sample.pdf"), directory.filePath("book.pdf"));
    ASSERT_TRUE(Open(directory.filePath("book.pdf")));
    EXPECT_EQ(PutOnShelf(), "Анна Иванова - Образцы текста");  // the book's author and title
    const int key = document.key;
    ASSERT_TRUE(Open(WriteFile("old.txt", "The old text stays.")));
    const std::pair<std::string, MessageCode> cases[] = {
        // a book's, a file's, a kind's failure
        {kBooks + "sample-password.pdf", MSG_BOOK_ENCRYPTED},
        {directory.filePath("gone.txt").toStdString(), MSG_FILE_OPEN_FAILED},
        {WriteFile("notes.doc", "x").toStdString(), MSG_FILE_TYPE_REJECTED},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path);
        ModalAnswer answer;
        EXPECT_FALSE(Documents().OpenFile(path));
        EXPECT_EQ(answer.seen, QStringList{Told(message)});
        EXPECT_EQ(Shows(), kOld);
    }
    WriteFile("book.pdf", "%PDF-1.4\ntorn off");  // a shelved book that fails the same way
    ModalAnswer answer;
    EXPECT_EQ(Documents().OpenFromShelf(key), DocumentController::ShelfOpen::NotOpened);
    EXPECT_EQ(answer.seen, QStringList{Told(MSG_BOOK_DAMAGED)});
    EXPECT_EQ(Shows(), kOld);
    answer.seen.clear();  // a cut-off book opens as far as it reads and says where it stops
    ASSERT_TRUE(Open(WriteFile("cut.fb2", "<FictionBook><body><p>Начало</p><p>обры")));
    EXPECT_EQ(answer.seen, QStringList{Told(kBookDamagedAt).arg(97)});
    EXPECT_EQ(Shows(), "Orvek Lumeno - cut.fb2|Начало\r\nобры|0");
}

// A full disk is told once; the next write with room stores all, and the place (".").
TEST_F(LibraryTest, AFullDiskLosesNothingAndSaysSoOnce) {
    Start();
    QString words;
    for (int i = 0; i < 400; ++i) words += QString("word%1 ").arg(i);
    ASSERT_TRUE(Open(WriteFile("book.txt", words.toUtf8())));
    PutOnShelf("Книга");
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
    for (const auto& [at, name] : {std::pair{200, "b"}, std::pair{300, "c"}}) {
        Text().SetCaret(at);
        PlaceNamed(name);
    }
    EXPECT_EQ(seen,
              QStringList({"Поместить закладку", Told(kShelfWriteFailed), "Поместить закладку"}));
    EXPECT_EQ(stored().size(), 2u);
    disk.writesLeft = -1;
    Text().SetCaret(1000);
    Documents().ReadingStopped();
    EXPECT_EQ(stored(), (std::vector<std::u32string>{U"a", U"b", U"c", U"."}));
    EXPECT_EQ(Marks(), QStringList({"a", "b", "c"}));  // the place is the record's, not a bookmark
}

// At exit nothing is left for a later write: the user chooses what becomes of
// a bookmark the full disk kept out. A session end cannot ask.
TEST_F(LibraryTest, AtExitAShelfThatCannotBeWrittenAsks) {
    const QString elsewhere = directory.filePath("bksh-copy.dat");
    const auto marks = [](const QString& path) -> std::size_t {  // the place among them
        ShelfFile file;
        file.SetPath(QFile::encodeName(path).toStdString());
        ShelfDocument record;
        const auto bytes = QFile::exists(path) ? file.ReadRecord(1) : std::nullopt;
        return bytes && LoadRecord(*bytes, record) ? record.Bookmarks().size() : 0;
    };
    Start();
    Shelve("Книга");
    const QString asked = Told(kShelfUnsavedAtExit);
    const struct Case {
        std::string_view answer;  // empty: the session ends
        QStringList seen;
        std::size_t shelved, copied;
    } cases[] = {
        {{}, {}, 0, 0},
        {kExitWithoutSavingAnswer, {asked}, 0, 0},
        {kSaveShelfElsewhereAnswer, {asked, ProgramText(kSaveShelfElsewhereTitle)}, 0, 2},
        {kRetryAnswer, {asked}, 2, 2},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.answer);
        CLmnApp::Instance()->ExitInstance();
        Start();
        ASSERT_EQ(Documents().OpenFromShelf(1), DocumentController::ShelfOpen::Opened);
        disk.writesLeft = 0;
        PlaceNamed("a");
        ModalAnswer answer([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                if (row.answer == kRetryAnswer) disk.writesLeft = -1;  // room made meanwhile
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == ProgramText(row.answer)) button->click();
            } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                files->findChild<QLineEdit*>("fileNameEdit")->setText(elsewhere);
                static_cast<QDialog*>(files)->accept();
            }
        });
        if (row.answer.empty()) Frame()->SetSessionEnding();
        EXPECT_TRUE(Frame()->close());
        EXPECT_EQ(answer.seen, row.seen);
        EXPECT_EQ(marks(directory.filePath("bksh.dat")), row.shelved);
        EXPECT_EQ(marks(elsewhere), row.copied);
        disk.writesLeft = -1;
    }
}

// The key is written before the record: one that cannot be stored leaves no key.
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
    EXPECT_EQ(seen, QStringList({"Положить документ на полку", Told(MSG_SHELF_UNAVAILABLE)}));
    EXPECT_EQ(document.key, 0);
    EXPECT_TRUE(Enabled(ID_SHELF_PUT));
    // A path over the 259 bytes a record holds is refused before the name is asked.
    shelf.SetPath(directory.filePath("bksh.dat").toStdString());
    ASSERT_TRUE(Open(WriteFile(
        QString(240, u'ж').replace(QRegularExpression("(.{40})"), "\\1/") + "b.txt", "x")));
    ModalAnswer answer;
    Trigger(ID_SHELF_PUT);
    EXPECT_EQ(answer.seen, QStringList{Told(MSG_SHELF_PATH_TOO_LONG)});
}

TEST_F(LibraryTest, TheNameDialogRefusesAnEmptyName) {
    Start();
    ASSERT_TRUE(Open(WriteFile("Отчёт за год.txt", kBook.toUtf8())));
    ModalAnswer answer(On<CShelfNameDlg>([](CShelfNameDlg* dialog) {
        EXPECT_EQ(dialog->NameField()->text(), "Отчёт за год");
        dialog->NameField()->setText(" \t ");
        dialog->OkButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->NameField()->setText("  Моя книга  ");
        QTest::keyClick(dialog->NameField(), Qt::Key_Return);
    }));
    Trigger(ID_SHELF_PUT);
    EXPECT_EQ(answer.seen,
              QStringList({"Положить документ на полку", Told(MSG_DOCUMENT_NAME_EMPTY)}));
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Моя книга");
    EXPECT_EQ(ShelfNames(), QStringList{"Моя книга"});
    EXPECT_FALSE(Enabled(ID_SHELF_PUT));
    EXPECT_TRUE(Enabled(ID_BOOKMARK_PUT) && Enabled(ID_BOOKMARKS_SHOW));
}

// Names are kept in Windows-1251: a note shows while the name has a character it lacks.
TEST_F(LibraryTest, ANoteShowsWhileTheNameHoldsCharactersTheShelfCannotKeep) {
    CShelfNameDlg dialog(U"Книга");
    dialog.show();
    auto* note = dialog.findChild<QLabel*>("CodePageNote");
    EXPECT_FALSE(note->isVisible());
    dialog.NameField()->setText("Ёлка №5 — «€» ‰");
    EXPECT_FALSE(note->isVisible());
    const char32_t typed = U'\u65E5';  // as an input method hands it in
    QTest::sendKeyEvent(QTest::Click, dialog.NameField(), Qt::Key_unknown,
                        QString::fromUcs4(&typed, 1), {});
    EXPECT_TRUE(note->isVisible());
    QTest::keyClick(dialog.NameField(), Qt::Key_Backspace);
    EXPECT_FALSE(note->isVisible());
    CBookmarkNameDlg proposed(U"G\u00F6del");  // a proposed name may need it at once
    proposed.show();
    EXPECT_TRUE(proposed.findChild<QLabel*>("CodePageNote")->isVisible());
}

TEST_F(LibraryTest, TheShelfDialogWantsASelectionOnlyWithSeveralEntries) {
    Start();
    auto dialog = ShowShelf();
    EXPECT_EQ(dialog->CountLine(), ProgramText(kShelfEmpty));
    EXPECT_FALSE(dialog->ActionButton()->isEnabled() || dialog->DeleteButton()->isEnabled());
    Shelve("Единственная");
    const QString key = QString::number(document.key);
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook.toUtf8())));
    dialog = ShowShelf();  // with one entry nothing needs selecting
    dialog->ActionButton()->click();
    EXPECT_EQ(Shows(), "Orvek Lumeno - Единственная|Единственная. " + kBook + u'|' + key);
    dialog = ShowShelf();  // deleting the open document closes it, the last entry the dialog
    dialog->DeleteButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Shows(), "Orvek Lumeno||-1");
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
    for (const char* name : {"Первая", "Вторая", "Третья"}) Shelve(name);
    dialog = ShowShelf();
    EXPECT_EQ(Listed(*dialog), QStringList({"Третья", "Вторая", "Первая"}));  // newest first
    ModalAnswer answer;
    dialog->ActionButton()->click();
    dialog->DeleteButton()->click();
    EXPECT_EQ(answer.seen, QStringList(2, Told(MSG_NO_DOCUMENT_SELECTED)));
    dialog->List()->setCurrentRow(1);
    QTest::keyClick(dialog->List(), Qt::Key_Return);
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Вторая");
    dialog = ShowShelf();  // deleting another keeps the open document
    dialog->List()->setCurrentRow(0);
    dialog->DeleteButton()->click();
    EXPECT_EQ(Listed(*dialog), QStringList({"Вторая", "Первая"}));
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Вторая");
}

TEST_F(LibraryTest, AMissingFileCanBeTakenOffTheShelfOrLeftThere) {
    Start();
    Shelve("Первая");
    Shelve("Вторая");
    QFile::remove(directory.filePath("Первая.txt"));
    const std::string before = shelf.ReadRecord(1).value_or("");
    auto dialog = ShowShelf();
    dialog->List()->setCurrentRow(1);
    auto answer = std::make_unique<ModalAnswer>(On<QDialog>({}, QMessageBox::No));
    dialog->ActionButton()->click();
    EXPECT_EQ(answer->seen, QStringList{Told(kAskRemoveMissingDocument)});
    EXPECT_EQ(shelf.ReadRecord(1), before);
    EXPECT_EQ(Shows(), "Orvek Lumeno||-1");  // none is left open without its text
    EXPECT_FALSE(Enabled(ID_BOOKMARKS_SHOW));
    dialog = ShowShelf();
    answer = std::make_unique<ModalAnswer>(On<QDialog>({}, QMessageBox::Yes));
    dialog->List()->setCurrentRow(1);
    dialog->ActionButton()->click();
    EXPECT_EQ(ShelfNames(), QStringList{"Вторая"});
    ASSERT_TRUE(QFile::remove(directory.filePath("Вторая.txt")));
    dialog->ActionButton()->click();  // taking the last one off closes the dialog
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ShelfNames().isEmpty());
}

// A damaged shelf is kept aside, told with how much could be read; an unreadable one is no empty
// one.
TEST_F(LibraryTest, ADamagedOrUnreadableShelfIsToldAsSuch) {
    Start();
    Shelve("Первая");
    Shelve("Вторая");
    const std::string two = ReadWholeFile(shelf.Path()).value_or("");
    const QString copy = QString::fromStdString(shelf.Path()) + ".damaged";
    const std::tuple<std::string, QString, QStringList> cases[] = {
        {"bksh", Told(MSG_SHELF_DAMAGED) + copy, {}},
        {two.substr(0, two.size() - 1),
         Told(kShelfDamagedKept).arg("%1", "%2", copy).arg(1).arg(1),
         {"Вторая"}},
    };
    for (const auto& [bytes, message, names] : cases) {
        SCOPED_TRACE(message.toStdString());
        std::ofstream(shelf.Path(), std::ios::binary | std::ios::trunc) << bytes;
        QStringList listed;
        ModalAnswer answer(On<CShelfDlg>([&listed](CShelfDlg* dialog) {
            listed = Listed(*dialog);
            dialog->reject();
        }));
        Trigger(ID_SHELF_SHOW);
        EXPECT_EQ(answer.seen, QStringList({message, "Полка"}));
        EXPECT_EQ(listed, names);
        EXPECT_EQ(ReadWholeFile(copy.toStdString()), bytes);
        QFile::remove(copy);
    }
    ASSERT_TRUE(QFile::remove(QString::fromStdString(shelf.Path())));
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(shelf.Path())));
    EXPECT_EQ(ShowShelf()->CountLine(), ProgramText(kShelfUnreadable));
}

TEST_F(LibraryTest, ABookmarkIsOfferedTheSentenceAndNeedsANameAndAText) {
    Start();
    Shelve("Книга");
    const std::size_t caret = PositionOf("из дома");
    Text().SetCaret(caret);
    EXPECT_EQ(PlaceNamed(), "Герой выходит из дома и идёт по улице к реке");
    EXPECT_EQ(document.Bookmarks().at(0).position, static_cast<std::int32_t>(caret));
    EXPECT_EQ(Text().Selection(), (TextRange{caret, caret}));  // the caret did not move
    EXPECT_EQ(Marks(), QStringList{"Герой выходит из дома и идёт по улице к реке"});
    {
        ModalAnswer answer(On<CBookmarkNameDlg>([](CBookmarkNameDlg* dialog) {
            dialog->NameField()->setPlainText(" \t ");
            dialog->OkButton()->click();
            EXPECT_TRUE(dialog->isVisible());
            dialog->NameField()->setPlainText("  у реки\n ");
            dialog->OkButton()->click();
        }));
        Trigger(ID_BOOKMARK_PUT);
        EXPECT_EQ(answer.seen, QStringList({"Поместить закладку", Told(MSG_BOOKMARK_NAME_EMPTY)}));
    }
    EXPECT_TRUE(Marks().contains("у реки"));
    ASSERT_TRUE(Open(WriteFile("short.txt", "Короткий текст.")));
    PutOnShelf("Коротко");
    ModalAnswer small;
    Trigger(ID_BOOKMARK_PUT);
    EXPECT_EQ(small.seen, QStringList{Told(MSG_TEXT_TOO_SMALL)});
    EXPECT_TRUE(document.Bookmarks().empty());
}

TEST_F(LibraryTest, TheBookmarksListGoesAndDeletes) {
    Start();
    Shelve("Книга");
    auto dialog = ShowMarks();
    EXPECT_EQ(dialog->CountLine(), ProgramText(kBookmarksEmpty));
    EXPECT_FALSE(dialog->ActionButton()->isEnabled() || dialog->DeleteButton()->isEnabled());
    const std::size_t place = PositionOf("встречает");
    Text().SetCaret(place);
    PlaceNamed("встреча");
    Text().SetCaret(0);
    dialog = ShowMarks();  // one bookmark: going needs no selection, deleting does
    dialog->List()->clearSelection();
    auto answer = std::make_unique<ModalAnswer>();
    dialog->DeleteButton()->click();
    EXPECT_EQ(answer->seen, QStringList{Told(MSG_NO_BOOKMARK_SELECTED)});
    answer.reset();
    dialog->ActionButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Text().Selection(), (TextRange{place, place + 9}));
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    CaretAt("Вечером");
    PlaceNamed("вечер");
    PlaceNamed("вечер 2");
    dialog = ShowMarks();
    QListWidget* list = dialog->List();
    list->clearSelection();
    answer = std::make_unique<ModalAnswer>();
    dialog->ActionButton()->click();
    EXPECT_EQ(answer->seen, QStringList{Told(MSG_NO_BOOKMARK_SELECTED)});
    list->setCurrentRow(2);
    dialog->DeleteButton()->click();  // without asking
    EXPECT_EQ(answer->seen.size(), 1);
    EXPECT_EQ(Listed(*dialog), QStringList({"встреча", "вечер 2"}));
    list->setCurrentRow(0);
    dialog->ActionButton()->click();
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
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook.toUtf8())));
    QString edited = kBook;
    WriteFile("book.txt", edited.replace("встречает", "провожает").toUtf8());  // same length
    ASSERT_EQ(Documents().OpenFromShelf(1), DocumentController::ShelfOpen::Opened);
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
    dialog->ActionButton()->click();  // the text after the edit kept its place
    EXPECT_EQ(Text().Selection().start, PositionOf("Вечером"));
}

}  // namespace
