#include "DocumentController.h"
#include "Preferences.h"
#include "document/TextDocument.h"
#include "support/LineBreaks.h"
#include "text/LineEnding.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

using namespace plumeo;

// Every labelled file, opened the way the application opens it and saved unedited: refused as
// binary (UTF-16 and UTF-32 without a mark), or written back byte for byte when its line endings
// are uniform.
TEST(DocumentCorpus, OpenedAndSavedUneditedEveryFileKeepsItsBytes)
{
    Preferences::registerDefaults();
    const QString folder = QStringLiteral(PLUMEO_CORPORA "/encodings");
    if (!QFile::exists(folder + QStringLiteral("/LABELS.tsv")))
        GTEST_SKIP() << "corpus not found at " << qPrintable(folder);

    int files = 0, refused = 0, uniform = 0, unchanged = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(u".tsv") || path.endsWith(u".md") || path.contains(u"COPYING")
            || path.contains(u"LICENSE") || path.contains(u"README"))
            continue;
        ++files;
        const auto type = DocumentController::typeForContents(path);
        if (!type) {
            ++refused;
            continue;
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        TextDocument document;
        ASSERT_TRUE(document.read(bytes, type.value()).hasValue()) << qPrintable(path);
        const auto raw =
            StrictCodec::decode(TextFile::byteOrderMark(bytes).rest, document.encoding());
        ASSERT_TRUE(raw) << qPrintable(path);
        if (!test::hasUniformLineBreaks(*raw))
            continue;
        ++uniform;
        const auto saved = document.data();
        ASSERT_TRUE(saved.hasValue()) << qPrintable(path);
        EXPECT_EQ(saved.value(), bytes) << qPrintable(path);
        unchanged += saved.value() == bytes;
    }
    std::printf(
        "%d corpus files: %d refused as binary, %d with uniform line endings, %d of them saved "
        "back unchanged\n",
        files, refused, uniform, unchanged);
    EXPECT_EQ(unchanged, uniform);
}
