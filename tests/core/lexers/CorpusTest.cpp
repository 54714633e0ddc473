#include "LexerTestSupport.h"
#include "syntax/Lexers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

// The CommonMark examples and specification, which no file extension sends to the Markdown lexer
// (real files of every language are run by LexerProperties in the syntax tests), keep every
// invariant. Skipped where the corpora are not installed; PLUMEO_CORPORA in the environment points
// a build outside the usual layout (a worktree) at them.
QString corpusRoot()
{
    const QString overridden = qEnvironmentVariable("PLUMEO_CORPORA");
    return (overridden.isEmpty() ? QStringLiteral(PLUMEO_CORPORA) : overridden)
           + QStringLiteral("/source");
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(LexerCorpus, CommonMarkExamplesAndSpecification)
{
    const QString commonmark = corpusRoot() + QStringLiteral("/markdown/commonmark");
    if (!QFile::exists(commonmark))
        GTEST_SKIP() << "no corpora";
    const Lexer &markdown = *Lexers::lexer(QStringView(u"Markdown"));
    const QJsonArray examples =
        QJsonDocument::fromJson(readAll(commonmark + QStringLiteral("/examples.json")).toUtf8())
            .array();
    ASSERT_GT(examples.size(), 600);
    for (const QJsonValue &example : examples) {
        const QString text = example.toObject().value(QStringLiteral("markdown")).toString();
        EXPECT_EQ(checkInvariants(markdown, text), "") << text.toStdString();
    }
    // The whole specification, examples and all, as one document.
    EXPECT_EQ(checkInvariants(markdown, readAll(commonmark + QStringLiteral("/spec.txt"))), "");
}

} // namespace
} // namespace plumeo::test
