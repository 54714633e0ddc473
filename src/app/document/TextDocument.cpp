#include "document/TextDocument.h"

#include "Preferences.h"
#include "Theme.h"
#include "document/DocumentLoad.h"
#include "document/LongRuns.h"
#include "io/FileReader.h"
#include "io/NativePath.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"
#include "text/Localization.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

#include <QAbstractUndoItem>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace plumeo {

// The mode half of a plain/rich switch, recorded inside the same undo step as the text replacement.
// Qt undoes the items of a step in reverse order and redoes them in order, so the item recorded
// before the text acts on undo (after the old text is back) and the one recorded after acts on redo
// (after the new text is back): listeners always see the text and the mode agree.
class RichTextModeUndo : public QAbstractUndoItem
{
public:
    enum class ActsOn { undo, redo };
    RichTextModeUndo(TextDocument *document, bool richText, ActsOn actsOn)
        : m_document(document)
        , m_richText(richText)
        , m_actsOn(actsOn)
    {}
    void undo() override
    {
        if (m_actsOn == ActsOn::undo)
            switchMode();
    }
    void redo() override
    {
        if (m_actsOn == ActsOn::redo)
            switchMode();
    }

private:
    void switchMode()
    {
        m_document->setRichTextMode(m_richText);
        Q_EMIT m_document->textDidReload();
    }

    TextDocument *m_document;
    bool m_richText;
    ActsOn m_actsOn;
};

QString TextDocument::plainTextType()
{
    return QStringLiteral("public.plain-text");
}

QString TextDocument::richTextType()
{
    return QStringLiteral("public.rtf");
}

TextDocument::TextDocument(QObject *parent)
    : QObject(parent)
    , m_storage(new QTextDocument(this))
    , m_codec(*TextStorageCodec::forText({}))
    , m_encoding(Preferences::preferredEncoding())
    , m_hasBOM(TextFile::needsByteOrderMark(m_encoding))
    , m_lineEnding(Preferences::defaultLineEnding())
    , m_fileType(plainTextType())
{
    m_storage->setDocumentLayout(new QPlainTextDocumentLayout(m_storage));
    m_storage->setUndoRedoEnabled(false);
    QTextCursor(m_storage).setCharFormat(plainAttributes());
    m_storage->setUndoRedoEnabled(true);
    connect(m_storage, &QTextDocument::modificationChanged, this,
            [this] { emitEditedIfChanged(); });
}

TextDocument::~TextDocument() = default;

QString TextDocument::text() const
{
    return m_codec.fromStorage(m_storage->toRawText());
}

Language TextDocument::language() const
{
    if (m_languageOverride)
        return *m_languageOverride;
    return Language::forFile(QFileInfo(m_filePath).fileName());
}

void TextDocument::setLanguageOverride(std::optional<Language> language)
{
    m_languageOverride = std::move(language);
    Q_EMIT languageDidChange();
}

void TextDocument::setFilePath(const QString &path)
{
    if (path == m_filePath)
        return;
    const Language before = language();
    m_filePath = path;
    Q_EMIT fileChanged();
    // A new extension names another language (unless the user chose one): colour by it at once.
    if (language() != before)
        Q_EMIT languageDidChange();
}

QString TextDocument::displayName() const
{
    if (!m_filePath.isEmpty())
        return NativePath::display(QFileInfo(m_filePath).fileName());
    if (!m_untitledName.isEmpty())
        return m_untitledName;
    const QString untitled = L(QStringLiteral("Sans titre"), QStringLiteral("Untitled"));
    return m_untitledNumber > 1 ? untitled + u' ' + QString::number(m_untitledNumber) : untitled;
}

void TextDocument::restoreUntitledName(const QString &name)
{
    static const QRegularExpression plain(
        QStringLiteral("^(?:Sans titre|Untitled)(?: ([2-9]|[1-9][0-9]{1,5}))?$"));
    const QRegularExpressionMatch match = plain.match(name);
    if (!match.hasMatch()) {
        setUntitledName(name);
        return;
    }
    m_untitledName.clear();
    m_untitledNumber = match.hasCaptured(1) ? match.captured(1).toInt() : 1;
}

void TextDocument::setDiskIdentity(std::optional<FileIdentity> identity)
{
    m_diskIdentity = identity;
    m_dismissedIdentity.reset();
    setDiskState(DiskState::inSync);
}

void TextDocument::setDiskState(DiskState state)
{
    if (state == m_diskState)
        return;
    m_diskState = state;
    Q_EMIT diskStateChanged();
}

void TextDocument::setStreamLoad(StreamLoad *load)
{
    if (load == m_streamLoad)
        return;
    m_streamLoad = load;
    Q_EMIT streamLoadChanged();
}

Result<void, DocumentError> TextDocument::reloadFromDisk(const QByteArray &data,
                                                         const QString &typeName,
                                                         const FileIdentity &identity)
{
    Q_EMIT aboutToReloadFromDisk();
    if (auto done = read(data, typeName); !done)
        return done;
    setFileType(typeName);
    setDiskIdentity(identity);
    Q_EMIT didReloadFromDisk();
    return {};
}

void TextDocument::duplicateFrom(const TextDocument &other)
{
    // A copy of all of it, not of what is loaded so far.
    if (other.m_load)
        other.m_load->finish();
    m_codec = other.m_codec;
    m_encoding = other.m_encoding;
    m_hasBOM = other.m_hasBOM;
    m_lineEnding = other.m_lineEnding;
    setRichTextMode(other.m_isRichText);
    chooseWrapping(other.m_storage->toRawText());
    m_storage->setUndoRedoEnabled(false);
    QTextCursor cursor(m_storage);
    cursor.select(QTextCursor::Document);
    cursor.insertFragment(QTextDocumentFragment(other.m_storage));
    m_storage->setUndoRedoEnabled(true);
    // A duplicate has never been saved: closing it asks, like any new document with content.
    m_storage->setModified(!other.text().isEmpty());
    const QString base = QFileInfo(other.displayName()).completeBaseName();
    m_untitledName = L(QStringLiteral("%1 copie"), QStringLiteral("%1 copy"))
                         .arg(base.isEmpty() ? other.displayName() : base);
    emitEditedIfChanged();
    Q_EMIT textDidReload();
}

Result<void, DocumentError>
TextDocument::read(const QByteArray &data, const QString &typeName, Loading loading)
{
    if (typeName == richTextType()) {
        // What follows the document's closing brace (the zero byte WordPad ends its files with) is
        // not part of it; a zero inside it is still not text.
        const QByteArrayView rtf = RtfReader::documentPart(data);
        if (TextFile::isBinary(rtf))
            return DocumentError::from(TextFileError::binaryData());
        QTextDocument content;
        const auto summary = RtfReader::read(rtf, content);
        if (!summary)
            return DocumentError::from(summary.error());
        // The substitutes must be units the text does not hold, known only once it is read: a
        // file holding U+FDD0 or U+FDD1 is read again, with their substitutes in their place.
        const auto codec = TextStorageCodec::forText(content.toRawText());
        if (!codec)
            return DocumentError::from(TextFileError::undecodableData());
        if (summary.value().hasFrameMarkers) {
            if (const auto again = RtfReader::read(rtf, content, frameMarkers(*codec)); !again)
                return DocumentError::from(again.error());
        }
        themed(content);
        dropLoad();
        chooseWrapping(content.toRawText());
        m_storage->setUndoRedoEnabled(false);
        QTextCursor cursor(m_storage);
        cursor.select(QTextCursor::Document);
        cursor.insertFragment(QTextDocumentFragment(&content));
        m_storage->setUndoRedoEnabled(true);
        m_storage->setModified(false);
        m_codec = *codec;
        setRichTextMode(true);
        Q_EMIT textDidReload();
        return {};
    }

    if (TextFile::isBinary(data))
        return DocumentError::from(TextFileError::binaryData());
    auto decoded = TextFile::decode(data, Preferences::preferredEncoding());
    if (!decoded)
        return DocumentError::from(decoded.error());
    const auto codec = TextStorageCodec::forText(decoded.value().text);
    if (!codec)
        return DocumentError::from(TextFileError::undecodableData());

    m_codec = *codec;
    m_encoding = decoded.value().encoding;
    m_hasBOM = decoded.value().hasBOM;
    m_lineEnding = decoded.value().lineEnding.value_or(Preferences::defaultLineEnding());
    // One copy of the text at a time: the decoded text becomes the stored one.
    replaceContent(m_codec.toStorage(std::move(decoded.value().text)), loading);
    Q_EMIT textDidReload();
    return {};
}

Result<QByteArray, TextFileError> TextDocument::data() const
{
    // The storage is filled, not changed: the document's text is what it was meant to be.
    if (m_load)
        m_load->finish();
    if (!m_isRichText) {
        const QString plain = text();
        auto bytes = TextFile::encode(plain, m_encoding, m_hasBOM, m_lineEnding);
        // Without its mark, UTF-16 or UTF-32 opens again only while it has no zero byte where the
        // binary test looks, which an edit can change.
        if (bytes && !m_hasBOM && TextFile::needsByteOrderMark(m_encoding)
            && TextFile::isBinary(bytes.value()))
            return TextFile::encode(plain, m_encoding, true, m_lineEnding);
        return bytes;
    }
    auto copy = std::unique_ptr<QTextDocument>(m_storage->clone());
    unthemed(*copy);
    restoreFragileCharacters(*copy);
    return RtfWriter::write(*copy, frameMarkers(m_codec));
}

Result<void, TextFileError> TextDocument::setEncoding(const Encoding &encoding)
{
    if (encoding == m_encoding)
        return {};
    protectUnsavedChanges();

    if (!m_filePath.isEmpty() && !isEdited()) {
        FileIdentity identity;
        if (const auto read = FileReader::readRegularFile(m_filePath, &identity)) {
            const QByteArray &bytes = read.value();
            QByteArrayView rest = bytes;
            bool droppedMark = false;
            if (const auto mark = TextFile::byteOrderMark(encoding);
                mark && rest.startsWith(*mark)) {
                rest = rest.sliced(mark->size());
                droppedMark = true;
            }
            auto decoded = StrictCodec::decode(rest, encoding);
            if (!decoded)
                return TextFileError::undecodableIn(encoding);
            const auto detected = LineEnding::detect(*decoded);
            // As when a file is first read, a file whose breaks are mostly LF keeps its stray CRs
            // as characters: turning them into line breaks would change the file at the next save.
            QString text = detected && *detected != LineEnding::lf
                               ? LineEnding::normalize(std::move(*decoded))
                               : std::move(*decoded);
            const auto codec = TextStorageCodec::forText(text);
            if (!codec)
                return TextFileError::unencodableIn(encoding);
            m_encoding = encoding;
            m_hasBOM = droppedMark;
            if (detected)
                m_lineEnding = *detected;
            m_codec = *codec;
            replaceContent(m_codec.toStorage(text));
            // What is on screen is now this reading of the file.
            setDiskIdentity(identity);
            Q_EMIT textDidReload();
            Q_EMIT encodingDidChange();
            return {};
        }
    }

    if (!TextFile::encode(text(), encoding, false, LineEnding::lf))
        return TextFileError::unencodableIn(encoding);
    m_encoding = encoding;
    m_hasBOM = TextFile::needsByteOrderMark(encoding);
    noteChange();
    Q_EMIT encodingDidChange();
    return {};
}

void TextDocument::setLineEnding(LineEnding ending)
{
    if (ending == m_lineEnding)
        return;
    m_lineEnding = ending;
    noteChange();
    Q_EMIT encodingDidChange();
}

void TextDocument::apply(bool richText,
                         const QTextDocumentFragment &content,
                         const QTextDocumentFragment &undoing)
{
    Q_UNUSED(undoing); // the undo step keeps the replaced text itself
    finishLoading();
    const bool old = m_isRichText;
    QTextCursor cursor(m_storage);
    cursor.beginEditBlock();
    m_storage->appendUndoItem(new RichTextModeUndo(this, old, RichTextModeUndo::ActsOn::undo));
    cursor.select(QTextCursor::Document);
    cursor.insertFragment(content);
    m_storage->appendUndoItem(new RichTextModeUndo(this, richText, RichTextModeUndo::ActsOn::redo));
    cursor.endEditBlock();
    setRichTextMode(richText);
    Q_EMIT textDidReload();
}

QString TextDocument::fileNameExtension(const QString &typeName) const
{
    if (typeName == richTextType())
        return QStringLiteral("rtf");
    const QString suffix = QFileInfo(m_filePath).suffix();
    return suffix.isEmpty() ? QStringLiteral("txt") : suffix;
}

bool TextDocument::isEdited() const
{
    // Qt counts the slices of a load as modifications; they are the file's own text.
    return (m_storage->isModified() && !m_load) || m_changeCount != 0;
}

void TextDocument::markSaved()
{
    m_changeCount = 0;
    m_storage->setModified(false);
    emitEditedIfChanged();
}

void TextDocument::noteChange()
{
    ++m_changeCount;
    emitEditedIfChanged();
}

void TextDocument::protectUnsavedChanges()
{
    if (isEdited())
        Q_EMIT unsavedChangesAtRisk();
}

void TextDocument::restoreUnsavedText(const QString &restored,
                                      const Encoding &encoding,
                                      bool hasBOM,
                                      LineEnding lineEnding)
{
    // Undoing the restore goes back to the whole file's text.
    finishLoading();
    if (m_isRichText)
        setRichTextMode(false);
    if (m_codec.canEncode(restored)) {
        chooseWrapping(restored);
        QTextCursor cursor(m_storage);
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(m_codec.toStorage(restored), plainAttributes());
        cursor.endEditBlock();
    } else if (const auto codec = TextStorageCodec::forText(restored)) {
        // The text holds a unit the storage uses as a substitute: it needs other substitutes,
        // which only a fresh storage can take.
        m_codec = *codec;
        replaceContent(m_codec.toStorage(restored));
    }
    m_encoding = encoding;
    m_hasBOM = hasBOM;
    m_lineEnding = lineEnding;
    noteChange();
    Q_EMIT textDidReload();
    Q_EMIT encodingDidChange();
}

void TextDocument::emitEditedIfChanged()
{
    const bool edited = isEdited();
    if (edited == m_lastEdited)
        return;
    m_lastEdited = edited;
    Q_EMIT editedChanged(edited);
}

QTextCharFormat TextDocument::baseAttributes()
{
    QTextCharFormat format;
    format.setFont(Preferences::editorFont());
    format.setForeground(Theme::text());
    return format;
}

QTextCharFormat TextDocument::plainAttributes()
{
    QTextCharFormat format;
    format.setForeground(Theme::text());
    return format;
}

void TextDocument::chooseWrapping(QStringView text, bool wholeText)
{
    m_breaksAnywhere = LongRuns::hasLongRun(text);
    noteLongLines(text, wholeText);
    QTextOption option = m_storage->defaultTextOption();
    const auto mode =
        m_breaksAnywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (option.wrapMode() != mode && option.wrapMode() != QTextOption::NoWrap) {
        option.setWrapMode(mode);
        m_storage->setDefaultTextOption(option);
    }
}

void TextDocument::prepareForInsertion(QStringView text)
{
    if (!m_breaksAnywhere && LongRuns::hasLongRun(text))
        chooseWrapping(text, false);
    else
        noteLongLines(text, false);
}

void TextDocument::noteLongLines(QStringView text, bool wholeText)
{
    // Inserted text can only add such lines; only a whole text can take them away.
    const bool longLines = LongRuns::hasLongLine(text);
    const bool unwrappable = longLines && LongRuns::hasUnwrappableLine(text);
    const bool hadLong = m_hasLongLines;
    const bool hadUnwrappable = m_hasUnwrappableLines;
    m_hasLongLines = wholeText ? longLines : m_hasLongLines || longLines;
    m_hasUnwrappableLines = wholeText ? unwrappable : m_hasUnwrappableLines || unwrappable;
    if (m_hasLongLines != hadLong || m_hasUnwrappableLines != hadUnwrappable)
        Q_EMIT longLinesChanged();
}

void TextDocument::replaceContent(QString storageText, Loading loading)
{
    dropLoad();
    chooseWrapping(storageText);
    m_changeCount = 0;
    // Loading is not an edit: nothing to undo, nothing unsaved.
    m_storage->setUndoRedoEnabled(false);
    if (loading == Loading::inSlices && storageText.size() >= DocumentLoad::sliceThreshold) {
        m_load = new DocumentLoad(m_storage, std::move(storageText), this);
        connect(m_load, &DocumentLoad::finished, this, &TextDocument::loadDidFinish);
        m_load->start();
        if (m_load) {
            m_storage->setModified(false);
            emitEditedIfChanged();
            Q_EMIT loadingChanged();
        }
        return;
    }
    QTextCursor cursor(m_storage);
    cursor.select(QTextCursor::Document);
    cursor.insertText(storageText, plainAttributes());
    m_storage->setUndoRedoEnabled(true);
    m_storage->setModified(false);
    emitEditedIfChanged();
}

void TextDocument::finishLoading()
{
    if (m_load)
        m_load->finish();
}

void TextDocument::dropLoad()
{
    if (!m_load)
        return;
    delete std::exchange(m_load, nullptr);
    m_storage->setUndoRedoEnabled(true);
    Q_EMIT loadingChanged();
}

void TextDocument::loadDidFinish()
{
    if (!m_load)
        return;
    m_load->deleteLater();
    m_load = nullptr;
    m_storage->setUndoRedoEnabled(true);
    m_storage->setModified(false);
    emitEditedIfChanged();
    Q_EMIT loadingChanged();
}

void TextDocument::setRichTextMode(bool richText)
{
    m_isRichText = richText;
    m_fileType = richText ? richTextType() : plainTextType();
}

namespace {

bool isNearBlack(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgb.redF() < 0.15f && rgb.greenF() < 0.15f && rgb.blueF() < 0.15f;
}

// Applies change to the character format of every run of document. The runs are listed first and
// changed afterwards, since changing a format can merge or split the fragments being walked.
template <typename Change> void forEachRun(QTextDocument &document, Change change)
{
    struct Run
    {
        int position;
        int length;
        QTextCharFormat format;
    };
    std::vector<Run> changed;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            QTextCharFormat format = fragment.charFormat();
            if (change(format))
                changed.push_back({fragment.position(), fragment.length(), format});
        }
    }
    QTextCursor cursor(&document);
    for (const Run &run : changed) {
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
}

} // namespace

RtfFrameMarkers TextDocument::frameMarkers(const TextStorageCodec &codec)
{
    static_assert(TextStorageCodec::fragileCharacters[2] == 0xFDD0
                  && TextStorageCodec::fragileCharacters[3] == 0xFDD1);
    return {codec.substitutes()[2], codec.substitutes()[3]};
}

void TextDocument::restoreFragileCharacters(QTextDocument &document) const
{
    // Rich text has no way to hold a CR or a paragraph separator inside a paragraph: pasted ones
    // become the paragraph breaks RTF knows. The frame markers stay substitutes, which the RTF
    // writer writes as the characters they stand for.
    for (size_t k = 0; k < TextStorageCodec::fragileCharacters.size(); ++k) {
        const char16_t real = TextStorageCodec::fragileCharacters[k];
        if (real != u'\r' && real != 0x2029)
            continue;
        const QString substitute(QChar(m_codec.substitutes()[k]));
        const QString replacement = QStringLiteral("\n");
        QTextCursor found = document.find(substitute, 0, QTextDocument::FindCaseSensitively);
        while (!found.isNull()) {
            found.insertText(replacement);
            found = document.find(substitute, found.position(), QTextDocument::FindCaseSensitively);
        }
    }
}

void TextDocument::themed(QTextDocument &document)
{
    forEachRun(document, [](QTextCharFormat &format) {
        const QBrush brush = format.foreground();
        if (brush.style() != Qt::NoBrush && brush.color().isValid() && !isNearBlack(brush.color()))
            return false;
        format.setForeground(Theme::text());
        return true;
    });
}

void TextDocument::unthemed(QTextDocument &document)
{
    forEachRun(document, [](QTextCharFormat &format) {
        if (!format.hasProperty(QTextFormat::ForegroundBrush)
            || format.foreground().color() != Theme::text())
            return false;
        format.clearForeground();
        return true;
    });
}

} // namespace plumeo
