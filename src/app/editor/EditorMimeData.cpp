#include "editor/EditorMimeData.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace plumeo {

QStringList EditorMimeData::localFiles(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}

bool EditorMimeData::acceptFiles(QDragMoveEvent *event)
{
    if (localFiles(event->mimeData()).isEmpty())
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

bool EditorMimeData::dropFiles(QDropEvent *event,
                               const std::function<void(const QStringList &)> &open)
{
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty())
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (open)
        open(paths);
    return true;
}

} // namespace plumeo
