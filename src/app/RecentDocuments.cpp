#include "RecentDocuments.h"

#include "io/NativePath.h"
#include "text/UserDefaults.h"

#include <QFileInfo>
#include <QJsonArray>

namespace plumeo::RecentDocuments {

namespace {

const QString &key()
{
    static const QString name = QStringLiteral("recentDocuments");
    return name;
}

} // namespace

QStringList paths()
{
    QStringList list = UserDefaults::standard().stringList(key()).value_or(QStringList());
    list.removeDuplicates();
    return list;
}

void note(const QString &path)
{
    // The settings file is JSON text, which cannot carry a name's undecodable bytes: such a file
    // would come back under another name. It is left out of the list rather than mangled.
    if (NativePath::hasEscapes(path))
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > limit)
        list.removeLast();
    UserDefaults::standard().set(key(), QJsonArray::fromStringList(list));
}

void forget(const QString &path)
{
    QStringList list = paths();
    if (list.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        UserDefaults::standard().set(key(), QJsonArray::fromStringList(list));
}

QStringList existingPaths()
{
    QStringList list = paths();
    const qsizetype before = list.size();
    list.removeIf([](const QString &path) { return !QFileInfo::exists(path); });
    if (list.size() != before)
        UserDefaults::standard().set(key(), QJsonArray::fromStringList(list));
    return list;
}

void clear()
{
    UserDefaults::standard().remove(key());
}

} // namespace plumeo::RecentDocuments
