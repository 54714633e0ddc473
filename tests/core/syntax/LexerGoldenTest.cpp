#include "LexerTestSupport.h"
#include "syntax/GenericLexer.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"
#include "syntax/Tokenizer.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// tests/data/lexers/<Language name>/<input> holds inputs; <input>.tokens their expected dump.
// scripts/regen-lexer-goldens rewrites the dumps (PLUMEO_REGEN_GOLDENS=1) for review in git diff.
const QString goldenRoot = QStringLiteral(PLUMEO_TEST_DATA "/lexers");

QString escaped(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size()
                          && QChar::isLowSurrogate(text[i + 1].unicode());
        if (pair) {
            out += text.mid(i, 2);
            ++i;
        } else if (u == u'\\' || u == u'"') {
            out += u'\\' + QChar(u);
        } else if (u == u'\t') {
            out += QStringLiteral("\\t");
        } else if (u == u'\r') {
            out += QStringLiteral("\\r");
        } else if (u < 0x20 || QChar::isSurrogate(u) || u == 0x7F) {
            out += QStringLiteral("\\u{%1}").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += QChar(u);
        }
    }
    return out;
}

// Each source line as a "#" comment, then its tokens, one a line: kind, range, text.
QString dump(const QString &text, const std::vector<Token> &tokens)
{
    QString out;
    std::size_t next = 0;
    qsizetype start = 0;
    for (int number = 1;; ++number) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        if (feed >= 0 || start < end)
            out += QStringLiteral("# %1: %2\n")
                       .arg(number)
                       .arg(escaped(QStringView(text).sliced(start, end - start)));
        while (next < tokens.size() && tokens[next].range.lower <= end
               && (tokens[next].range.lower < end || tokens[next].range.isEmpty())) {
            const Token &token = tokens[next++];
            out += QStringLiteral("%1 %2..%3 \"%4\"\n")
                       .arg(QString::fromLatin1(tokenKindName(token.kind)))
                       .arg(token.range.lower)
                       .arg(token.range.upper)
                       .arg(escaped(
                           QStringView(text).sliced(token.range.lower, token.range.length())));
        }
        if (feed < 0)
            break;
        start = feed + 1;
    }
    return out;
}

QString read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(LexerGoldens, everyInputLexesToItsExpectedDump)
{
    const bool regenerate = qEnvironmentVariableIsSet("PLUMEO_REGEN_GOLDENS");
    const QDir root(goldenRoot);
    ASSERT_TRUE(root.exists()) << goldenRoot.toStdString();
    int inputs = 0;
    for (const QString &name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const Lexer *lexer = Lexers::lexer(name);
        ASSERT_NE(lexer, nullptr) << "no lexer registered for folder " << name.toStdString();
        const QDir folder(root.filePath(name));
        for (const QString &input : folder.entryList(QDir::Files)) {
            if (input.endsWith(u".tokens"))
                continue;
            SCOPED_TRACE((name + u'/' + input).toStdString());
            const QString text = read(folder.filePath(input));
            const QString actual = dump(text, Tokenizer::tokenize(text, *lexer));
            const QString expectedPath = folder.filePath(input + QStringLiteral(".tokens"));
            if (regenerate) {
                QFile file(expectedPath);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write(actual.toUtf8());
            } else {
                ASSERT_TRUE(QFile::exists(expectedPath))
                    << "missing " << expectedPath.toStdString();
                EXPECT_EQ(actual, read(expectedPath));
            }
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0);
}

// Every language coloured by the rule-driven lexer has a golden folder.
TEST(LexerGoldens, everyRuleDrivenLanguageHasInputs)
{
    for (const Lexers::Registration &entry : Lexers::table()) {
        if (!dynamic_cast<const GenericLexer *>(entry.lexer.get()))
            continue;
        const QDir folder(goldenRoot + u'/' + entry.name);
        EXPECT_FALSE(folder.entryList({QStringLiteral("*.tokens")}, QDir::Files).isEmpty())
            << entry.name.toStdString();
    }
}
