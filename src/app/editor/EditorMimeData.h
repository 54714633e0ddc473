#pragma once

#include <functional>

#include <QStringList>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;

namespace plumeo {

// Clipboard and drag-and-drop pieces both editor views share.
namespace EditorMimeData {

// The local files among the dragged or pasted items (file locations only; other URLs are no files).
QStringList localFiles(const QMimeData *mime);

// Entering or moving over a view with files: takes the drag over with the generic (copy) operation
// and answers true; false leaves the event to the text view's own handling of text.
bool acceptFiles(QDragMoveEvent *event);
// Dropping files: hands them all to open and answers true; false when the drop holds none.
bool dropFiles(QDropEvent *event, const std::function<void(const QStringList &)> &open);

} // namespace EditorMimeData

} // namespace plumeo
