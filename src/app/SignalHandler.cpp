#include "SignalHandler.h"

#include <cerrno>

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace plumeo {

namespace {

// The pipe's ends, read by the handler: a plain int is all a signal handler may touch.
volatile sig_atomic_t readEnd = -1;
volatile sig_atomic_t writeEnd = -1;

extern "C" void writeSignalNumber(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // The pipe does not block: when it is full, the signals already in it will be handled.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalHandler::SignalHandler(const QList<int> &watched, QObject *parent)
    : QObject(parent)
{
    if (readEnd >= 0)
        return;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readEnd = ends[0];
    writeEnd = ends[1];
    struct sigaction action = {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : watched)
        if (::sigaction(signalNumber, &action, nullptr) == 0)
            m_signals.append(signalNumber);
    m_notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalHandler::drain);
}

SignalHandler::~SignalHandler()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : m_signals)
        ::sigaction(signalNumber, &action, nullptr);
    delete m_notifier;
    ::close(readEnd);
    ::close(writeEnd);
    readEnd = -1;
    writeEnd = -1;
}

void SignalHandler::drain()
{
    // The same signal sent several times before the loop came round is one request: a second
    // `kill` while the first is being handled must not ask the user twice.
    QList<int> pending;
    unsigned char numbers[64];
    ssize_t count;
    while ((count = ::read(readEnd, numbers, sizeof numbers)) > 0)
        for (ssize_t at = 0; at < count; ++at)
            if (!pending.contains(numbers[at]))
                pending.append(numbers[at]);
    for (const int signalNumber : pending)
        Q_EMIT received(signalNumber);
}

} // namespace plumeo
