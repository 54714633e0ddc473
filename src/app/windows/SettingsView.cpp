#include "windows/SettingsView.h"

#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "Preferences.h"
#include "Theme.h"
#include "text/AppLanguage.h"
#include "text/LineEnding.h"
#include "text/Localization.h"
#include "text/TextFile.h"
#include "text/UserDefaults.h"
#include "windows/SegmentedPicker.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QJsonValue>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plumeo {

namespace {

constexpr int rowLabelWidth = 150;
// Marks a choice added only to show a stored value the list does not offer.
constexpr int extraChoiceRole = Qt::UserRole + 1;

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

// Shows value in picker: the choice that has it, else a choice added for it titled extraTitle
// (a hand-edited setting stays visible rather than shown as something it is not). A null
// extraTitle adds nothing and shows the first choice instead.
void showValue(QComboBox *picker, const QVariant &value, const QString &extraTitle)
{
    for (int i = picker->count() - 1; i >= 0 && picker->itemData(i, extraChoiceRole).toBool(); --i)
        picker->removeItem(i);
    int index = picker->findData(value, Qt::UserRole, Qt::MatchFixedString);
    if (index < 0 && !extraTitle.isNull()) {
        picker->addItem(extraTitle, value);
        index = picker->count() - 1;
        picker->setItemData(index, true, extraChoiceRole);
    }
    picker->setCurrentIndex(std::max(index, 0));
}

QString systemFontTitle()
{
    const QString family = SettingsView::systemMonospacedFamily();
    return L(QStringLiteral("%1 (système)"), QStringLiteral("%1 (system)")).arg(family);
}

} // namespace

SettingsView::SettingsView(QWidget *parent)
    : QWidget(parent)
    , m_column(new QVBoxLayout(this))
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::panel());
    setPalette(colours);
    m_column->setContentsMargins(24, 18, 24, 18);
    m_column->setSpacing(6);

    buildLanguageSection();
    buildTextSection();
    buildIndentationSection();
    buildFilesSection();
    buildUpdatesSection();
    m_column->addStretch(1);

    retranslate();
    refresh();
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &SettingsView::retranslate);
    // Every write reaches the store, from this panel, a menu or another Plumeo.
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, &SettingsView::refresh);
}

const QStringList &SettingsView::monospacedFamilies()
{
    static const QStringList families = [] {
        QStringList list;
        for (const QString &family : QFontDatabase::families())
            if (!QFontDatabase::isPrivateFamily(family) && QFontDatabase::isFixedPitch(family))
                list << family;
        std::sort(list.begin(), list.end()); // UTF-16 code units: the plain string order
        list.removeDuplicates();
        return list;
    }();
    return families;
}

QString SettingsView::systemMonospacedFamily()
{
    // The system font is often an alias ("Monospace"); the user wants to know what it stands for.
    return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
}

void SettingsView::retitleWith(std::function<void()> title)
{
    m_titles.push_back(std::move(title));
}

void SettingsView::refreshWith(std::function<void()> show)
{
    m_bindings.push_back(std::move(show));
}

void SettingsView::addSection(const QString &fr, const QString &en)
{
    auto *title = new QLabel(this);
    title->setObjectName(QStringLiteral("sectionTitle"));
    QFont font = title->font();
    font.setPointSizeF(10);
    font.setWeight(QFont::DemiBold);
    title->setFont(font);
    setTextColour(title, Theme::textFaint());
    if (m_column->count() > 0)
        m_column->addSpacing(12);
    m_column->addWidget(title);
    retitleWith([title, fr, en] { title->setText(L(fr, en)); });
}

void SettingsView::addRow(const QString &fr, const QString &en, QWidget *control)
{
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(this);
    label->setFixedWidth(rowLabelWidth);
    setTextColour(label, Theme::textDim());
    row->addWidget(label);
    row->addWidget(control);
    row->addStretch(1);
    m_column->addLayout(row);
    retitleWith([label, fr, en] { label->setText(L(fr, en)); });
}

QCheckBox *
SettingsView::addCheckBox(const QString &fr, const QString &en, const QString &key, QLayout *layout)
{
    auto *box = new QCheckBox(this);
    box->setObjectName(key);
    (layout ? layout : m_column)->addWidget(box);
    retitleWith([box, fr, en] { box->setText(L(fr, en)); });
    refreshWith([box, key] { box->setChecked(Preferences::boolean(key)); });
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
        if (!m_refreshing)
            Preferences::set(key, QJsonValue(on));
    });
    return box;
}

void SettingsView::buildLanguageSection()
{
    addSection(QStringLiteral("Langue"), QStringLiteral("Language"));
    m_languagePicker = new SegmentedPicker(this);
    m_languagePicker->setObjectName(QStringLiteral("languagePicker"));
    auto *row = new QHBoxLayout;
    row->addWidget(m_languagePicker);
    row->addStretch(1);
    m_column->addLayout(row);
    retitleWith([picker = m_languagePicker] {
        QStringList titles;
        for (const AppLanguage language : AppLanguage::allCases())
            titles << language.label();
        picker->setTitles(titles);
        // The language may have been set elsewhere (another panel, a test): show the one in force.
        const auto &cases = AppLanguage::allCases();
        picker->setCurrentIndex(
            int(std::find(cases.begin(), cases.end(), Localization::current()) - cases.begin()));
    });
    connect(m_languagePicker, &SegmentedPicker::activated, this,
            [](int index) { Preferences::setLanguage(AppLanguage::allCases().at(size_t(index))); });
}

void SettingsView::buildTextSection()
{
    addSection(QStringLiteral("Texte"), QStringLiteral("Text"));

    m_fontPicker = new QComboBox(this);
    m_fontPicker->setObjectName(QStringLiteral("fontPicker"));
    // Its texts change with the language: it must grow with them, not only on first show.
    m_fontPicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_fontPicker->addItem(systemFontTitle(), QString());
    for (const QString &family : monospacedFamilies())
        m_fontPicker->addItem(family, family);
    addRow(QStringLiteral("Police"), QStringLiteral("Font"), m_fontPicker);
    retitleWith([picker = m_fontPicker] { picker->setItemText(0, systemFontTitle()); });
    refreshWith([picker = m_fontPicker] {
        const QString name = Preferences::string(Preferences::Key::fontName());
        // The editor uses any installed family it is given, fixed-pitch or not; an unknown one
        // gives the system font, and so does this list.
        const bool installed =
            !name.isEmpty() && QFontDatabase::families().contains(name, Qt::CaseInsensitive);
        showValue(picker, installed ? name : QString(), installed ? name : QString());
    });
    connect(m_fontPicker, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing || index < 0)
            return;
        Preferences::set(Preferences::Key::fontName(),
                         QJsonValue(m_fontPicker->itemData(index).toString()));
    });

    m_fontSizeStepper = new QSpinBox(this);
    m_fontSizeStepper->setObjectName(QStringLiteral("fontSizeStepper"));
    m_fontSizeStepper->setRange(smallestFontSize, largestFontSize);
    m_fontSizeStepper->setSingleStep(1);
    m_fontSizeStepper->setSuffix(QStringLiteral(" pt"));
    addRow(QStringLiteral("Taille"), QStringLiteral("Size"), m_fontSizeStepper);
    refreshWith([stepper = m_fontSizeStepper] {
        stepper->setValue(int(std::lround(Preferences::number(Preferences::Key::fontSize()))));
    });
    connect(m_fontSizeStepper, &QSpinBox::valueChanged, this, [this](int size) {
        if (!m_refreshing)
            Preferences::set(Preferences::Key::fontSize(), QJsonValue(double(size)));
    });

    addCheckBox(QStringLiteral("Retour à la ligne automatique"), QStringLiteral("Word wrap"),
                Preferences::Key::wordWrap());
    addCheckBox(QStringLiteral("Numéros de ligne"), QStringLiteral("Line numbers"),
                Preferences::Key::showLineNumbers());
    addCheckBox(QStringLiteral("Surligner la ligne courante"),
                QStringLiteral("Highlight current line"), Preferences::Key::highlightCurrentLine());
    addCheckBox(QStringLiteral("Masquer les balises Markdown, sauf sur la ligne du curseur"),
                QStringLiteral("Hide Markdown markup except on the caret line"),
                Preferences::Key::hideMarkdownMarkup());
}

void SettingsView::buildIndentationSection()
{
    addSection(QStringLiteral("Indentation"), QStringLiteral("Indentation"));

    m_indentPicker = new SegmentedPicker(this);
    m_indentPicker->setObjectName(QStringLiteral("indentPicker"));
    addRow(QStringLiteral("Nouveaux fichiers"), QStringLiteral("New files"), m_indentPicker);
    retitleWith([picker = m_indentPicker] {
        picker->setTitles({L(QStringLiteral("Espaces"), QStringLiteral("Spaces")),
                           L(QStringLiteral("Tabulations"), QStringLiteral("Tabs"))});
    });
    refreshWith([picker = m_indentPicker] {
        picker->setCurrentIndex(Preferences::boolean(Preferences::Key::indentWithTabs()) ? 1 : 0);
    });
    connect(m_indentPicker, &SegmentedPicker::activated, this, [](int index) {
        Preferences::set(Preferences::Key::indentWithTabs(), QJsonValue(index == 1));
    });

    m_tabWidthStepper = new QSpinBox(this);
    m_tabWidthStepper->setObjectName(QStringLiteral("tabWidthStepper"));
    m_tabWidthStepper->setRange(narrowestTab, widestTab);
    m_tabWidthStepper->setSingleStep(1);
    addRow(QStringLiteral("Largeur"), QStringLiteral("Width"), m_tabWidthStepper);
    const auto nameColumns = [stepper = m_tabWidthStepper] {
        stepper->setSuffix(stepper->value() == 1
                               ? L(QStringLiteral(" colonne"), QStringLiteral(" column"))
                               : L(QStringLiteral(" colonnes"), QStringLiteral(" columns")));
    };
    retitleWith(nameColumns);
    connect(m_tabWidthStepper, &QSpinBox::valueChanged, this, nameColumns);
    refreshWith([stepper = m_tabWidthStepper] {
        const qint64 width = Preferences::integer(Preferences::Key::tabWidth());
        stepper->setValue(int(std::clamp<qint64>(width, narrowestTab, widestTab)));
    });
    connect(m_tabWidthStepper, &QSpinBox::valueChanged, this, [this](int width) {
        if (!m_refreshing)
            Preferences::set(Preferences::Key::tabWidth(), QJsonValue(width));
    });

    addCheckBox(QStringLiteral("Indenter la nouvelle ligne comme la précédente"),
                QStringLiteral("Indent new lines like the previous line"),
                Preferences::Key::autoIndent());

    auto *note = new QLabel(this);
    note->setObjectName(QStringLiteral("indentationNote"));
    note->setWordWrap(true);
    setTextColour(note, Theme::textDim());
    QFont small = note->font();
    small.setPointSizeF(std::max(small.pointSizeF() - 1, 8.0));
    note->setFont(small);
    m_column->addWidget(note);
    retitleWith([note] {
        note->setText(L(QStringLiteral("Un fichier ouvert garde l’indentation lue dans son texte."),
                        QStringLiteral("An opened file keeps the indentation detected in its "
                                       "text.")));
    });
}

void SettingsView::buildFilesSection()
{
    addSection(QStringLiteral("Fichiers"), QStringLiteral("Files"));

    m_encodingPicker = new QComboBox(this);
    m_encodingPicker->setObjectName(QStringLiteral("encodingPicker"));
    m_encodingPicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const Encoding &encoding : TextFile::encodings())
        m_encodingPicker->addItem(TextFile::name(encoding), qulonglong(encoding.rawValue()));
    addRow(QStringLiteral("Encodage par défaut"), QStringLiteral("Default encoding"),
           m_encodingPicker);
    retitleWith([picker = m_encodingPicker] {
        for (int i = 0; i < picker->count(); ++i)
            picker->setItemText(i, TextFile::name(Encoding(picker->itemData(i).toULongLong())));
    });
    refreshWith([picker = m_encodingPicker] {
        const Encoding encoding = Preferences::preferredEncoding();
        showValue(picker, qulonglong(encoding.rawValue()), TextFile::name(encoding));
    });
    connect(m_encodingPicker, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing || index < 0)
            return;
        Preferences::set(Preferences::Key::defaultEncoding(),
                         QJsonValue(qint64(m_encodingPicker->itemData(index).toULongLong())));
    });

    m_lineEndingPicker = new QComboBox(this);
    m_lineEndingPicker->setObjectName(QStringLiteral("lineEndingPicker"));
    m_lineEndingPicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const LineEnding ending : LineEnding::allCases())
        m_lineEndingPicker->addItem(ending.label(), ending.rawValue());
    addRow(QStringLiteral("Fins de ligne par défaut"), QStringLiteral("Default line endings"),
           m_lineEndingPicker);
    retitleWith([picker = m_lineEndingPicker] {
        for (int i = 0; i < picker->count(); ++i)
            if (const auto ending = LineEnding::fromRawValue(picker->itemData(i).toString()))
                picker->setItemText(i, ending->label());
    });
    refreshWith([picker = m_lineEndingPicker] {
        showValue(picker, Preferences::defaultLineEnding().rawValue(), QString());
    });
    connect(m_lineEndingPicker, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing || index < 0)
            return;
        Preferences::set(Preferences::Key::defaultLineEnding(),
                         QJsonValue(m_lineEndingPicker->itemData(index).toString()));
    });

    addCheckBox(QStringLiteral("Afficher les fichiers masqués dans le dialogue d’ouverture"),
                QStringLiteral("Show hidden files in the Open dialog"),
                Preferences::Key::showHiddenFiles());
    addCheckBox(QStringLiteral("Rouvrir la dernière session au lancement"),
                QStringLiteral("Reopen the last session at launch"),
                Preferences::Key::restoreSession());
}

void SettingsView::buildUpdatesSection()
{
    addSection(QStringLiteral("Mises à jour"), QStringLiteral("Updates"));
    auto *row = new QHBoxLayout;
    m_column->addLayout(row);
    addCheckBox(QStringLiteral("Vérifier les mises à jour au lancement"),
                QStringLiteral("Check for updates on launch"), Preferences::Key::autoCheckUpdates(),
                row);
    row->addStretch(1);
    m_checkNowButton = new QPushButton(this);
    m_checkNowButton->setObjectName(QStringLiteral("checkNowButton"));
    m_checkNowButton->setAutoDefault(false);
    row->addWidget(m_checkNowButton);
    // The menu item's own path: the application answers it, so the button is live only while the
    // application runs.
    const auto checkNow = [] {
        return MenuItemInfo{Command::checkForUpdates, {}, AppDelegate::shared()};
    };
    m_checkNowButton->setEnabled(ActionDispatcher::shared().validate(checkNow()).enabled);
    connect(m_checkNowButton, &QPushButton::clicked, this,
            [checkNow] { ActionDispatcher::shared().perform(checkNow()); });
    retitleWith([button = m_checkNowButton] {
        button->setText(L(QStringLiteral("Vérifier maintenant…"), QStringLiteral("Check Now…")));
    });
}

void SettingsView::retranslate()
{
    // Titles changed here are not settings changes: nothing may be written back.
    const QScopedValueRollback<bool> refreshing(m_refreshing, true);
    for (const auto &title : m_titles)
        title();
}

void SettingsView::refresh()
{
    const QScopedValueRollback<bool> refreshing(m_refreshing, true);
    for (const auto &show : m_bindings)
        show();
}

} // namespace plumeo
