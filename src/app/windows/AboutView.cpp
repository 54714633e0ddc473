#include "AboutView.h"

#include "AppVersion.h"
#include "MainMenu.h"
#include "PanelColours.h"
#include "ShortcutsTable.h"
#include "Theme.h"
#include "WindowMotion.h"
#include "base/AppIdentifier.h"
#include "text/Localization.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

// How long the badge says "Copied" after a click.
constexpr int copiedMilliseconds = 1500;

QFont scaled(const QFont &base, qreal factor, QFont::Weight weight = QFont::Normal)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

QLabel *pill(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(scaled(parent->font(), 0.85));
    label->setStyleSheet(
        u"QLabel { color: %1; background: %2; border: 1px solid %3;"
        " border-radius: 9px; padding: 1px 8px; }"_s.arg(
            Theme::textDim().name(), Theme::background().name(), Theme::separator().name()));
    return label;
}

// A borderless button that reads as a link or a quiet action.
QPushButton *plainButton(QWidget *parent, const QColor &text)
{
    auto *button = new QPushButton(parent);
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        u"QPushButton { color: %1; border: none; padding: 2px 6px; }"
        " QPushButton:disabled { color: %2; }"_s.arg(text.name(), Theme::textFaint().name()));
    return button;
}

} // namespace

const std::vector<AboutView::FeatureCard> &AboutView::features()
{
    static const std::vector<FeatureCard> cards{
        {u"languages"_s, u"</>"_s, Theme::accent(), u"Coloration par langage"_s,
         u"Syntax highlighting"_s,
         u"C, Objective-C, C#, Swift, HTML, PHP, JavaScript, Python, Shell, JSON, YAML, CSS… "
         u"choisis d’après l’extension, ou dans la barre d’état. Markdown mis en forme en "
         u"écrivant."_s,
         u"C, Objective-C, C#, Swift, HTML, PHP, JavaScript, Python, Shell, JSON, YAML, CSS… "
         u"chosen from the file extension or the status bar. Live-formatted Markdown as you "
         u"type."_s},
        {u"files"_s, u"¶"_s, Theme::cyan(), u"Tout fichier texte"_s, u"Any text file"_s,
         u"Quelle que soit l’extension, RTF compris ; encodage et fins de ligne détectés et "
         u"conservés, fichiers masqués dans le dialogue d’ouverture, onglets, versions."_s,
         u"Whatever the extension, including RTF; encoding and line endings detected and "
         u"preserved, hidden files in the Open dialog, tabs, versions."_s},
        {u"editing"_s, u"⇥"_s, Theme::green(), u"Édition de code"_s, u"Code editing"_s,
         u"Indentation automatique, lignes dupliquées ou déplacées, commentaires en une touche, "
         u"recherche et remplacement, aller à la ligne, numéros de ligne."_s,
         u"Auto-indentation, duplicate or move lines, single-key comments, find and replace, go "
         u"to line, line numbers."_s},
        {u"native"_s, u"⚡"_s, Theme::blue(), u"Natif et léger"_s, u"Native and lightweight"_s,
         u"Qt 6 et C++20, quelques bibliothèques du système pour toute dépendance, quelques "
         u"mégaoctets et un lancement instantané. Un outil de la famille Vantle Apps."_s,
         u"Qt 6 and C++20, a few system libraries as its only dependencies, a few megabytes and "
         u"an instant launch. One of the Vantle Apps tools."_s},
    };
    return cards;
}

AboutView::AboutView(CommandLink commands, std::function<void()> close, QWidget *parent)
    : QWidget(parent)
    , m_commands(std::move(commands))
    , m_close(std::move(close))
    , m_badge(plainButton(this, Theme::textDim()))
    , m_tagline(new QLabel(this))
    , m_toolkitPill(pill(this))
    , m_languagePill(pill(this))
    , m_heading(new QLabel(this))
    , m_licence(new QLabel(this))
    , m_credit(new QLabel(this))
    , m_website(plainButton(this, Theme::cyan()))
    , m_help(plainButton(this, Theme::text()))
    , m_updates(plainButton(this, Theme::text()))
    , m_ok(new QPushButton(this))
{
    PanelColours::applyPanel(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 16, 22, 12);
    layout->setSpacing(8);

    // Header: icon, then name and badge over the tagline and the pills.
    auto *header = new QHBoxLayout;
    header->setSpacing(14);
    auto *icon = new QLabel(this);
    icon->setPixmap(AppVersion::icon().pixmap(56, 56));
    icon->setFixedSize(56, 56);
    header->addWidget(icon, 0, Qt::AlignTop);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    auto *nameRow = new QHBoxLayout;
    auto *name = new QLabel(u"Plumeo"_s, this);
    name->setFont(scaled(font(), 1.6, QFont::Bold));
    nameRow->addWidget(name);
    nameRow->addWidget(m_badge);
    nameRow->addStretch();
    titles->addLayout(nameRow);
    m_tagline->setWordWrap(true);
    PanelColours::setTextColour(m_tagline, Theme::textDim());
    titles->addWidget(m_tagline);
    auto *pills = new QHBoxLayout;
    pills->setSpacing(6);
    pills->addWidget(m_toolkitPill);
    pills->addWidget(m_languagePill);
    pills->addStretch();
    titles->addLayout(pills);
    header->addLayout(titles, 1);
    layout->addLayout(header);
    connect(m_badge, &QPushButton::clicked, this, &AboutView::copyVersion);

    m_heading->setFont(scaled(font(), 0.8, QFont::DemiBold));
    PanelColours::setTextColour(m_heading, Theme::textFaint());
    layout->addSpacing(4);
    layout->addWidget(m_heading);

    auto *grid = new QGridLayout;
    grid->setSpacing(8);
    int at = 0;
    for (const FeatureCard &card : features()) {
        auto *frame = new QFrame(this);
        frame->setObjectName(card.id);
        frame->setStyleSheet(u"QFrame#%1 { background: %2; border: 1px solid %3;"
                             " border-radius: 8px; }"_s.arg(card.id, Theme::background().name(),
                                                            Theme::separator().name()));
        auto *cardLayout = new QHBoxLayout(frame);
        cardLayout->setContentsMargins(10, 8, 10, 8);
        cardLayout->setSpacing(8);
        auto *glyph = new QLabel(card.icon, frame);
        glyph->setTextFormat(Qt::PlainText);
        glyph->setFont(scaled(font(), 1.15, QFont::Bold));
        glyph->setFixedWidth(QFontMetrics(glyph->font()).horizontalAdvance(u"</>"_s) + 2);
        glyph->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        PanelColours::setTextColour(glyph, card.tint);
        cardLayout->addWidget(glyph, 0, Qt::AlignTop);
        auto *texts = new QVBoxLayout;
        texts->setSpacing(2);
        auto *title = new QLabel(frame);
        title->setFont(scaled(font(), 0.95, QFont::DemiBold));
        auto *detail = new QLabel(frame);
        detail->setWordWrap(true);
        detail->setFont(scaled(font(), 0.8));
        PanelColours::setTextColour(detail, Theme::textDim());
        texts->addWidget(title);
        texts->addWidget(detail, 1, Qt::AlignTop);
        cardLayout->addLayout(texts, 1);
        grid->addWidget(frame, at / 2, at % 2);
        m_cards.emplace_back(title, detail);
        ++at;
    }
    layout->addLayout(grid, 1);

    // Footer: licence, credit with the web site, then the buttons.
    for (QLabel *line : {m_licence, m_credit}) {
        line->setFont(scaled(font(), 0.8));
        PanelColours::setTextColour(line, Theme::textFaint());
    }
    layout->addWidget(m_licence);
    auto *creditRow = new QHBoxLayout;
    creditRow->setSpacing(0);
    creditRow->addWidget(m_credit);
    m_website->setFont(scaled(font(), 0.8));
    creditRow->addWidget(m_website);
    creditRow->addStretch();
    layout->addLayout(creditRow);
    connect(m_website, &QPushButton::clicked, this,
            [this] { send(Command::openVantleAppsWebsite); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_help);
    buttons->addWidget(m_updates);
    buttons->addStretch();
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_ok->setMinimumWidth(90);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(m_help, &QPushButton::clicked, this, [this] { send(Command::showHelp); });
    connect(m_updates, &QPushButton::clicked, this, [this] { send(Command::checkForUpdates); });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (m_close)
            m_close();
    });

    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &AboutView::retranslate);
    retranslate();
    refreshCommands();
}

void AboutView::retranslate()
{
    showBadge();
    m_tagline->setText(L(u"Éditeur de texte et de code natif, rapide et léger, pour Linux"_s,
                         u"Native, fast and lightweight text and code editor for Linux"_s));
    m_toolkitPill->setText(u"Qt 6 · Qt Widgets"_s);
    m_languagePill->setText(
        L(u"C++20 · quelques bibliothèques du système"_s, u"C++20 · a few system libraries"_s));
    m_heading->setText(L(u"CE QUE FAIT PLUMEO"_s, u"WHAT PLUMEO DOES"_s));
    const auto &cards = features();
    for (std::size_t i = 0; i < cards.size(); ++i) {
        m_cards[i].first->setText(L(cards[i].frenchTitle, cards[i].englishTitle));
        m_cards[i].second->setText(L(cards[i].frenchDetail, cards[i].englishDetail));
    }
    m_licence->setText(
        L(u"© Vantle, tous droits réservés · %1"_s, u"© Vantle, all rights reserved · %1"_s)
            .arg(appIdentifier()));
    m_credit->setText(
        L(u"Conçu et développé par Vantle · "_s, u"Designed and built by Vantle · "_s));
    m_website->setText(QUrl(MainMenu::makerWebsite.toString()).host());
    m_help->setText(
        L(u"Aide (%1)"_s, u"Help (%1)"_s).arg(ShortcutsTable::keyText(Command::showHelp)));
    m_updates->setText(L(u"Rechercher des mises à jour…"_s, u"Check for Updates…"_s));
    m_ok->setText(u"OK"_s);
}

void AboutView::showBadge()
{
    m_badge->setText(m_copiedVersion ? u"✓ "_s + L(u"Copié"_s, u"Copied"_s)
                                     : u"❐ "_s + AppVersion::shortLabel());
    m_badge->setToolTip(L(u"Cliquer pour copier « %1 » dans le presse-papiers"_s,
                          u"Click to copy “%1” to the clipboard"_s)
                            .arg(AppVersion::description()));
}

void AboutView::copyVersion()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(AppVersion::description());
    m_copiedVersion = true;
    showBadge();
    animateBadge(150, QEasingCurve::OutCubic);
    // Each click schedules its own reset: the first one ends the confirmation, the others find
    // nothing left to change.
    QTimer::singleShot(copiedMilliseconds, this, [this] {
        if (!m_copiedVersion)
            return;
        m_copiedVersion = false;
        showBadge();
        animateBadge(200, QEasingCurve::InCubic);
    });
}

void AboutView::animateBadge(int milliseconds, QEasingCurve::Type curve)
{
    if (WindowMotion::isReduced())
        return;
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(m_badge->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(m_badge);
        m_badge->setGraphicsEffect(effect);
    }
    auto *fade = new QPropertyAnimation(effect, "opacity", effect);
    fade->setDuration(milliseconds);
    fade->setStartValue(0.2);
    fade->setEndValue(1.0);
    fade->setEasingCurve(curve);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void AboutView::refreshCommands()
{
    const auto available = [this](Command command) {
        return m_commands.isAvailable && m_commands.isAvailable(command);
    };
    m_help->setEnabled(available(Command::showHelp));
    m_updates->setEnabled(available(Command::checkForUpdates));
    m_website->setEnabled(available(Command::openVantleAppsWebsite));
}

void AboutView::send(Command command)
{
    refreshCommands();
    if (m_commands.send && m_commands.isAvailable && m_commands.isAvailable(command))
        m_commands.send(command);
}

void AboutView::showEvent(QShowEvent *event)
{
    refreshCommands();
    QWidget::showEvent(event);
}

void AboutView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshCommands();
    QWidget::changeEvent(event);
}

} // namespace plumeo
