#pragma once

#include "io/StreamReader.h"

#include <QObject>
#include <QString>

class QTimer;

namespace plumeo {

// A FIFO or a pipe being read into an untitled document: the reader on its worker thread, and a
// progress beat for the editor's notice. Owned by the document it fills, so that closing the
// document cancels the reading.
class StreamLoad : public QObject
{
    Q_OBJECT
public:
    // sourceName: what the user gave (the FIFO's or the pipe's path), shown in the notice.
    StreamLoad(OpenedFile file, qint64 limit, QString sourceName, QObject *parent = nullptr);

    void start();
    void cancel();
    const QString &sourceName() const { return m_sourceName; }
    qint64 bytesRead() const { return m_reader.bytesRead(); }
    qint64 limit() const { return m_limit; }

Q_SIGNALS:
    // About five times a second while data arrives.
    void progress(qint64 bytesRead);
    void finished(const QByteArray &bytes, plumeo::StreamReader::Outcome outcome, int systemError);

private:
    StreamReader m_reader;
    qint64 m_limit;
    QString m_sourceName;
    QTimer *m_beat;
    qint64 m_lastReported = -1;
};

} // namespace plumeo
