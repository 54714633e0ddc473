#pragma once

#include "Command.h"

#include <functional>
#include <vector>

#include <QColor>
#include <QEasingCurve>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace plumeo {

// The about panel: the application's icon, name and version badge, its tagline, the four feature
// cards, the licence and credit lines, and the buttons Help, Check for Updates and OK (the default
// button, which calls close).
//
// The help, update and web-site buttons send application commands through the link they are
// given, the very path the menu items take, and are enabled only while something handles their
// command. The version badge copies AppVersion::description() to the clipboard and says "Copied"
// from a click until 1.5 s after it (a click meanwhile does not prolong it). Every text follows the
// interface language as soon as it changes.
class AboutView : public QWidget
{
    Q_OBJECT
public:
    // How the panel reaches the application's commands.
    struct CommandLink
    {
        std::function<bool(Command)> isAvailable;
        std::function<void(Command)> send;
    };

    struct FeatureCard
    {
        QString id;
        QString icon; // a glyph drawn in the tint
        QColor tint;
        QString frenchTitle;
        QString englishTitle;
        QString frenchDetail;
        QString englishDetail;
    };
    static const std::vector<FeatureCard> &features();

    AboutView(CommandLink commands, std::function<void()> close, QWidget *parent = nullptr);

    bool copiedVersion() const { return m_copiedVersion; }
    QPushButton *versionBadge() const { return m_badge; }
    QPushButton *helpButton() const { return m_help; }
    QPushButton *updatesButton() const { return m_updates; }
    QPushButton *websiteButton() const { return m_website; }
    QPushButton *okButton() const { return m_ok; }
    // Asks again which commands are handled (done whenever the panel is shown or activated).
    void refreshCommands();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void copyVersion();
    void showBadge();
    // The badge fades in to its new text, unless motion is unwanted.
    void animateBadge(int milliseconds, QEasingCurve::Type curve);
    void send(Command command);

    CommandLink m_commands;
    std::function<void()> m_close;
    bool m_copiedVersion = false;

    QPushButton *m_badge;
    QLabel *m_tagline;
    QLabel *m_toolkitPill;
    QLabel *m_languagePill;
    QLabel *m_heading;
    std::vector<std::pair<QLabel *, QLabel *>> m_cards; // title, detail
    QLabel *m_licence;
    QLabel *m_credit;
    QPushButton *m_website;
    QPushButton *m_help;
    QPushButton *m_updates;
    QPushButton *m_ok;
};

} // namespace plumeo
