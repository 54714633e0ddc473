#pragma once

namespace plumeo {

// Why RTF data could not be read. Damaged RTF is still read as far as it goes; only data that is
// not RTF at all is refused.
enum class RtfReadError {
    // The data begins neither with "{\rtf" nor with a group and a control word (after an optional
    // UTF-8 byte order mark and white space).
    notRtf,
};

} // namespace plumeo
