#include "TextViewTestSupport.h"
#include "editor/EditorTextView.h"
#include "editor/FindBar.h"
#include "editor/RichTextView.h"
#include "text/Localization.h"

#include <QLineEdit>
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
