#include "TextViewTestSupport.h"
#include "Theme.h"
#include "editing/TextSearch.h"
#include "editor/EditorTextView.h"
#include "editor/FindBar.h"
#include "editor/RichTextView.h"
#include "text/Localization.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class FindBarTest : public ::testing::Test
{
protected:
    void SetUp() override { Preferences::registerDefaults(); }

    // A window holding a view of text and the find bar under it, as the editor lays them out.
    void open(const QString &text)
    {
        document = plainDocument(text);
        window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        view = new EditorTextView(document.get(), window.get());
        view->configureAsCodeEditor();
        bar = new FindBar(window.get());
        layout->addWidget(view);
        layout->addWidget(bar);
        view->setFindBar(bar);
        window->resize(500, 300);
        window->show();
        QApplication::setActiveWindow(window.get());
        view->setFocus();
    }

    QLineEdit *findField() const { return bar->findChild<QLineEdit *>(u"findField"_s); }
    QLineEdit *replaceField() const { return bar->findChild<QLineEdit *>(u"replaceField"_s); }

    // The ranges the bar marks as matches in a view, in text order.
    static std::vector<TextRange> highlighted(const QPlainTextEdit &view)
    {
        return markedRanges(view.extraSelections());
    }
    static std::vector<TextRange> highlighted(const QTextEdit &view)
    {
        return markedRanges(view.extraSelections());
    }
    static std::vector<TextRange> markedRanges(const QList<QTextEdit::ExtraSelection> &selections)
    {
        std::vector<TextRange> ranges;
        for (const QTextEdit::ExtraSelection &marked : selections)
            if (marked.format.background().color() == Theme::findMatch())
                ranges.push_back({marked.cursor.selectionStart(),
                                  marked.cursor.selectionEnd() - marked.cursor.selectionStart()});
        std::sort(ranges.begin(), ranges.end(),
                  [](TextRange a, TextRange b) { return a.location < b.location; });
        return ranges;
    }
    // The matches of needle (case-insensitive) on the lines the view shows, from the text.
    std::vector<TextRange> visibleMatches(const QString &needle) const
    {
        const int first = view->firstVisibleBlock().blockNumber();
        const int last =
            view->cursorForPosition(QPoint(0, view->viewport()->height() - 1)).blockNumber();
        std::vector<TextRange> found;
        for (const TextRange match : TextSearch::matches(document->text(), needle, false)) {
            const int line = document->textStorage()->findBlock(int(match.location)).blockNumber();
            if (line >= first && line <= last)
                found.push_back(match);
        }
        return found;
    }
    // Lets the view lay out and the bar follow what changed.
    static void settle() { QCoreApplication::processEvents(); }

    EnglishInterface english;
    std::unique_ptr<TextDocument> document;
    std::unique_ptr<QWidget> window;
    EditorTextView *view = nullptr;
    FindBar *bar = nullptr;
};

} // namespace

TEST_F(FindBarTest, MenuActionsShowTheBarAndMoveBetweenMatches)
{
    open(u"Cat cat\nCAT dog cat"_s);
    EXPECT_EQ(bar->view(), view);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_TRUE(validated(*view, Command::find).enabled);
    EXPECT_FALSE(validated(*view, Command::findNext).enabled); // nothing to look for yet
    EXPECT_FALSE(validated(*view, Command::useSelectionForFind).enabled);

    ASSERT_TRUE(perform(*view, Command::find));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->showsReplace());
    EXPECT_TRUE(findField()->hasFocus());

    // Typing searches at once, case-insensitively, from the caret.
    QTest::keyClicks(findField(), u"ca"_s);
    EXPECT_EQ(selection(*view), (TextRange{0, 2}));
    QTest::keyClicks(findField(), u"t"_s);
    EXPECT_EQ(selection(*view), (TextRange{0, 3}));
    EXPECT_EQ(bar->statusText(), u"1 of 4"_s);

    QTest::keyClick(findField(), Qt::Key_Return);
    EXPECT_EQ(selection(*view), (TextRange{4, 3}));
    EXPECT_EQ(bar->statusText(), u"2 of 4"_s);
    ASSERT_TRUE(perform(*view, Command::findNext));
    ASSERT_TRUE(perform(*view, Command::findNext));
    EXPECT_EQ(selection(*view), (TextRange{16, 3}));
    EXPECT_EQ(bar->statusText(), u"4 of 4"_s);
    ASSERT_TRUE(perform(*view, Command::findNext)); // wraps to the first
    EXPECT_EQ(selection(*view), (TextRange{0, 3}));
    ASSERT_TRUE(perform(*view, Command::findPrevious)); // and back to the last
    EXPECT_EQ(selection(*view), (TextRange{16, 3}));
    QTest::keyClick(findField(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selection(*view), (TextRange{8, 3}));

    // Matching case narrows the matches; toggling it searches again from the selection.
    bar->setMatchesCase(true);
    EXPECT_EQ(selection(*view), (TextRange{16, 3}));
    EXPECT_EQ(bar->statusText(), u"2 of 2"_s);
    bar->setSearchString(u"CAT"_s);
    EXPECT_EQ(bar->statusText(), u"1 result"_s); // the selection (cat) is not one of them
    EXPECT_TRUE(bar->findNext());
    EXPECT_EQ(selection(*view), (TextRange{8, 3}));
    EXPECT_EQ(bar->statusText(), u"1 of 1"_s);
    bar->setSearchString(u"bird"_s);
    EXPECT_FALSE(bar->findNext());
    EXPECT_EQ(selection(*view), (TextRange{8, 3}));
    EXPECT_EQ(bar->statusText(), u"No results"_s);

    // Use Selection for Find takes the real characters of the selection.
    select(*view, {12, 3});
    ASSERT_TRUE(perform(*view, Command::useSelectionForFind));
    EXPECT_EQ(bar->searchString(), u"dog"_s);
}

TEST_F(FindBarTest, EscapeClosesTheBarAndGivesTheTextTheFocus)
{
    open(u"abc"_s);
    perform(*view, Command::findAndReplace);
    EXPECT_TRUE(bar->showsReplace());
    EXPECT_TRUE(findField()->hasFocus());
    QTest::keyClick(findField(), Qt::Key_Escape);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_TRUE(view->hasFocus());
    perform(*view, Command::find);
    EXPECT_FALSE(bar->showsReplace());
}

TEST_F(FindBarTest, ReplacesOneMatchOrAllOfThemAsOneUndoStep)
{
    const QString text = u"one two\u2029one\u00A0One"_s;
    open(text);
    perform(*view, Command::findAndReplace);
    bar->setSearchString(u"one"_s);
    bar->setReplacementString(u"1"_s);
    EXPECT_TRUE(bar->replace()); // replaces the next match and selects the following one
    EXPECT_EQ(document->text(), u"1 two\u2029one\u00A0One"_s);
    EXPECT_EQ(selection(*view), (TextRange{6, 3}));
    EXPECT_EQ(bar->statusText(), u"1 of 2"_s);

    EXPECT_EQ(bar->replaceAll(), 2);
    EXPECT_EQ(document->text(), u"1 two\u20291\u00A01"_s);
    EXPECT_EQ(bar->statusText(), u"2 replacements"_s);
    EXPECT_EQ(document->data().value(), u"1 two\u20291\u00A01"_s.toUtf8());
    perform(*view, Command::undo);
    EXPECT_EQ(document->text(), u"1 two\u2029one\u00A0One"_s);
    perform(*view, Command::undo);
    EXPECT_EQ(document->text(), text);
    EXPECT_FALSE(document->textStorage()->isUndoAvailable());
    EXPECT_EQ(bar->replaceAll(), 3);
    bar->setSearchString(u"zzz"_s);
    EXPECT_EQ(bar->replaceAll(), 0);
    EXPECT_FALSE(bar->replace());
    // A replacement holding one of the storage's substitutes is refused.
    bar->setSearchString(u"1"_s);
    bar->setReplacementString(QString(QChar(document->storageCodec().substitutes()[1])));
    EXPECT_EQ(bar->replaceAll(), 0);
    EXPECT_EQ(document->text(), u"1 two\u20291\u00A01"_s);
}

TEST_F(FindBarTest, FollowsTheViewItIsAttachedTo)
{
    open(u"alpha beta"_s);
    bar->setSearchString(u"beta"_s);
    EXPECT_TRUE(bar->findNext());
    EXPECT_EQ(selection(*view), (TextRange{6, 4}));
    // The view goes (the editor swaps views when the document changes mode): the bar is detached.
    delete view;
    EXPECT_EQ(bar->view(), nullptr);
    EXPECT_FALSE(bar->findNext());
    EXPECT_FALSE(bar->canPerform(Command::find));

    // A rich view of a rich document: replace all keeps the formatting between matches.
    auto rich = std::make_unique<TextDocument>();
    ASSERT_TRUE(
        rich->read("{\\rtf1\\ansi x {\\b bold} x}", TextDocument::richTextType()).hasValue());
    auto richView = std::make_unique<RichTextView>(rich.get());
    richView->setFindBar(bar);
    EXPECT_EQ(bar->view(), richView.get());
    bar->setSearchString(u"x"_s);
    bar->setReplacementString(u"yy"_s);
    select(*richView, {7, 0}); // before the last x
    EXPECT_EQ(bar->replaceAll(), 2);
    EXPECT_EQ(rich->text(), u"yy bold yy"_s);
    QTextCursor inBold(rich->textStorage());
    inBold.setPosition(5);
    EXPECT_EQ(inBold.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(selection(*richView), (TextRange{8, 0}));
    EditorCommandRunner(*richView).undo();
    EXPECT_EQ(rich->text(), u"x bold x"_s);
}

TEST_F(FindBarTest, TabMovesBetweenTheFieldsAndNeverReachesTheText)
{
    const QString text = u"alpha\tbeta\nalpha"_s;
    open(text);
    perform(*view, Command::findAndReplace);
    QTest::keyClicks(findField(), u"al"_s);
    ASSERT_TRUE(findField()->hasFocus());
    QTest::keyClick(findField(), Qt::Key_Tab);
    EXPECT_TRUE(replaceField()->hasFocus());
    QTest::keyClicks(replaceField(), u"A"_s);
    // Shift+Tab arrives as Backtab from the desktop, as Shift and Tab from some input methods.
    QTest::keyClick(replaceField(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(findField()->hasFocus());
    QTest::keyClick(findField(), Qt::Key_Tab);
    QTest::keyClick(replaceField(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(findField()->hasFocus());

    // However long one tabs, forwards or backwards, from whichever control of the bar, the focus
    // stays in the bar and no tab is typed anywhere.
    const auto tabAround = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        for (int i = 0; i < 20; ++i) {
            QWidget *focused = QApplication::focusWidget();
            ASSERT_TRUE(focused && bar->isAncestorOf(focused)) << i;
            QTest::keyClick(focused, key, modifiers);
        }
        QWidget *focused = QApplication::focusWidget();
        EXPECT_TRUE(focused && bar->isAncestorOf(focused));
    };
    tabAround(Qt::Key_Tab, Qt::NoModifier);
    tabAround(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(findField()->text(), u"al"_s);
    EXPECT_EQ(replaceField()->text(), u"A"_s);
    EXPECT_EQ(document->text(), text);

    // Without the replace row, Tab leaves the search where it is.
    QTest::keyClick(findField(), Qt::Key_Escape);
    perform(*view, Command::find);
    ASSERT_TRUE(findField()->hasFocus());
    QTest::keyClick(findField(), Qt::Key_Tab);
    tabAround(Qt::Key_Tab, Qt::NoModifier);
    EXPECT_EQ(findField()->text(), u"al"_s);
    EXPECT_EQ(document->text(), text);
}

TEST_F(FindBarTest, HighlightsTheVisibleMatchesWhileOpen)
{
    QString text;
    for (int i = 0; i < 400; ++i)
        text += u"line %1: cat and Cat\n"_s.arg(i);
    open(text);
    settle();
    EXPECT_TRUE(highlighted(*view).empty());
    perform(*view, Command::find);
    QTest::keyClicks(findField(), u"cat"_s);
    settle();
    const TextRange current = selection(*view);
    ASSERT_EQ(current, (TextRange{8, 3}));

    // Every match of the lines in view but the current one, which keeps the selection's colour.
    std::vector<TextRange> expected = visibleMatches(u"cat"_s);
    ASSERT_GT(expected.size(), 4u);
    ASSERT_LT(expected.size(), 200u); // the view shows a window of the text, not all of it
    std::erase(expected, current);
    EXPECT_EQ(highlighted(*view), expected);

    // Scrolling brings the matches of the lines that come into view.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    settle();
    expected = visibleMatches(u"cat"_s);
    ASSERT_FALSE(expected.empty());
    EXPECT_GT(expected.front().location, current.end());
    EXPECT_EQ(highlighted(*view), expected);

    // Edits are followed: a match typed among the visible lines is marked, one removed is not.
    const qsizetype lineStart = view->firstVisibleBlock().next().position();
    EditorCommandRunner(*view).select({lineStart, 0});
    EditorCommandRunner(*view).insert(u"CAT "_s);
    settle();
    expected = visibleMatches(u"cat"_s);
    EXPECT_EQ(highlighted(*view), expected);
    EXPECT_NE(std::find(expected.begin(), expected.end(), TextRange{lineStart, 3}), expected.end());

    // Matching case narrows them.
    bar->setMatchesCase(true);
    settle();
    for (const TextRange range : highlighted(*view))
        EXPECT_EQ(document->text().sliced(range.location, range.length), u"cat"_s);

    // They go when the search is emptied or the bar closes, and come back with it.
    bar->setSearchString(QString());
    settle();
    EXPECT_TRUE(highlighted(*view).empty());
    bar->setSearchString(u"cat"_s);
    settle();
    EXPECT_FALSE(highlighted(*view).empty());
    QTest::keyClick(findField(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(highlighted(*view).empty());
    perform(*view, Command::find);
    settle();
    EXPECT_FALSE(highlighted(*view).empty());
    EXPECT_TRUE(view->highlightsCurrentLine());

    // A rich-text view is marked the same way.
    auto rich = std::make_unique<TextDocument>();
    ASSERT_TRUE(
        rich->read("{\\rtf1\\ansi a cat {\\b cat} dog}", TextDocument::richTextType()).hasValue());
    auto *richView = new RichTextView(rich.get(), window.get());
    window->layout()->addWidget(richView);
    richView->show();
    richView->setFindBar(bar);
    bar->setSearchString(u"cat"_s);
    bar->findNext();
    settle();
    EXPECT_EQ(highlighted(*richView), (std::vector<TextRange>{{6, 3}}));
    delete richView;
}

TEST_F(FindBarTest, MarksOnlyWhatIsInViewOfAMillionCharacters)
{
    // One line of a million characters, unwrapped then wrapped: only the part in view is searched
    // and marked, wherever it is.
    open(u"a cat "_s.repeated(170'000));
    perform(*view, Command::find);
    bar->setSearchString(u"cat"_s);
    const auto expectMarksInView = [&](const char *where) {
        settle();
        const std::vector<TextRange> marks = highlighted(*view);
        ASSERT_FALSE(marks.empty()) << where;
        EXPECT_LT(marks.size(), 400u) << where;
        const QRect area = view->viewport()->rect();
        for (const TextRange mark : marks) {
            QTextCursor cursor(document->textStorage());
            cursor.setPosition(int(mark.location));
            const QRect start = view->cursorRect(cursor);
            cursor.setPosition(int(mark.end()));
            EXPECT_TRUE(area.intersects(start.united(view->cursorRect(cursor))))
                << where << ' ' << mark.location;
        }
    };
    view->setWordWrap(false);
    expectMarksInView("unwrapped, at the start");
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum() / 2);
    expectMarksInView("unwrapped, in the middle");
    EXPECT_GT(highlighted(*view).front().location, 400'000);
    view->setWordWrap(true);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    expectMarksInView("wrapped, at the end");
    EXPECT_GT(highlighted(*view).front().location, 900'000);
}

TEST_F(FindBarTest, ReplaceAllSaysHowManyAndKeepsTheCaret)
{
    open(u"one two one three one"_s);
    perform(*view, Command::findAndReplace);
    bar->setSearchString(u"one"_s);
    bar->setReplacementString(u"1"_s);
    select(*view, {12, 0}); // before "three"
    EXPECT_EQ(bar->replaceAll(), 3);
    EXPECT_EQ(document->text(), u"1 two 1 three 1"_s);
    EXPECT_EQ(bar->statusText(), u"3 replacements"_s);
    EXPECT_EQ(selection(*view), (TextRange{8, 0})); // still before "three"
    // The report stays until the next search, not only until the count is refreshed.
    QTest::qWait(400);
    EXPECT_EQ(bar->statusText(), u"3 replacements"_s);

    bar->setSearchString(u"three"_s);
    bar->setReplacementString(u"trois"_s);
    select(*view, {15, 0}); // at the end
    EXPECT_EQ(bar->replaceAll(), 1);
    EXPECT_EQ(bar->statusText(), u"1 replacement"_s);
    EXPECT_EQ(selection(*view), (TextRange{15, 0}));
    EXPECT_EQ(bar->replaceAll(), 0);
    EXPECT_EQ(bar->statusText(), u"No occurrences"_s);

    Localization::setCurrent(AppLanguage::fr);
    bar->setSearchString(u"1"_s);
    bar->setReplacementString(u"un"_s);
    select(*view, {2, 3}); // "two", selected, stays selected
    EXPECT_EQ(bar->replaceAll(), 3);
    EXPECT_EQ(document->text(), u"un two un trois un"_s);
    EXPECT_EQ(bar->statusText(), u"3 remplacements"_s);
    EXPECT_EQ(selection(*view), (TextRange{3, 3}));
    bar->setSearchString(u"two"_s);
    EXPECT_EQ(bar->replaceAll(), 1);
    EXPECT_EQ(bar->statusText(), u"1 remplacement"_s);
    EXPECT_EQ(bar->replaceAll(), 0);
    EXPECT_EQ(bar->statusText(), u"Aucune occurrence"_s);
    Localization::setCurrent(AppLanguage::en);
}
