#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "frame/CReaderBar.h"
#include "widgets/ProgramMessages.h"

namespace {

// Start-up with the user's folders in the test's directory as well.
class StartupTest : public ProgramFixture {
protected:
    StartupEnvironment Environment(const QString& name = "lmn") const {
        StartupEnvironment environment{name, directory.path() + u'/', {}, kScreen};
        environment.userDirectories = {Path("home"), Path("config"), Path("share")};
        return environment;
    }
    std::string Path(const QString& relative) const {
        return directory.filePath(relative).toStdString();
    }
    bool Start(const StartupEnvironment& environment) {
        return CLmnApp::Instance()->Start(environment, settings, shelf, document);
    }
    // The signal is delivered through the event loop, not at once.
    bool WaitUntilClosed() {
        CMainFrame* frame = Frame();
        QDeadlineTimer deadline(10000);
        while (frame->isVisible() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return !frame->isVisible();
    }
};

TEST_F(StartupTest, FirstStartWritesDefaultsAndOpensTheWindow) {
    WriteFile(".lmn.dat.tmp-123-0", "");  // a leftover of an interrupted save
    ASSERT_TRUE(Start(Environment()));
    EXPECT_EQ(ReadWholeFile(DataFile().toStdString()), SerializeSettings(DefaultSettings(1024, 768)));
    EXPECT_FALSE(QFile::exists(directory.filePath(".lmn.dat.tmp-123-0")));
    EXPECT_TRUE(settings.SaveOnExit());
    EXPECT_EQ(shelf.Path(), Path("bksh.dat"));
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
    EXPECT_EQ(Frame()->normalGeometry(), QRect(50, 50, 924, 668));
    Frame()->setGeometry(70, 80, 800, 600);
    Frame()->showMaximized();
    Frame()->ReaderBar()->SetSpeedLevel(12);
    CloseProgram();
    const ReaderSettings& s = settings.settings;
    EXPECT_EQ(QRect(s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight), QRect(70, 80, 800, 600));
    EXPECT_EQ(s.windowMaximized, 1);
    ASSERT_TRUE(Start(Environment()));  // the next run takes them up
    EXPECT_EQ(settings.settings.speedLevel, 12);
    EXPECT_TRUE(Frame()->isMaximized());
}

TEST_F(StartupTest, AnotherExecutableNameEndsSilentlyAndTouchesNothing) {
    ModalAnswer answer;
    EXPECT_FALSE(Start(Environment("reader")));
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_TRUE(QDir(directory.path()).isEmpty());
    EXPECT_FALSE(settings.SaveOnExit());
    EXPECT_TRUE(answer.seen.isEmpty());
}

// An installed program: its folder cannot be written (here it does not even
// exist, which stops root as well as a user).
TEST_F(StartupTest, AnUnwritableProgramDirectoryKeepsTheDataInTheUserFolders) {
    StartupEnvironment environment = Environment();
    environment.programDirectory = directory.path() + "/bin/";
    const QString leftover = WriteFile("config/lumeno/.lmn.dat.tmp-123-0", "");
    ModalAnswer answer;
    ASSERT_TRUE(Start(environment));
    EXPECT_TRUE(answer.seen.isEmpty());
    EXPECT_EQ(settings.Path(), Path("config/lumeno/lmn.dat"));
    EXPECT_EQ(shelf.Path(), Path("share/lumeno/bksh.dat"));
    EXPECT_TRUE(ReadWholeFile(settings.Path()).has_value());
    EXPECT_FALSE(QFile::exists(leftover));
}

TEST_F(StartupTest, NoPlaceForTheSettingsFileShowsTheMessageAndEnds) {
    StartupEnvironment nowhere = Environment();
    nowhere.programDirectory = directory.path() + "/missing/";
    nowhere.userDirectories = {Path("plain"), "", ""};
    WriteFile("plain", "");
    ASSERT_TRUE(QDir(directory.path()).mkdir("lmn.dat"));
    for (const StartupEnvironment& environment : {nowhere, Environment()}) {
        ModalAnswer answer;
        EXPECT_FALSE(Start(environment));
        EXPECT_EQ(Frame(), nullptr);
        EXPECT_FALSE(settings.SaveOnExit());
        EXPECT_EQ(answer.seen, QStringList{Told(MessageCode::MSG_SETTINGS_FILE_FAILED)});
    }
    EXPECT_TRUE(QFileInfo(DataFile()).isDir());
}

// Named relative to the folder it was started in, as a shell passes it: the
// document keeps the absolute path, which the shelf then stores.
TEST_F(StartupTest, AFileOnTheCommandLineKeepsItsPathAbsolute) {
    StartupEnvironment environment = Environment();
    const QString path = WriteFile("Война и мир.txt", "Text of a book to read.");
    ASSERT_TRUE(QDir(directory.path()).mkdir("work"));
    environment.fileArgument = QFile::encodeName("./../Война и мир.txt").toStdString();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(directory.filePath("work")));
    const bool started = Start(environment);
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_EQ(document.path, QFile::encodeName(QFileInfo(path).canonicalFilePath()).toStdString());
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Война и мир.txt");
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);
    document.Clear();
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
}

TEST_F(StartupTest, AFileRefusedOnTheCommandLineLeavesNoDocument) {
    for (const QString name : {"missing.txt", "notes.doc"}) {
        StartupEnvironment environment = Environment();
        environment.fileArgument = Path(name);
        ModalAnswer answer;
        ASSERT_TRUE(Start(environment));
        EXPECT_EQ(answer.seen.size(), 1);
        EXPECT_EQ(document.key, -1);
        EXPECT_TRUE(document.path.empty());
        EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno");
        CLmnApp::Instance()->ExitInstance();
    }
}

// The end of a session closes the window as the user would, so that what a
// close stores (here the speed level, which only the close writes into the
// record) is saved, cancelling an open message first. The session manager's
// request to save stores the same and leaves the window open.
TEST_F(StartupTest, TheEndOfTheSessionClosesTheWindowAsTheUserWould) {
    for (int signal : {SIGTERM, SIGHUP, 0}) {
        SCOPED_TRACE(signal);
        ASSERT_TRUE(Start(Environment()));
        settings.settings.speedLevel = 0;
        if (signal != 0) {
            ASSERT_EQ(::raise(signal), 0);
        } else {
            QTimer::singleShot(0, [] { ::raise(SIGTERM); });
            ShowMessage(nullptr, MessageCode::MSG_DOCUMENT_NAME_EMPTY);
        }
        EXPECT_TRUE(WaitUntilClosed());
        EXPECT_EQ(settings.settings.speedLevel, 25);
        CLmnApp::Instance()->ExitInstance();
    }
    ASSERT_TRUE(Start(Environment()));
    Frame()->ReaderBar()->SetSpeedLevel(37);
    CLmnApp::Instance()->CommitData();
    EXPECT_TRUE(Frame()->isVisible());
    SettingsHolder reread;
    reread.SetPath(DataFile().toStdString());
    ASSERT_TRUE(reread.Load(1024, 768));
    EXPECT_EQ(reread.settings.speedLevel, 37);
}

}  // namespace
