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
    return UserDefaults::standard().stringList(key()).value_or(QStringList());
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

void clear()
{
    UserDefaults::standard().remove(key());
}

} // namespace plumeo::RecentDocuments
