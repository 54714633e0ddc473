#include "support/LineBreaks.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

struct LabelledFile
{
    QString path;
    QString label;
};

std::vector<LabelledFile> labelledFiles(const QString &folder)
{
    std::vector<LabelledFile> files;
    QFile index(folder + QStringLiteral("/LABELS.tsv"));
    if (!index.open(QIODevice::ReadOnly))
        return files;
    QTextStream stream(&index);
    stream.readLine(); // header
    while (!stream.atEnd()) {
        const QStringList fields = stream.readLine().split(u'\t');
        if (fields.size() >= 2)
            files.push_back({folder + u'/' + fields[0], fields[1]});
    }
    return files;
}

// The text the label stands for, or nothing when no converter of ours knows the label.
std::optional<QString> labelledText(const QByteArray &bytes, const QString &label)
{
    QByteArray name = label.toLatin1();
    QByteArrayView data = bytes;
    if (name == "utf-8-sig") {
        name = "UTF-8";
        data = data.sliced(3);
    }
    const auto encoding = Encoding::fromCharsetName(name);
    if (!encoding)
        return std::nullopt;
    return StrictCodec::decode(data, *encoding);
}

} // namespace

// Reads every file of the labelled charset corpus: nothing crashes, every file with uniform line
// endings is saved back byte for byte, and the detected text is compared with the labelled one.
TEST(EncodingCorpus, EveryFileDecodesAndSavesBackUnchanged)
{
    const QString folder = QStringLiteral(PLUMEO_CORPORA "/encodings");
    const auto files = labelledFiles(folder);
    if (files.empty())
        GTEST_SKIP() << "corpus not found at " << qPrintable(folder);

    int binary = 0, uniform = 0, savedUnchanged = 0, sameTextAsLabel = 0;
    QStringList differences;
    for (const LabelledFile &file : files) {
        QFile input(file.path);
        ASSERT_TRUE(input.open(QIODevice::ReadOnly)) << qPrintable(file.path);
        const QByteArray bytes = input.readAll();
        if (TextFile::isBinary(bytes)) {
            ++binary;
            continue;
        }
        auto result = TextFile::decode(bytes, Encoding::utf8());
        ASSERT_TRUE(result.hasValue()) << qPrintable(file.path);
        const DecodedText &decoded = result.value();

        const auto rawText =
            StrictCodec::decode(TextFile::byteOrderMark(bytes).rest, decoded.encoding);
        ASSERT_TRUE(rawText);
        if (test::hasUniformLineBreaks(*rawText)) {
            ++uniform;
            auto saved = TextFile::encode(decoded.text, decoded.encoding, decoded.hasBOM,
                                          decoded.lineEnding.value_or(LineEnding::lf));
            ASSERT_TRUE(saved.hasValue()) << qPrintable(file.path);
            EXPECT_EQ(saved.value(), bytes) << qPrintable(file.path);
            savedUnchanged += saved.value() == bytes;
        }

        const auto expected = labelledText(bytes, file.label);
        if (expected && LineEnding::normalize(*expected) == LineEnding::normalize(decoded.text))
            ++sameTextAsLabel;
        else
            differences << QStringLiteral("%1: label %2, read as %3")
                               .arg(QDir(folder).relativeFilePath(file.path), file.label,
                                    TextFile::name(decoded.encoding));
    }
    std::printf("%d files: %d refused as binary, %d with uniform line endings of which %d saved "
                "unchanged, %d read as their labelled text\n",
                int(files.size()), binary, uniform, savedUnchanged, sameTextAsLabel);
    for (const QString &line : differences)
        std::printf("  %s\n", qPrintable(line));
    EXPECT_EQ(savedUnchanged, uniform);
}
