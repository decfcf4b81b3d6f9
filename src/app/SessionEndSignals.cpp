#include "app/SessionEndSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <csignal>

#include <QSocketNotifier>

namespace {

// Both ends of the socket pair; the handler writes into the first. One pair
// for the process, as signal dispositions are.
int gSignalSockets[2] = {-1, -1};

constexpr std::array<int, 2> kSessionEndSignals = {SIGTERM, SIGHUP};

void OnSessionEndSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full socket already holds a request; the byte is not needed then.
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

SessionEndSignals::SessionEndSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, gSignalSockets) != 0) {
        return;  // the signals keep their default action
    }
    notifier_ = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEndSignals::Drain);
    struct sigaction action {};
    action.sa_handler = OnSessionEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSessionEndSignals) ::sigaction(signal, &action, nullptr);
}

SessionEndSignals::~SessionEndSignals() {
    if (notifier_ == nullptr) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSessionEndSignals) ::sigaction(signal, &action, nullptr);
    delete notifier_;
    ::close(gSignalSockets[0]);
    ::close(gSignalSockets[1]);
    gSignalSockets[0] = gSignalSockets[1] = -1;
}

void SessionEndSignals::Drain() {
    char bytes[64];
    while (::read(gSignalSockets[1], bytes, sizeof bytes) > 0) {
    }
    emit Requested();
}
