#include "library/DocumentController.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfFile.h"
#include "library/ShelfRecord.h"
#include "settings/ReaderSettings.h"

// The controller on its own, with a shelf on a disk that the test fills up
// and empties again: no window, no text pane.

namespace {

// Lets `writesLeft` writes through, then answers every write as a full disk
// would, until there is room again.
class FillingDisk : public FileSystem {
public:
    int writesLeft = -1;  // -1: room enough

    ssize_t Write(int fd, const char* data, std::size_t size) override {
        if (writesLeft == 0) {
            errno = ENOSPC;
            return -1;
        }
        if (writesLeft > 0) --writesLeft;
        return FileSystem::Write(fd, data, size);
    }
};

const QString kShelfWriteFailed =
    "Orvek Lumeno|Не удаётся записать содержимое полки.\nНет доступа к диску или на нём нет "
    "места.\nЗакладки и место чтения пока хранятся в памяти и будут записаны, как только это "
    "станет возможно.";

class DocumentControllerTest : public ::testing::Test {
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
    // The stored record's bookmark names, in their stored order.
    std::vector<std::u32string> StoredBookmarks() {
        ShelfDocument stored;
        const std::optional<std::string> record = shelf.ReadRecord(document.key);
        if (!record || !LoadRecord(*record, stored)) return {U"(no record)"};
        return stored.BookmarkNames();
    }
    void PutOnShelf(const QString& name) {
        ModalAnswer answer([name](QWidget* modal) {
            if (auto* dialog = qobject_cast<CShelfNameDlg*>(modal)) {
                dialog->NameField()->setText(name);
                dialog->OkButton()->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                box->button(QMessageBox::Ok)->click();
            }
        });
        documents.PutOnShelf();
        seen += answer.seen;
    }
    void PlaceBookmarkAt(std::size_t position) {
        selection = {position, position};
        ModalAnswer answer;
        documents.PlaceBookmark(true);
        seen += answer.seen;
    }

    QTemporaryDir directory;
    FillingDisk disk;
    ShelfFile shelf{disk};
    ShelfDocument document;
    ReaderSettings settings = DefaultSettings(1024, 768);
    TextRange selection;
    DocumentController documents{document,         shelf,  [this] { return selection; }, settings,
                                 QSize(1024, 768), nullptr};
    QStringList seen;
};

TEST_F(DocumentControllerTest, OpeningTellsTheWindowWhatChanged) {
    QSignalSpy titles(&documents, &DocumentController::TitleChanged);
    QSignalSpy texts(&documents, &DocumentController::TextReplaced);
    ASSERT_TRUE(documents.OpenFile(Write("war.txt", "First words. Second words.")));
    EXPECT_EQ(titles.last().first().toString(), "Orvek Lumeno - war.txt");
    EXPECT_EQ(texts.count(), 1);
    EXPECT_EQ(documents.Text().Characters(), U"First words. Second words.");
    EXPECT_EQ(document.key, ShelfDocument::kNotOnShelf);

    // What cannot be opened is told, and the open document stays as it was.
    for (const std::string& path : {Write("notes.doc", "x"), std::string("/nonexistent/a.txt")}) {
        SCOPED_TRACE(path);
        ModalAnswer answer;
        EXPECT_FALSE(documents.OpenFile(path));
        EXPECT_EQ(answer.seen.size(), 1);
        EXPECT_EQ(documents.Text().Characters(), U"First words. Second words.");
        EXPECT_EQ(titles.last().first().toString(), "Orvek Lumeno - war.txt");
        EXPECT_EQ(texts.count(), 1);
    }
}

// Bookmarks reach the shelf as they are placed. On a full disk the user hears
// of it once, the document keeps them, and the next write that finds room
// stores them all with the place where reading stopped.
TEST_F(DocumentControllerTest, AFullDiskLosesNothingAndSaysSoOnce) {
    std::string words;
    for (int i = 0; i < 400; ++i) words += "word" + std::to_string(i) + " ";
    ASSERT_TRUE(documents.OpenFile(Write("book.txt", QByteArray::fromStdString(words))));
    PutOnShelf("Книга");
    ASSERT_GT(document.key, 0);
    seen.clear();
    // Every write stores the place where reading stands (".") with the bookmarks.
    PlaceBookmarkAt(100);
    EXPECT_EQ(StoredBookmarks().size(), 2u);

    disk.writesLeft = 0;
    PlaceBookmarkAt(200);
    PlaceBookmarkAt(300);
    EXPECT_EQ(seen, QStringList{kShelfWriteFailed});
    EXPECT_EQ(StoredBookmarks().size(), 2u);
    EXPECT_EQ(document.Bookmarks().size(), 3u);

    disk.writesLeft = -1;
    selection = {1000, 1000};
    documents.ReadingStopped();
    const std::vector<std::u32string> stored = StoredBookmarks();
    EXPECT_EQ(stored.size(), 4u);
    EXPECT_EQ(std::count(stored.begin(), stored.end(), U"."), 1);
    EXPECT_EQ(document.Bookmarks().size(), 3u);  // the place is the record's, not a bookmark
    EXPECT_EQ(seen.size(), 1);
}

// The key is written into the file before the record: when the record then
// cannot be stored, the document must not keep a key that names nothing.
TEST_F(DocumentControllerTest, AKeyWhoseRecordWasNeverStoredIsNotKept) {
    ASSERT_TRUE(documents.OpenFile(Write("book.txt", "Some words to read here.")));
    ASSERT_TRUE(shelf.Validate());
    disk.writesLeft = 1;
    PutOnShelf("Книга");
    EXPECT_EQ(seen, QStringList({"Положить документ на полку", kShelfWriteFailed}));
    EXPECT_EQ(document.key, ShelfDocument::kNotOnShelf);
    EXPECT_EQ(document.name, U"book.txt");
}

}  // namespace
