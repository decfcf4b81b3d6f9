#pragma once

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>

// Answers the modal dialogs and popup menus a test provokes: each is recorded
// once ("title|text" for a message box, else the window title) and answered
// after its own event loop has started, so an answer may open further modal
// windows. The default answer clicks a message box's default button, accepts
// a dialog and closes a menu. Stops when destroyed.
class ModalAnswer {
public:
    using Action = std::function<void(QWidget* modal)>;
    explicit ModalAnswer(Action action = {});
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    QStringList seen;

private:
    void Look();

    Action action_;
    QTimer timer_;
};

// Calls `act` with the modal window when it is a T; clicks `button` of a
// message box; leaves anything else as it is.
template <class T>
ModalAnswer::Action On(std::function<void(T*)> act,
                       QMessageBox::StandardButton button = QMessageBox::Ok) {
    return [act, button](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(button)->click();
        } else if (auto* dialog = qobject_cast<T*>(modal); dialog != nullptr && act) {
            act(dialog);
        }
    };
}
