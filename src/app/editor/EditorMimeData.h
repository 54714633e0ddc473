#pragma once

#include <QString>
#include <QStringList>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;

namespace plumeo {

// Clipboard and drag-and-drop pieces both editor views share.
namespace EditorMimeData {

// Puts text leaving a view (copy, cut, drag) into mime: the real characters as plain text, and the
// same text in a private format that tells an editor of this program to take it back unchanged.
void setText(QMimeData &mime, const QString &text);
// The text of a paste or a drop as the document takes it. Text copied in this program comes back
// exactly. Text from other programs may break its lines with CR LF: each pair becomes one line
// break, which the document writes with its own convention on saving. A CR alone stays, a character
// of the text like the ones files hold.
QString insertedText(const QMimeData *mime);

// The local files among the dragged or pasted items (file locations only; other URLs are no files).
QStringList localFiles(const QMimeData *mime);

// Entering or moving over a view with files: takes the drag over with the generic (copy) operation
// and answers true; false leaves the event to the text view's own handling of text.
bool acceptFiles(QDragMoveEvent *event);
// Dropping files: takes the drop with the generic (copy) operation and answers the local files;
// nothing, and the event left alone, when the drop holds none.
QStringList dropFiles(QDropEvent *event);

} // namespace EditorMimeData

} // namespace plumeo
