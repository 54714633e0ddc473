#include "editor/RichTextView.h"

#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/EditingCommands.h"
#include "editor/EditorActions.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorDecorations.h"
#include "editor/EditorMimeData.h"
#include "editor/FindBar.h"
#include "text/Localization.h"

#include <QAbstractTextDocumentLayout>
#include <QColorDialog>
#include <QFontDialog>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>

namespace plumeo {

namespace {

std::optional<Qt::Alignment> alignmentOf(Command command)
{
    switch (command) {
    case Command::alignLeft:
        return Qt::AlignLeft | Qt::AlignAbsolute;
    case Command::alignCenter:
        return Qt::AlignHCenter;
    case Command::alignRight:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case Command::alignJustified:
        return Qt::AlignJustify;
    default:
        return std::nullopt;
    }
}

} // namespace

RichTextView::RichTextView(TextDocument *document, QWidget *parent)
    : QTextEdit(parent)
    , m_document(document)
{
    QTextDocument *storage = document->textStorage();
    // The storage makes its rich layout on demand once the plain one is gone.
    if (qobject_cast<QPlainTextDocumentLayout *>(storage->documentLayout()))
        storage->setDocumentLayout(nullptr);
    QTextEdit::setDocument(storage);
    setAcceptRichText(true);

    m_decorations = new EditorDecorations(
        this, [this] { return cursorRect(); },
        [this] { return QTextEdit::textCursor().hasSelection(); });
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextView::selectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextView::selectionMoved);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (onTextChanged)
            onTextChanged();
    });
}

RichTextView::~RichTextView()
{
    if (m_findBar && m_findBar->view() == this)
        m_findBar->setView(nullptr);
    delete m_fontDialog;
    delete m_colorDialog;
}

void RichTextView::releaseStorage()
{
    // The font and colour dialogs act on this view's selection: they go with it.
    if (m_fontDialog)
        m_fontDialog->close();
    if (m_colorDialog)
        m_colorDialog->close();
    QTextEdit::setDocument(nullptr);
}

void RichTextView::selectionMoved()
{
    const QTextCursor cursor = QTextEdit::textCursor();
    if (cursor.anchor() == m_lastAnchor && cursor.position() == m_lastPosition)
        return;
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    m_decorations->caretMoved();
    if (onSelectionChanged)
        onSelectionChanged();
}

void RichTextView::configureAsCodeEditor()
{
    // Wrapping first: several of the settings below lay the text out, which must already wrap as
    // it will (a long run wrapped at word boundaries takes minutes).
    setWordWrap(true);
    setFrameShape(QFrame::NoFrame);
    // Undo is the document's, always on: the view never switches it. Doing so would make the
    // storage forget which undo step matches the saved file, and a view configured from inside an
    // undo (a plain/rich switch being undone), when undo briefly reads as off, would do it.
    setTabChangesFocus(false);
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Theme::background());
        colours.setColor(group, QPalette::Window, Theme::background());
        colours.setColor(group, QPalette::Text, Theme::text());
        colours.setColor(group, QPalette::Highlight, Theme::selection());
        colours.setColor(group, QPalette::HighlightedText, Theme::text());
    }
    setPalette(colours);
    setCursorWidth(0);
    EditorDecorations::setDocumentMargin(QTextEdit::document());
    const int extra = EditorDecorations::verticalInset - EditorDecorations::horizontalInset;
    setViewportMargins(0, extra, 0, extra);
}

void RichTextView::applyFont(const QFont &font, int tabWidth)
{
    Q_UNUSED(font); // rich text keeps its own fonts
    this->tabWidth = std::max(tabWidth, 1);
}

void RichTextView::setHighlightCurrentLine(bool on)
{
    m_decorations->setHighlightCurrentLine(on);
}

bool RichTextView::highlightsCurrentLine() const
{
    return m_decorations->highlightsCurrentLine();
}

void RichTextView::setWordWrap(bool on)
{
    setWordWrapMode(m_document->breaksAnywhere() ? QTextOption::WrapAnywhere
                                                 : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void RichTextView::setFindBar(FindBar *findBar)
{
    if (m_findBar && m_findBar != findBar && m_findBar->view() == this)
        m_findBar->setView(nullptr);
    m_findBar = findBar;
    if (findBar)
        findBar->setView(this);
}

void RichTextView::centerCursor()
{
    ensureCursorVisible();
    const QRect caret = cursorRect();
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + caret.center().y() - QTextEdit::viewport()->height() / 2);
}

QTextBlock RichTextView::firstVisibleBlock() const
{
    return cursorForPosition(QPoint(0, 0)).block();
}

QRectF RichTextView::blockRect(const QTextBlock &block) const
{
    const QRectF rect = QTextEdit::document()->documentLayout()->blockBoundingRect(block);
    return rect.translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

qreal RichTextView::firstRowHeight(const QTextBlock &block) const
{
    const QTextLayout *layout = block.layout();
    if (layout && layout->lineCount() > 0)
        return layout->lineAt(0).height();
    return blockRect(block).height();
}

void RichTextView::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (EditorActions::isRichTextCommand(item.command))
        validateRichTextAction(item, state);
    else
        EditorActions::validate(*this, item, state);
}

void RichTextView::perform(const MenuItemInfo &item)
{
    if (EditorActions::isRichTextCommand(item.command))
        performRichTextAction(item);
    else
        EditorActions::perform(*this, item);
}

void RichTextView::validateRichTextAction(const MenuItemInfo &item, MenuItemState &state) const
{
    state.enabled = m_document->isRichText();
    if (!state.enabled)
        return;
    const QTextCharFormat format = currentCharFormat();
    if (item.command == Command::bold)
        state.checked = format.fontWeight() >= QFont::Bold;
    else if (item.command == Command::italic)
        state.checked = format.fontItalic();
    else if (item.command == Command::underline)
        state.checked = format.fontUnderline();
    else if (const auto alignment = alignmentOf(item.command))
        state.checked = (QTextEdit::alignment() & Qt::AlignHorizontal_Mask)
                        == (*alignment & Qt::AlignHorizontal_Mask);
}

void RichTextView::mergeFormat(const QTextCharFormat &format)
{
    // One undo step, on the selection or, with none, on what is typed next.
    mergeCurrentCharFormat(format);
}

void RichTextView::performRichTextAction(const MenuItemInfo &item)
{
    if (!m_document->isRichText())
        return;
    const QTextCharFormat current = currentCharFormat();
    QTextCharFormat format;
    if (item.command == Command::bold) {
        format.setFontWeight(current.fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
        mergeFormat(format);
    } else if (item.command == Command::italic) {
        format.setFontItalic(!current.fontItalic());
        mergeFormat(format);
    } else if (item.command == Command::underline) {
        format.setFontUnderline(!current.fontUnderline());
        mergeFormat(format);
    } else if (const auto alignment = alignmentOf(item.command)) {
        setAlignment(*alignment);
    } else if (item.command == Command::showFontPanel) {
        showFontDialog();
    } else if (item.command == Command::showColorPanel) {
        showColorDialog();
    }
}

void RichTextView::showFontDialog()
{
    if (!m_fontDialog) {
        m_fontDialog = new QFontDialog(this);
        m_fontDialog->setOption(QFontDialog::DontUseNativeDialog);
        m_fontDialog->setOption(QFontDialog::NoButtons, false);
        m_fontDialog->setWindowTitle(L(QStringLiteral("Polices"), QStringLiteral("Fonts")));
        connect(m_fontDialog, &QFontDialog::fontSelected, this, [this](const QFont &font) {
            QTextCharFormat format;
            format.setFont(font, QTextCharFormat::FontPropertiesAll);
            mergeFormat(format);
        });
    }
    m_fontDialog->setCurrentFont(currentCharFormat().font());
    m_fontDialog->show();
    m_fontDialog->raise();
}

void RichTextView::showColorDialog()
{
    if (!m_colorDialog) {
        m_colorDialog = new QColorDialog(this);
        m_colorDialog->setOption(QColorDialog::DontUseNativeDialog);
        m_colorDialog->setWindowTitle(L(QStringLiteral("Couleurs"), QStringLiteral("Colors")));
        connect(m_colorDialog, &QColorDialog::colorSelected, this, [this](const QColor &colour) {
            QTextCharFormat format;
            format.setForeground(colour);
            mergeFormat(format);
        });
    }
    const QBrush foreground = currentCharFormat().foreground();
    m_colorDialog->setCurrentColor(foreground.style() == Qt::NoBrush ? Theme::text()
                                                                     : foreground.color());
    m_colorDialog->show();
    m_colorDialog->raise();
}

void RichTextView::insertNewline()
{
    EditorCommandRunner runner(*this);
    const IndentStyle style = indentStyle;
    const bool indent = autoIndent;
    runner.run([style, indent](QStringView text, TextRange selection) {
        return std::optional(
            indent ? EditingCommands::newline(text, selection, style)
                   : EditingCommands::insertText(text, selection, QStringLiteral("\n")));
    });
}

void RichTextView::keyPressEvent(QKeyEvent *event)
{
    if (EditorActions::handleKey(*this, event)) {
        // An undo or a redo may have replaced this view.
        if (!isRetired())
            ensureCursorVisible();
        return;
    }
    if (!isRetired())
        QTextEdit::keyPressEvent(event);
}

void RichTextView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!EditorActions::handleInputMethod(*this, event))
        QTextEdit::inputMethodEvent(event);
}

void RichTextView::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(QTextEdit::viewport());
        m_decorations->paintUnderText(painter, event->rect());
    }
    QTextEdit::paintEvent(event);
    QPainter painter(QTextEdit::viewport());
    m_decorations->paintOverText(painter);
}

void RichTextView::focusInEvent(QFocusEvent *event)
{
    QTextEdit::focusInEvent(event);
    m_decorations->restartBlinking();
}

void RichTextView::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    m_decorations->restartBlinking();
}

QMimeData *RichTextView::createMimeDataFromSelection() const
{
    auto *mime = new QMimeData;
    const QTextCursor cursor = QTextEdit::textCursor();
    mime->setHtml(QTextDocumentFragment(cursor).toHtml());
    EditorMimeData::setText(*mime, EditorCommandRunner::selectedText(*this));
    return mime;
}

void RichTextView::insertFromMimeData(const QMimeData *source)
{
    if (!source)
        return;
    if (source->hasHtml() && acceptRichText()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    if (source->hasText())
        EditorCommandRunner(*this).insert(EditorMimeData::insertedText(source));
}

void RichTextView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!EditorMimeData::acceptFiles(event))
        QTextEdit::dragEnterEvent(event);
}

void RichTextView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!EditorMimeData::acceptFiles(event))
        QTextEdit::dragMoveEvent(event);
}

void RichTextView::dropEvent(QDropEvent *event)
{
    if (!EditorMimeData::dropFiles(event, onOpenFiles))
        QTextEdit::dropEvent(event);
}

} // namespace plumeo
