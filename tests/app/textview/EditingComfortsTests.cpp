#include "TextViewTestSupport.h"
#include "editor/EditorTextView.h"
#include "editor/SyntaxHighlighter.h"
#include "syntax/Lexers.h"

#include <QTest>
#include <QTextDocument>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class EditingComfortsTest : public ::testing::Test
{
protected:
    void SetUp() override { Preferences::registerDefaults(); }

    void open(const QString &text, const QString &languageName)
    {
        view.reset();
        document = plainDocument(text);
        document->setLanguageOverride(Language::named(languageName));
        view = std::make_unique<EditorTextView>(document.get());
        view->configureAsCodeEditor();
        view->resize(400, 300);
        view->show();
        EditorViewSettings settings;
        settings.indentStyle = IndentStyle(false, 4);
        view->setSettings(settings);
    }

    void change(const std::function<void(EditorViewSettings &)> &edit)
    {
        EditorViewSettings settings = view->settings();
        edit(settings);
        view->setSettings(settings);
    }

    // The ranges the view highlights beside the text's own formats, in order.
    std::vector<TextRange> extraRanges() const
    {
        std::vector<TextRange> ranges;
        for (const QTextEdit::ExtraSelection &extra : view->extraSelections())
            ranges.push_back({extra.cursor.selectionStart(),
                              extra.cursor.selectionEnd() - extra.cursor.selectionStart()});
        std::sort(ranges.begin(), ranges.end(),
                  [](TextRange a, TextRange b) { return a.location < b.location; });
        return ranges;
    }

    std::unique_ptr<TextDocument> document;
    std::unique_ptr<EditorTextView> view;
};

} // namespace

// The brace and the indentation it gives back are one undo step, which restores the text exactly.
TEST_F(EditingComfortsTest, ClosingBraceOnABlankLineOutdentsIt)
{
    open(u"int f() {\n        "_s, u"C"_s);
    select(*view, {18, 0});
    QTest::keyClick(view.get(), '}');
    EXPECT_EQ(document->text(), u"int f() {\n    }"_s);
    EXPECT_EQ(selection(*view), (TextRange{15, 0}));
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document->text(), u"int f() {\n        "_s);
    EXPECT_EQ(selection(*view), (TextRange{18, 0}));

    // After other text on the line the brace is only typed.
    QTest::keyClicks(view.get(), u"x}"_s);
    EXPECT_EQ(document->text(), u"int f() {\n        x}"_s);

    // Brackets in JSON; the setting turns it off.
    open(u"[\n\t"_s, u"JSON"_s);
    change([](EditorViewSettings &s) { s.indentStyle = IndentStyle(true, 4); });
    select(*view, {3, 0});
    QTest::keyClick(view.get(), ']');
    EXPECT_EQ(document->text(), u"[\n]"_s);
    open(u"{\n    "_s, u"CSS"_s);
    change([](EditorViewSettings &s) { s.autoOutdentClosingBrace = false; });
    select(*view, {6, 0});
    QTest::keyClick(view.get(), '}');
    EXPECT_EQ(document->text(), u"{\n    }"_s);

    // Never in plain text, Markdown or Python.
    for (const QString &name : {u"Texte brut"_s, u"Markdown"_s, u"Python"_s}) {
        SCOPED_TRACE(qPrintable(name));
        open(u"x = {\n    "_s, name);
        select(*view, {10, 0});
        QTest::keyClick(view.get(), '}');
        EXPECT_EQ(document->text(), u"x = {\n    }"_s);
    }
}

TEST_F(EditingComfortsTest, ReturnAfterAPythonColonIndentsOneLevelMore)
{
    const QString text =
        u"def f(a):\n    \"\"\"Sum.\n    Args:\n    \"\"\"\n    if a:  # note: yes"_s;
    open(text, u"Python"_s);
    SyntaxHighlighter highlighter(document->textStorage(), QFont());
    highlighter.setStorageCodec(&document->storageCodec());
    highlighter.setLexer(Lexers::lexer(u"Python"));
    highlighter.highlightAll();
    view->setLexStates([&highlighter](const Lexer &lexer, qint64 line) {
        return highlighter.stateAtLineStart(lexer, line);
    });

    select(*view, {text.size(), 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), text + u"\n        "_s);
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);

    // A colon in the docstring is text.
    const qsizetype args = text.indexOf(u"Args:") + 5;
    select(*view, {args, 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), QString(text).insert(args, u"\n    "_s));
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);

    select(*view, {9, 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), QString(text).insert(9, u"\n    "_s));
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document->text(), text);

    // Without automatic indentation, and in other languages, a colon is nothing special.
    change([](EditorViewSettings &s) { s.autoIndent = false; });
    select(*view, {9, 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), QString(text).insert(9, u"\n"_s));
    open(u"  case 1:"_s, u"C"_s);
    select(*view, {9, 0});
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(document->text(), u"  case 1:\n  "_s);
}

TEST_F(EditingComfortsTest, TheBracketBesideTheCaretAndItsPartnerAreHighlighted)
{
    open(u"f(a[1], \")\") + x"_s, u"C"_s);
    select(*view, {1, 0});
    EXPECT_EQ(extraRanges(), (std::vector<TextRange>{{1, 1}, {11, 1}}));
    select(*view, {7, 0}); // after "[1]," : nothing beside
    EXPECT_TRUE(extraRanges().empty());
    select(*view, {6, 0});
    EXPECT_EQ(extraRanges(), (std::vector<TextRange>{{3, 1}, {5, 1}}));
    // The highlight follows edits that leave the caret where it was.
    open(u"f(a)"_s, u"C"_s);
    select(*view, {1, 0});
    EXPECT_EQ(extraRanges(), (std::vector<TextRange>{{1, 1}, {3, 1}}));
    QTextCursor edit(document->textStorage());
    edit.setPosition(3);
    edit.deleteChar();
    EXPECT_TRUE(extraRanges().empty());
    edit.insertText(u"b)"_s);
    EXPECT_EQ(selection(*view), (TextRange{1, 0}));
    EXPECT_EQ(extraRanges(), (std::vector<TextRange>{{1, 1}, {4, 1}}));

    // An unmatched bracket gets nothing; nor does anything with the setting off.
    open(u"f(a"_s, u"C"_s);
    select(*view, {1, 0});
    EXPECT_TRUE(extraRanges().empty());
    open(u"f(a)"_s, u"C"_s);
    change([](EditorViewSettings &s) { s.highlightMatchingBrackets = false; });
    select(*view, {1, 0});
    EXPECT_TRUE(extraRanges().empty());
    change([](EditorViewSettings &s) { s.highlightMatchingBrackets = true; });
    EXPECT_EQ(extraRanges(), (std::vector<TextRange>{{1, 1}, {3, 1}}));
}

TEST_F(EditingComfortsTest, ToggleCommentWithoutSelectionCommentsTheLineInHtmlAndCss)
{
    open(u"<ul>\n  <li>a</li>\n</ul>"_s, u"HTML"_s);
    select(*view, {9, 0});
    ASSERT_TRUE(perform(*view, Command::toggleComment));
    EXPECT_EQ(document->text(), u"<ul>\n  <!-- <li>a</li> -->\n</ul>"_s);
    EXPECT_EQ(selection(*view), (TextRange{14, 0}));
    ASSERT_TRUE(perform(*view, Command::toggleComment));
    EXPECT_EQ(document->text(), u"<ul>\n  <li>a</li>\n</ul>"_s);
    EXPECT_EQ(selection(*view), (TextRange{9, 0}));

    open(u"a { color: red; }"_s, u"CSS"_s);
    change([](EditorViewSettings &s) { s.commentWholeLine = false; });
    select(*view, {4, 0});
    ASSERT_TRUE(perform(*view, Command::toggleComment));
    EXPECT_EQ(document->text(), u"a { /**/color: red; }"_s);
}
