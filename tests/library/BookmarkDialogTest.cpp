#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "LibraryFixture.h"
#include "library/BookmarkRules.h"
#include "library/CBookmarkNameDlg.h"
#include "library/CBookmarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/ShelfDocument.h"
#include "widgets/CLimitedTextEdit.h"

// Placing, listing, visiting and deleting bookmarks of a shelved document,
// driven as the user drives them. The document is a text written into the
// test's own directory.

namespace {

const QString kBook =
    "Первая глава начинается здесь. Герой выходит из дома и идёт по улице к реке. "
    "Там он встречает старого друга! Они долго говорят о прошлом. Вечером герой "
    "возвращается домой.";

constexpr const char* kNoBookmarkSelected = "Orvek Lumeno|Закладка не выбрана";
constexpr const char* kInvalidQuestion =
    "Orvek Lumeno|Эта закладка недействительна.\nПо-видимому в документ были внесены "
    "изменения.\nУдалить эту закладку?";

class BookmarkDialogTest : public LibraryFixture {
protected:
    void OpenShelvedBook() {
        ASSERT_TRUE(Open(WriteFile("book.txt", kBook)));
        PutOnShelf("Книга");
    }
    // Opens the shelf's entry in that row, as the user would.
    void OpenFromShelf(int row) {
        CShelfDlg dialog(Frame()->Documents(), ShelfDialogSizes(settings.settings), kScreen);
        dialog.show();
        dialog.List()->setCurrentRow(row);
        dialog.ActionButton()->click();
    }
    // The bookmarks dialog, open as the bookmarks command opens it.
    std::unique_ptr<CBookmarksDlg> ShowMarks() {
        auto dialog = std::make_unique<CBookmarksDlg>(
            Frame()->Documents(), BookmarksDialogSizes(settings.settings), kScreen);
        dialog->show();
        return dialog;
    }
    QStringList Names() const {
        QStringList names;
        for (const std::u32string& name : document.BookmarkNames()) names << Shown(name);
        return names;
    }
};

TEST_F(BookmarkDialogTest, TheNameOfferedIsTheSentenceAtTheCaret) {
    Start();
    OpenShelvedBook();
    const std::size_t caret = PositionOf("из дома");
    Text().SetCaret(caret);
    EXPECT_EQ(PlaceNamed({}), "Герой выходит из дома и идёт по улице к реке");
    ASSERT_EQ(document.Bookmarks().size(), 1u);
    const Bookmark& mark = document.Bookmarks()[0];
    EXPECT_EQ(Shown(mark.name), "Герой выходит из дома и идёт по улице к реке");
    EXPECT_EQ(mark.position, static_cast<std::int32_t>(caret));
    EXPECT_EQ(mark.checkValue, TextCheckValue(Text().Document().Characters(), caret));
    EXPECT_EQ(Text().Selection(), (TextRange{caret, caret}));  // the caret did not move
}

TEST_F(BookmarkDialogTest, NamingRefusesEmptyNamesAndCancelPlacesNothing) {
    Start();
    OpenShelvedBook();
    Text().SetCaret(PositionOf("Там он"));
    {
        ModalAnswer answer([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                box->button(QMessageBox::Ok)->click();
            } else if (auto* dialog = qobject_cast<CBookmarkNameDlg*>(modal)) {
                dialog->NameField()->setPlainText(" \t ");
                dialog->OkButton()->click();
                EXPECT_TRUE(dialog->isVisible());
                dialog->NameField()->setPlainText("  у реки\n ");
                dialog->OkButton()->click();
            }
        });
        Trigger(CommandId::ID_BOOKMARK_PUT);
        EXPECT_EQ(answer.seen,
                  (QStringList{"Поместить закладку",
                               "Orvek Lumeno|Нужно дать закладке какое-нибудь название"}));
        EXPECT_EQ(Names(), QStringList{"у реки"});
    }

    ModalAnswer cancel([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    Trigger(CommandId::ID_BOOKMARK_PUT);
    EXPECT_EQ(cancel.seen, QStringList{"Поместить закладку"});
    EXPECT_EQ(Names(), QStringList{"у реки"});
}

TEST_F(BookmarkDialogTest, NamesAreCutAt255Characters) {
    Start();
    OpenShelvedBook();
    const QString typed = QString(200, u'я') + QString(100, u'ю');
    PlaceNamed(typed);
    EXPECT_EQ(Names(), QStringList{typed.left(255)});
}

// Bookmark names are stored in Windows-1251 too (the shelf file tests check
// the "?"): the note shows while the name holds a character the code page lacks.
TEST_F(BookmarkDialogTest, ANoteShowsWhileTheNameHoldsCharactersTheShelfCannotKeep) {
    Start();
    CBookmarkNameDlg dialog(U"Глава");
    dialog.show();
    auto* note = dialog.findChild<QLabel*>("CodePageNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isHidden());
    CLimitedTextEdit* field = dialog.NameField();
    field->moveCursor(QTextCursor::End);
    struct Step {
        const char* label;
        std::function<void()> edit;
        bool shown;
    };
    const Step steps[] = {
        {"typing a letter Windows-1251 lacks", [&] { TypeText(field, " \u00F6"); }, true},
        {"erasing it again", [&] { QTest::keyClick(field, Qt::Key_Backspace); }, false},
        {"a character beyond the BMP", [&] { field->setPlainText("\U0001F600"); }, true},
        {"emptied", [&] { field->clear(); }, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        step.edit();
        EXPECT_EQ(note->isVisible(), step.shown);
        EXPECT_EQ(note->isHidden(), !step.shown);
    }
    // A proposal taken from the text may hold such characters from the start.
    CBookmarkNameDlg proposed(U"G\u00F6del");
    proposed.show();
    EXPECT_TRUE(proposed.findChild<QLabel*>("CodePageNote")->isVisible());
}

TEST_F(BookmarkDialogTest, ATextTooSmallTakesNoBookmark) {
    Start();
    ASSERT_TRUE(Open(WriteFile("short.txt", "Короткий текст.")));
    PutOnShelf("Коротко");
    ModalAnswer answer;
    Trigger(CommandId::ID_BOOKMARK_PUT);
    EXPECT_EQ(answer.seen,
              QStringList{"Orvek Lumeno|Поместить закладку нельзя - текст слишком мал."});
    EXPECT_TRUE(document.Bookmarks().empty());
}

// The list has the focus and its first entry is the current one, but none is
// selected: the first entry must look exactly like the second, unselected one
// of the same name, or the user takes it for chosen.
TEST_F(BookmarkDialogTest, TheCurrentEntryDoesNotLookSelected) {
    Start();
    OpenShelvedBook();
    PlaceNamed("Глава");
    Text().SetCaret(PositionOf("Вечером"));
    PlaceNamed("Глава");
    auto dialog = ShowMarks();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QListWidget* list = dialog->List();
    list->setFocus();
    list->clearSelection();
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    ASSERT_TRUE(list->hasFocus());
    ASSERT_TRUE(list->selectedItems().isEmpty());
    const QImage shown = list->viewport()->grab().toImage();
    const QRect first = list->visualItemRect(list->item(0));
    const QRect second = list->visualItemRect(list->item(1));
    EXPECT_EQ(shown.copy(first), shown.copy(second));
}

TEST_F(BookmarkDialogTest, ShiftTakesTheOfferedNameWithoutTheDialog) {
    Start();
    OpenShelvedBook();
    QTest::keyPress(Frame()->windowHandle(), Qt::Key_Shift, Qt::ShiftModifier);
    ASSERT_TRUE(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
    ModalAnswer answer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    Text().SetCaret(PositionOf("старого"));
    Trigger(CommandId::ID_BOOKMARK_PUT);
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_EQ(Names(), QStringList{"Там он встречает старого друга"});
    // With nothing to offer (the caret after the last full stop) the dialog
    // opens all the same.
    Text().SetCaret(Text().Document().Characters().size());
    Trigger(CommandId::ID_BOOKMARK_PUT);
    EXPECT_EQ(answer.seen, QStringList{"Поместить закладку"});
    QTest::keyRelease(Frame()->windowHandle(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_FALSE(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
    EXPECT_EQ(Names(), QStringList{"Там он встречает старого друга"});
}

TEST_F(BookmarkDialogTest, EqualPositionsAreListedNewestFirst) {
    Start();
    OpenShelvedBook();
    {
        auto dialog = ShowMarks();
        EXPECT_EQ(dialog->windowTitle(), "Закладки");
        EXPECT_EQ(dialog->CountLine(), "Закладок нет");
        EXPECT_FALSE(dialog->ActionButton()->isEnabled());
        EXPECT_FALSE(dialog->DeleteButton()->isEnabled());
        EXPECT_EQ(dialog->ActionButton()->text(), "Перейти");
    }
    Text().SetCaret(PositionOf("Вечером"));
    PlaceNamed("позже");
    Text().SetCaret(PositionOf("Там он"));
    PlaceNamed("первая");
    PlaceNamed("вторая");
    auto dialog = ShowMarks();
    QStringList listed;
    for (int i = 0; i < dialog->List()->count(); ++i) listed << dialog->List()->item(i)->text();
    EXPECT_EQ(listed, (QStringList{"вторая", "первая", "позже"}));
    EXPECT_EQ(dialog->CountLine(), "Всего закладок: 3");
}

TEST_F(BookmarkDialogTest, GoingToABookmarkReadsOnFromThere) {
    Start();
    OpenShelvedBook();
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
        EXPECT_EQ(answer.seen, QStringList{kNoBookmarkSelected});
        EXPECT_EQ(Names(), QStringList{"встреча"});
        dialog->ActionButton()->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(Text().Selection(), (TextRange{place, place + 9}));
        EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    }

    // Two bookmarks: the list opens with the first chosen, End and Home move
    // the choice, Enter goes; with none chosen, going needs one.
    Text().SetCaret(PositionOf("Вечером"));
    PlaceNamed("вечер");
    {
        auto dialog = ShowMarks();
        QListWidget* list = dialog->List();
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        QTest::keyClick(list, Qt::Key_End);
        EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(1)});
        QTest::keyClick(list, Qt::Key_Home);
        EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        list->clearSelection();
        ModalAnswer answer;
        dialog->ActionButton()->click();
        EXPECT_EQ(answer.seen, QStringList{kNoBookmarkSelected});
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(Text().Selection().start, place);
    }

    // Deleting the selected one, without asking.
    auto dialog = ShowMarks();
    ModalAnswer answer;
    dialog->List()->setCurrentRow(1);
    dialog->DeleteButton()->click();
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->CountLine(), "Всего закладок: 1");
    EXPECT_EQ(Names(), QStringList{"встреча"});
}

TEST_F(BookmarkDialogTest, AChangedFileMakesABookmarkInvalid) {
    Start();
    OpenShelvedBook();
    Text().SetCaret(PositionOf("встречает"));
    PlaceNamed("встреча");
    Text().SetCaret(PositionOf("Вечером"));
    PlaceNamed("вечер");
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook)));  // the book goes back to the shelf
    QString edited = kBook;
    edited.replace("встречает", "провожает");  // same length: later text keeps its place
    WriteFile("book.txt", edited);
    OpenFromShelf(1);
    ASSERT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Книга");
    ASSERT_EQ(Names(), (QStringList{"встреча", "вечер"}));  // no resume bookmark listed
    Text().SetSelection(5, 10);

    auto dialog = ShowMarks();
    dialog->List()->setCurrentRow(0);
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalAnswer no([&icon](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            box->button(QMessageBox::No)->click();
        });
        dialog->ActionButton()->click();
        EXPECT_EQ(no.seen, QStringList{kInvalidQuestion});
        EXPECT_EQ(icon, QMessageBox::Question);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(Text().Selection(), (TextRange{5, 10}));
        EXPECT_EQ(Names(), (QStringList{"встреча", "вечер"}));
    }

    ModalAnswer yes(ClickButton(QMessageBox::Yes));
    dialog->List()->setCurrentRow(0);
    dialog->ActionButton()->click();
    EXPECT_EQ(yes.seen, QStringList{kInvalidQuestion});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Text().Selection(), (TextRange{5, 10}));
    EXPECT_EQ(Names(), QStringList{"вечер"});
    EXPECT_EQ(dialog->CountLine(), "Всего закладок: 1");

    // The text after the edit kept its place, so the other one still fits.
    dialog->ActionButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Text().Selection().start, PositionOf("Вечером"));
}

TEST_F(BookmarkDialogTest, ABookmarkNamedDotIsTakenForTheResumeBookmark) {
    Start();
    OpenShelvedBook();
    const std::size_t dot = PositionOf("Там он");
    Text().SetCaret(dot);
    PlaceNamed(".");
    Text().SetCaret(PositionOf("Вечером"));  // where reading stops
    ASSERT_TRUE(Open(WriteFile("other.txt", kBook)));
    OpenFromShelf(0);
    ASSERT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Книга");
    EXPECT_EQ(Text().Selection().start, dot);
    // The first "." went; the resume bookmark stored on closing is listed.
    EXPECT_EQ(Names(), QStringList{"."});
    EXPECT_EQ(document.Bookmarks()[0].position, static_cast<std::int32_t>(PositionOf("Вечером")));
}

}  // namespace
