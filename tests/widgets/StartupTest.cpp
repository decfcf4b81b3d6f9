#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "frame/CReaderBar.h"

namespace {

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
    bool Start(const StartupEnvironment& e) {
        return CLmnApp::Instance()->Start(e, settings, shelf, document);
    }
};

TEST_F(StartupTest, FirstStartWritesDefaultsAndOpensTheWindow) {
    WriteFile(".lmn.dat.tmp-123-0", "");  // a leftover of an interrupted save
    ASSERT_TRUE(Start(Environment()));
    EXPECT_EQ(ReadWholeFile(DataFile().toStdString()),
              SerializeSettings(DefaultSettings(1024, 768)));
    EXPECT_FALSE(QFile::exists(directory.filePath(".lmn.dat.tmp-123-0")));
    EXPECT_TRUE(settings.SaveOnExit());
    EXPECT_EQ(shelf.Path(), Path("bksh.dat"));
    EXPECT_EQ(Frame()->normalGeometry(), QRect(50, 50, 924, 668));
    Frame()->setGeometry(70, 80, 800, 600);
    Frame()->showMaximized();
    Frame()->ReaderBar()->SetSpeedLevel(12);
    CloseProgram();
    const ReaderSettings& s = settings.settings;
    EXPECT_EQ(QRect(s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight),
              QRect(70, 80, 800, 600));
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

// An installed program's folder cannot be written (here it does not exist, which stops root too).
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

}  // namespace
