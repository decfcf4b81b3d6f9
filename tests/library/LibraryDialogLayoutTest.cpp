#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <functional>
#include <memory>

#include "LibraryFixture.h"
#include "Screenshot.h"
#include "library/BookmarkRules.h"
#include "library/CBookmarkNameDlg.h"
#include "library/CBookmarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfDocument.h"
#include "widgets/DialogUnits.h"

// Where the shelf and bookmark dialogs open, how they resize and what size
// they remember; and that every text fits its control. With
// LMN_SCREENSHOT_DIR set, each dialog is also saved there as a PNG, with its
// title drawn above it as a caption bar would show it.

namespace {

const QString kBook =
    "Первая глава начинается здесь. Герой выходит из дома и идёт по улице к реке. "
    "Там он встречает старого друга! Они долго говорят о прошлом. Вечером герой "
    "возвращается домой.";

class LibraryDialogLayoutTest : public LibraryFixture {
protected:
    void ShelveBookWithBookmarks() {
        ASSERT_TRUE(Open(WriteFile("Анна Каренина.txt", "Другая книга. " + kBook)));
        PutOnShelf("Анна Каренина");
        ASSERT_TRUE(Open(WriteFile("Записки.txt", "Записки. " + kBook)));
        PutOnShelf("Записки охотника");
        ASSERT_TRUE(Open(WriteFile("Война и мир.txt", kBook)));
        PutOnShelf("Война и мир, том первый");
        for (const char* place : {"из дома", "встречает", "Вечером"}) {
            Text().SetCaret(PositionOf(place));
            PlaceNamed({});
        }
    }
};

struct SizeFields {
    std::int32_t ReaderSettings::*width;
    std::int32_t ReaderSettings::*height;
    std::int32_t ReaderSettings::*minWidth;
    std::int32_t ReaderSettings::*minHeight;
};

TEST_F(LibraryDialogLayoutTest, ListDialogsRememberTheirSizeAndKeepTheirMinimum) {
    Start();
    ShelveBookWithBookmarks();
    struct Row {
        const char* name;
        std::function<std::unique_ptr<CListDlg>()> make;
        SizeFields fields;
        int templateHeight;
    };
    const Row rows[] = {
        {"shelf",
         [this] {
             return std::make_unique<CShelfDlg>(Frame()->Documents(),
                                                ShelfDialogSizes(settings.settings), kScreen);
         },
         {&ReaderSettings::shelfDialogWidth, &ReaderSettings::shelfDialogHeight,
          &ReaderSettings::shelfDialogMinWidth, &ReaderSettings::shelfDialogMinHeight},
         123},
        {"bookmarks",
         [this] {
             return std::make_unique<CBookmarksDlg>(
                 Frame()->Documents(), BookmarksDialogSizes(settings.settings), kScreen);
         },
         {&ReaderSettings::bookmarksDialogWidth, &ReaderSettings::bookmarksDialogHeight,
          &ReaderSettings::bookmarksDialogMinWidth, &ReaderSettings::bookmarksDialogMinHeight},
         158},
    };
    ReaderSettings& s = settings.settings;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(s.*row.fields.width, 0);  // the first run's defaults
        std::unique_ptr<CListDlg> dialog = row.make();
        dialog->show();
        const QSize first = DialogUnits(dialog->font()).Size(225, row.templateHeight);
        EXPECT_EQ(dialog->size(), first);
        EXPECT_EQ(dialog->minimumSize(), first);
        EXPECT_EQ(QSize(s.*row.fields.width, s.*row.fields.height), first);
        EXPECT_EQ(QSize(s.*row.fields.minWidth, s.*row.fields.minHeight), first);
        EXPECT_EQ(dialog->pos(), QPoint((1024 - first.width()) >> 1, (768 - first.height()) >> 1));

        // The list takes the growth; the buttons keep to their corners.
        const QRect list = dialog->List()->geometry();
        const QRect action = dialog->ActionButton()->geometry();
        const QRect cancel = dialog->CancelButton()->geometry();
        const QRect remove = dialog->DeleteButton()->geometry();
        EXPECT_LE(list.bottom(), action.top());
        EXPECT_LE(action.bottom(), dialog->StatusBar()->geometry().top());
        dialog->resize(first + QSize(101, 57));
        EXPECT_EQ(dialog->List()->geometry(), list.adjusted(0, 0, 101, 57));
        EXPECT_EQ(dialog->ActionButton()->geometry(), action.translated(101, 57));
        EXPECT_EQ(dialog->CancelButton()->geometry(), cancel.translated(101, 57));
        EXPECT_EQ(dialog->DeleteButton()->geometry(), remove.translated(0, 57));
        EXPECT_EQ(dialog->StatusBar()->geometry().bottom(), dialog->height() - 1);
        EXPECT_EQ(dialog->StatusBar()->width(), dialog->width());
        EXPECT_EQ(QSize(s.*row.fields.width, s.*row.fields.height), first + QSize(101, 57));

        // It cannot be made smaller than it first was.
        dialog->resize(first - QSize(40, 30));
        EXPECT_EQ(dialog->size(), first);
        dialog->resize(first + QSize(200, 100));
        dialog->close();

        std::unique_ptr<CListDlg> again = row.make();
        again->show();
        const QSize remembered = first + QSize(200, 100);
        EXPECT_EQ(again->size(), remembered);
        EXPECT_EQ(again->minimumSize(), first);
        EXPECT_EQ(again->pos(),
                  QPoint((1024 - remembered.width()) >> 1, (768 - remembered.height()) >> 1));
    }
    // The sizes reach the settings file.
    CloseProgram();
    SettingsHolder reread;
    reread.SetPath(DataFile().toStdString());
    ASSERT_TRUE(reread.Load(1024, 768));
    EXPECT_EQ(reread.settings.shelfDialogWidth, s.shelfDialogWidth);
    EXPECT_EQ(reread.settings.bookmarksDialogMinHeight, s.bookmarksDialogMinHeight);
}

// Room a text needs in its control.
void ExpectTextFits(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_LE(label->sizeHint().height(), label->height()) << label->text().toStdString();
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
        EXPECT_LE(needed, button->width()) << button->text().toStdString();
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        EXPECT_LE(field->sizeHint().height(), field->height());
    }
}

TEST_F(LibraryDialogLayoutTest, EveryTextFitsItsControl) {
    Start();
    ShelveBookWithBookmarks();
    Text().SetCaret(PositionOf("встречает"));
    const std::optional<ProposedBookmark> proposal =
        DefaultBookmarkName(Text().Document().Characters(), Text().Selection().start);
    ASSERT_TRUE(proposal.has_value());
    struct Shot {
        const char* file;
        std::function<std::unique_ptr<QDialog>()> make;
    };
    const Shot shots[] = {
        {"shelf.png",
         [this] {
             return std::make_unique<CShelfDlg>(Frame()->Documents(),
                                                ShelfDialogSizes(settings.settings), kScreen);
         }},
        {"shelf-name.png", [] { return std::make_unique<CShelfNameDlg>(U"book"); }},
        {"marks.png",
         [this] {
             return std::make_unique<CBookmarksDlg>(
                 Frame()->Documents(), BookmarksDialogSizes(settings.settings), kScreen);
         }},
        {"mark-name.png", [&] { return std::make_unique<CBookmarkNameDlg>(proposal->name); }},
        // With the note that the name loses characters in the shelf file.
        {"shelf-name-note.png", [] { return std::make_unique<CShelfNameDlg>(U"G\u00F6del"); }},
        {"mark-name-note.png", [] { return std::make_unique<CBookmarkNameDlg>(U"G\u00F6del"); }},
    };
    const QString folder = qEnvironmentVariable("LMN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) QDir().mkpath(folder);
    for (const Shot& shot : shots) {
        SCOPED_TRACE(shot.file);
        std::unique_ptr<QDialog> dialog = shot.make();
        dialog->show();
        if (auto* list = dialog->findChild<QListWidget*>()) list->setCurrentRow(0);
        const QRect inside = dialog->rect();
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->parentWidget() == nullptr) continue;
            if (control->parentWidget() == dialog.get()) {
                EXPECT_TRUE(inside.contains(control->geometry()))
                    << control->metaObject()->className();
            }
            ExpectTextFits(control);
        }
        if (!folder.isEmpty()) {
            EXPECT_TRUE(WithCaption(*dialog).save(QDir(folder).filePath(shot.file)));
        }
    }
}

}  // namespace
