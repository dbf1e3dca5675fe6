// SIGTERM and SIGHUP turned into a Qt signal through a pipe.
#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavorin {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

// The write end for the handler; -1 when no object listens.
volatile std::sig_atomic_t handlerFd = -1;

// Only what is safe inside a signal handler: one write of one byte.
extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const int fd = handlerFd;
    if (fd >= 0) {
        const char code = static_cast<char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &code, 1);
    }
    errno = savedErrno;
}

void setHandler(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        sigaction(number, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0)
        return; // no way to hear the signals: their default handling stays
    handlerFd = fds_[0];
    notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    setHandler(onTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
    if (fds_[0] < 0)
        return;
    setHandler(SIG_DFL);
    handlerFd = -1;
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void TerminationSignals::readPending() {
    char codes[16];
    ssize_t count = 0;
    while ((count = ::read(fds_[1], codes, sizeof codes)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            Q_EMIT Received(static_cast<unsigned char>(codes[i]));
}

} // namespace tavorin
