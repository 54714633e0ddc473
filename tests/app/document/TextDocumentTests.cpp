#include "DocumentTestSupport.h"
#include "Preferences.h"
#include "Theme.h"
#include "text/Localization.h"
#include "text/TextFile.h"

#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

class TextDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override { Preferences::registerDefaults(); }
    void TearDown() override
    {
        Preferences::set(Preferences::Key::defaultLineEnding(), std::nullopt);
        Preferences::set(Preferences::Key::defaultEncoding(), std::nullopt);
    }
};

void type(TextDocument &document, const QString &text)
{
    QTextCursor cursor(document.textStorage());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
}

} // namespace

TEST_F(TextDocumentTest, UneditedFileSavesBackByteForByteWhateverCharactersItHolds)
{
    // LF lines with stray CR LF pairs and lone CRs, and every character Qt would alter on its way
    // into or out of a text document.
    const QByteArray file =
        QStringLiteral("one\ntwo\r\nthree\rfour\u2028five\u2029six\u00A0seven\uFDD0\uFDD1"
                       "eight\nnine\n")
            .toUtf8();
    auto document = plainDocument(file);
    EXPECT_EQ(document->lineEnding(), LineEnding::lf);
    EXPECT_FALSE(document->isEdited());
    EXPECT_EQ(document->text(), QString::fromUtf8(file));
    EXPECT_EQ(document->data().value(), file);

    // The same with a UTF-16 mark and CR LF lines.
    const QString text = QStringLiteral("a\u2029b\r\nc\u00A0d\r\n");
    QByteArray wide("\xFF\xFE", 2);
    wide.append(
        TextFile::encode(text, Encoding::utf16LittleEndian(), false, LineEnding::lf).value());
    auto utf16 = plainDocument(wide);
    EXPECT_EQ(utf16->encoding(), Encoding::utf16LittleEndian());
    EXPECT_TRUE(utf16->hasBOM());
    EXPECT_EQ(utf16->lineEnding(), LineEnding::crlf);
    EXPECT_EQ(utf16->text(), QStringLiteral("a\u2029b\nc\u00A0d\n"));
    EXPECT_EQ(utf16->data().value(), wide);
}

TEST_F(TextDocumentTest, ReadingSetsEncodingMarkAndLineEnding)
{
    Preferences::set(Preferences::Key::defaultLineEnding(), QJsonValue(QStringLiteral("CRLF")));
    auto empty = plainDocument({});
    EXPECT_EQ(empty->encoding(), Encoding::utf8());
    EXPECT_FALSE(empty->hasBOM());
    EXPECT_EQ(empty->lineEnding(), LineEnding::crlf); // no line break: the preference decides

    auto crlf = plainDocument("a\r\nb\r\n");
    EXPECT_EQ(crlf->lineEnding(), LineEnding::crlf);
    EXPECT_EQ(crlf->text(), u"a\nb\n");
    EXPECT_EQ(crlf->data().value(), "a\r\nb\r\n");

    auto marked = plainDocument("\xEF\xBB\xBFhello");
    EXPECT_TRUE(marked->hasBOM());
    EXPECT_EQ(marked->data().value(), "\xEF\xBB\xBFhello");

    // The preferred encoding decides what UTF-8 cannot read.
    Preferences::set(Preferences::Key::defaultEncoding(),
                     QJsonValue(qint64(Encoding::macOSRomanRaw)));
    auto roman = plainDocument("caf\x8E");
    EXPECT_EQ(roman->encoding(), Encoding::macOSRoman());
    EXPECT_EQ(roman->text(), u"café");
}

TEST_F(TextDocumentTest, FailedReadLeavesTheDocumentAsItWas)
{
    auto document = plainDocument("keep me");
    QSignalSpy reloads(document.get(), &TextDocument::textDidReload);
    const auto binary = document->read(QByteArray("PNG\0\0data", 9), TextDocument::plainTextType());
    ASSERT_FALSE(binary.hasValue());
    EXPECT_EQ(binary.error(), DocumentError::from(TextFileError::binaryData()));
    const auto notRtf = document->read("just text", TextDocument::richTextType());
    ASSERT_FALSE(notRtf.hasValue());
    EXPECT_EQ(notRtf.error(), DocumentError::from(RtfReadError::notRtf));
    EXPECT_EQ(document->text(), u"keep me");
    EXPECT_FALSE(document->isRichText());
    EXPECT_EQ(reloads.count(), 0);

    // A UTF-16 file with a mark is text, though full of zero bytes.
    EXPECT_TRUE(
        document->read(QByteArray("\xFF\xFEh\0i\0", 6), TextDocument::plainTextType()).hasValue());
    EXPECT_EQ(document->text(), u"hi");
}

TEST_F(TextDocumentTest, EncodingChangeReinterpretsAnUneditedFileOrConvertsTheText)
{
    QTemporaryDir dir;
    const QByteArray latin1 = "caf\xE9 cr\xE8me\n";
    const QString path = writeFile(dir, QStringLiteral("menu.txt"), latin1);
    auto document = plainDocument(latin1);
    document->setFilePath(path);
    const Encoding before = document->encoding();
    ASSERT_NE(before, Encoding::utf8());

    // Not valid UTF-8: refused, and nothing changes.
    QSignalSpy changes(document.get(), &TextDocument::encodingDidChange);
    const auto refused = document->setEncoding(Encoding::utf8());
    ASSERT_FALSE(refused.hasValue());
    EXPECT_EQ(refused.error().kind(), TextFileError::undecodable);
    EXPECT_EQ(refused.error().encoding(), Encoding::utf8());
    EXPECT_EQ(document->encoding(), before);
    EXPECT_EQ(changes.count(), 0);

    // Re-reading in Mac OS Roman changes the text but not the file, and the document stays
    // unedited.
    QSignalSpy reloads(document.get(), &TextDocument::textDidReload);
    EXPECT_TRUE(document->setEncoding(Encoding::macOSRoman()).hasValue());
    EXPECT_EQ(document->text(), u"cafÈ crËme\n");
    EXPECT_FALSE(document->isEdited());
    EXPECT_EQ(reloads.count(), 1);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(document->data().value(), latin1);

    // Stray CR LF pairs of an LF file are part of what is re-read, and saved back as they were.
    const QByteArray mixed = "a\nb\r\nc\n";
    auto lf = plainDocument(mixed);
    lf->setFilePath(writeFile(dir, QStringLiteral("mixed.txt"), mixed));
    EXPECT_TRUE(lf->setEncoding(Encoding::isoLatin1()).hasValue());
    EXPECT_EQ(lf->lineEnding(), LineEnding::lf);
    EXPECT_EQ(lf->data().value(), mixed);

    // An edited document is converted instead: it must be representable.
    auto edited = plainDocument("plain");
    type(*edited, QStringLiteral(" é"));
    EXPECT_FALSE(edited->setEncoding(Encoding::ascii()).hasValue());
    EXPECT_EQ(edited->encoding(), Encoding::utf8());
    auto ascii = plainDocument("\xEF\xBB\xBFplain");
    type(*ascii, QStringLiteral(" text"));
    EXPECT_TRUE(ascii->setEncoding(Encoding::ascii()).hasValue());
    EXPECT_EQ(ascii->encoding(), Encoding::ascii());
    EXPECT_FALSE(ascii->hasBOM());
    EXPECT_TRUE(ascii->isEdited());
}

TEST_F(TextDocumentTest, LineEndingChangesAndTextEditsAreEditsButTheSameEndingIsNothing)
{
    auto document = plainDocument("a\nb\n");
    QSignalSpy changes(document.get(), &TextDocument::encodingDidChange);
    QSignalSpy edited(document.get(), &TextDocument::editedChanged);
    document->setLineEnding(LineEnding::lf);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_FALSE(document->isEdited());
    document->setLineEnding(LineEnding::crlf);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(document->isEdited());
    EXPECT_EQ(edited.count(), 1);
    EXPECT_EQ(document->data().value(), "a\r\nb\r\n");
    document->markSaved();
    EXPECT_FALSE(document->isEdited());

    // A text edit is one until undone.
    type(*document, QStringLiteral("d"));
    EXPECT_TRUE(document->isEdited());
    document->textStorage()->undo();
    EXPECT_FALSE(document->isEdited());
    EXPECT_EQ(document->text(), u"a\nb\n");
}

TEST_F(TextDocumentTest, ExtensionProposedForSaving)
{
    TextDocument fresh;
    EXPECT_EQ(fresh.fileNameExtension(TextDocument::plainTextType()), u"txt");
    EXPECT_EQ(fresh.fileNameExtension(TextDocument::richTextType()), u"rtf");
    fresh.setFilePath(QStringLiteral("/tmp/notes/README.MD"));
    EXPECT_EQ(fresh.fileNameExtension(TextDocument::plainTextType()), u"MD");
}

TEST_F(TextDocumentTest, PlainRichSwitchIsOneUndoableStep)
{
    auto document = plainDocument("plain words");
    QTextDocument richContent;
    QTextCursor(&richContent).insertText(QStringLiteral("rich words"));
    QSignalSpy reloads(document.get(), &TextDocument::textDidReload);
    // On every reload, text and mode must already agree.
    QStringList seen;
    QObject::connect(document.get(), &TextDocument::textDidReload, [&] {
        seen << (document->isRichText() ? QStringLiteral("rich:") : QStringLiteral("plain:"))
                    + document->text();
    });

    document->apply(true, QTextDocumentFragment(&richContent),
                    QTextDocumentFragment(document->textStorage()));
    EXPECT_TRUE(document->isRichText());
    EXPECT_EQ(document->fileType(), TextDocument::richTextType());
    document->textStorage()->undo();
    EXPECT_FALSE(document->isRichText());
    EXPECT_EQ(document->text(), u"plain words");
    document->textStorage()->redo();
    EXPECT_TRUE(document->isRichText());
    EXPECT_EQ(seen, QStringList({"rich:rich words", "plain:plain words", "rich:rich words"}));
}

TEST_F(TextDocumentTest, RichTextIsThemedOnReadAndUnthemedOnWrite)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Helvetica;}}{\\colortbl;\\red0\\green0\\blue0;"
        "\\red255\\green0\\blue0;}\\f0\\fs24 plain \\cf1 black \\cf2 red\\par}";
    TextDocument document;
    ASSERT_TRUE(document.read(rtf, TextDocument::richTextType()).hasValue());
    EXPECT_TRUE(document.isRichText());
    const auto colourAt = [&](int position) {
        QTextCursor cursor(document.textStorage());
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground().color();
    };
    const QString text = document.text();
    EXPECT_EQ(colourAt(int(text.indexOf(u"plain"))), Theme::text());
    EXPECT_EQ(colourAt(int(text.indexOf(u"black"))), Theme::text());
    EXPECT_EQ(colourAt(int(text.indexOf(u"red"))), QColor(255, 0, 0));

    const QByteArray saved = document.data().value();
    TextDocument reread;
    ASSERT_TRUE(reread.read(saved, TextDocument::richTextType()).hasValue());
    EXPECT_EQ(reread.text(), text);
    // The theme colour never reaches the file: only red is written as a colour.
    EXPECT_FALSE(saved.contains("\\red230"));
    EXPECT_TRUE(saved.contains("\\red255\\green0\\blue0"));
}

TEST_F(TextDocumentTest, RichTextNeverSavesTheStorageSubstitutes)
{
    TextDocument document;
    ASSERT_TRUE(
        document.read("{\\rtf1\\ansi start\\par}", TextDocument::richTextType()).hasValue());
    // What a paste of "a CR b" leaves in the storage.
    QTextCursor cursor(document.textStorage());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(document.storageCodec().toStorage(u"a\rb\u2029c"));
    TextDocument reread;
    ASSERT_TRUE(reread.read(document.data().value(), TextDocument::richTextType()).hasValue());
    const QString text = reread.text();
    EXPECT_TRUE(text.endsWith(u"a\nb\nc")) << qPrintable(text);
    for (char16_t substitute : document.storageCodec().substitutes())
        EXPECT_FALSE(text.contains(QChar(substitute)));
}

TEST_F(TextDocumentTest, Utf16AndUtf32WrittenByPlumeoAreReadBackAsText)
{
    const Encoding utf32LittleEndian(0x9C000100);
    const Encoding utf32BigEndian(0x98000100);
    for (const Encoding &encoding : {Encoding::utf16LittleEndian(), Encoding::utf16BigEndian(),
                                     utf32LittleEndian, utf32BigEndian}) {
        SCOPED_TRACE(qPrintable(TextFile::name(encoding)));
        TextDocument document;
        type(document, QStringLiteral("Hello, été 😀\nsecond line\n"));
        ASSERT_TRUE(document.setEncoding(encoding).hasValue());
        EXPECT_TRUE(document.hasBOM());
        // The document reads what it wrote, and writes it again unchanged.
        const QByteArray saved = document.data().value();
        auto reread = plainDocument(saved);
        EXPECT_EQ(reread->encoding(), encoding);
        EXPECT_EQ(reread->text(), document.text());
        EXPECT_EQ(reread->data().value(), saved);
    }

    // A UTF-16 file read without a mark keeps none while its bytes stay readable as text…
    Preferences::set(Preferences::Key::defaultEncoding(),
                     QJsonValue(qint64(Encoding::utf16LittleEndianRaw)));
    const QByteArray markless("\x3F\x96\x3F\x96", 4); // 阿阿: no zero byte, not UTF-8
    auto document = plainDocument(markless);
    ASSERT_EQ(document->encoding(), Encoding::utf16LittleEndian());
    EXPECT_FALSE(document->hasBOM());
    EXPECT_EQ(document->data().value(), markless);
    // …but gets one as soon as the text written would be refused (a zero byte in every Latin
    // letter).
    type(*document, QStringLiteral("a"));
    const QByteArray saved = document->data().value();
    EXPECT_FALSE(TextFile::isBinary(saved));
    EXPECT_EQ(TextFile::decode(saved, Encoding::utf8()).value().text, u"阿阿a");
}

TEST_F(TextDocumentTest, RichTextKeepsNoncharactersThatLookLikeStorageSubstitutes)
{
    // U+FDD0…U+FDD5: Qt's frame markers, then the units plain storage takes as substitutes first.
    const QByteArray rtf = "{\\rtf1\\ansi\\uc1 a\\u-560?b\\u64977?c\\u-558?d\\u-557?e\\u-556?f"
                           "\\u-555?g\\par second\\par}";
    const QString expected =
        QStringLiteral("a\uFDD0b\uFDD1c\uFDD2d\uFDD3e\uFDD4f\uFDD5g\nsecond\n");
    TextDocument document;
    ASSERT_TRUE(document.read(rtf, TextDocument::richTextType()).hasValue());
    EXPECT_EQ(document.text(), expected);

    const QByteArray saved = document.data().value();
    TextDocument reread;
    ASSERT_TRUE(reread.read(saved, TextDocument::richTextType()).hasValue());
    EXPECT_EQ(reread.text(), expected);

    // Typed or pasted frame markers are saved as themselves too, not as U+FFFD.
    QTextCursor cursor(reread.textStorage());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(reread.storageCodec().toStorage(u"x\uFDD0y"));
    TextDocument third;
    ASSERT_TRUE(third.read(reread.data().value(), TextDocument::richTextType()).hasValue());
    EXPECT_EQ(third.text(), expected + QStringLiteral("x\uFDD0y"));
}

TEST_F(TextDocumentTest, RichTextIgnoresWhatFollowsTheDocumentButNotZerosInsideIt)
{
    // WordPad and RichEdit end their files with a zero byte after the closing brace.
    const QByteArray body = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 WordPad text\\par\n}";
    for (const QByteArray &trailer :
         {QByteArray("\0", 1), QByteArray("\0\0\0", 3), QByteArray("\r\n\0", 3)}) {
        TextDocument document;
        const auto read = document.read(body + trailer, TextDocument::richTextType());
        ASSERT_TRUE(read.hasValue()) << qPrintable(read ? QString() : read.error().description);
        EXPECT_EQ(document.text(), u"WordPad text\n");
        const QByteArray saved = document.data().value();
        EXPECT_FALSE(saved.contains('\0'));
        EXPECT_TRUE(saved.trimmed().endsWith('}'));
    }

    TextDocument inside;
    const QByteArray zeroInside("{\\rtf1\\ansi a\0b\\par}", 20);
    const auto refused = inside.read(zeroInside, TextDocument::richTextType());
    ASSERT_FALSE(refused.hasValue());
    EXPECT_EQ(refused.error(), DocumentError::from(TextFileError::binaryData()));
    EXPECT_FALSE(inside.isRichText());
}

TEST_F(TextDocumentTest, AFileThatCannotBeReadInTheChosenEncodingIsSaidSoInBothLanguages)
{
    QTemporaryDir dir;
    const QByteArray latin1 = "caf\xE9\n";
    auto document = plainDocument(latin1);
    document->setFilePath(writeFile(dir, QStringLiteral("menu.txt"), latin1));

    const auto refused = document->setEncoding(Encoding::utf8());
    ASSERT_FALSE(refused.hasValue());
    Localization::setCurrent(AppLanguage::en);
    // Reading, not writing, failed: nothing is said about characters that cannot be encoded.
    EXPECT_EQ(refused.error().errorDescription(),
              u"This file cannot be read as UTF-8: some of its bytes are not valid in it.");
    EXPECT_EQ(refused.error().recoverySuggestion(),
              u"The document is unchanged. Choose another encoding in the status bar.");
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(refused.error().errorDescription(),
              u"Ce fichier ne peut pas être lu en UTF-8 : certains de ses octets n’y sont pas "
              u"valides.");
    EXPECT_EQ(refused.error().recoverySuggestion(),
              u"Le document n’a pas changé. Choisissez un autre encodage dans la barre d’état.");
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(document->text(), u"caf\u00E9\n");
}
