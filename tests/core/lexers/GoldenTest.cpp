#include "LexerTestSupport.h"
#include "syntax/Lexers.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

// tests/data/lexers/<Language>/<input> holds hand-written inputs; <input>.tokens beside each is the
// reviewed dump of its tokens, in the format of the rule-driven languages' goldens. Running the
// tests with PLUMEO_REGEN_GOLDENS=1 rewrites the dumps instead of comparing, for review with git
// diff.
QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

TEST(LexerGoldens, EveryInputLexesAsReviewed)
{
    const bool regenerate = qEnvironmentVariableIntValue("PLUMEO_REGEN_GOLDENS") == 1;
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
            SCOPED_TRACE((language + u'/' + input).toStdString());
            const QString text = readAll(dir.filePath(input));
            EXPECT_EQ(checkInvariants(*lexer, text), "");
            const QString actual = dump(*lexer, text);
            const QString expectedPath = dir.filePath(input + QStringLiteral(".tokens"));
            if (regenerate) {
                QFile out(expectedPath);
                ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
                out.write(actual.toUtf8());
            } else {
                ASSERT_TRUE(QFile::exists(expectedPath))
                    << "no expected dump; run with PLUMEO_REGEN_GOLDENS=1 and review it";
                EXPECT_EQ(actual.toStdString(), readAll(expectedPath).toStdString());
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
}

} // namespace
} // namespace plumeo::test
