#include "LexerTestSupport.h"
#include "support/LexerContract.h"
#include "syntax/GenericLexer.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"

#include <random>
#include <set>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// Pieces that open, close and escape the constructs of every lexer, so that random lines hit the
// paths where lexers keep state or look ahead.
const char16_t *const pieces[] = {
    u"\"",      u"'",      u"`",      u"\"\"\"",    u"'''",  u"//",    u"/*",         u"*/",
    u"#",       u"--",     u"--[[",   u"]]",        u"[[",   u"<!--",  u"-->",        u"\\",
    u"$",       u"${",     u"$(",     u"@",         u"@\"",  u"R\"(",  u")\"",        u"#\"",
    u"\"#",     u"0x1F",   u"1e5",    u"7",         u".5",   u"_",     u".",          u":",
    u" ",       u"\t",     u"\r",     u"x",         u"if",   u"Foo",   u"select",     u"(",
    u")",       u"{",      u"}",      u"[",         u"]",    u"<",     u">",          u"</script>",
    u"<style>", u"<?php",  u"?>",     u"<a href='", u"=",    u"|",     u"*",          u"**",
    u"~~",      u"```",    u"~~~",    u"- ",        u"[x] ", u"&amp;", u"!important", u"+++",
    u"@@",      u"---",    u"key: ",  u"[section]", u";",    u",",     u"\U0001F600", u"\xD83D",
    u"\xDE00",  u"\u00E9", u"\u212A", u"\0",
};

QString randomLine(std::mt19937 &random)
{
    std::uniform_int_distribution<int> count(0, 24);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    QString line;
    const int n = count(random);
    for (int i = 0; i < n; ++i) {
        const std::u16string_view text = pieces[piece(random)];
        line += QStringView(text.data(), qsizetype(text.empty() ? 1 : text.size()));
    }
    return line;
}

// A seed that depends on the lexer's name only, the same on every run and platform.
std::uint32_t seedOf(const QString &name)
{
    std::uint32_t h = 2166136261u;
    for (QChar c : name)
        h = (h ^ c.unicode()) * 16777619u;
    return h;
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// Every registered lexer keeps the contract on random texts lexed from random states it reached
// itself, and from the initial state (where the whole-text front end must agree).
TEST(LexerProperties, randomTextsFromReachableStates)
{
    for (const Lexers::Registration &entry : Lexers::table()) {
        std::mt19937 random(seedOf(entry.name));
        std::vector<LexState> reachable{LexState()};
        std::set<quint64> seen{0};
        for (int round = 0; round < 800; ++round) {
            QString text = randomLine(random);
            for (int lines = int(random() % 4); lines > 0; --lines)
                text += u'\n' + randomLine(random);
            const LexState before = round % 4 == 0
                                        ? LexState()
                                        : reachable[std::uniform_int_distribution<std::size_t>(
                                            0, reachable.size() - 1)(random)];
            ASSERT_EQ(test::contractViolation(*entry.lexer, text, before), "")
                << entry.name.toStdString() << " from " << ::testing::PrintToString(before)
                << ", text " << ::testing::PrintToString(text);
            for (const LexState &state : test::lexByLines(*entry.lexer, text, before).endStates) {
                if (seen.insert(state.packed()).second)
                    reachable.push_back(state);
            }
        }
    }
}

// The contract over real files of other projects, and over the CommonMark examples, which no file
// extension sends to the Markdown lexer. Skipped where the corpora are not installed.
TEST(LexerProperties, realFilesKeepTheContract)
{
    const QString root = test::corpusRoot() + QStringLiteral("/source");
    if (!QDir(root).exists())
        GTEST_SKIP() << "no corpus at " << root.toStdString();
    int files = 0;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const Lexer *lexer = Lexers::lexer(Language::forFile(path));
        if (!lexer || QFileInfo(path).size() > 400'000)
            continue;
        ASSERT_EQ(test::contractViolation(*lexer, readAll(path)), "") << path.toStdString();
        ++files;
    }
    EXPECT_GT(files, 20);

    const QString commonmark = root + QStringLiteral("/markdown/commonmark");
    const Lexer &markdown = *Lexers::lexer(u"Markdown");
    const QJsonArray examples =
        QJsonDocument::fromJson(readAll(commonmark + QStringLiteral("/examples.json")).toUtf8())
            .array();
    ASSERT_GT(examples.size(), 600);
    for (const QJsonValue &example : examples) {
        const QString text = example.toObject().value(QStringLiteral("markdown")).toString();
        ASSERT_EQ(test::contractViolation(markdown, text), "") << text.toStdString();
    }
    // The whole CommonMark text, examples and all, as one document.
    EXPECT_EQ(test::contractViolation(markdown, readAll(commonmark + QStringLiteral("/spec.txt"))),
              "");
}

// A line of escaped apostrophes: the shortcut that spares rescanning after a rejected character
// literal gives what scanning every opener afresh gives.
TEST(LexerProperties, rejectedCharacterLiteralsMatchAFreshScanOfEveryOpener)
{
    const GenericLexer &c = dynamic_cast<const GenericLexer &>(*Lexers::lexer(u"C"));
    // A direct reading of the rules restricted to apostrophes, backslashes and the letter a.
    auto reference = [](const QString &line) {
        QStringList out;
        qsizetype p = 0;
        const qsizetype end = line.size();
        while (p < end) {
            if (line[p] == u'\'') {
                qsizetype q = p + 1;
                bool closed = false;
                while (q < end) {
                    if (line[q] == u'\\') {
                        q += 2;
                    } else if (line[q] == u'\'') {
                        closed = true;
                        ++q;
                        break;
                    } else {
                        ++q;
                    }
                }
                if (closed || end - p <= 8) {
                    const qsizetype e = closed ? q : end;
                    out << QStringLiteral("string:") + line.mid(p, e - p);
                    p = e;
                    continue;
                }
                ++p;
            } else if (line[p] == u'a') {
                qsizetype e = p;
                while (e < end && line[e] == u'a')
                    ++e;
                out << QStringLiteral("plain:") + line.mid(p, e - p);
                p = e;
            } else {
                ++p;
            }
        }
        return out.join(u' ');
    };
    std::mt19937 random(7);
    const QChar alphabet[] = {u'\'', u'\\', u'a'};
    for (int round = 0; round < 20000; ++round) {
        QString line;
        const int length = int(random() % 24);
        for (int i = 0; i < length; ++i)
            line += alphabet[random() % 3];
        ASSERT_EQ(test::lexed(c, line), reference(line)) << line.toStdString();
    }
}
