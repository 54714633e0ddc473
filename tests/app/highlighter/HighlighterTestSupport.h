#pragma once

#include "editor/SyntaxHighlighter.h"
#include "syntax/Lexer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QFont>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace plumeo::test {

// Forwards to another lexer and counts the lines it was asked to lex, keeping the length of the
// longest.
class CountingLexer final : public Lexer
{
public:
    explicit CountingLexer(const Lexer &inner)
        : m_inner(inner)
    {}
    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override
    {
        ++calls;
        longest = std::max(longest, qint64(line.size()));
        m_inner.tokenize(line, state, tokens);
    }
    bool usesFonts() const override { return m_inner.usesFonts(); }

    mutable int calls = 0;
    mutable qint64 longest = 0;

private:
    const Lexer &m_inner;
};

// The C and Markdown lexers of the registry.
const Lexer &cLexer();
const Lexer &markdownLexer();

// A text storage as the editor has one: plain-text layout, undo on.
std::unique_ptr<QTextDocument> makeStorage(const QString &text);
QFont testFont();

// A storage holding text, highlighted through a CountingLexer over inner. Tests take its parts
// apart: auto &[lexer, storage, highlighter] = highlighted.
struct Highlighted
{
    explicit Highlighted(const QString &text, const Lexer &inner = cLexer())
        : lexer(inner)
        , storage(makeStorage(text))
        , highlighter(storage.get(), testFont())
    {
        highlighter.setLexer(&lexer);
    }
    QTextBlock line(int number) const { return storage->findBlockByNumber(number); }

    CountingLexer lexer;
    std::unique_ptr<QTextDocument> storage;
    SyntaxHighlighter highlighter;
};

// Deterministic C code of lineCount lines, with line comments, strings, numbers and keywords but no
// "*/", so that a "/*" opened anywhere stays open to the end. The last line is not empty.
QString cSource(int lineCount, unsigned seed = 1);

// The storage's text with its paragraph separators as LF.
QString plainText(const QTextDocument &storage);
// What applies at offset of block: its formats merged in list order (later ranges win).
QTextCharFormat formatAt(const QTextBlock &block, int offset);
// Every line's end state, lexed from scratch.
std::vector<LexState> endStatesFromScratch(const QString &text, const Lexer &lexer);

// Runs the passes the event loop would run, until no line is dirty.
void finishPasses(SyntaxHighlighter &highlighter);

// Counts the warnings the highlighter logs (a notification it could not fit, an index out of step)
// while it exists.
class HighlighterWarnings
{
public:
    HighlighterWarnings();
    ~HighlighterWarnings();
    int count() const;
};

// Edits of the storage as a user's would be, at UTF-16 offsets.
inline void insertAt(QTextDocument &storage, qint64 position, const QString &text)
{
    QTextCursor cursor(&storage);
    cursor.setPosition(int(position));
    cursor.insertText(text);
}

inline void removeRange(QTextDocument &storage, qint64 position, qint64 length)
{
    QTextCursor cursor(&storage);
    cursor.setPosition(int(position));
    cursor.setPosition(int(position + length), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

} // namespace plumeo::test
