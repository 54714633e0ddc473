#pragma once

#include "ActionResponder.h"
#include "DocumentCommands.h"
#include "text/LineIndex.h"

#include <functional>
#include <optional>
#include <vector>

#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QHBoxLayout;
class QVBoxLayout;

namespace plumeo {

class DocumentNotices;
class EditorModel;
class EditorView;
class FindBar;
class NoticeBar;
class LineNumberGutter;
class StatusBar;
class SyntaxHighlighter;
class TextDocument;
class VersionsWindow;

// One editor for one document, inside a window tab: the text view (the code editor for plain text,
// the rich-text view for RTF), the line-number gutter on its left, the find bar under it, and the
// syntax highlighter on the document's text storage. It keeps them in step with the document (its
// language, encoding, line ending, plain or rich mode, reloads) and with the preferences, and
// handles the editor's menu commands. It owns its document's File commands; the document itself
// belongs to the document controller, which the editor never calls: what it cannot do alone (open
// dropped files, show a converted copy) it asks for with a signal its owner connects.
class EditorViewController : public QWidget, public ActionResponder
{
    Q_OBJECT
public:
    explicit EditorViewController(TextDocument *document, QWidget *parent = nullptr);
    ~EditorViewController() override;

    TextDocument *document() const { return m_document; }
    DocumentCommands &commands() { return m_commands; }
    EditorView *editorView() const { return m_view; }
    // The widget that takes the keyboard focus.
    QWidget *textView() const;
    LineNumberGutter *gutter() const { return m_gutter; }
    SyntaxHighlighter *highlighter() const { return m_highlighter; }
    FindBar *findBar() const { return m_findBar; }
    // The strip above the text for what needs the user's answer (file changed on disk, a stream
    // still arriving).
    NoticeBar *noticeBar() const { return m_noticeBar; }
    // The status bar along the bottom, and what it shows.
    EditorModel *model() const { return m_model; }
    StatusBar *statusBar() const { return m_statusBar; }

    // The line index of the document's text, built when first needed after each change.
    const LineIndex &lineIndex();

    void applyPreferences();
    void documentDidReload();
    void refreshDocumentState();
    // The caret's place and the selection, from the storage's blocks: no whole-text work, so that
    // it can run on every keystroke and caret move.
    void updateCaretStatus();
    // Counts the lines and words 0.3 s after the last call; an earlier pending count is dropped.
    void scheduleStatistics();
    void updateStatistics();
    // Moves the caret to the start of 1-based line, clamped to the text, and centres it.
    void goToLine(qint64 line);
    // Moves the caret to 1-based line and column (UTF-16 units), each clamped to the text (a
    // column past the line's end is its end), and centres it.
    void goToPlace(qint64 line, qint64 column);
    // Runs action now, or once the text of a file still loading is all in (a place in it may not be
    // there yet).
    void whenLoaded(std::function<void()> action);
    // The line number typed in the go-to-line dialog: an optional sign and decimal digits, nothing
    // else.
    static std::optional<qint64> parseLineNumber(const QString &text);
    // Converts to rich or plain text: a copy for a document with a file (announced with
    // documentDuplicated), in place otherwise. Returns the converted document, or null when a copy
    // was made and nobody adopted it.
    TextDocument *toggleRichText();
    // Whether the document's file has earlier versions to browse (plain text only).
    bool hasVersions() const;
    // Opens, or brings to the front, the window of the document's earlier versions; a version
    // restored there replaces the text as one undoable edit.
    VersionsWindow *showVersions();

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

Q_SIGNALS:
    // Files were dropped on the editor: its owner opens them.
    void openFilesRequested(const QStringList &paths);
    // A copy of the document was made (Duplicate, or converting a saved file). It has no owner yet:
    // a receiver adopts it (gives it a parent) and shows it; otherwise it is deleted.
    void documentDuplicated(TextDocument *copy);
    // The user asked to stop opening the document: its window closes it.
    void closeRequested();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildTextView();
    void textDidChange();
    void selectionDidChange();
    void updateGutterWidth(qreal thickness);
    bool isHighlighted() const;
    void applyWordWrap(bool on);
    // The user's word wrap, unless the text has lines too long to wrap.
    void applyWrapping();
    void showGoToLineDialog();
    void pickEncoding(quint64 raw);
    void openFiles(const QStringList &paths);
    void noteViewPosition();
    void restoreViewPosition();
    void applyLoadingState();
    void showLoadProgress();
    void loadingDidChange();
    void detectIndentation();
    // Whether the highlighter colours the text now.
    bool colours() const;

    QPointer<TextDocument> m_document;
    DocumentCommands m_commands;
    QHBoxLayout *m_layout;
    QVBoxLayout *m_column;
    EditorView *m_view = nullptr;
    LineNumberGutter *m_gutter;
    FindBar *m_findBar;
    NoticeBar *m_noticeBar;
    DocumentNotices *m_notices;
    EditorModel *m_model;
    StatusBar *m_statusBar;
    QTimer m_statisticsTimer;
    // Where the caret and the scroll bars were before the file was read again from disk.
    struct ViewPosition
    {
        int caretLine = 0;
        int caretColumn = 0;
        int vertical = 0;
        int horizontal = 0;
    };
    std::optional<ViewPosition> m_positionBeforeReload;
    std::vector<std::function<void()>> m_whenLoaded;
    SyntaxHighlighter *m_highlighter = nullptr;
    std::optional<QString> m_lexerName;
    std::optional<LineIndex> m_lineIndexCache;
    std::optional<QFont> m_lastAppliedFont;
    std::optional<bool> m_lastWordWrap;
    QPointer<VersionsWindow> m_versionsWindow;
};

} // namespace plumeo
