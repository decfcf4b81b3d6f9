#include "app/CLmnApp.h"

#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "library/CDocumentController.h"
#include "library/CShelfFile.h"
#include "library/ShelfDocument.h"
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
    if (const QScreen* screen = primaryScreen()) environment.screenSize = screen->size();
    return Start(environment, settings, shelf, document);
}

bool CLmnApp::Start(const StartupEnvironment& environment, SettingsHolder& settings,
                    CShelfFile& shelf, ShelfDocument& document) {
    if (!IsProgramName(environment.executableBaseName.toStdString())) return false;

    const std::string directory = LocalPath(environment.programDirectory);
    settings.SetPath(directory + "lmn.dat");
    shelf.SetPath(directory + "bksh.dat");
    RemoveLeftoverTemporaries(settings.Path());
    RemoveLeftoverTemporaries(shelf.Path());

    const QSize screen = environment.screenSize;
    if (!settings.Load() && !settings.CreateDefaults(screen.width(), screen.height())) {
        ShowMessage(nullptr, MessageCode::MSG_SETTINGS_FILE_FAILED);
        return false;
    }
    settings.SetSaveOnExit(true);

    mainFrame_ = std::make_unique<CMainFrame>(
        FrameContext{settings.settings, document, shelf, screen, environment.programDirectory});
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
