#include "text/CaretStatus.h"
#include "text/EncodingCatalogue.h"
#include "text/Localization.h"
#include "text/StatusTexts.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

class StatusTextsTest : public ::testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }
};

CaretStatus statusOf(const QString &text, qint64 location, qint64 length)
{
    return CaretStatus::of(location, length, LineIndex(text));
}

} // namespace

TEST(CaretStatus, CountsLinesTouchedColumnsInUtf16UnitsAndStopsBeforeTheLineAfterAnLF)
{
    const QString text = QStringLiteral("one\ntwo\nthree\nfour\n");
    // At the very start: Ln 1, Col 1, nothing selected.
    EXPECT_EQ(statusOf(text, 0, 0), (CaretStatus{1, 1, 0, 0}));
    // One whole line with its LF touches that line alone.
    EXPECT_EQ(statusOf(text, 4, 4), (CaretStatus{2, 1, 4, 1}));
    // From the middle of line 2 to the middle of line 4: three lines.
    EXPECT_EQ(statusOf(text, 5, 11), (CaretStatus{2, 2, 11, 3}));
    // A selection of the LF alone touches its own line.
    EXPECT_EQ(statusOf(text, 3, 1), (CaretStatus{1, 4, 1, 1}));
    // The caret after the last LF is on the empty last line.
    EXPECT_EQ(statusOf(text, text.size(), 0), (CaretStatus{5, 1, 0, 0}));

    // An emoji is two units: selected alone it is two characters, and it moves the column by two.
    const QString emoji = QStringLiteral("a\U0001F600b\nc");
    EXPECT_EQ(statusOf(emoji, 1, 2), (CaretStatus{1, 2, 2, 1}));
    EXPECT_EQ(statusOf(emoji, 3, 0), (CaretStatus{1, 4, 0, 0}));
    EXPECT_EQ(statusOf(emoji, 5, 1), (CaretStatus{2, 1, 1, 1}));
}

TEST_F(StatusTextsTest, ReadInBothLanguagesWithOneAndManyApart)
{
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(StatusTexts::position(12, 5), u"Ln 12, Col 5");
    EXPECT_EQ(StatusTexts::selection(1, 1), u"1 character");
    EXPECT_EQ(StatusTexts::selection(2, 1), u"2 characters");
    EXPECT_EQ(StatusTexts::selection(11, 3), u"11 characters · 3 lines");
    EXPECT_EQ(StatusTexts::counts(1, 0), u"1 line · 0 words");
    EXPECT_EQ(StatusTexts::counts(2, 1), u"2 lines · 1 word");
    // Too long to count: the lines alone.
    EXPECT_EQ(StatusTexts::counts(120000, std::nullopt), u"120000 lines");

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(StatusTexts::position(12, 5), u"Ln 12, Col 5");
    EXPECT_EQ(StatusTexts::selection(1, 0), u"1 caractère");
    EXPECT_EQ(StatusTexts::selection(11, 3), u"11 caractères · 3 lignes");
    EXPECT_EQ(StatusTexts::counts(1, 1), u"1 ligne · 1 mot");
    EXPECT_EQ(StatusTexts::counts(3, 7), u"3 lignes · 7 mots");

    EXPECT_EQ(StatusTexts::encoding(Encoding::utf8(), true), u"UTF-8 · BOM");
    EXPECT_EQ(StatusTexts::encoding(Encoding::utf16LittleEndian(), false), u"UTF-16 LE");
    EXPECT_EQ(StatusTexts::encoding(*Encoding::fromCharsetName("koi8-r"), false), u"KOI8-R");
}

TEST_F(StatusTextsTest, TheCatalogueOffersEveryEncodingTheDecoderReadsOnceEach)
{
    QSet<quint64> listed;
    for (const EncodingCatalogue::Group &group : EncodingCatalogue::groups()) {
        EXPECT_FALSE(group.encodings.empty()) << group.english.toStdString();
        for (const Encoding &encoding : group.encodings) {
            EXPECT_FALSE(listed.contains(encoding.rawValue()))
                << TextFile::name(encoding).toStdString();
            listed.insert(encoding.rawValue());
        }
    }
    for (const Encoding &encoding : Encoding::allNumbered()) {
        EXPECT_TRUE(listed.contains(encoding.rawValue()))
            << "missing " << TextFile::name(encoding).toStdString();
        // Each one really converts: a letter and a line feed, in that encoding, read back.
        const auto bytes = StrictCodec::encode(u"A\n", encoding);
        ASSERT_TRUE(bytes) << TextFile::name(encoding).toStdString();
        EXPECT_EQ(StrictCodec::decode(*bytes, encoding), u"A\n")
            << TextFile::name(encoding).toStdString();
    }
    for (const Encoding &encoding : TextFile::encodings())
        EXPECT_TRUE(listed.contains(encoding.rawValue())) << TextFile::name(encoding).toStdString();

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(EncodingCatalogue::groups()[6].title(), u"Cyrillique");
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(EncodingCatalogue::groups()[6].title(), u"Cyrillic");
}
