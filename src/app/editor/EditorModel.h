#pragma once

#include "text/CaretStatus.h"

#include <optional>

#include <QObject>
#include <QString>

namespace plumeo {

// What the status bar of one editor shows, kept up to date by its editor view controller: the
// caret's place and the selection (at once), the counts (shortly after typing stops) and the
// document's language, encoding, line ending and indentation. Lines and columns are 1-based,
// columns and character counts in UTF-16 units. changed() follows every change of any value, and
// only a real change.
class EditorModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    qint64 line() const { return m_caret.line; }
    qint64 column() const { return m_caret.column; }
    qint64 selectedCharacters() const { return m_caret.selectedCharacters; }
    qint64 selectedLines() const { return m_caret.selectedLines; }
    const CaretStatus &caret() const { return m_caret; }
    qint64 lines() const { return m_lines; }
    // Absent when the text is too long to count its words.
    std::optional<qint64> words() const { return m_words; }
    // The display name of the document's language, or "RTF" for rich text.
    const QString &languageName() const { return m_languageName; }
    // The encoding's display name, with " · BOM" when the file has a byte order mark.
    const QString &encodingName() const { return m_encodingName; }
    // "LF", "CRLF" or "CR".
    const QString &lineEndingName() const { return m_lineEndingName; }
    const QString &indentLabel() const { return m_indentLabel; }
    // False only when the language has a lexer but the text is not being coloured.
    bool highlighted() const { return m_highlighted; }
    bool isRichText() const { return m_isRichText; }
    // How much of a large file is in, 0 to 100, while it loads.
    std::optional<int> loadPercent() const { return m_loadPercent; }

    void setCaret(const CaretStatus &caret) { assign(m_caret, caret); }
    void setLines(qint64 lines) { assign(m_lines, lines); }
    void setWords(std::optional<qint64> words) { assign(m_words, words); }
    void setLanguageName(const QString &name) { assign(m_languageName, name); }
    void setEncodingName(const QString &name) { assign(m_encodingName, name); }
    void setLineEndingName(const QString &name) { assign(m_lineEndingName, name); }
    void setIndentLabel(const QString &label) { assign(m_indentLabel, label); }
    void setHighlighted(bool highlighted) { assign(m_highlighted, highlighted); }
    void setRichText(bool richText) { assign(m_isRichText, richText); }
    void setLoadPercent(std::optional<int> percent) { assign(m_loadPercent, percent); }

Q_SIGNALS:
    void changed();

private:
    template <typename T> void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Q_EMIT changed();
    }

    CaretStatus m_caret;
    qint64 m_lines = 1;
    std::optional<qint64> m_words = 0;
    QString m_languageName;
    QString m_encodingName = QStringLiteral("UTF-8");
    QString m_lineEndingName = QStringLiteral("LF");
    QString m_indentLabel;
    bool m_highlighted = true;
    bool m_isRichText = false;
    std::optional<int> m_loadPercent;
};

} // namespace plumeo
