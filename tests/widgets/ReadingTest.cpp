#include <QApplication>
#include <QClipboard>
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
        {ReadingEstimate{1, 60'000, 3'570'000, 59'000}, "≈ 1 слов/мин · глава 59 с · всего 1 ч 0 мин"},
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
