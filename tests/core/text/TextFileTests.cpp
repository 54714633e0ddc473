#include "text/EncodingDetector.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

#include <random>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(char(v));
    return result;
}

DecodedText decoded(QByteArrayView data, const Encoding &preferred = Encoding::utf8())
{
    auto result = TextFile::decode(data, preferred);
    EXPECT_TRUE(result.hasValue()) << "could not decode " << data.toByteArray().toHex().constData();
    return result ? result.value() : DecodedText{};
}

bool undecodable(QByteArrayView data, const Encoding &preferred = Encoding::utf8())
{
    auto result = TextFile::decode(data, preferred);
    return !result && result.error().kind() == TextFileError::undecodable;
}

QByteArray encoded(const QString &text, const Encoding &encoding, bool bom, LineEnding ending)
{
    auto result = TextFile::encode(text, encoding, bom, ending);
    EXPECT_TRUE(result.hasValue())
        << qPrintable(text) << " in " << qPrintable(TextFile::name(encoding));
    return result ? result.value() : QByteArray();
}

} // namespace

TEST(TextFile, BinaryTestLooksAtTheFirst8192BytesOnly)
{
    EXPECT_FALSE(TextFile::isBinary({}));
    QByteArray data(10000, 'a');
    EXPECT_FALSE(TextFile::isBinary(data));
    data[8191] = 0;
    EXPECT_TRUE(TextFile::isBinary(data));
    data[8191] = 'a';
    data[8192] = 0;
    EXPECT_FALSE(TextFile::isBinary(data));
    EXPECT_TRUE(TextFile::isBinary(bytes({0})));
    EXPECT_TRUE(TextFile::isBinary(bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0})));
    // UTF-16 text is full of zero bytes, yet a UTF-16 byte order mark declares it text.
    EXPECT_FALSE(TextFile::isBinary(bytes({0xFF, 0xFE, 'a', 0, 'b', 0})));
    EXPECT_FALSE(TextFile::isBinary(bytes({0xFE, 0xFF, 0, 'a'})));
    // …but UTF-16 without a mark, or a mark that is not at the start, is refused.
    EXPECT_TRUE(TextFile::isBinary(bytes({'a', 0, 'b', 0})));
    EXPECT_TRUE(TextFile::isBinary(bytes({' ', 0xFF, 0xFE, 'a', 0})));
}

// Complete marks are covered by the decoding tests; a cut one must not be taken for a mark.
TEST(TextFile, APartialByteOrderMarkIsNoMark)
{
    const QByteArray twoBytes = bytes({0xEF, 0xBB});
    const auto scan = TextFile::byteOrderMark(twoBytes);
    EXPECT_FALSE(scan.found);
    EXPECT_EQ(scan.rest.size(), 2);
    EXPECT_FALSE(TextFile::byteOrderMark(Encoding::utf16())); // no byte order: no mark to write
}

TEST(TextFile, DecodingEdgeCases)
{
    DecodedText empty = decoded({});
    EXPECT_EQ(empty.text, u"");
    EXPECT_EQ(empty.encoding, Encoding::utf8());
    EXPECT_FALSE(empty.hasBOM);
    EXPECT_FALSE(empty.lineEnding);

    DecodedText onlyMark = decoded(bytes({0xEF, 0xBB, 0xBF}));
    EXPECT_EQ(onlyMark.text, u"");
    EXPECT_TRUE(onlyMark.hasBOM);
    EXPECT_EQ(onlyMark.encoding, Encoding::utf8());

    DecodedText utf16Mark = decoded(bytes({0xFE, 0xFF}));
    EXPECT_EQ(utf16Mark.encoding, Encoding::utf16BigEndian());
    EXPECT_TRUE(utf16Mark.hasBOM);

    // A second mark after the first is text (U+FEFF) and must survive.
    DecodedText twoMarks = decoded(bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'a'}));
    EXPECT_EQ(twoMarks.text, QString(QChar(0xFEFF)) + u'a');
    EXPECT_EQ(encoded(twoMarks.text, Encoding::utf8(), true, LineEnding::lf),
              bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'a'}));

    // A mark is a promise: bytes that break it are refused, though ISO Latin 1 would take anything.
    EXPECT_TRUE(undecodable(bytes({0xEF, 0xBB, 0xBF, 0xC3, 0x28})));
    EXPECT_TRUE(undecodable(bytes({0xFF, 0xFE, 'a', 0, 'b'})));        // odd length
    EXPECT_TRUE(undecodable(bytes({0xFF, 0xFE, 0x00, 0xD8, 'a', 0}))); // lone high surrogate
    EXPECT_TRUE(undecodable(bytes({0xFE, 0xFF, 0xDC, 0x00})));         // lone low surrogate
    EXPECT_TRUE(undecodable(bytes({0xFF, 0xFE, 0x3D, 0xD8})));         // pair cut at the end

    DecodedText pair = decoded(bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(pair.text, u"\U0001F600");

    // Valid UTF-8 wins over the preference.
    DecodedText utf8 = decoded("caf\xC3\xA9", Encoding::windowsCP1252());
    EXPECT_EQ(utf8.encoding, Encoding::utf8());
    EXPECT_EQ(utf8.text, u"café");

    // Invalid UTF-8 falls to the preference.
    DecodedText roman = decoded("caf\x8E", Encoding::macOSRoman());
    EXPECT_EQ(roman.encoding, Encoding::macOSRoman());
    EXPECT_EQ(roman.text, u"café");
}

TEST(TextFile, MalformedUtf8IsNeverTakenForUtf8)
{
    const QByteArray malformed[] = {
        "\xC0\x80",         // overlong NUL
        "\xE0\x80\xAF",     // overlong slash
        "\xED\xA0\x80",     // encoded surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xF5\x80\x80\x80", // invalid lead byte
        "abc\xE2\x82",      // truncated at the end
        "\xE2\x82 abc",     // truncated in the middle
        "\x80",             // lone continuation byte
    };
    for (const QByteArray &data : malformed) {
        const DecodedText result = decoded(data);
        EXPECT_NE(result.encoding, Encoding::utf8()) << data.toHex().constData();
        // Whatever was chosen, saving gives the very same bytes back.
        EXPECT_EQ(encoded(result.text, result.encoding, result.hasBOM, LineEnding::lf), data);
    }
    // ASCII takes nothing from 0x80 up.
    EXPECT_FALSE(StrictCodec::decode("caf\xE9", Encoding::ascii()));
    EXPECT_EQ(decoded("caf\xE9", Encoding::ascii()).text, u"café");
}

TEST(TextFile, LineEndingsAreDetectedAndNormalisedOnlyWhenNotLF)
{
    DecodedText crlf = decoded("a\r\nb\nc\r\n");
    EXPECT_EQ(crlf.lineEnding, LineEnding::crlf);
    EXPECT_EQ(crlf.text, u"a\nb\nc\n");
    EXPECT_EQ(encoded(crlf.text, crlf.encoding, false, LineEnding::crlf), "a\r\nb\r\nc\r\n");

    DecodedText tie = decoded("a\nb\r\n");
    EXPECT_EQ(tie.lineEnding, LineEnding::crlf);
    EXPECT_EQ(tie.text, u"a\nb\n");

    // Where LF dominates, the stray CR stays a character and is written back as it was.
    DecodedText lf = decoded("a\nb\nc\r\n");
    EXPECT_EQ(lf.lineEnding, LineEnding::lf);
    EXPECT_EQ(lf.text, u"a\nb\nc\r\n");
    EXPECT_EQ(encoded(lf.text, lf.encoding, false, LineEnding::lf), "a\nb\nc\r\n");

    DecodedText cr = decoded("a\rb\r");
    EXPECT_EQ(cr.lineEnding, LineEnding::cr);
    EXPECT_EQ(cr.text, u"a\nb\n");
    EXPECT_EQ(encoded(cr.text, cr.encoding, false, LineEnding::cr), "a\rb\r");

    // UTF-16 line breaks are units, not bytes.
    DecodedText wide = decoded(bytes({0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0, 'b', 0}));
    EXPECT_EQ(wide.lineEnding, LineEnding::crlf);
    EXPECT_EQ(wide.text, u"a\nb");
}

TEST(TextFile, EncodingWritesMarksOnlyForUnicodeAndRefusesWhatTheEncodingCannotHold)
{
    EXPECT_EQ(encoded("A", Encoding::utf16LittleEndian(), true, LineEnding::lf),
              bytes({0xFF, 0xFE, 0x41, 0}));
    EXPECT_EQ(encoded("A", Encoding::utf16BigEndian(), true, LineEnding::lf),
              bytes({0xFE, 0xFF, 0, 0x41}));
    EXPECT_EQ(encoded("A", Encoding::utf16LittleEndian(), false, LineEnding::lf), bytes({0x41, 0}));
    EXPECT_EQ(encoded("A", Encoding::isoLatin1(), true, LineEnding::lf), "A");
    EXPECT_EQ(encoded("A", Encoding::utf8(), true, LineEnding::lf), "\xEF\xBB\xBF"
                                                                    "A");
    EXPECT_EQ(encoded("", Encoding::utf8(), true, LineEnding::crlf), "\xEF\xBB\xBF");

    const auto refused = [](const QString &text, const Encoding &encoding) {
        auto result = TextFile::encode(text, encoding, false, LineEnding::lf);
        return !result && result.error().kind() == TextFileError::unencodable
               && result.error().encoding() == encoding;
    };
    EXPECT_TRUE(refused(QStringLiteral("é"), Encoding::ascii()));
    EXPECT_TRUE(refused(QStringLiteral("€"), Encoding::isoLatin1()));
    EXPECT_TRUE(refused(QStringLiteral("漢"), Encoding::macOSRoman()));
    EXPECT_TRUE(refused(QStringLiteral("漢"), Encoding::windowsCP1252()));
    // A lone surrogate has no encoded form anywhere; it must not become "?" or U+FFFD.
    const QString lone = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    EXPECT_TRUE(refused(lone, Encoding::utf8()));
    EXPECT_TRUE(refused(lone, Encoding::utf16LittleEndian()));
    EXPECT_TRUE(refused(lone, Encoding::utf16BigEndian()));
    EXPECT_TRUE(refused(QString(QChar(0xDC00)), Encoding::windowsCP1252()));
}

TEST(TextFile, EveryOfferedEncodingRoundTripsWithEachMarkAndLineEnding)
{
    const auto sample = [](const Encoding &encoding) -> QString {
        switch (encoding.rawValue()) {
        case Encoding::asciiRaw:
            return QStringLiteral("int main() {\n\treturn 0; // done\n}\n");
        case Encoding::isoLatin1Raw:
            return QStringLiteral("Ça coûte 10 ¤, naïf ½\nfin\n");
        case Encoding::windowsCP1252Raw:
            return QStringLiteral("L’œuvre coûte 10 € — “bien”\nfin\n");
        case Encoding::macOSRomanRaw:
            return QStringLiteral("Café ™ ∑ π ﬁ\nfin\n");
        default:
            return QStringLiteral("Ünïcödé 漢字 😀 \u00A0\u2028x\nfin\n");
        }
    };
    ASSERT_EQ(TextFile::encodings().size(), 7u);
    for (const Encoding &encoding : TextFile::encodings()) {
        for (bool bom : {false, true}) {
            for (LineEnding ending : LineEnding::allCases()) {
                const QString text = sample(encoding);
                const QByteArray file = encoded(text, encoding, bom, ending);
                const DecodedText read = decoded(file, encoding);
                SCOPED_TRACE(qPrintable(TextFile::name(encoding) + (bom ? " BOM " : " ")
                                        + ending.rawValue()));
                EXPECT_EQ(read.text, text);
                EXPECT_EQ(read.lineEnding, ending);
                // ASCII files are valid UTF-8 and read as such; the others come back as written.
                EXPECT_EQ(read.encoding,
                          encoding == Encoding::ascii() ? Encoding::utf8() : encoding);
                EXPECT_EQ(read.hasBOM, bom && TextFile::byteOrderMark(encoding).has_value());
                const QByteArray saved = encoded(read.text, read.encoding, read.hasBOM,
                                                 read.lineEnding.value_or(LineEnding::lf));
                EXPECT_EQ(saved, file);
            }
        }
    }
}

TEST(TextFile, LegacyEncodingsAreDetectedFromTheirBytes)
{
    const QString russian = QStringLiteral(
        "В начале было слово, и слово было у Бога, и слово было Бог. Оно было в начале у Бога. "
        "Всё через него начало быть, и без него ничто не начало быть, что начало быть. "
        "В нём была жизнь, и жизнь была свет человеков.\n");
    const auto cp1251 = Encoding::fromCharsetName("windows-1251");
    ASSERT_TRUE(cp1251);
    const QByteArray file = *StrictCodec::encode(russian, *cp1251);
    const DecodedText read = decoded(file);
    EXPECT_EQ(read.encoding, *cp1251);
    EXPECT_EQ(read.text, russian);
    EXPECT_EQ(TextFile::name(read.encoding), u"windows-1251");

    // Whatever bytes come in, with a single kind of line break, saving reproduces them.
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        QByteArray noise(int(random() % 200), Qt::Uninitialized);
        for (char &c : noise) {
            c = char(random() % 256);
            if (c == '\r' || c == 0)
                c = 'x';
        }
        const DecodedText result = decoded(noise);
        EXPECT_EQ(encoded(result.text, result.encoding, result.hasBOM,
                          result.lineEnding.value_or(LineEnding::lf)),
                  noise)
            << "detected " << qPrintable(TextFile::name(result.encoding));
    }
}

TEST(TextFile, CharsetNamesMapToStableNumbers)
{
    EXPECT_EQ(Encoding::fromCharsetName("UHC")->rawValue(), 0x80000422u);
    EXPECT_EQ(Encoding::fromCharsetName("uhc"), Encoding::fromCharsetName("CP949"));
    EXPECT_EQ(Encoding::fromCharsetName("WINDOWS-1252"), Encoding::windowsCP1252());
    EXPECT_EQ(Encoding::fromCharsetName("SHIFT_JIS")->rawValue(), 8u);
    EXPECT_FALSE(Encoding::fromCharsetName("no-such-charset"));
    EXPECT_FALSE(Encoding::fromCharsetName(""));
    // An unknown number converts nothing instead of guessing.
    EXPECT_FALSE(Encoding(777).isKnown());
    EXPECT_FALSE(StrictCodec::decode("abc", Encoding(777)));
    EXPECT_FALSE(TextFile::encode(u"abc", Encoding(777), false, LineEnding::lf));
}

TEST(TextFile, Utf32FilesWithTheirMarksAreReadAndWrittenAsUtf32)
{
    const Encoding littleEndian(0x9C000100);
    const Encoding bigEndian(0x98000100);
    // Readable when found, but not offered to choose from.
    for (const Encoding &offered : TextFile::encodings()) {
        EXPECT_NE(offered, littleEndian);
        EXPECT_NE(offered, bigEndian);
    }

    const QString text = QStringLiteral("Été 漢字 😀\r\nfin\r\n");
    for (const Encoding &encoding : {littleEndian, bigEndian}) {
        SCOPED_TRACE(qPrintable(TextFile::name(encoding)));
        const QByteArray file = encoded(text, encoding, true, LineEnding::lf);
        ASSERT_EQ(file.size(), 4 * (text.size() - 1 + 1)); // one pair, one mark
        EXPECT_EQ(file.left(4), *TextFile::byteOrderMark(encoding));
        EXPECT_FALSE(TextFile::isBinary(file));
        const DecodedText read = decoded(file);
        EXPECT_EQ(read.encoding, encoding);
        EXPECT_TRUE(read.hasBOM);
        EXPECT_EQ(read.lineEnding, LineEnding::crlf);
        EXPECT_EQ(read.text, QStringLiteral("Été 漢字 😀\nfin\n"));
        EXPECT_EQ(encoded(read.text, read.encoding, read.hasBOM, *read.lineEnding), file);
        // Strictly: a cut code unit, a surrogate or a value past U+10FFFF is not UTF-32.
        if (encoding == bigEndian) {
            EXPECT_TRUE(undecodable(file + bytes({0, 0, 0})));
            EXPECT_TRUE(undecodable(file + bytes({0, 0, 0xD8, 0})));
            EXPECT_TRUE(undecodable(file + bytes({0, 0x11, 0, 0})));
        }
    }

    // FF FE 00 00 is also where UTF-16 LE text starting with U+0000 begins: what does not read as
    // UTF-32 LE falls back to UTF-16 LE.
    const DecodedText odd = decoded(bytes({0xFF, 0xFE, 0, 0, 'A', 0}));
    EXPECT_EQ(odd.encoding, Encoding::utf16LittleEndian());
    EXPECT_EQ(odd.text, QString(QChar(0)) + u'A');
    const DecodedText pastUnicode = decoded(bytes({0xFF, 0xFE, 0, 0, 'A', 0, 0x11, 0}));
    EXPECT_EQ(pastUnicode.encoding, Encoding::utf16LittleEndian());
    EXPECT_EQ(pastUnicode.text.size(), 3);
    EXPECT_EQ(TextFile::byteOrderMark(bytes({0xFF, 0xFE, 0, 0})).encoding, littleEndian);
}

TEST(TextFile, DetectorNeverTakesUtf16OrUtf32ForDataWithoutTheirZeroBytes)
{
    // Windows 1252 text, French words among stray symbols, that ICU's detector takes for UTF-16
    // when uchardet has no answer that holds: without a single zero byte, it would open as CJK.
    const QString words[] = {
        QStringLiteral("été"),   QStringLiteral("château"), QStringLiteral("où"),
        QStringLiteral("déjà"),  QStringLiteral("garçon"),  QStringLiteral("fenêtre"),
        QStringLiteral("Noël"),  QStringLiteral("à"),       QStringLiteral("c’est"),
        QStringLiteral("naïve"), QStringLiteral("coût"),    QStringLiteral("ça"),
        QStringLiteral("père"),  QStringLiteral("Crème"),   QStringLiteral("le"),
        QStringLiteral("de"),    QStringLiteral("un"),      QStringLiteral("« bien »")};
    const auto holds = [](const QByteArray &name, const QByteArray &file) {
        const auto encoding = Encoding::fromCharsetName(name);
        return encoding && StrictCodec::decode(file, *encoding);
    };
    std::mt19937 random(0);
    QByteArray found;
    for (int attempt = 0; attempt < 20000 && found.isEmpty(); ++attempt) {
        QByteArray file;
        const int count = 1 + int(random() % 60);
        for (int w = 0; w < count; ++w) {
            if (random() % 2 == 0) {
                for (int k = 1 + int(random() % 4); k > 0; --k) {
                    char c = char(0x20 + random() % 0xE0);
                    if (!StrictCodec::decode(QByteArrayView(&c, 1), Encoding::windowsCP1252())
                        || c == 0x7F)
                        c = 'x';
                    file += c;
                }
            } else {
                file += *StrictCodec::encode(words[random() % std::size(words)],
                                             Encoding::windowsCP1252());
            }
            file += random() % 9 == 0 ? '\n' : ' ';
        }
        if (file.size() % 2 != 0)
            file += '.';
        const QByteArray icu = EncodingDetector::icuProposal(file);
        if (icu.startsWith("UTF-16") && holds(icu, file)
            && !holds(EncodingDetector::uchardetProposal(file), file)
            && !StrictCodec::decode(file, Encoding::utf8()))
            found = file;
    }
    ASSERT_FALSE(found.isEmpty()) << "no text that ICU's detector calls UTF-16";
    ASSERT_EQ(found.count('\0'), 0);

    const DecodedText read = decoded(found);
    EXPECT_EQ(read.encoding, Encoding::windowsCP1252())
        << qPrintable(TextFile::name(read.encoding)) << " for " << found.toHex().constData();
    EXPECT_EQ(
        encoded(read.text, read.encoding, read.hasBOM, read.lineEnding.value_or(LineEnding::lf)),
        found);

    // Real UTF-16 without a mark still passes: Latin text has a zero byte in every character.
    const QString latin =
        QStringLiteral("Plain English words with a line break\nand more of them.\n");
    QByteArray utf16 = *StrictCodec::encode(latin, Encoding::utf16LittleEndian());
    EXPECT_TRUE(EncodingDetector::detect(utf16).has_value());
}
