#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QSplitter>

#include <QTest>
#include <QToolButton>
#include "frame/CPaneSplitter.h"

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "base/SafeFileWriter.h"
#include "frame/CReaderBar.h"
#include "frame/CommandTable.h"
#include "reading/CEstimatePane.h"
#include "text/CTextCtrl.h"
#include "widgets/CColorStatic.h"

#include "TestText.h"

namespace {

using enum CommandId;

class MainFrameTest : public ProgramFixture {};

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) texts << (action->isSeparator() ? "-" : action->text());
    return texts;
}

TEST_F(MainFrameTest, MenusCarryTheItemsAndShortcutTexts) {
    Start();
    const QList<QAction*> menus = Frame()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), "&Документы");
    EXPECT_EQ(MenuTexts(menus[0]->menu()),
              (QStringList{"&Открыть файл\tCtrl+O", "Показать полку\tCtrl+B",
                           "Положить на полку\tAlt+B", "-", "Выход"}));
    EXPECT_EQ(MenuTexts(menus[1]->menu()),
              (QStringList{"Читать текст от начала до конца", "Читать отсюда до конца текста",
                           "Читать от начала текста до сих пор", "Читать выделенный текст", "-",
                           "Показать закладки\tCtrl+M", "Поместить закладку\tAlt+M", "-",
                           "Искать\tCtrl+F"}));
    EXPECT_EQ(MenuTexts(menus[2]->menu()),
              (QStringList{"Общие", "Область чтения", "Область текста"}));
    EXPECT_EQ(menus[3]->text(), "?");
    EXPECT_EQ(MenuTexts(menus[3]->menu()),
              (QStringList{"&Вызов справки\tF1", "&Горячие клавиши\tCtrl+K", "Использование мыши",
                           "-", "&О программе"}));
}

TEST_F(MainFrameTest, ControlBarHoldsItsEighteenEntriesInOrder) {
    Start();
    // The caption ahead of the buttons shows only while the bar floats.
    QList<QAction*> entries;
    for (QAction* entry : Frame()->ReaderBar()->actions()) {
        if (entry->isVisible()) entries << entry;
    }
    ASSERT_EQ(entries.size(), 18);
    QStringList tooltips;
    for (QAction* entry : entries) {
        tooltips << (entry->isSeparator() ? "-" : entry->toolTip());
    }
    tooltips.remove(9, 3);  // the speed display and its arrows
    EXPECT_EQ(tooltips,
              (QStringList{"Открыть документ (Ctrl+O)", "Загрузить текст из клипборда (Ctrl+V)",
                           "Показать полку (Ctrl+B)", "Положить документ на полку (Alt+B)", "-",
                           "Использовать всё окно (F5)", "Использовать окно совместно (F9)", "-",
                           "Начать/Остановить чтение (Пробел)", "Показать закладки (Ctrl+M)",
                           "Поместить закладку (Alt+M)", "-", "Вызов справки (F1)",
                           "Горячие клавиши (Ctrl+K)", "Использование мыши"}));
    EXPECT_EQ(Frame()->ReaderBar()->windowTitle(), "Lumeno. Control Bar");
    EXPECT_EQ(Frame()->ReaderBar()->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
    for (QAction* entry : entries) {
        if (!entry->isSeparator() && !entry->toolTip().isEmpty()) {
            EXPECT_FALSE(entry->icon().isNull()) << entry->toolTip().toStdString();
        }
    }
}

TEST_F(MainFrameTest, EnablingFollowsSelectionShelfKeyAndText) {
    Start();
    EXPECT_FALSE(Frame()->Action(ID_READ_ALL)->isEnabled());  // nothing loaded
    EXPECT_FALSE(Frame()->Action(ID_FIND)->isEnabled());
    LoadClipboardText(QString(500, u'ж'));
    CTextCtrl* text = Frame()->TextCtrl();
    text->SetSelection(10, 80);
    EXPECT_TRUE(Frame()->Action(ID_READ_ALL)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_READ_FROM_CARET)->isEnabled());
    EXPECT_FALSE(Frame()->Action(ID_READ_SELECTION)->isEnabled());
    text->SetSelection(10, 81);
    EXPECT_FALSE(Frame()->Action(ID_READ_ALL)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_READ_SELECTION)->isEnabled());
    // Clipboard text is no document: neither the shelf nor bookmarks.
    EXPECT_FALSE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
    EXPECT_FALSE(Frame()->Action(ID_BOOKMARK_PUT)->isEnabled());
    document.key = 0;
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
    EXPECT_FALSE(Frame()->Action(ID_BOOKMARKS_SHOW)->isEnabled());
    document.key = 3;
    Frame()->UpdateCommandStates();
    EXPECT_FALSE(Frame()->Action(ID_SHELF_PUT)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_BOOKMARKS_SHOW)->isEnabled());
    EXPECT_TRUE(Frame()->Action(ID_BOOKMARK_PUT)->isEnabled());
}

TEST_F(MainFrameTest, WholeAndSharedWindowLayoutsRememberThePaneHeight) {
    Start();
    EXPECT_EQ(Frame()->minimumSize(), QSize(682, 512));  // two thirds of the screen
    CPaneSplitter* panes = Frame()->Splitter();
    int shared = 0;
    ASSERT_TRUE(panes->BothPanesShown(&shared));
    ASSERT_GT(shared, 0);

    PressKey(Qt::Key_F5);
    EXPECT_FALSE(panes->BothPanesShown());
    EXPECT_EQ(panes->sizes().value(0), 0);
    EXPECT_EQ(panes->RememberedPaneHeight(), shared);

    PressKey(Qt::Key_F5);  // the second press keeps what the first remembered
    EXPECT_EQ(panes->RememberedPaneHeight(), shared);

    PressKey(Qt::Key_F9);  // the split F5 found
    ASSERT_TRUE(panes->BothPanesShown());
    EXPECT_EQ(panes->sizes().value(0), shared);
    EXPECT_EQ(panes->RememberedPaneHeight(), shared);

    // A pane dragged away: F9 shares the window at two thirds.
    panes->setSizes({0, panes->height()});
    PressKey(Qt::Key_F9);
    ASSERT_TRUE(panes->BothPanesShown());
    const int clientHeight = Frame()->height() - Frame()->menuBar()->height();
    EXPECT_EQ(panes->RememberedPaneHeight(), (2 * clientHeight) / 3);

    panes->setSizes({123, panes->height() - panes->handleWidth() - 123});
    PressKey(Qt::Key_F9);  // both shown: nothing moves, the height is remembered
    EXPECT_EQ(panes->sizes().value(0), 123);
    EXPECT_EQ(panes->RememberedPaneHeight(), 123);

    PressKey(Qt::Key_F5);
    CloseProgram();
    EXPECT_EQ(settings.settings.readingPaneHeight, 123);
}

TEST_F(MainFrameTest, KeypadKeysAndArrowsChangeTheLevelWithinItsRange) {
    ReaderSettings stored = DefaultSettings(1024, 768);
    stored.speedLevel = 49;
    ASSERT_TRUE(WriteFileSafely(DataFile().toStdString(), SerializeSettings(stored)));
    Start();
    CReaderBar* bar = Frame()->ReaderBar();
    EXPECT_EQ(bar->SpeedDisplay()->text(), "49");
    PressKey(Qt::KeypadModifier | Qt::Key_Plus);
    PressKey(Qt::KeypadModifier | Qt::Key_Plus);
    EXPECT_EQ(bar->SpeedLevel(), 50);
    EXPECT_EQ(bar->SpeedDisplay()->text(), "50");
    PressKey(Qt::Key_Plus);  // the main keyboard's plus stops at 50 too
    EXPECT_EQ(bar->SpeedLevel(), 50);
    // Without a keypad: "+" (shifted or not, as the layout has it), "=" and "-".
    bar->SetSpeedLevel(30);
    PressKey(QKeyCombination(Qt::Key_Equal));
    PressKey(Qt::ShiftModifier | Qt::Key_Plus);
    PressKey(QKeyCombination(Qt::Key_Plus));
    EXPECT_EQ(bar->SpeedLevel(), 33);
    PressKey(QKeyCombination(Qt::Key_Minus));
    EXPECT_EQ(bar->SpeedLevel(), 32);
    bar->SetSpeedLevel(2);
    PressKey(Qt::KeypadModifier | Qt::Key_Minus);
    PressKey(Qt::KeypadModifier | Qt::Key_Minus);
    EXPECT_EQ(bar->SpeedLevel(), 1);
    bar->UpArrow()->click();
    EXPECT_EQ(bar->SpeedLevel(), 2);
    bar->DownArrow()->click();
    bar->DownArrow()->click();
    EXPECT_EQ(bar->SpeedLevel(), 1);
    bar->SetSpeedLevel(37);
    CloseProgram();
    EXPECT_EQ(settings.settings.speedLevel, 37);
}

TEST_F(MainFrameTest, ColorStaticResetsTheOtherColor) {
    CColorStatic label;
    EXPECT_FALSE(label.HasColors());
    label.SetBkColor(0x000000FF);  // red background
    EXPECT_EQ(label.BackgroundColor(), QColor(255, 0, 0));
    EXPECT_EQ(label.TextColor(), QColor(Qt::black));
    label.SetTextColor(0x00FF0000);  // blue text
    EXPECT_EQ(label.TextColor(), QColor(0, 0, 255));
    EXPECT_EQ(label.BackgroundColor(), label.palette().color(QPalette::Button));
    label.SetBkColor(0x0000FF00);
    EXPECT_EQ(label.TextColor(), QColor(Qt::black));
}

TEST_F(MainFrameTest, ProgressBarEmptiesStepsAndFills) {
    Start();
    CReaderBar* bar = Frame()->ReaderBar();
    EXPECT_EQ(bar->Progress(), 0);
    bar->StepProgress();
    EXPECT_EQ(bar->Progress(), 1);
    for (int i = 0; i < 50; ++i) bar->StepProgress();
    EXPECT_EQ(bar->Progress(), 40);
    bar->ResetProgress();
    EXPECT_EQ(bar->Progress(), 0);
    bar->FillProgress();
    EXPECT_EQ(bar->Progress(), 40);
}

TEST_F(MainFrameTest, StatusPaneNamesTheTask) {
    Start();
    EXPECT_EQ(Frame()->StatusPane()->text(), "");
    LoadClipboardText("Текст для чтения");
    EXPECT_EQ(Frame()->StatusPane()->text(), "Читать от НАЧАЛА текста до КОНЦА");
    LoadClipboardText(QString(80, u'ж'));
    Frame()->TextCtrl()->SetSelection(0, 80);  // long enough to be read alone
    Trigger(CommandId::ID_READ_SELECTION);
    EXPECT_EQ(Frame()->StatusPane()->text(), "Читать ВЫДЕЛЕННЫЙ текст");
    LoadClipboardText("   ");
    EXPECT_EQ(Frame()->StatusPane()->text(), "");
}

TEST_F(MainFrameTest, SecondStatusPaneShowsRateAndTimeLeftWhileATaskIsSet) {
    Start();
    QLabel* pane = Frame()->EstimatePane();
    EXPECT_EQ(pane->text(), "");
    // Five words of six letters or more at level 25: 200 ms each.
    LoadClipboardText("golden bridge crossed rivers slowly.");
    EXPECT_EQ(pane->text(), "≈ 300 слов/мин · осталось 1 с");
    Frame()->ReaderBar()->SetSpeedLevel(50);
    EXPECT_EQ(pane->text(), "≈ 1200 слов/мин · осталось 1 с");
    LoadClipboardText("   ");
    EXPECT_EQ(pane->text(), "");
}

// With a layout that has no Latin letters (Russian alone) a letter key gives
// a Cyrillic key, which no shortcut matches: a command key counts by its
// place on the keyboard, as the US layout has it (X keycodes).
TEST_F(MainFrameTest, CommandKeysCountByTheirPlaceWithoutLatinLetters) {
    Start();
    const QString first = "Первая строка текста, достаточно длинная для чтения из буфера обмена.";
    LoadClipboardText(first);
    CTextCtrl* text = Frame()->TextCtrl();
    const auto press = [text](int key, quint32 keycode, const QString& letter) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::ControlModifier, keycode, 0, 0, letter);
        QApplication::sendEvent(text, &event);
    };
    press(0x0424, 38, "ф");  // Ctrl+Ф on the A key: the pane's own "select all"
    EXPECT_EQ(text->Selection(), (TextRange{0, static_cast<std::size_t>(first.size())}));
    const QString second =
        "Второй текст, и он тоже достаточно длинный, чтобы его можно было читать.";
    QApplication::clipboard()->setText(second);
    press(0x0421, 54, "с");  // Ctrl+С on the C key copies, it does not load
    EXPECT_EQ(QApplication::clipboard()->text(), first);
    QApplication::clipboard()->setText(second);
    press(0x041C, 55, "м");  // Ctrl+М on the V key loads the clipboard
    EXPECT_EQ(text->Document().Length(), static_cast<std::size_t>(second.size()));
}

TEST_F(MainFrameTest, ClipboardLoadTrimsAndPutsTheCaretAtTheStart) {
    Start();
    struct Case {
        const char* name;
        QString clipboard;
        int length;
        bool tooShort;
    };
    const Case cases[] = {
        {"79 characters", QString(79, u'a'), 79, true},
        {"80 characters", QString(80, u'a'), 80, false},
        {"300 with 280 trailing spaces", QString(20, u'b') + QString(280, u' '), 44, true},
        {"breaks and spaces", "Слово.\r\n\r\n  ", 6, true},
        {"only blanks", "\n\t  \n", 0, true},
        {"empty", "", 0, true},
    };
    CTextCtrl* text = Frame()->TextCtrl();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadClipboardText(c.clipboard);
        EXPECT_EQ(static_cast<int>(text->Document().Length()), c.length);
        EXPECT_EQ(text->Document().TooShort(), c.tooShort);
        EXPECT_EQ(text->Selection(), (TextRange{0, 0}));
        EXPECT_EQ(document.key, -1);
        EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
        EXPECT_TRUE(text->isReadOnly());
    }
    // Every character is kept, those Windows-1251 lacks among them.
    LoadClipboardText("Ёлка \u65E5\u672C \U0001F600");
    EXPECT_EQ(text->Document().Characters(),
              FromCp1251("\xA8\xEB\xEA\xE0") + U" \u65E5\u672C \U0001F600");
    EXPECT_EQ(text->toPlainText(), "Ёлка \u65E5\u672C \U0001F600");
}

// The clipboard's text is read in whatever form it comes; a clipboard with
// no text in it is told and leaves the text as it was.
TEST_F(MainFrameTest, ClipboardTextIsReadInEveryFormAndNoTextChangesNothing) {
    Start();
    struct Case {
        const char* name;
        QString format;
        QByteArray bytes;
        std::u32string text;  // empty: the text before stays, with a note
    };
    const Case cases[] = {
        {"plain text with its charset", "text/plain;charset=utf-8", "Ёлка и ель", U"Ёлка и ель"},
        {"another charset", "text/plain;charset=windows-1251", "\xC5\xEB\xFC", U"Ель"},
        {"a page's fragment", "text/html", "<p>Первый</p><p><b>второй</b></p>",
         U"\r\n\r\nПервый\r\n\r\nвторой"},
        {"only an image", "image/png", "\x89PNG", U""},
        {"nothing at all", "", "", U""},
    };
    CTextCtrl* text = Frame()->TextCtrl();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadClipboardText("Прежний текст");
        auto* data = new QMimeData;
        if (!c.format.isEmpty()) data->setData(c.format, c.bytes);
        QApplication::clipboard()->setMimeData(data);
        ModalAnswer answer;
        Trigger(CommandId::ID_LOAD_CLIPBOARD);
        const std::u32string expected = c.text.empty() ? U"Прежний текст" : c.text;
        EXPECT_EQ(text->Document().Characters(), expected);
        EXPECT_EQ(answer.seen.size(), c.text.empty() ? 1 : 0);
    }
}

TEST_F(MainFrameTest, CopyPutsTheSelectionOnTheClipboardAsUnicodeWithLfBreaks) {
    Start();
    LoadClipboardText("Война и мир\r\nтом первый");
    Frame()->TextCtrl()->SetSelection(6, 16);
    Frame()->TextCtrl()->setFocus();
    QApplication::clipboard()->clear();
    PressKey(Qt::ControlModifier | Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "и мир\nтом");
    QApplication::clipboard()->clear();
    PressKey(Qt::ControlModifier | Qt::Key_Insert);
    EXPECT_EQ(QApplication::clipboard()->text(), "и мир\nтом");
    // The text itself keeps its break.
    EXPECT_EQ(Frame()->TextCtrl()->Document().Characters().substr(11, 2), U"\r\n");
}

TEST_F(MainFrameTest, ProgramKeysReachTheWindowWhileTheTextHasFocus) {
    Start();
    LoadClipboardText("one two three");
    Frame()->TextCtrl()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Frame()->TextCtrl());
    struct Case {
        const char* name;
        QKeyCombination key;
        CommandId command;
    };
    for (const Case& c :
         {Case{"space", QKeyCombination(Qt::Key_Space), ID_READ_TOGGLE},
          Case{"F3", QKeyCombination(Qt::Key_F3), ID_FIND_NEXT},
          Case{"ctrl+v", Qt::ControlModifier | Qt::Key_V, ID_LOAD_CLIPBOARD},
          Case{"shift+insert", Qt::ShiftModifier | Qt::Key_Insert, ID_LOAD_CLIPBOARD},
          Case{"ctrl+f", Qt::ControlModifier | Qt::Key_F, ID_FIND},
          Case{"alt+b", Qt::AltModifier | Qt::Key_B, ID_SHELF_PUT}}) {
        SCOPED_TRACE(c.name);
        // A dialog opened by the key before may have taken the activation.
        QApplication::setActiveWindow(Frame());
        Frame()->TextCtrl()->setFocus();
        QAction* action = Frame()->Action(c.command);
        action->setEnabled(true);  // whatever the rule says now, the key must arrive
        QSignalSpy triggered(action, &QAction::triggered);
        ModalAnswer dismiss([](QWidget* dialog) { dialog->close(); });
        PressKey(c.key);
        EXPECT_EQ(triggered.count(), 1);
    }
}

TEST_F(MainFrameTest, TextPaneNavigatesAndSelectsLikeAReadOnlyView) {
    Start();
    LoadClipboardText("first line\r\nsecond line\r\nthird");
    CTextCtrl* text = Frame()->TextCtrl();
    text->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(text->Selection(), (TextRange{12, 12}));  // after the CR LF
    PressKey(Qt::ShiftModifier | Qt::Key_End);
    EXPECT_EQ(text->SelectedText(), U"second line");
    PressKey(Qt::ControlModifier | Qt::Key_End);
    EXPECT_EQ(text->Selection(), (TextRange{30, 30}));
    PressKey(Qt::ControlModifier | Qt::Key_A);
    EXPECT_EQ(text->SelectedText(), U"first line\r\nsecond line\r\nthird");
    EXPECT_EQ(text->Document().Characters(),
              U"first line\r\nsecond line\r\nthird");  // nothing typed in
}

TEST_F(MainFrameTest, PositionsCrossIntoTheWidgetExactlyInALongText) {
    Start();
    // Enough lines that the widget splits the text into several paragraphs;
    // characters beyond the BMP are one position here and two in the widget.
    QString clipboard;
    for (int i = 0; i < 3000; ++i) {
        clipboard += QString("строка %1").arg(i, 4, 10, QChar(u'0'));
        if (i % 10 == 0) clipboard += " \U0001F600\u65E5";
        clipboard += i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r";
    }
    clipboard += "конец";
    LoadClipboardText(clipboard);
    CTextCtrl* text = Frame()->TextCtrl();
    ASSERT_GT(text->document()->blockCount(), 2);
    const std::u32string& chars = text->Document().Characters();
    for (std::size_t position : {std::size_t{0}, std::size_t{8}, std::size_t{12}, std::size_t{13},
                                 std::size_t{4100}, std::size_t{20000}, chars.size() - 5}) {
        SCOPED_TRACE(position);
        text->SetSelection(position, position + 5);
        EXPECT_EQ(text->Selection(), (TextRange{position, position + 5}));
        EXPECT_EQ(text->SelectedText(), chars.substr(position, 5));
    }
    text->SetSelection(chars.size() - 5, chars.size());
    EXPECT_EQ(text->textCursor().selectedText(), "конец");
}

TEST_F(MainFrameTest, TheControlBarSideAndPaneHeightSurviveARestart) {
    Start();
    CPaneSplitter* panes = Frame()->Splitter();
    panes->setSizes({200, panes->height() - panes->handleWidth() - 200});
    Frame()->addToolBar(Qt::BottomToolBarArea, Frame()->ReaderBar());
    CloseProgram();
    EXPECT_EQ(settings.settings.readingPaneHeight, 200);
    EXPECT_EQ(settings.settings.controlBarPlacementValid, 1);
    EXPECT_EQ(settings.settings.controlBarStyle, 0x8000);
    EXPECT_EQ(settings.settings.controlBarPlacement.length, 44u);
    Start();
    EXPECT_EQ(Frame()->toolBarArea(Frame()->ReaderBar()), Qt::BottomToolBarArea);
}

}  // namespace
