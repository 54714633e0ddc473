#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

namespace plumeo {

// Turns Unix signals into a Qt signal delivered by the event loop, where it is safe to show a
// prompt or save: the handler itself only writes the signal's number to a pipe (async-signal-safe)
// and a notifier on the pipe's other end reads it. While an instance exists, the signals it
// watches no longer end the process by themselves; they are restored to their default action when
// it is destroyed. One instance at a time per process.
class SignalHandler : public QObject
{
    Q_OBJECT
public:
    explicit SignalHandler(const QList<int> &watched, QObject *parent = nullptr);
    ~SignalHandler() override;

    // False when the pipe or a handler could not be set up (the signals keep their action).
    bool isActive() const { return m_notifier != nullptr; }

Q_SIGNALS:
    // Emitted from the event loop for each signal received since the loop last came round; a
    // signal received several times in that while is reported once.
    void received(int signalNumber);

private:
    void drain();

    QList<int> m_signals;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace plumeo
