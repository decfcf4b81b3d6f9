#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/CLmnApp.h"
#include "frame/CMainFrame.h"
#include "library/DocumentController.h"
#include "library/ShelfFile.h"
#include "library/ShelfDocument.h"
#include "settings/SettingsHolder.h"

// A started program in a directory of its own, on a 1024x768 screen, with the
// four program-wide objects as the program has them. Tests may write an
// lmn.dat before calling Start.
class ProgramFixture : public ::testing::Test {
protected:
    static constexpr QSize kScreen{1024, 768};

    void Start(const QString& fileArgument = {});
    // The file argument as the command line's bytes.
    void StartWithArgument(const std::string& fileArgument);
    void TearDown() override;
    // Closes the window as the user would and ends the run; the settings
    // holder then writes the settings file.
    void CloseProgram();

    CMainFrame* Frame() const { return CLmnApp::Instance()->MainFrame(); }
    void Trigger(CommandId command) const;
    // Sends a key press and release to the focused widget of the frame.
    void PressKey(QKeyCombination key) const;
    void LoadClipboardText(const QString& text) const;
    // Opens a file as the open command does once the dialog gives it.
    bool Open(const QString& path) const;
    QString DataFile() const;

    QTemporaryDir directory;
    SettingsHolder settings;
    ShelfFile shelf;
    ShelfDocument document;
};
