// Files written by LibreOffice and pandoc for these tests (see tests/data/rtf/README.md).
#include "RtfTestSupport.h"
#include "rtf/RtfReader.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::rtftest;

namespace {

QByteArray sample(const char *name)
{
    QFile file(QStringLiteral(PLUMEO_TEST_DATA "/rtf/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(RtfSamples, libreOfficeAttributes)
{
    QTextDocument document;
    const QString content = readText(document, sample("libreoffice-attributes.rtf"));
    EXPECT_EQ(content, QStringLiteral("Centred title\nDefault colour, red, explicit black, yellow "
                                      "background, italic, underlined, struck.\nRight aligned\n"
                                      "Justified, indented one inch, first line out by half an "
                                      "inch: café 中文 😀.\n"));

    const QTextCharFormat title = formatOf(document, "Centred");
    EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{QStringLiteral("DejaVu Serif")});
    EXPECT_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(blockOf(document, "Centred").alignment(), Qt::AlignHCenter);

    // LibreOffice writes default-coloured text with \cf0 on an automatic entry: no colour at all.
    EXPECT_FALSE(formatOf(document, "Default").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(document, "red,").foreground().color(), QColor(Qt::red));
    EXPECT_EQ(formatOf(document, "explicit").foreground().color(), QColor(Qt::black));
    EXPECT_EQ(formatOf(document, "yellow").background().color(), QColor(Qt::yellow));
    EXPECT_FALSE(formatOf(document, "yellow").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(formatOf(document, "underlined").fontUnderline());

    EXPECT_EQ(blockOf(document, "Right").alignment(), Qt::AlignRight);
    const QTextBlockFormat justified = blockOf(document, "Justified");
    EXPECT_EQ(justified.alignment(), Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(justified.leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(justified.textIndent(), -48.0);
}

TEST(RtfSamples, pandocStandalone)
{
    QTextDocument document;
    const QString content = readText(document, sample("pandoc-sample.rtf"));
    EXPECT_EQ(content, QStringLiteral("Title with emphasis\nA paragraph with bold, italic, code, a "
                                      "link and “quotes” — café.\n•\tfirst item\n•\tsecond item\n"
                                      "A quote.\n"));
    EXPECT_EQ(formatOf(document, "Title").fontPointSize(), 18.0);
    EXPECT_EQ(formatOf(document, "Title").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(document, "emphasis").fontItalic());
    EXPECT_EQ(formatOf(document, "code").fontFamilies().toStringList(),
              QStringList{QStringLiteral("Courier")});
    // The link keeps its text (the field's result), underlined; the field instruction is skipped.
    EXPECT_TRUE(formatOf(document, "link").fontUnderline());
    const QTextBlockFormat item = blockOf(document, "first");
    EXPECT_DOUBLE_EQ(item.leftMargin(), 24.0);
    EXPECT_DOUBLE_EQ(item.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(blockOf(document, "A quote").leftMargin(), 48.0);
}
