#include "syntax/YAMLNumber.h"

#include <clocale>
#include <random>

#include <QString>

#include <gtest/gtest.h>

namespace plumeo {
namespace {

bool isNumber(const QString &word)
{
    return YAMLNumber::isNumber(reinterpret_cast<const char16_t *>(word.utf16()), word.size());
}

TEST(YAMLNumber, AcceptsWhatTheCConversionConsumesWhole)
{
    for (const char *word :
         {"0",        "-2",   "+1",   ".5",      "5.",       "1.5e3",   "1E+9",
          "1e-7",     "0x1F", "0X1f", "0x1.8p3", "0x.8P-1",  "inf",     "-INF",
          "Infinity", "nan",  "NaN",  "nan()",   "nan(x_1)", "-nan(0)", "1e99999"})
        EXPECT_TRUE(isNumber(word)) << word;
    for (const char *word :
         {"",      ".",    "-",    "+",       "1.2.3",     "1e",   "1e+",      "0x",    "0X",
          "0x.",   "0xp1", "0x1p", "infinit", "infinityy", "nan(", "nan(a-b)", "1_000", "12:30",
          "-.inf", "web",  " 1",   "\t1",     "1 ",        "--1",  "+-1",      "1f"})
        EXPECT_FALSE(isNumber(word)) << word;
    EXPECT_FALSE(isNumber(QString("\x0B") + "1")); // leading control characters
    EXPECT_FALSE(isNumber(QString(QChar(0)) + "1"));
    EXPECT_FALSE(isNumber(QString("1") + QChar(0))); // the NUL ends the conversion early
    EXPECT_FALSE(isNumber(QString::fromUtf8("1\u00b2")));
}

TEST(YAMLNumber, TheUsersLocaleDoesNotMatter)
{
    // Where a locale with a decimal comma is installed, the conversion must still want ".".
    const char *previous = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    for (const char *name : {"fr_FR.UTF-8", "de_DE.UTF-8", "C"}) {
        if (!setlocale(LC_NUMERIC, name))
            continue;
        EXPECT_TRUE(isNumber("1.5")) << name;
        EXPECT_FALSE(isNumber("1,5")) << name;
    }
    setlocale(LC_NUMERIC, saved.c_str());
}

TEST(YAMLNumber, LongWordsFollowTheSameGrammar)
{
    EXPECT_TRUE(isNumber("1" + QString(200, '0')));
    EXPECT_TRUE(isNumber("-0." + QString(200, '7') + "e-12"));
    EXPECT_TRUE(isNumber("0x" + QString(100, 'a') + "p3"));
    EXPECT_FALSE(isNumber("1" + QString(200, '0') + "x"));
    EXPECT_FALSE(isNumber("nan(" + QString(100, 'a')));
    EXPECT_TRUE(isNumber("nan(" + QString(100, 'a') + ")"));
}

// The grammar used for words too long to convert on the stack must agree with the conversion itself
// on every word both can judge.
TEST(YAMLNumber, GrammarAgreesWithTheConversion)
{
    const QString alphabet = "0123456789.eEpPxX+-infINFtyaANn()_ ,";
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> unit(0, int(alphabet.size()) - 1);
    std::uniform_int_distribution<int> length(1, 12);
    int numbers = 0;
    for (int round = 0; round < 200000; ++round) {
        QString word;
        const int n = length(random);
        for (int k = 0; k < n; ++k)
            word += alphabet[unit(random)];
        if (word[0] == u' ')
            continue; // the conversion skips leading blanks; isNumber refuses them before
        const auto *w = reinterpret_cast<const char16_t *>(word.utf16());
        const bool converted = YAMLNumber::convertsInCLocale(w, word.size());
        ASSERT_EQ(YAMLNumber::matchesConversionGrammar(w, word.size()), converted)
            << word.toStdString();
        numbers += converted;
    }
    EXPECT_GT(numbers, 1000); // the alphabet does produce numbers, so the agreement means something
}

} // namespace
} // namespace plumeo
