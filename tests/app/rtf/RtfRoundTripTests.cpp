// Property: reading what the writer wrote gives back the text and every attribute the two sides
// share, for documents generated at random (with fixed seeds, so a failure is reproducible).
#include "RtfTestSupport.h"
#include "rtf/RtfFormatTable.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <optional>
#include <random>
#include <tuple>

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::rtftest;

namespace {

// Pieces of text chosen to hit every escape of the writer and every decoding path of the reader.
const QStringList pieces = {
    QStringLiteral("word"),     QStringLiteral(" "),      QStringLiteral("\\"),
    QStringLiteral("{"),        QStringLiteral("}"),      QStringLiteral(";"),
    QStringLiteral("?"),        QStringLiteral("0"),      QStringLiteral("\t"),
    QStringLiteral("\u2028"),   QStringLiteral("é"),      QStringLiteral("ω"),
    QStringLiteral("中文"),     QStringLiteral("😀"),      QStringLiteral("\u00A0"),
    QStringLiteral("\u00AD"),   QStringLiteral("\u2011"), QStringLiteral("\uFFFD"),
    QStringLiteral("\uF0B7"),   QStringLiteral("\x01"),   QStringLiteral("\u200F"),
    QStringLiteral("x\\u233?"),
};

const QStringList families = {
    QStringLiteral("DejaVu Sans"), QStringLiteral("Times New Roman"), QStringLiteral("Courier New"),
    QStringLiteral("ＭＳ 明朝"),   QStringLiteral("Odd;Name {x}"),
};

class Generator
{
public:
    explicit Generator(unsigned seed)
        : m_random(seed)
    {}

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    bool chance(int percent) { return below(100) < percent; }

    QColor color()
    {
        // Black and white often, as the theming rules care about them.
        switch (below(4)) {
        case 0:
            return QColor(0, 0, 0);
        case 1:
            return QColor(255, 255, 255);
        default:
            return QColor(below(256), below(256), below(256));
        }
    }

    QTextCharFormat charFormat()
    {
        QTextCharFormat format;
        format.setFontFamilies(QStringList{families[below(int(families.size()))]});
        format.setFontPointSize((2 + below(150)) / 2.0);
        if (chance(30))
            format.setFontWeight(QFont::Bold);
        if (chance(30))
            format.setFontItalic(true);
        if (chance(20))
            format.setFontUnderline(true);
        if (chance(15))
            format.setFontStrikeOut(true);
        if (chance(10))
            format.setVerticalAlignment(chance(50) ? QTextCharFormat::AlignSuperScript
                                                   : QTextCharFormat::AlignSubScript);
        if (chance(10))
            format.setFontCapitalization(chance(50) ? QFont::AllUppercase : QFont::SmallCaps);
        if (chance(5))
            format.setProperty(RtfFormatTable::hiddenTextProperty, true);
        if (chance(60))
            format.setForeground(color());
        if (chance(25))
            format.setBackground(color());
        return format;
    }

    QTextBlockFormat blockFormat()
    {
        static constexpr Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                       Qt::AlignRight, Qt::AlignJustify};
        static constexpr int indents[] = {0, 1, 283, 360, 720, 1440, 31680};
        QTextBlockFormat format;
        format.setAlignment(alignments[below(4)]);
        if (chance(50))
            format.setLeftMargin(indents[below(7)] / 15.0);
        if (chance(30))
            format.setRightMargin(indents[below(7)] / 15.0);
        if (chance(40))
            format.setTextIndent((chance(50) ? -1 : 1) * indents[below(7)] / 15.0);
        if (chance(30))
            format.setTopMargin(indents[below(7)] / 15.0);
        if (chance(30))
            format.setBottomMargin(indents[below(7)] / 15.0);
        return format;
    }

    void fill(QTextDocument &document)
    {
        QTextCursor cursor(&document);
        const int blocks = 1 + below(6);
        for (int b = 0; b < blocks; ++b) {
            if (b == 0) {
                cursor.setBlockFormat(blockFormat());
                cursor.setBlockCharFormat(charFormat());
            } else {
                cursor.insertBlock(blockFormat(), charFormat());
            }
            const int runs = below(5);
            for (int r = 0; r < runs; ++r) {
                QString run;
                for (int p = 1 + below(4); p > 0; --p)
                    run += pieces[below(int(pieces.size()))];
                cursor.insertText(run, charFormat());
            }
        }
    }

private:
    std::mt19937 m_random;
};

std::optional<QRgb> colour(const QTextFormat &format, QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return std::nullopt;
    return format.brushProperty(property).color().rgb();
}

// What the two sides are meant to agree on, for one character format.
auto characterKey(const QTextCharFormat &format)
{
    return std::make_tuple(
        format.fontFamilies().toStringList(), format.fontPointSize(),
        format.fontWeight() >= QFont::DemiBold, format.fontItalic(), format.fontUnderline(),
        format.fontStrikeOut(), int(format.verticalAlignment()), int(format.fontCapitalization()),
        format.boolProperty(RtfFormatTable::hiddenTextProperty),
        colour(format, QTextFormat::ForegroundBrush), colour(format, QTextFormat::BackgroundBrush));
}

auto blockKey(const QTextBlockFormat &format)
{
    return std::make_tuple(int(format.alignment() & Qt::AlignHorizontal_Mask),
                           qRound(format.leftMargin() * 15), qRound(format.rightMargin() * 15),
                           qRound(format.textIndent() * 15), qRound(format.topMargin() * 15),
                           qRound(format.bottomMargin() * 15));
}

void expectSameContent(const QTextDocument &expected, const QTextDocument &actual, unsigned seed)
{
    ASSERT_EQ(expected.toRawText(), actual.toRawText()) << "seed " << seed;
    ASSERT_EQ(expected.blockCount(), actual.blockCount()) << "seed " << seed;
    for (QTextBlock e = expected.begin(), a = actual.begin(); e.isValid();
         e = e.next(), a = a.next()) {
        EXPECT_EQ(blockKey(e.blockFormat()), blockKey(a.blockFormat()))
            << "seed " << seed << " block " << e.blockNumber();
        EXPECT_EQ(characterKey(e.charFormat()), characterKey(a.charFormat()))
            << "seed " << seed << " mark of block " << e.blockNumber();
        for (int i = 0; i < e.length() - 1; ++i) {
            const int position = e.position() + i;
            EXPECT_EQ(characterKey(formatAt(expected, position)),
                      characterKey(formatAt(actual, position)))
                << "seed " << seed << " position " << position;
        }
    }
}

} // namespace

TEST(RtfRoundTrip, generatedDocumentsComeBackUnchanged)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Generator generator(seed);
        QTextDocument original;
        generator.fill(original);
        const QByteArray rtf = RtfWriter::write(original);
        QTextDocument read;
        const auto result = RtfReader::read(rtf, read);
        ASSERT_TRUE(result.hasValue()) << "seed " << seed;
        ASSERT_TRUE(result.value().complete) << "seed " << seed;
        expectSameContent(original, read, seed);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << rtf.constData();
            return;
        }
        // Writing what was read gives the same bytes: nothing drifts from one save to the next.
        ASSERT_EQ(RtfWriter::write(read), rtf) << "seed " << seed;
    }
}
