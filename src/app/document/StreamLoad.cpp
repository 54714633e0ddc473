#include "document/StreamLoad.h"

#include <QTimer>

namespace plumeo {

StreamLoad::StreamLoad(OpenedFile file, qint64 limit, QString sourceName, QObject *parent)
    : QObject(parent)
    , m_reader(std::move(file), limit)
    , m_limit(limit)
    , m_sourceName(std::move(sourceName))
    , m_beat(new QTimer(this))
{
    m_beat->setInterval(200);
    connect(m_beat, &QTimer::timeout, this, [this] {
        const qint64 read = m_reader.bytesRead();
        if (read != m_lastReported) {
            m_lastReported = read;
            Q_EMIT progress(read);
        }
    });
    connect(&m_reader, &StreamReader::finished, this,
            [this](const QByteArray &bytes, StreamReader::Outcome outcome, int error) {
                m_beat->stop();
                Q_EMIT finished(bytes, outcome, error);
            });
}

void StreamLoad::start()
{
    m_reader.start();
    m_beat->start();
}

void StreamLoad::cancel()
{
    m_reader.cancel();
}

} // namespace plumeo
