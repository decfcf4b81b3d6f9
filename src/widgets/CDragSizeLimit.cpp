#include "widgets/CDragSizeLimit.h"

#include <QEvent>
#include <QWidget>

CDragSizeLimit::CDragSizeLimit(QWidget* window, QSize limit)
    : QObject(window), window_(window), limit_(limit) {
    window_->installEventFilter(this);
    Apply();
}

bool CDragSizeLimit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize) Apply();
    return QObject::eventFilter(watched, event);
}

void CDragSizeLimit::Apply() { window_->setMinimumSize(limit_.boundedTo(window_->size())); }
