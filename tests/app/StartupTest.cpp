#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ModalAnswer.h"
#include "app/CLmnApp.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "library/CShelfFile.h"
#include "library/ShelfDocument.h"
#include "settings/SettingsHolder.h"

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
    CShelfFile shelf;
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

TEST_F(StartupTest, TitleFollowsTheDocumentName) {
    StartupEnvironment environment = Environment();
    environment.fileArgument = QDir(directory.path()).filePath("Война и мир.txt");
    QFile file(environment.fileArgument);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Text.");
    file.close();
    ASSERT_TRUE(Start(environment));
    EXPECT_EQ(CLmnApp::Instance()->MainFrame()->windowTitle(), "Orvek Lumeno - Война и мир.txt");
    document.Clear();
    EXPECT_EQ(CLmnApp::Instance()->MainFrame()->windowTitle(), "Orvek Lumeno");
}

}  // namespace
