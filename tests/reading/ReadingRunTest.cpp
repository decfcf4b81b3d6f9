#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QWheelEvent>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "TestText.h"
#include "base/CodePage.h"
#include "frame/CPaneSplitter.h"
#include "frame/CReaderBar.h"
#include "reading/CReadArea.h"
#include "text/CTextCtrl.h"

namespace {

using enum CommandId;

// Drives reading step by step: each Step() is one tick of the reading timer,
// and the period after it is how long the group stays on screen. The real
// timing in an event loop is measured by bench_frame.
class ReadingRunTest : public ProgramFixture {
protected:
    struct Shown {
        QString text;
        int periodMs;
        bool operator==(const Shown&) const = default;
    };
    Shown StepOnce() {
        Frame()->Step();
        return {Frame()->ReadArea()->DisplayText(), Frame()->GroupPeriodMs()};
    }
    void PressSpace() { PressKey(QKeyCombination(Qt::Key_Space)); }
};

TEST_F(ReadingRunTest, HelloWorldShowsTwoGroupsForTheirIntervalsAndEnds) {
    Start();
    LoadClipboardText("Hello, world.");
    PressSpace();
    ASSERT_TRUE(Frame()->IsReading());
    EXPECT_EQ(Frame()->GroupPeriodMs(), 150);
    EXPECT_EQ(StepOnce(), (Shown{"Hello,", 400}));
    EXPECT_EQ(Frame()->TextCtrl()->SelectedText(), U"Hello,");
    EXPECT_EQ(StepOnce(), (Shown{"world.", 200}));
    EXPECT_EQ(Frame()->TextCtrl()->SelectedText(), U"world.");
    EXPECT_EQ(StepOnce(), (Shown{"", 0}));
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
    EXPECT_EQ(Frame()->ReaderBar()->Progress(), 40);
}

TEST_F(ReadingRunTest, SpaceWithoutATaskExplainsHowToChooseOne) {
    Start();
    ModalAnswer answer;
    PressSpace();
    EXPECT_FALSE(Frame()->IsReading());
    ASSERT_EQ(answer.seen.size(), 1);
    EXPECT_TRUE(answer.seen[0].startsWith("Orvek Lumeno|Что читать? Нет задания!.\n\nКак указать"));
}

TEST_F(ReadingRunTest, SpaceStopsAndTheNextStartResumesAfterTheLastGroup) {
    Start();
    LoadClipboardText("one two three four");
    PressSpace();
    EXPECT_EQ(StepOnce().text, "one");
    PressSpace();
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "");
    PressSpace();
    EXPECT_EQ(StepOnce().text, "two");
    // Choosing the task again restarts it.
    PressSpace();
    Trigger(ID_READ_ALL);
    PressSpace();
    EXPECT_EQ(StepOnce().text, "one");
}

TEST_F(ReadingRunTest, ClipboardIsIgnoredWhileReading) {
    Start();
    LoadClipboardText("one two three four");
    PressSpace();
    QApplication::clipboard()->setText("another text");
    PressKey(Qt::ControlModifier | Qt::Key_V);
    EXPECT_EQ(Frame()->TextCtrl()->Document().Characters(), U"one two three four");
    EXPECT_TRUE(Frame()->IsReading());
    PressSpace();
    PressKey(Qt::ControlModifier | Qt::Key_V);
    EXPECT_EQ(Frame()->TextCtrl()->Document().Characters(), U"another text");
    EXPECT_EQ(Frame()->TextCtrl()->Selection(), (TextRange{0, 0}));
}

TEST_F(ReadingRunTest, ActivationChangesAndAPaneWithoutHeightStopTheRun) {
    Start();
    LoadClipboardText("one two three four");
    for (Qt::ApplicationState state : {Qt::ApplicationInactive, Qt::ApplicationActive}) {
        PressSpace();
        ASSERT_TRUE(Frame()->IsReading());
        emit qApp->applicationStateChanged(state);
        EXPECT_FALSE(Frame()->IsReading());
    }
    PressSpace();
    Frame()->Splitter()->setSizes({0, 1});
    StepOnce();
    EXPECT_FALSE(Frame()->IsReading());
}

TEST_F(ReadingRunTest, RightClickInTheTextStopsAtTheNextStep) {
    Start();
    LoadClipboardText("one two three four");
    PressSpace();
    EXPECT_EQ(StepOnce().text, "one");
    {
        ModalAnswer dismiss([](QWidget* popup) { popup->close(); });
        QTest::mouseClick(Frame()->TextCtrl()->viewport(), Qt::RightButton);
        ASSERT_EQ(dismiss.seen.size(), 1);
    }
    EXPECT_TRUE(Frame()->IsReading());
    EXPECT_EQ(StepOnce(), (Shown{"", 0}));
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);  // the task stays
    PressSpace();
    EXPECT_EQ(StepOnce().text, "two");
}

TEST_F(ReadingRunTest, WholeWindowLayoutSwitchesPanesAsReadingStartsAndStops) {
    Start();
    LoadClipboardText("one two three four");
    CPaneSplitter* panes = Frame()->Splitter();
    PressKey(QKeyCombination(Qt::Key_F5));
    EXPECT_EQ(panes->sizes().value(0), 0);  // the text pane fills the window
    PressSpace();
    EXPECT_GT(panes->sizes().value(0), 0);
    EXPECT_EQ(panes->sizes().value(1), 0);  // the reading pane does
    PressSpace();
    EXPECT_EQ(panes->sizes().value(0), 0);
    EXPECT_GT(panes->sizes().value(1), 0);
}

TEST_F(ReadingRunTest, ClicksInTheReadingPaneChangeTheLevelAndLeaveTheFocus) {
    Start();
    CReaderBar* bar = Frame()->ReaderBar();
    QWidget* pane = Frame()->ReadArea();
    struct Case {
        const char* name;
        int from;
        Qt::MouseButton button;
        bool doubleClick;
        int to;
    };
    for (const Case& c : {Case{"left at 1 stays 1", 1, Qt::LeftButton, false, 1},
                          Case{"left click", 25, Qt::LeftButton, false, 24},
                          Case{"right click", 25, Qt::RightButton, false, 26},
                          Case{"left double click is three steps", 25, Qt::LeftButton, true, 22},
                          Case{"right double click at 49", 49, Qt::RightButton, true, 50}}) {
        SCOPED_TRACE(c.name);
        bar->SetSpeedLevel(c.from);
        if (c.doubleClick) {
            QTest::mouseClick(pane, c.button);
            QTest::mouseDClick(pane, c.button);
        } else {
            QTest::mouseClick(pane, c.button);
        }
        EXPECT_EQ(bar->SpeedLevel(), c.to);
        EXPECT_EQ(QApplication::focusWidget(), Frame()->TextCtrl());
    }
}

TEST_F(ReadingRunTest, TheWheelOverTheReadingPaneChangesTheLevelByTheClickStep) {
    Start();
    settings.settings.clickStep = 2;
    CReaderBar* bar = Frame()->ReaderBar();
    const auto turn = [this](int delta) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Frame()->ReadArea(), &wheel);
    };
    bar->SetSpeedLevel(25);
    turn(120);
    EXPECT_EQ(bar->SpeedLevel(), 27);
    turn(-240);
    EXPECT_EQ(bar->SpeedLevel(), 23);
    turn(60);  // half a notch does nothing yet
    EXPECT_EQ(bar->SpeedLevel(), 23);
    turn(60);
    EXPECT_EQ(bar->SpeedLevel(), 25);
    bar->SetSpeedLevel(49);
    turn(120);
    EXPECT_EQ(bar->SpeedLevel(), 50);
}

TEST_F(ReadingRunTest, ArrowsMoveTheReadingWhileItRunsAndTheCaretOtherwise) {
    Start();
    LoadClipboardText("Aa bb, cc dd. Ee ff gg hh. Ii jj");
    CTextCtrl* text = Frame()->TextCtrl();
    text->setFocus();
    PressSpace();
    for (int i = 0; i < 3; ++i) StepOnce();
    ASSERT_EQ(Frame()->ReadArea()->DisplayText(), "cc");
    PressKey(QKeyCombination(Qt::Key_Left));
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "bb,");
    EXPECT_EQ(text->SelectedText(), U"bb,");
    EXPECT_TRUE(Frame()->IsReading());
    PressKey(Qt::ControlModifier | Qt::Key_Right);
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "Ee");
    EXPECT_EQ(text->SelectedText(), U"Ee");
    PressKey(QKeyCombination(Qt::Key_Right));
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "ff");
    PressKey(Qt::ControlModifier | Qt::Key_Left);
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "Ee");
    EXPECT_EQ(StepOnce().text, "ff");  // reading goes on from there
    // Ctrl+Right in the last sentence ends the run as the end of the text does.
    PressKey(Qt::ControlModifier | Qt::Key_Right);
    PressKey(Qt::ControlModifier | Qt::Key_Right);
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
    EXPECT_EQ(Frame()->ReaderBar()->Progress(), 40);

    // Stopped, the arrows move the caret in the text.
    Trigger(ID_READ_ALL);
    text->SetCaret(5);
    PressKey(QKeyCombination(Qt::Key_Right));
    EXPECT_EQ(text->Selection(), (TextRange{6, 6}));
    PressKey(Qt::ControlModifier | Qt::Key_Left);
    EXPECT_LT(text->Selection().start, 6u);
    EXPECT_EQ(text->Selection().start, text->Selection().end);
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "");
}

// The first and last columns holding the focus letter's red; -1 for the last
// when there is none.
std::pair<int, int> FocusColorColumns(const QImage& image) {
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

// The columns where anything but the pane's black background is drawn.
std::pair<int, int> DrawnColumns(const QImage& image) {
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

TEST_F(ReadingRunTest, TheFocusLetterStaysAtTheMiddleOfThePaneInItsOwnColor) {
    Start();
    settings.settings.extras.focusLetter = true;
    CReadArea* pane = Frame()->ReadArea();
    pane->resize(700, 200);
    struct Row {
        const char* word;
        bool atMiddle;  // otherwise moved left just enough to show whole
    };
    const Row rows[] = {
        {"я", true},
        {"кот,", true},
        {"привет", true},
        {"«калейдоскоп»", true},
        {"искусствоведческий", false},  // 5th of 18 letters: would run past the edge
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.word);
        pane->SetDisplayText(FromUtf8(row.word));
        const QImage image = pane->grab().toImage();
        const auto [left, right] = FocusColorColumns(image);
        ASSERT_GE(right, 0) << "no letter in the focus colour";
        const auto [first, last] = DrawnColumns(image);
        EXPECT_GT(first, 0);
        EXPECT_LT(last, image.width() - 1);
        if (row.atMiddle) {
            EXPECT_NEAR((left + right) / 2.0, image.width() / 2.0, 4.0);
        } else {
            EXPECT_LT((left + right) / 2.0, image.width() / 2.0 - 4.0);
            EXPECT_GE(last, image.width() - 6) << "moved further than it had to";
        }
    }
    // Several words at a time are drawn as always, in one colour.
    settings.settings.severalWords = 1;
    pane->SetDisplayText(U"several words");
    EXPECT_EQ(FocusColorColumns(pane->grab().toImage()).second, -1);
}

TEST_F(ReadingRunTest, ContextMenuGraysWhatCannotBeDone) {
    Start();
    struct Seen {
        QStringList items;
        QList<bool> enabled;
    };
    const auto openMenu = [&] {
        Seen seen;
        ModalAnswer answer([&](QWidget* popup) {
            for (QAction* a : static_cast<QMenu*>(popup)->actions()) {
                seen.items << (a->isSeparator() ? "-" : a->text());
                seen.enabled << a->isEnabled();
            }
            popup->close();
        });
        QTest::mouseClick(Frame()->TextCtrl()->viewport(), Qt::RightButton);
        return seen;
    };
    Seen empty = openMenu();
    EXPECT_EQ(empty.items,
              (QStringList{"Читать текст от начала до конца", "Читать отсюда до конца текста",
                           "Читать от начала текста до сих пор", "Читать выделенный текст", "-",
                           "Показать закладки\tCtrl+M", "Поместить закладку\tAlt+M", "-",
                           "Искать\tCtrl+F"}));
    EXPECT_EQ(empty.enabled,
              (QList<bool>{false, false, false, false, true, false, false, true, false}));

    LoadClipboardText(QString(200, u'x'));
    Frame()->TextCtrl()->SetSelection(0, 100);
    document.key = 0;  // a file not on the shelf
    Seen longSelection = openMenu();
    EXPECT_EQ(longSelection.enabled,
              (QList<bool>{false, false, false, true, true, false, false, true, true}));
}

TEST_F(ReadingRunTest, TaskCommandsSetTheRangeAndShowWhereReadingBegins) {
    Start();
    LoadClipboardText("alpha beta gamma delta");
    CTextCtrl* text = Frame()->TextCtrl();
    text->SetCaret(8);  // inside "beta"
    Trigger(ID_READ_FROM_CARET);
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskFromCaret);
    EXPECT_EQ(text->SelectedText(), U"beta");
    PressSpace();
    EXPECT_EQ(StepOnce().text, "ta");  // from the caret, not from the word's start
    PressSpace();
    text->SetCaret(8);
    Trigger(ID_READ_TO_CARET);
    PressSpace();
    EXPECT_EQ(StepOnce().text, "alpha");
    EXPECT_EQ(StepOnce().text, "be");
    EXPECT_EQ(StepOnce().text, "");
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
}

}  // namespace
