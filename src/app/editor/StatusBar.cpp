#include "editor/StatusBar.h"

#include "AppVersion.h"
#include "MainMenu.h"
#include "Theme.h"
#include "editor/EditorModel.h"
#include "text/Localization.h"
#include "text/StatusTexts.h"
#include "update/Updater.h"

#include <array>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QToolButton>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::array<Command, 3> commandButtons{Command::showHelp, Command::showShortcuts,
                                                Command::showAbout};

// The key of a command as its menu item shows it ("Ctrl+/").
QString keyHint(Command command)
{
    return QKeySequence(Commands::info(command).shortcut).toString(QKeySequence::NativeText);
}

QString barStyleSheet()
{
    const auto name = [](const QColor &colour) {
        return u"rgba(%1, %2, %3, %4)"_s.arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue())
            .arg(colour.alpha());
    };
    QColor disabled = Theme::textFaint();
    disabled.setAlphaF(0.45);
    return uR"(
QToolButton { color: %1; background: transparent; border: none; padding: 0px 4px; }
QToolButton:hover { color: %2; }
QToolButton:disabled { color: %3; }
QToolButton::menu-indicator { image: none; width: 0px; }
QLabel { color: %4; }
QLabel#noHighlighting { color: %5; }
QLabel#richTextPill { color: %5; background: %6; border-radius: 4px; padding: 0px 6px; }
QWidget#divider { background: %7; }
)"_s.arg(name(Theme::textFaint()), name(Theme::text()), name(disabled), name(Theme::textDim()),
         name(Theme::accent()),
         name(QColor(Theme::accent().red(), Theme::accent().green(), Theme::accent().blue(), 40)),
         name(Theme::separator()));
}

} // namespace

StatusBar::StatusBar(EditorModel *model, StatusBarActions actions, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_actions(std::move(actions))
{
    setFixedHeight(barHeight);
    setAttribute(Qt::WA_StyledBackground, false);
    QFont small = font();
    small.setPointSizeF(std::max(small.pointSizeF() - 1, 8.0));
    setFont(small);
    setStyleSheet(barStyleSheet());

    m_language = makeMenuButton(u"languageButton"_s);
    m_richText = makeLabel(u"richTextPill"_s);
    m_richText->setText(u"RTF"_s);
    m_position = makeLabel(u"position"_s);
    m_selection = makeLabel(u"selection"_s);
    m_counts = makeLabel(u"counts"_s);
    m_noHighlighting = makeLabel(u"noHighlighting"_s);
    m_loading = new QProgressBar(this);
    m_loading->setObjectName(u"loadProgress"_s);
    m_loading->setRange(0, 100);
    m_loading->setTextVisible(false);
    m_loading->setFixedSize(120, 8);
    m_loading->hide();
    m_divider = new QWidget(this);
    m_divider->setObjectName(u"divider"_s);
    m_divider->setAttribute(Qt::WA_StyledBackground, true);
    m_divider->setFixedSize(1, 14);
    m_encoding = makeMenuButton(u"encodingButton"_s);
    m_lineEnding = makeMenuButton(u"lineEndingButton"_s);
    m_indentation = makeLabel(u"indentation"_s);
    m_update = makeButton(u"updatePill"_s);
    m_update->setStyleSheet(
        u"QToolButton { color: %1; background: %2; border-radius: 7px; padding: 0 6px; }"_s.arg(
            Theme::accent().name(),
            QColor(Theme::accent().red(), Theme::accent().green(), Theme::accent().blue(), 40)
                .name(QColor::HexArgb)));
    m_help = makeButton(u"helpButton"_s);
    m_shortcuts = makeButton(u"shortcutsButton"_s);
    m_about = makeButton(u"aboutButton"_s);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 1, 6, 0);
    layout->setSpacing(10);
    for (QWidget *item : {static_cast<QWidget *>(m_language), static_cast<QWidget *>(m_richText),
                          static_cast<QWidget *>(m_position), static_cast<QWidget *>(m_selection)})
        layout->addWidget(item);
    layout->addStretch(1);
    for (QWidget *item :
         {static_cast<QWidget *>(m_loading), static_cast<QWidget *>(m_counts),
          static_cast<QWidget *>(m_noHighlighting), m_divider, static_cast<QWidget *>(m_encoding),
          static_cast<QWidget *>(m_lineEnding), static_cast<QWidget *>(m_indentation),
          static_cast<QWidget *>(m_update), static_cast<QWidget *>(m_help),
          static_cast<QWidget *>(m_shortcuts), static_cast<QWidget *>(m_about)})
        layout->addWidget(item);

    for (const Command command : commandButtons) {
        connect(commandButton(command), &QToolButton::clicked, this, [this, command] {
            if (!m_actions.perform || !m_actions.perform(MenuItemInfo{command}))
                QApplication::beep();
        });
    }

    connect(m_update, &QToolButton::clicked, this, [] { Updater::shared().presentUpdateUi(); });
    connect(&Updater::shared(), &Updater::changed, this, &StatusBar::retranslate);
    connect(m_model, &EditorModel::changed, this, &StatusBar::refresh);
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &StatusBar::retranslate);
    retranslate();
}

QToolButton *StatusBar::makeButton(const QString &objectName)
{
    auto *button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QToolButton *StatusBar::makeMenuButton(const QString &objectName)
{
    QToolButton *button = makeButton(objectName);
    auto *menu = new QMenu(button);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    // Submenus report their items' triggers to this menu too: each item is handled here, once.
    connect(menu, &QMenu::triggered, this, [this](QAction *action) {
        const auto item = MenuItemInfo::of(action);
        if (!item || !m_actions.perform || !m_actions.perform(*item))
            QApplication::beep();
    });
    return button;
}

QLabel *StatusBar::makeLabel(const QString &objectName)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QToolButton *StatusBar::commandButton(Command command) const
{
    switch (command) {
    case Command::showHelp:
        return m_help;
    case Command::showShortcuts:
        return m_shortcuts;
    default:
        return m_about;
    }
}

void StatusBar::fillMenus()
{
    const auto refill = [this](QToolButton *button, void (*fill)(QMenu *, QObject *)) {
        QMenu *menu = button->menu();
        for (QMenu *old : menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly))
            delete old;
        menu->clear();
        fill(menu, m_actions.target.data());
        // Each menu and submenu is checked against the document as it opens, as the menus are.
        for (QMenu *each : QList<QMenu *>{menu} + menu->findChildren<QMenu *>()) {
            disconnect(each, &QMenu::aboutToShow, this, nullptr);
            connect(each, &QMenu::aboutToShow, this, [this, each] {
                if (m_actions.validateMenu)
                    m_actions.validateMenu(each);
            });
        }
    };
    refill(m_language, &MainMenu::addLanguageItems);
    refill(m_encoding, &MainMenu::addEncodingItems);
    refill(m_lineEnding, &MainMenu::addLineEndingItems);
}

void StatusBar::retranslate()
{
    m_language->setToolTip(L(u"Langage de coloration de ce document"_s,
                             u"Syntax highlighting language for this document"_s));
    m_richText->setToolTip(L(u"Texte enrichi : polices et couleurs du fichier"_s,
                             u"Rich text: fonts and colors from the file"_s));
    m_noHighlighting->setText(L(u"sans coloration"_s, u"no highlighting"_s));
    m_noHighlighting->setToolTip(L(u"Au-delà de 4 Mo le texte n’est pas colorié"_s,
                                   u"Above 4 MB, text is not highlighted"_s));
    m_encoding->setToolTip(
        L(u"Encodage du fichier ; un document non modifié est relu dans l’encodage choisi"_s,
          u"File encoding; an unmodified document is reloaded in the chosen encoding"_s));
    m_lineEnding->setToolTip(
        L(u"Fins de ligne écrites à l’enregistrement"_s, u"Line endings written when saving"_s));
    m_indentation->setToolTip(
        L(u"Indentation lue dans le fichier"_s, u"Indentation detected in the file"_s));
    const auto &release = Updater::shared().availableRelease();
    m_update->setVisible(release.has_value());
    if (release) {
        m_update->setText(u"↑ v"_s + release->version);
        m_update->setToolTip(L(u"Mise à jour v%1 disponible — cliquer pour installer"_s,
                               u"Update v%1 available — click to install"_s)
                                 .arg(release->version));
    }
    m_help->setText(L(u"? aide"_s, u"? help"_s));
    m_help->setToolTip(L(u"Ouvrir le guide de Plumeo (%1)"_s, u"Open the Plumeo guide (%1)"_s)
                           .arg(keyHint(Command::showHelp)));
    const QString shortcutsKey = keyHint(Command::showShortcuts);
    m_shortcuts->setText(shortcutsKey + L(u" raccourcis"_s, u" shortcuts"_s));
    m_shortcuts->setToolTip(
        L(u"Afficher les raccourcis clavier (%1)"_s, u"Show keyboard shortcuts (%1)"_s)
            .arg(shortcutsKey));
    m_about->setText(AppVersion::shortLabel());
    m_about->setToolTip(L(u"À propos de "_s, u"About "_s) + AppVersion::description());
    fillMenus();
    refresh();
    updateCommandStates();
}

void StatusBar::refresh()
{
    const bool rich = m_model->isRichText();
    m_language->setVisible(!rich);
    m_richText->setVisible(rich);
    m_language->setText(m_model->languageName());
    m_position->setText(StatusTexts::position(m_model->line(), m_model->column()));
    m_selection->setVisible(m_model->selectedCharacters() >= 1);
    m_selection->setText(
        StatusTexts::selection(m_model->selectedCharacters(), m_model->selectedLines()));
    m_counts->setText(StatusTexts::counts(m_model->lines(), m_model->words()));
    m_noHighlighting->setVisible(!m_model->highlighted());
    m_loading->setVisible(m_model->loadPercent().has_value());
    if (const auto percent = m_model->loadPercent()) {
        m_loading->setValue(*percent);
        m_loading->setToolTip(StatusTexts::loading(*percent));
    }
    m_encoding->setVisible(!rich);
    m_encoding->setText(m_model->encodingName());
    m_lineEnding->setVisible(!rich);
    m_lineEnding->setText(m_model->lineEndingName());
    m_indentation->setVisible(!rich);
    m_indentation->setText(m_model->indentLabel());
}

void StatusBar::updateCommandStates()
{
    for (const Command command : commandButtons)
        commandButton(command)->setEnabled(m_actions.validate
                                           && m_actions.validate(MenuItemInfo{command}).enabled);
}

void StatusBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), Theme::panel());
    painter.fillRect(QRect(0, 0, width(), 1), Theme::separator());
}

void StatusBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateCommandStates();
}

void StatusBar::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    updateCommandStates();
}

} // namespace plumeo
