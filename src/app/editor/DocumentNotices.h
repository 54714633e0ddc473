#pragma once

#include <QObject>
#include <QPointer>

namespace plumeo {

class NoticeBar;
class TextDocument;

// Decides what the editor's notice bar says about its document, and carries out the user's answer:
// - a stream still arriving: how much has come, and Cancel (what arrived is kept);
// - a large file still going into the document: how much is in, and Cancel (closes the document);
// - the file changed on disk while the document had unsaved changes: Reload (the file's version)
//   or Keep my version (a later save over that version asks nothing more);
// - the file deleted or moved away: saving writes it again;
// - lines too long to colour or wrap: why they are shown as they are (until dismissed).
class DocumentNotices : public QObject
{
    Q_OBJECT
public:
    DocumentNotices(TextDocument *document, NoticeBar *bar, QObject *parent = nullptr);

    // Shows the notice the document's state calls for, or hides the bar. Also after a change of
    // interface language.
    void refresh();

Q_SIGNALS:
    // The stream ended or the user answered: the view may take edits again, focus may return.
    void loadingChanged(bool loading);
    // The user cancelled the opening of a large file: the document is to be closed.
    void closeRequested();

private:
    void answer(int index);
    void showProgress();

    void watchLoad();

    enum class Shown { nothing, loading, opening, changed, missing, longLines };
    TextDocument *m_document;
    NoticeBar *m_bar;
    Shown m_shown = Shown::nothing;
    bool m_longLinesDismissed = false;
};

} // namespace plumeo
