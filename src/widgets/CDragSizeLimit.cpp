#include "widgets/CDragSizeLimit.h"

#include <QEvent>
#include <QWidget>

CDragSizeLimit::CDragSizeLimit(QWidget* window, QSize limit)
    : QObject(window), window_(window), limit_(limit) {
    window_->installEventFilter(this);
    Apply();
}

bool CDragSizeLimit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return QObject::eventFilter(watched, event);
    // Back from maximised, the window still has the screen's size until its
    // resize: the limit waits for that.
    if (event->type() == QEvent::Resize ||
        (event->type() == QEvent::WindowStateChange && ScreenSized())) {
        Apply();
    }
    return QObject::eventFilter(watched, event);
}

bool CDragSizeLimit::ScreenSized() const {
    return (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

void CDragSizeLimit::Apply() {
    // A maximised window's size is the screen's: the limit follows the size
    // it is restored to, or a restore could not give that size back.
    const QSize size = ScreenSized() ? window_->normalGeometry().size() : window_->size();
    if (size.isEmpty()) return;
    window_->setMinimumSize(limit_.boundedTo(size));
}
