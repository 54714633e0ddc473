// The fast paths (16 bytes or 8 units at a time) against simple, independent references, on random
// inputs long enough to cross every block boundary.
#include "text/LineEnding.h"
#include "text/Utf8Codec.h"

#include <random>

#include <gtest/gtest.h>

#include <unicode/ucnv.h>

using namespace plumeo;

namespace {

std::optional<QString> icuStrictUtf8(const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("UTF-8", &status);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    QString text(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length =
        ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                      bytes.constData(), int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

// The CR-pending state machine, one unit at a time.
std::optional<LineEnding> referenceDetect(const QString &text)
{
    int lf = 0, crlf = 0, cr = 0;
    bool pending = false;
    for (QChar c : text) {
        if (c == u'\r') {
            cr += pending;
            pending = true;
        } else if (c == u'\n') {
            (pending ? crlf : lf) += 1;
            pending = false;
        } else {
            cr += pending;
            pending = false;
        }
    }
    cr += pending;
    if (lf + crlf + cr == 0)
        return std::nullopt;
    if (crlf >= lf && crlf >= cr)
        return LineEnding::crlf;
    return lf < cr ? LineEnding::cr : LineEnding::lf;
}

QString randomText(std::mt19937 &random, int length)
{
    static const char32_t pool[] = {
        U'a',  U'b',          U' ',          U'\n',     U'\r',     U'\t',     U'é',      U'€',
        U'漢', U'\U0001F600', U'\U0010FFFF', U'\uFEFF', U'\u0080', U'\u07FF', U'\u0800', U'\uFFFD'};
    QString text;
    for (int i = 0; i < length; ++i) {
        // Long ASCII stretches exercise the block loops, the pool everything else.
        if (random() % 3 == 0) {
            const char32_t c = pool[random() % std::size(pool)];
            text.append(QString::fromUcs4(&c, 1));
        } else {
            text.append(QChar(u'a' + char16_t(random() % 26)));
        }
    }
    return text;
}

} // namespace

TEST(CodecProperties, Utf8RoundTripsAndAgreesWithQt)
{
    std::mt19937 random(99);
    for (int round = 0; round < 500; ++round) {
        const QString text = randomText(random, int(random() % 120));
        const auto bytes = Utf8Codec::encode(text);
        ASSERT_TRUE(bytes);
        ASSERT_EQ(*bytes, text.toUtf8());
        ASSERT_EQ(Utf8Codec::decode(*bytes), text);

        QString crlfText = text;
        crlfText.replace(u'\n', QStringLiteral("\r\n"));
        ASSERT_EQ(Utf8Codec::encode(text, LineEnding::crlf), crlfText.toUtf8());
        QString crText = text;
        crText.replace(u'\n', u'\r');
        ASSERT_EQ(Utf8Codec::encode(text, LineEnding::cr), crText.toUtf8());
    }
}

TEST(CodecProperties, Utf8AcceptsExactlyWhatIcuAccepts)
{
    std::mt19937 random(5);
    const unsigned char interesting[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F,
                                         0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0,
                                         0xED, 0xEE, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        // A run of ASCII first so that the odd bytes fall at every offset of a 16-byte block.
        bytes.append(QByteArray(int(random() % 40), 'x'));
        const int odd = 1 + int(random() % 5);
        for (int i = 0; i < odd; ++i)
            bytes.append(char(interesting[random() % std::size(interesting)]));
        bytes.append(QByteArray(int(random() % 20), 'y'));
        const auto ours = Utf8Codec::decode(bytes);
        const auto icu = icuStrictUtf8(bytes);
        ASSERT_EQ(ours.has_value(), icu.has_value()) << bytes.toHex().constData();
        if (ours) {
            ASSERT_EQ(*ours, *icu);
        }
    }
}

TEST(CodecProperties, LineEndingDetectionAndNormalisationMatchTheStateMachine)
{
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(random() % 100);
        for (int i = 0; i < length; ++i) {
            const unsigned pick = random() % 10;
            text.append(pick == 0   ? QChar(u'\r')
                        : pick == 1 ? QChar(u'\n')
                                    : QChar(u'a' + char16_t(pick)));
        }
        ASSERT_EQ(LineEnding::detect(text), referenceDetect(text))
            << qPrintable(text.toUtf8().toHex());
        QString expected = text;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        expected.replace(u'\r', u'\n');
        ASSERT_EQ(LineEnding::normalize(text), expected);
    }
}
