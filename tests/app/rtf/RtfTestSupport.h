#pragma once

#include "rtf/RtfReader.h"

#include <QByteArray>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace plumeo::rtftest {

// The document's text with paragraph breaks as LF and everything else as stored.
inline QString text(const QTextDocument &document)
{
    QString raw = document.toRawText();
    raw.replace(QChar(0x2029), u'\n');
    return raw;
}

// Reads RTF that must be accepted; a refusal leaves the document empty.
inline QString readText(QTextDocument &document, const QByteArray &rtf)
{
    if (!RtfReader::read(rtf, document).hasValue())
        return QStringLiteral("<refused>");
    return text(document);
}

// The character format of the character at position (0-based, paragraph breaks counting one).
inline QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// The character format of the first occurrence of needle.
inline QTextCharFormat formatOf(const QTextDocument &document, const QString &needle)
{
    const int at = int(text(document).indexOf(needle));
    return at < 0 ? QTextCharFormat() : formatAt(document, at);
}

inline QTextBlockFormat blockOf(const QTextDocument &document, const QString &needle)
{
    const int at = int(text(document).indexOf(needle));
    return at < 0 ? QTextBlockFormat() : document.findBlock(at).blockFormat();
}

} // namespace plumeo::rtftest
