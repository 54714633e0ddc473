#include "help/HelpBrowser.h"

#include "Theme.h"
#include "help/HelpGuide.h"
#include "text/Localization.h"

#include <QDesktopServices>
#include <QFile>
#include <QLoggingCategory>
#include <QPalette>
#include <QScrollBar>

namespace plumeo {

namespace {
Q_LOGGING_CATEGORY(helpLog, "plumeo.help")
}

HelpBrowser::HelpBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    // Every link goes through followLink(): QTextBrowser's own handling would open file: and
    // other URLs in place.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
    applyTheme();
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &HelpBrowser::followLanguage);
}

void HelpBrowser::applyTheme()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Theme::background());
    colours.setColor(QPalette::Text, Theme::text());
    colours.setColor(QPalette::Link, Theme::cyan());
    colours.setColor(QPalette::LinkVisited, Theme::cyan());
    setPalette(colours);
    document()->setDefaultStyleSheet(HelpGuide::styleSheet());
    document()->setDocumentMargin(24);
}

void HelpBrowser::followLink(const QUrl &url)
{
    if (HelpGuide::isExternal(url)) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QUrl target = url.isRelative() ? source().resolved(url) : url;
    if (!HelpGuide::contains(target)) {
        qCWarning(helpLog) << "Link outside the guide ignored:" << url.toString();
        return;
    }
    setSource(target);
}

bool HelpBrowser::showSection(const QString &section)
{
    const auto target = HelpGuide::section(section);
    if (!target)
        return false;
    if (source().adjusted(QUrl::RemoveFragment) == target->adjusted(QUrl::RemoveFragment)) {
        scrollToAnchor(section);
        return true;
    }
    setSource(*target);
    return true;
}

void HelpBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    if (!HelpGuide::contains(name)) {
        qCWarning(helpLog) << "Not a page of the guide:" << name.toString();
        return;
    }
    QTextBrowser::doSetSource(name, type);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    const QString folder = HelpGuide::languageFolder();
    if (!HelpGuide::contains(url)) {
        // An empty value, not a null one: on a null one QTextDocument would read a local file
        // itself.
        qCWarning(helpLog) << "Resource outside the guide refused:" << name.toString();
        return QByteArray();
    }
    if (type == QTextDocument::HtmlResource)
        return HelpGuide::render(HelpGuide::source(url, folder));
    QFile file(HelpGuide::resourcePath(url, folder));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void HelpBrowser::followLanguage()
{
    if (source().isEmpty())
        return;
    // The other language's page is about as long: keep the reader where they were.
    const int position = verticalScrollBar()->value();
    reload();
    verticalScrollBar()->setValue(position);
}

} // namespace plumeo
