#pragma once

#include "ActionResponder.h"

#include <vector>

#include <QMainWindow>

class QTabWidget;

namespace plumeo {

class DocumentCommands;
class EditorViewController;
class TextDocument;

// An editor window: its documents are tabs (new documents open as tabs of the frontmost window), it
// carries the menu bar, and it asks before closing a tab or itself with unsaved changes. Its frame
// is remembered across launches. It handles the window commands of the menus.
class EditorWindowController : public QMainWindow, public ActionResponder
{
    Q_OBJECT
public:
    explicit EditorWindowController(QWidget *parent = nullptr);
    ~EditorWindowController() override;

    // Every open editor window, oldest first.
    static const std::vector<EditorWindowController *> &all();
    // The active editor window, else the one most recently active.
    static EditorWindowController *frontmost();

    // Adds a tab for document (taking ownership) and makes it current.
    EditorViewController *addDocument(TextDocument *document);
    // Takes a tab out without closing its document (to move it to another window).
    TextDocument *takeDocument(TextDocument *document);
    TextDocument *currentDocument() const;
    std::vector<TextDocument *> documents() const;
    EditorViewController *editorFor(const TextDocument *document) const;
    void showDocument(const TextDocument *document);

    // Closes document's tab, asking first when it has unsaved changes. False when the user
    // cancelled or saving failed.
    bool closeDocument(TextDocument *document);
    // Closes every tab, asking as needed; false when one could not be closed.
    bool closeAllDocuments();

    // The responders this window adds to the chain: the current document's commands, then itself.
    std::vector<ActionResponder *> responders();

    // Rebuilds the menu bar in the current interface language.
    void rebuildMenuBar();

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    static QString autosaveName() { return QStringLiteral("PlumeoEditor"); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateTitles();
    void saveFrame();
    void moveCurrentTabToNewWindow();

    QTabWidget *m_tabs;
    std::vector<DocumentCommands *> m_commands;
};

} // namespace plumeo
