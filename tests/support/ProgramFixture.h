#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <cerrno>
#include <ostream>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "library/DocumentController.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "settings/SettingsHolder.h"
#include "text/CTextCtrl.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }
// A message box's "title|text" as ModalAnswer records it.
inline QString Told(std::string_view text) {
    return ProgramText(kProgramTitle) + u'|' + ProgramText(text);
}
inline QString Told(MessageCode code) { return Told(MessageText(code)); }

// Lets `writesLeft` writes through, then fails each as a full disk would; -1: room again.
class FillingDisk : public FileSystem {
public:
    int writesLeft = -1;
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        if (writesLeft == 0) return errno = ENOSPC, -1;
        if (writesLeft > 0) --writesLeft;
        return FileSystem::Write(fd, data, size);
    }
};

// A started program in a directory of its own on a 1024x768 screen, its shelf
// on a disk the test may fill.
class ProgramFixture : public ::testing::Test {
protected:
    static constexpr QSize kScreen{1024, 768};

    void Start(const QString& fileArgument = {});
    void TearDown() override;
    void CloseProgram();  // as the user would; the settings file is then written

    CMainFrame* Frame() const { return CLmnApp::Instance()->MainFrame(); }
    CTextCtrl& Text() const { return *Frame()->TextCtrl(); }
    DocumentController& Documents() const { return Frame()->Documents(); }
    bool Enabled(CommandId command) const { return Frame()->Action(command)->isEnabled(); }
    void Trigger(CommandId command) const { Frame()->Action(command)->trigger(); }
    void PressKey(QKeyCombination key) const;
    void LoadClipboardText(const QString& text) const;
    bool Open(const QString& path) const;
    QString DataFile() const;
    QString WriteFile(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir directory;
    SettingsHolder settings;
    FillingDisk disk;
    ShelfFile shelf{disk};
    ShelfDocument document;
};
