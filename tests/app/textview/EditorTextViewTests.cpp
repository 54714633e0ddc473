#include "TextViewTestSupport.h"
#include "Theme.h"
#include "editing/CaseCommands.h"
#include "editing/CommentCommands.h"
#include "editing/EditingCommands.h"
#include "editor/EditorDecorations.h"
#include "editor/EditorTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Opens the clipboard and drop hooks to the tests.
class TestView : public EditorTextView
{
public:
    using EditorTextView::canInsertFromMimeData;
    using EditorTextView::createMimeDataFromSelection;
    using EditorTextView::EditorTextView;
};

class EditorTextViewTest : public ::testing::Test
{
protected:
    void SetUp() override { Preferences::registerDefaults(); }

    void open(const QString &text)
    {
        view.reset();
        document = plainDocument(text);
        view = std::make_unique<TestView>(document.get());
        view->configureAsCodeEditor();
        view->resize(400, 300);
    }

    std::unique_ptr<TextDocument> document;
    std::unique_ptr<TestView> view;
};

// Carriage returns, a paragraph separator and frame markers are held by substitutes in the storage;
// the commands must see and write the real characters.
const QString sample = u"First\n  Second\r line {\n\tthird\u2029x\uFDD0\n    fourth😀\u00A0\nlast"_s;

using Edit = std::function<std::optional<TextEdit>(QStringView, TextRange)>;

struct Case
{
    Command command;
    TextRange selection;
    Edit edit;
};

} // namespace

TEST_F(EditorTextViewTest, EveryCommandIsOneUndoStepThatRestoresTextAndSelection)
{
    const IndentStyle style{false, 4};
    const Language c = *Language::named(u"C");
    const auto indent = [&](QStringView t, TextRange s) {
        return EditingCommands::indentLines(t, s, style);
    };
    const auto outdent = [&](QStringView t, TextRange s) {
        return EditingCommands::outdentLines(t, s, style);
    };
    const auto comment = [&](QStringView t, TextRange s) {
        return CommentCommands::toggleComment(t, s, c);
    };
    const auto erase = [](QStringView t, TextRange s) {
        return std::optional(EditingCommands::insertText(t, s, {}));
    };
    const std::vector<Case> cases = {
        {Command::duplicateLine, {8, 3}, EditingCommands::duplicateLines},
        {Command::duplicateLine, {sample.size(), 0}, EditingCommands::duplicateLines},
        {Command::deleteLine, {10, 20}, EditingCommands::deleteLines},
        {Command::deleteLine, {sample.size() - 1, 0}, EditingCommands::deleteLines},
        {Command::moveLineUp, {sample.size() - 2, 1}, EditingCommands::moveLinesUp},
        {Command::moveLineUp, {24, 5}, EditingCommands::moveLinesUp},
        {Command::moveLineDown, {2, 0}, EditingCommands::moveLinesDown},
        {Command::moveLineDown, {6, 19}, EditingCommands::moveLinesDown},
        {Command::indentSelection, {0, 20}, indent},
        {Command::outdentSelection, {7, 30}, outdent},
        {Command::toggleComment, {3, 30}, comment},
        {Command::uppercaseWord, {9, 0}, CaseCommands::uppercase},
        {Command::capitalizeWord, {14, 8}, CaseCommands::capitalize},
        {Command::lowercaseWord, {0, 12}, CaseCommands::lowercase},
        {Command::deleteSelection, {3, 12}, erase},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(Commands::actionName(test.command).toStdString() + " at "
                     + std::to_string(test.selection.location));
        open(sample);
        document->setLanguageOverride(c);
        select(*view, test.selection);
        const auto expected = test.edit(sample, test.selection);
        ASSERT_TRUE(expected);

        ASSERT_TRUE(perform(*view, test.command));
        EXPECT_EQ(document->text(), expected->appliedTo(sample));
        EXPECT_EQ(selection(*view), expected->selection);
        EXPECT_TRUE(document->isEdited());
        ASSERT_TRUE(perform(*view, Command::undo));
        EXPECT_FALSE(document->textStorage()->isUndoAvailable()); // it was one step
        EXPECT_EQ(document->text(), sample);
        EXPECT_EQ(selection(*view), test.selection);
        EXPECT_FALSE(document->isEdited());
        EXPECT_EQ(document->data().value(), sample.toUtf8()); // nothing lost on the way

        ASSERT_TRUE(perform(*view, Command::redo));
        EXPECT_EQ(document->text(), expected->appliedTo(sample));
        EXPECT_EQ(selection(*view), expected->selection);
        EXPECT_EQ(document->data().value(), expected->appliedTo(sample).toUtf8());
    }
}

TEST_F(EditorTextViewTest, CommandsWithNothingToDoChangeNothing)
{
    open(u"one\ntwo"_s);
    select(*view, {1, 0});
    EXPECT_TRUE(perform(*view, Command::moveLineUp));
    select(*view, {5, 0});
    EXPECT_TRUE(perform(*view, Command::moveLineDown));
    EXPECT_TRUE(perform(*view, Command::toggleComment)); // plain text has no comments
    EXPECT_EQ(document->text(), u"one\ntwo"_s);
    EXPECT_FALSE(document->textStorage()->isUndoAvailable());
    EXPECT_EQ(selection(*view), (TextRange{5, 0}));
}

TEST_F(EditorTextViewTest, KeysIndentAsTheyType)
{
    open(u"    if (x) {}"_s);
    view->show();
    EditorViewSettings settings;
    settings.indentStyle = IndentStyle(false, 4);
    view->setSettings(settings);
    select(*view, {12, 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), u"    if (x) {\n        \n    }"_s);
    EXPECT_EQ(selection(*view), (TextRange{21, 0}));
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(document->text(), u"    if (x) {\n            \n    }"_s);
    QTest::keyClick(view.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(document->text(), u"    if (x) {\n        \n    }"_s);
    // Ctrl+Z goes through the same undo, restoring the caret too.
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document->text(), u"    if (x) {}"_s);
    EXPECT_EQ(selection(*view), (TextRange{12, 0}));

    // Without automatic indentation Return is a bare line break; with tabs Tab is one tab.
    settings.autoIndent = false;
    view->setSettings(settings);
    QTest::keyClick(view.get(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(document->text(), u"    if (x) {\n}"_s);
    settings.indentStyle = IndentStyle(true, 4);
    view->setSettings(settings);
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(document->text(), u"    if (x) {\n\t}"_s);
    QTest::keyClicks(view.get(), u"ab"_s);
    EXPECT_EQ(document->text(), u"    if (x) {\n\tab}"_s);

    // Alt with a letter that no menu took types nothing; AltGr, reported without Alt, types.
    const auto press = [&](Qt::KeyboardModifiers modifiers, const QString &text) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Q, modifiers, text);
        QApplication::sendEvent(view.get(), &event);
    };
    press(Qt::AltModifier, u"q"_s);
    press(Qt::AltModifier | Qt::ShiftModifier, u"Q"_s);
    EXPECT_EQ(document->text(), u"    if (x) {\n\tab}"_s);
    press(Qt::GroupSwitchModifier, u"@"_s);
    EXPECT_EQ(document->text(), u"    if (x) {\n\tab@}"_s);
}

TEST_F(EditorTextViewTest, ClipboardHoldsTheRealCharacters)
{
    const QString text = u"a\u00A0b\u2028c\rd\u2029e\nf"_s;
    open(text);
    view->selectAll();
    view->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    std::unique_ptr<QMimeData> drag(view->createMimeDataFromSelection());
    EXPECT_EQ(drag->text(), text);

    select(*view, {2, 5});
    view->cut();
    EXPECT_EQ(QApplication::clipboard()->text(), u"b\u2028c\rd"_s);
    EXPECT_EQ(document->text(), u"a\u00A0\u2029e\nf"_s);
}

TEST_F(EditorTextViewTest, PasteKeepsCarriageReturnsAndSavesThemBack)
{
    open(u"ab\n"_s);
    QApplication::clipboard()->setText(u"x\ry\r\nz\u2029\uFDD1"_s);
    select(*view, {1, 0});
    EXPECT_TRUE(validated(*view, Command::paste).enabled);
    ASSERT_TRUE(perform(*view, Command::paste));
    // The CR LF pair is one line break; the lone CR stays a character.
    const QString expected = u"ax\ry\nz\u2029\uFDD1b\n"_s;
    EXPECT_EQ(document->text(), expected);
    EXPECT_EQ(document->data().value(), expected.toUtf8());
    EXPECT_EQ(selection(*view), (TextRange{8, 0}));
    EXPECT_EQ(document->textStorage()->blockCount(), 3); // only the LFs are line breaks

    // A substitute of the storage itself cannot go in without corrupting the text: refused.
    const QString substitute(QChar(document->storageCodec().substitutes()[0]));
    QApplication::clipboard()->setText(u"q"_s + substitute);
    perform(*view, Command::paste);
    EXPECT_EQ(document->text(), expected);
}

TEST_F(EditorTextViewTest, ValidatesByWhatIsAvailable)
{
    open(u"abc"_s);
    EXPECT_FALSE(validated(*view, Command::undo).enabled);
    EXPECT_FALSE(validated(*view, Command::redo).enabled);
    for (const Command command : {Command::cut, Command::copy, Command::deleteSelection})
        EXPECT_FALSE(validated(*view, command).enabled);
    select(*view, {0, 1});
    for (const Command command : {Command::cut, Command::copy, Command::deleteSelection})
        EXPECT_TRUE(validated(*view, command).enabled);
    perform(*view, Command::deleteSelection);
    EXPECT_EQ(document->text(), u"bc"_s);
    EXPECT_TRUE(validated(*view, Command::undo).enabled);
    perform(*view, Command::undo);
    EXPECT_TRUE(validated(*view, Command::redo).enabled);
    EXPECT_TRUE(validated(*view, Command::selectAll).enabled);
    perform(*view, Command::selectAll);
    EXPECT_EQ(selection(*view), (TextRange{0, 3}));

    // The Format menu's rich-text commands are answered, but disabled for plain text.
    for (const Command command :
         {Command::bold, Command::italic, Command::underline, Command::alignLeft,
          Command::alignCenter, Command::alignRight, Command::alignJustified,
          Command::showFontPanel, Command::showColorPanel}) {
        EXPECT_TRUE(view->handles(command));
        EXPECT_FALSE(validated(*view, command).enabled);
    }
    // Without a find bar the finder commands are disabled; the editor's own are not the view's.
    EXPECT_FALSE(validated(*view, Command::find).enabled);
    EXPECT_FALSE(view->handles(Command::goToLine));
}

TEST_F(EditorTextViewTest, DroppedFilesAreOpenedAndDroppedTextInserted)
{
    open(u"ab"_s);
    QStringList opened;
    QObject::connect(view->notifier(), &EditorViewNotifier::filesDropped,
                     [&](const QStringList &paths) { opened = paths; });
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(u"/tmp/one.txt"_s), QUrl(u"https://example.org/x"_s),
                   QUrl::fromLocalFile(u"/tmp/two.c"_s)});
    files.setText(u"ignored"_s);
    const QPoint at = view->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
    EXPECT_EQ(opened, (QStringList{u"/tmp/one.txt"_s, u"/tmp/two.c"_s}));
    EXPECT_EQ(document->text(), u"ab"_s);

    // Text without files is the text view's own drop, through the exact-character insertion.
    QMimeData text;
    text.setText(u"\r"_s);
    const QPointF start = view->cursorRect(QTextCursor(document->textStorage())).center();
    QDragEnterEvent textEnter(start.toPoint(), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &textEnter);
    QDragMoveEvent textMove(start.toPoint(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &textMove);
    QDropEvent textDrop(start, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &textDrop);
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(document->text(), u"\rab"_s);
}

TEST_F(EditorTextViewTest, FontTabStopsAndInsetsFollowTheSettings)
{
    open(u"a\tb\nc"_s);
    QFont font(u"DejaVu Sans Mono"_s, 15);
    view->applyFont(font, 3);
    EXPECT_EQ(view->tabWidth(), 3);
    EXPECT_NEAR(view->tabStopDistance(), QFontMetricsF(font).horizontalAdvance(u' ') * 3, 0.01);
    EXPECT_EQ(document->textStorage()->defaultFont().pointSize(), 15);
    EXPECT_EQ(QTextCursor(document->textStorage()).charFormat().font().pointSize(), 15);
    // Changing the font is no edit: nothing to undo, nothing unsaved.
    EXPECT_FALSE(document->textStorage()->isUndoAvailable());
    EXPECT_FALSE(document->isEdited());
    view->applyFont(font, 0);
    EXPECT_EQ(view->tabWidth(), 1);

    EXPECT_EQ(document->textStorage()->documentMargin(), EditorDecorations::horizontalInset);
    EXPECT_EQ(view->viewport()->geometry().top(),
              EditorDecorations::verticalInset - EditorDecorations::horizontalInset);
    EXPECT_EQ(view->palette().color(QPalette::Base), Theme::background());
    EXPECT_EQ(view->palette().color(QPalette::Highlight), Theme::selection());
    EXPECT_EQ(view->cursorWidth(), 0);
}

TEST_F(EditorTextViewTest, DrawsTheCurrentLineBandAndTheCaretInTheThemeColours)
{
    open(u"one\ntwo\nthree"_s);
    view->show();
    view->activateWindow();
    view->setFocus();
    QApplication::setActiveWindow(view.get());
    select(*view, {5, 0});
    const QRect row = view->cursorRect();
    const auto grab = [&] { return view->viewport()->grab().toImage(); };
    const auto colourAt = [](const QImage &image, int x, int y) {
        return QColor(image.pixel(x, y));
    };

    QImage image = grab();
    const int right = view->viewport()->width() - 2;
    const QColor band = colourAt(image, right, row.center().y());
    const QColor elsewhere = colourAt(image, right, row.bottom() + row.height());
    EXPECT_EQ(elsewhere, Theme::background());
    EXPECT_NE(band, Theme::background());
    EXPECT_GT(band.lightness(), Theme::background().lightness());

    bool caretDrawn = false;
    for (int x = row.left(); x < row.left() + EditorDecorations::caretWidth; ++x)
        caretDrawn = caretDrawn || colourAt(image, x, row.center().y()) == Theme::caret();
    EXPECT_TRUE(caretDrawn);

    // With a selection there is neither band nor caret; with the band off, no band.
    select(*view, {4, 3});
    image = grab();
    EXPECT_EQ(colourAt(image, right, row.center().y()), Theme::background());
    select(*view, {5, 0});
    view->setHighlightCurrentLine(false);
    EXPECT_FALSE(view->highlightsCurrentLine());
    image = grab();
    EXPECT_EQ(colourAt(image, right, row.center().y()), Theme::background());
}

TEST_F(EditorTextViewTest, CommentsFollowTheLanguageTheDocumentHasNow)
{
    open(u"x = 1"_s);
    select(*view, {0, 0});
    ASSERT_TRUE(perform(*view, Command::toggleComment));
    EXPECT_EQ(document->text(), u"x = 1"_s); // plain text has no comments
    // Saved under a name: the name's language, with no word from the controller.
    document->setFilePath(u"/tmp/script.py"_s);
    ASSERT_TRUE(perform(*view, Command::toggleComment));
    EXPECT_EQ(document->text(), u"# x = 1"_s);
    perform(*view, Command::undo);
    document->setLanguageOverride(*Language::named(u"C"));
    ASSERT_TRUE(perform(*view, Command::toggleComment));
    EXPECT_EQ(document->text(), u"// x = 1"_s);
}

TEST_F(EditorTextViewTest, NotifiesItsOwnerUntilRetired)
{
    open(u"one\ntwo"_s);
    int changes = 0;
    int moves = 0;
    QObject owner;
    QObject::connect(view->notifier(), &EditorViewNotifier::textDidChange, &owner,
                     [&] { ++changes; });
    QObject::connect(view->notifier(), &EditorViewNotifier::selectionDidChange, &owner,
                     [&] { ++moves; });
    select(*view, {2, 0});
    EXPECT_EQ(moves, 1);
    select(*view, {2, 0}); // nothing moved
    EXPECT_EQ(moves, 1);
    ASSERT_TRUE(EditorCommandRunner(*view).insert(u"x"_s));
    EXPECT_GE(changes, 1);
    EXPECT_EQ(moves, 2);

    // Once retired the view lets go of the storage and tells its owner nothing more, whatever
    // happens to it before it is deleted.
    const int changesBefore = changes;
    view->retire();
    EXPECT_TRUE(view->isRetired());
    EXPECT_FALSE(view->isVisible());
    view->insertPlainText(u"late"_s);
    view->selectAll();
    EXPECT_EQ(changes, changesBefore);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(document->text(), u"onxe\ntwo"_s);
    EXPECT_FALSE(perform(*view, Command::selectAll));
}
