#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Answers the modal dialogs and popup menus a test provokes: each time one
// opens, its window title and text are recorded and it is closed with the
// given action (by default, the way the Enter key would). Stops when destroyed.
class ModalAnswer {
public:
    using Action = std::function<void(QWidget* dialog)>;
    explicit ModalAnswer(Action action = {});
    ~ModalAnswer();

    // "title|text" for every message box seen, in order.
    QStringList seen;

private:
    struct Watcher;
    Watcher* watcher_;
};
