#pragma once

#include "ActionResponder.h"

#include <functional>
#include <vector>

#include <QMainWindow>

class QMenuBar;
class QTabWidget;

namespace plumeo {

class EditorViewController;
class TextDocument;

// An editor window: its documents are tabs (new documents open as tabs of the frontmost window), it
// carries the menu bar, and it asks before closing a tab or itself with unsaved changes. Its frame
// is remembered across launches. It handles the window commands of the menus.
//
// The window shows documents it does not own: they belong to the document controller, which it
// tells, with signals, when a tab closes and what its editors ask for.
class EditorWindowController : public QMainWindow, public ActionResponder
{
    Q_OBJECT
public:
    // Makes a menu bar for a window (in the interface language of the moment); none without one.
    using MenuBarFactory = std::function<QMenuBar *()>;

    explicit EditorWindowController(MenuBarFactory menuBarFactory = {}, QWidget *parent = nullptr);
    ~EditorWindowController() override;

    // Every open editor window, oldest first.
    static const std::vector<EditorWindowController *> &all();
    // The active editor window, else the one most recently active.
    static EditorWindowController *frontmost();

    // Adds a tab for document and makes it current.
    EditorViewController *addDocument(TextDocument *document);
    // Takes a tab out without closing its document (to move it to another window): its editor
    // goes, the document stays.
    TextDocument *takeDocument(TextDocument *document);
    TextDocument *currentDocument() const;
    std::vector<TextDocument *> documents() const;
    EditorViewController *editorFor(const TextDocument *document) const;
    void showDocument(const TextDocument *document);

    // Closes document's tab, asking first when it has unsaved changes, then announces
    // documentClosed. False when the user cancelled or saving failed.
    bool closeDocument(TextDocument *document);
    // Closes every tab, asking as needed; false when one could not be closed.
    bool closeAllDocuments();

    // The responders this window adds to the chain: the current document's commands, then itself.
    std::vector<ActionResponder *> responders();
    // The same for any window: none unless it is an editor window.
    static std::vector<ActionResponder *> respondersOf(QWidget *window);

    // Shows the window in front of the others with the keyboard focus, out of the dock or task bar
    // when it was minimised (keeping it maximised or full screen if it was).
    void bringToFront();

    // Rebuilds the menu bar in the current interface language.
    void rebuildMenuBar();

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    static QString autosaveName() { return QStringLiteral("PlumeoEditor"); }

Q_SIGNALS:
    // The tab of document closed: the document is no longer shown here.
    void documentClosed(TextDocument *document);
    // The user asked to move document's tab to a window of its own.
    void newWindowRequested(TextDocument *document);
    // From the editors: files dropped on them, and copies they made (see
    // EditorViewController::documentDuplicated).
    void openFilesRequested(const QStringList &paths);
    void documentDuplicated(TextDocument *copy);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateTitles();
    void saveFrame();
    void moveCurrentTabToNewWindow();
    void addTabSwitchingKeys();
    // Shows the tab step places away (negative: to the left), wrapping round.
    void selectTab(int step);

    EditorViewController *currentEditor() const;

    MenuBarFactory m_menuBarFactory;
    QTabWidget *m_tabs;
};

} // namespace plumeo
