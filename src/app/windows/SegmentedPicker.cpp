#include "windows/SegmentedPicker.h"

#include "Theme.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

namespace plumeo {

SegmentedPicker::SegmentedPicker(QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group->setExclusive(true);
    // idClicked comes after the button is checked: the previous choice is gone by then, so the
    // picker remembers it to tell a new choice from a click on the chosen segment.
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (m_chosen == id)
            return;
        m_chosen = id;
        Q_EMIT activated(id);
    });
}

void SegmentedPicker::setTitles(const QStringList &titles)
{
    const QList<QAbstractButton *> buttons = m_group->buttons();
    if (buttons.size() == titles.size()) {
        for (qsizetype i = 0; i < titles.size(); ++i)
            m_group->button(int(i))->setText(titles[i]);
        return;
    }
    for (QAbstractButton *button : buttons) {
        m_group->removeButton(button);
        delete button;
    }
    m_chosen = -1;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        auto *button = new QPushButton(titles[i], this);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        // The style's pressed look is all but invisible on the dark palette: the chosen segment
        // is lit instead.
        connect(button, &QPushButton::toggled, button, [button](bool chosen) {
            QPalette colours = button->parentWidget()->palette();
            if (chosen)
                colours.setColor(QPalette::Button, Theme::textFaint());
            button->setPalette(colours);
        });
        m_group->addButton(button, int(i));
        m_layout->addWidget(button);
    }
}

QStringList SegmentedPicker::titles() const
{
    QStringList list;
    for (int i = 0; m_group->button(i); ++i)
        list << m_group->button(i)->text();
    return list;
}

int SegmentedPicker::currentIndex() const
{
    return m_group->checkedId();
}

void SegmentedPicker::setCurrentIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index)) {
        button->setChecked(true);
        m_chosen = index;
    }
}

void SegmentedPicker::click(int index)
{
    if (QAbstractButton *button = m_group->button(index))
        button->click();
}

} // namespace plumeo
