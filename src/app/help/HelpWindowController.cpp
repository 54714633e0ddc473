#include "help/HelpWindowController.h"

#include "help/HelpBrowser.h"
#include "help/HelpGuide.h"
#include "text/Localization.h"

#include <QAction>
#include <QApplication>
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

    // Centred on the screen of the window the user is working in.
    QScreen *screen = QApplication::activeWindow() ? QApplication::activeWindow()->screen()
                                                   : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
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
    if (!m_window)
        makeWindow();
    bringToFront();
}

void HelpWindowController::show(const QString &section)
{
    if (!m_window)
        makeWindow();
    m_browser->showSection(section);
    bringToFront();
}

void HelpWindowController::bringToFront()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace plumeo
