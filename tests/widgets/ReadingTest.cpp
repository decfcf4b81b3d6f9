#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QMenu>
#include <QPaintEvent>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "TestText.h"
#include "frame/CPaneSplitter.h"
#include "frame/CReaderBar.h"
#include "reading/CEstimatePane.h"
#include "reading/CReadArea.h"

namespace {

using enum CommandId;

// Each Step() is one tick of the reading timer; the period after it is how
// long the group stays on screen (bench_frame measures the real timing).
class ReadingTest : public ProgramFixture {
protected:
    QString Step() {
        Frame()->Step();
        return Frame()->ReadArea()->DisplayText();
    }
    void Space() { PressKey(QKeyCombination(Qt::Key_Space)); }
    CReaderBar* Bar() const { return Frame()->ReaderBar(); }
};

TEST_F(ReadingTest, GroupsAreShownForTheirIntervalsUntilTheEnd) {
    Start();
    LoadClipboardText("Hello, world.");
    Space();
    ASSERT_TRUE(Frame()->IsReading());
    EXPECT_EQ(Frame()->GroupPeriodMs(), 150);
    EXPECT_EQ(Step(), "Hello,");
    EXPECT_EQ(Frame()->GroupPeriodMs(), 400);
    EXPECT_EQ(Text().SelectedText(), U"Hello,");
    EXPECT_EQ(Step(), "world.");
    EXPECT_EQ(Frame()->GroupPeriodMs(), 200);
    EXPECT_EQ(Step(), "");
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
    EXPECT_EQ(Bar()->Progress(), 40);
    ModalAnswer answer;
    Space();
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(answer.seen, QStringList{Told(kNoTaskExplanation)});
}

TEST_F(ReadingTest, StoppingAndGoingOnAfterTheLastGroup) {
    Start();
    LoadClipboardText("one two three four");
    Space();
    EXPECT_EQ(Step(), "one");
    QApplication::clipboard()->setText("another text");
    PressKey(Qt::ControlModifier | Qt::Key_V);  // ignored while reading
    EXPECT_TRUE(Frame()->IsReading());
    Space();
    EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "");
    Space();
    EXPECT_EQ(Step(), "two");
    // Activation changes stop the run.
    for (Qt::ApplicationState state : {Qt::ApplicationInactive, Qt::ApplicationActive}) {
        if (!Frame()->IsReading()) Space();
        emit qApp->applicationStateChanged(state);
        EXPECT_FALSE(Frame()->IsReading());
    }
    // A right click in the text stops at the next step; the task stays.
    Space();
    {
        ModalAnswer dismiss([](QWidget* popup) { popup->close(); });
        QTest::mouseClick(Text().viewport(), Qt::RightButton);
        ASSERT_EQ(dismiss.seen.size(), 1);
    }
    EXPECT_EQ(Step(), "");
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);
    Space();
    EXPECT_EQ(Step(), "three");
    Frame()->Splitter()->setSizes({0, 1});  // a pane without height stops it
    Step();
    EXPECT_FALSE(Frame()->IsReading());
    Trigger(ID_READ_ALL);  // choosing the task again restarts it
    Space();
    EXPECT_EQ(Step(), "one");
    Space();
    PressKey(Qt::ControlModifier | Qt::Key_V);
    EXPECT_EQ(Text().Document().Characters(), U"another text");
}

TEST_F(ReadingTest, TheWholeWindowGoesToThePaneThatIsInUse) {
    Start();
    LoadClipboardText("one two three four");
    CPaneSplitter* panes = Frame()->Splitter();
    PressKey(QKeyCombination(Qt::Key_F5));
    EXPECT_EQ(panes->sizes().value(0), 0);  // the text pane fills the window
    Space();
    EXPECT_EQ(panes->sizes().value(1), 0);  // the reading pane does
    Space();
    EXPECT_EQ(panes->sizes().value(0), 0);
}

TEST_F(ReadingTest, ClicksAndTheWheelOverTheReadingPaneChangeTheLevel) {
    Start();
    QWidget* pane = Frame()->ReadArea();
    struct Case {
        int from;
        Qt::MouseButton button;
        int clicks;
        int to;
    };
    for (const Case& c : {Case{1, Qt::LeftButton, 1, 1}, Case{25, Qt::LeftButton, 1, 24},
                          Case{25, Qt::RightButton, 1, 26}, Case{25, Qt::LeftButton, 2, 22},
                          Case{49, Qt::RightButton, 2, 50}}) {
        Bar()->SetSpeedLevel(c.from);
        QTest::mouseClick(pane, c.button);
        if (c.clicks == 2) QTest::mouseDClick(pane, c.button);  // a double click is three steps
        EXPECT_EQ(Bar()->SpeedLevel(), c.to) << c.from;
        EXPECT_EQ(QApplication::focusWidget(), &Text());  // the focus stays in the text
    }
    settings.settings.clickStep = 2;
    Bar()->SetSpeedLevel(25);
    for (const auto& [delta, level] : {std::pair{120, 27}, std::pair{-240, 23}, std::pair{60, 23},
                                       std::pair{60, 25}, std::pair{120, 27}}) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pane, &wheel);
        EXPECT_EQ(Bar()->SpeedLevel(), level) << delta;  // half a notch waits for the other half
    }
}

TEST_F(ReadingTest, ArrowsMoveTheReadingWhileItRunsAndTheCaretOtherwise) {
    Start();
    LoadClipboardText("Aa bb, cc dd. Ee ff gg hh. Ii jj");
    Text().setFocus();
    Space();
    for (int i = 0; i < 3; ++i) Step();
    const std::pair<QKeyCombination, const char*> moves[] = {
        {QKeyCombination(Qt::Key_Left), "bb,"}, {Qt::ControlModifier | Qt::Key_Right, "Ee"},
        {QKeyCombination(Qt::Key_Right), "ff"}, {Qt::ControlModifier | Qt::Key_Left, "Ee"},
    };
    for (const auto& [key, shown] : moves) {
        PressKey(key);
        EXPECT_EQ(Frame()->ReadArea()->DisplayText(), shown);
        EXPECT_EQ(ToQString(Text().SelectedText()), shown);
    }
    EXPECT_EQ(Step(), "ff");  // reading goes on from there
    // Ctrl+Right in the last sentence ends the run as the end of the text does.
    PressKey(Qt::ControlModifier | Qt::Key_Right);
    PressKey(Qt::ControlModifier | Qt::Key_Right);
    EXPECT_FALSE(Frame()->IsReading());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);
    Trigger(ID_READ_ALL);
    Text().SetCaret(5);
    PressKey(QKeyCombination(Qt::Key_Right));
    EXPECT_EQ(Text().Selection(), (TextRange{6, 6}));
    EXPECT_FALSE(Frame()->IsReading());
}

TEST_F(ReadingTest, TaskCommandsAndTheContextMenuFollowTheText) {
    Start();
    const auto menuEnabled = [this] {
        QList<bool> enabled;
        ModalAnswer answer([&](QWidget* popup) {
            for (QAction* a : static_cast<QMenu*>(popup)->actions())
                if (!a->isSeparator()) enabled << a->isEnabled();
            popup->close();
        });
        QTest::mouseClick(Text().viewport(), Qt::RightButton);
        return enabled;
    };
    EXPECT_EQ(menuEnabled(), QList<bool>(7, false));
    LoadClipboardText(QString(200, u'x'));
    Text().SetSelection(0, 100);
    document.key = 0;  // a file not on the shelf
    EXPECT_EQ(menuEnabled(), QList<bool>({false, false, false, true, false, false, true}));

    LoadClipboardText("alpha beta gamma delta");
    Text().SetCaret(8);  // inside "beta"
    Trigger(ID_READ_FROM_CARET);
    EXPECT_EQ(Text().SelectedText(), U"beta");
    EXPECT_EQ(Frame()->StatusPane()->text(), ProgramText(kTaskFromCaretStatus));
    Space();
    EXPECT_EQ(Step(), "ta");  // from the caret, not from the word's start
    Space();
    Text().SetCaret(8);
    Trigger(ID_READ_TO_CARET);
    Space();
    EXPECT_EQ(Step(), "alpha");
    EXPECT_EQ(Step(), "be");
    EXPECT_EQ(Step(), "");
}

// The pane repaints only where the group changes; what it sends to the screen
// is always what a whole repaint shows, and a word met again (after the
// colours or the pane's size changed) looks as in a fresh pane.
TEST(ReadArea, RepaintsOnlyWhereTheGroupChangesAndLeavesNothingBehind) {
    for (const int severalWords : {0, 1}) {
        ReaderSettings settings = DefaultSettings(1024, 768);
        settings.severalWords = severalWords;
        CReadArea area(nullptr, settings);
        area.resize(700, 250);
        area.show();
        QRegion painted;
        struct Recorder : QObject {
            QRegion* into;
            explicit Recorder(QRegion* r) : into(r) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) *into = static_cast<QPaintEvent*>(e)->region();
                return false;
            }
        } recorder(&painted);
        area.installEventFilter(&recorder);
        for (const char* group : {"длинноесловонаэкране", "я", "", "два слова и ещё три", "Конец."}) {
            area.SetDisplayText(FromUtf8(group));
            QApplication::processEvents();
            const QImage onScreen = static_cast<QImage*>(area.backingStore()->paintDevice())
                                        ->copy(area.rect()).convertToFormat(QImage::Format_RGB32);
            EXPECT_TRUE(onScreen == area.grab().toImage().convertToFormat(QImage::Format_RGB32)) << group;
        }
        area.SetDisplayText(FromUtf8("длинноесловонаэкране"));
        QApplication::processEvents();
        area.SetDisplayText(FromUtf8("я"));
        QApplication::processEvents();
        EXPECT_GT(painted.boundingRect().width(), 300);  // the long one's place
        EXPECT_FALSE(painted.boundingRect().contains(QRect(0, 0, 1, 1)));  // not the edges
        const auto fresh = [&](const char* group) {
            CReadArea pane(nullptr, settings);
            pane.resize(area.size());
            pane.SetDisplayText(FromUtf8(group));
            return pane.grab().toImage();
        };
        const auto again = [&](const char* group) {
            area.SetDisplayText(FromUtf8(group));
            return area.grab().toImage();
        };
        settings.readingArea.textColor = 0x00008000;
        EXPECT_TRUE(again("слово") == fresh("слово"));
        area.resize(500, 200);
        EXPECT_TRUE(again("слово") == fresh("слово"));
        settings.readingArea.font.height *= 2;
        area.RecreateDrawingObjects();
        EXPECT_TRUE(again("слово") == fresh("слово"));
    }
}

TEST(EstimatePane, RateAndTimeLeftInMinutesOrUnderAMinuteInSeconds) {
    const std::pair<std::optional<ReadingEstimate>, const char*> cases[] = {
        {ReadingEstimate{1, 60'000, 59'000}, "≈ 1 слов/мин · осталось 59 с"},
        {ReadingEstimate{1, 60'000, 59'001}, "≈ 1 слов/мин · осталось 1 мин"},
        {ReadingEstimate{1, 60'000, 89'000}, "≈ 1 слов/мин · осталось 1 мин"},
        {ReadingEstimate{1, 60'000, 90'000}, "≈ 1 слов/мин · осталось 2 мин"},
        {ReadingEstimate{900, 180'000, 150'000}, "≈ 300 слов/мин · осталось 3 мин"},
        {ReadingEstimate{0, 0, 0}, "≈ 0 слов/мин · осталось 0 с"},
        {std::nullopt, ""},
    };
    QStatusBar bar;
    std::optional<ReadingEstimate> shown;
    CEstimatePane pane(&bar, [&] { return shown; });
    for (const auto& [estimate, text] : cases) {
        shown = estimate;
        pane.Refresh();
        EXPECT_EQ(pane.text().toStdString(), text);
    }
}

}  // namespace
