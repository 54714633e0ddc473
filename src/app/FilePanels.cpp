#include "FilePanels.h"

#include "HiddenFilesAccessory.h"
#include "Preferences.h"
#include "text/Localization.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace plumeo::FilePanels {

namespace {

bool configured = false;

// A file dialog inside a frame that adds a message above and the hidden-files check box below.
class FramedFileDialog : public QDialog
{
public:
    FramedFileDialog(QWidget *parent, const QString &message)
        : QDialog(parent)
        , panel(new QFileDialog(this))
    {
        panel->setOption(QFileDialog::DontUseNativeDialog);
        panel->setWindowFlags(Qt::Widget);
        auto *layout = new QVBoxLayout(this);
        if (!message.isEmpty()) {
            auto *label = new QLabel(message, this);
            label->setContentsMargins(12, 8, 12, 0);
            layout->addWidget(label);
        }
        layout->addWidget(panel);
        auto *accessory = new HiddenFilesAccessory(panel, this);
        layout->addWidget(accessory);
        HiddenFilesAccessory::applyHiddenFiles(panel, accessory->checkbox()->isChecked());
        connect(panel, &QFileDialog::finished, this, &QDialog::done);
        resize(760, 520);
    }

    QFileDialog *panel;
};

} // namespace

bool panelConfigured()
{
    return configured;
}

QStringList chooseFilesToOpen(QWidget *parent, const QString &directory)
{
    configured = true;
    FramedFileDialog dialog(
        parent, L(QStringLiteral("Tout fichier texte peut être ouvert, quelle que soit "
                                 "son extension."),
                  QStringLiteral("Any text file can be opened, whatever its extension.")));
    dialog.setWindowTitle(L(QStringLiteral("Ouvrir"), QStringLiteral("Open")));
    dialog.panel->setFileMode(QFileDialog::ExistingFiles);
    dialog.panel->setAcceptMode(QFileDialog::AcceptOpen);
    if (!directory.isEmpty())
        dialog.panel->setDirectory(directory);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.panel->selectedFiles();
}

QString chooseSaveLocation(QWidget *parent, const QString &directory, const QString &proposedName)
{
    FramedFileDialog dialog(parent, QString());
    dialog.setWindowTitle(L(QStringLiteral("Enregistrer"), QStringLiteral("Save")));
    dialog.panel->setAcceptMode(QFileDialog::AcceptSave);
    dialog.panel->setFileMode(QFileDialog::AnyFile);
    if (!directory.isEmpty())
        dialog.panel->setDirectory(directory);
    dialog.panel->selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.panel->selectedFiles().isEmpty())
        return {};
    return dialog.panel->selectedFiles().first();
}

QString chooseFolder(QWidget *parent, const QString &directory)
{
    FramedFileDialog dialog(parent, QString());
    dialog.setWindowTitle(L(QStringLiteral("Déplacer vers"), QStringLiteral("Move To")));
    dialog.panel->setFileMode(QFileDialog::Directory);
    dialog.panel->setOption(QFileDialog::ShowDirsOnly);
    if (!directory.isEmpty())
        dialog.panel->setDirectory(directory);
    if (dialog.exec() != QDialog::Accepted || dialog.panel->selectedFiles().isEmpty())
        return {};
    return dialog.panel->selectedFiles().first();
}

} // namespace plumeo::FilePanels
