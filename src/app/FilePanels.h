#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace plumeo {

// The open and save dialogs. Qt's own dialogs rather than the desktop's, so that they can carry the
// message and the hidden-files check box, and be the same everywhere.
namespace FilePanels {

// Files the user chose to open (several allowed, any type), or none when cancelled. The dialog
// starts in directory (when empty, the working directory).
QStringList chooseFilesToOpen(QWidget *parent, const QString &directory);
// Where to save, proposing proposedName in directory; empty when cancelled.
QString chooseSaveLocation(QWidget *parent, const QString &directory, const QString &proposedName);
// A folder to move a document into; empty when cancelled.
QString chooseFolder(QWidget *parent, const QString &directory);

// Set once an open dialog has been configured (the snapshot mode checks the customisation is live).
bool panelConfigured();

} // namespace FilePanels

} // namespace plumeo
