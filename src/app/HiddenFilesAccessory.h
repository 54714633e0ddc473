#pragma once

#include <QWidget>

class QCheckBox;
class QFileDialog;

namespace plumeo {

// The check box under an open or save dialog that shows or hides hidden files. Its state is the
// showHiddenFiles preference: toggling it stores the preference and applies it to the dialog at
// once.
class HiddenFilesAccessory : public QWidget
{
    Q_OBJECT
public:
    explicit HiddenFilesAccessory(QFileDialog *panel, QWidget *parent = nullptr);

    QCheckBox *checkbox() const { return m_checkbox; }
    // Shows or hides dotfiles in panel.
    static void applyHiddenFiles(QFileDialog *panel, bool shown);

private:
    void toggle(bool on);

    QFileDialog *m_panel;
    QCheckBox *m_checkbox;
};

} // namespace plumeo
