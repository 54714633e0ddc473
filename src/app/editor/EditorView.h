#pragma once

#include "ActionResponder.h"
#include "syntax/Language.h"
#include "text/IndentStyle.h"

#include <functional>

#include <QRectF>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QWidget>

class QFont;
class QTextDocument;

namespace plumeo {

class FindBar;
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

    // Takes the view out of service when the editor replaces it, which a switch between plain and
    // rich text does even from inside this view's own undo, redo or key handler: the view lets go
    // of every callback, the find bar and the storage (and its dialogs), and hides. Its owner then
    // deletes it from the event loop, never on the spot, since it may still be on the call stack.
    // Code that goes on after an undo, a redo or a reload asks isRetired() before touching the view
    // again; a retired view performs no command.
    void retire()
    {
        if (m_retired)
            return;
        m_retired = true;
        onTextChanged = nullptr;
        onSelectionChanged = nullptr;
        languageProvider = nullptr;
        onOpenFiles = nullptr;
        setFindBar(nullptr);
        widget()->hide();
        releaseStorage();
    }
    bool isRetired() const { return m_retired; }

    // Called after every change of the text, and after every move of the caret or selection.
    std::function<void()> onTextChanged;
    std::function<void()> onSelectionChanged;
    // The document's current language, for comment commands.
    std::function<Language()> languageProvider;
    // Files dropped on the view.
    std::function<void(const QStringList &paths)> onOpenFiles;

    // Settings the controller keeps in step with the preferences and the document.
    IndentStyle indentStyle{false, 4};
    bool indentStyleFromPreferences = true;
    bool autoIndent = true;
    int tabWidth = 4;
    virtual void setHighlightCurrentLine(bool on) = 0;
    virtual bool highlightsCurrentLine() const = 0;
    virtual void setWordWrap(bool on) = 0;
    // Font and tab stops for plain text (rich text keeps its own fonts).
    virtual void applyFont(const QFont &font, int tabWidth) = 0;
    virtual void configureAsCodeEditor() = 0;
    // The find bar searching this view; null detaches the one it had.
    virtual void setFindBar(FindBar *findBar) = 0;

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

protected:
    // The next view may give the storage a layout of the other kind, from which this one cannot
    // draw: a retired view shows an empty document of its own until it is deleted.
    virtual void releaseStorage() = 0;

private:
    bool m_retired = false;
};

} // namespace plumeo
