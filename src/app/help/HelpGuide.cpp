#include "help/HelpGuide.h"

#include "Command.h"
#include "MainMenu.h"
#include "MenuItemInfo.h"
#include "MenuMnemonics.h"
#include "Theme.h"
#include "text/Localization.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

// Resources of a static library are registered by hand, and outside any namespace.
static void registerHelpResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString root = u"/help/"_s;

const QRegularExpression &markerPattern()
{
    static const QRegularExpression pattern(uR"(\{\{keys ([A-Za-z]+:)(?: (\d+))?\}\})"_s);
    return pattern;
}

std::optional<Command> commandNamed(const QString &actionName, int tag)
{
    for (const CommandInfo &info : Commands::table)
        if (info.tag == tag && Commands::actionName(info.command) == actionName)
            return info.command;
    return std::nullopt;
}

// The keys of a command as the menus print them ("Ctrl+Alt+/"); the second key, when there is one,
// after "or".
QString keysOf(Command command)
{
    QStringList keys;
    const CommandInfo &info = Commands::info(command);
    for (const QKeyCombination key : {info.shortcut, info.alternateShortcut})
        if (key.key() != Qt::Key_unknown)
            keys << u"<code>"_s
                        + QKeySequence(key).toString(QKeySequence::PortableText).toHtmlEscaped()
                        + u"</code>"_s;
    return keys.join(L(u" ou "_s, u" or "_s));
}

void tableRows(const QWidget *menu, const QString &path, QString &rows)
{
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        const QString title = MenuMnemonics::plain(action->text());
        if (action->menu()) {
            tableRows(action->menu(), path + u" ▸ "_s + title, rows);
            continue;
        }
        const auto info = MenuItemInfo::of(action);
        if (!info || action->shortcuts().isEmpty())
            continue;
        rows += u"<tr><td>"_s + path.toHtmlEscaped() + u"</td><td>"_s + title.toHtmlEscaped()
                + u"</td><td>"_s + keysOf(info->command) + u"</td></tr>\n"_s;
    }
}

// Built from the menus themselves, so that the guide lists exactly the titles and keys they show.
QString shortcutTable()
{
    QObject delegate;
    const std::unique_ptr<QMenuBar> bar(MainMenu::build(&delegate));
    QString rows;
    for (const QAction *top : bar->actions())
        if (top->menu())
            tableRows(top->menu(), MenuMnemonics::plain(top->text()), rows);
    return u"<table class=\"shortcuts\" width=\"100%\">\n<tr><th>"_s + L(u"Menu"_s, u"Menu"_s)
           + u"</th><th>"_s + L(u"Commande"_s, u"Command"_s) + u"</th><th>"_s
           + L(u"Raccourci"_s, u"Shortcut"_s) + u"</th></tr>\n"_s + rows + u"</table>"_s;
}

QStringList captures(const QString &html, const QRegularExpression &pattern)
{
    QStringList found;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(html))
        found << match.captured(1);
    return found;
}

} // namespace

QString HelpGuide::languageFolder()
{
    return Localization::isEnglish() ? u"en"_s : u"fr"_s;
}

QStringList HelpGuide::files()
{
    registerHelpResources();
    return QDir(u":"_s + root + u"en"_s).entryList(QDir::Files, QDir::Name);
}

QUrl HelpGuide::home()
{
    return url(u"index.html"_s);
}

QUrl HelpGuide::url(const QString &file, const QString &anchor)
{
    QUrl url;
    url.setScheme(u"qrc"_s);
    url.setPath(root + file);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QString HelpGuide::resourcePath(const QUrl &url, const QString &folder)
{
    registerHelpResources();
    if (url.scheme() != u"qrc" || !url.host().isEmpty() || !url.userInfo().isEmpty()
        || url.port() != -1 || url.hasQuery())
        return {};
    const QString path = url.path();
    // Only a plain file name: no folder, no "..", nothing QUrl would have to normalise.
    if (!path.startsWith(root) || QDir::cleanPath(path) != path)
        return {};
    const QString file = path.mid(root.size());
    if (file.isEmpty() || file.contains(u'/') || file.startsWith(u'.'))
        return {};
    if (folder != u"fr" && folder != u"en")
        return {};
    const QString resource = u":"_s + root + folder + u'/' + file;
    return QFile::exists(resource) ? resource : QString();
}

bool HelpGuide::contains(const QUrl &url)
{
    return !resourcePath(url, u"en"_s).isEmpty() && !resourcePath(url, u"fr"_s).isEmpty();
}

bool HelpGuide::isExternal(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"mailto";
}

bool HelpGuide::isAnchorName(const QString &name)
{
    static const QRegularExpression pattern(u"^[A-Za-z][A-Za-z0-9_-]*$"_s);
    return pattern.match(name).hasMatch();
}

std::optional<QUrl> HelpGuide::section(const QString &section)
{
    if (!isAnchorName(section))
        return std::nullopt;
    for (const QString &file : files()) {
        const QUrl page = url(file);
        if (anchorsOf(source(page, u"en"_s)).contains(section))
            return url(file, section);
    }
    return std::nullopt;
}

QStringList HelpGuide::anchorsOf(const QString &html)
{
    static const QRegularExpression pattern(u"<a\\s+name=\"([^\"]*)\""_s);
    return captures(html, pattern);
}

QStringList HelpGuide::linksOf(const QString &html)
{
    static const QRegularExpression pattern(u"\\bhref=\"([^\"]*)\""_s);
    return captures(html, pattern);
}

QString HelpGuide::source(const QUrl &url, const QString &folder)
{
    const QString path = resourcePath(url, folder);
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString HelpGuide::render(const QString &html)
{
    QString shown = html;
    if (shown.contains(u"{{shortcut-table}}"_s))
        shown.replace(u"{{shortcut-table}}"_s, shortcutTable());
    QString result;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &match : markerPattern().globalMatch(shown)) {
        result += QStringView(shown).mid(from, match.capturedStart() - from);
        if (const auto command = commandNamed(match.captured(1), match.captured(2).toInt()))
            result += keysOf(*command);
        from = match.capturedEnd();
    }
    result += QStringView(shown).mid(from);
    return result;
}

QStringList HelpGuide::unknownMarkers(const QString &html)
{
    QStringList unknown;
    for (const QRegularExpressionMatch &match : markerPattern().globalMatch(html)) {
        const auto command = commandNamed(match.captured(1), match.captured(2).toInt());
        if (!command || Commands::info(*command).shortcut.key() == Qt::Key_unknown)
            unknown << match.captured(0);
    }
    static const QRegularExpression anyMarker(uR"(\{\{[^}]*\}\})"_s);
    for (const QRegularExpressionMatch &match : anyMarker.globalMatch(html))
        if (match.captured(0) != u"{{shortcut-table}}"
            && !markerPattern().match(match.captured(0)).hasMatch())
            unknown << match.captured(0);
    return unknown;
}

QString HelpGuide::styleSheet()
{
    const auto hex = [](const QColor &color) { return color.name(QColor::HexRgb); };
    return uR"(body { color: %1; background-color: %2; }
h1 { color: %1; font-size: x-large; font-weight: 600; }
h2 { color: %3; font-size: large; font-weight: 600; margin-top: 18px; }
h3 { color: %1; font-weight: 600; margin-top: 12px; }
a[href] { color: %4; text-decoration: none; }
code { color: %5; background-color: %6; font-family: monospace; }
pre { color: %5; background-color: %6; font-family: monospace; }
th { color: %7; text-align: left; font-weight: 600; padding: 4px 10px 4px 0; }
td { padding: 3px 10px 3px 0; }
.note { color: %7; }
)"_s.arg(hex(Theme::text()), hex(Theme::background()), hex(Theme::accent()), hex(Theme::cyan()),
         hex(Theme::green()), hex(Theme::laneAlt()), hex(Theme::textDim()));
}

} // namespace plumeo
