#include "ModalAnswer.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>

ModalAnswer::ModalAnswer(Action action) : action_(std::move(action)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start();
}

void ModalAnswer::Look() {
    QWidget* modal = QApplication::activePopupWidget();
    if (modal == nullptr) modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->property("lmnAnswered").toBool()) return;
    modal->setProperty("lmnAnswered", true);
    auto* box = qobject_cast<QMessageBox*>(modal);
    seen << (box != nullptr ? box->windowTitle() + u'|' + box->text() : modal->windowTitle());
    QTimer::singleShot(0, modal, [this, modal, box] {
        if (action_) {
            action_(modal);
        } else if (box != nullptr && box->defaultButton() != nullptr) {
            box->defaultButton()->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->accept();
        } else {
            modal->close();
        }
    });
}
