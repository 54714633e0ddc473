// Reads the RTF corpus of files written by word processors (when the corpus is present): every file
// is read without failing, and the files whose expected text follows the same conventions as ours
// give exactly that text.
#include "RtfTestSupport.h"
#include "rtf/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::rtftest;

namespace {

// The environment may point elsewhere (a worktree sits one folder deeper than the main checkout).
const QString corpus =
    qEnvironmentVariable("PLUMEO_CORPORA", QStringLiteral(PLUMEO_CORPORA)) + QStringLiteral("/rtf");

// Line breaks as LF, no byte order mark, no trailing white space on lines, no blank lines at either
// end: the expected files come from tools that differ on exactly these points.
QString normalized(QString text)
{
    text.remove(QChar(0xFEFF));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(0x2028), u'\n');
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The files whose expected text uses our conventions (no table or link markup, no list markers
// added, paragraphs not separated by blank lines) and which we read to exactly that text.
const QStringList exactMatches =
    QStringLiteral(
        "pandoc/link.rtf pandoc/unicode.rtf striprtf/Example_text.rtf "
        "striprtf/TX_RTF32_18.0.541.501.rtf striprtf/ansicpg1250.rtf striprtf/bytes.rtf "
        "striprtf/french.rtf striprtf/hello.rtf striprtf/issue_11.rtf striprtf/issue_15.rtf "
        "striprtf/issue_20.rtf striprtf/issue_28.rtf striprtf/issue_37.rtf striprtf/issue_55.rtf "
        "striprtf/issue_55_1.rtf striprtf/issue_63.rtf striprtf/line_break_textedit_mac.rtf "
        "striprtf/nbsp.rtf striprtf/nutridoc.rtf striprtf/sample_3.rtf striprtf/specialchars.rtf "
        "striprtf/test_line_breaks_google_docs.rtf striprtf/unicode.rtf rtfjs/colors.rtf "
        "rtfjs/hyperlink.rtf rtfjs/implicit-par.rtf rtfjs/infer-double-width.rtf "
        "rtfjs/paragraph-properties.rtf rtfjs/pile-of-poo.rtf rtfjs/simplepng.rtf "
        "rtfjs/superscript-subscript.rtf libreoffice/fdo45394.rtf libreoffice/fdo47326.rtf "
        "libreoffice/fdo52389.rtf libreoffice/fdo79384.rtf generated/libreoffice/specials.rtf "
        "generated/libreoffice/uchardet_el.rtf generated/libreoffice/uchardet_he.rtf "
        "generated/libreoffice/uchardet_ja.rtf generated/libreoffice/uchardet_ru.rtf "
        "generated/pandoc/uchardet_he.rtf generated/pandoc/uchardet_ru.rtf ")
        .split(u' ', Qt::SkipEmptyParts);

} // namespace

TEST(RtfCorpus, everyFileReadsAndTheComparableOnesMatch)
{
    const QByteArray index = contents(corpus + QStringLiteral("/INDEX.tsv"));
    if (index.isEmpty())
        GTEST_SKIP() << "no RTF corpus at " << qPrintable(corpus);
    int files = 0;
    int matches = 0;
    for (const QByteArray &row : index.split('\n').mid(1)) {
        const QList<QByteArray> fields = row.split('\t');
        if (fields.size() < 6)
            continue;
        const QString name = QString::fromUtf8(fields[0]);
        const QByteArray rtf = contents(corpus + u'/' + name);
        ASSERT_FALSE(rtf.isEmpty()) << qPrintable(name);
        ++files;
        QTextDocument document;
        const auto result = RtfReader::read(rtf, document);
        ASSERT_TRUE(result.hasValue()) << qPrintable(name);
        EXPECT_TRUE(result.value().complete) << qPrintable(name);

        QString expected;
        for (const QByteArray &file : fields[5].split(',')) {
            if (file.endsWith(".expected.txt") || file.endsWith(".lo74-export.txt")
                || file.endsWith(".derived.txt")) {
                expected = QString::fromUtf8(contents(corpus + u'/' + QFileInfo(name).path() + u'/'
                                                      + QString::fromUtf8(file)));
                break;
            }
        }
        const bool match = normalized(text(document)) == normalized(expected);
        matches += match;
        if (exactMatches.contains(name)) {
            EXPECT_TRUE(match) << qPrintable(name) << "\n" << qPrintable(text(document));
        }
    }
    EXPECT_EQ(files, 72);
    EXPECT_GE(matches, int(exactMatches.size()));
    RecordProperty("exactMatches", matches);
}
