#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QHBoxLayout;

namespace plumeo {

// A row of joined buttons of which exactly one is chosen: the segmented control of the panels. It
// only shows and reports; its owner decides what a choice does and re-titles it when the interface
// language changes.
class SegmentedPicker : public QWidget
{
    Q_OBJECT
public:
    explicit SegmentedPicker(QWidget *parent = nullptr);

    // One segment per title, left to right. Keeps the choice when the count does not change;
    // otherwise nothing is chosen.
    void setTitles(const QStringList &titles);
    QStringList titles() const;

    // The chosen segment, or -1. Setting it does not emit activated().
    int currentIndex() const;
    void setCurrentIndex(int index);

    // Chooses the segment at index as a click would (tests, keyboard).
    void click(int index);

Q_SIGNALS:
    // The user chose the segment at index, which was not the chosen one.
    void activated(int index);

private:
    QButtonGroup *m_group;
    QHBoxLayout *m_layout;
    int m_chosen = -1; // the segment chosen last, by a click or by setCurrentIndex
};

} // namespace plumeo
