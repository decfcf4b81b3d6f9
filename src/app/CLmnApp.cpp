#include "app/CLmnApp.h"

#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "app/WindowArea.h"
#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "library/CDocumentController.h"
#include "library/CShelfFile.h"
#include "library/ShelfDocument.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsHolder.h"
#include "widgets/ProgramMessages.h"

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FirstFileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u'-')) return arguments[i];
    }
    return {};
}

// The window opens inside the screen's available area whatever screen or
// scale factor its rectangle was saved on.
void FitSavedWindow(ReaderSettings& settings, const QRect& area) {
    const ScreenRect fitted = FitIntoArea(
        {settings.windowLeft, settings.windowTop, settings.windowWidth, settings.windowHeight},
        {area.left(), area.top(), area.width(), area.height()});
    settings.windowLeft = fitted.left;
    settings.windowTop = fitted.top;
    settings.windowWidth = fitted.width;
    settings.windowHeight = fitted.height;
}

// The help file beside the executable, else the installed one; the first of
// them when neither exists, for the message that says it is missing.
QString HelpFile(const QString& programDirectory) {
    const std::vector<std::string> candidates =
        HelpFileCandidates(LocalPath(programDirectory), LMN_INSTALLED_DATA_FROM_BIN);
    for (const std::string& candidate : candidates) {
        const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(candidate)));
        if (file.isFile()) return file.absoluteFilePath();
    }
    return QFile::decodeName(QByteArray::fromStdString(candidates.front()));
}

}  // namespace

CLmnApp::CLmnApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(ProgramText(kProgramTitle));
    // The whole interface is Russian whatever the user's locale, Qt's own
    // dialogs and buttons included. Without the translations installed they
    // stay English, which is no reason not to start.
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(translator);
    }
}

CLmnApp::~CLmnApp() = default;

bool CLmnApp::InitInstance(SettingsHolder& settings, CShelfFile& shelf, ShelfDocument& document) {
    StartupEnvironment environment;
    environment.executableBaseName = QFileInfo(applicationFilePath()).completeBaseName();
    environment.programDirectory = applicationDirPath() + u'/';
    environment.fileArgument = FirstFileArgument(arguments());
    if (const QScreen* screen = primaryScreen()) {
        environment.screenSize = screen->size();
        environment.availableArea = screen->availableGeometry();
    }
    environment.userDirectories = {qgetenv("HOME").toStdString(),
                                   qgetenv("XDG_CONFIG_HOME").toStdString(),
                                   qgetenv("XDG_DATA_HOME").toStdString()};
    return Start(environment, settings, shelf, document);
}

bool CLmnApp::Start(const StartupEnvironment& environment, SettingsHolder& settings,
                    CShelfFile& shelf, ShelfDocument& document) {
    if (!IsProgramName(environment.executableBaseName.toStdString())) return false;

    // When neither place can be written, the program directory still serves
    // a settings file that is already there; only creating one fails.
    const std::string directory = LocalPath(environment.programDirectory);
    const DataPlaces places =
        ChooseDataPlaces(directory, environment.userDirectories, SystemDirectoryProbe())
            .value_or(DataPlaces{directory, directory});
    settings.SetPath(places.settingsDirectory + "lmn.dat");
    shelf.SetPath(places.shelfDirectory + "bksh.dat");
    RemoveLeftoverTemporaries(settings.Path());
    RemoveLeftoverTemporaries(shelf.Path());

    const QSize screen = environment.screenSize;
    if (!settings.Load() && !settings.CreateDefaults(screen.width(), screen.height())) {
        ShowMessage(nullptr, MessageCode::MSG_SETTINGS_FILE_FAILED);
        return false;
    }
    settings.SetSaveOnExit(true);
    FitSavedWindow(settings.settings, environment.availableArea);

    mainFrame_ = std::make_unique<CMainFrame>(FrameContext{
        settings.settings, document, shelf, screen, HelpFile(environment.programDirectory)});
    mainFrame_->ShowAtStart();
    RunStartupAction(environment.fileArgument, settings.settings.startupAction);
    return true;
}

void CLmnApp::RunStartupAction(const QString& fileArgument, std::int32_t startupAction) {
    if (!fileArgument.isEmpty()) {
        CDocumentController& documents = mainFrame_->Documents();
        // A file the program refuses at start leaves no document behind.
        if (!documents.OpenFile(LocalPath(fileArgument))) documents.Document().Clear();
        return;
    }
    switch (StartupActionOf(startupAction)) {
        case StartupAction::Nothing:
            break;
        case StartupAction::LoadClipboard:
            mainFrame_->OnCommand(CommandId::ID_LOAD_CLIPBOARD);
            break;
        case StartupAction::ShowShelf:
            mainFrame_->OnCommand(CommandId::ID_SHELF_SHOW);
            break;
    }
}

void CLmnApp::ExitInstance() { mainFrame_.reset(); }
