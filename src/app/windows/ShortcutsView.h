#pragma once

#include <functional>
#include <vector>

#include <QWidget>

class QLabel;
class QPushButton;

namespace plumeo {

// The keyboard-shortcuts panel: the heading with the version label, the groups of ShortcutsTable
// side by side (keys in a fixed-width column that never wraps, then what they do), a note, and
// an OK button (the default button) that calls close. Every text follows the interface language
// as soon as it changes; the key strings are re-read too, since Qt's key names follow it.
class ShortcutsView : public QWidget
{
    Q_OBJECT
public:
    explicit ShortcutsView(std::function<void()> close, QWidget *parent = nullptr);

    // For tests: the shown texts of each group, title first, then "keys\tdescription" rows.
    std::vector<QStringList> shownGroups() const;

private:
    void retranslate();
    // Sizes the columns for the texts of the moment.
    void fitColumns();

    struct GroupLabels
    {
        QLabel *title;
        std::vector<std::pair<QLabel *, QLabel *>> rows; // keys, description
    };

    std::function<void()> m_close;
    QLabel *m_heading;
    QLabel *m_version;
    QLabel *m_note;
    QPushButton *m_ok;
    std::vector<GroupLabels> m_groups;
};

} // namespace plumeo
