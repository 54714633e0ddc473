#include "LexerTestSupport.h"
#include "syntax/GenericLexer.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"
#include "syntax/Syntaxes.h"
#include "syntax/Tokenizer.h"

#include <random>
#include <set>

#include <QDir>
#include <QDirIterator>
#include <QFile>

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

// The tokens of one line lie inside it, in increasing order, without overlapping.
void expectWellFormed(const std::vector<Token> &tokens,
                      std::size_t first,
                      LineSlice line,
                      const QString &context)
{
    qint64 previousEnd = line.lower;
    for (std::size_t i = first; i < tokens.size(); ++i) {
        const TokenRange range = tokens[i].range;
        ASSERT_LE(previousEnd, range.lower) << context.toStdString();
        ASSERT_LE(range.lower, range.upper) << context.toStdString();
        ASSERT_LE(range.upper, line.upper) << context.toStdString();
        previousEnd = range.upper;
    }
}

// A seed that depends on the lexer's name only, the same on every run and platform.
std::uint32_t seedOf(const QString &name)
{
    std::uint32_t h = 2166136261u;
    for (QChar c : name)
        h = (h ^ c.unicode()) * 16777619u;
    return h;
}

std::string describe(const QString &name, const QString &line, LexState state)
{
    return QStringLiteral("%1, state %2/%3/%4/%5, line \"%6\"")
        .arg(name)
        .arg(state.mode)
        .arg(state.aux)
        .arg(state.inner)
        .arg(state.innerAux)
        .arg(line)
        .toStdString();
}

} // namespace

// Every registered lexer (dedicated lexers included, as they are registered) keeps the contract on
// random lines from random states it produced itself.
TEST(LexerProperties, randomLinesFromReachableStates)
{
    for (const Lexers::Registration &entry : Lexers::table()) {
        const Lexer &lexer = *entry.lexer;
        std::mt19937 random(seedOf(entry.name));
        std::vector<LexState> reachable{LexState()};
        std::set<quint64> seen{0};
        std::vector<Token> tokens;
        for (int round = 0; round < 1500; ++round) {
            const QString line = randomLine(random);
            const LexState before = reachable[std::uniform_int_distribution<std::size_t>(
                0, reachable.size() - 1)(random)];
            const std::string context = describe(entry.name, line, before);

            // The line inside a larger array, at an offset, after tokens of an earlier line.
            const qsizetype offset = qsizetype(random() % 5);
            const QString padded = QString(offset, u'.') + line + QStringLiteral("\n.");
            tokens.assign(3, Token{TokenKind::punctuation, {0, 0}});
            LexState state = before;
            const LineSlice slice = LineSlice::of(padded, offset, offset + line.size());
            lexer.tokenize(slice, state, tokens);
            expectWellFormed(tokens, 3, slice, QString::fromStdString(context));
            ASSERT_EQ(tokens[2], (Token{TokenKind::punctuation, {0, 0}})) << context;

            // The same line as an array of its own, from the same state: the same tokens, shifted.
            LexState again = before;
            const std::vector<Token> own = lexer.tokenizeLine(line, again);
            ASSERT_EQ(again, state) << context;
            ASSERT_EQ(own.size(), tokens.size() - 3) << context;
            for (std::size_t i = 0; i < own.size(); ++i) {
                const Token shifted{own[i].kind,
                                    {own[i].range.lower + offset, own[i].range.upper + offset}};
                ASSERT_EQ(shifted, tokens[i + 3]) << context << " token " << i;
            }
            if (seen.insert(state.packed()).second)
                reachable.push_back(state);
        }
    }
}

// Lexing a whole text equals lexing it line by line with the state carried over.
TEST(LexerProperties, wholeTextEqualsLineByLine)
{
    for (const Lexers::Registration &entry : Lexers::table()) {
        std::mt19937 random(seedOf(entry.name) + 1);
        for (int round = 0; round < 40; ++round) {
            QString text;
            const int lines = int(random() % 30);
            for (int i = 0; i < lines; ++i)
                text += randomLine(random) + u'\n';
            if (random() % 2)
                text += randomLine(random);

            std::vector<Token> expected;
            LexState state;
            qsizetype start = 0;
            for (;;) {
                const qsizetype feed = text.indexOf(u'\n', start);
                const qsizetype end = feed < 0 ? text.size() : feed;
                const std::size_t first = expected.size();
                const LineSlice slice = LineSlice::of(text, start, end);
                entry.lexer->tokenize(slice, state, expected);
                expectWellFormed(expected, first, slice, entry.name);
                if (feed < 0)
                    break;
                start = feed + 1;
            }
            ASSERT_EQ(Tokenizer::tokenize(text, *entry.lexer), expected)
                << entry.name.toStdString() << " round " << round;
        }
    }
}

// The same invariants over real files of other projects, when they are at hand.
TEST(LexerProperties, realFilesKeepTheContract)
{
    // PLUMEO_CORPORA in the environment points a build elsewhere at the corpus.
    const QString root = qEnvironmentVariable("PLUMEO_CORPORA", QStringLiteral(PLUMEO_CORPORA))
                         + QStringLiteral("/source");
    if (!QDir(root).exists())
        GTEST_SKIP() << "no corpus at " << root.toStdString();
    int files = 0;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const Lexer *lexer = Lexers::lexer(Language::forFile(path));
        QFile file(path);
        if (!lexer || file.size() > 400'000 || !file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        const std::vector<Token> whole = Tokenizer::tokenize(text, *lexer);
        LexState state;
        std::vector<Token> lines;
        qsizetype start = 0;
        for (const QStringView line : QStringView(text).split(u'\n')) {
            const std::size_t first = lines.size();
            const LineSlice slice = LineSlice::of(text, start, start + line.size());
            lexer->tokenize(slice, state, lines);
            expectWellFormed(lines, first, slice, path);
            start += line.size() + 1;
        }
        ASSERT_EQ(whole, lines) << path.toStdString();
        ++files;
    }
    EXPECT_GT(files, 20);
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
