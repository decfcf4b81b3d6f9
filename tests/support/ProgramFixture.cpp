#include "ProgramFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

void ProgramFixture::Start(const QString& fileArgument) {
    StartupEnvironment environment{"lmn", directory.path() + u'/',
                                   QFile::encodeName(fileArgument).toStdString(), kScreen};
    // Never the real home.
    environment.userDirectories.home = QDir(directory.path()).filePath("home").toStdString();
    ASSERT_TRUE(CLmnApp::Instance()->Start(environment, settings, shelf, document));
    QApplication::setActiveWindow(Frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
}

void ProgramFixture::TearDown() { CLmnApp::Instance()->ExitInstance(); }

void ProgramFixture::CloseProgram() {
    Frame()->close();
    CLmnApp::Instance()->ExitInstance();
    settings.Save();
}

void ProgramFixture::PressKey(QKeyCombination key) const {
    QWidget* target =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : Frame();
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void ProgramFixture::LoadClipboardText(const QString& text) const {
    QApplication::clipboard()->setText(text);
    Trigger(CommandId::ID_LOAD_CLIPBOARD);
}

bool ProgramFixture::Open(const QString& path) const {
    return Documents().OpenFile(QFile::encodeName(path).toStdString());
}

QString ProgramFixture::DataFile() const { return QDir(directory.path()).filePath("lmn.dat"); }

QString ProgramFixture::WriteFile(const QString& name, const QByteArray& bytes) const {
    const QString path = QDir(directory.path()).filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}
