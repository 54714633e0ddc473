#include "ShortcutsView.h"

#include "AppVersion.h"
#include "PanelColours.h"
#include "ShortcutsTable.h"
#include "Theme.h"
#include "text/Localization.h"

#include <algorithm>

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

// The panel's content is 820 wide; the columns share what the margins and gaps leave.
constexpr int contentWidth = 820;
constexpr int sideMargin = 20;
constexpr int columnGap = 18;
constexpr int keyGap = 8;

} // namespace

ShortcutsView::ShortcutsView(std::function<void()> close, QWidget *parent)
    : QWidget(parent)
    , m_close(std::move(close))
    , m_heading(new QLabel(this))
    , m_version(new QLabel(this))
    , m_note(new QLabel(this))
    , m_ok(new QPushButton(this))
{
    PanelColours::applyPanel(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(sideMargin, 18, sideMargin, 14);
    layout->setSpacing(14);

    auto *header = new QHBoxLayout;
    QFont headingFont = m_heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.45);
    headingFont.setWeight(QFont::DemiBold);
    m_heading->setFont(headingFont);
    PanelColours::setTextColour(m_version, Theme::textDim());
    header->addWidget(m_heading);
    header->addStretch();
    header->addWidget(m_version);
    layout->addLayout(header);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(columnGap);
    QFont keysFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    keysFont.setPointSizeF(font().pointSizeF() * 0.85);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);
    for (const ShortcutsTable::Group &group : ShortcutsTable::groups()) {
        auto *grid = new QGridLayout;
        grid->setHorizontalSpacing(keyGap);
        grid->setVerticalSpacing(4);
        GroupLabels labels{new QLabel(this), {}};
        QFont titleFont = labels.title->font();
        titleFont.setWeight(QFont::DemiBold);
        labels.title->setFont(titleFont);
        PanelColours::setTextColour(labels.title, Theme::accent());
        grid->addWidget(labels.title, 0, 0, 1, 2);
        int row = 1;
        for (std::size_t i = 0; i < group.entries.size(); ++i, ++row) {
            auto *keys = new QLabel(this);
            keys->setFont(keysFont);
            keys->setWordWrap(false);
            keys->setTextFormat(Qt::PlainText);
            keys->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            PanelColours::setTextColour(keys, Theme::cyan());
            auto *description = new QLabel(this);
            description->setFont(small);
            description->setWordWrap(true);
            description->setTextFormat(Qt::PlainText);
            description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            grid->addWidget(keys, row, 0, Qt::AlignTop);
            grid->addWidget(description, row, 1, Qt::AlignTop);
            labels.rows.emplace_back(keys, description);
        }
        grid->setRowStretch(row, 1);
        columns->addLayout(grid);
        m_groups.push_back(std::move(labels));
    }
    columns->addStretch();
    layout->addLayout(columns, 1);

    PanelColours::setTextColour(m_note, Theme::textDim());
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_ok->setMinimumWidth(90);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (m_close)
            m_close();
    });

    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &ShortcutsView::retranslate);
    retranslate();
}

void ShortcutsView::retranslate()
{
    m_heading->setText(L(u"Raccourcis clavier"_s, u"Keyboard Shortcuts"_s));
    m_version->setText(AppVersion::shortLabel());
    m_note->setText(L(u"Les menus Fichier, Édition et Présentation listent tout."_s,
                      u"The File, Edit and View menus list every command."_s));
    m_ok->setText(u"OK"_s);
    const auto &groups = ShortcutsTable::groups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        m_groups[g].title->setText(L(groups[g].french, groups[g].english));
        for (std::size_t e = 0; e < groups[g].entries.size(); ++e) {
            const ShortcutsTable::Entry &entry = groups[g].entries[e];
            m_groups[g].rows[e].first->setText(ShortcutsTable::keysText(entry));
            m_groups[g].rows[e].second->setText(L(entry.french, entry.english));
        }
    }
    fitColumns();
}

void ShortcutsView::fitColumns()
{
    // Keys never wrap: each keys column is as wide as its longest keys. The descriptions share
    // the rest, each group in proportion to how much it has to say, and wrap within it.
    const int groupCount = int(m_groups.size());
    std::vector<int> keyWidths, wordiness;
    int spare = contentWidth - 2 * sideMargin - (groupCount - 1) * columnGap - groupCount * keyGap;
    int totalWordiness = 0;
    for (const GroupLabels &group : m_groups) {
        int keys = 0, words = 0;
        for (const auto &[key, description] : group.rows) {
            keys = std::max(keys, key->fontMetrics().horizontalAdvance(key->text()) + 2);
            words += description->fontMetrics().horizontalAdvance(description->text());
        }
        keyWidths.push_back(keys);
        // Every column gets a share of its own, then more for longer texts.
        wordiness.push_back(words + 800);
        spare -= keys;
        totalWordiness += wordiness.back();
    }
    for (int g = 0; g < groupCount; ++g) {
        const int width = std::max(spare * wordiness[g] / totalWordiness, 60);
        for (const auto &[key, description] : m_groups[g].rows) {
            key->setFixedWidth(keyWidths[g]);
            description->setFixedWidth(width);
            description->setMinimumHeight(description->heightForWidth(width));
        }
    }
}

std::vector<QStringList> ShortcutsView::shownGroups() const
{
    std::vector<QStringList> shown;
    for (const GroupLabels &group : m_groups) {
        QStringList lines{group.title->text()};
        for (const auto &[keys, description] : group.rows)
            lines << keys->text() + u'\t' + description->text();
        shown.push_back(lines);
    }
    return shown;
}

} // namespace plumeo
