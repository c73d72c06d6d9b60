#include "SignalPipe.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is written by the handlers, [1] read on the event loop.
std::array<int, 2> signalSockets{-1, -1};

void writeSignal(int number)
{
    const int savedErrno = errno;
    const auto byte = static_cast<char>(number);
    // Nothing to do when it fails: the pipe is full of signals not yet read.
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalPipe::SignalPipe(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets.data()) != 0) {
        return;
    }
    // A handler must never wait: with the pair full of signals not yet read, a write fails at once.
    const int flags = ::fcntl(signalSockets[0], F_GETFL);
    if (flags < 0 || ::fcntl(signalSockets[0], F_SETFL, flags | O_NONBLOCK) != 0) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) {
        if (::sigaction(number, &action, nullptr) != 0) {
            return;
        }
    }
    m_notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalPipe::readSignals);
}

SignalPipe::~SignalPipe()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) {
        ::sigaction(number, &action, nullptr);
    }
    for (int& socket : signalSockets) {
        if (socket >= 0) {
            ::close(socket);
            socket = -1;
        }
    }
}

void SignalPipe::readSignals()
{
    char byte = 0;
    if (::read(signalSockets[1], &byte, 1) != 1) {
        return;
    }
    if (byte == SIGHUP) {
        emit reloadRequested();
    } else if (byte == SIGUSR1) {
        emit networkChangeReported();
    } else {
        emit stopRequested(byte == SIGTERM ? QStringLiteral("SIGTERM") : QStringLiteral("SIGINT"));
    }
}
