#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

// Answers the modal dialogs and popup menus a test provokes: each one is
// recorded once ("title|text" for a message box, the window title for any
// other) and answered after its own event loop has started, so that the
// answer may open further modal windows. The default answer clicks a message
// box's default button, accepts a dialog and closes a menu. Stops when
// destroyed.
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
