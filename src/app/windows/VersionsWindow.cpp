#include "windows/VersionsWindow.h"

#include "Theme.h"
#include "document/TextDocument.h"
#include "io/VersionStore.h"
#include "text/Localization.h"
#include "text/TextFile.h"
#include "text/VersionText.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace plumeo {

namespace {

QLocale interfaceLocale()
{
    return Localization::isEnglish() ? QLocale(QLocale::English, QLocale::UnitedStates)
                                     : QLocale(QLocale::French, QLocale::France);
}

QString dateText(qint64 modifiedMs)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(modifiedMs);
    return interfaceLocale().toString(when, L(QStringLiteral("d MMMM yyyy 'à' HH:mm:ss"),
                                              QStringLiteral("MMMM d, yyyy 'at' h:mm:ss AP")));
}

QString sizeText(qint64 bytes)
{
    const QLocale locale = interfaceLocale();
    if (bytes < 2) // French counts zero and one in the singular
        return L(QStringLiteral("%1 octet"),
                 bytes == 1 ? QStringLiteral("%1 byte") : QStringLiteral("%1 bytes"))
            .arg(bytes);
    if (bytes < 1024)
        return L(QStringLiteral("%1 octets"), QStringLiteral("%1 bytes"))
            .arg(locale.toString(bytes));
    if (bytes < 1024 * 1024)
        return L(QStringLiteral("%1 Ko"), QStringLiteral("%1 KB"))
            .arg(locale.toString(double(bytes) / 1024, 'f', 1));
    return L(QStringLiteral("%1 Mo"), QStringLiteral("%1 MB"))
        .arg(locale.toString(double(bytes) / (1024 * 1024), 'f', 1));
}

QColor tint(const QColor &colour, float alpha)
{
    QColor tinted = colour;
    tinted.setAlphaF(alpha);
    return tinted;
}

QPlainTextEdit *makeTextPane(QWidget *parent, const QString &name)
{
    auto *view = new QPlainTextEdit(parent);
    view->setObjectName(name);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(TextDocument::baseAttributes().font());
    QPalette colours = view->palette();
    colours.setColor(QPalette::Base, Theme::background());
    colours.setColor(QPalette::Text, Theme::text());
    view->setPalette(colours);
    return view;
}

} // namespace

VersionsWindow::VersionsWindow(TextDocument *document, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_document(document)
{
    build();
    // Typing in the editor while the window is open: compared again after a pause.
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(300);
    connect(m_refresh, &QTimer::timeout, this, &VersionsWindow::compareWithCurrent);
    connect(document->textStorage(), &QTextDocument::contentsChanged, m_refresh,
            qOverload<>(&QTimer::start));
    // A rename gives the window another title; a save, one more version.
    connect(document, &TextDocument::fileChanged, this, &VersionsWindow::reload);
    connect(document, &TextDocument::editedChanged, this, [this](bool edited) {
        if (!edited)
            reload();
    });
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &VersionsWindow::retranslate);
    reload();
    retranslate();
}

void VersionsWindow::build()
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::panel());
    setPalette(colours);
    resize(1000, 640);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("versionList"));
    m_list->setMinimumWidth(220);
    m_list->setSpacing(4);
    m_versionTitle = new QLabel(this);
    m_currentTitle = new QLabel(this);
    m_versionView = makeTextPane(this, QStringLiteral("versionText"));
    m_currentView = makeTextPane(this, QStringLiteral("currentText"));
    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    QPalette warning = m_message->palette();
    warning.setColor(QPalette::WindowText, Theme::accent());
    m_message->setPalette(warning);
    m_message->hide();
    m_restoreButton = new QPushButton(this);
    m_restoreButton->setObjectName(QStringLiteral("restore"));
    m_closeButton = new QPushButton(this);

    auto *versionColumn = new QVBoxLayout;
    versionColumn->addWidget(m_versionTitle);
    versionColumn->addWidget(m_versionView, 1);
    auto *currentColumn = new QVBoxLayout;
    currentColumn->addWidget(m_currentTitle);
    currentColumn->addWidget(m_currentView, 1);
    auto *panes = new QHBoxLayout;
    panes->addLayout(versionColumn, 1);
    panes->addLayout(currentColumn, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_message, 1);
    buttons->addStretch();
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_restoreButton);
    auto *right = new QVBoxLayout;
    right->addLayout(panes, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(right, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &VersionsWindow::showSelected);
    connect(m_restoreButton, &QPushButton::clicked, this, &VersionsWindow::restore);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void VersionsWindow::retranslate()
{
    const QString name = m_document ? m_document->displayName() : QString();
    setWindowTitle(
        L(QStringLiteral("Versions de « %1 »"), QStringLiteral("Versions of “%1”")).arg(name));
    m_versionTitle->setText(L(QStringLiteral("Version choisie"), QStringLiteral("Chosen version")));
    m_currentTitle->setText(
        L(QStringLiteral("Version actuelle"), QStringLiteral("Current version")));
    m_restoreButton->setText(L(QStringLiteral("Restaurer"), QStringLiteral("Restore")));
    m_closeButton->setText(L(QStringLiteral("Fermer"), QStringLiteral("Close")));
    const int row = m_list->currentRow();
    {
        const QSignalBlocker quiet(m_list);
        fillList();
        m_list->setCurrentRow(row);
    }
    showMessage();
}

void VersionsWindow::reload()
{
    m_versions.clear();
    m_historyDamaged = false;
    if (m_document && !m_document->filePath().isEmpty()) {
        auto listed = VersionStore::standard().versions(m_document->filePath());
        if (listed)
            m_versions = std::move(listed.value());
        else
            m_historyDamaged = true;
    }
    retranslate(); // fills the list
    selectRow(m_versions.empty() ? 0 : 1);
}

void VersionsWindow::fillList()
{
    m_list->clear();
    m_list->addItem(L(QStringLiteral("Version actuelle"), QStringLiteral("Current version")));
    for (const StoredVersion &version : m_versions)
        m_list->addItem(dateText(version.modifiedMs) + u'\n' + sizeText(version.size));
}

int VersionsWindow::rowCount() const
{
    return m_list->count();
}

void VersionsWindow::selectRow(int row)
{
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentRow(row);
    showSelected();
}

int VersionsWindow::selectedRow() const
{
    return m_list->currentRow();
}

void VersionsWindow::showSelected()
{
    m_say = m_historyDamaged ? Say::damagedHistory : Say::nothing;
    m_shownText.clear();
    m_shownReadable = false;
    const int row = m_list->currentRow();
    if (m_document && row >= 1 && row <= int(m_versions.size())) {
        const auto bytes =
            VersionStore::standard().contents(m_document->filePath(), m_versions[size_t(row - 1)]);
        if (!bytes) {
            m_say = Say::missingContents;
        } else if (auto text = VersionText::decode(bytes.value(), m_document->encoding())) {
            m_shownText = std::move(*text);
            m_shownReadable = true;
            if (!m_document->storageCodec().canEncode(m_shownText))
                m_say = Say::unrestorable;
        } else {
            m_say = Say::undecodable;
        }
    } else if (m_document) {
        m_shownText = m_document->text();
        m_shownReadable = true;
    }
    m_versionView->setPlainText(m_shownText);
    showMessage();
    compareWithCurrent();
}

void VersionsWindow::compareWithCurrent()
{
    m_refresh->stop();
    const QString current = m_document ? m_document->text() : QString();
    if (m_currentView->toPlainText() != current)
        m_currentView->setPlainText(current);
    m_comparison = m_shownReadable ? LineComparison::of(m_shownText, current) : LineComparison{};
    markLines(m_versionView, m_comparison.before);
    markLines(m_currentView, m_comparison.after);
    m_restoreButton->setEnabled(canRestore());
}

void VersionsWindow::markLines(QPlainTextEdit *view, const std::vector<LineComparison::Mark> &marks)
{
    QList<QTextEdit::ExtraSelection> selections;
    QTextBlock block = view->document()->firstBlock();
    for (const LineComparison::Mark mark : marks) {
        if (!block.isValid())
            break;
        if (mark != LineComparison::Mark::same) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = QTextCursor(block);
            selection.format.setProperty(QTextFormat::FullWidthSelection, true);
            const QColor &colour = mark == LineComparison::Mark::added     ? Theme::green()
                                   : mark == LineComparison::Mark::removed ? Theme::red()
                                                                           : Theme::yellow();
            selection.format.setBackground(tint(colour, 0.22f));
            selections.push_back(selection);
        }
        block = block.next();
    }
    view->setExtraSelections(selections);
}

QString VersionsWindow::message() const
{
    switch (m_say) {
    case Say::nothing:
        return {};
    case Say::damagedHistory:
        return VersionStoreError{VersionStoreError::Kind::damagedIndex, 0, {}}.description();
    case Say::missingContents:
        return VersionStoreError{VersionStoreError::Kind::missingContents, 0, {}}.description();
    case Say::undecodable: {
        const QString encoding = m_document ? TextFile::name(m_document->encoding()) : QString();
        return L(QStringLiteral("Cette version ne peut pas être lue en %1 : elle ne peut pas être "
                                "restaurée."),
                 QStringLiteral("This version cannot be read as %1, so it cannot be restored."))
            .arg(encoding);
    }
    case Say::unrestorable:
        return L(QStringLiteral("Cette version contient des caractères que ce document ne peut pas "
                                "accueillir : elle ne peut pas être restaurée."),
                 QStringLiteral("This version holds characters this document cannot take, so it "
                                "cannot be restored."));
    }
    return {};
}

void VersionsWindow::showMessage()
{
    const QString text = message();
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

bool VersionsWindow::canRestore() const
{
    return m_document && m_list->currentRow() >= 1 && m_shownReadable && m_say != Say::unrestorable
           && m_shownText != m_document->text();
}

void VersionsWindow::restore()
{
    if (!canRestore())
        return;
    Q_EMIT restoreRequested(m_shownText);
    compareWithCurrent();
}

} // namespace plumeo
