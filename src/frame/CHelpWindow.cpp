#include "frame/CHelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "widgets/ProgramMessages.h"

namespace {

QString DefaultTitle() { return ProgramText("Справка Orvek Lumeno"); }

}  // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("HelpWindow");
    setWindowTitle(DefaultTitle());
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setModal(false);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(12);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    const QSize screen = QGuiApplication::primaryScreen() != nullptr
                             ? QGuiApplication::primaryScreen()->availableSize()
                             : QSize(1024, 768);
    resize(std::min(760, screen.width() * 3 / 4), std::min(640, screen.height() * 4 / 5));
}

bool CHelpWindow::ShowHelp(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        ShowWarning(parentWidget(),
                    ProgramText(kHelpFileMissing).arg(QDir::toNativeSeparators(path)));
        return false;
    }
    const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
    if (browser_->source() != source) {
        browser_->setSource(source);
    } else {
        browser_->reload();
    }
    browser_->moveCursor(QTextCursor::Start);
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? DefaultTitle() : title);
    show();
    raise();
    activateWindow();
    return true;
}
