#pragma once

namespace plumeo {

// Why RTF data could not be read. Damaged RTF is still read as far as it goes; only data that is
// not RTF at all is refused.
enum class RtfReadError {
    // The data does not begin with "{\rtf" (after an optional UTF-8 byte order mark and white
    // space).
    notRtf,
};

} // namespace plumeo
