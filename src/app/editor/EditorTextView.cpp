#include "editor/EditorTextView.h"

#include "Preferences.h"
#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/EditingCommands.h"
#include "editor/EditorActions.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorDecorations.h"
#include "editor/EditorMimeData.h"
#include "editor/FindBar.h"

#include <QFontMetricsF>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>

namespace plumeo {

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

EditorTextView::EditorTextView(TextDocument *document, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_document(document)
{
    QTextDocument *storage = document->textStorage();
    if (!qobject_cast<QPlainTextDocumentLayout *>(storage->documentLayout()))
        storage->setDocumentLayout(new QPlainTextDocumentLayout(storage));
    QPlainTextEdit::setDocument(storage);

    m_decorations = new EditorDecorations(
        this, [this] { return cursorRect(); },
        [this] { return QPlainTextEdit::textCursor().hasSelection(); });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &EditorTextView::selectionMoved);
    connect(this, &QPlainTextEdit::selectionChanged, this, &EditorTextView::selectionMoved);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (onTextChanged)
            onTextChanged();
    });
}

EditorTextView::~EditorTextView()
{
    if (m_findBar && m_findBar->view() == this)
        m_findBar->setView(nullptr);
}

void EditorTextView::releaseStorage()
{
    QPlainTextEdit::setDocument(nullptr);
}

void EditorTextView::selectionMoved()
{
    const QTextCursor cursor = QPlainTextEdit::textCursor();
    if (cursor.anchor() == m_lastAnchor && cursor.position() == m_lastPosition)
        return;
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    m_decorations->caretMoved();
    if (onSelectionChanged)
        onSelectionChanged();
}

void EditorTextView::configureAsCodeEditor()
{
    // Wrapping first: several of the settings below lay the text out, which must already wrap as
    // it will (a long run wrapped at word boundaries takes minutes).
    setWordWrap(Preferences::boolean(Preferences::Key::wordWrap()));
    setFrameShape(QFrame::NoFrame);
    // Undo is the document's, always on: the view never switches it. Doing so would make the
    // storage forget which undo step matches the saved file, and a view configured from inside an
    // undo (a plain/rich switch being undone), when undo briefly reads as off, would do it.
    setTabChangesFocus(false);
    setAcceptDrops(true);
    setBackgroundVisible(false);
    setCenterOnScroll(false);
    setAutoFillBackground(true);
    applyThemePalette(this);
    // Qt's caret would be drawn in the text colour: EditorDecorations draws it in the caret colour.
    setCursorWidth(0);
    // The document margin gives the horizontal inset and part of the vertical one, scrolling with
    // the text; the viewport margins add the rest above and below.
    EditorDecorations::setDocumentMargin(QPlainTextEdit::document());
    const int extra = EditorDecorations::verticalInset - EditorDecorations::horizontalInset;
    setViewportMargins(0, extra, 0, extra);
    applyFont(Preferences::editorFont(),
              int(std::max<qint64>(Preferences::integer(Preferences::Key::tabWidth()), 1)));
}

void EditorTextView::applyFont(const QFont &font, int tabWidth)
{
    this->tabWidth = std::max(tabWidth, 1);
    if (m_document->isRichText())
        return;
    setFont(font);
    // Plain text carries no font of its own: the storage's default font is the one shown.
    QPlainTextEdit::document()->setDefaultFont(font);
    setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * this->tabWidth);
    QTextCharFormat typing = currentCharFormat();
    typing.setForeground(Theme::text());
    setCurrentCharFormat(typing);
}

void EditorTextView::setHighlightCurrentLine(bool on)
{
    m_decorations->setHighlightCurrentLine(on);
}

bool EditorTextView::highlightsCurrentLine() const
{
    return m_decorations->highlightsCurrentLine();
}

void EditorTextView::setWordWrap(bool on)
{
    setWordWrapMode(m_document->breaksAnywhere() ? QTextOption::WrapAnywhere
                                                 : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void EditorTextView::setFindBar(FindBar *findBar)
{
    if (m_findBar && m_findBar != findBar && m_findBar->view() == this)
        m_findBar->setView(nullptr);
    m_findBar = findBar;
    if (findBar)
        findBar->setView(this);
}

QRectF EditorTextView::blockRect(const QTextBlock &block) const
{
    return blockBoundingGeometry(block).translated(contentOffset());
}

qreal EditorTextView::firstRowHeight(const QTextBlock &block) const
{
    const QTextLayout *layout = block.layout();
    if (layout && layout->lineCount() > 0)
        return layout->lineAt(0).height();
    return blockRect(block).height();
}

void EditorTextView::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (EditorActions::isRichTextCommand(item.command)) {
        state.enabled = false;
        return;
    }
    EditorActions::validate(*this, item, state);
}

void EditorTextView::perform(const MenuItemInfo &item)
{
    if (EditorActions::isRichTextCommand(item.command))
        return;
    EditorActions::perform(*this, item);
}

void EditorTextView::insertNewline()
{
    EditorCommandRunner runner(*this);
    if (!autoIndent) {
        runner.run([](QStringView text, TextRange selection) {
            return std::optional(
                EditingCommands::insertText(text, selection, QStringLiteral("\n")));
        });
        return;
    }
    const IndentStyle style = indentStyle;
    runner.run([style](QStringView text, TextRange selection) {
        return std::optional(EditingCommands::newline(text, selection, style));
    });
    ensureCursorVisible();
}

void EditorTextView::insertTab()
{
    const IndentStyle style = indentStyle;
    EditorCommandRunner(*this).run([style](QStringView text, TextRange selection) {
        return EditingCommands::insertTab(text, selection, style);
    });
}

void EditorTextView::insertBacktab()
{
    const IndentStyle style = indentStyle;
    EditorCommandRunner(*this).run([style](QStringView text, TextRange selection) {
        return EditingCommands::outdentLines(text, selection, style);
    });
}

void EditorTextView::keyPressEvent(QKeyEvent *event)
{
    if (EditorActions::handleKey(*this, event)) {
        // An undo or a redo may have replaced this view.
        if (!isRetired())
            ensureCursorVisible();
        return;
    }
    if (!isRetired())
        QPlainTextEdit::keyPressEvent(event);
}

void EditorTextView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!EditorActions::handleInputMethod(*this, event))
        QPlainTextEdit::inputMethodEvent(event);
}

void EditorTextView::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(QPlainTextEdit::viewport());
        m_decorations->paintUnderText(painter, event->rect());
    }
    QPlainTextEdit::paintEvent(event);
    QPainter painter(QPlainTextEdit::viewport());
    m_decorations->paintOverText(painter);
}

void EditorTextView::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    m_decorations->restartBlinking();
}

void EditorTextView::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_decorations->restartBlinking();
}

QMimeData *EditorTextView::createMimeDataFromSelection() const
{
    auto *mime = new QMimeData;
    EditorMimeData::setText(*mime, EditorCommandRunner::selectedText(*this));
    return mime;
}

void EditorTextView::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    EditorCommandRunner(*this).insert(EditorMimeData::insertedText(source));
}

void EditorTextView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!EditorMimeData::acceptFiles(event))
        QPlainTextEdit::dragEnterEvent(event);
}

void EditorTextView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!EditorMimeData::acceptFiles(event))
        QPlainTextEdit::dragMoveEvent(event);
}

void EditorTextView::dropEvent(QDropEvent *event)
{
    if (!EditorMimeData::dropFiles(event, onOpenFiles))
        QPlainTextEdit::dropEvent(event);
}

} // namespace plumeo
