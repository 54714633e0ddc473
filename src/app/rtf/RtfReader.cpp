#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <string_view>

namespace plumeo::RtfReader {

namespace {

// Where the document's opening brace is, or -1.
qsizetype signatureStart(QByteArrayView data)
{
    qsizetype start = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < data.size()
           && (data[start] == ' ' || data[start] == '\t' || data[start] == '\r'
               || data[start] == '\n'))
        ++start;
    return data.sliced(start).startsWith("{\\rtf") ? start : -1;
}

} // namespace

bool hasRtfSignature(QByteArrayView data)
{
    return signatureStart(data) >= 0;
}

Result<Summary, RtfReadError> read(QByteArrayView data, QTextDocument &document)
{
    const qsizetype start = signatureStart(data);
    if (start < 0)
        return RtfReadError::notRtf;
    const QByteArrayView rtf = data.sliced(start);
    RtfParser parser(std::string_view(rtf.data(), size_t(rtf.size())), document);
    Summary summary;
    summary.complete = parser.run();
    return summary;
}

} // namespace plumeo::RtfReader
