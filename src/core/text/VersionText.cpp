#include "text/VersionText.h"

#include "text/LineEnding.h"
#include "text/StrictCodec.h"
#include "text/TextFile.h"

namespace plumeo::VersionText {

std::optional<QString> decode(QByteArrayView bytes, const Encoding &encoding)
{
    if (const auto mark = TextFile::byteOrderMark(encoding); mark && bytes.startsWith(*mark))
        bytes = bytes.sliced(mark->size());
    auto decoded = StrictCodec::decode(bytes, encoding);
    if (!decoded)
        return std::nullopt;
    const auto detected = LineEnding::detect(*decoded);
    if (detected && *detected != LineEnding::lf)
        return LineEnding::normalize(std::move(*decoded));
    return decoded;
}

} // namespace plumeo::VersionText
