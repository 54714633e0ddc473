#include "editor/FindBar.h"

#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/TextSearch.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorView.h"
#include "editor/FindHighlighter.h"
#include "text/Localization.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace plumeo {

FindBar::FindBar(QWidget *parent)
    : QWidget(parent)
{
    m_highlighter = new FindHighlighter(this);
    build();
    retranslate();
    // Counting reads the whole text: after edits it waits for a pause in typing.
    m_statusTimer = new QTimer(this);
    m_statusTimer->setSingleShot(true);
    m_statusTimer->setInterval(250);
    connect(m_statusTimer, &QTimer::timeout, this, &FindBar::updateStatus);
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &FindBar::retranslate);
    hide();
}

FindBar::~FindBar()
{
    disconnect(m_contentsConnection);
}

void FindBar::build()
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::panel());
    setPalette(colours);

    m_findField = new QLineEdit(this);
    m_findField->setObjectName(QStringLiteral("findField"));
    m_findField->setClearButtonEnabled(true);
    m_caseButton = new QToolButton(this);
    m_caseButton->setText(QStringLiteral("Aa"));
    m_caseButton->setCheckable(true);
    m_caseButton->setObjectName(QStringLiteral("matchCase"));
    m_status = new QLabel(this);
    m_status->setMinimumWidth(90);
    m_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_previousButton = new QToolButton(this);
    m_previousButton->setArrowType(Qt::LeftArrow);
    m_nextButton = new QToolButton(this);
    m_nextButton->setArrowType(Qt::RightArrow);
    m_doneButton = new QPushButton(this);

    auto *findRow = new QHBoxLayout;
    findRow->addWidget(m_findField, 1);
    findRow->addWidget(m_status);
    findRow->addWidget(m_caseButton);
    findRow->addWidget(m_previousButton);
    findRow->addWidget(m_nextButton);
    findRow->addWidget(m_doneButton);

    m_replaceRow = new QWidget(this);
    m_replaceField = new QLineEdit(m_replaceRow);
    m_replaceField->setObjectName(QStringLiteral("replaceField"));
    m_replaceButton = new QPushButton(m_replaceRow);
    m_replaceAllButton = new QPushButton(m_replaceRow);
    auto *replaceRow = new QHBoxLayout(m_replaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceRow->addWidget(m_replaceField, 1);
    replaceRow->addWidget(m_replaceButton);
    replaceRow->addWidget(m_replaceAllButton);
    m_replaceRow->hide();

    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 4, 8, 4);
    rows->setSpacing(4);
    rows->addLayout(findRow);
    rows->addWidget(m_replaceRow);

    m_findField->installEventFilter(this);
    m_replaceField->installEventFilter(this);
    connect(m_findField, &QLineEdit::textEdited, this, &FindBar::searchAsTyped);
    connect(m_caseButton, &QToolButton::toggled, this, &FindBar::searchAsTyped);
    // Every change of the search, typed or set, is marked.
    const auto markSearch = [this] { m_highlighter->setSearch(searchString(), matchesCase()); };
    connect(m_findField, &QLineEdit::textChanged, this, markSearch);
    connect(m_caseButton, &QToolButton::toggled, this, markSearch);
    connect(m_previousButton, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_nextButton, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_doneButton, &QPushButton::clicked, this, &FindBar::dismiss);
    connect(m_replaceButton, &QPushButton::clicked, this, &FindBar::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &FindBar::replaceAll);
}

void FindBar::retranslate()
{
    m_findField->setPlaceholderText(L(QStringLiteral("Rechercher"), QStringLiteral("Find")));
    m_replaceField->setPlaceholderText(
        L(QStringLiteral("Remplacer par"), QStringLiteral("Replace with")));
    m_caseButton->setToolTip(L(QStringLiteral("Respecter la casse"), QStringLiteral("Match Case")));
    m_previousButton->setToolTip(L(QStringLiteral("Précédent"), QStringLiteral("Find Previous")));
    m_nextButton->setToolTip(L(QStringLiteral("Suivant"), QStringLiteral("Find Next")));
    m_doneButton->setText(L(QStringLiteral("Terminé"), QStringLiteral("Done")));
    m_replaceButton->setText(L(QStringLiteral("Remplacer"), QStringLiteral("Replace")));
    m_replaceAllButton->setText(L(QStringLiteral("Tout remplacer"), QStringLiteral("Replace All")));
    updateStatus();
}

void FindBar::setView(EditorView *view)
{
    if (view == m_view && m_viewWidget)
        return;
    disconnect(m_contentsConnection);
    m_view = view;
    m_viewWidget = view ? view->widget() : nullptr;
    m_textValid = false;
    m_highlighter->setView(view);
    if (view)
        m_contentsConnection =
            connect(view->document()->textStorage(), &QTextDocument::contentsChange, this,
                    [this](int, int removed, int added) {
                        if (removed == 0 && added == 0)
                            return;
                        m_textValid = false;
                        if (isVisible())
                            m_statusTimer->start();
                    });
    updateStatus();
}

EditorView *FindBar::view() const
{
    return m_viewWidget ? m_view : nullptr;
}

const QString &FindBar::text()
{
    // The whole text is read once per change of the document, not once per keystroke in the field.
    if (!m_textValid && view()) {
        m_text = view()->document()->text();
        m_textValid = true;
    }
    return m_text;
}

bool FindBar::isFinderCommand(Command command)
{
    switch (command) {
    case Command::find:
    case Command::findAndReplace:
    case Command::findNext:
    case Command::findPrevious:
    case Command::useSelectionForFind:
        return true;
    default:
        return false;
    }
}

bool FindBar::canPerform(Command command) const
{
    if (!view())
        return false;
    switch (command) {
    case Command::find:
    case Command::findAndReplace:
        return true;
    case Command::findNext:
    case Command::findPrevious:
        return !searchString().isEmpty();
    case Command::useSelectionForFind:
        return view()->textCursor().hasSelection();
    default:
        return false;
    }
}

void FindBar::perform(Command command)
{
    switch (command) {
    case Command::find:
        showFind();
        break;
    case Command::findAndReplace:
        showReplace();
        break;
    case Command::findNext:
        findNext();
        break;
    case Command::findPrevious:
        findPrevious();
        break;
    case Command::useSelectionForFind:
        useSelectionForFind();
        break;
    default:
        break;
    }
}

void FindBar::showFind()
{
    showBar(false);
}

void FindBar::showReplace()
{
    showBar(true);
}

void FindBar::showBar(bool replaceRow)
{
    retranslate();
    m_replaceRow->setVisible(replaceRow);
    show();
    m_findField->setFocus(Qt::ShortcutFocusReason);
    m_findField->selectAll();
}

void FindBar::dismiss()
{
    hide();
    if (QWidget *widget = m_viewWidget)
        widget->setFocus(Qt::OtherFocusReason);
}

QString FindBar::searchString() const
{
    return m_findField->text();
}

void FindBar::setSearchString(const QString &text)
{
    m_findField->setText(text);
    updateStatus();
}

QString FindBar::replacementString() const
{
    return m_replaceField->text();
}

void FindBar::setReplacementString(const QString &text)
{
    m_replaceField->setText(text);
}

bool FindBar::matchesCase() const
{
    return m_caseButton->isChecked();
}

void FindBar::setMatchesCase(bool on)
{
    m_caseButton->setChecked(on);
}

bool FindBar::showsReplace() const
{
    return !m_replaceRow->isHidden();
}

QString FindBar::statusText() const
{
    return m_status->text();
}

void FindBar::selectMatch(TextRange match)
{
    EditorCommandRunner(*view()).select(match);
}

void FindBar::searchAsTyped()
{
    if (!view() || searchString().isEmpty()) {
        updateStatus();
        return;
    }
    // From the start of the selection, so that the match grows with the typed string.
    const TextRange selection = EditorCommandRunner(*view()).selection();
    if (const auto match =
            TextSearch::findNext(text(), searchString(), selection.location, matchesCase()))
        selectMatch(*match);
    updateStatus();
}

bool FindBar::find(bool forward)
{
    if (!view() || searchString().isEmpty())
        return false;
    const TextRange selection = EditorCommandRunner(*view()).selection();
    const auto match =
        forward
            ? TextSearch::findNext(text(), searchString(), selection.end(), matchesCase())
            : TextSearch::findPrevious(text(), searchString(), selection.location, matchesCase());
    if (match)
        selectMatch(*match);
    else
        QApplication::beep();
    updateStatus();
    return match.has_value();
}

bool FindBar::findNext()
{
    return find(true);
}

bool FindBar::findPrevious()
{
    return find(false);
}

void FindBar::useSelectionForFind()
{
    if (!view())
        return;
    const QString selected = EditorCommandRunner(*view()).selectedText();
    if (selected.isEmpty())
        return;
    setSearchString(selected);
}

bool FindBar::replace()
{
    if (!view() || searchString().isEmpty())
        return false;
    EditorCommandRunner runner(*view());
    const auto edit = TextSearch::replaceOne(text(), runner.selection(), searchString(),
                                             replacementString(), matchesCase());
    if (!edit || !runner.canInsert(edit->replacement)) {
        QApplication::beep();
        updateStatus();
        return false;
    }
    runner.apply(*edit);
    updateStatus();
    return true;
}

qsizetype FindBar::replaceAll()
{
    if (!view() || searchString().isEmpty())
        return 0;
    EditorCommandRunner runner(*view());
    if (!runner.canInsert(replacementString())) {
        QApplication::beep();
        return 0;
    }
    qsizetype count = 0;
    const TextRange selection = runner.selection();
    if (view()->document()->isRichText()) {
        // Match by match, so that the text between matches keeps its formatting.
        const std::vector<TextRange> matches =
            TextSearch::matches(text(), searchString(), matchesCase());
        count = qsizetype(matches.size());
        if (count > 0)
            runner.replaceEach(matches, replacementString(),
                               TextSearch::selectionAfterReplacing(
                                   matches, replacementString().size(), selection));
    } else if (const auto all = TextSearch::replaceAll(text(), searchString(), replacementString(),
                                                       matchesCase(), selection)) {
        count = all->count;
        runner.apply(all->edit);
    }
    if (count == 0)
        QApplication::beep();
    // The report stands until the next search or edit, rather than the count of what is left.
    m_statusTimer->stop();
    if (count == 0)
        m_status->setText(L(QStringLiteral("Aucune occurrence"), QStringLiteral("No occurrences")));
    else if (count == 1)
        m_status->setText(L(QStringLiteral("1 remplacement"), QStringLiteral("1 replacement")));
    else
        m_status->setText(
            L(QStringLiteral("%1 remplacements"), QStringLiteral("%1 replacements")).arg(count));
    return count;
}

void FindBar::updateStatus()
{
    if (!view() || searchString().isEmpty()) {
        m_status->clear();
        return;
    }
    const auto count = TextSearch::countMatches(text(), searchString(), matchesCase(),
                                                EditorCommandRunner(*view()).selection());
    if (count.total == 0)
        m_status->setText(L(QStringLiteral("Aucun résultat"), QStringLiteral("No results")));
    else if (count.ordinal)
        m_status->setText(L(QStringLiteral("%1 sur %2"), QStringLiteral("%1 of %2"))
                              .arg(*count.ordinal)
                              .arg(count.total));
    else if (count.total == 1)
        m_status->setText(L(QStringLiteral("1 résultat"), QStringLiteral("1 result")));
    else
        m_status->setText(
            L(QStringLiteral("%1 résultats"), QStringLiteral("%1 results")).arg(count.total));
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        dismiss();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FindBar::focusNextPrevChild(bool next)
{
    // The bar keeps Tab to itself: past its last control the text would take the next Tab as a
    // character. The fields come first, so that Tab goes from the search to the replacement.
    QList<QWidget *> ring;
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_findField, m_replaceField, m_caseButton, m_previousButton, m_nextButton,
             m_replaceButton, m_replaceAllButton, m_doneButton})
        if (control->isVisibleTo(this) && control->isEnabled()
            && (control->focusPolicy() & Qt::TabFocus))
            ring << control;
    if (ring.isEmpty())
        return false;
    const qsizetype at = ring.indexOf(focusWidget());
    const qsizetype size = ring.size();
    const qsizetype to = at < 0 ? 0 : (at + (next ? 1 : size - 1)) % size;
    ring[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void FindBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_highlighter->setActive(true);
}

void FindBar::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_highlighter->setActive(false);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_replaceField)
                replace();
            else if (key->modifiers() & Qt::ShiftModifier)
                findPrevious();
            else
                findNext();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plumeo
