#include "TextViewTestSupport.h"
#include "editor/RichTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class RichTextViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Preferences::registerDefaults();
        document = std::make_unique<TextDocument>();
        ASSERT_TRUE(document
                        ->read("{\\rtf1\\ansi Hello {\\i world}\\par\n    second line\\par\nthird}",
                               TextDocument::richTextType())
                        .hasValue());
        view = std::make_unique<RichTextView>(document.get());
        view->configureAsCodeEditor();
        view->resize(400, 300);
    }

    QTextCharFormat formatAt(int position) const
    {
        QTextCursor cursor(document->textStorage());
        cursor.setPosition(position);
        return cursor.charFormat();
    }

    std::unique_ptr<TextDocument> document;
    std::unique_ptr<RichTextView> view;
};

} // namespace

TEST_F(RichTextViewTest, FormatMenuWorksOnTheSelectionAsSingleUndoSteps)
{
    ASSERT_EQ(document->text(), u"Hello world\n    second line\nthird"_s);
    select(*view, {0, 5});
    EXPECT_TRUE(validated(*view, Command::bold).enabled);
    EXPECT_EQ(validated(*view, Command::bold).checked, false);

    ASSERT_TRUE(perform(*view, Command::bold));
    EXPECT_EQ(formatAt(3).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(7).fontWeight(), QFont::Bold);
    EXPECT_EQ(validated(*view, Command::bold).checked, true);
    ASSERT_TRUE(perform(*view, Command::bold)); // toggles back
    EXPECT_NE(formatAt(3).fontWeight(), QFont::Bold);
    ASSERT_TRUE(perform(*view, Command::italic));
    EXPECT_TRUE(formatAt(3).fontItalic());
    ASSERT_TRUE(perform(*view, Command::underline));
    EXPECT_TRUE(formatAt(3).fontUnderline());
    EXPECT_EQ(validated(*view, Command::underline).checked, true);

    ASSERT_TRUE(perform(*view, Command::alignCenter));
    EXPECT_EQ(document->textStorage()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(validated(*view, Command::alignCenter).checked, true);
    EXPECT_EQ(validated(*view, Command::alignRight).checked, false);
    ASSERT_TRUE(perform(*view, Command::alignJustified));
    EXPECT_EQ(document->textStorage()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignJustify);

    perform(*view, Command::undo); // justified → centred
    EXPECT_EQ(document->textStorage()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    perform(*view, Command::undo);
    perform(*view, Command::undo); // underline, then italic
    EXPECT_FALSE(formatAt(3).fontUnderline());
    EXPECT_TRUE(formatAt(3).fontItalic());
    EXPECT_EQ(document->text(), u"Hello world\n    second line\nthird"_s);
}

TEST_F(RichTextViewTest, FontAndColourDialogsApplyToTheSelection)
{
    select(*view, {6, 5});
    ASSERT_TRUE(perform(*view, Command::showFontPanel));
    ASSERT_TRUE(view->fontDialog());
    EXPECT_TRUE(view->fontDialog()->isVisible());
    QFont font = formatAt(8).font();
    font.setPointSize(31);
    Q_EMIT view->fontDialog()->fontSelected(font);
    EXPECT_EQ(formatAt(8).font().pointSize(), 31);
    EXPECT_NE(formatAt(3).font().pointSize(), 31);

    ASSERT_TRUE(perform(*view, Command::showColorPanel));
    ASSERT_TRUE(view->colorDialog());
    Q_EMIT view->colorDialog()->colorSelected(QColor(200, 10, 20));
    EXPECT_EQ(formatAt(8).foreground().color(), QColor(200, 10, 20));
    perform(*view, Command::undo);
    EXPECT_NE(formatAt(8).foreground().color(), QColor(200, 10, 20));
    EXPECT_EQ(formatAt(8).font().pointSize(), 31);
}

TEST_F(RichTextViewTest, EditingCommandsKeepTheFormattingOfTheTextTheyKeep)
{
    // Indenting the first two lines keeps "world" italic.
    select(*view, {2, 14});
    ASSERT_TRUE(perform(*view, Command::indentSelection));
    EXPECT_EQ(document->text(), u"    Hello world\n        second line\nthird"_s);
    EXPECT_TRUE(formatAt(12).fontItalic());
    EXPECT_FALSE(formatAt(6).fontItalic());
    EXPECT_EQ(selection(*view), (TextRange{0, 36}));
    perform(*view, Command::undo);
    EXPECT_EQ(document->text(), u"Hello world\n    second line\nthird"_s);
    EXPECT_EQ(selection(*view), (TextRange{2, 14}));

    select(*view, {30, 0});
    ASSERT_TRUE(perform(*view, Command::duplicateLine));
    EXPECT_EQ(document->text(), u"Hello world\n    second line\nthird\nthird"_s);
    EXPECT_EQ(selection(*view), (TextRange{36, 0}));

    // Return indents; Tab keeps Qt's own behaviour in rich text.
    view->show();
    select(*view, {27, 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), u"Hello world\n    second line\n    \nthird\nthird"_s);
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(document->text(), u"Hello world\n    second line\n    \t\nthird\nthird"_s);

    // The clipboard gets the real characters and the formatting.
    select(*view, {0, 11});
    view->copy();
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->text(), u"Hello world"_s);
    EXPECT_TRUE(copied->hasHtml());
    EXPECT_TRUE(copied->html().contains(u"italic"_s));
}
