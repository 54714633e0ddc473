#include "editor/SyntaxHighlighter.h"

#include "base/LogCategories.h"
#include "editor/MarkupStyler.h"

#include <algorithm>

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>

namespace plumeo {

SyntaxHighlighter::SyntaxHighlighter(QTextDocument *storage, const QFont &baseFont, QObject *parent)
    : QObject(parent)
    , m_storage(storage)
    , m_formats(std::make_unique<TokenFormats>(MarkupFonts(baseFont)))
{
    Q_ASSERT(storage);
    m_formats->shareWith(storage->firstBlock());
    rebuildIndex();
    m_revision = storage->revision();
    connect(storage, &QTextDocument::contentsChange, this, &SyntaxHighlighter::contentsChange);
}

SyntaxHighlighter::~SyntaxHighlighter() = default;

void SyntaxHighlighter::setStorageCodec(const TextStorageCodec *codec)
{
    m_reader.setCodec(codec);
}

qint64 SyntaxHighlighter::storageLength() const
{
    return m_storage->characterCount() - 1; // the storage always ends in a paragraph separator
}

bool SyntaxHighlighter::canHighlight() const
{
    return m_active && m_lexer && m_storage && storageLength() <= m_lengthLimit;
}

// No change of the storage is on its way to us. Formatting while one is would be unsafe:
// markContentsDirty() inside an open edit block swallows the block's pending notification.
bool SyntaxHighlighter::isSettled() const
{
    return m_storage->revision() == m_revision && storageLength() == m_length;
}

bool SyntaxHighlighter::indexMatchesStorage() const
{
    return storageLength() == m_length && m_storage->blockCount() == m_index.lineCount();
}

std::optional<LexState> SyntaxHighlighter::stateAtLineStart(const Lexer &lexer, qint64 line) const
{
    if (&lexer != m_lexer || m_stale || !canHighlight() || !indexMatchesStorage() || line < 0
        || line >= m_index.lineCount())
        return std::nullopt;
    if (line == 0)
        return LexState::initial();
    if (m_dirtyFirst && line - 1 >= *m_dirtyFirst)
        return std::nullopt;
    return m_index.endState(line - 1);
}

void SyntaxHighlighter::rebuildIndex()
{
    std::vector<qint64> starts;
    starts.reserve(size_t(m_storage->blockCount()));
    qint64 position = 0;
    qint64 longLines = 0;
    for (QTextBlock block = m_storage->begin(); block.isValid(); block = block.next()) {
        starts.push_back(position);
        position += block.length();
        if (isLongLine(block))
            ++longLines;
    }
    m_longLines = longLines;
    if (starts == m_index.lineStarts())
        m_index.resetEndStates(); // the same lines: what may carry formats is still known
    else
        m_index.reset(std::move(starts), m_formatted);
    // The revision stays: while an edit block is open the index may be ahead of the notifications,
    // and formatting must wait for them.
    m_length = storageLength();
    m_redoSteps = m_storage->availableRedoSteps();
}

void SyntaxHighlighter::contentsChange(int position, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved); // may count the whole document; the change in length is exact
    if (m_applyingFormats || !m_storage)
        return;
    const qint64 newLength = storageLength();
    const qint64 delta = newLength - m_length;
    const qint64 newEnd = std::min<qint64>(qint64(position) + charsAdded, newLength);
    const qint64 oldEnd = newEnd - delta;
    if (position < 0 || position > newEnd || oldEnd < position || oldEnd > m_length) {
        qCWarning(logHighlighter, "a change (%d, %d, %d) does not fit the indexed text; reindexing",
                  position, charsRemoved, charsAdded);
        m_reader.forget();
        rebuildIndex();
        markDirty(0, m_index.lineCount() - 1);
        scheduleRelex();
        updateLongLinesAnswer();
        return;
    }
    const bool changed = charactersChanged(position, newEnd, delta);
    // The long lines among those the edit replaces, counted while the index still holds them.
    const qint64 longLinesReplaced =
        changed ? longLinesIn(m_index.line(position), m_index.line(oldEnd)) : 0;
    m_length = newLength;
    m_revision = m_storage->revision();
    m_redoSteps = m_storage->availableRedoSteps();
    if (!changed)
        return;
    m_reader.forget();

    // The lines that start inside the new text: one per paragraph separator in it.
    std::vector<qint64> newStarts;
    QTextBlock block = m_storage->findBlock(position);
    qint64 start = block.position();
    for (;;) {
        start += block.length();
        block = block.next();
        if (!block.isValid() || start > newEnd)
            break;
        newStarts.push_back(start);
    }
    const HighlightIndex::Edit edit = m_index.replace(position, oldEnd, delta, newStarts);
    m_longLines +=
        longLinesIn(edit.firstLine, edit.firstLine + edit.addedLines) - longLinesReplaced;

    // A pending dirty line after the edit moved with the lines the edit added or removed.
    if (m_dirtyFirst && m_dirtyLast > edit.firstLine + edit.removedLines)
        m_dirtyLast += edit.addedLines - edit.removedLines;
    markDirty(edit.firstLine, edit.firstLine + edit.addedLines);
    if (m_stale && canHighlight()) {
        // Back under the limit after passes were dropped: nothing stored can be trusted.
        m_stale = false;
        markDirty(0, m_index.lineCount() - 1);
    }
    scheduleRelex();
    updateLongLinesAnswer();
}

qint64 SyntaxHighlighter::longLinesIn(qint64 first, qint64 last) const
{
    qint64 count = 0;
    const qint64 lineCount = m_index.lineCount();
    for (qint64 line = first; line <= last && line < lineCount; ++line) {
        const qint64 end = line + 1 < lineCount ? m_index.lineStart(line + 1) - 1 : m_length;
        if (end - m_index.lineStart(line) > longLineLimit)
            ++count;
    }
    return count;
}

bool SyntaxHighlighter::isLongLine(const QTextBlock &block)
{
    return block.length() - 1 > longLineLimit;
}

bool SyntaxHighlighter::hasUncolouredLongLines() const
{
    return m_longLines > 0 && canHighlight();
}

void SyntaxHighlighter::updateLongLinesAnswer()
{
    const bool answer = m_storage && hasUncolouredLongLines();
    if (answer == m_longLinesAnswer)
        return;
    m_longLinesAnswer = answer;
    Q_EMIT uncolouredLongLinesChanged();
}

// Qt notifies format changes like text changes. Text changes give the blocks they touch the
// document's new revision, except undo and redo, which give back a block's earlier revision but
// move the redo count; a same-length change with neither sign changed formats only.
bool SyntaxHighlighter::charactersChanged(qint64 position, qint64 newEnd, qint64 delta)
{
    if (delta != 0)
        return true;
    if (newEnd == position)
        return false;
    if (m_storage->availableRedoSteps() != m_redoSteps)
        return true;
    const int revision = m_storage->revision();
    QTextBlock block = m_storage->findBlock(int(position));
    for (qint64 start = block.position(); block.isValid() && start <= newEnd;
         start += block.length(), block = block.next())
        if (block.revision() == revision)
            return true;
    return false;
}

void SyntaxHighlighter::markDirty(qint64 first, qint64 last)
{
    m_dirtyLast = m_dirtyFirst ? std::max(m_dirtyLast, last) : last;
    m_dirtyFirst = m_dirtyFirst ? std::min(*m_dirtyFirst, first) : first;
}

void SyntaxHighlighter::clearDirty()
{
    m_dirtyFirst.reset();
    m_dirtyLast = 0;
}

void SyntaxHighlighter::scheduleRelex()
{
    if (m_relexScheduled || !m_dirtyFirst || !m_storage)
        return;
    if (!canHighlight()) {
        if (m_active && m_lexer)
            m_stale = true; // above the limit
        if (!m_formatted)
            return;
        // Otherwise a pass must run, to take the colours of the text back.
    }
    m_relexScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_relexScheduled = false;
            // The event loop runs outside every edit block: whatever moved the revision without a
            // notification (an edit block without edits) is over.
            if (m_storage && indexMatchesStorage())
                m_revision = m_storage->revision();
            relexDirtyLines();
        },
        Qt::QueuedConnection);
}

void SyntaxHighlighter::highlightAll()
{
    if (!m_active || !m_storage)
        return;
    const auto answer = qScopeGuard([this] { updateLongLinesAnswer(); });
    const bool settled = isSettled();
    m_reader.forget();
    rebuildIndex();
    m_stale = false;
    markDirty(0, m_index.lineCount() - 1);
    if (!canHighlight()) {
        clearDirty();
        if (m_lexer)
            m_stale = true; // above the limit
        if (m_formatted)
            removeAllFormats();
        return;
    }
    // More than one pass will read nearly every line: one copy of the text is far cheaper than
    // reading line by line.
    if (m_index.lineCount() > batchLines)
        m_reader.keepWholeText(*m_storage);
    if (settled)
        relexDirtyLines();
    else
        scheduleRelex();
}

void SyntaxHighlighter::relexDirtyLines()
{
    if (!m_dirtyFirst || !m_storage)
        return;
    const auto answer = qScopeGuard([this] { updateLongLinesAnswer(); });
    if (!canHighlight()) {
        if (m_active && m_lexer)
            m_stale = true;
        clearDirty();
        m_reader.forget();
        if (m_formatted)
            removeAllFormats();
        return;
    }
    if (!indexMatchesStorage()) {
        qCWarning(logHighlighter, "the line index lost step with the text; reindexing");
        m_reader.forget();
        rebuildIndex();
        markDirty(0, m_index.lineCount() - 1);
    }

    const qint64 lineCount = m_index.lineCount();
    const qint64 first = std::min(*m_dirtyFirst, lineCount - 1);
    const qint64 lastDirty = std::min(m_dirtyLast, lineCount - 1);
    const qint64 stop = first + batchLines;
    clearDirty();

    LexState state = first == 0 ? LexState::initial() : m_index.endState(first - 1);
    QTextBlock block = m_storage->findBlockByNumber(int(first));
    qint64 position = m_index.lineStart(first);
    Q_ASSERT(block.position() == position);
    qint64 changedFrom = -1;
    qint64 changedTo = -1;
    {
        QScopedValueRollback<bool> applying(m_applyingFormats, true);
        for (qint64 line = first;; ++line) {
            const LexState before = m_index.endState(line);
            m_tokens.clear();
            // A long line is neither read nor lexed, and the state passes through it.
            const bool tooLong = isLongLine(block);
            const QStringView units = tooLong ? QStringView() : m_reader.line(block, position);
            if (!tooLong)
                m_lexer->tokenize(LineSlice{units.utf16(), 0, units.size()}, state, m_tokens);
            if (formatLine(block, line, units)) {
                if (changedFrom < 0)
                    changedFrom = position;
                changedTo = position + block.length();
            }
            m_index.setEndState(line, state);

            if (line >= lastDirty && state == before)
                break; // every later line starts, and so ends, as before
            const qint64 next = line + 1;
            if (next >= lineCount)
                break;
            if (next >= stop) {
                markDirty(next, std::max(next, lastDirty));
                scheduleRelex();
                break;
            }
            position += block.length();
            block = block.next();
        }
        if (changedFrom >= 0)
            announceFormats(changedFrom, changedTo);
    }
    if (!m_dirtyFirst)
        m_reader.forget();
}

bool SyntaxHighlighter::formatLine(const QTextBlock &block, qint64 line, QStringView units)
{
    const qint64 length = units.size();
    const bool usesFonts = length > 0 && m_lexer->usesFonts();
    // Code ranges overwrite the previous line's in place: assigning a shared format costs less
    // than destroying one range and building another.
    qsizetype count = 0;
    if (usesFonts)
        m_ranges.clear();
    if (length > 0) {
        const bool hiding = m_hidesMarkup && line != m_caretLine;
        const QTextCharFormat *previous = nullptr;
        for (Token token : m_tokens) {
            // A lexer's tokens lie inside the line; a faulty one must not style beyond it.
            token.range.lower = std::clamp<qint64>(token.range.lower, 0, length);
            token.range.upper = std::clamp<qint64>(token.range.upper, token.range.lower, length);
            if (token.kind == TokenKind::plain || token.range.isEmpty())
                continue;
            if (usesFonts) {
                MarkupStyler::append(m_ranges, token, units, hiding, *m_formats);
                continue;
            }
            const QTextCharFormat &format = m_formats->coloured(token.kind);
            if (&format == previous) {
                QTextLayout::FormatRange &last = m_ranges[count - 1];
                if (last.start + last.length == token.range.lower) {
                    last.length += int(token.range.length());
                    continue;
                }
            }
            if (count < m_ranges.size()) {
                QTextLayout::FormatRange &range = m_ranges[count];
                range.start = int(token.range.lower);
                range.length = int(token.range.length());
                range.format = format;
            } else {
                m_ranges.append({int(token.range.lower), int(token.range.length()), format});
            }
            ++count;
            previous = &format;
        }
    }
    if (!usesFonts)
        m_ranges.resize(count);

    const bool mayHave = m_index.mayHaveFormats(line);
    m_index.setMayHaveFormats(line, !m_ranges.isEmpty());
    if (m_ranges.isEmpty() && !mayHave)
        return false; // no layout is made for a line that never had formats
    QTextLayout *layout = block.layout();
    if (mayHave && layout->formats() == m_ranges)
        return false;
    layout->setFormats(m_ranges);
    m_formatted = m_formatted || !m_ranges.isEmpty();
    return true;
}

void SyntaxHighlighter::removeAllFormats()
{
    // Lines the index does not know for sure are all cleared.
    const bool known = indexMatchesStorage();
    qint64 changedFrom = -1;
    qint64 changedTo = -1;
    QScopedValueRollback<bool> applying(m_applyingFormats, true);
    qint64 line = 0;
    qint64 position = 0;
    for (QTextBlock block = m_storage->begin(); block.isValid();
         position += block.length(), block = block.next(), ++line) {
        if (known && !m_index.mayHaveFormats(line))
            continue;
        QTextLayout *layout = block.layout();
        if (!layout->formats().isEmpty()) {
            layout->setFormats({});
            if (changedFrom < 0)
                changedFrom = position;
            changedTo = position + block.length();
        }
        if (known)
            m_index.setMayHaveFormats(line, false);
    }
    m_formatted = false;
    if (changedFrom >= 0)
        announceFormats(changedFrom, changedTo);
}

// Tells the layout that the formats of [from, to) changed, so that it lays those lines out again
// and repaints them. Not while a change may be pending: then Qt merges the range into the change,
// or, if none comes, the event loop announces it.
void SyntaxHighlighter::announceFormats(qint64 from, qint64 to)
{
    QScopedValueRollback<bool> applying(m_applyingFormats, true);
    if (isSettled()) {
        m_storage->markContentsDirty(int(from), int(to - from));
        return;
    }
    m_unannounced = m_unannounced ? std::pair{std::min(m_unannounced->first, from),
                                              std::max(m_unannounced->second, to)}
                                  : std::pair{from, to};
    if (m_announceScheduled)
        return;
    m_announceScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_announceScheduled = false;
            const auto range = std::exchange(m_unannounced, std::nullopt);
            if (!m_storage || !range)
                return;
            // No edit block stays open across the event loop.
            if (indexMatchesStorage())
                m_revision = m_storage->revision();
            const qint64 length = storageLength() + 1;
            const qint64 from = std::min(range->first, length);
            QScopedValueRollback<bool> applying(m_applyingFormats, true);
            m_storage->markContentsDirty(int(from),
                                         int(std::clamp(range->second, from, length) - from));
        },
        Qt::QueuedConnection);
}

void SyntaxHighlighter::setLexer(const Lexer *lexer)
{
    const Lexer *old = m_lexer;
    m_lexer = lexer;
    // No heading size or code lane may survive a change of language, not even on lines the first
    // pass does not reach.
    if (m_storage && m_formatted && ((old && old->usesFonts()) || (lexer && lexer->usesFonts())))
        removeAllFormats();
    highlightAll();
    updateLongLinesAnswer();
}

void SyntaxHighlighter::setBaseFont(const QFont &font)
{
    if (font != baseFont()) {
        m_formats = std::make_unique<TokenFormats>(MarkupFonts(font));
        if (m_storage)
            m_formats->shareWith(m_storage->firstBlock());
    }
    if (m_lexer && m_lexer->usesFonts())
        highlightAll();
}

void SyntaxHighlighter::setCaretLine(qint64 line)
{
    const qint64 old = m_caretLine;
    m_caretLine = line;
    if (!m_hidesMarkup || !m_lexer || !m_lexer->usesFonts() || old == line)
        return;
    restyleLine(old);
    restyleLine(line);
}

void SyntaxHighlighter::restyleLine(qint64 line)
{
    if (!m_storage || line < 0 || line >= m_index.lineCount())
        return;
    markDirty(line, line);
    // The stored end states are still valid, so the pass ends after this line (or after the lines
    // an edit left dirty).
    if (isSettled())
        relexDirtyLines();
    else
        scheduleRelex();
}

void SyntaxHighlighter::setActive(bool active)
{
    m_active = active;
    if (!active && m_storage && m_formatted)
        removeAllFormats();
    updateLongLinesAnswer();
}

void SyntaxHighlighter::setLengthLimit(qint64 length)
{
    m_lengthLimit = length;
    updateLongLinesAnswer();
}

} // namespace plumeo
