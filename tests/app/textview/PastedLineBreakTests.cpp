#include "TextViewTestSupport.h"
#include "editor/EditorTextView.h"
#include "editor/RichTextView.h"
#include "text/LineEnding.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTextDocument>
#include <QTextDocumentFragment>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// A document read from a file broken with ending, shown in the plain or the rich view.
struct Editor
{
    std::unique_ptr<TextDocument> document;
    std::unique_ptr<QWidget> widget;
    EditorView *view = nullptr;
};

Editor openEditor(LineEnding ending, bool rich)
{
    Editor editor;
    const QString lineBreak = ending.string().toString();
    editor.document = plainDocument(u"one"_s + lineBreak + u"two"_s + lineBreak);
    EXPECT_EQ(editor.document->lineEnding(), ending);
    if (rich) {
        TextDocument &document = *editor.document;
        QTextDocument content;
        QTextCursor(&content).insertText(document.storageCodec().toStorage(document.text()),
                                         TextDocument::plainAttributes());
        document.apply(true, QTextDocumentFragment(&content),
                       QTextDocumentFragment(document.textStorage()));
        auto *view = new RichTextView(editor.document.get());
        editor.widget.reset(view);
        editor.view = view;
    } else {
        auto *view = new EditorTextView(editor.document.get());
        editor.widget.reset(view);
        editor.view = view;
    }
    editor.view->configureAsCodeEditor();
    editor.widget->resize(400, 300);
    return editor;
}

// Drops text at the start of the view, as another program's drag would.
void dropAtStart(EditorView &view, const QString &text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at =
        view.blockRect(view.document()->textStorage()->firstBlock()).topLeft().toPoint()
        + QPoint(2, 4);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);
}

} // namespace

// Text from Windows programs breaks its lines with CR LF: each pair is one line break of the
// document, written on saving with the document's own convention. A CR alone is a character of
// the text and stays one.
TEST(PastedLineBreaks, WindowsBreaksBecomeTheDocumentsBreaksAndLoneCarriageReturnsStay)
{
    Preferences::registerDefaults();
    for (const LineEnding ending : LineEnding::allCases()) {
        for (const bool rich : {false, true}) {
            SCOPED_TRACE((ending.rawValue() + (rich ? u" rich"_s : u" plain"_s)).toStdString());
            Editor editor = openEditor(ending, rich);
            TextDocument &document = *editor.document;
            ASSERT_EQ(document.text(), u"one\ntwo\n"_s);

            QApplication::clipboard()->setText(u"x\r\ny\rz"_s);
            select(*editor.view, {4, 0});
            ASSERT_TRUE(perform(*editor.view, Command::paste));
            EXPECT_EQ(document.text(), u"one\nx\ny\rztwo\n"_s);
            EXPECT_EQ(selection(*editor.view), (TextRange{9, 0}));
            EXPECT_EQ(document.textStorage()->blockCount(), 4); // the CR breaks no line

            dropAtStart(*editor.view, u"p\r\nq"_s);
            EXPECT_EQ(document.text(), u"p\nqone\nx\ny\rztwo\n"_s);

            if (!rich) {
                const QString lineBreak = ending.string().toString();
                const QString saved = u"p"_s + lineBreak + u"qone"_s + lineBreak + u"x"_s
                                      + lineBreak + u"y\rztwo"_s + lineBreak;
                EXPECT_EQ(document.data().value(), saved.toUtf8());
            }
        }
    }
}

// A mostly-LF file keeps the CR of a CR LF line as a character of its text: copied and pasted
// within the editor, that line comes back exactly, while the same characters from another program
// are a Windows line break.
TEST(PastedLineBreaks, TextCopiedInTheEditorComesBackExactly)
{
    Preferences::registerDefaults();
    auto document = plainDocument(u"a\r\nb\nc\nd\n"_s);
    ASSERT_EQ(document->lineEnding(), LineEnding::lf);
    ASSERT_EQ(document->text(), u"a\r\nb\nc\nd\n"_s);
    EditorTextView view(document.get());
    view.configureAsCodeEditor();

    select(view, {0, 5});
    view.copy();
    select(view, {document->text().size(), 0});
    ASSERT_TRUE(perform(view, Command::paste));
    EXPECT_EQ(document->text(), u"a\r\nb\nc\nd\na\r\nb\n"_s);
    EXPECT_EQ(document->data().value(), "a\r\nb\nc\nd\na\r\nb\n");

    QApplication::clipboard()->setText(u"a\r\nb\n"_s);
    ASSERT_TRUE(perform(view, Command::paste));
    EXPECT_EQ(document->text(), u"a\r\nb\nc\nd\na\r\nb\na\nb\n"_s);
}
