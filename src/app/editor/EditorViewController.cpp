#include "editor/EditorViewController.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Preferences.h"
#include "Theme.h"
#include "document/TextDocument.h"

namespace plumeo {

EditorViewController::EditorViewController(TextDocument *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::background());
    setPalette(colours);
    buildView();
    connect(document, &TextDocument::textDidReload, this, &EditorViewController::documentDidReload);
}

EditorViewController::~EditorViewController()
{
    releaseView();
}

QWidget *EditorViewController::textView() const
{
    if (m_plainView)
        return m_plainView;
    return m_richView;
}

void EditorViewController::documentDidReload()
{
    const bool showsRich = m_richView != nullptr;
    if (showsRich != m_document->isRichText()) {
        const bool hadFocus = textView() && textView()->hasFocus();
        releaseView();
        buildView();
        if (hadFocus)
            textView()->setFocus();
    }
}

// Each view needs its own kind of layout on the storage: the old view goes before the layout it relied
// on is replaced.
void EditorViewController::releaseView()
{
    delete m_plainView;
    delete m_richView;
}

void EditorViewController::buildView()
{
    QTextDocument *storage = m_document->textStorage();
    QWidget *view = nullptr;
    if (m_document->isRichText()) {
        if (qobject_cast<QPlainTextDocumentLayout *>(storage->documentLayout()))
            storage->setDocumentLayout(nullptr); // the storage makes its rich layout on demand
        m_richView = new QTextEdit(this);
        m_richView->setDocument(storage);
        m_richView->setFrameShape(QFrame::NoFrame);
        view = m_richView;
    } else {
        if (!qobject_cast<QPlainTextDocumentLayout *>(storage->documentLayout()))
            storage->setDocumentLayout(new QPlainTextDocumentLayout(storage));
        m_plainView = new QPlainTextEdit(this);
        m_plainView->setDocument(storage);
        m_plainView->setFrameShape(QFrame::NoFrame);
        m_plainView->setFont(Preferences::editorFont());
        view = m_plainView;
    }
    QPalette colours = view->palette();
    colours.setColor(QPalette::Base, Theme::background());
    colours.setColor(QPalette::Text, Theme::text());
    colours.setColor(QPalette::Highlight, Theme::selection());
    colours.setColor(QPalette::HighlightedText, Theme::text());
    view->setPalette(colours);
    m_layout->addWidget(view);
}

} // namespace plumeo
