#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "base/QtText.h"
#include "frame/CHelpWindow.h"
#include "frame/CPaneSplitter.h"
#include "frame/CReaderBar.h"
#include "reading/CEstimatePane.h"
#include "widgets/CColorStatic.h"

namespace {

using enum CommandId;

const QString kHelpFile = QStringLiteral(LMN_TEST_DATA "/../../res/lmn.html");

using FrameTest = ProgramFixture;

TEST_F(FrameTest, F9SharesTheWindowAtTheHeightF5Found) {
    Start();
    EXPECT_EQ(Frame()->minimumSize(), QSize(682, 512));  // two thirds of the screen
    CPaneSplitter* panes = Frame()->Splitter();
    int shared = 0;
    ASSERT_TRUE(panes->BothPanesShown(&shared));
    for (const Qt::Key key :
         {Qt::Key_F5, Qt::Key_F5, Qt::Key_F9})  // the second F5 keeps what the first found
        PressKey(QKeyCombination(key));
    EXPECT_EQ(panes->sizes().value(0), shared);
    panes->setSizes({0, panes->height()});  // a pane dragged away: F9 shares at two thirds
    PressKey(QKeyCombination(Qt::Key_F9));
    EXPECT_EQ(panes->RememberedPaneHeight(),
              2 * (Frame()->height() - Frame()->menuBar()->height()) / 3);
    Frame()->addToolBar(Qt::BottomToolBarArea, Frame()->ReaderBar());
    CloseProgram();
    Start();  // the bar's side survives a restart
    EXPECT_EQ(Frame()->toolBarArea(Frame()->ReaderBar()), Qt::BottomToolBarArea);
}

TEST_F(FrameTest, StatusPanesNameTheTaskItsRateAndTimeLeft) {
    Start();
    // Five words of six letters or more at level 25: 200 ms each.
    LoadClipboardText("golden bridge crossed rivers slowly.");
    EXPECT_EQ(Frame()->StatusPane()->text(), ProgramText(kTaskWholeTextStatus));
    EXPECT_EQ(Frame()->EstimatePane()->text(), "≈ 300 слов/мин · осталось 1 с");
    LoadClipboardText(QString(80, u'ж'));
    Text().SetSelection(0, 80);  // long enough to be read alone
    Trigger(ID_READ_SELECTION);
    EXPECT_EQ(Frame()->StatusPane()->text(), ProgramText(kTaskSelectionStatus));
    LoadClipboardText("   ");
    EXPECT_EQ(Frame()->StatusPane()->text(), "");
    EXPECT_EQ(Frame()->EstimatePane()->text(), "");
}

// The clipboard is read in any text form, the caret at its start; one without text is told.
TEST_F(FrameTest, TheClipboardIsReadInEveryForm) {
    Start();
    struct Case {
        QString format;
        QByteArray bytes;
        std::u32string text;
        bool tooShort;
    };  // text empty: kept
    const Case cases[] = {
        {"text/plain", QByteArray(80, 'a'), std::u32string(80, U'a'), false},
        {"text/plain;charset=utf-8", "Ёлка \u65E5 \U0001F600", U"Ёлка \u65E5 \U0001F600", true},
        {"text/plain;charset=windows-1251", "\xC5\xEB\xFC", U"Ель", true},
        {"text/html", "<p>Первый</p><p><b>второй</b></p>", U"\r\n\r\nПервый\r\n\r\nвторой", true},
        {"image/png", "\x89PNG", U"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        LoadClipboardText("Прежний текст");
        Text().SetSelection(3, 5);
        auto* data = new QMimeData;
        data->setData(c.format, c.bytes);
        QApplication::clipboard()->setMimeData(data);
        ModalAnswer answer;
        Trigger(ID_LOAD_CLIPBOARD);
        EXPECT_EQ(Text().Document().Characters(), c.text.empty() ? U"Прежний текст" : c.text);
        EXPECT_EQ(answer.seen.size(), c.text.empty() ? 1 : 0);
        if (c.text.empty()) continue;
        EXPECT_EQ(Text().Document().TooShort(), c.tooShort);
        EXPECT_EQ(Text().Selection(), (TextRange{0, 0}));
    }
}

TEST_F(FrameTest, TheTextPaneIsAReadOnlyView) {
    Start();
    LoadClipboardText("first line\r\nsecond line\r\nthird");
    Text().setFocus();
    PressKey(QKeyCombination(Qt::Key_Down));
    EXPECT_EQ(Text().Selection(), (TextRange{12, 12}));  // after the CR LF
    PressKey(Qt::ShiftModifier | Qt::Key_End);
    EXPECT_EQ(Text().SelectedText(), U"second line");
    QApplication::clipboard()->clear();
    Text().SetSelection(6, 16);
    PressKey(Qt::ControlModifier | Qt::Key_Insert);
    EXPECT_EQ(QApplication::clipboard()->text(), "line\nseco");  // copied with LF
    PressKey(Qt::ControlModifier | Qt::Key_A);
    PressKey(QKeyCombination(Qt::Key_X));
    EXPECT_EQ(Text().SelectedText(), U"first line\r\nsecond line\r\nthird");  // nothing typed in
}

TEST(Help, TheHelpFileOpensAtItsStartOrIsToldMissing) {
    CHelpWindow help;
    ModalAnswer answer;
    EXPECT_FALSE(help.ShowHelp("/nonexistent/lmn.html"));
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(answer.seen, QStringList{Told(kHelpFileMissing).arg("/nonexistent/lmn.html")});
    ASSERT_TRUE(help.ShowHelp(kHelpFile));
    EXPECT_TRUE(help.isVisible());
    QScrollBar* bar = help.Browser()->verticalScrollBar();
    bar->setValue(bar->maximum());
    ASSERT_TRUE(help.ShowHelp(kHelpFile));
    EXPECT_EQ(bar->value(), 0);
}

TEST(English, TheBuiltInTranslationGivesEveryTextItsEnglish) {
    QTranslator english;
    ASSERT_TRUE(english.load(":/translations/lmn_en.qm"));
    QCoreApplication::installTranslator(&english);
    EXPECT_EQ(
        ProgramText(MessageText(MessageCode::MSG_SHELF_DAMAGED)),
        "The shelf file was damaged; a new shelf has been started.\nThe old file was kept as:\n");
    EXPECT_EQ(ProgramText(kTaskWholeTextStatus.substr(0, 12)), "Читать");  // not a text: itself
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(ProgramText(kNotesHeading), "Примечания");
}

}  // namespace
