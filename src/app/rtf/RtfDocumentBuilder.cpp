#include "rtf/RtfDocumentBuilder.h"

#include <QTextDocument>

namespace plumeo {

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument &document)
    : m_document(document)
    , m_undoWasEnabled(document.isUndoRedoEnabled())
{
    m_document.setUndoRedoEnabled(false);
    m_document.clear();
    m_cursor = QTextCursor(&m_document);
    // Inside an edit block the cursor does not lay out each paragraph to find its x position after
    // every insertion, which otherwise costs more than all the reading.
    m_cursor.beginEditBlock();
}

RtfDocumentBuilder::~RtfDocumentBuilder()
{
    m_cursor.endEditBlock();
    m_document.setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentBuilder::appendText(QStringView text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    if (!m_run.isEmpty() && format != m_runFormat)
        flushRun();
    if (m_run.isEmpty())
        m_runFormat = format;
    m_run.append(text);
}

void RtfDocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, m_runFormat);
    m_run.clear();
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    finish(block, mark);
    m_cursor.insertBlock(block, mark);
}

void RtfDocumentBuilder::finish(const QTextBlockFormat &block, const QTextCharFormat &mark)
{
    flushRun();
    m_cursor.setBlockFormat(block);
    m_cursor.setBlockCharFormat(mark);
}

} // namespace plumeo
