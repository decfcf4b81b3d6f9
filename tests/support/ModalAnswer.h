#pragma once

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>

// Records each modal window or popup once ("title|text" for a message box, else
// the title) and answers it from inside its own event loop: by default the
// box's default button, accepting a dialog, closing a menu.
class ModalAnswer {
public:
    using Action = std::function<void(QWidget* modal)>;
    explicit ModalAnswer(Action action = {});

    QStringList seen;

private:
    void Look();

    Action action_;
    QTimer timer_;
};

// Calls `act` with a T; clicks `button` of a message box.
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
