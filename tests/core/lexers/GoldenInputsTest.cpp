#include "LexerTestSupport.h"
#include "syntax/Lexers.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

// The golden inputs of the hand-written lexers (tests/data/lexers/<Language>/, compared with their
// dumps by LexerGoldens in the syntax tests) also keep every invariant the highlighter relies on:
// each line lexed as an array of its own, from the stored state, gives the same tokens and states.
TEST(LexerGoldenInputs, KeepTheInvariants)
{
    const QDir root(QStringLiteral(PLUMEO_TEST_DATA "/lexers"));
    int checked = 0;
    for (const QString &language : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!isDedicatedLanguage(language))
            continue; // a rule-driven language, checked with the rule sets
        const Lexer *lexer = Lexers::lexer(language);
        ASSERT_NE(lexer, nullptr) << language.toStdString();
        const QDir dir(root.filePath(language));
        for (const QString &input : dir.entryList(QDir::Files)) {
            if (input.endsWith(u".tokens"))
                continue;
            QFile file(dir.filePath(input));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(checkInvariants(*lexer, QString::fromUtf8(file.readAll())), "")
                << (language + u'/' + input).toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
}

} // namespace
} // namespace plumeo::test
