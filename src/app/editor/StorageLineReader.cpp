#include "editor/StorageLineReader.h"

#include "document/TextStorageCodec.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextDocument>

namespace plumeo {

void StorageLineReader::keepWholeText(const QTextDocument &storage)
{
    m_wholeText = storage.toRawText();
    m_keepsWholeText = true;
}

void StorageLineReader::forget()
{
    m_wholeText = QString();
    m_keepsWholeText = false;
}

QStringView StorageLineReader::line(const QTextBlock &block, qint64 position)
{
    const qint64 length = block.length() - 1;
    if (m_keepsWholeText && position >= 0 && position + length <= m_wholeText.size())
        return realCharacters(QStringView(m_wholeText).sliced(position, length), m_line);
    m_line = block.text();
    return realCharacters(m_line, m_line);
}

// units, or copy holding units with every substitute mapped back (copy may be units' own string).
QStringView StorageLineReader::realCharacters(QStringView units, QString &copy) const
{
    if (!m_codec)
        return units;
    char16_t lowest =
        0x2029; // a paragraph separator never occurs inside a line, but bounds the scan
    for (char16_t substitute : m_codec->substitutes())
        lowest = std::min(lowest, substitute);
    const char16_t *begin = units.utf16();
    const char16_t *end = begin + units.size();
    const char16_t *special =
        std::find_if(begin, end, [lowest](char16_t u) { return u >= lowest; });
    if (special == end)
        return units;

    const qsizetype offset = special - begin;
    if (copy.constData() != units.data()) {
        copy.resize(units.size());
        std::copy(begin, end, reinterpret_cast<char16_t *>(copy.data()));
    }
    char16_t *out = reinterpret_cast<char16_t *>(copy.data());
    for (qsizetype i = offset; i < copy.size(); ++i)
        if (out[i] >= lowest)
            out[i] = m_codec->realCharacter(out[i]);
    return copy;
}

} // namespace plumeo
