#pragma once

#include "io/OpenedFile.h"

#include <atomic>
#include <thread>

#include <QByteArray>
#include <QObject>

namespace plumeo {

// Reads a FIFO or a pipe to its end on a worker thread, so that a stream without a writer, or one
// that never ends, never blocks the event loop. It waits for a first writer (a FIFO nobody has
// opened yet), stops at the end of the data, at the size limit, or when cancelled, and always
// hands over what it read. Signals arrive on the thread that owns the reader.
class StreamReader : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { complete, cancelled, limitReached, failed };

    StreamReader(OpenedFile file, qint64 limit, QObject *parent = nullptr);
    // Cancels and waits for the worker: the descriptor is closed when this returns.
    ~StreamReader() override;

    void start();
    // Stops reading as soon as possible; finished() follows with what was read.
    void cancel();
    // Bytes read so far; safe to ask from any thread.
    qint64 bytesRead() const { return m_bytesRead.load(std::memory_order_relaxed); }

Q_SIGNALS:
    void finished(const QByteArray &bytes, plumeo::StreamReader::Outcome outcome, int systemError);

private:
    void run();

    OpenedFile m_file;
    qint64 m_limit;
    int m_wake[2] = {-1, -1}; // a pipe that cancel() writes to, to end the worker's poll
    std::atomic<qint64> m_bytesRead{0};
    std::thread m_worker;
};

} // namespace plumeo
