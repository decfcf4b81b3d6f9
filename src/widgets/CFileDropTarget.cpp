#include "widgets/CFileDropTarget.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

namespace {

// The first local file a drag carries; empty when it carries none.
QString DroppedFile(const QMimeData* data) {
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

CFileDropTarget::CFileDropTarget(QWidget* window) : QObject(window) {
    // Drops that the window's own widgets ignore come up to the window.
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool CFileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        draggedFile_ = DroppedFile(enter->mimeData());
        if (!draggedFile_.isEmpty()) enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        // Under X the dropped data is fetched from the source once more, which
        // can come back empty; the drag entered with this file, so it counts.
        QString path = DroppedFile(drop->mimeData());
        if (path.isEmpty()) path = draggedFile_;
        if (path.isEmpty()) return true;
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, path] { emit FileDropped(path); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}
