#pragma once

#include <QApplication>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

#include "app/DataPlaces.h"

class CMainFrame;
class CShelfFile;
class SettingsHolder;
class ShelfDocument;

// What start-up learns from the process and the desktop; tests hand in their own.
struct StartupEnvironment {
    QString executableBaseName;
    QString programDirectory;  // ends with "/"
    QString fileArgument;      // empty when the command line names no file
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
    bool InitInstance(SettingsHolder& settings, CShelfFile& shelf, ShelfDocument& document);
    bool Start(const StartupEnvironment& environment, SettingsHolder& settings, CShelfFile& shelf,
               ShelfDocument& document);
    // Closes the main window for good; called after the event loop ends, before
    // the other program-wide objects are destroyed.
    void ExitInstance();

    CMainFrame* MainFrame() { return mainFrame_.get(); }

private:
    void RunStartupAction(const QString& fileArgument, std::int32_t startupAction);

    std::unique_ptr<CMainFrame> mainFrame_;
};
