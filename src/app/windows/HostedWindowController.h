#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

class QWidget;

namespace plumeo {

// One auxiliary window (About, Keyboard Shortcuts, Settings, …) around a content widget: a fixed
// content size, the dark panel background, a title in the interface language, and a frame
// remembered across launches under its autosave name (in UserDefaults, as "windowFrame." + autosave
// name).
//
// The window is made on the first show() and kept for the life of the controller: closing only
// hides it. Every show() builds the content afresh from the factory (so it reflects the settings
// and state of the moment), sets the current title and brings the window to the front; the first
// one also restores the remembered frame or, with none, centres the window on the active window's
// screen, and fades the window in (see WindowMotion). The title follows every change of the
// interface language by itself; the content is expected to follow it too.
//
// The application's windows are single instances reached through HostedWindows; a controller can
// also be made on its own (tests do).
class HostedWindowController : public QObject
{
    Q_OBJECT
public:
    // Builds the content. close() closes (hides) this controller's window and does nothing once the
    // controller is gone, so a content widget may keep it.
    using ContentFactory = std::function<QWidget *(std::function<void()> close)>;

    struct Description
    {
        QSize size;                     // of the content of a new window
        QString autosaveName;           // "PlumeoAbout"
        std::function<QString()> title; // asked at every show and language change
        ContentFactory content;
    };

    explicit HostedWindowController(Description description, QObject *parent = nullptr);
    // Its window goes with it, its frame remembered when it is shown.
    ~HostedWindowController() override;

    // Shows the window (made on first use) with fresh content; resizable only when asked.
    void show(bool resizable = false);
    // Hides the window, remembering its frame.
    void close();

    // Null until the first show().
    QWidget *window() const { return m_window; }
    // The content widget of the last show(), or null.
    QWidget *content() const { return m_content; }
    const Description &description() const { return m_description; }
    QString frameKey() const;

    // Sets the window's title from the title provider (done on every language change).
    void retitle();

    // For the rest of the run no frame is remembered (a snapshot shows windows but is no use of
    // them); remembered frames are still restored.
    static void leaveFramesAloneForThisRun();

private:
    void createWindow(bool resizable);
    void setContent(QWidget *content);
    void rememberFrame();
    bool eventFilter(QObject *watched, QEvent *event) override;

    Description m_description;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_content;
};

} // namespace plumeo
