#include "session/SessionState.h"

#include "session/AutosaveRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace plumeo {

namespace {

constexpr int formatVersion = 1;
// Far more than a session of 1000 tabs needs.
constexpr qsizetype sizeLimit = 4 * 1024 * 1024;

bool isWhole(const QJsonValue &value)
{
    return value.isDouble() && value.toDouble() >= 0 && value.toDouble() <= 2147483647.0
           && value.toDouble() == double(qint64(value.toDouble()));
}

bool isCopyName(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9-]{1,64}\\.plumeo-autosave$"));
    return form.match(name).hasMatch();
}

} // namespace

QByteArray SessionState::toJson() const
{
    QJsonArray windowList;
    for (const Window &window : windows) {
        QJsonArray tabList;
        for (const Tab &tab : window.tabs) {
            QJsonObject object;
            if (!tab.filePath.isEmpty())
                object[u"filePath"] = tab.filePath;
            else
                object[u"untitledCopy"] = tab.untitledCopy;
            object[u"caret"] = tab.caret;
            object[u"anchor"] = tab.anchor;
            object[u"scroll"] = tab.scroll;
            tabList.append(object);
        }
        windowList.append(QJsonObject{{QStringLiteral("tabs"), tabList},
                                      {QStringLiteral("current"), window.current}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("version"), formatVersion},
                                     {QStringLiteral("windows"), windowList}})
        .toJson(QJsonDocument::Indented);
}

Result<SessionState, QString> SessionState::fromJson(QByteArrayView bytes)
{
    if (bytes.size() > sizeLimit)
        return QStringLiteral("too large");
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !json.isObject())
        return QStringLiteral("not a JSON object");
    const QJsonObject top = json.object();
    if (top.value(u"version").toInt(-1) != formatVersion || !top.value(u"windows").isArray())
        return QStringLiteral("not a session of this version");
    const QJsonArray windowList = top.value(u"windows").toArray();
    if (windowList.size() > windowLimit)
        return QStringLiteral("too many windows");

    SessionState session;
    int tabCount = 0;
    for (const QJsonValue &windowValue : windowList) {
        const QJsonObject object = windowValue.toObject();
        if (!windowValue.isObject() || !object.value(u"tabs").isArray()
            || !isWhole(object.value(u"current")))
            return QStringLiteral("a window is malformed");
        const QJsonArray tabList = object.value(u"tabs").toArray();
        tabCount += int(std::min<qsizetype>(tabList.size(), tabLimit + 1));
        if (tabCount > tabLimit)
            return QStringLiteral("too many tabs");
        Window window;
        window.current = object.value(u"current").toInt();
        for (const QJsonValue &tabValue : tabList) {
            const QJsonObject tabObject = tabValue.toObject();
            Tab tab;
            tab.filePath = tabObject.value(u"filePath").toString();
            tab.untitledCopy = tabObject.value(u"untitledCopy").toString();
            const bool titled = !tab.filePath.isEmpty() && tab.untitledCopy.isEmpty()
                                && AutosaveRecord::isAcceptablePath(tab.filePath);
            const bool untitled = tab.filePath.isEmpty() && isCopyName(tab.untitledCopy);
            if (!tabValue.isObject() || !(titled || untitled) || !isWhole(tabObject[u"caret"])
                || !isWhole(tabObject[u"anchor"]) || !isWhole(tabObject[u"scroll"]))
                return QStringLiteral("a tab is malformed");
            tab.caret = tabObject.value(u"caret").toInt();
            tab.anchor = tabObject.value(u"anchor").toInt();
            tab.scroll = tabObject.value(u"scroll").toInt();
            window.tabs.push_back(std::move(tab));
        }
        if (window.tabs.empty() || window.current >= int(window.tabs.size()))
            return QStringLiteral("a window has no such tab");
        session.windows.push_back(std::move(window));
    }
    return session;
}

} // namespace plumeo
