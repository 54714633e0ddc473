#include "document/DocumentLoad.h"

#include "document/TextDocument.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>

namespace plumeo {

DocumentLoad::DocumentLoad(QTextDocument *storage, QString storageText, QObject *parent)
    : QObject(parent)
    , m_storage(storage)
    , m_text(std::move(storageText))
    , m_totalLines(1 + std::count(m_text.cbegin(), m_text.cend(), u'\n'))
{
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, [this] { insertSlices(sliceBudgetMs); });
}

void DocumentLoad::start()
{
    QTextCursor cursor(m_storage);
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    // The first slice is what the window shows first: small enough to appear at once.
    insertUpTo(sliceEnd(m_sliceUnits));
    if (isDone()) {
        m_text = QString();
        Q_EMIT finished();
        return;
    }
    m_next.start();
}

void DocumentLoad::finish()
{
    m_next.stop();
    if (isDone())
        return;
    insertUpTo(m_text.size());
    m_text = QString();
    Q_EMIT finished();
}

void DocumentLoad::insertSlices(qint64 budgetMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!isDone()) {
        QElapsedTimer slice;
        slice.start();
        const qsizetype from = m_position;
        insertUpTo(sliceEnd(m_sliceUnits));
        // Aim each slice at a quarter of the budget, from what the last one cost per unit.
        const qint64 nanoseconds = std::max<qint64>(slice.nsecsElapsed(), 1);
        const double perUnit = double(nanoseconds) / double(m_position - from);
        m_sliceUnits = std::clamp<qsizetype>(qsizetype(double(budgetMs) * 1e6 / 4 / perUnit),
                                             4 * 1024, 4 * 1024 * 1024);
        if (elapsed.elapsed() + (m_sliceUnits * perUnit) / 1e6 > double(budgetMs))
            break;
    }
    Q_EMIT progress();
    if (isDone()) {
        m_text = QString();
        Q_EMIT finished();
        return;
    }
    m_next.start();
}

qsizetype DocumentLoad::sliceEnd(qsizetype units) const
{
    const qsizetype target = std::min(m_position + units, m_text.size());
    if (target == m_text.size())
        return target;
    // Back to the last line break in the slice; if there is none, on to the end of the line.
    const qsizetype lastBreak = m_text.lastIndexOf(u'\n', target - 1);
    if (lastBreak >= m_position)
        return lastBreak + 1;
    const qsizetype nextBreak = m_text.indexOf(u'\n', target);
    return nextBreak < 0 ? m_text.size() : nextBreak + 1;
}

void DocumentLoad::insertUpTo(qsizetype end)
{
    if (end <= m_position)
        return;
    // Filling the storage is not an edit: nothing of it may be undone (an undo would take away part
    // of the file), and the undo history would double the memory the text takes.
    if (m_storage->isUndoRedoEnabled())
        m_storage->setUndoRedoEnabled(false);
    QTextCursor cursor(m_storage);
    cursor.movePosition(QTextCursor::End);
    // Qt copies what it inserts: the slice is lent, not copied first.
    cursor.insertText(QString::fromRawData(m_text.constData() + m_position, end - m_position),
                      TextDocument::plainAttributes());
    m_position = end;
}

} // namespace plumeo
