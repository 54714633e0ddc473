#include "windows/WindowFrames.h"

#include "text/UserDefaults.h"

#include <QWidget>

namespace plumeo::WindowFrames {

namespace {

bool framesAreRemembered = true;

} // namespace

QString key(const QString &autosaveName)
{
    return QStringLiteral("windowFrame.") + autosaveName;
}

bool restore(QWidget *window, const QString &autosaveName)
{
    const QByteArray frame = QByteArray::fromBase64(
        UserDefaults::standard().string(key(autosaveName)).value_or(QString()).toLatin1());
    return !frame.isEmpty() && window->restoreGeometry(frame);
}

void remember(const QWidget *window, const QString &autosaveName)
{
    if (!framesAreRemembered)
        return;
    UserDefaults::standard().set(key(autosaveName),
                                 QString::fromLatin1(window->saveGeometry().toBase64()));
}

void leaveAloneForThisRun()
{
    framesAreRemembered = false;
}

} // namespace plumeo::WindowFrames
