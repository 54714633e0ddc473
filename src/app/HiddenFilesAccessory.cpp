#include "HiddenFilesAccessory.h"

#include "Preferences.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>

namespace plumeo {

HiddenFilesAccessory::HiddenFilesAccessory(QFileDialog *panel, QWidget *parent)
    : QWidget(parent)
    , m_panel(panel)
    , m_checkbox(new QCheckBox(
          L(QStringLiteral("Afficher les fichiers masqués"), QStringLiteral("Show hidden files")),
          this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->addWidget(m_checkbox);
    layout->addStretch();
    setFixedHeight(36);
    m_checkbox->setChecked(Preferences::boolean(Preferences::Key::showHiddenFiles()));
    connect(m_checkbox, &QCheckBox::toggled, this, &HiddenFilesAccessory::toggle);
}

void HiddenFilesAccessory::applyHiddenFiles(QFileDialog *panel, bool shown)
{
    QDir::Filters filters =
        panel->filter() | QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot;
    if (shown)
        filters |= QDir::Hidden;
    else
        filters &= ~QDir::Hidden;
    panel->setFilter(filters);
}

void HiddenFilesAccessory::toggle(bool on)
{
    // Written straight to the store, as the settings panel does; editors watch the store itself.
    UserDefaults::standard().set(Preferences::Key::showHiddenFiles(), on);
    applyHiddenFiles(m_panel, on);
}

} // namespace plumeo
