#include "TextViewTestSupport.h"
#include "Theme.h"
#include "editing/CaseCommands.h"
#include "editing/CommentCommands.h"
#include "editing/EditingCommands.h"
#include "editor/EditorDecorations.h"
#include "editor/EditorTextView.h"

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

using Command = std::function<std::optional<TextEdit>(QStringView, TextRange)>;

struct Case
{
    QString action;
    TextRange selection;
    Command command;
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
        {u"duplicateLine:"_s, {8, 3}, EditingCommands::duplicateLines},
        {u"duplicateLine:"_s, {sample.size(), 0}, EditingCommands::duplicateLines},
        {u"deleteLine:"_s, {10, 20}, EditingCommands::deleteLines},
        {u"deleteLine:"_s, {sample.size() - 1, 0}, EditingCommands::deleteLines},
        {u"moveLineUp:"_s, {sample.size() - 2, 1}, EditingCommands::moveLinesUp},
        {u"moveLineUp:"_s, {24, 5}, EditingCommands::moveLinesUp},
        {u"moveLineDown:"_s, {2, 0}, EditingCommands::moveLinesDown},
        {u"moveLineDown:"_s, {6, 19}, EditingCommands::moveLinesDown},
        {u"indentSelection:"_s, {0, 20}, indent},
        {u"outdentSelection:"_s, {7, 30}, outdent},
        {u"toggleComment:"_s, {3, 30}, comment},
        {u"uppercaseWord:"_s, {9, 0}, CaseCommands::uppercase},
        {u"capitalizeWord:"_s, {14, 8}, CaseCommands::capitalize},
        {u"lowercaseWord:"_s, {0, 12}, CaseCommands::lowercase},
        {u"delete:"_s, {3, 12}, erase},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.action.toStdString() + " at " + std::to_string(test.selection.location));
        open(sample);
        document->setLanguageOverride(c);
        select(*view, test.selection);
        const auto expected = test.command(sample, test.selection);
        ASSERT_TRUE(expected);

        ASSERT_TRUE(perform(*view, test.action));
        EXPECT_EQ(document->text(), expected->appliedTo(sample));
        EXPECT_EQ(selection(*view), expected->selection);
        EXPECT_TRUE(document->isEdited());
        ASSERT_TRUE(perform(*view, u"undo:"_s));
        EXPECT_FALSE(document->textStorage()->isUndoAvailable()); // it was one step
        EXPECT_EQ(document->text(), sample);
        EXPECT_EQ(selection(*view), test.selection);
        EXPECT_FALSE(document->isEdited());
        EXPECT_EQ(document->data().value(), sample.toUtf8()); // nothing lost on the way

        ASSERT_TRUE(perform(*view, u"redo:"_s));
        EXPECT_EQ(document->text(), expected->appliedTo(sample));
        EXPECT_EQ(selection(*view), expected->selection);
        EXPECT_EQ(document->data().value(), expected->appliedTo(sample).toUtf8());
    }
}

TEST_F(EditorTextViewTest, CommandsWithNothingToDoChangeNothing)
{
    open(u"one\ntwo"_s);
    select(*view, {1, 0});
    EXPECT_TRUE(perform(*view, u"moveLineUp:"_s));
    select(*view, {5, 0});
    EXPECT_TRUE(perform(*view, u"moveLineDown:"_s));
    EXPECT_TRUE(perform(*view, u"toggleComment:"_s)); // plain text has no comments
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
    EXPECT_TRUE(validated(*view, u"paste:"_s).enabled);
    ASSERT_TRUE(perform(*view, u"paste:"_s));
    // The CR LF pair is one line break; the lone CR stays a character.
    const QString expected = u"ax\ry\nz\u2029\uFDD1b\n"_s;
    EXPECT_EQ(document->text(), expected);
    EXPECT_EQ(document->data().value(), expected.toUtf8());
    EXPECT_EQ(selection(*view), (TextRange{8, 0}));
    EXPECT_EQ(document->textStorage()->blockCount(), 3); // only the LFs are line breaks

    // A substitute of the storage itself cannot go in without corrupting the text: refused.
    const QString substitute(QChar(document->storageCodec().substitutes()[0]));
    QApplication::clipboard()->setText(u"q"_s + substitute);
    perform(*view, u"paste:"_s);
    EXPECT_EQ(document->text(), expected);
}

TEST_F(EditorTextViewTest, ValidatesByWhatIsAvailable)
{
    open(u"abc"_s);
    EXPECT_FALSE(validated(*view, u"undo:"_s).enabled);
    EXPECT_FALSE(validated(*view, u"redo:"_s).enabled);
    for (const QString &action : {u"cut:"_s, u"copy:"_s, u"delete:"_s})
        EXPECT_FALSE(validated(*view, action).enabled) << action.toStdString();
    select(*view, {0, 1});
    for (const QString &action : {u"cut:"_s, u"copy:"_s, u"delete:"_s})
        EXPECT_TRUE(validated(*view, action).enabled) << action.toStdString();
    perform(*view, u"delete:"_s);
    EXPECT_EQ(document->text(), u"bc"_s);
    EXPECT_TRUE(validated(*view, u"undo:"_s).enabled);
    perform(*view, u"undo:"_s);
    EXPECT_TRUE(validated(*view, u"redo:"_s).enabled);
    EXPECT_TRUE(validated(*view, u"selectAll:"_s).enabled);
    perform(*view, u"selectAll:"_s);
    EXPECT_EQ(selection(*view), (TextRange{0, 3}));

    // The Format menu's rich-text actions are answered, but disabled for plain text.
    for (const QString &action :
         {u"toggleFontTrait:"_s, u"underline:"_s, u"alignLeft:"_s, u"alignCenter:"_s,
          u"alignRight:"_s, u"alignJustified:"_s, u"showFontPanel:"_s, u"showColorPanel:"_s}) {
        EXPECT_TRUE(view->handles(item(action, 2))) << action.toStdString();
        EXPECT_FALSE(validated(*view, action, 2).enabled) << action.toStdString();
    }
    // Without a find bar the finder actions are disabled; unknown actions are not handled.
    EXPECT_FALSE(validated(*view, u"performTextFinderAction:"_s, 1).enabled);
    EXPECT_FALSE(view->handles(item(u"performTextFinderAction:"_s, 99)));
    EXPECT_FALSE(view->handles(item(u"goToLine:"_s)));
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
    ASSERT_TRUE(perform(*view, u"toggleComment:"_s));
    EXPECT_EQ(document->text(), u"x = 1"_s); // plain text has no comments
    // Saved under a name: the name's language, with no word from the controller.
    document->setFilePath(u"/tmp/script.py"_s);
    ASSERT_TRUE(perform(*view, u"toggleComment:"_s));
    EXPECT_EQ(document->text(), u"# x = 1"_s);
    perform(*view, u"undo:"_s);
    document->setLanguageOverride(*Language::named(u"C"));
    ASSERT_TRUE(perform(*view, u"toggleComment:"_s));
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
    EXPECT_FALSE(perform(*view, u"selectAll:"_s));
}
