#pragma once

#include "document/LongRuns.h"
#include "editor/HighlightIndex.h"
#include "editor/StorageLineReader.h"
#include "editor/TokenFormats.h"
#include "syntax/Lexer.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextLayout>

class QTextBlock;
class QTextDocument;

namespace plumeo {

class TextStorageCodec;

// Colours one editor's text incrementally. Colours, fonts and decorations are additional formats on
// each text block's layout, the way QSyntaxHighlighter applies them: they never change a character,
// never make an undo step and never set the modified flag.
//
// The highlighter keeps its own line index (HighlightIndex) and, per line, the lexer state at the
// end of the line. An edit patches the index and marks the lines it touched dirty; re-lexing runs
// later, from the event loop, at most one pass queued and at most batchLines lines per pass, from
// the first dirty line until a line at or past the last dirty one ends in the state it ended in
// before (nothing after it can change). Texts longer than limit UTF-16 units are not highlighted.
//
// A line longer than longLineLimit units is not coloured either, nor read, nor lexed: laying out
// and re-lexing such a line at every keystroke would cost far more than its colours are worth. The
// lexer state passes through it unchanged, as if the line were not there: the lines after it are
// coloured as they would be without it, and an edit inside it changes nothing after it, so that a
// keystroke there lexes no line at all. (Ending it in the initial state instead would be as
// cheap, but would break a comment or a fenced block that spans the long line.)
//
// Lines are the storage's blocks; offsets are UTF-16 units of the storage, whose paragraph
// separators count one unit each like the line feeds they stand for. Main thread only.
class SyntaxHighlighter : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 limit = 4'000'000;
    static constexpr qint64 batchLines = 4000;
    static constexpr qint64 longLineLimit = LongRuns::longLineThreshold;

    // Registers for the storage's edits and indexes its lines; colours nothing until
    // highlightAll().
    SyntaxHighlighter(QTextDocument *storage, const QFont &baseFont, QObject *parent = nullptr);
    ~SyntaxHighlighter() override;

    // The substitutes the storage holds for characters Qt would turn into paragraph breaks; the
    // lexers get the real characters. Null (the default) for a storage holding its real characters.
    // The codec is read at every line, so it may change its substitutes (a document read again) but
    // must outlive the highlighter; lines already coloured are not lexed again for it.
    void setStorageCodec(const TextStorageCodec *codec);

    // Rebuilds the index, marks every line dirty and runs the first pass at once; later passes
    // follow from the event loop. Without a lexer, or above the limit, removes all highlighting
    // instead. Does nothing while inactive.
    void highlightAll();
    // One re-lex pass, at once. Running it while dirtyFirst() has a value finishes the
    // highlighting.
    void relexDirtyLines();

    qint64 line(qint64 offset) const { return m_index.line(offset); }
    qint64 lineCount() const { return m_index.lineCount(); }
    const std::vector<qint64> &lineStarts() const { return m_index.lineStarts(); }
    const std::vector<LexState> &endStates() const { return m_index.endStates(); }
    // The state lexer is in at the start of line, when this highlighter lexes with it and has lexed
    // the lines before since they last changed: the initial state for line 0. Nothing while
    // inactive, above the length limit, or for a line not yet lexed.
    std::optional<LexState> stateAtLineStart(const Lexer &lexer, qint64 line) const;
    // The first line waiting to be re-lexed, and the last that must be re-lexed even if its end
    // state comes out unchanged (0 when nothing is dirty).
    std::optional<qint64> dirtyFirst() const { return m_dirtyFirst; }
    qint64 dirtyLast() const { return m_dirtyLast; }
    bool isRelexScheduled() const { return m_relexScheduled; }

    // The lexer of the document's language (lexers live as long as the process); null for none.
    // Removes every Markdown font and decoration when the old or the new lexer uses fonts, then
    // re-highlights.
    void setLexer(const Lexer *lexer);
    const Lexer *lexer() const { return m_lexer; }

    // The editor font; Markdown fonts derive from it, so a lexer that uses fonts re-highlights.
    void setBaseFont(const QFont &font);
    const QFont &baseFont() const { return m_formats->fonts().base; }
    const MarkupFonts &fonts() const { return m_formats->fonts(); }
    const TokenFormats &formats() const { return *m_formats; }

    // Whether Markdown markup is hidden on every line but the caret's. The editor re-highlights
    // after changing it.
    void setHidesMarkup(bool hides) { m_hidesMarkup = hides; }
    bool hidesMarkup() const { return m_hidesMarkup; }

    // The caret's line. While markup is hidden, moving to another line restyles the line left and
    // the line reached, and no other.
    void setCaretLine(qint64 line);
    qint64 caretLine() const { return m_caretLine; }

    // Off while the document is rich text: edits are still indexed, nothing is coloured, and the
    // colours already laid over the text are removed (rich text shows its own). The editor calls
    // highlightAll() after turning it back on.
    void setActive(bool active);
    bool isActive() const { return m_active; }

    // The length above which nothing is highlighted: limit, except in measurements of the
    // highlighting itself on texts larger than that.
    void setLengthLimit(qint64 length);
    qint64 lengthLimit() const { return m_lengthLimit; }

    // Whether the text would be coloured (a lexer, active, within the length limit) but some of
    // its lines are longer than longLineLimit and so are left without colours.
    bool hasUncolouredLongLines() const;

Q_SIGNALS:
    // hasUncolouredLongLines() changed, after an edit, a pass or a change of lexer, activity or
    // length limit.
    void uncolouredLongLinesChanged();

private:
    void contentsChange(int position, int charsRemoved, int charsAdded);
    bool charactersChanged(qint64 position, qint64 newEnd, qint64 delta);
    void rebuildIndex();
    bool indexMatchesStorage() const;
    bool isSettled() const;
    bool canHighlight() const;
    void markDirty(qint64 first, qint64 last);
    void clearDirty();
    void scheduleRelex();
    void restyleLine(qint64 line);
    // Gives the line in block its formats; false when they were already those.
    bool formatLine(const QTextBlock &block, qint64 line, QStringView units);
    void removeAllFormats();
    void announceFormats(qint64 from, qint64 to);
    qint64 storageLength() const;
    static bool isLongLine(const QTextBlock &block);
    // How many of the index's lines first to last (inclusive) are long, by the index's starts and
    // m_length.
    qint64 longLinesIn(qint64 first, qint64 last) const;
    void updateLongLinesAnswer();

    QPointer<QTextDocument> m_storage;
    std::unique_ptr<TokenFormats> m_formats;
    const Lexer *m_lexer = nullptr;
    HighlightIndex m_index;
    StorageLineReader m_reader;
    std::optional<qint64> m_dirtyFirst;
    qint64 m_dirtyLast = 0;
    bool m_relexScheduled = false;
    bool m_hidesMarkup = false;
    qint64 m_caretLine = 0;
    bool m_active = true;
    qint64 m_lengthLimit = limit;

    // What the index was last brought in step with: the storage's length, revision and redo steps.
    qint64 m_length = 0;
    int m_revision = 0;
    int m_redoSteps = 0;
    // The lines longer than longLineLimit, and the answer of hasUncolouredLongLines() last
    // announced.
    qint64 m_longLines = 0;
    bool m_longLinesAnswer = false;
    // Some block carries formats of ours.
    bool m_formatted = false;
    // Passes were dropped above the limit, so stored states and colours cannot be trusted.
    bool m_stale = false;
    // Set while formats are applied, whose own notifications are not edits.
    bool m_applyingFormats = false;
    // Formats set while a change was pending, not yet announced to the layout.
    std::optional<std::pair<qint64, qint64>> m_unannounced;
    bool m_announceScheduled = false;

    // Reused from line to line, so that lexing allocates nothing per token.
    std::vector<Token> m_tokens;
    QList<QTextLayout::FormatRange> m_ranges;
};

} // namespace plumeo
