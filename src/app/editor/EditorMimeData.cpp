#include "editor/EditorMimeData.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace plumeo {

namespace {

const QString exactTextFormat = QStringLiteral("application/x-plumeo-text");

} // namespace

void EditorMimeData::setText(QMimeData &mime, const QString &text)
{
    mime.setText(text);
    mime.setData(exactTextFormat, text.toUtf8());
}

QString EditorMimeData::insertedText(const QMimeData *mime)
{
    QString text = mime->text();
    // A line of a mostly-LF file may end in CR LF, its CR a character of the file: copied within
    // the editor, it stays one.
    if (mime->hasFormat(exactTextFormat) && QString::fromUtf8(mime->data(exactTextFormat)) == text)
        return text;
    if (text.contains(u'\r'))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

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

QStringList EditorMimeData::dropFiles(QDropEvent *event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (!paths.isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    return paths;
}

} // namespace plumeo
