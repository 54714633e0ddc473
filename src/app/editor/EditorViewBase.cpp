#include "editor/EditorViewBase.h"

#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/EditingCommands.h"
#include "editing/IndentRules.h"
#include "editor/EditorActions.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorDecorations.h"
#include "editor/EditorMimeData.h"
#include "editor/EditorTextView.h"
#include "editor/RichTextView.h"
#include "syntax/Lexers.h"

#include <type_traits>

#include <QMimeData>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextLayout>

namespace plumeo {

template <typename QtTextEdit, typename View>
EditorViewBase<QtTextEdit, View>::EditorViewBase(TextDocument *document, QWidget *parent)
    : QtTextEdit(parent)
    , m_document(document)
{
    QTextDocument *storage = document->textStorage();
    if constexpr (std::is_same_v<QtTextEdit, QPlainTextEdit>) {
        if (!qobject_cast<QPlainTextDocumentLayout *>(storage->documentLayout()))
            storage->setDocumentLayout(new QPlainTextDocumentLayout(storage));
    } else {
        // The storage makes its rich layout on demand once the plain one is gone.
        if (qobject_cast<QPlainTextDocumentLayout *>(storage->documentLayout()))
            storage->setDocumentLayout(nullptr);
    }
    QtTextEdit::setDocument(storage);

    m_decorations = new EditorDecorations(
        this, [this] { return QtTextEdit::cursorRect(); },
        [this] { return QtTextEdit::textCursor().hasSelection(); });
    // Through the notifier, so that nothing of this view runs once the notifier is gone: it goes
    // before the Qt base, whose destruction may still report changes.
    QObject::connect(this, &QtTextEdit::cursorPositionChanged, notifier(),
                     [this] { selectionMoved(); });
    QObject::connect(this, &QtTextEdit::selectionChanged, notifier(), [this] { selectionMoved(); });
    QObject::connect(this, &QtTextEdit::textChanged, notifier(),
                     &EditorViewNotifier::textDidChange);
}

template <typename QtTextEdit, typename View> EditorViewBase<QtTextEdit, View>::~EditorViewBase()
{
    if (m_findBar && m_findBar->view() == this)
        m_findBar->setView(nullptr);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::releaseStorage()
{
    QtTextEdit::setDocument(nullptr);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::selectionMoved()
{
    const QTextCursor cursor = QtTextEdit::textCursor();
    if (cursor.anchor() == m_lastAnchor && cursor.position() == m_lastPosition)
        return;
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    m_decorations->caretMoved();
    Q_EMIT notifier()->selectionDidChange();
}

namespace {

void applyThemePalette(QWidget *view)
{
    QPalette colours = view->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Theme::background());
        colours.setColor(group, QPalette::Window, Theme::background());
        colours.setColor(group, QPalette::Text, Theme::text());
        colours.setColor(group, QPalette::Highlight, Theme::selection());
        colours.setColor(group, QPalette::HighlightedText, Theme::text());
    }
    view->setPalette(colours);
}

} // namespace

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::configureView(bool wrap)
{
    // Wrapping first: several of the settings below lay the text out, which must already wrap as
    // it will (a long run wrapped at word boundaries takes minutes).
    setWordWrap(wrap);
    QtTextEdit::setFrameShape(QFrame::NoFrame);
    // Undo is the document's, always on: the view never switches it. Doing so would make the
    // storage forget which undo step matches the saved file, and a view configured from inside an
    // undo (a plain/rich switch being undone), when undo briefly reads as off, would do it.
    QtTextEdit::setTabChangesFocus(false);
    QtTextEdit::setAcceptDrops(true);
    QtTextEdit::setAutoFillBackground(true);
    applyThemePalette(this);
    // Qt's caret would be drawn in the text colour: EditorDecorations draws it in the caret colour.
    QtTextEdit::setCursorWidth(0);
    // The document margin gives the horizontal inset and part of the vertical one, scrolling with
    // the text; the viewport margins add the rest above and below.
    EditorDecorations::setDocumentMargin(QtTextEdit::document());
    const int extra = EditorDecorations::verticalInset - EditorDecorations::horizontalInset;
    QtTextEdit::setViewportMargins(0, extra, 0, extra);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::setHighlightCurrentLine(bool on)
{
    m_decorations->setHighlightCurrentLine(on);
}

template <typename QtTextEdit, typename View>
bool EditorViewBase<QtTextEdit, View>::highlightsCurrentLine() const
{
    return m_decorations->highlightsCurrentLine();
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::setWordWrap(bool on)
{
    QtTextEdit::setWordWrapMode(m_document->breaksAnywhere()
                                    ? QTextOption::WrapAnywhere
                                    : QTextOption::WrapAtWordBoundaryOrAnywhere);
    QtTextEdit::setLineWrapMode(on ? QtTextEdit::WidgetWidth : QtTextEdit::NoWrap);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::setFindBar(FindBar *findBar)
{
    if (m_findBar && m_findBar != findBar && m_findBar->view() == this)
        m_findBar->setView(nullptr);
    m_findBar = findBar;
    if (findBar)
        findBar->setView(this);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::setExtraSelections(
    ExtraSelectionLayers::Layer layer, QList<QTextEdit::ExtraSelection> selections)
{
    // The one place where the layers meet the view.
    if (m_extraSelections.set(layer, std::move(selections)))
        QtTextEdit::setExtraSelections(m_extraSelections.combined());
}

template <typename QtTextEdit, typename View>
std::vector<TextRange> EditorViewBase<QtTextEdit, View>::visibleRanges() const
{
    std::vector<TextRange> ranges;
    const QWidget *area = QtTextEdit::viewport();
    const int width = area->width();
    const int height = area->height();
    if (width <= 0 || height <= 0 || !QtTextEdit::document())
        return ranges;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockRect(block).top() >= height)
            break;
        const QTextLayout *layout = block.layout();
        if (!block.isVisible() || !layout || layout->lineCount() == 0)
            continue;
        // Where the block's rows are in the viewport: the caret rectangle at the block's start
        // is its first row.
        QTextCursor start(QtTextEdit::document());
        start.setPosition(block.position());
        const qreal shift = QtTextEdit::cursorRect(start).top() - layout->lineAt(0).y();
        int firstRow = -1;
        int lastRow = -1;
        for (int row = 0; row < layout->lineCount(); ++row) {
            const QTextLine line = layout->lineAt(row);
            const qreal top = shift + line.y();
            if (top >= height)
                break;
            if (top + line.height() <= 0)
                continue;
            if (firstRow < 0)
                firstRow = row;
            lastRow = row;
        }
        if (firstRow < 0)
            continue;
        // Hit tests across the middle of the first and last rows in view: the rows between
        // them are whole in view, and an unwrapped row gives only its part between the edges,
        // even on a line of a million characters. The lowest and highest answers cover
        // right-to-left rows too, whose left edge is their logical end.
        const qsizetype blockStart = block.position();
        const qsizetype blockEnd = blockStart + block.length() - 1;
        qsizetype from = blockEnd;
        qsizetype to = blockStart;
        for (const int row : {firstRow, lastRow}) {
            const QTextLine line = layout->lineAt(row);
            const int middle = std::clamp(int(shift + line.y() + line.height() / 2), 0, height - 1);
            for (const int x : {0, width - 1}) {
                const qsizetype at = std::clamp<qsizetype>(
                    QtTextEdit::cursorForPosition(QPoint(x, middle)).position(), blockStart,
                    blockEnd);
                from = std::min(from, at);
                to = std::max(to, at);
            }
        }
        // A hit test answers the nearest character boundary: one more unit takes in a character
        // cut by the right edge.
        to = std::min(to + 1, blockEnd);
        if (from < to)
            ranges.push_back({from, to - from});
    }
    return ranges;
}

template <typename QtTextEdit, typename View>
qreal EditorViewBase<QtTextEdit, View>::firstRowHeight(const QTextBlock &block) const
{
    const QTextLayout *layout = block.layout();
    if (layout && layout->lineCount() > 0)
        return layout->lineAt(0).height();
    return blockRect(block).height();
}

template <typename QtTextEdit, typename View> void EditorViewBase<QtTextEdit, View>::insertNewline()
{
    const IndentStyle style = settings().indentStyle;
    const bool indent = settings().autoIndent;
    const Language language = m_document->language();
    const Lexer *colonLexer =
        indent && IndentRules::opensBlockAfterColon(language) ? Lexers::lexer(language) : nullptr;
    const LexState state =
        colonLexer ? lexStateAtLineStart(*colonLexer,
                                         QtTextEdit::document()
                                             ->findBlock(QtTextEdit::textCursor().selectionStart())
                                             .blockNumber())
                   : LexState::initial();
    EditorCommandRunner(*this).run([=](QStringView text, TextRange selection) {
        if (!indent)
            return std::optional(
                EditingCommands::insertText(text, selection, QStringLiteral("\n")));
        const qsizetype caret = selection.clamped(text.size()).location;
        const qsizetype lineStart = text.first(caret).lastIndexOf(u'\n') + 1;
        const bool opensBlock = colonLexer
                                && IndentRules::codeEndsWithColon(
                                    text.sliced(lineStart, caret - lineStart), *colonLexer, state);
        return std::optional(EditingCommands::newline(text, selection, style, opensBlock));
    });
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::keyPressEvent(QKeyEvent *event)
{
    if (EditorActions::handleKey(static_cast<View &>(*this), event)) {
        // An undo or a redo may have replaced this view.
        if (!isRetired())
            QtTextEdit::ensureCursorVisible();
        return;
    }
    if (!isRetired())
        QtTextEdit::keyPressEvent(event);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::inputMethodEvent(QInputMethodEvent *event)
{
    if (!EditorActions::handleInputMethod(static_cast<View &>(*this), event))
        QtTextEdit::inputMethodEvent(event);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(QtTextEdit::viewport());
        m_decorations->paintUnderText(painter, event->rect());
    }
    QtTextEdit::paintEvent(event);
    QPainter painter(QtTextEdit::viewport());
    m_decorations->paintOverText(painter);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::resizeEvent(QResizeEvent *event)
{
    // Qt keeps the first line in view and lets the end of the text go under the bottom edge.
    QScrollBar *scroll = QtTextEdit::verticalScrollBar();
    const int shrink = event->oldSize().height() - event->size().height();
    const bool wasAtEnd = scroll->maximum() > 0 && scroll->value() == scroll->maximum();
    const QRect caret = QtTextEdit::cursorRect();
    const int oldHeight = QtTextEdit::viewport()->height() + std::max(shrink, 0);
    const bool showedCaret = caret.top() >= 0 && caret.bottom() < oldHeight;
    QtTextEdit::resizeEvent(event);
    if (!event->oldSize().isValid() || shrink <= 0)
        return;
    if (wasAtEnd)
        scroll->setValue(scroll->maximum());
    if (showedCaret)
        QtTextEdit::ensureCursorVisible();
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::focusInEvent(QFocusEvent *event)
{
    QtTextEdit::focusInEvent(event);
    m_decorations->restartBlinking();
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::focusOutEvent(QFocusEvent *event)
{
    QtTextEdit::focusOutEvent(event);
    m_decorations->restartBlinking();
}

template <typename QtTextEdit, typename View>
QMimeData *EditorViewBase<QtTextEdit, View>::createMimeDataFromSelection() const
{
    auto *mime = new QMimeData;
    EditorMimeData::setText(*mime, EditorCommandRunner::selectedText(*this));
    return mime;
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    EditorCommandRunner(*this).insert(EditorMimeData::insertedText(source));
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::dragEnterEvent(QDragEnterEvent *event)
{
    if (!EditorMimeData::acceptFiles(event))
        QtTextEdit::dragEnterEvent(event);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::dragMoveEvent(QDragMoveEvent *event)
{
    if (!EditorMimeData::acceptFiles(event))
        QtTextEdit::dragMoveEvent(event);
}

template <typename QtTextEdit, typename View>
void EditorViewBase<QtTextEdit, View>::dropEvent(QDropEvent *event)
{
    const QStringList paths = EditorMimeData::dropFiles(event);
    if (paths.isEmpty())
        QtTextEdit::dropEvent(event);
    else
        Q_EMIT notifier()->filesDropped(paths);
}

template class EditorViewBase<QPlainTextEdit, EditorTextView>;
template class EditorViewBase<QTextEdit, RichTextView>;

} // namespace plumeo
