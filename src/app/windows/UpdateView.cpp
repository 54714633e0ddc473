#include "UpdateView.h"

#include "AppVersion.h"
#include "PanelColours.h"
#include "Theme.h"
#include "text/Localization.h"
#include "update/UpdateTexts.h"
#include "update/Updater.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

QFont scaled(const QFont &base, qreal factor, QFont::Weight weight = QFont::Normal)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

// The status line's mark: a glyph in the theme's colour for a result, nothing while busy (the
// busy indicator stands there instead).
void showMark(QLabel *icon, Updater::State::Kind kind)
{
    QString glyph;
    QColor colour;
    switch (kind) {
    case Updater::State::upToDate:
        glyph = u"✔"_s;
        colour = Theme::green();
        break;
    case Updater::State::updateAvailable:
        glyph = u"⬆"_s;
        colour = Theme::accent();
        break;
    case Updater::State::error:
        glyph = u"⚠"_s;
        colour = Theme::red();
        break;
    default:
        break;
    }
    icon->setText(glyph);
    icon->setVisible(!glyph.isEmpty());
    if (!glyph.isEmpty())
        PanelColours::setTextColour(icon, colour);
}

bool isBusy(Updater::State::Kind kind)
{
    return kind == Updater::State::idle || kind == Updater::State::checking
           || kind == Updater::State::downloading || kind == Updater::State::installing;
}

} // namespace

UpdateView::UpdateView(Updater &updater, std::function<void()> close, QWidget *parent)
    : QWidget(parent)
    , m_updater(updater)
    , m_close(std::move(close))
    , m_version(new QLabel(this))
    , m_icon(new QLabel(this))
    , m_busy(new QProgressBar(this))
    , m_status(new QLabel(this))
    , m_notesBox(new QWidget(this))
    , m_notesHeader(new QLabel(m_notesBox))
    , m_webPage(new QPushButton(m_notesBox))
    , m_notes(new QTextBrowser(m_notesBox))
    , m_progress(new QProgressBar(this))
    , m_autoCheck(new QCheckBox(this))
    , m_later(new QPushButton(this))
    , m_install(new QPushButton(this))
    , m_closeButton(new QPushButton(this))
    , m_retry(new QPushButton(this))
    , m_ok(new QPushButton(this))
{
    PanelColours::applyPanel(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);

    auto *header = new QHBoxLayout;
    header->setSpacing(12);
    auto *appIcon = new QLabel(this);
    appIcon->setPixmap(AppVersion::icon().pixmap(52, 52));
    appIcon->setFixedSize(52, 52);
    header->addWidget(appIcon);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto *name = new QLabel(u"Plumeo"_s, this);
    name->setFont(scaled(font(), 1.4, QFont::Bold));
    titles->addWidget(name);
    PanelColours::setTextColour(m_version, Theme::textDim());
    titles->addWidget(m_version);
    header->addLayout(titles, 1);
    layout->addLayout(header);

    auto *statusRow = new QHBoxLayout;
    statusRow->setSpacing(8);
    m_icon->setObjectName(u"statusIcon"_s);
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->setFixedSize(18, 6);
    statusRow->addWidget(m_icon);
    statusRow->addWidget(m_busy);
    m_status->setObjectName(u"statusText"_s);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusRow->addWidget(m_status, 1);
    layout->addLayout(statusRow);

    m_progress->setObjectName(u"downloadProgress"_s);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(8);
    layout->addWidget(m_progress);

    auto *notesLayout = new QVBoxLayout(m_notesBox);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->setSpacing(4);
    auto *notesRow = new QHBoxLayout;
    m_notesHeader->setFont(scaled(font(), 0.8, QFont::DemiBold));
    PanelColours::setTextColour(m_notesHeader, Theme::textFaint());
    notesRow->addWidget(m_notesHeader, 1);
    m_webPage->setFlat(true);
    m_webPage->setAutoDefault(false);
    m_webPage->setCursor(Qt::PointingHandCursor);
    m_webPage->setStyleSheet(
        u"QPushButton { color: %1; border: none; padding: 0 2px; }"_s.arg(Theme::cyan().name()));
    notesRow->addWidget(m_webPage);
    notesLayout->addLayout(notesRow);
    m_notes->setOpenLinks(false);
    m_notes->setMaximumHeight(130);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    notesLayout->addWidget(m_notes);
    layout->addWidget(m_notesBox, 1);
    layout->addStretch();

    layout->addWidget(m_autoCheck);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {m_later, m_install, m_closeButton, m_retry, m_ok}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    connect(m_webPage, &QPushButton::clicked, this, [this] {
        const auto release =
            UpdateTexts::activeRelease(m_updater.state(), m_updater.availableRelease());
        if (release && release->htmlUrl)
            QDesktopServices::openUrl(*release->htmlUrl);
    });
    connect(m_autoCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (on != m_updater.autoCheckEnabled())
            m_updater.setAutoCheckEnabled(on);
    });
    connect(m_later, &QPushButton::clicked, this, &UpdateView::closePanel);
    connect(m_ok, &QPushButton::clicked, this, &UpdateView::closePanel);
    connect(m_install, &QPushButton::clicked, this, [this] {
        if (const auto &release = m_updater.state().release)
            m_updater.downloadAndInstall(*release);
    });
    connect(m_retry, &QPushButton::clicked, this, [this] { m_updater.checkForUpdates(true); });
    connect(&m_updater, &Updater::changed, this, &UpdateView::refresh);
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &UpdateView::refresh);
    refresh();
}

void UpdateView::refresh()
{
    const Updater::State &state = m_updater.state();
    using Kind = Updater::State::Kind;

    m_version->setText(AppVersion::shortLabel());
    showMark(m_icon, state.kind);
    m_busy->setVisible(isBusy(state.kind));
    m_status->setText(UpdateTexts::status(state));

    const auto release = UpdateTexts::activeRelease(state, m_updater.availableRelease());
    m_notesBox->setVisible(release.has_value());
    if (release) {
        m_notesHeader->setText(UpdateTexts::notesHeader(*release));
        m_webPage->setVisible(release->htmlUrl.has_value());
        m_webPage->setText(L(u"Voir sur GitHub ↗"_s, u"View on GitHub ↗"_s));
        if (m_notes->toPlainText() != release->localizedNotes())
            m_notes->setPlainText(release->localizedNotes());
    }

    // Downloading: the share of the archive received, or a busy bar while its size is unknown.
    m_progress->setVisible(state.kind == Kind::downloading);
    if (m_updater.totalBytes() > 0) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(int(m_updater.receivedBytes() * 1000 / m_updater.totalBytes()));
    } else {
        m_progress->setRange(0, 0);
    }

    m_autoCheck->setText(
        L(u"Vérifier les mises à jour au lancement"_s, u"Check for updates on launch"_s));
    {
        const QSignalBlocker quiet(m_autoCheck);
        m_autoCheck->setChecked(m_updater.autoCheckEnabled());
    }

    const bool available = state.kind == Kind::updateAvailable;
    const bool working = state.kind == Kind::downloading || state.kind == Kind::installing;
    const bool failed = state.kind == Kind::error;
    m_later->setVisible(available);
    m_later->setText(L(u"Plus tard"_s, u"Later"_s));
    m_install->setVisible(available);
    m_install->setText(L(u"Mettre à jour et relancer"_s, u"Update & Relaunch"_s));
    m_closeButton->setVisible(working);
    m_closeButton->setEnabled(false);
    m_closeButton->setText(L(u"Fermer"_s, u"Close"_s));
    m_retry->setVisible(failed);
    m_retry->setText(L(u"Réessayer"_s, u"Retry"_s));
    m_ok->setVisible(!available && !working);
    m_ok->setText(u"OK"_s);

    QPushButton *defaultButton = available ? m_install : working ? nullptr : m_ok;
    for (QPushButton *button : {m_later, m_install, m_closeButton, m_retry, m_ok}) {
        button->setDefault(button == defaultButton);
        button->setAutoDefault(button == defaultButton);
    }
    if (defaultButton && isVisible())
        defaultButton->setFocus();
}

void UpdateView::closePanel()
{
    if (m_close)
        m_close();
}

} // namespace plumeo
