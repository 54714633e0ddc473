#pragma once

#include "ActionResponder.h"
#include "editing/TextRange.h"
#include "editor/EditorViewNotifier.h"
#include "editor/EditorViewSettings.h"
#include "editor/ExtraSelectionLayers.h"
#include "syntax/LexState.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include <QList>
#include <QRectF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

class QFont;
class QTextDocument;

namespace plumeo {

class FindBar;
class Lexer;
class TextDocument;

// What the editor view controller and the line-number gutter need of a text view, whichever kind
// shows the document: the code editor for plain text, or the rich-text view (which honours
// paragraph alignment). Both offer the same editing commands through the responder chain.
class EditorView : public ActionResponder
{
public:
    EditorView()
        : ActionResponder(CommandHandler::textView)
    {}
    ~EditorView() override = default;

    virtual QWidget *widget() = 0;
    virtual TextDocument *document() const = 0;

    // Text changes, caret moves and dropped files; see EditorViewNotifier.
    EditorViewNotifier *notifier() { return &m_notifier; }

    // Takes the view out of service when the editor replaces it, which a switch between plain and
    // rich text does even from inside this view's own undo, redo or key handler: the view drops
    // every connection to its notifier, lets go of the find bar and the storage (and its dialogs),
    // and hides. Its owner then deletes it from the event loop, never on the spot, since it may
    // still be on the call stack. Code that goes on after an undo, a redo or a reload asks
    // isRetired() before touching the view again; a retired view performs no command.
    void retire()
    {
        if (m_retired)
            return;
        m_retired = true;
        m_notifier.disconnect();
        setFindBar(nullptr);
        widget()->hide();
        releaseStorage();
    }
    bool isRetired() const { return m_retired; }

    // Indentation settings, which the controller keeps in step with the preferences and the
    // document. A new view starts from EditorViewSettings' defaults.
    const EditorViewSettings &settings() const { return m_settings; }
    void setSettings(const EditorViewSettings &settings)
    {
        m_settings = settings;
        settingsDidChange();
    }

    // Where the view learns the lexer state at the start of a line (0-based) for the lexer given,
    // when its owner knows it (the highlighter's, once it has lexed the lines before). Without an
    // answer the view lexes from the initial state, as it does for the first line.
    using LexStates = std::function<std::optional<LexState>(const Lexer &lexer, qint64 line)>;
    void setLexStates(LexStates states) { m_lexStates = std::move(states); }
    LexState lexStateAtLineStart(const Lexer &lexer, qint64 line) const
    {
        const std::optional<LexState> known =
            m_lexStates && line > 0 ? m_lexStates(lexer, line) : std::nullopt;
        return known.value_or(LexState::initial());
    }

    // The tab width the last applyFont was given (at least 1).
    int tabWidth() const { return m_tabWidth; }

    virtual void setHighlightCurrentLine(bool on) = 0;
    virtual bool highlightsCurrentLine() const = 0;
    virtual void setWordWrap(bool on) = 0;
    // Font and tab stops for plain text (rich text keeps its own fonts); records tabWidth.
    virtual void applyFont(const QFont &font, int tabWidth) = 0;
    virtual void configureAsCodeEditor() = 0;
    // The find bar searching this view; null detaches the one it had.
    virtual void setFindBar(FindBar *findBar) = 0;
    // Marks over the text: replaces the selections of layer and keeps those of the others.
    virtual void setExtraSelections(ExtraSelectionLayers::Layer layer,
                                    QList<QTextEdit::ExtraSelection> selections) = 0;

    virtual QTextCursor textCursor() const = 0;
    virtual void setTextCursor(const QTextCursor &cursor) = 0;
    // Scrolls so that the caret is visible, centred vertically.
    virtual void centerCursor() = 0;

    // Layout queries for the gutter, in the coordinates of viewport().
    virtual QWidget *viewport() const = 0;
    virtual QTextBlock firstVisibleBlock() const = 0;
    // The block's rectangle, and the height of its first visual row.
    virtual QRectF blockRect(const QTextBlock &block) const = 0;
    virtual qreal firstRowHeight(const QTextBlock &block) const = 0;
    // The text in the viewport, in storage offsets and text order: for each line in view, what its
    // rows in view hold (of an unwrapped line, the part between the left and right edges). A
    // character cut by an edge may be in or out. However long the lines, this is about as much text
    // as the viewport can show.
    virtual std::vector<TextRange> visibleRanges() const = 0;

protected:
    // After setSettings: a view that shows something the settings switch refreshes it.
    virtual void settingsDidChange() {}
    // The next view may give the storage a layout of the other kind, from which this one cannot
    // draw: a retired view shows an empty document of its own until it is deleted.
    virtual void releaseStorage() = 0;
    void setTabWidth(int tabWidth) { m_tabWidth = std::max(tabWidth, 1); }

private:
    EditorViewNotifier m_notifier;
    EditorViewSettings m_settings;
    LexStates m_lexStates;
    int m_tabWidth = 4;
    bool m_retired = false;
};

} // namespace plumeo
