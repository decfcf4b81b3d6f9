#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "frame/CAboutDlg.h"
#include "frame/CHelpWindow.h"
#include "frame/CPaneSplitter.h"
#include "frame/CReaderBar.h"
#include "reading/CEstimatePane.h"
#include "reading/CReadArea.h"
#include "widgets/CColorStatic.h"

namespace {

using enum CommandId;

const QString kHelpFile = QStringLiteral(LMN_TEST_DATA "/../../res/lmn.html");

using FrameTest = ProgramFixture;

TEST_F(FrameTest, WholeAndSharedWindowLayoutsRememberThePaneHeight) {
    Start();
    EXPECT_EQ(Frame()->minimumSize(), QSize(682, 512));  // two thirds of the screen
    CPaneSplitter* panes = Frame()->Splitter();
    int shared = 0;
    ASSERT_TRUE(panes->BothPanesShown(&shared));
    for (const Qt::Key key : {Qt::Key_F5, Qt::Key_F5}) {  // the second keeps what the first remembered
        PressKey(QKeyCombination(key));
        EXPECT_FALSE(panes->BothPanesShown());
        EXPECT_EQ(panes->RememberedPaneHeight(), shared);
    }
    PressKey(QKeyCombination(Qt::Key_F9));  // the split F5 found
    EXPECT_EQ(panes->sizes().value(0), shared);
    panes->setSizes({0, panes->height()});  // a pane dragged away: F9 shares at two thirds
    PressKey(QKeyCombination(Qt::Key_F9));
    ASSERT_TRUE(panes->BothPanesShown());
    EXPECT_EQ(panes->RememberedPaneHeight(), 2 * (Frame()->height() - Frame()->menuBar()->height()) / 3);
    panes->setSizes({123, panes->height() - panes->handleWidth() - 123});
    PressKey(QKeyCombination(Qt::Key_F9));  // both shown: nothing moves, the height is remembered
    EXPECT_EQ(panes->sizes().value(0), 123);
    PressKey(QKeyCombination(Qt::Key_F5));
    Frame()->addToolBar(Qt::BottomToolBarArea, Frame()->ReaderBar());
    CloseProgram();
    EXPECT_EQ(settings.settings.readingPaneHeight, 123);
    Start();  // the bar's side survives a restart
    EXPECT_EQ(Frame()->toolBarArea(Frame()->ReaderBar()), Qt::BottomToolBarArea);
}

TEST_F(FrameTest, SpeedKeysAndArrowsChangeTheLevelWithinItsRange) {
    Start();
    CReaderBar* bar = Frame()->ReaderBar();
    struct Step {
        int from;
        QKeyCombination key;
        int to;
    };
    const Step steps[] = {
        {49, Qt::KeypadModifier | Qt::Key_Plus, 50},  {50, Qt::KeypadModifier | Qt::Key_Plus, 50},
        {50, QKeyCombination(Qt::Key_Plus), 50},      {30, QKeyCombination(Qt::Key_Equal), 31},
        {30, Qt::ShiftModifier | Qt::Key_Plus, 31},   {30, QKeyCombination(Qt::Key_Minus), 29},
        {2, Qt::KeypadModifier | Qt::Key_Minus, 1},   {1, Qt::KeypadModifier | Qt::Key_Minus, 1},
    };
    for (const Step& step : steps) {
        bar->SetSpeedLevel(step.from);
        PressKey(step.key);
        EXPECT_EQ(bar->SpeedLevel(), step.to) << step.from;
        EXPECT_EQ(bar->SpeedDisplay()->text(), QString::number(step.to));
    }
    bar->UpArrow()->click();
    bar->DownArrow()->click();
    bar->DownArrow()->click();
    EXPECT_EQ(bar->SpeedLevel(), 1);
    bar->SetSpeedLevel(37);
    CloseProgram();
    EXPECT_EQ(settings.settings.speedLevel, 37);
}

TEST_F(FrameTest, StatusPanesNameTheTaskItsRateAndTimeLeft) {
    Start();
    // Five words of six letters or more at level 25: 200 ms each.
    LoadClipboardText("golden bridge crossed rivers slowly.");
    EXPECT_EQ(Frame()->StatusPane()->text(), ProgramText(kTaskWholeTextStatus));
    EXPECT_EQ(Frame()->EstimatePane()->text(), "≈ 300 слов/мин · осталось 1 с");
    Frame()->ReaderBar()->SetSpeedLevel(50);
    EXPECT_EQ(Frame()->EstimatePane()->text(), "≈ 1200 слов/мин · осталось 1 с");
    LoadClipboardText(QString(80, u'ж'));
    Text().SetSelection(0, 80);  // long enough to be read alone
    Trigger(ID_READ_SELECTION);
    EXPECT_EQ(Frame()->StatusPane()->text(), ProgramText(kTaskSelectionStatus));
    LoadClipboardText("   ");
    EXPECT_EQ(Frame()->StatusPane()->text(), "");
    EXPECT_EQ(Frame()->EstimatePane()->text(), "");
}

// With a layout without Latin letters (Russian alone) a letter key gives a
// Cyrillic key, which no shortcut matches: a command key counts by its place
// on the keyboard, as the US layout has it (X keycodes).
TEST_F(FrameTest, CommandKeysCountByTheirPlaceWithoutLatinLetters) {
    Start();
    const QString first = "Первая строка текста, достаточно длинная для чтения из буфера обмена.";
    LoadClipboardText(first);
    const auto press = [this](int key, quint32 keycode, const QString& letter) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::ControlModifier, keycode, 0, 0, letter);
        QApplication::sendEvent(&Text(), &event);
    };
    press(0x0424, 38, "ф");  // Ctrl+Ф on the A key selects all
    EXPECT_EQ(Text().Selection(), (TextRange{0, static_cast<std::size_t>(first.size())}));
    const QString second = "Второй текст, и он тоже достаточно длинный, чтобы его читать.";
    QApplication::clipboard()->setText(second);
    press(0x0421, 54, "с");  // Ctrl+С on the C key copies, it does not load
    EXPECT_EQ(QApplication::clipboard()->text(), first);
    QApplication::clipboard()->setText(second);
    press(0x041C, 55, "м");  // Ctrl+М on the V key loads the clipboard
    EXPECT_EQ(Text().Document().Length(), static_cast<std::size_t>(second.size()));
}

// The clipboard's text is trimmed, read in whatever form it comes, and the
// caret put at its start; a clipboard without text is told and changes nothing.
TEST_F(FrameTest, TheClipboardIsReadInEveryForm) {
    Start();
    struct Case {
        QString format;
        QByteArray bytes;
        std::u32string text;  // empty: the text before stays, with a note
        bool tooShort;
    };
    const Case cases[] = {
        {"text/plain", QByteArray(79, 'a'), std::u32string(79, U'a'), true},
        {"text/plain", QByteArray(80, 'a'), std::u32string(80, U'a'), false},
        {"text/plain", "Слово.\r\n\r\n  \n\t", U"Слово.", true},
        {"text/plain;charset=utf-8", "Ёлка \u65E5 \U0001F600", U"Ёлка \u65E5 \U0001F600", true},
        {"text/plain;charset=windows-1251", "\xC5\xEB\xFC", U"Ель", true},
        {"text/html", "<p>Первый</p><p><b>второй</b></p>", U"\r\n\r\nПервый\r\n\r\nвторой", true},
        {"image/png", "\x89PNG", U"", true},
        {"", "", U"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        LoadClipboardText("Прежний текст");
        Text().SetSelection(3, 5);
        auto* data = new QMimeData;
        if (!c.format.isEmpty()) data->setData(c.format, c.bytes);
        QApplication::clipboard()->setMimeData(data);
        ModalAnswer answer;
        Trigger(ID_LOAD_CLIPBOARD);
        EXPECT_EQ(Text().Document().Characters(), c.text.empty() ? U"Прежний текст" : c.text);
        EXPECT_EQ(answer.seen.size(), c.text.empty() ? 1 : 0);
        if (c.text.empty()) continue;
        EXPECT_EQ(Text().Document().TooShort(), c.tooShort);
        EXPECT_EQ(Text().Selection(), (TextRange{0, 0}));
        EXPECT_EQ(document.key, -1);
        EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
    }
}

TEST_F(FrameTest, TheTextPaneIsAReadOnlyViewThatPassesProgramKeysOn) {
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
    for (const auto& [key, command] :
         {std::pair{QKeyCombination(Qt::Key_Space), ID_READ_TOGGLE},
          std::pair{QKeyCombination(Qt::Key_F3), ID_FIND_NEXT},
          std::pair{Qt::ControlModifier | Qt::Key_V, ID_LOAD_CLIPBOARD},
          std::pair{Qt::ShiftModifier | Qt::Key_Insert, ID_LOAD_CLIPBOARD},
          std::pair{Qt::ControlModifier | Qt::Key_F, ID_FIND},
          std::pair{Qt::AltModifier | Qt::Key_B, ID_SHELF_PUT}}) {
        QApplication::setActiveWindow(Frame());  // a dialog before may have taken it
        Text().setFocus();
        QAction* action = Frame()->Action(command);
        action->setEnabled(true);  // whatever the rule says now, the key must arrive
        QSignalSpy triggered(action, &QAction::triggered);
        ModalAnswer dismiss([](QWidget* dialog) { dialog->close(); });
        PressKey(key);
        EXPECT_EQ(triggered.count(), 1) << QKeySequence(key).toString().toStdString();
    }
}

// Files dragged from a file manager onto the window, delivered to the window
// as the window system does, so Qt picks the widget under the point. Under X
// the data is fetched again for the drop and may come back empty.
TEST_F(FrameTest, ADroppedFileOpensAsOpenWould) {
    Start();
    const QUrl book = QUrl::fromLocalFile(WriteFile("book.txt", "Text of the dropped book."));
    const QUrl refused = QUrl::fromLocalFile(WriteFile("notes.doc", "x"));
    const QUrl missing = QUrl::fromLocalFile(directory.filePath("gone.txt"));
    const QUrl web("https://example.org/page.html");
    struct Case {
        QList<QUrl> urls;
        bool overReadingPane, dataGone, accepted;
        QStringList messages;
    };
    const Case cases[] = {
        {{book}, false, false, true, {}},
        {{book}, true, false, true, {}},
        {{web, book, refused}, false, false, true, {}},  // the first local file
        {{book}, false, true, true, {}},
        {{refused}, false, false, true, {Told(MessageCode::MSG_FILE_TYPE_REJECTED)}},
        {{missing}, false, false, true, {Told(MessageCode::MSG_FILE_OPEN_FAILED)}},
        {{web}, false, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.urls.front().toString().toStdString());
        LoadClipboardText("Reading this.");
        Trigger(ID_READ_TOGGLE);
        ModalAnswer answer;
        QWidget* over = c.overReadingPane ? static_cast<QWidget*>(Frame()->ReadArea())
                                          : Text().viewport();
        QMimeData data, nothing;
        data.setUrls(c.urls);
        const QPoint point = over->mapTo(Frame(), over->rect().center());
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(Frame()->windowHandle(), &enter);
        EXPECT_EQ(enter.isAccepted(), c.accepted);
        if (!enter.isAccepted()) {
            EXPECT_TRUE(Frame()->IsReading());
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(Frame()->windowHandle(), &leave);
            Trigger(ID_READ_TOGGLE);
            continue;
        }
        QDropEvent drop(QPointF(point), enter.possibleActions(), c.dataGone ? &nothing : &data,
                        Qt::LeftButton, {});
        QCoreApplication::sendEvent(Frame()->windowHandle(), &drop);
        QCoreApplication::processEvents();
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(answer.seen, c.messages);
        EXPECT_FALSE(Frame()->IsReading());
        EXPECT_EQ(Text().Document().Characters(),
                  c.messages.isEmpty() ? U"Text of the dropped book." : U"Reading this.");
        if (c.messages.isEmpty()) {
            EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - book.txt");
        }
    }
}

TEST(Help, LinksOpenTheirAddressesAndTheHelpFileOpensAtItsStart) {
    CAboutDlg about;
    QList<QUrl> opened;
    about.openUrl = [&](const QUrl& url) {
        opened << url;
        return false;  // a failure is not reported
    };
    QTest::mouseClick(about.HomeLink(), Qt::LeftButton);
    QTest::mouseClick(about.MailLink(), Qt::LeftButton);
    QTest::mouseClick(about.MailLink(), Qt::RightButton);
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(opened, QList<QUrl>({CAboutDlg::HomePage(), CAboutDlg::MailMessage()}));
    EXPECT_EQ(about.result(), QDialog::Rejected);  // a link does not close the box
    EXPECT_EQ(CAboutDlg::MailMessage().query(QUrl::FullyDecoded), "subject=Orvek Lumeno v. 1.33R");

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

}  // namespace
