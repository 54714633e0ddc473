#include "editor/EditorViewController.h"

#include "Alerts.h"
#include "Preferences.h"
#include "Theme.h"
#include "document/DocumentLoad.h"
#include "document/TextDocument.h"
#include "editor/DocumentNotices.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorMimeData.h"
#include "editor/EditorModel.h"
#include "editor/EditorTextView.h"
#include "editor/FindBar.h"
#include "editor/LineNumberGutter.h"
#include "editor/NoticeBar.h"
#include "editor/RichTextView.h"
#include "editor/StatusBar.h"
#include "editor/SyntaxHighlighter.h"
#include "io/VersionStore.h"
#include "syntax/Lexers.h"
#include "text/CaretStatus.h"
#include "text/Localization.h"
#include "text/StatusTexts.h"
#include "text/TextFile.h"
#include "text/TextStatistics.h"
#include "text/UserDefaults.h"
#include "windows/VersionsWindow.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace plumeo {

namespace {

constexpr double smallestFontSize = 8;
constexpr double largestFontSize = 48;
// Counting words walks the whole text: not above this many UTF-16 units, and only once typing
// pauses for this long.
constexpr qint64 wordCountLimit = 4'000'000;
constexpr int statisticsDelayMs = 300;

int preferredTabWidth()
{
    return int(std::clamp<qint64>(Preferences::integer(Preferences::Key::tabWidth()), 1, 32));
}

// Whether text shows how it is indented: detection gives the same answer whatever it falls back
// on. The second look is needed only when the first gave the fallback.
bool showsIndentation(QStringView text, const IndentStyle &fallback)
{
    const IndentStyle detected = IndentStyle::detect(text, fallback);
    if (detected != fallback)
        return true;
    const IndentStyle other(!fallback.usesTabs, fallback.width);
    return IndentStyle::detect(text, other) == detected;
}

// The first lines of the text, as many as indentation detection may look at: up to its sample of
// space-indented lines or the first tab-indented one, and at most maxUnits units, so that a large
// file is not copied whole to find out how it is indented. A file indented only further on follows
// the settings.
QString leadingLines(const TextDocument &document, qsizetype maxUnits = 1'000'000)
{
    constexpr int sample = 200;
    QString text;
    int indented = 0;
    for (QTextBlock block = document.textStorage()->begin(); block.isValid();
         block = block.next()) {
        // Of a line longer than what is left to read, only its beginning: block.text() would copy
        // all of a line that can be a hundred megabytes long.
        const qsizetype room = maxUnits - text.size();
        QString units;
        if (block.length() - 1 > room) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + int(room), QTextCursor::KeepAnchor);
            units = cursor.selectedText();
        } else {
            units = block.text();
        }
        const QString line = document.storageCodec().fromStorage(units);
        text += line;
        text += u'\n';
        qsizetype content = 0;
        while (content < line.size() && line.at(content) == u' ')
            ++content;
        if (content < line.size()) {
            if (line.at(content) == u'\t')
                break;
            if (content > 0 && line.at(content) != u'\r' && ++indented == sample)
                break;
        }
        if (text.size() >= maxUnits)
            break;
    }
    return text;
}

QFont gutterFontFor(const QFont &editorFont)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(std::max(editorFont.pointSizeF() - 2, 9.0));
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

EditorViewController::EditorViewController(TextDocument *document, QWidget *parent)
    : QWidget(parent)
    , ActionResponder(CommandHandler::editor)
    , m_document(document)
    , m_commands(document, this)
    , m_layout(new QHBoxLayout)
    , m_column(new QVBoxLayout)
    , m_gutter(new LineNumberGutter(this))
    , m_findBar(new FindBar(this))
    , m_noticeBar(new NoticeBar(this))
    , m_notices(new DocumentNotices(document, m_noticeBar, this))
    , m_model(new EditorModel(this))
    , m_statusBar(new StatusBar(m_model, StatusBarActions::throughDispatcher(this), this))
{
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::background());
    setPalette(colours);

    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(0);
    m_layout->addWidget(m_gutter);
    m_layout->addLayout(m_column, 1);
    // The notice and the find bar span the gutter too, which draws its numbers level with the
    // text's lines: both shrink between them, and the bar never covers a line.
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(m_noticeBar);
    stack->addLayout(m_layout, 1);
    stack->addWidget(m_findBar);
    stack->addWidget(m_statusBar);
    m_findBar->hide();
    m_statisticsTimer.setSingleShot(true);
    m_statisticsTimer.setInterval(statisticsDelayMs);
    connect(&m_statisticsTimer, &QTimer::timeout, this, &EditorViewController::updateStatistics);

    m_gutter->setLineCountProvider([this] {
        // Sized for the whole file from the start: each widening of the gutter narrows the text,
        // and Qt then gives every block loaded so far a layout of its own.
        const qint64 blocks = m_document->textStorage()->blockCount();
        const DocumentLoad *load = m_document->load();
        return load ? std::max(blocks, load->totalLines()) : blocks;
    });
    m_gutter->setOnThicknessChange([this](qreal thickness) { updateGutterWidth(thickness); });

    m_highlighter = new SyntaxHighlighter(document->textStorage(), Preferences::editorFont(), this);
    m_highlighter->setStorageCodec(&document->storageCodec());
    buildTextView();

    applyPreferences();
    documentDidReload();

    // Every write reaches the store, from a menu, the settings or another Plumeo: one announcement.
    connect(&UserDefaults::standard(), &UserDefaults::changed, this,
            [this] { applyPreferences(); });
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this, [this] {
        applyPreferences();
        refreshDocumentState();
        m_notices->refresh();
    });
    connect(document, &TextDocument::aboutToReloadFromDisk, this,
            &EditorViewController::noteViewPosition);
    connect(document, &TextDocument::didReloadFromDisk, this,
            &EditorViewController::restoreViewPosition);
    connect(m_notices, &DocumentNotices::loadingChanged, this,
            &EditorViewController::applyLoadingState);
    connect(m_notices, &DocumentNotices::closeRequested, this,
            &EditorViewController::closeRequested);
    connect(document, &TextDocument::loadingChanged, this, &EditorViewController::loadingDidChange);
    connect(document, &TextDocument::longLinesChanged, this, [this] {
        applyWrapping();
        m_notices->refresh();
    });
    applyLoadingState();
    connect(&m_commands, &DocumentCommands::documentDuplicated, this,
            &EditorViewController::documentDuplicated);
    connect(document, &TextDocument::textDidReload, this, &EditorViewController::documentDidReload);
    connect(document, &TextDocument::languageDidChange, this,
            &EditorViewController::refreshDocumentState);
    connect(document, &TextDocument::encodingDidChange, this,
            &EditorViewController::refreshDocumentState);
}

EditorViewController::~EditorViewController()
{
    // The views go first: they must not outlive the layouts of the storage they show.
    if (m_view)
        delete m_view->widget();
}

QWidget *EditorViewController::textView() const
{
    return m_view ? m_view->widget() : nullptr;
}

const LineIndex &EditorViewController::lineIndex()
{
    // Each block of the storage is one line of the text, so the line starts are the block
    // positions: no copy of the text is needed.
    if (!m_lineIndexCache) {
        std::vector<qint64> starts;
        starts.reserve(size_t(m_document->textStorage()->blockCount()));
        for (QTextBlock block = m_document->textStorage()->begin(); block.isValid();
             block = block.next())
            starts.push_back(block.position());
        m_lineIndexCache.emplace(LineIndex::fromLineStarts(std::move(starts)));
    }
    return *m_lineIndexCache;
}

void EditorViewController::buildTextView()
{
    const bool hadFocus = textView() && textView()->hasFocus();
    if (m_view) {
        // The document may have switched from inside this view's own undo or key handler, which
        // is still running: the view is retired now and deleted once the event loop has control.
        EditorView *old = m_view;
        m_view = nullptr;
        m_gutter->setTextView(nullptr);
        m_column->removeWidget(old->widget());
        old->retire();
        old->widget()->deleteLater();
    }
    if (m_document->isRichText()) {
        auto *view = new RichTextView(m_document, this);
        m_view = view;
    } else {
        auto *view = new EditorTextView(m_document, this);
        m_view = view;
    }
    EditorViewNotifier *notifier = m_view->notifier();
    connect(notifier, &EditorViewNotifier::filesDropped, this, &EditorViewController::openFiles);
    connect(notifier, &EditorViewNotifier::textDidChange, this,
            &EditorViewController::textDidChange);
    connect(notifier, &EditorViewNotifier::selectionDidChange, this,
            &EditorViewController::selectionDidChange);
    m_view->setLexStates([highlighter = QPointer<SyntaxHighlighter>(m_highlighter)](
                             const Lexer &lexer, qint64 line) -> std::optional<LexState> {
        if (!highlighter)
            return std::nullopt;
        return highlighter->stateAtLineStart(lexer, line);
    });
    m_view->configureAsCodeEditor();
    m_view->setFindBar(m_findBar);
    m_column->insertWidget(0, m_view->widget(), 1);
    // Shown now rather than when the layout gets to it from the event loop: a hidden view cannot
    // take the focus, and keys typed right after a switch belong to it.
    m_view->widget()->show();
    m_gutter->setTextView(m_view);
    // Qt scrolls the viewport's pixels alone; the numbers beside it must be drawn again. The
    // connection goes with the view's scroll bar when the view is replaced.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(m_view->widget()))
        connect(area->verticalScrollBar(), &QScrollBar::valueChanged, m_gutter,
                qOverload<>(&QWidget::update));
    m_lastAppliedFont.reset();
    m_lastWordWrap.reset();
    if (hadFocus)
        m_view->widget()->setFocus();
    applyLoadingState();
}

void EditorViewController::noteViewPosition()
{
    if (!m_view)
        return;
    const QTextCursor cursor = m_view->textCursor();
    ViewPosition position;
    position.caretLine = cursor.blockNumber();
    position.caretColumn = cursor.positionInBlock();
    if (auto *area = qobject_cast<QAbstractScrollArea *>(m_view->widget())) {
        position.vertical = area->verticalScrollBar()->value();
        position.horizontal = area->horizontalScrollBar()->value();
    }
    m_positionBeforeReload = position;
}

void EditorViewController::restoreViewPosition()
{
    const auto position = std::exchange(m_positionBeforeReload, std::nullopt);
    if (!position || !m_view)
        return;
    // The same line and column, as far as the new text has them: the place the user was reading.
    QTextDocument *storage = m_document->textStorage();
    const QTextBlock block =
        storage->findBlockByNumber(std::min(position->caretLine, storage->blockCount() - 1));
    QTextCursor cursor(storage);
    cursor.setPosition(block.position() + std::min(position->caretColumn, block.length() - 1));
    m_view->setTextCursor(cursor);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(m_view->widget())) {
        area->verticalScrollBar()->setValue(position->vertical);
        area->horizontalScrollBar()->setValue(position->horizontal);
    }
}

void EditorViewController::applyLoadingState()
{
    // Text typed while a stream arrives would be replaced by it; typed while a file loads, it
    // would have the rest of the file appended after it.
    if (m_view)
        m_view->widget()->setProperty("readOnly", m_document->streamLoad() != nullptr
                                                      || m_document->isLoading());
    if (const DocumentLoad *load = m_document->load()) {
        connect(load, &DocumentLoad::progress, this, &EditorViewController::showLoadProgress,
                Qt::UniqueConnection);
    }
    showLoadProgress();
}

void EditorViewController::showLoadProgress()
{
    const DocumentLoad *load = m_document->load();
    m_model->setLoadPercent(load ? std::optional(load->percent()) : std::nullopt);
    // The counts wait for typing to pause, and slices keep coming: the lines in so far are shown
    // as they arrive.
    if (load) {
        m_model->setLines(m_document->textStorage()->blockCount());
        m_model->setWords(std::nullopt);
    }
}

bool EditorViewController::colours() const
{
    if (m_document->isRichText())
        return false;
    // A file that will be too long to colour is not coloured while it loads: its beginning would
    // get layouts and colours that the rest arriving takes away again.
    const DocumentLoad *load = m_document->load();
    return !load || load->totalUnits() <= m_highlighter->lengthLimit();
}

void EditorViewController::loadingDidChange()
{
    applyLoadingState();
    if (m_document->isLoading())
        return;
    if (!m_highlighter->isActive() && colours()) {
        m_highlighter->setActive(true);
        m_highlighter->highlightAll();
    }
    // The first lines were all there was when the indentation was first judged.
    detectIndentation();
    refreshDocumentState();
    updateStatistics();
    for (const auto &action : std::exchange(m_whenLoaded, {}))
        action();
}

void EditorViewController::textDidChange()
{
    m_lineIndexCache.reset();
    updateCaretStatus();
    scheduleStatistics();
    m_gutter->invalidate();
}

void EditorViewController::selectionDidChange()
{
    updateCaretStatus();
    m_gutter->update();
}

void EditorViewController::updateCaretStatus()
{
    if (!m_view)
        return;
    const QTextCursor cursor = m_view->textCursor();
    const QTextDocument *storage = m_document->textStorage();
    const CaretStatus caret = CaretStatus::of(
        cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
        [storage](qint64 offset) {
            const QTextBlock block = storage->findBlock(int(offset));
            return LineIndex::Position{block.blockNumber(), offset - block.position()};
        });
    m_model->setCaret(caret);
    // The line the gutter marks too: where the selection starts, whichever end moves.
    m_highlighter->setCaretLine(caret.line - 1);
}

void EditorViewController::scheduleStatistics()
{
    m_statisticsTimer.start();
}

void EditorViewController::updateStatistics()
{
    m_statisticsTimer.stop();
    const QTextDocument *storage = m_document->textStorage();
    m_model->setLines(storage->blockCount());
    // The storage counts one paragraph separator more than the text has characters.
    const qint64 length = storage->characterCount() - 1;
    m_model->setWords(length <= wordCountLimit
                          ? std::optional(TextStatistics::measure(m_document->text()).words)
                          : std::nullopt);
    m_model->setHighlighted(isHighlighted());
}

bool EditorViewController::isHighlighted() const
{
    if (m_document->isRichText())
        return true;
    const qint64 length = m_document->textStorage()->characterCount() - 1;
    if (m_highlighter->isActive() && m_highlighter->lexer()
        && length <= m_highlighter->lengthLimit())
        return true;
    // Plain text has nothing to colour, so it is never said to be uncoloured.
    return Lexers::lexer(m_document->language()) == nullptr;
}

void EditorViewController::applyPreferences()
{
    if (!m_view)
        return;
    const QFont font = Preferences::editorFont();
    const int tabWidth = preferredTabWidth();
    if (!m_lastAppliedFont || *m_lastAppliedFont != font || m_view->tabWidth() != tabWidth) {
        m_view->applyFont(font, tabWidth);
        m_highlighter->setBaseFont(font);
        m_lastAppliedFont = font;
        m_gutter->setNumberFont(gutterFontFor(font));
        m_gutter->invalidate();
    }
    m_view->setHighlightCurrentLine(Preferences::boolean(Preferences::Key::highlightCurrentLine()));

    const bool hides = Preferences::boolean(Preferences::Key::hideMarkdownMarkup());
    if (hides != m_highlighter->hidesMarkup()) {
        m_highlighter->setHidesMarkup(hides);
        if (m_highlighter->lexer() && m_highlighter->lexer()->usesFonts())
            m_highlighter->highlightAll();
    }
    EditorViewSettings settings = m_view->settings();
    settings.autoIndent = Preferences::boolean(Preferences::Key::autoIndent());
    settings.autoOutdentClosingBrace =
        Preferences::boolean(Preferences::Key::autoOutdentClosingBrace());
    settings.highlightMatchingBrackets =
        Preferences::boolean(Preferences::Key::highlightMatchingBrackets());
    settings.commentWholeLine = Preferences::boolean(Preferences::Key::commentWholeLine());
    if (settings.indentStyleFromPreferences)
        settings.indentStyle =
            IndentStyle(Preferences::boolean(Preferences::Key::indentWithTabs()), tabWidth);
    m_view->setSettings(settings);
    m_model->setIndentLabel(settings.indentStyle.label());
    m_model->setLanguageName(m_document->isRichText() ? QStringLiteral("RTF")
                                                      : m_document->language().displayName());

    applyWrapping();
    m_gutter->invalidate();
    updateGutterWidth(m_gutter->thickness());
}

void EditorViewController::applyWrapping()
{
    // Wrapping a line of a hundred thousand characters would lay all of it out at every keystroke.
    const bool wrap =
        Preferences::boolean(Preferences::Key::wordWrap()) && !m_document->laysOutUnwrapped();
    if (!m_lastWordWrap || *m_lastWordWrap != wrap) {
        m_lastWordWrap = wrap;
        applyWordWrap(wrap);
    }
}

void EditorViewController::documentDidReload()
{
    m_lineIndexCache.reset();
    const bool showsRich = dynamic_cast<RichTextView *>(m_view) != nullptr;
    if (showsRich != m_document->isRichText()) {
        buildTextView();
        m_highlighter->setActive(colours());
        if (colours())
            m_highlighter->highlightAll();
        applyPreferences();
    } else {
        m_highlighter->setActive(colours());
    }
    detectIndentation();
    m_view->widget()->update();
    refreshDocumentState();
}

void EditorViewController::detectIndentation()
{
    // From now on the editor keeps the file's own indentation. A text that shows none (a new
    // document, a file without indented lines) follows the settings, as new files do.
    const IndentStyle fallback(Preferences::boolean(Preferences::Key::indentWithTabs()),
                               preferredTabWidth());
    const QString text = leadingLines(*m_document);
    EditorViewSettings settings = m_view->settings();
    settings.indentStyle = IndentStyle::detect(text, fallback);
    settings.indentStyleFromPreferences = !showsIndentation(text, fallback);
    m_view->setSettings(settings);
}

void EditorViewController::refreshDocumentState()
{
    const Language language = m_document->language();
    if (!m_lexerName || *m_lexerName != language.name) {
        m_lexerName = language.name;
        m_highlighter->setLexer(Lexers::lexer(language));
    }
    const bool rich = m_document->isRichText();
    m_model->setRichText(rich);
    m_model->setLanguageName(rich ? QStringLiteral("RTF") : language.displayName());
    m_model->setEncodingName(StatusTexts::encoding(m_document->encoding(), m_document->hasBOM()));
    m_model->setLineEndingName(m_document->lineEnding().rawValue());
    m_model->setIndentLabel(m_view->settings().indentStyle.label());
    m_model->setHighlighted(isHighlighted());
    updateCaretStatus();
    scheduleStatistics();
    m_gutter->invalidate();
}

void EditorViewController::updateGutterWidth(qreal thickness)
{
    const int width =
        Preferences::boolean(Preferences::Key::showLineNumbers()) ? int(std::ceil(thickness)) : 0;
    if (m_gutter->width() == width && m_gutter->isVisible() == (width > 0))
        return;
    m_gutter->setFixedWidth(width);
    m_gutter->setVisible(width > 0);
}

void EditorViewController::applyWordWrap(bool on)
{
    m_view->setWordWrap(on);
}

std::optional<qint64> EditorViewController::parseLineNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'+' || text[0] == u'-') {
        negative = text[0] == u'-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        // Any number past the last line means the last line; stop growing before overflow.
        value = std::min<qint64>(value * 10 + (c - u'0'), qint64(1) << 40);
    }
    return negative ? -value : value;
}

void EditorViewController::goToLine(qint64 line)
{
    const LineIndex &index = lineIndex();
    const qint64 target = std::clamp<qint64>(line, 1, index.lineCount());
    QTextCursor cursor(m_document->textStorage());
    cursor.setPosition(int(index.start(target - 1)));
    m_view->setTextCursor(cursor);
    m_view->centerCursor();
}

void EditorViewController::whenLoaded(std::function<void()> action)
{
    if (m_document->isLoading())
        m_whenLoaded.push_back(std::move(action));
    else
        action();
}

void EditorViewController::goToPlace(qint64 line, qint64 column)
{
    if (m_document->isLoading()) {
        whenLoaded([this, line, column] { goToPlace(line, column); });
        return;
    }
    const LineIndex &index = lineIndex();
    const qint64 target = std::clamp<qint64>(line, 1, index.lineCount()) - 1;
    const qint64 start = index.start(target);
    const qint64 end = target + 1 < index.lineCount()
                           ? index.start(target + 1) - 1
                           : qint64(m_document->textStorage()->characterCount()) - 1;
    QTextCursor cursor(m_document->textStorage());
    cursor.setPosition(int(start + std::clamp<qint64>(column - 1, 0, end - start)));
    m_view->setTextCursor(cursor);
    m_view->centerCursor();
}

void EditorViewController::showGoToLineDialog()
{
    if (!window())
        return;
    QDialog dialog(window());
    dialog.setWindowTitle(L(QStringLiteral("Aller à la ligne"), QStringLiteral("Go to Line")));
    dialog.setMinimumWidth(300); // room for the title in the window manager's bar
    auto *layout = new QVBoxLayout(&dialog);
    const QString count = QString::number(lineIndex().lineCount());
    layout->addWidget(new QLabel(L(QStringLiteral("Numéro de ligne, de 1 à ") + count + u'.',
                                   QStringLiteral("Line number, from 1 to ") + count + u'.'),
                                 &dialog));
    auto *field = new QLineEdit(&dialog);
    field->setFixedSize(160, 24);
    // Left-aligned: Qt hides the placeholder of a centred field while it has the focus, and the
    // current line is worth seeing.
    field->setPlaceholderText(QString::number(m_model->line()));
    layout->addWidget(field, 0, Qt::AlignHCenter);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *go = buttons->addButton(L(QStringLiteral("Aller"), QStringLiteral("Go")),
                                         QDialogButtonBox::AcceptRole);
    buttons->addButton(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")),
                       QDialogButtonBox::RejectRole);
    go->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    field->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const auto line = parseLineNumber(field->text()))
        goToLine(*line);
}

void EditorViewController::pickEncoding(quint64 raw)
{
    if (const auto changed = m_document->setEncoding(Encoding(raw)); !changed)
        Alerts::presentError(window(), DocumentError::from(changed.error()));
}

TextDocument *EditorViewController::toggleRichText()
{
    TextDocument *target = m_document;
    if (!m_document->filePath().isEmpty()) {
        std::unique_ptr<TextDocument> copy = m_commands.duplicate();
        Q_EMIT documentDuplicated(copy.get());
        if (!copy->parent())
            return nullptr;
        target = copy.release();
    }
    // The converted content is the text alone, in the plain-text attributes: formatting is dropped.
    QTextDocument plain;
    QTextCursor(&plain).insertText(target->storageCodec().toStorage(target->text()),
                                   TextDocument::plainAttributes());
    target->apply(!target->isRichText(), QTextDocumentFragment(&plain),
                  QTextDocumentFragment(target->textStorage()));
    return target;
}

void EditorViewController::openFiles(const QStringList &paths)
{
    Q_EMIT openFilesRequested(paths);
}

bool EditorViewController::hasVersions() const
{
    if (m_document->filePath().isEmpty() || m_document->isRichText())
        return false;
    const auto versions = VersionStore::standard().versions(m_document->filePath());
    return versions && !versions.value().empty();
}

VersionsWindow *EditorViewController::showVersions()
{
    if (!m_versionsWindow) {
        m_versionsWindow = new VersionsWindow(m_document, this);
        m_versionsWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_versionsWindow, &VersionsWindow::restoreRequested, this,
                [this](const QString &text) {
                    EditorCommandRunner runner(*m_view);
                    const qsizetype length = m_document->textStorage()->characterCount() - 1;
                    // The caret stays about where it was.
                    runner.apply({{0, length}, text, {runner.selection().location, 0}});
                });
    } else {
        m_versionsWindow->reload();
    }
    m_versionsWindow->show();
    m_versionsWindow->raise();
    m_versionsWindow->activateWindow();
    return m_versionsWindow;
}

void EditorViewController::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    const auto preference = [](const QString &key) { return Preferences::boolean(key); };
    switch (item.command) {
    case Command::toggleWordWrap:
        state.checked = preference(Preferences::Key::wordWrap());
        break;
    case Command::toggleLineNumbers:
        state.checked = preference(Preferences::Key::showLineNumbers());
        break;
    case Command::toggleCurrentLineHighlight:
        state.checked = preference(Preferences::Key::highlightCurrentLine());
        break;
    case Command::toggleMarkdownMarkup:
        state.checked = preference(Preferences::Key::hideMarkdownMarkup());
        break;
    case Command::setLanguage:
        state.checked = item.representedObject.toString() == m_document->language().name;
        state.enabled = !m_document->isRichText();
        break;
    case Command::setEncoding:
        if (!item.representedObject.isValid()) {
            // The item that names the document's own encoding when the list does not have it.
            const std::vector<Encoding> &listed = TextFile::encodings();
            state.visible =
                std::find(listed.begin(), listed.end(), m_document->encoding()) == listed.end();
            state.title = TextFile::name(m_document->encoding());
            state.checked = true;
        } else {
            state.checked =
                item.representedObject.toULongLong() == m_document->encoding().rawValue();
        }
        state.enabled = !m_document->isRichText();
        break;
    case Command::setLineEnding:
        state.checked = item.representedObject.toString() == m_document->lineEnding().rawValue();
        // A change to a document still loading would be its only unsaved change, made on half
        // of its text.
        state.enabled = !m_document->isRichText() && !m_document->isLoading();
        break;
    case Command::browseDocumentVersions:
        state.enabled = hasVersions() && !m_document->isLoading();
        break;
    case Command::toggleRichText: {
        QString title =
            m_document->isRichText()
                ? L(QStringLiteral("Convertir en texte brut"), QStringLiteral("Make Plain Text"))
                : L(QStringLiteral("Convertir en texte enrichi"), QStringLiteral("Make Rich Text"));
        if (!m_document->filePath().isEmpty())
            title += L(QStringLiteral(" (copie)"), QStringLiteral(" (copy)"));
        state.title = title;
        state.enabled = !m_document->isLoading();
        break;
    }
    default:
        break;
    }
}

void EditorViewController::perform(const MenuItemInfo &item)
{
    const auto toggle = [](const QString &key) {
        Preferences::set(key, QJsonValue(!Preferences::boolean(key)));
    };
    const auto setFontSize = [](double size) {
        Preferences::set(Preferences::Key::fontSize(), QJsonValue(size));
    };
    const double size = Preferences::number(Preferences::Key::fontSize());
    switch (item.command) {
    case Command::toggleWordWrap:
        toggle(Preferences::Key::wordWrap());
        break;
    case Command::toggleLineNumbers:
        toggle(Preferences::Key::showLineNumbers());
        break;
    case Command::toggleCurrentLineHighlight:
        toggle(Preferences::Key::highlightCurrentLine());
        break;
    case Command::toggleMarkdownMarkup:
        toggle(Preferences::Key::hideMarkdownMarkup());
        break;
    case Command::increaseFontSize:
        setFontSize(std::min(size + 1, largestFontSize));
        break;
    case Command::decreaseFontSize:
        setFontSize(std::max(size - 1, smallestFontSize));
        break;
    case Command::resetFontSize:
        Preferences::set(Preferences::Key::fontSize(), std::nullopt);
        break;
    case Command::setLanguage:
        m_document->setLanguageOverride(Language::named(item.representedObject.toString()));
        break;
    case Command::setEncoding:
        // The document's own encoding is already chosen.
        if (item.representedObject.isValid())
            pickEncoding(item.representedObject.toULongLong());
        break;
    case Command::setLineEnding:
        if (const auto ending = LineEnding::fromRawValue(item.representedObject.toString()))
            m_document->setLineEnding(*ending);
        break;
    case Command::toggleRichText:
        toggleRichText();
        break;
    case Command::goToLine:
        showGoToLineDialog();
        break;
    case Command::browseDocumentVersions:
        showVersions();
        break;
    default:
        break;
    }
}

// Files dropped beside the text (on the gutter, the notice) open as they do on the text: taken as a
// copy, whatever the source proposes, so that no file manager deletes what it dragged here.
void EditorViewController::dragEnterEvent(QDragEnterEvent *event)
{
    EditorMimeData::acceptFiles(event);
}

void EditorViewController::dragMoveEvent(QDragMoveEvent *event)
{
    EditorMimeData::acceptFiles(event);
}

void EditorViewController::dropEvent(QDropEvent *event)
{
    if (const QStringList paths = EditorMimeData::dropFiles(event); !paths.isEmpty())
        openFiles(paths);
}

} // namespace plumeo
