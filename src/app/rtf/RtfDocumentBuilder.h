#pragma once

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

namespace plumeo {

// Fills a QTextDocument with paragraphs and runs of formatted text, in reading order. Text is
// gathered into runs and inserted once per format change, without undo records; the document's
// undo setting is restored (and its history cleared) when the builder goes.
//
// A paragraph's format is only known at its end (RTF gives paragraph properties anywhere before
// \par), so it is applied when the paragraph closes. Text must not hold characters Qt would turn
// into paragraph breaks (CR, LF, U+2029, U+FDD0, U+FDD1): those go through endParagraph.
class RtfDocumentBuilder
{
public:
    // Empties the document.
    explicit RtfDocumentBuilder(QTextDocument &document);
    ~RtfDocumentBuilder();
    RtfDocumentBuilder(const RtfDocumentBuilder &) = delete;
    RtfDocumentBuilder &operator=(const RtfDocumentBuilder &) = delete;

    void appendText(QStringView text, const QTextCharFormat &format);
    // Closes the current paragraph with its format and the format of its paragraph mark (which an
    // empty paragraph shows and new text typed into it takes), and opens the next.
    void endParagraph(const QTextBlockFormat &block, const QTextCharFormat &mark);
    // Gives the last paragraph its formats; call once, at the end.
    void finish(const QTextBlockFormat &block, const QTextCharFormat &mark);

private:
    void flushRun();

    QTextDocument &m_document;
    QTextCursor m_cursor;
    QString m_run;
    QTextCharFormat m_runFormat;
    bool m_undoWasEnabled;
};

} // namespace plumeo
