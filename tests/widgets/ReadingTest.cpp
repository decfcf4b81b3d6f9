#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "frame/CPaneSplitter.h"
#include "frame/CReaderBar.h"
#include "reading/CEstimatePane.h"
#include "reading/CReadArea.h"
#include "text/CContentsDlg.h"

namespace {

using enum CommandId;

// Step() is one tick of the reading timer; the period after it is how long the group stays.
class ReadingTest : public ProgramFixture {
protected:
    QString Step() { return Frame()->Step(), Frame()->ReadArea()->DisplayText(); }
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

TEST_F(ReadingTest, ReadingFromAndToTheCaret) {
    Start();
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

// What the window shows (its backing store, with every repaint so far) of
// the text pane between two positions on one line: the share of it in a
// colour. From a position to itself, the caret's column there.
double ShownShare(CTextCtrl& text, int from, int to, QRgb color) {
    QCoreApplication::processEvents();
    QTextCursor cursor(text.document());
    cursor.setPosition(from);
    const QRect start = text.cursorRect(cursor);
    cursor.setPosition(to);
    const QRect area =
        from == to ? QRect(start.center().x(), start.top(), 1, start.height())
                   : QRect(start.topLeft() + QPoint(2, 0), text.cursorRect(cursor).bottomLeft());
    const QImage window = text.screen()->grabWindow(text.window()->winId()).toImage();
    const QPoint origin = text.viewport()->mapTo(text.window(), QPoint(0, 0));
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += window.pixel(origin + QPoint(x, y)) == color ? 1 : 0;
    return static_cast<double>(count) / (area.width() * area.height());
}

double LitShare(CTextCtrl& text, int from, int to) {
    const QPalette::ColorGroup group = text.hasFocus() ? QPalette::Active : QPalette::Inactive;
    return ShownShare(text, from, to, text.palette().color(group, QPalette::Highlight).rgb());
}

// The caret inverts the background.
bool CaretShownAt(CTextCtrl& text, int position) {
    const QRgb inverted = text.palette().color(QPalette::Base).rgb() ^ 0x00FFFFFFu;
    return ShownShare(text, position, position, inverted) > 0.8;
}

// The highlight moves on group by group in what the window shows, and the
// text pane's own keys and clicks go on from the group last shown.
TEST_F(ReadingTest, TheHighlightMovesOnAndTheTextPaneGoesOnFromIt) {
    Start();
    LoadClipboardText("one two three four five six" + QString("\nmore").repeated(200));
    Space();
    for (const char* group : {"one", "two", "three"}) {
        EXPECT_EQ(Step(), group);
        QCoreApplication::processEvents();  // painted group by group
    }
    EXPECT_EQ(Text().SelectedText(), U"three");
    EXPECT_GT(LitShare(Text(), 8, 13), 0.3);
    EXPECT_EQ(LitShare(Text(), 0, 7), 0);   // nothing left of "one" and "two"
    EXPECT_TRUE(CaretShownAt(Text(), 13));  // the caret moved on with the highlight
    EXPECT_FALSE(CaretShownAt(Text(), 3));
    Space();
    PressKey(Qt::ShiftModifier | Qt::Key_Right);
    EXPECT_EQ(Text().SelectedText(), U"three ");
    Space();
    EXPECT_EQ(Step(), "four");
    Space();
    QTextCursor five(Text().document());
    five.setPosition(20);
    QTest::mouseClick(Text().viewport(), Qt::LeftButton, {}, Text().cursorRect(five).center());
    EXPECT_EQ(Text().Selection(), (TextRange{20, 20}));
    EXPECT_EQ(LitShare(Text(), 8, 19), 0);
    // Scrolled away while reading, the pane comes back to the group.
    Space();
    QScrollBar* scroll = Text().verticalScrollBar();
    scroll->setValue(scroll->maximum());
    EXPECT_EQ(Step(), "five");
    EXPECT_GT(LitShare(Text(), 19, 23), 0.3);
    // Scrolled away and clicked, the pane stays where it was scrolled to.
    EXPECT_EQ(Step(), "six");
    scroll->setValue(scroll->maximum());
    Space();
    QTest::mouseClick(Text().viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(scroll->value(), scroll->maximum());
    EXPECT_GT(Text().Selection().start, 900u);
    // Each group on a line of its own: a line the pane's foot cuts off comes
    // whole into view.
    Text().SetCaret(523);  // the 100th "more"
    Trigger(ID_READ_FROM_CARET);
    Space();
    for (int line = 100; line < 106; ++line) {
        Step();
        QTextCursor end(Text().document());
        end.setPosition(static_cast<int>(Text().Selection().end));
        EXPECT_LE(Text().cursorRect(end).bottom(), Text().viewport()->height()) << line;
    }
}

// What the window shows of the text pane.
QImage ShownPane(CTextCtrl& text) {
    QCoreApplication::processEvents();
    const QImage window = text.screen()->grabWindow(text.window()->winId()).toImage();
    return window.copy(
        QRect(text.viewport()->mapTo(text.window(), QPoint(0, 0)), text.viewport()->size()));
}

// A reading step repaints only where the highlight leaves and where it
// comes to, partly from what the screen showed before. After any number of
// steps, in one word or several across lines, with the focus and without,
// after the view moved, the colours changed or a repaint cut the highlight,
// the pane shows what painting all of it anew shows.
TEST_F(ReadingTest, StepByStepThePaneShowsWhatAWholeRepaintShows) {
    Start();
    const QString text =
        "short\nlines\nhere\n" +
        QString("Lorem ipsum, dolor sit amet; consectetur adipiscing elit. ").repeated(8) +
        "\nshort\nlines\nhere\n" + QString("tail words go on ").repeated(80);
    for (const int several : {0, 1}) {
        settings.settings.severalWords = several;
        LoadClipboardText(text);
        Space();
        for (int step = 0; step < 60; ++step) {
            if (step == 29) {
                QPalette colors = Text().palette();
                colors.setColor(QPalette::Base, Qt::yellow);
                Text().setPalette(colors);
            }
            Step();
            QCoreApplication::processEvents();         // painted step by step
            if (step % 20 == 10) Frame()->setFocus();  // the highlight's colours change
            if (step % 20 == 15) Text().setFocus();
            if (step == 21) Text().verticalScrollBar()->setValue(1);  // a paragraph up
            if (step == 40) {  // the text pane's letters grow, the view stays
                Text().verticalScrollBar()->setValue(0);
                QCoreApplication::processEvents();
                settings.settings.textArea.pointSize += 4;
                Text().ApplyFormatToAll();
            }
            if (step == 32) {  // the left of the highlight alone
                QTextCursor start(Text().document());
                start.setPosition(static_cast<int>(Text().Selection().start));
                Text().viewport()->repaint(Text().cursorRect(start).adjusted(0, 0, 6, 0));
            }
            if (step % 7 != 6) continue;
            const QImage stepped = ShownPane(Text());
            // Everything worked out and drawn anew: the window a pixel wider
            // and back.
            QWidget* window = Text().window();
            const QSize size = window->size();
            window->resize(size + QSize(1, 0));
            QCoreApplication::processEvents();
            window->resize(size);
            Text().viewport()->repaint();
            ASSERT_EQ(stepped, ShownPane(Text())) << several << " " << step;
        }
        Space();
        Text().setPalette({});
        settings.settings.textArea.pointSize -= 4;
    }
}

// The contents go to a chapter, which is read alone; Ctrl+PgDn and Ctrl+PgUp move between chapters.
TEST_F(ReadingTest, TheContentsAndReadingChapterByChapter) {
    Start();
    LoadClipboardText("Пролог\nНачало.\nГлава 1\nОдин два.\nГлава 2\nТри.");
    ModalAnswer answer(On<CContentsDlg>([](CContentsDlg* dialog) {
        EXPECT_EQ(dialog->Tree()->currentItem()->text(0), "Пролог");
        for (const QString letter : {"Г", "л"})  // as an input method hands them in
            QTest::sendKeyEvent(QTest::Click, dialog->Tree(), Qt::Key_unknown, letter, {});
        QTest::keyClick(dialog->Tree(), Qt::Key_Return);
    }));
    Trigger(ID_CONTENTS);
    EXPECT_EQ(Text().SelectedText(), U"Глава 1");
    Trigger(ID_READ_CHAPTER);
    EXPECT_EQ(Frame()->StatusPane()->text(), "Читать ГЛАВУ «Глава 1»");
    Trigger(ID_READ_TOGGLE);
    for (const char* group : {"Глава", "1", "Один", "два.", ""}) EXPECT_EQ(Step(), group);
    Trigger(ID_READ_ALL);
    Trigger(ID_READ_TOGGLE);
    EXPECT_EQ(Step(), "Пролог");
    for (const auto& [move, start] : {std::pair{ID_READ_NEXT_CHAPTER, 15u},
                                      {ID_READ_NEXT_CHAPTER, 33u},
                                      {ID_READ_PREVIOUS_CHAPTER, 15u}}) {
        Trigger(move);
        EXPECT_EQ(Frame()->ReadArea()->DisplayText(), "Глава");
        EXPECT_EQ(Text().Selection().start, start);
    }
}

TEST(EstimatePane, RateAndTimeLeftInMinutesOrUnderAMinuteInSeconds) {
    const std::pair<std::optional<ReadingEstimate>, const char*> cases[] = {
        {ReadingEstimate{1, 60'000, 59'000, {}}, "≈ 1 слов/мин · осталось 59 с"},
        {ReadingEstimate{1, 60'000, 59'001, {}}, "≈ 1 слов/мин · осталось 1 мин"},
        {ReadingEstimate{1, 60'000, 89'000, {}}, "≈ 1 слов/мин · осталось 1 мин"},
        {ReadingEstimate{1, 60'000, 90'000, {}}, "≈ 1 слов/мин · осталось 2 мин"},
        {ReadingEstimate{1, 60'000, 7'830'000, 239'001},
         "≈ 1 слов/мин · глава 4 мин · всего 2 ч 11 мин"},
        {ReadingEstimate{1, 60'000, 3'570'000, 59'000},
         "≈ 1 слов/мин · глава 59 с · всего 1 ч 0 мин"},
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

// Counts the times the status bar lays itself out, which repaints all of it.
struct LayoutCount : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::LayoutRequest ? 1 : 0;
        return false;
    }
};

// While reading, the time left changes each second without a new layout of
// the status bar: the pane only grows. Stopped, it fits its text again.
// (`GroupShown` right after a refresh: its next one is a second away.)
TEST(EstimatePane, WhileReadingANewTextLeavesTheStatusBarsLayout) {
    QStatusBar bar;
    std::int64_t leftMs = 3'000;
    CEstimatePane pane(&bar, [&] { return ReadingEstimate{100, 60'000, leftMs, {}}; });
    bar.show();
    LayoutCount layouts;
    bar.installEventFilter(&layouts);
    pane.SetLive(true);
    const struct {
        std::int64_t leftMs;
        bool laidOut;  // whether the status bar was laid out anew
    } steps[] = {{12'000, true}, {9'000, false}, {11'000, false}, {3'000, false}};
    for (const auto& step : steps) {
        leftMs = step.leftMs;
        layouts.count = 0;
        pane.Refresh();
        QCoreApplication::processEvents();
        EXPECT_EQ(layouts.count > 0, step.laidOut) << step.leftMs;
        const QLabel plain(pane.text());
        EXPECT_GE(pane.width(), plain.sizeHint().width());
    }
    // A refresh due while a group is shown comes with the group.
    const QString shown = pane.text();
    leftMs = 5'000;
    pane.GroupShown(50);
    EXPECT_EQ(pane.text(), shown);
    pane.GroupShown(2'000);
    EXPECT_NE(pane.text(), shown);
    const int widest = pane.width();
    pane.SetLive(false);
    QCoreApplication::processEvents();
    EXPECT_LT(pane.width(), widest);
}

}  // namespace
