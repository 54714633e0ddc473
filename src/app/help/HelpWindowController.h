#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QWidget;

namespace plumeo {

class HelpBrowser;

// The help window: the guide in a HelpBrowser under a small toolbar (back, forward, contents). One
// shared instance; its window is made on the first show and kept, hidden, when the user closes it.
// 1040 × 760 when first shown, never smaller than 640 × 420, titled "Aide Plumeo" / "Plumeo Help",
// fading in the first time and opening again where the user left it (autosave name "PlumeoHelp");
// the title, the toolbar and the page follow a change of interface language at once.
class HelpWindowController : public QObject
{
    Q_OBJECT
public:
    static HelpWindowController &shared();

    // Brings the window to the front. The first show opens the guide's contents; later shows leave
    // the page the user was reading as it is.
    void show();
    // Brings the window to the front at the section of the guide named section (an anchor name,
    // e.g. "line-endings"). A name that is not one shows the window as show() does.
    void show(const QString &section);

    // The window, or null before the first show.
    QWidget *window() const { return m_window; }
    HelpBrowser *browser() const { return m_browser; }

    static QString title();
    static constexpr QLatin1StringView autosaveName{"PlumeoHelp"};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit HelpWindowController(QObject *parent = nullptr);
    void makeWindow();
    void retranslate();
    void bringToFront();

    QPointer<QWidget> m_window;
    HelpBrowser *m_browser = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QAction *m_home = nullptr;
};

} // namespace plumeo
