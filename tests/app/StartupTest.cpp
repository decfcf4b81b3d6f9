#include <gtest/gtest.h>

#include <csignal>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "ModalAnswer.h"
#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "frame/CReaderBar.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "settings/SettingsHolder.h"
#include "widgets/ProgramMessages.h"

namespace {

// The four program-wide objects of one run, started in a directory of its own.
class StartupTest : public ::testing::Test {
protected:
    // The user's folders lie in the test's directory as well.
    StartupEnvironment Environment(const QString& name = "lmn") const {
        StartupEnvironment environment{name, directory.path() + u'/', {}, QSize(1024, 768)};
        environment.userDirectories = {Path("home"), Path("config"), Path("share")};
        return environment;
    }
    std::string Path(const QString& relative) const {
        return QDir(directory.path()).filePath(relative).toStdString();
    }
    bool Start(const StartupEnvironment& environment) {
        return CLmnApp::Instance()->Start(environment, settings, shelf, document);
    }
    void TearDown() override { CLmnApp::Instance()->ExitInstance(); }
    std::string DataFile() const {
        return QDir(directory.path()).filePath("lmn.dat").toStdString();
    }

    QTemporaryDir directory;
    SettingsHolder settings;
    ShelfFile shelf;
    ShelfDocument document;
};

TEST_F(StartupTest, FirstStartWritesDefaultsAndOpensTheWindow) {
    ASSERT_TRUE(Start(Environment()));
    const auto bytes = ReadWholeFile(DataFile());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, SerializeSettings(DefaultSettings(1024, 768)));
    EXPECT_TRUE(settings.SaveOnExit());
    EXPECT_EQ(shelf.Path(), QDir(directory.path()).filePath("bksh.dat").toStdString());
    CMainFrame* frame = CLmnApp::Instance()->MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), "Orvek Lumeno");
    EXPECT_EQ(frame->normalGeometry(), QRect(50, 50, 924, 668));
}

TEST_F(StartupTest, AnotherExecutableNameEndsSilentlyAndTouchesNothing) {
    ModalAnswer answer;
    EXPECT_FALSE(Start(Environment("reader")));
    EXPECT_EQ(CLmnApp::Instance()->MainFrame(), nullptr);
    EXPECT_TRUE(QDir(directory.path()).isEmpty());
    EXPECT_FALSE(settings.SaveOnExit());
    EXPECT_TRUE(answer.seen.isEmpty());
}

// An installed program: its folder cannot be written (here it does not even
// exist, which stops root as well as a user).
TEST_F(StartupTest, AnUnwritableProgramDirectoryKeepsTheDataInTheUserFolders) {
    StartupEnvironment environment = Environment();
    environment.programDirectory = directory.path() + "/bin/";
    QDir().mkpath(directory.path() + "/config/lumeno");
    QFile leftover(directory.path() + "/config/lumeno/.lmn.dat.tmp-123-0");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    ModalAnswer answer;
    ASSERT_TRUE(Start(environment));
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_EQ(settings.Path(), Path("config/lumeno/lmn.dat"));
    EXPECT_EQ(shelf.Path(), Path("share/lumeno/bksh.dat"));
    EXPECT_TRUE(ReadWholeFile(settings.Path()).has_value());
    EXPECT_FALSE(leftover.exists());
    EXPECT_TRUE(settings.SaveOnExit());
}

TEST_F(StartupTest, NeitherPlaceWritableShowsTheMessageAndEnds) {
    StartupEnvironment environment = Environment();
    environment.programDirectory = directory.path() + "/missing/";
    QFile plain(directory.path() + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    environment.userDirectories = {Path("plain"), "", ""};
    ModalAnswer answer;
    EXPECT_FALSE(Start(environment));
    EXPECT_EQ(CLmnApp::Instance()->MainFrame(), nullptr);
    EXPECT_FALSE(settings.SaveOnExit());
    EXPECT_EQ(answer.seen, QStringList{"Orvek Lumeno|Не удаётся создать информационный файл"});
}

// At QT_SCALE_FACTOR=2 a 1920x1080 screen offers 960x540 device-independent
// pixels; a window saved at scale 1 must still open wholly on it.
TEST_F(StartupTest, TheSavedWindowIsFittedIntoTheAvailableArea) {
    ReaderSettings stored = DefaultSettings(1920, 1080);  // 1200x800 at (360, 140)
    ASSERT_TRUE(WriteFileSafely(DataFile(), SerializeSettings(stored)));
    StartupEnvironment environment = Environment();
    environment.screenSize = QSize(960, 540);
    environment.availableArea = QRect(0, 24, 960, 516);
    ASSERT_TRUE(Start(environment));
    EXPECT_EQ(CLmnApp::Instance()->MainFrame()->normalGeometry(), QRect(0, 24, 960, 516));
}

TEST_F(StartupTest, ASettingsPathThatIsNotAFileShowsTheMessageAndEnds) {
    ASSERT_TRUE(QDir(directory.path()).mkdir("lmn.dat"));
    ModalAnswer answer;
    EXPECT_FALSE(Start(Environment()));
    EXPECT_EQ(CLmnApp::Instance()->MainFrame(), nullptr);
    EXPECT_FALSE(settings.SaveOnExit());
    EXPECT_EQ(answer.seen, QStringList{"Orvek Lumeno|Не удаётся создать информационный файл"});
    EXPECT_TRUE(QFileInfo(QString::fromStdString(DataFile())).isDir());
}

TEST_F(StartupTest, SavedSettingsAreUsedAndTheWindowRestoresMaximised) {
    ReaderSettings stored = DefaultSettings(1024, 768);
    stored.windowMaximized = 1;
    stored.speedLevel = 12;
    ASSERT_TRUE(WriteFileSafely(DataFile(), SerializeSettings(stored)));
    ASSERT_TRUE(Start(Environment()));
    EXPECT_EQ(settings.settings.speedLevel, 12);
    EXPECT_TRUE(CLmnApp::Instance()->MainFrame()->isMaximized());
}

TEST_F(StartupTest, ClosingStoresTheNormalGeometryAndMaximisedFlag) {
    ASSERT_TRUE(Start(Environment()));
    CMainFrame* frame = CLmnApp::Instance()->MainFrame();
    frame->setGeometry(70, 80, 800, 600);
    frame->showMaximized();
    frame->close();
    EXPECT_EQ(settings.settings.windowMaximized, 1);
    EXPECT_EQ(settings.settings.windowLeft, 70);
    EXPECT_EQ(settings.settings.windowTop, 80);
    EXPECT_EQ(settings.settings.windowWidth, 800);
    EXPECT_EQ(settings.settings.windowHeight, 600);
}

TEST_F(StartupTest, LeftoverTemporariesAreRemovedAtStart) {
    QFile leftover(QDir(directory.path()).filePath(".lmn.dat.tmp-123-0"));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    ASSERT_TRUE(Start(Environment()));
    EXPECT_FALSE(leftover.exists());
}

// Named relative to the folder it was started in, as a shell passes it: the
// document keeps the absolute path, which the shelf then stores.
TEST_F(StartupTest, TitleFollowsTheDocumentNameAndThePathIsKeptAbsolute) {
    StartupEnvironment environment = Environment();
    ASSERT_TRUE(QDir(directory.path()).mkdir("work"));
    const QString path = QDir(directory.path()).filePath("Война и мир.txt");
    environment.fileArgument = QFile::encodeName("./../Война и мир.txt").toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Text.");
    file.close();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QDir(directory.path()).filePath("work")));
    const bool started = Start(environment);
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_EQ(document.path, QFile::encodeName(QFileInfo(path).canonicalFilePath()).toStdString());
    EXPECT_EQ(CLmnApp::Instance()->MainFrame()->windowTitle(), "Orvek Lumeno - Война и мир.txt");
    document.Clear();
    EXPECT_EQ(CLmnApp::Instance()->MainFrame()->windowTitle(), "Orvek Lumeno");
}

// Waits for the window to close, up to a generous deadline: the signal is
// delivered through the event loop, not at once.
bool WaitUntilClosed(CMainFrame* frame) {
    QDeadlineTimer deadline(10000);
    while (frame->isVisible() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return !frame->isVisible();
}

// The end of a session closes the window as the user would, so that what a
// close stores (here the speed level, which only the close writes into the
// record) is saved; before, the signal ended the process on the spot.
TEST_F(StartupTest, TheEndOfTheSessionClosesTheWindowAsTheUserWould) {
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGHUP");
        ASSERT_TRUE(Start(Environment()));
        CMainFrame* frame = CLmnApp::Instance()->MainFrame();
        settings.settings.speedLevel = 0;
        ASSERT_EQ(::raise(signal), 0);
        EXPECT_TRUE(WaitUntilClosed(frame));
        EXPECT_EQ(settings.settings.speedLevel, 25);
        CLmnApp::Instance()->ExitInstance();
    }
}

TEST_F(StartupTest, TheEndOfTheSessionCancelsAnOpenMessageFirst) {
    ASSERT_TRUE(Start(Environment()));
    CMainFrame* frame = CLmnApp::Instance()->MainFrame();
    settings.settings.speedLevel = 0;
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    ShowMessage(nullptr, MessageCode::MSG_DOCUMENT_NAME_EMPTY);
    EXPECT_TRUE(WaitUntilClosed(frame));
    EXPECT_EQ(settings.settings.speedLevel, 25);
}

// The session manager's request to save: what a close stores reaches the
// file, and the window stays open, as the session may go on.
TEST_F(StartupTest, TheSessionManagersSaveRequestSavesWithoutClosing) {
    ASSERT_TRUE(Start(Environment()));
    CMainFrame* frame = CLmnApp::Instance()->MainFrame();
    frame->ReaderBar()->SetSpeedLevel(37);
    CLmnApp::Instance()->CommitData();
    EXPECT_TRUE(frame->isVisible());
    SettingsHolder reread;
    reread.SetPath(DataFile());
    ASSERT_TRUE(reread.Load(1024, 768));
    EXPECT_EQ(reread.settings.speedLevel, 37);
}

}  // namespace
