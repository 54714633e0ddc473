#include "help/HelpWindowController.h"

#include "help/HelpBrowser.h"
#include "help/HelpGuide.h"
#include "text/Localization.h"
#include "windows/WindowFrames.h"
#include "windows/WindowMotion.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

HelpWindowController &HelpWindowController::shared()
{
    // Parented to the application so that it goes before Qt does.
    static auto *instance = new HelpWindowController(QCoreApplication::instance());
    return *instance;
}

HelpWindowController::HelpWindowController(QObject *parent)
    : QObject(parent)
{
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &HelpWindowController::retranslate);
    // A window still open when the application quits keeps where the user left it.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
            if (m_window && m_window->isVisible())
                WindowFrames::remember(m_window, autosaveName);
        });
}

QString HelpWindowController::title()
{
    return L(u"Aide Plumeo"_s, u"Plumeo Help"_s);
}

void HelpWindowController::makeWindow()
{
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(u"helpWindow"_s);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(1040, 760);
    window->setMinimumSize(640, 420);

    m_browser = new HelpBrowser(window);
    auto *toolbar = new QToolBar(window);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle *style = window->style();
    m_back = toolbar->addAction(style->standardIcon(QStyle::SP_ArrowBack), QString(), m_browser,
                                &QTextBrowser::backward);
    m_forward = toolbar->addAction(style->standardIcon(QStyle::SP_ArrowForward), QString(),
                                   m_browser, &QTextBrowser::forward);
    m_home = toolbar->addAction(QString(), m_browser, &QTextBrowser::home);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);

    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_browser);

    m_window = window;
    retranslate();
    m_browser->setSource(HelpGuide::home());

    // Where the user left it; the first time, centred on the screen of the window the user is
    // working in.
    if (!WindowFrames::restore(window, autosaveName)) {
        QScreen *screen = QApplication::activeWindow() ? QApplication::activeWindow()->screen()
                                                       : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window->move(frame.topLeft());
        }
    }
    window->installEventFilter(this);
}

bool HelpWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Hide)
        WindowFrames::remember(m_window, autosaveName);
    return QObject::eventFilter(watched, event);
}

void HelpWindowController::retranslate()
{
    if (!m_window)
        return;
    m_window->setWindowTitle(title());
    m_back->setText(L(u"Précédent"_s, u"Back"_s));
    m_back->setToolTip(L(u"Page précédente (Alt+←)"_s, u"Previous page (Alt+←)"_s));
    m_forward->setText(L(u"Suivant"_s, u"Forward"_s));
    m_forward->setToolTip(L(u"Page suivante (Alt+→)"_s, u"Next page (Alt+→)"_s));
    m_home->setText(L(u"Sommaire"_s, u"Contents"_s));
    m_home->setToolTip(L(u"Sommaire de l’aide (Alt+↑)"_s, u"Help contents (Alt+↑)"_s));
}

void HelpWindowController::show()
{
    if (!m_window) {
        makeWindow();
        WindowMotion::fadeIn(m_window);
        return;
    }
    bringToFront();
}

void HelpWindowController::show(const QString &section)
{
    const bool first = !m_window;
    if (first)
        makeWindow();
    m_browser->showSection(section);
    if (first)
        WindowMotion::fadeIn(m_window);
    else
        bringToFront();
}

void HelpWindowController::bringToFront()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace plumeo
