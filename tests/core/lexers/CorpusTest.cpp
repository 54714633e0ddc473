#include "LexerForLanguage.h"
#include "LexerTestSupport.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

// Real files written by other programs: every one of our languages among them lexes to its end with
// every invariant holding. Skipped where the corpora are not installed. PLUMEO_CORPORA in the
// environment points a build outside the usual layout (a worktree) at them.
QString corpusRoot()
{
    const QString overridden = qEnvironmentVariable("PLUMEO_CORPORA");
    return (overridden.isEmpty() ? QStringLiteral(PLUMEO_CORPORA) : overridden)
           + QStringLiteral("/source");
}

TEST(LexerCorpus, RealFilesKeepTheInvariants)
{
    const QString corpus = corpusRoot();
    if (!QFile::exists(corpus))
        GTEST_SKIP() << "no corpora";
    int files = 0;
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const Lexer *lexer = lexerForFile(path);
        if (!lexer)
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_EQ(checkInvariants(*lexer, text), "") << path.toStdString();
        ++files;
    }
    EXPECT_GT(files, 30);
}

} // namespace
} // namespace plumeo::test
