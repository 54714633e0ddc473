#pragma once

#include "session/SessionState.h"

#include <vector>

#include <QPointer>
#include <QString>
#include <QStringList>

namespace plumeo {

class DocumentController;
class TextDocument;

// Remembers the editor windows at quit and opens them again at the next plain start: their tabs in
// order, the tab in front, each tab's selection and scroll position, and the untitled documents
// with unsaved text, whose text is kept as an autosave file in the session folder (so quitting
// does not ask about them). Documents with a file that have unsaved changes are still asked about
// at quit, as always.
//
// The session folder is StateFolder::path() + "/session"; it holds session.json and the copies.
// What is restored is consumed: the next quit writes a new session.
class SessionKeeper
{
public:
    explicit SessionKeeper(QString folder);
    static QString standardFolder();
    QString sessionFile() const;

    // Writes down every editor window, keeping a copy of each untitled document with unsaved
    // text; those documents then close without asking. Done before the quit closes anything.
    void capture();
    // The quit was cancelled: the session and the copies go, and those documents ask again (unless
    // one of them was closed already: then the session stays, to bring it back).
    void abandon();
    // The quit went through: the session stays for the next start.
    void commit();
    // Forgets any remembered session (the setting is off).
    void forget();

    // Opens the remembered session, if any: how many documents it opened. Files that no longer
    // open are skipped and named in one message; a session file that cannot be read is named in
    // one message and nothing of it is opened.
    int restore(DocumentController &controller);

private:
    void removeCopies();

    QString m_folder;
    SessionState m_state;
    QStringList m_copies;
    std::vector<QPointer<TextDocument>> m_kept;
};

} // namespace plumeo
