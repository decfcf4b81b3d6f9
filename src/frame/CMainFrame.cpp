#include "frame/CMainFrame.h"

#include <QCloseEvent>

#include "app/CLmnApp.h"
#include "settings/ReaderSettings.h"

CMainFrame::CMainFrame(ReaderSettings& settings, ShelfDocument& document)
    : settings_(settings), document_(document) {
    document_.SetHost(this);
    setGeometry(settings_.windowLeft, settings_.windowTop, settings_.windowWidth,
                settings_.windowHeight);
}

CMainFrame::~CMainFrame() { document_.SetHost(nullptr); }

void CMainFrame::ShowAtStart() {
    if (settings_.windowMaximized != 0) {
        showMaximized();
    } else {
        show();
    }
}

bool CMainFrame::LoadDocument(const QString&) { return false; }

void CMainFrame::LoadClipboard() {}

void CMainFrame::ShowShelf() {}

void CMainFrame::ReturnToShelf(ShelfDocument&) {}

void CMainFrame::DocumentCleared() { CLmnApp::Instance()->UpdateTitle(); }

void CMainFrame::closeEvent(QCloseEvent* event) {
    const QRect normal = normalGeometry();
    settings_.windowLeft = normal.left();
    settings_.windowTop = normal.top();
    settings_.windowWidth = normal.width();
    settings_.windowHeight = normal.height();
    settings_.windowMaximized = isMaximized() ? 1 : 0;
    document_.CloseCurrent();
    event->accept();
}
