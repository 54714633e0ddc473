#include "editor/RichTextView.h"

#include "Theme.h"
#include "document/TextDocument.h"
#include "editor/EditorActions.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorMimeData.h"
#include "text/Localization.h"

#include <QAbstractTextDocumentLayout>
#include <QColorDialog>
#include <QFontDialog>
#include <QMimeData>
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
    : EditorViewBase(document, parent)
{
    setAcceptRichText(true);
    // The panels stay open while the language changes; their titles are ours, not Qt's.
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &RichTextView::retitlePanels);
}

void RichTextView::retitlePanels()
{
    if (m_fontDialog)
        m_fontDialog->setWindowTitle(L(QStringLiteral("Polices"), QStringLiteral("Fonts")));
    if (m_colorDialog)
        m_colorDialog->setWindowTitle(L(QStringLiteral("Couleurs"), QStringLiteral("Colors")));
}

RichTextView::~RichTextView()
{
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
    EditorViewBase::releaseStorage();
}

void RichTextView::configureAsCodeEditor()
{
    configureView(true);
}

void RichTextView::applyFont(const QFont &font, int tabWidth)
{
    Q_UNUSED(font); // rich text keeps its own fonts
    setTabWidth(tabWidth);
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
        connect(m_fontDialog, &QFontDialog::fontSelected, this, [this](const QFont &font) {
            QTextCharFormat format;
            format.setFont(font, QTextCharFormat::FontPropertiesAll);
            mergeFormat(format);
        });
    }
    retitlePanels();
    m_fontDialog->setCurrentFont(currentCharFormat().font());
    m_fontDialog->show();
    m_fontDialog->raise();
}

void RichTextView::showColorDialog()
{
    if (!m_colorDialog) {
        m_colorDialog = new QColorDialog(this);
        m_colorDialog->setOption(QColorDialog::DontUseNativeDialog);
        connect(m_colorDialog, &QColorDialog::colorSelected, this, [this](const QColor &colour) {
            QTextCharFormat format;
            format.setForeground(colour);
            mergeFormat(format);
        });
    }
    retitlePanels();
    const QBrush foreground = currentCharFormat().foreground();
    m_colorDialog->setCurrentColor(foreground.style() == Qt::NoBrush ? Theme::text()
                                                                     : foreground.color());
    m_colorDialog->show();
    m_colorDialog->raise();
}

QMimeData *RichTextView::createMimeDataFromSelection() const
{
    auto *mime = new QMimeData;
    mime->setHtml(QTextDocumentFragment(QTextEdit::textCursor()).toHtml());
    EditorMimeData::setText(*mime, EditorCommandRunner::selectedText(*this));
    return mime;
}

void RichTextView::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasHtml() && acceptRichText())
        QTextEdit::insertFromMimeData(source);
    else
        EditorViewBase::insertFromMimeData(source);
}

} // namespace plumeo
