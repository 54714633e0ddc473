#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <string_view>

namespace plumeo::RtfReader {

namespace {

// Where the data's first brace is, after a byte order mark and white space.
qsizetype contentStart(QByteArrayView data)
{
    qsizetype start = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < data.size()
           && (data[start] == ' ' || data[start] == '\t' || data[start] == '\r'
               || data[start] == '\n'))
        ++start;
    return start;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

bool hasRtfSignature(QByteArrayView data)
{
    return data.sliced(contentStart(data)).startsWith("{\\rtf");
}

QByteArrayView documentPart(QByteArrayView data)
{
    const qsizetype start = contentStart(data);
    const QByteArrayView rtf = data.sliced(start);
    if (!rtf.startsWith("{\\rtf"))
        return data;
    RtfTokenizer tokenizer(std::string_view(rtf.data(), size_t(rtf.size())));
    qint64 depth = 0;
    for (RtfToken token = tokenizer.next(); token.kind != RtfToken::end; token = tokenizer.next()) {
        if (token.kind == RtfToken::groupStart)
            ++depth;
        else if (token.kind == RtfToken::groupEnd && --depth == 0)
            return data.first(start + qsizetype(tokenizer.position()));
    }
    return data;
}

Result<Summary, RtfReadError>
read(QByteArrayView data, QTextDocument &document, std::optional<RtfFrameMarkers> frameMarkers)
{
    const QByteArrayView rtf = data.sliced(contentStart(data));
    const bool isDocument = rtf.startsWith("{\\rtf");
    // pandoc without --standalone writes bare groups ("{\pard …}"): readable, and plain text rarely
    // starts that way.
    const bool isFragment =
        !isDocument && rtf.size() > 2 && rtf.startsWith("{\\") && isLetter(rtf[2]);
    if (!isDocument && !isFragment)
        return RtfReadError::notRtf;
    RtfParser parser(std::string_view(rtf.data(), size_t(rtf.size())), document,
                     isDocument ? RtfParser::Extent::document : RtfParser::Extent::fragment,
                     frameMarkers);
    Summary summary;
    summary.complete = parser.run();
    summary.hasFrameMarkers = parser.sawFrameMarkers();
    return summary;
}

} // namespace plumeo::RtfReader
