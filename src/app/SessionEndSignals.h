#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that end a desktop session (SIGTERM at logout or
// shutdown, SIGHUP when the terminal goes) into a Qt signal on the event
// loop, so that the program can close its window and save as a window close
// does instead of dying on the spot. The signal handler only writes one byte
// into a socket pair, which is all a handler may safely do; the notifier on
// the other end raises Requested from the event loop.
class SessionEndSignals : public QObject {
    Q_OBJECT

public:
    explicit SessionEndSignals(QObject* parent = nullptr);
    ~SessionEndSignals() override;

signals:
    void Requested();

private:
    void Drain();

    QSocketNotifier* notifier_ = nullptr;
};
