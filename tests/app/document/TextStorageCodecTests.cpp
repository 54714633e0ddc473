#include "document/TextStorageCodec.h"

#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// What a QTextDocument gives back after holding text, the way the document stores it.
QString throughStorage(const QString &text)
{
    const auto codec = TextStorageCodec::forText(text);
    EXPECT_TRUE(codec);
    QTextDocument storage;
    storage.setDocumentLayout(new QPlainTextDocumentLayout(&storage));
    QTextCursor(&storage).insertText(codec->toStorage(text));
    return codec->fromStorage(storage.toRawText());
}

} // namespace

TEST(TextStorageCodec, EveryCharacterQtWouldAlterComesBackExactly)
{
    const QString tricky =
        QStringLiteral("lf\ncrlf\r\nlone\rcr\u2028ls\u2029ps\u00A0nbsp\uFDD0\uFDD1x\n");
    EXPECT_EQ(throughStorage(tricky), tricky);
    EXPECT_EQ(throughStorage(QString()), QString());
    EXPECT_EQ(throughStorage(QStringLiteral("\r\r\n\r")), QStringLiteral("\r\r\n\r"));

    // Every BMP character but surrogates and a few private-use ones (left free for substitutes),
    // each followed by an LF.
    QString all;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if ((c >= 0xD800 && c < 0xE000) || (c >= 0xF000 && c < 0xF004))
            continue;
        all.append(QChar(char16_t(c)));
        all.append(u'\n');
    }
    all.append(QStringLiteral("\U0001F600"));
    EXPECT_EQ(throughStorage(all), all);
    // With no character left to stand in, the codec says so rather than corrupt the text.
    for (char16_t c = 0xF000; c < 0xF004; ++c)
        all.append(QChar(c));
    EXPECT_FALSE(TextStorageCodec::forText(all));
}

TEST(TextStorageCodec, SubstitutesNeverCollideWithTheText)
{
    // A text that already uses the first candidates gets other substitutes.
    QString text = QStringLiteral("a\rb");
    for (char16_t c = 0xFDD2; c <= 0xFDEF; ++c)
        text.append(QChar(c));
    const auto codec = TextStorageCodec::forText(text);
    ASSERT_TRUE(codec);
    for (char16_t substitute : codec->substitutes()) {
        EXPECT_FALSE(text.contains(QChar(substitute)));
        EXPECT_TRUE(codec->isSubstitute(substitute));
    }
    EXPECT_TRUE(codec->canEncode(text));
    EXPECT_FALSE(codec->canEncode(QString(QChar(codec->substitutes()[0]))));
    EXPECT_EQ(codec->realCharacter(codec->substitutes()[0]), u'\r');
    EXPECT_EQ(codec->realCharacter(0x2029), u'\n');
    EXPECT_EQ(codec->realCharacter(u'x'), u'x');
}
