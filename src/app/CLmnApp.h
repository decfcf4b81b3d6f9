#pragma once

#include <QApplication>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/DataPlaces.h"
#include "base/InterfaceLanguage.h"

class CMainFrame;
class HistoryStore;
class ShelfFile;
class SettingsHolder;
class ShelfDocument;

// What start-up learns from the process and the desktop; tests hand in their own.
struct StartupEnvironment {
    QString executableBaseName;
    QString programDirectory;  // ends with "/"
    std::string fileArgument;  // the platform's bytes; empty when the command line names no file
    QSize screenSize;
    QRect availableArea{};  // the screen less panels and docks; empty when unknown
    UserDirectories userDirectories{};
};

// The application object: start-up and shut-down. The other three
// program-wide objects (settings, shelf file, current document) are
// constructed after it and handed to InitInstance.
class CLmnApp : public QApplication {
    Q_OBJECT

public:
    CLmnApp(int& argc, char** argv);
    ~CLmnApp() override;

    static CLmnApp* Instance() { return static_cast<CLmnApp*>(QCoreApplication::instance()); }

    // Start-up from the real process; false ends the program at once.
    bool InitInstance(SettingsHolder& settings, ShelfFile& shelf, ShelfDocument& document);
    bool Start(const StartupEnvironment& environment, SettingsHolder& settings, ShelfFile& shelf,
               ShelfDocument& document);
    // Closes the main window for good; called after the event loop ends, before
    // the other program-wide objects are destroyed.
    void ExitInstance();

    CMainFrame* MainFrame() { return mainFrame_.get(); }

    // The session is ending (SIGTERM, SIGHUP): open dialogs and menus are
    // cancelled, then the main window closes as the user closing it would, so
    // that the settings and the shelf are saved.
    void EndSession();
    // The session manager asks for everything to be saved, and may yet end
    // the session or not: what a close saves is saved, and the window stays.
    void CommitData();

private:
    void RunStartupAction(const std::string& fileArgument, std::int32_t startupAction);

    // Chosen and installed before any text is shown; a change made in the
    // settings waits for the next start.
    InterfaceLanguage language_ = InterfaceLanguage::Russian;
    // Made before the window, which records into it, and gone after it.
    std::unique_ptr<HistoryStore> history_;
    std::unique_ptr<CMainFrame> mainFrame_;
    SettingsHolder* settings_ = nullptr;
    // The command line as the process got it, without Qt's own options: file
    // names are bytes, which QString could not always give back.
    std::vector<std::string> arguments_;
};
