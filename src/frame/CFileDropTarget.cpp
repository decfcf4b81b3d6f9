#include "frame/CFileDropTarget.h"

#include <QDropEvent>
#include <QFile>
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

CFileDropTarget::CFileDropTarget(QWidget* window, Open open)
    : QObject(window), window_(window), open_(std::move(open)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool CFileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return false;
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        draggedFile_ = DroppedFile(enter->mimeData());
        if (draggedFile_.isEmpty()) {
            enter->ignore();
        } else {
            enter->acceptProposedAction();
        }
        return true;
    }
    if (event->type() != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    // Under X the dropped data is fetched from the source once more, which
    // can come back empty; the drag entered with this file, so it still counts.
    QString path = DroppedFile(drop->mimeData());
    if (path.isEmpty()) path = draggedFile_;
    if (path.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    // The drag source waits for the drop to finish; a message the load shows
    // must not hold it up, so the file opens once the drop is over.
    QTimer::singleShot(0, this, [this, path] { open_(QFile::encodeName(path).toStdString()); });
    return true;
}
