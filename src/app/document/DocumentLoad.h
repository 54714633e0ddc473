#pragma once

#include <algorithm>

#include <QObject>
#include <QString>
#include <QTimer>

class QTextDocument;

namespace plumeo {

// A large text put into its storage a slice at a time from the event loop, so that the window shows
// the beginning of the file at once and stays responsive while the rest goes in: each slice takes
// about sliceBudgetMs, whole lines at a time, appended after what is already in. Owned by the
// document it fills; deleting it stops the loading where it stands.
//
// The document holds the text being loaded until the last slice is in, then lets it go. A single
// line is never split across slices: appending to a block lays out the whole block again, which
// would make a file of one long line quadratic to load.
class DocumentLoad : public QObject
{
    Q_OBJECT
public:
    // Texts shorter than this (UTF-16 units of storage) go in at once: their whole load is shorter
    // than a frame or two.
    static constexpr qsizetype sliceThreshold = 1'000'000;
    static constexpr qint64 sliceBudgetMs = 8;

    // storageText: the whole text in storage form. Nothing is inserted before start().
    DocumentLoad(QTextDocument *storage, QString storageText, QObject *parent = nullptr);

    // Replaces the storage's content with the first slice, then goes on from the event loop.
    void start();
    // Inserts everything left now (a save or another step that needs the whole text waits for it).
    void finish();

    qsizetype loadedUnits() const { return m_position; }
    // The lines the document will have once loaded.
    qint64 totalLines() const { return m_totalLines; }
    qsizetype totalUnits() const { return m_text.size(); }
    bool isDone() const { return m_position >= m_text.size(); }
    int percent() const { return int(100 * m_position / std::max<qsizetype>(m_text.size(), 1)); }

Q_SIGNALS:
    // After each slice.
    void progress();
    // The last slice is in.
    void finished();

private:
    void insertSlices(qint64 budgetMs);
    // The end of the next slice of about units units from the current position: after a line
    // break, or the end of the line when the line is longer than that.
    qsizetype sliceEnd(qsizetype units) const;
    void insertUpTo(qsizetype end);

    QTextDocument *m_storage;
    QString m_text;
    qsizetype m_position = 0;
    qint64 m_totalLines = 1;
    // Adjusted to the time slices actually take, so that each stays within the budget.
    qsizetype m_sliceUnits = 64 * 1024;
    QTimer m_next;
};

} // namespace plumeo
