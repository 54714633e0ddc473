#pragma once

#include "ActionResponder.h"
#include "syntax/Language.h"
#include "text/IndentStyle.h"

#include <functional>

#include <QRectF>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>

class QFont;
class QTextDocument;
class QWidget;

namespace plumeo {

class FindBar;
class TextDocument;

// What the editor view controller and the line-number gutter need of a text view, whichever kind
// shows the document: the code editor for plain text, or the rich-text view (which honours
// paragraph alignment). Both offer the same editing commands through the responder chain.
class EditorView : public ActionResponder
{
public:
    ~EditorView() override = default;

    virtual QWidget *widget() = 0;
    virtual TextDocument *document() const = 0;

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
};

} // namespace plumeo
