#include "HostedWindowController.h"

#include "PanelColours.h"
#include "WindowFrames.h"
#include "WindowMotion.h"
#include "text/Localization.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace plumeo {

void HostedWindowController::leaveFramesAloneForThisRun()
{
    WindowFrames::leaveAloneForThisRun();
}

HostedWindowController::HostedWindowController(Description description, QObject *parent)
    : QObject(parent)
    , m_description(std::move(description))
{
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &HostedWindowController::retitle);
    // A window still open when the application quits keeps where the user left it.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
            if (m_window && m_window->isVisible())
                rememberFrame();
        });
}

HostedWindowController::~HostedWindowController()
{
    if (m_window && m_window->isVisible())
        rememberFrame();
    delete m_window.data();
}

QString HostedWindowController::frameKey() const
{
    return WindowFrames::key(m_description.autosaveName);
}

void HostedWindowController::show(bool resizable)
{
    // The close action holds the controller weakly: a content widget that outlives it (in a
    // queued event) must not reach a controller that is gone.
    QPointer<HostedWindowController> self(this);
    QWidget *content = m_description.content([self] {
        if (self)
            self->close();
    });
    if (m_window) {
        retitle();
        setContent(content);
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
        return;
    }
    createWindow(resizable);
    setContent(content);
    WindowMotion::fadeIn(m_window);
}

void HostedWindowController::close()
{
    if (m_window)
        m_window->close();
}

void HostedWindowController::retitle()
{
    if (m_window && m_description.title)
        m_window->setWindowTitle(m_description.title());
}

void HostedWindowController::createWindow(bool resizable)
{
    auto *window = new QWidget(nullptr, Qt::Window);
    m_window = window;
    window->setObjectName(m_description.autosaveName);
    PanelColours::applyPanel(window);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (resizable) {
        window->resize(m_description.size);
    } else {
        window->setFixedSize(m_description.size);
        // No maximise button for a window that cannot change size.
        window->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    }
    retitle();
    window->installEventFilter(this);

    if (!WindowFrames::restore(window, m_description.autosaveName)) {
        QWidget *active = QApplication::activeWindow();
        QScreen *screen = active ? active->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frameRect(QPoint(), window->size());
            frameRect.moveCenter(screen->availableGeometry().center());
            window->move(frameRect.topLeft());
        }
    }
    if (!resizable)
        window->setFixedSize(m_description.size);
}

void HostedWindowController::setContent(QWidget *content)
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    if (!content)
        return;
    content->setParent(m_window);
    static_cast<QVBoxLayout *>(m_window->layout())->addWidget(content);
    content->show();
}

void HostedWindowController::rememberFrame()
{
    WindowFrames::remember(m_window, m_description.autosaveName);
}

bool HostedWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Hide)
        rememberFrame();
    return QObject::eventFilter(watched, event);
}

} // namespace plumeo
