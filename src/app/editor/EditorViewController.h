#pragma once

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QTextEdit;
class QVBoxLayout;

namespace plumeo {

class TextDocument;

// The editor of one document inside a window tab. It shows the document's own text storage: a plain
// text view for plain documents, a rich text view (which honours paragraph alignment) for rich ones,
// and swaps them when the document changes mode.
class EditorViewController : public QWidget
{
    Q_OBJECT
public:
    explicit EditorViewController(TextDocument *document, QWidget *parent = nullptr);
    ~EditorViewController() override;

    TextDocument *document() const { return m_document; }
    // The widget that takes the keyboard focus.
    QWidget *textView() const;

private:
    void documentDidReload();
    void buildView();
    void releaseView();

    TextDocument *m_document;
    QVBoxLayout *m_layout;
    QPointer<QPlainTextEdit> m_plainView;
    QPointer<QTextEdit> m_richView;
};

} // namespace plumeo
