#pragma once

#include <QString>

class QTextBlock;
class QTextDocument;

namespace plumeo {

class TextStorageCodec;

// Hands the highlighter each line of the text storage as the lexers must see it: the real
// characters, with the substitutes the storage keeps for CR, U+FDD0 and U+FDD1 turned back (see
// TextStorageCodec). Lines are copied only when they hold a unit that could be a substitute.
//
// Reading a block's text costs a tree search and an allocation per line; a highlighting run over
// most of a large text instead copies the whole text once and reads lines out of it, until
// forget().
class StorageLineReader
{
public:
    // The storage's codec, or nullptr for a storage that holds its real characters.
    void setCodec(const TextStorageCodec *codec) { m_codec = codec; }

    // Keeps a copy of the whole text of storage; the copy must be dropped (forget) as soon as the
    // characters change.
    void keepWholeText(const QTextDocument &storage);
    void forget();
    bool keepsWholeText() const { return m_keepsWholeText; }

    // The units of block, whose text starts at offset position, without its paragraph separator.
    // Valid until the next call.
    QStringView line(const QTextBlock &block, qint64 position);

private:
    QStringView realCharacters(QStringView units, QString &copy) const;

    const TextStorageCodec *m_codec = nullptr;
    bool m_keepsWholeText = false;
    QString m_wholeText;
    QString m_line;
};

} // namespace plumeo
