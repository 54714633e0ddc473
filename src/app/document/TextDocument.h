#pragma once

#include "base/Result.h"
#include "document/DocumentError.h"
#include "document/TextStorageCodec.h"
#include "io/FileIdentity.h"
#include "rtf/RtfFrameMarkers.h"
#include "syntax/Language.h"
#include "text/Encoding.h"
#include "text/LineEnding.h"
#include "text/TextFileError.h"

#include <optional>

#include <QObject>
#include <QTextCharFormat>
#include <QTextDocumentFragment>

class QTextDocument;

namespace plumeo {

class DocumentLoad;
class StreamLoad;

// One document: its text storage (a QTextDocument the editor shows and edits directly), how its
// file is encoded (encoding, byte order mark, line ending, so that saving writes it back
// unchanged), whether it is plain or rich text, and where it lives. Reading and writing go through
// TextFile for plain text and the RTF module for rich text. A failed read, write or encoding change
// leaves everything as it was.
//
// The storage never holds the characters Qt would alter (see TextStorageCodec): read the text with
// text(), never with QTextDocument::toPlainText().
class TextDocument : public QObject
{
    Q_OBJECT
public:
    static QString plainTextType(); // "public.plain-text"
    static QString richTextType();  // "public.rtf"

    explicit TextDocument(QObject *parent = nullptr);
    ~TextDocument() override;

    QTextDocument *textStorage() const { return m_storage; }
    const TextStorageCodec &storageCodec() const { return m_codec; }
    // The exact text of the document, line breaks as LF.
    QString text() const;

    bool isRichText() const { return m_isRichText; }
    // Whether the text has a run too long to wrap at word boundaries (see LongRuns): views wrap it
    // anywhere. Decided when the text is loaded, before any view lays it out.
    bool breaksAnywhere() const { return m_breaksAnywhere; }
    // Called before text is inserted by an edit (a paste, a drop): a long run in it switches the
    // wrapping before Qt lays it out. Never switches back while the document is open.
    void prepareForInsertion(QStringView text);
    // Whether the text has a line too long to colour or wrap (see LongRuns): views show it
    // unwrapped and say why. Decided when the text is loaded and when such a line is inserted.
    bool hasLongLines() const { return m_hasLongLines; }
    // Whether the text is laid out unwrapped: it has long lines, none too long for Qt to draw
    // unwrapped (see LongRuns::unwrappableThreshold).
    bool laysOutUnwrapped() const { return m_hasLongLines && !m_hasUnwrappableLines; }
    const Encoding &encoding() const { return m_encoding; }
    bool hasBOM() const { return m_hasBOM; }
    LineEnding lineEnding() const { return m_lineEnding; }

    // The syntax language: the user's choice for this document, else the one its file name
    // suggests.
    Language language() const;
    const std::optional<Language> &languageOverride() const { return m_languageOverride; }
    // Changes the user's choice (nothing: back to the file name's language) and emits
    // languageDidChange.
    void setLanguageOverride(std::optional<Language> language);

    // The document's file, in NativePath form (bytes that are not UTF-8 escaped).
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path);
    QString fileType() const { return m_fileType; }
    void setFileType(const QString &type) { m_fileType = type; }
    // The file name, or "Sans titre"/"Untitled" (with a number after the first) when there is no
    // file.
    QString displayName() const;
    void setUntitledNumber(int number) { m_untitledNumber = number; }
    // The name of a document without a file that is not a plain "Untitled" (a duplicate).
    void setUntitledName(const QString &name) { m_untitledName = name; }
    // Gives back a name displayName() answered in an earlier run: a plain "Untitled" or
    // "Sans titre 2" in either language becomes that number again, worded in the language of the
    // moment; any other name is kept as it is.
    void restoreUntitledName(const QString &name);

    // How the file on disk stands against what the document last read or wrote there.
    enum class DiskState {
        inSync,  // as read or saved (or no file)
        changed, // another program changed or replaced it; the document was edited, so it was not
                 // reloaded
        missing, // deleted or moved away; saving writes it again
    };
    // The file as it was when last read or written: what a save compares the disk with.
    const std::optional<FileIdentity> &diskIdentity() const { return m_diskIdentity; }
    void setDiskIdentity(std::optional<FileIdentity> identity);
    DiskState diskState() const { return m_diskState; }
    void setDiskState(DiskState state);
    // A version of the file the user has seen and chosen to keep their text over: saving over
    // exactly that version needs no second question.
    const std::optional<FileIdentity> &dismissedDiskIdentity() const { return m_dismissedIdentity; }
    void setDismissedDiskIdentity(std::optional<FileIdentity> identity)
    {
        m_dismissedIdentity = identity;
    }

    // The stream being read into this untitled document, while it lasts.
    StreamLoad *streamLoad() const { return m_streamLoad; }
    void setStreamLoad(StreamLoad *load);

    // A large file's text going into the storage slice by slice (see DocumentLoad), while it
    // lasts. Meanwhile the document holds the beginning of the file: it is not edited, and views
    // show it read-only.
    bool isLoading() const { return m_load != nullptr; }
    const DocumentLoad *load() const { return m_load; }
    // Puts the rest of the text in now, for a step that needs all of it.
    void finishLoading();

    // Becomes an untitled copy of other: same content, mode, encoding, mark and line ending.
    void duplicateFrom(const TextDocument &other);

    // Reads the file's new contents into an unedited document, as another program left them.
    // The caller has read the bytes (once) and their identity.
    Result<void, DocumentError>
    reloadFromDisk(const QByteArray &data, const QString &typeName, const FileIdentity &identity);
    enum class Loading {
        atOnce,
        // A large plain text goes in slice by slice from the event loop (see isLoading()).
        inSlices,
    };
    // Fills the document from a file's bytes read as the given type: binary or undecodable text,
    // or rich text that is not RTF, is refused.
    Result<void, DocumentError>
    read(const QByteArray &data, const QString &typeName, Loading loading = Loading::atOnce);
    // The bytes to save: the text in the document's encoding, BOM and line ending, or RTF. A
    // document still loading is loaded to the end first: a half-loaded text is never written.
    Result<QByteArray, TextFileError> data() const;

    // Re-reads an unedited file in another encoding, or converts an edited or unsaved text to it.
    Result<void, TextFileError> setEncoding(const Encoding &encoding);
    void setLineEnding(LineEnding ending);
    // Switches between plain and rich text with new content, as one undoable step whose undo
    // restores undoing and the previous mode.
    void apply(bool richText,
               const QTextDocumentFragment &content,
               const QTextDocumentFragment &undoing);

    // "rtf" for rich text; otherwise the current file's extension (its case kept), else "txt".
    QString fileNameExtension(const QString &typeName) const;

    // Unsaved changes: text edits not undone, plus changes that are not text edits (line ending,
    // converted encoding).
    bool isEdited() const;
    // The document now matches its file (after a save).
    void markSaved();
    // A change that is not a text edit.
    void noteChange();
    // Called before a step that could lose the unsaved changes (revert, re-reading in another
    // encoding, the question whether to save): emits unsavedChangesAtRisk, so that they are kept
    // safe first.
    void protectUnsavedChanges();
    // Whether the unsaved text is kept for the next launch (an untitled document of the session
    // remembered at quit): closing it then asks nothing.
    bool isKeptForNextLaunch() const { return m_keptForNextLaunch; }
    void setKeptForNextLaunch(bool kept) { m_keptForNextLaunch = kept; }
    // Puts back text that was not saved (an autosave), over what the document holds, with the
    // encoding, mark and line ending it had: one undoable step, so that undo goes back to the
    // file's text. The document is then edited.
    void restoreUnsavedText(const QString &text,
                            const Encoding &encoding,
                            bool hasBOM,
                            LineEnding lineEnding);

    // The attributes of plain text: the editor font and the theme's text colour.
    static QTextCharFormat baseAttributes();
    // What plain text is stored with: the colour alone. The font is the view's (the storage's
    // default font), so that changing it needs no edit of the text, which would be undoable and
    // mark the document as changed.
    static QTextCharFormat plainAttributes();
    // Near-black or missing colours take the theme's text colour; authored colours stay.
    static void themed(QTextDocument &document);
    // The theme's text colour is removed again, so that saved files hold default-coloured text.
    static void unthemed(QTextDocument &document);

Q_SIGNALS:
    void textDidReload();
    void encodingDidChange();
    // Also when a new file name names another language.
    void languageDidChange();
    void editedChanged(bool edited);
    void fileChanged();
    // Around a new reading of the file by reloadFromDisk(), so that views can keep the caret and
    // the scroll position: the second only when the reading succeeded, after textDidReload().
    void aboutToReloadFromDisk();
    void didReloadFromDisk();
    void diskStateChanged();
    void streamLoadChanged();
    // A slice-by-slice load began or ended.
    void loadingChanged();
    // hasLongLines() or laysOutUnwrapped() changed.
    void longLinesChanged();
    // See protectUnsavedChanges().
    void unsavedChangesAtRisk();

private:
    friend class RichTextModeUndo;

    void replaceContent(QString storageText, Loading loading = Loading::atOnce);
    // Stops a load where it stands, for content that replaces it.
    void dropLoad();
    void loadDidFinish();
    // Chooses how the storage wraps for text about to be put in it (views share the storage's
    // text option).
    // Also whether it has long lines: text is the whole text, or (wholeText false) text about to
    // be inserted, which can only add long lines.
    void chooseWrapping(QStringView text, bool wholeText = true);
    void noteLongLines(QStringView text, bool wholeText);
    // Turns the substitutes in a copy of the rich storage into what RTF can hold.
    void restoreFragileCharacters(QTextDocument &document) const;
    // The units that stand for U+FDD0 and U+FDD1 in a storage of codec.
    static RtfFrameMarkers frameMarkers(const TextStorageCodec &codec);
    void setRichTextMode(bool richText);
    void emitEditedIfChanged();

    QTextDocument *m_storage;
    TextStorageCodec m_codec;
    bool m_isRichText = false;
    bool m_breaksAnywhere = false;
    bool m_hasLongLines = false;
    bool m_hasUnwrappableLines = false;
    Encoding m_encoding;
    bool m_hasBOM = false;
    LineEnding m_lineEnding = LineEnding::lf;
    std::optional<Language> m_languageOverride;
    QString m_filePath;
    QString m_fileType;
    int m_untitledNumber = 1;
    QString m_untitledName;
    std::optional<FileIdentity> m_diskIdentity;
    std::optional<FileIdentity> m_dismissedIdentity;
    DiskState m_diskState = DiskState::inSync;
    StreamLoad *m_streamLoad = nullptr;
    DocumentLoad *m_load = nullptr;
    int m_changeCount = 0;
    bool m_lastEdited = false;
    bool m_keptForNextLaunch = false;
};

} // namespace plumeo
