// Reads arbitrary bytes as a plain-text file through the document, as opening a file does, and
// saves it unchanged. Nothing may crash; whatever is accepted must be savable; and a file whose
// line breaks are all of one kind (or absent), or mostly LF (its stray CRs are kept as characters),
// must save back to exactly its bytes.
//   build-fuzz/tests/fuzz/fuzz_document -max_total_time=600 -timeout=10 corpus/
#include "Preferences.h"
#include "document/TextDocument.h"
#include "support/LineBreaks.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>

using namespace plumeo;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The preferences the document reads live in a folder of their own, never the user's.
    static const QByteArray config = QDir::tempPath().toUtf8() + "/plumeo-fuzz-document-config";
    qputenv("PLUMEO_CONFIG_DIR", config);
    static QGuiApplication application(*argc, *argv);
    Preferences::registerDefaults();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TextDocument document;
    if (!document.read(bytes, TextDocument::plainTextType()))
        return 0; // refused: binary or undecodable, which is allowed
    const auto saved = document.data();
    check(saved.hasValue());

    // The text as the file holds it, line breaks included: what follows the mark, in the encoding
    // the document chose.
    const QByteArrayView body =
        document.hasBOM() ? TextFile::byteOrderMark(bytes).rest : QByteArrayView(bytes);
    const auto asInFile = StrictCodec::decode(body, document.encoding());
    check(asInFile.has_value());
    if (document.lineEnding() == LineEnding::lf || test::hasUniformLineBreaks(*asInFile))
        check(saved.value() == bytes);
    return 0;
}
