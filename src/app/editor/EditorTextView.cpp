#include "editor/EditorTextView.h"

#include "Preferences.h"
#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/BracketMatcher.h"
#include "editing/EditingCommands.h"
#include "editing/IndentRules.h"
#include "editor/EditorActions.h"
#include "editor/EditorCommandRunner.h"
#include "syntax/Lexers.h"

#include <QFontMetricsF>
#include <QTextBlock>

namespace plumeo {

EditorTextView::EditorTextView(TextDocument *document, QWidget *parent)
    : EditorViewBase(document, parent)
{
    // Edits count as well as moves: deleting the partner leaves the caret where it was.
    connect(notifier(), &EditorViewNotifier::selectionDidChange, this,
            &EditorTextView::updateMatchingBrackets);
    connect(notifier(), &EditorViewNotifier::textDidChange, this,
            &EditorTextView::updateMatchingBrackets);
}

void EditorTextView::configureAsCodeEditor()
{
    // As the editor will wrap it (see EditorViewController::applyWrapping): every change of
    // wrapping lays a long line out again, twice.
    configureView(Preferences::boolean(Preferences::Key::wordWrap())
                  && !m_document->laysOutUnwrapped());
    setBackgroundVisible(false);
    setCenterOnScroll(false);
    applyFont(Preferences::editorFont(),
              int(std::max<qint64>(Preferences::integer(Preferences::Key::tabWidth()), 1)));
}

void EditorTextView::applyFont(const QFont &font, int tabWidth)
{
    setTabWidth(tabWidth);
    if (m_document->isRichText())
        return;
    setFont(font);
    // Plain text carries no font of its own: the storage's default font is the one shown. Qt lays
    // the whole text out again at every setting of it, even to the same font (setFont usually has
    // set it already).
    if (QPlainTextEdit::document()->defaultFont() != font)
        QPlainTextEdit::document()->setDefaultFont(font);
    setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * this->tabWidth());
    QTextCharFormat typing = currentCharFormat();
    typing.setForeground(Theme::text());
    setCurrentCharFormat(typing);
}

QRectF EditorTextView::blockRect(const QTextBlock &block) const
{
    return blockBoundingGeometry(block).translated(contentOffset());
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

void EditorTextView::insertTab()
{
    const IndentStyle style = settings().indentStyle;
    EditorCommandRunner(*this).run([style](QStringView text, TextRange selection) {
        return EditingCommands::insertTab(text, selection, style);
    });
}

void EditorTextView::insertBacktab()
{
    const IndentStyle style = settings().indentStyle;
    EditorCommandRunner(*this).run([style](QStringView text, TextRange selection) {
        return EditingCommands::outdentLines(text, selection, style);
    });
}

bool EditorTextView::typeClosingBracket(QChar bracket)
{
    if (!settings().autoOutdentClosingBrace
        || !IndentRules::outdentsClosingBracket(m_document->language(), bracket))
        return false;
    const IndentStyle style = settings().indentStyle;
    return EditorCommandRunner(*this).run([style, bracket](QStringView text, TextRange selection) {
        return EditingCommands::typeClosingBracket(text, selection, bracket, style);
    });
}

void EditorTextView::settingsDidChange()
{
    updateMatchingBrackets();
}

namespace {

bool isBracket(QChar c)
{
    return QStringView(u"()[]{}").contains(c);
}

// How far before the window's start the search reaches back for the start of its line, so that
// lexing begins where the highlighter's states are known.
constexpr qsizetype lineStartReach = 2'000;

} // namespace

void EditorTextView::updateMatchingBrackets()
{
    if (isRetired())
        return;
    const QTextCursor cursor = textCursor();
    QTextDocument *storage = m_document->textStorage();
    const qsizetype caret = cursor.position();
    const bool besideBracket = isBracket(storage->characterAt(int(caret)))
                               || (caret > 0 && isBracket(storage->characterAt(int(caret - 1))));
    if (!settings().highlightMatchingBrackets || cursor.hasSelection() || !besideBracket
        || m_document->isRichText()) {
        setExtraSelections(ExtraSelectionLayers::Layer::matchingBrackets, {});
        return;
    }

    // The text within reach of the bracket, from the start of a line when one is close enough.
    const qsizetype length = std::max(storage->characterCount() - 1, 0);
    const qsizetype distance = BracketMatcher::maximumDistance;
    qsizetype from = std::max<qsizetype>(caret - 1 - distance, 0);
    const QTextBlock first = storage->findBlock(int(from));
    const bool atLineStart = from - first.position() <= lineStartReach;
    if (atLineStart)
        from = first.position();
    const qsizetype to = std::min(caret + 1 + distance, length);
    QTextCursor window(storage);
    window.setPosition(int(from));
    window.setPosition(int(to), QTextCursor::KeepAnchor);
    const QString text = m_document->storageCodec().fromStorage(window.selectedText());

    std::vector<TokenRange> ignored;
    if (const Lexer *lexer = Lexers::lexer(m_document->language())) {
        const LexState state =
            atLineStart ? lexStateAtLineStart(*lexer, first.blockNumber()) : LexState::initial();
        ignored = BracketMatcher::stringsAndComments(text, *lexer, state);
    }
    const std::optional<BracketMatcher::Match> match =
        BracketMatcher::find(text, caret - from, ignored, distance);
    if (!match) {
        setExtraSelections(ExtraSelectionLayers::Layer::matchingBrackets, {});
        return;
    }
    QColor background = Theme::accent();
    background.setAlphaF(0.28f);
    QList<QTextEdit::ExtraSelection> ranges;
    for (const qsizetype at : {match->bracket, match->partner}) {
        QTextEdit::ExtraSelection range;
        range.cursor = QTextCursor(storage);
        range.cursor.setPosition(int(from + at));
        range.cursor.setPosition(int(from + at + 1), QTextCursor::KeepAnchor);
        range.format.setBackground(background);
        ranges.append(range);
    }
    setExtraSelections(ExtraSelectionLayers::Layer::matchingBrackets, std::move(ranges));
}

} // namespace plumeo
