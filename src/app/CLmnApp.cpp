#include "app/CLmnApp.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "app/SessionEndSignals.h"
#include "base/ProgramTexts.h"
#include "frame/CMainFrame.h"
#include "library/CShelfFile.h"
#include "base/SafeFileWriter.h"
#include "library/ShelfDocument.h"
#include "settings/SettingsHolder.h"
#include "base/CodePage.h"

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string FirstFileArgument(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].starts_with('-')) return arguments[i];
    }
    return {};
}

}  // namespace

CLmnApp::CLmnApp(int& argc, char** argv) : QApplication(argc, argv) {
    // QApplication has taken its own options out of argv by now.
    arguments_.assign(argv, argv + argc);
    setApplicationName(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
    connect(new SessionEndSignals(this), &SessionEndSignals::Requested, this, &CLmnApp::EndSession);
    // Whatever ends the event loop while the window is still open (the
    // session manager's quit among them) closes it first, so that nothing is
    // lost that a close would save.
    connect(this, &QCoreApplication::aboutToQuit, this, [this] {
        if (mainFrame_ && mainFrame_->isVisible()) mainFrame_->close();
    });
}

CLmnApp::~CLmnApp() = default;

bool CLmnApp::InitInstance(SettingsHolder& settings, CShelfFile& shelf, ShelfDocument& document) {
    StartupEnvironment environment;
    environment.executableBaseName = QFileInfo(applicationFilePath()).completeBaseName();
    environment.programDirectory = applicationDirPath() + u'/';
    environment.fileArgument = FirstFileArgument(arguments_);
    if (const QScreen* screen = primaryScreen()) environment.screenSize = screen->size();
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

    const std::string directory = LocalPath(programDirectory_);
    settings.SetPath(directory + "lmn.dat");
    shelf.SetPath(directory + "bksh.dat");
    RemoveLeftoverTemporaries(settings.Path());
    RemoveLeftoverTemporaries(shelf.Path());
    shelf.SetDamageHandler([this](const std::string& copyPath) {
        ShowMessage(MSG_SHELF_DAMAGED, QFile::decodeName(QByteArray::fromStdString(copyPath)));
    });

    if (!settings.Load(screenSize_.width(), screenSize_.height()) &&
        !settings.CreateDefaults(screenSize_.width(), screenSize_.height())) {
        ShowMessage(MSG_SETTINGS_FILE_FAILED);
        return false;
    }
    settings.SetSaveOnExit(true);

    mainFrame_ = std::make_unique<CMainFrame>(settings.settings, document, screenSize_);
    UpdateTitle();
    mainFrame_->ShowAtStart();
    RunStartupAction(environment.fileArgument);
    return true;
}

void CLmnApp::RunStartupAction(const std::string& fileArgument) {
    if (!fileArgument.empty()) {
        document_->key = ShelfDocument::kNotOnShelf;
        document_->path = fileArgument;
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

void CLmnApp::ExitInstance() { mainFrame_.reset(); }

void CLmnApp::ShowMessage(int code, const QString& detail) {
    const std::string_view text = MessageText(code);
    QMessageBox box(QMessageBox::Warning, applicationName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())) + detail,
                    QMessageBox::Ok, mainFrame_.get());
    box.exec();
}

void CLmnApp::EndSession() {
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

void CLmnApp::UpdateTitle() {
    if (!mainFrame_) return;
    mainFrame_->setWindowTitle(QString::fromStdU16String(
        Cp1251ToUtf16(WindowTitle(document_ != nullptr ? document_->name : std::string()))));
}
