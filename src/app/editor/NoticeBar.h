#pragma once

#include <QFrame>
#include <QStringList>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace plumeo {

// A strip above the text that tells the user something about the document that needs their
// attention (the file changed on disk, a stream still arriving) and offers a few answers. It only
// shows and reports: its owner decides what the buttons do.
class NoticeBar : public QFrame
{
    Q_OBJECT
public:
    explicit NoticeBar(QWidget *parent = nullptr);

    // Shows message with one button per title, left to right.
    void present(const QString &message, const QStringList &buttonTitles);
    // Changes the message, keeping the buttons.
    void setMessage(const QString &message);
    QString message() const;
    QStringList buttonTitles() const;
    // Clicks the button with that title, as the user would; false when there is none.
    bool clickButton(const QString &title);

Q_SIGNALS:
    void buttonClicked(int index);

private:
    QLabel *m_message;
    QHBoxLayout *m_layout;
    std::vector<QPushButton *> m_buttons;
};

} // namespace plumeo
