#include "io/StateFolder.h"

#include "io/NativePath.h"

#include <QDir>

namespace plumeo::StateFolder {

QString path()
{
    const QByteArray own = qgetenv("PLUMEO_STATE_DIR");
    if (!own.isEmpty())
        return NativePath::decode(own);
    const QByteArray xdg = qgetenv("XDG_STATE_HOME");
    // The XDG rules ignore a relative value.
    if (xdg.startsWith('/'))
        return NativePath::decode(xdg) + QStringLiteral("/plumeo");
    const QByteArray home = qgetenv("HOME");
    const QString base = home.isEmpty() ? QDir::homePath() : NativePath::decode(home);
    return base + QStringLiteral("/.local/state/plumeo");
}

} // namespace plumeo::StateFolder
