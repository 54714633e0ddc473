#include "editor/EditorWindowController.h"

#include "Alerts.h"
#include "MenuMnemonics.h"
#include "Theme.h"
#include "document/TextDocument.h"
#include "editor/EditorViewController.h"
#include "text/Localization.h"
#include "windows/WindowFrames.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

namespace plumeo {

namespace {

std::vector<EditorWindowController *> &windows()
{
    static std::vector<EditorWindowController *> list;
    return list;
}

// Most recently active first.
std::vector<EditorWindowController *> &activationOrder()
{
    static std::vector<EditorWindowController *> list;
    return list;
}

} // namespace

EditorWindowController::EditorWindowController(MenuBarFactory menuBarFactory, QWidget *parent)
    : QMainWindow(parent)
    , ActionResponder(CommandHandler::window)
    , m_menuBarFactory(std::move(menuBarFactory))
    , m_tabs(new QTabWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(420, 260);
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    m_tabs->tabBar()->setAutoHide(true);
    setCentralWidget(m_tabs);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::background());
    setPalette(colours);

    // The remembered frame for the first window; later ones cascade from the frontmost.
    EditorWindowController *previous = frontmost();
    if (previous) {
        resize(previous->size());
        move(previous->pos() + QPoint(24, 24));
    } else if (!WindowFrames::restore(this, autosaveName())) {
        resize(980, 680);
    }

    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (auto *editor = qobject_cast<EditorViewController *>(m_tabs->widget(index)))
            closeDocument(editor->document());
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        updateTitles();
        if (auto *editor = qobject_cast<EditorViewController *>(m_tabs->currentWidget()))
            if (editor->textView())
                editor->textView()->setFocus();
    });
    addTabSwitchingKeys();
    // An untitled document's name is in the interface language, and Qt tells windows of a change
    // only when its own catalogue changes, later, from the event loop.
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &EditorWindowController::updateTitles);
    windows().push_back(this);
    activationOrder().insert(activationOrder().begin(), this);
    rebuildMenuBar();
}

EditorWindowController::~EditorWindowController()
{
    // The documents outlive this window (their controller owns them): their signals must not reach
    // it while its base class takes the tabs down.
    for (TextDocument *document : documents())
        disconnect(document, nullptr, this, nullptr);
    std::erase(windows(), this);
    std::erase(activationOrder(), this);
}

const std::vector<EditorWindowController *> &EditorWindowController::all()
{
    return windows();
}

EditorWindowController *EditorWindowController::frontmost()
{
    if (auto *active = qobject_cast<EditorWindowController *>(QApplication::activeWindow()))
        return active;
    for (EditorWindowController *window : activationOrder())
        if (window->isVisible())
            return window;
    return activationOrder().empty() ? nullptr : activationOrder().front();
}

void EditorWindowController::rebuildMenuBar()
{
    if (m_menuBarFactory)
        setMenuBar(m_menuBarFactory()); // the old bar is deleted by the window
}

EditorViewController *EditorWindowController::addDocument(TextDocument *document)
{
    auto *editor = new EditorViewController(document, m_tabs);
    connect(editor, &EditorViewController::openFilesRequested, this,
            &EditorWindowController::openFilesRequested);
    connect(editor, &EditorViewController::documentDuplicated, this,
            &EditorWindowController::documentDuplicated);
    // Queued: the request comes from a button of the editor that closing deletes.
    connect(
        editor, &EditorViewController::closeRequested, this,
        [this, document = QPointer<TextDocument>(document)] {
            if (document)
                closeDocument(document);
        },
        Qt::QueuedConnection);
    connect(document, &TextDocument::editedChanged, this, &EditorWindowController::updateTitles);
    connect(document, &TextDocument::fileChanged, this, &EditorWindowController::updateTitles);
    const int index = m_tabs->addTab(editor, MenuMnemonics::escaped(document->displayName()));
    m_tabs->setCurrentIndex(index);
    updateTitles();
    if (editor->textView())
        editor->textView()->setFocus();
    return editor;
}

TextDocument *EditorWindowController::takeDocument(TextDocument *document)
{
    EditorViewController *editor = editorFor(document);
    if (!editor)
        return nullptr;
    m_tabs->removeTab(m_tabs->indexOf(editor));
    disconnect(document, nullptr, this, nullptr);
    delete editor;
    updateTitles();
    return document;
}

EditorViewController *EditorWindowController::currentEditor() const
{
    return qobject_cast<EditorViewController *>(m_tabs->currentWidget());
}

TextDocument *EditorWindowController::currentDocument() const
{
    EditorViewController *editor = currentEditor();
    return editor ? editor->document() : nullptr;
}

std::vector<TextDocument *> EditorWindowController::documents() const
{
    std::vector<TextDocument *> list;
    for (int i = 0; i < m_tabs->count(); ++i)
        if (auto *editor = qobject_cast<EditorViewController *>(m_tabs->widget(i)))
            list.push_back(editor->document());
    return list;
}

EditorViewController *EditorWindowController::editorFor(const TextDocument *document) const
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (auto *editor = qobject_cast<EditorViewController *>(m_tabs->widget(i)))
            if (editor->document() == document)
                return editor;
    return nullptr;
}

void EditorWindowController::showDocument(const TextDocument *document)
{
    if (EditorViewController *editor = editorFor(document))
        m_tabs->setCurrentWidget(editor);
}

bool EditorWindowController::closeDocument(TextDocument *document)
{
    EditorViewController *editor = editorFor(document);
    if (!editor)
        return true;
    if (document->isEdited() && !document->isKeptForNextLaunch()) {
        m_tabs->setCurrentWidget(editor);
        document->protectUnsavedChanges();
        switch (Alerts::askToSave(this, document->displayName())) {
        case Alerts::SaveChoice::cancel:
            return false;
        case Alerts::SaveChoice::save:
            if (!editor->commands().report(editor->commands().save()))
                return false;
            break;
        case Alerts::SaveChoice::dontSave:
            break;
        }
    }
    m_tabs->removeTab(m_tabs->indexOf(editor));
    disconnect(document, nullptr, this, nullptr);
    delete editor;
    Q_EMIT documentClosed(document);
    updateTitles();
    if (m_tabs->count() == 0)
        close();
    return true;
}

bool EditorWindowController::closeAllDocuments()
{
    for (TextDocument *document : documents())
        if (!closeDocument(document))
            return false;
    return true;
}

std::vector<ActionResponder *> EditorWindowController::responders()
{
    std::vector<ActionResponder *> list;
    if (EditorViewController *editor = currentEditor())
        list.push_back(&editor->commands());
    list.push_back(this);
    return list;
}

void EditorWindowController::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

std::vector<ActionResponder *> EditorWindowController::respondersOf(QWidget *window)
{
    if (auto *editorWindow = qobject_cast<EditorWindowController *>(window))
        return editorWindow->responders();
    return {};
}

void EditorWindowController::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (item.command == Command::moveTabToNewWindow)
        state.enabled = m_tabs->count() > 1;
    else if (item.command == Command::toggleFullScreen)
        state.title =
            isFullScreen()
                ? L(QStringLiteral("Quitter le plein écran"), QStringLiteral("Exit Full Screen"))
                : L(QStringLiteral("Passer en plein écran"), QStringLiteral("Enter Full Screen"));
}

void EditorWindowController::perform(const MenuItemInfo &item)
{
    switch (item.command) {
    case Command::performClose:
        if (TextDocument *document = currentDocument())
            closeDocument(document);
        else
            close();
        break;
    case Command::performMiniaturize:
        showMinimized();
        break;
    case Command::performZoom:
        isMaximized() ? showNormal() : showMaximized();
        break;
    case Command::toggleFullScreen:
        isFullScreen() ? showNormal() : showFullScreen();
        break;
    case Command::moveTabToNewWindow:
        moveCurrentTabToNewWindow();
        break;
    default:
        break;
    }
}

void EditorWindowController::addTabSwitchingKeys()
{
    // The keys every tabbed Linux application answers: Ctrl+Page Down and Ctrl+Tab go right,
    // Ctrl+Page Up and Ctrl+Shift+Tab go left, round from the last tab to the first.
    const auto bind = [this](QList<QKeySequence> keys, int step) {
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, this, [this, step] { selectTab(step); });
        }
    };
    bind(QKeySequence::keyBindings(QKeySequence::NextChild)
             << QKeySequence(Qt::CTRL | Qt::Key_PageDown),
         +1);
    bind(QKeySequence::keyBindings(QKeySequence::PreviousChild) << QKeySequence(
             Qt::CTRL | Qt::SHIFT | Qt::Key_Tab) << QKeySequence(Qt::CTRL | Qt::Key_PageUp),
         -1);
}

void EditorWindowController::selectTab(int step)
{
    if (const int count = m_tabs->count(); count > 1)
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
}

void EditorWindowController::moveCurrentTabToNewWindow()
{
    TextDocument *document = currentDocument();
    if (document && m_tabs->count() > 1)
        Q_EMIT newWindowRequested(document);
}

void EditorWindowController::updateTitles()
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (auto *editor = qobject_cast<EditorViewController *>(m_tabs->widget(i))) {
            TextDocument *document = editor->document();
            const QString name = MenuMnemonics::escaped(document->displayName());
            m_tabs->setTabText(i, document->isEdited() ? QStringLiteral("● ") + name : name);
            m_tabs->setTabToolTip(i, document->filePath());
        }
    }
    TextDocument *document = currentDocument();
    setWindowTitle(document ? document->displayName() + QStringLiteral("[*] — Plumeo")
                            : QStringLiteral("Plumeo"));
    setWindowModified(document && document->isEdited());
    setWindowFilePath(document ? document->filePath() : QString());
}

void EditorWindowController::saveFrame()
{
    WindowFrames::remember(this, autosaveName());
}

void EditorWindowController::closeEvent(QCloseEvent *event)
{
    if (!closeAllDocuments()) {
        event->ignore();
        return;
    }
    saveFrame();
    event->accept();
}

void EditorWindowController::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        std::erase(activationOrder(), this);
        activationOrder().insert(activationOrder().begin(), this);
    } else if (event->type() == QEvent::LanguageChange) {
        updateTitles();
    }
    QMainWindow::changeEvent(event);
}

} // namespace plumeo
