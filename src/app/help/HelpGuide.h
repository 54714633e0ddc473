#pragma once

#include <optional>

#include <QString>
#include <QStringList>
#include <QUrl>

namespace plumeo {

// The user's guide compiled into the resources: one folder per interface language
// (":/help/fr/", ":/help/en/") holding the same files under the same names, with the same
// anchors.
//
// A page is addressed by a language-neutral URL, "qrc:/help/<file>" (with an optional fragment);
// it reads in the interface language of the moment, so that history, links and anchors survive a
// change of language. Nothing outside those two folders is ever part of the guide: no other
// scheme, no host, no "..", no other resource.
namespace HelpGuide {

// The folder of the interface language of the moment: "fr" or "en".
QString languageFolder();
// The files of the guide (file names, not paths), the same in both folders, sorted.
QStringList files();

// The entry page, "qrc:/help/index.html".
QUrl home();
// qrc:/help/<file>, with anchor as fragment when it is not empty.
QUrl url(const QString &file, const QString &anchor = {});

// Whether url names a file of the guide (its fragment aside). Relative URLs are never part of the
// guide: resolve them against the page first.
bool contains(const QUrl &url);
// The resource path of a guide URL in the given language folder (":/help/en/index.html"), or an
// empty string for a URL outside the guide.
QString resourcePath(const QUrl &url, const QString &folder);
// Links that leave the guide for the desktop's own handler: http, https and mailto.
bool isExternal(const QUrl &url);

// Whether name can be an anchor of the guide: a letter, then letters, digits, '-' and '_'. Anything
// else (spaces, quotes, '#', '/') is not looked up at all.
bool isAnchorName(const QString &name);
// The page holding the anchor named section, as a URL with that fragment; nothing when section is
// not an anchor name or no page has it.
std::optional<QUrl> section(const QString &section);
// The anchors defined by a page's HTML (<a name="…">).
QStringList anchorsOf(const QString &html);
// The targets of a page's links (href values), in order, as written.
QStringList linksOf(const QString &html);

// The raw HTML of a guide URL in a language folder, as compiled in; empty when it is not one.
QString source(const QUrl &url, const QString &folder);
// The page as shown: the raw HTML with each key marker "{{keys ACTION}}" or "{{keys ACTION TAG}}"
// (a command's action name and tag, as the command table gives them) replaced by the command's
// keys as the menus show them, and "{{shortcut-table}}" by the table of every menu item that has a
// shortcut, in the interface language of the moment. An unknown marker is removed.
QString render(const QString &html);
// The markers of html that name no command of the table (a typo in a page).
QStringList unknownMarkers(const QString &html);

// The guide's style sheet, drawn from the theme's colours so that it reads on the dark background.
QString styleSheet();

} // namespace HelpGuide

} // namespace plumeo
