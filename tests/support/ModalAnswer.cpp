#include "ModalAnswer.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

struct ModalAnswer::Watcher {
    QTimer timer;
};

ModalAnswer::ModalAnswer(Action action) : watcher_(new Watcher) {
    watcher_->timer.setInterval(5);
    QObject::connect(&watcher_->timer, &QTimer::timeout, [this, action] {
        QWidget* modal = QApplication::activePopupWidget();
        if (modal == nullptr) modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << box->windowTitle() + u'|' + box->text();
        } else {
            seen << modal->windowTitle();
        }
        if (action) {
            action(modal);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->accept();
        } else {
            modal->close();
        }
    });
    watcher_->timer.start();
}

ModalAnswer::~ModalAnswer() { delete watcher_; }
