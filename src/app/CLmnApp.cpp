#include "app/CLmnApp.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>

#include "app/WindowArea.h"
#include "base/CodePage.h"
#include "base/ProgramTexts.h"
#include "base/SafeFileWriter.h"
#include "frame/CMainFrame.h"
#include "library/CShelfFile.h"
#include "library/ShelfDocument.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsHolder.h"

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

}  // namespace

CLmnApp::CLmnApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
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

    settings_ = &settings;
    shelf_ = &shelf;
    document_ = &document;
    screenSize_ = environment.screenSize;
    programDirectory_ = environment.programDirectory;

    // When neither place can be written, the program directory still serves
    // a settings file that is already there; only creating one fails.
    const std::string directory = LocalPath(programDirectory_);
    const DataPlaces places =
        ChooseDataPlaces(directory, environment.userDirectories, SystemDirectoryProbe())
            .value_or(DataPlaces{directory, directory});
    settings.SetPath(places.settingsDirectory + "lmn.dat");
    shelf.SetPath(places.shelfDirectory + "bksh.dat");
    RemoveLeftoverTemporaries(settings.Path());
    RemoveLeftoverTemporaries(shelf.Path());

    if (!settings.Load() && !settings.CreateDefaults(screenSize_.width(), screenSize_.height())) {
        ShowMessage(MSG_SETTINGS_FILE_FAILED);
        return false;
    }
    settings.SetSaveOnExit(true);
    FitSavedWindow(settings.settings, environment.availableArea);

    mainFrame_ = std::make_unique<CMainFrame>(settings.settings, document, screenSize_);
    UpdateTitle();
    mainFrame_->ShowAtStart();
    RunStartupAction(environment.fileArgument);
    return true;
}

void CLmnApp::RunStartupAction(const QString& fileArgument) {
    if (!fileArgument.isEmpty()) {
        document_->key = ShelfDocument::kNotOnShelf;
        document_->path = LocalPath(fileArgument);
        if (!mainFrame_->LoadDocument()) {
            document_->key = ShelfDocument::kNoDocument;
            document_->path.clear();
        }
        return;
    }
    switch (settings_->settings.startupAction) {
        case 1:
            mainFrame_->LoadClipboard();
            break;
        case 2:
            mainFrame_->ShowShelf();
            break;
        default:
            break;
    }
}

QString CLmnApp::HelpFile() const {
    const std::vector<std::string> candidates =
        HelpFileCandidates(LocalPath(programDirectory_), LMN_INSTALLED_DATA_FROM_BIN);
    for (const std::string& candidate : candidates) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(candidate));
        if (QFileInfo(path).isFile()) return QFileInfo(path).absoluteFilePath();
    }
    return QFile::decodeName(QByteArray::fromStdString(candidates.front()));
}

void CLmnApp::ExitInstance() { mainFrame_.reset(); }

void CLmnApp::ShowMessage(int code) {
    const std::string_view text = MessageText(code);
    QMessageBox box(QMessageBox::Warning, applicationName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, mainFrame_.get());
    box.exec();
}

void CLmnApp::UpdateTitle() {
    if (!mainFrame_) return;
    mainFrame_->setWindowTitle(QString::fromStdU16String(
        Cp1251ToUtf16(WindowTitle(document_ != nullptr ? document_->name : std::string()))));
}
