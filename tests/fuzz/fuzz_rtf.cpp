// Feeds arbitrary bytes to the RTF reader; whatever it accepts must survive the writer: writing the
// document and reading it back gives the same text, and writing that again gives the same bytes.
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>
#include <QGuiApplication>
#include <QTextDocument>

using namespace plumeo;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts need an application object; libFuzzer's argc outlives every input.
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTextDocument document;
    const auto result = RtfReader::read(QByteArrayView(data, qsizetype(size)), document);
    if (!result.hasValue())
        return 0;
    const QByteArray written = RtfWriter::write(document);
    QTextDocument again;
    const auto second = RtfReader::read(written, again);
    if (!second.hasValue() || !second.value().complete)
        std::abort();
    if (again.toRawText() != document.toRawText())
        std::abort();
    if (RtfWriter::write(again) != written)
        std::abort();
    return 0;
}
