// tests/data/lexers/<Language name>/<input> holds inputs; <input>.tokens their expected dump. On a
// mismatch the dump as it is now is written beside the golden as <input>.tokens.new;
// scripts/regen-lexer-goldens rewrites every dump (PLUMEO_REGEN_GOLDENS=1) for review in git diff.
#include "LexerTestSupport.h"
#include "support/LexerContract.h"
#include "syntax/Lexers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

const QString goldenRoot = QStringLiteral(PLUMEO_TEST_DATA "/lexers");

struct GoldenInput
{
    QString language;
    QString path;
    friend void PrintTo(const GoldenInput &input, std::ostream *out)
    {
        *out << input.path.toStdString();
    }
};

std::vector<GoldenInput> goldenInputs()
{
    std::vector<GoldenInput> inputs;
    const QDir root(goldenRoot);
    for (const QString &language : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir folder(root.filePath(language));
        for (const QString &name : folder.entryList(QDir::Files)) {
            if (!name.endsWith(u".tokens") && !name.endsWith(u".new"))
                inputs.push_back({language, folder.filePath(name)});
        }
    }
    return inputs;
}

QString escaped(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size()
                          && QChar::isLowSurrogate(text[i + 1].unicode());
        if (pair) {
            out += text.sliced(i, 2);
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

// Each source line as a "#" comment, then its tokens, one a line: kind, columns within the line
// (so that an edit renumbers nothing below it), text. Lines are lexed as the highlighter does.
QString dump(const Lexer &lexer, const QString &text)
{
    QString out;
    LexState state;
    std::vector<Token> tokens;
    qsizetype start = 0;
    for (int number = 1;; ++number) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        const QStringView line = QStringView(text).sliced(start, end - start);
        if (feed >= 0 || !line.isEmpty())
            out += QStringLiteral("# %1: %2\n").arg(number).arg(escaped(line));
        tokens.clear();
        lexer.tokenize(LineSlice::of(text, start, end), state, tokens);
        for (const Token &token : tokens) {
            const qint64 column = token.range.lower - start;
            out += QStringLiteral("%1 %2..%3 \"%4\"\n")
                       .arg(QString::fromLatin1(tokenKindName(token.kind)))
                       .arg(column)
                       .arg(column + token.range.length())
                       .arg(escaped(line.sliced(column, token.range.length())));
        }
        if (feed < 0)
            return out;
        start = feed + 1;
    }
}

QString read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool write(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(text.toUtf8()) == text.toUtf8().size();
}

// The first line where two dumps differ, both sides shown.
std::string firstDifference(const QString &expected, const QString &actual)
{
    const QStringList want = expected.split(u'\n');
    const QStringList got = actual.split(u'\n');
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QString a = i < want.size() ? want[i] : QStringLiteral("<end of file>");
        const QString b = i < got.size() ? got[i] : QStringLiteral("<end of file>");
        if (a != b)
            return "line " + std::to_string(i + 1) + ": expected " + a.toStdString()
                   + "\n                        actual " + b.toStdString();
    }
    return {};
}

class LexerGolden : public ::testing::TestWithParam<GoldenInput>
{};

} // namespace

TEST_P(LexerGolden, lexesToItsDumpAndKeepsTheContract)
{
    const GoldenInput &input = GetParam();
    const Lexer *lexer = Lexers::lexer(input.language);
    ASSERT_NE(lexer, nullptr) << "no lexer registered for folder " << input.language.toStdString();
    const QString text = read(input.path);
    EXPECT_EQ(test::contractViolation(*lexer, text), "");

    const QString actual = dump(*lexer, text);
    const QString expectedPath = input.path + QStringLiteral(".tokens");
    const QString newPath = expectedPath + QStringLiteral(".new");
    if (qEnvironmentVariableIsSet("PLUMEO_REGEN_GOLDENS")) {
        ASSERT_TRUE(write(expectedPath, actual));
        QFile::remove(newPath);
        return;
    }
    ASSERT_TRUE(QFile::exists(expectedPath)) << "missing " << expectedPath.toStdString();
    const QString expected = read(expectedPath);
    if (expected == actual) {
        QFile::remove(newPath);
        return;
    }
    write(newPath, actual);
    ADD_FAILURE() << input.path.toStdString() << " lexes differently, dump written to "
                  << newPath.toStdString() << "\n  first difference at "
                  << firstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Inputs,
                         LexerGolden,
                         ::testing::ValuesIn(goldenInputs()),
                         [](const ::testing::TestParamInfo<GoldenInput> &info) {
                             QString name =
                                 info.param.language + u'_' + QFileInfo(info.param.path).fileName();
                             for (QChar &c : name) {
                                 if (!c.isLetterOrNumber() || c.unicode() > 127)
                                     c = u'_';
                             }
                             return name.toStdString();
                         });

TEST(LexerGoldens, everyRegisteredLexerHasAnInput)
{
    for (const Lexers::Registration &entry : Lexers::table())
        EXPECT_FALSE(
            QDir(goldenRoot + u'/' + entry.name).entryList({"*.tokens"}, QDir::Files).isEmpty())
            << entry.name.toStdString();
}
