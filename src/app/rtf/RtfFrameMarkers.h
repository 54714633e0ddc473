#pragma once

namespace plumeo {

// Qt turns U+FDD0 and U+FDD1, its frame markers, into paragraph breaks when they are inserted into
// a QTextDocument. A document that keeps them as characters stores another unit in their place:
// these two, which the RTF reader stores for them and the RTF writer writes back as them.
struct RtfFrameMarkers
{
    char16_t start; // stored for U+FDD0
    char16_t end;   // stored for U+FDD1
};

} // namespace plumeo
