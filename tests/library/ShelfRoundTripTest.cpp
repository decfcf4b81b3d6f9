#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include "LibraryFixture.h"
#include "library/CBookmarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/ShelfDocument.h"

// A shelved document over two runs of the program in one directory: what is
// on the shelf, its bookmarks and the place where reading stopped must all
// come back. The second run has program-wide objects of its own, as a new
// process would. The documents are texts written into the test's directory.

namespace {

using enum CommandId;

const QString kBook =
    "Первая глава начинается здесь. Герой выходит из дома и идёт по улице к реке. "
    "Там он встречает старого друга! Они долго говорят о прошлом. Вечером герой "
    "возвращается домой.";

// Ends a run before the objects it was started with go away, however the
// test leaves its scope.
struct RunEnd {
    ~RunEnd() {
        if (CMainFrame* frame = CLmnApp::Instance()->MainFrame()) frame->close();
        CLmnApp::Instance()->ExitInstance();
    }
};

// Opens the shelf through its command and the entry in that row.
void OpenFromShelfCommand(CMainFrame& frame, int row) {
    ModalAnswer open([row](QWidget* modal) {
        auto* dialog = qobject_cast<CShelfDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->List()->setCurrentRow(row);
        dialog->ActionButton()->click();
    });
    frame.Action(CommandId::ID_SHELF_SHOW)->trigger();
    EXPECT_EQ(open.seen, QStringList{"Полка"});
}

class ShelfRoundTripTest : public LibraryFixture {};

TEST_F(ShelfRoundTripTest, AShelvedDocumentComesBackWhereReadingStopped) {
    Start();
    const QString bookPath = WriteFile("book.txt", kBook);
    ASSERT_TRUE(Open(bookPath));
    ASSERT_EQ(document.name, U"book.txt");
    PutOnShelf("Война и мир");
    ASSERT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Война и мир");
    const std::size_t meeting = PositionOf("встречает");
    const std::size_t evening = PositionOf("Вечером");
    const std::size_t stop = PositionOf("говорят");
    Text().SetCaret(evening);
    PlaceNamed("вечер");
    Text().SetCaret(meeting);
    PlaceNamed("встреча");
    ASSERT_EQ(document.Bookmarks().size(), 2u);

    // Another document goes on the shelf after it; then the book is opened
    // from the shelf again and read up to a new place.
    ASSERT_TRUE(Open(WriteFile("other.txt", "Другой текст. " + kBook)));
    PutOnShelf("Другая книга");
    ASSERT_EQ(ShelfNames(), (QStringList{"Другая книга", "Война и мир"}));
    OpenFromShelfCommand(*Frame(), 1);
    ASSERT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Война и мир");
    EXPECT_EQ(Text().Selection().start, meeting);  // where the caret was when it was closed
    Text().SetCaret(stop);
    CloseProgram();

    // The second run.
    SettingsHolder settings2;
    ShelfFile shelf2;
    ShelfDocument document2;
    RunEnd runEnd;
    const StartupEnvironment environment{"lmn", directory.path() + u'/', {}, kScreen};
    ASSERT_TRUE(CLmnApp::Instance()->Start(environment, settings2, shelf2, document2));
    CMainFrame& frame = *Frame();
    const std::optional<std::vector<ShelfListEntry>> entries = shelf2.ListEntries();
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ(Shown((*entries)[0].name), "Война и мир");  // closing moved it to the front

    OpenFromShelfCommand(frame, 0);
    EXPECT_EQ(document2.key, (*entries)[0].key);
    EXPECT_EQ(frame.windowTitle(), "Orvek Lumeno - Война и мир");
    EXPECT_EQ(Text().Selection(), (TextRange{stop, stop + 7}));  // the word at the caret
    EXPECT_EQ(frame.Task(), ReadingTask::TaskFromCaret);
    EXPECT_FALSE(frame.Action(ID_SHELF_PUT)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_BOOKMARKS_SHOW)->isEnabled());

    // Both bookmarks are listed, in the order of their places, and work.
    for (const auto& [row, place] : {std::pair{0, meeting}, std::pair{1, evening}}) {
        SCOPED_TRACE(row);
        ModalAnswer go([row](QWidget* modal) {
            auto* dialog = qobject_cast<CBookmarksDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->List()->count(), 2);
            EXPECT_EQ(dialog->List()->item(0)->text(), "встреча");
            EXPECT_EQ(dialog->List()->item(1)->text(), "вечер");
            EXPECT_EQ(dialog->CountLine(), "Всего закладок: 2");
            dialog->List()->setCurrentRow(row);
            dialog->ActionButton()->click();
        });
        Text().SetCaret(0);
        frame.Action(CommandId::ID_BOOKMARKS_SHOW)->trigger();
        EXPECT_EQ(go.seen, QStringList{"Закладки"});
        EXPECT_EQ(Text().Selection().start, place);
        EXPECT_EQ(frame.Task(), ReadingTask::TaskFromCaret);
    }
}

}  // namespace
