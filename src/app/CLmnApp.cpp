#include "app/CLmnApp.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include "app/SessionEndSignals.h"
#include "app/WindowArea.h"
#include "base/InterfaceTranslation.h"
#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "history/HistoryStore.h"
#include "library/DocumentController.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "settings/ExtrasFile.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsHolder.h"
#include "text/DocumentPath.h"
#include "widgets/ProgramMessages.h"

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string FirstFileArgument(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].starts_with('-')) return arguments[i];
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

UserDirectories UserDirectoriesOfProcess() {
    return {qgetenv("HOME").toStdString(), qgetenv("XDG_CONFIG_HOME").toStdString(),
            qgetenv("XDG_DATA_HOME").toStdString()};
}

// The data places start-up will use, as the rule chooses them; when neither
// place can be written, the program directory, which still serves a settings
// file that is already there.
DataPlaces DataPlacesFor(const std::string& programDirectory, const UserDirectories& user,
                         const DirectoryProbe& probe) {
    return ChooseDataPlaces(programDirectory, user, probe)
        .value_or(DataPlaces{programDirectory, programDirectory});
}

// The reader's language choice from lmn.ini, before there is a window: found
// where start-up will find it, but without making any folder; one start-up
// would make holds no file yet, and so no choice.
LanguageChoice StoredLanguageChoice(const QString& programDirectory) {
    DirectoryProbe lookOnly = SystemDirectoryProbe();
    lookOnly.makeWritable = [](const std::string&) { return true; };
    const DataPlaces places =
        DataPlacesFor(LocalPath(programDirectory), UserDirectoriesOfProcess(), lookOnly);
    return LoadLanguageChoice(ExtrasPathBeside(
        QFile::decodeName(QByteArray::fromStdString(places.settingsDirectory + "lmn.dat"))));
}

// The help file beside the executable, else the installed one, in the
// interface's language if there is one in it; the first of them when none
// exists, for the message that says it is missing.
QString HelpFile(const QString& programDirectory, InterfaceLanguage language) {
    const std::vector<std::string> candidates =
        HelpFileCandidates(LocalPath(programDirectory), LMN_INSTALLED_DATA_FROM_BIN, language);
    for (const std::string& candidate : candidates) {
        const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(candidate)));
        if (file.isFile()) return file.absoluteFilePath();
    }
    return QFile::decodeName(QByteArray::fromStdString(candidates.front()));
}

}  // namespace

CLmnApp::CLmnApp(int& argc, char** argv) : QApplication(argc, argv) {
    // QApplication has taken its own options out of argv by now.
    arguments_.assign(argv, argv + argc);
    language_ = InterfaceLanguageOnDesktop(StoredLanguageChoice(applicationDirPath() + u'/'));
    InstallTranslators(*this, language_);
    setApplicationName(ProgramText(kProgramTitle));
    connect(new SessionEndSignals(this), &SessionEndSignals::Requested, this, &CLmnApp::EndSession);
    connect(this, &QGuiApplication::commitDataRequest, this, [this] { CommitData(); });
    // Whatever ends the event loop while the window is still open (the
    // session manager's quit among them) closes it first, so that nothing is
    // lost that a close would save.
    connect(this, &QCoreApplication::aboutToQuit, this, [this] {
        if (mainFrame_ && mainFrame_->isVisible()) mainFrame_->close();
    });
}

CLmnApp::~CLmnApp() = default;

bool CLmnApp::InitInstance(SettingsHolder& settings, ShelfFile& shelf, ShelfDocument& document) {
    StartupEnvironment environment;
    environment.executableBaseName = QFileInfo(applicationFilePath()).completeBaseName();
    environment.programDirectory = applicationDirPath() + u'/';
    environment.fileArgument = FirstFileArgument(arguments_);
    if (const QScreen* screen = primaryScreen()) {
        environment.screenSize = screen->size();
        environment.availableArea = screen->availableGeometry();
    }
    environment.userDirectories = UserDirectoriesOfProcess();
    return Start(environment, settings, shelf, document);
}

bool CLmnApp::Start(const StartupEnvironment& environment, SettingsHolder& settings,
                    ShelfFile& shelf, ShelfDocument& document) {
    if (!IsProgramName(environment.executableBaseName.toStdString())) return false;

    // Where neither place can be written, only creating a settings file fails.
    const DataPlaces places = DataPlacesFor(LocalPath(environment.programDirectory),
                                            environment.userDirectories, SystemDirectoryProbe());
    settings.SetPath(places.settingsDirectory + "lmn.dat");
    shelf.SetPath(places.shelfDirectory + "bksh.dat");
    RemoveLeftoverTemporaries(settings.Path());
    RemoveLeftoverTemporaries(shelf.Path());
    shelf.SetDamageHandler([this](const ShelfDamage& damage) {
        const QString copy = QFile::decodeName(QByteArray::fromStdString(damage.copyPath));
        ShowWarning(mainFrame_.get(),
                    damage.keptDocuments == 0
                        ? ProgramText(MessageText(MessageCode::MSG_SHELF_DAMAGED)) + copy
                        : ProgramText(kShelfDamagedKept)
                              .arg(damage.keptDocuments)
                              .arg(damage.lostDocuments)
                              .arg(copy));
    });

    const QSize screen = environment.screenSize;
    if (!settings.Load(screen.width(), screen.height()) &&
        !settings.CreateDefaults(screen.width(), screen.height())) {
        ShowMessage(nullptr, MessageCode::MSG_SETTINGS_FILE_FAILED);
        return false;
    }
    settings.SetSaveOnExit(true);
    settings_ = &settings;
    FitSavedWindow(settings.settings, environment.availableArea);
    const QString extrasPath = ExtrasPathBeside(QFile::decodeName(settings.Path().c_str()));
    settings.settings.extras = LoadReaderExtras(extrasPath);

    // The history lies beside the shelf. Its file is opened at the first write
    // or look (not at start, which would wait for a check of the whole file);
    // what became of a damaged one is told then.
    history_ = std::make_unique<HistoryStore>(places.shelfDirectory + "history.sqlite");
    mainFrame_ = std::make_unique<CMainFrame>(
        FrameContext{settings.settings, document, shelf, screen,
                     HelpFile(environment.programDirectory, language_), extrasPath, &settings,
                     language_, history_.get()});
    mainFrame_->ShowAtStart();
    RunStartupAction(environment.fileArgument, settings.settings.startupAction);
    return true;
}

void CLmnApp::RunStartupAction(const std::string& fileArgument, std::int32_t startupAction) {
    if (!fileArgument.empty()) {
        // A relative path would name another file, or none, once the program
        // runs from another folder, so the document keeps an absolute one. A
        // file refused at start changes nothing: no document is open yet.
        mainFrame_->Documents().OpenFile(AbsoluteDocumentPath(fileArgument));
        return;
    }
    switch (StartupActionOf(startupAction)) {
        case StartupAction::Nothing: break;
        case StartupAction::LoadClipboard:
            mainFrame_->OnCommand(CommandId::ID_LOAD_CLIPBOARD);
            break;
        case StartupAction::ShowShelf: mainFrame_->OnCommand(CommandId::ID_SHELF_SHOW); break;
    }
}

void CLmnApp::ExitInstance() { mainFrame_.reset(); }

void CLmnApp::EndSession() {
    if (mainFrame_) mainFrame_->SetSessionEnding();
    // A nested event loop (a dialog, a message box, a menu) must end before
    // the window can close; each is cancelled in turn, as Escape would.
    QWidget* nested = activePopupWidget();
    if (nested == nullptr) nested = activeModalWidget();
    if (nested != nullptr) {
        if (auto* dialog = qobject_cast<QDialog*>(nested)) {
            dialog->reject();
        } else {
            nested->close();
        }
        QTimer::singleShot(0, this, &CLmnApp::EndSession);
        return;
    }
    if (mainFrame_ && mainFrame_->isVisible() && mainFrame_->close()) quit();
}

void CLmnApp::CommitData() {
    if (!mainFrame_ || !mainFrame_->isVisible() || settings_ == nullptr) return;
    mainFrame_->StoreWindowState();
    mainFrame_->Documents().StoreRecord();
    settings_->Save();
}
