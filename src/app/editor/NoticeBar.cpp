#include "editor/NoticeBar.h"

#include "Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace plumeo {

NoticeBar::NoticeBar(QWidget *parent)
    : QFrame(parent)
    , m_message(new QLabel(this))
    , m_layout(new QHBoxLayout(this))
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::panel());
    colours.setColor(QPalette::WindowText, Theme::text());
    setPalette(colours);
    setFrameShape(QFrame::NoFrame);
    m_layout->setContentsMargins(10, 5, 8, 5);
    m_layout->setSpacing(8);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_layout->addWidget(m_message, 1);
    hide();
}

void NoticeBar::present(const QString &message, const QStringList &buttonTitles)
{
    for (QPushButton *button : m_buttons)
        button->deleteLater();
    m_buttons.clear();
    m_message->setText(message);
    for (int k = 0; k < buttonTitles.size(); ++k) {
        auto *button = new QPushButton(buttonTitles[k], this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, k] { Q_EMIT buttonClicked(k); });
        m_layout->addWidget(button);
        m_buttons.push_back(button);
    }
    show();
}

void NoticeBar::setMessage(const QString &message)
{
    m_message->setText(message);
}

QString NoticeBar::message() const
{
    return m_message->text();
}

QStringList NoticeBar::buttonTitles() const
{
    QStringList titles;
    for (const QPushButton *button : m_buttons)
        titles << button->text();
    return titles;
}

bool NoticeBar::clickButton(const QString &title)
{
    for (QPushButton *button : m_buttons) {
        if (button->text() == title) {
            button->click();
            return true;
        }
    }
    return false;
}

} // namespace plumeo
