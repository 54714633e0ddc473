#pragma once

#include "io/FileIdentity.h"

namespace plumeo {

// A file opened for reading, owning its descriptor. It is opened once and read once: a FIFO or a
// pipe gives its data to one reader only, so nothing may open the same path a second time to sniff
// its type.
class OpenedFile
{
public:
    enum class Kind {
        regular,
        stream, // a FIFO or a pipe (`/dev/stdin`, `<(cmd)`): read until its writers close it
    };

    OpenedFile(int descriptor, FileIdentity identity, Kind kind)
        : m_descriptor(descriptor)
        , m_identity(identity)
        , m_kind(kind)
    {}
    OpenedFile(OpenedFile &&other) noexcept;
    OpenedFile &operator=(OpenedFile &&other) noexcept;
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;
    ~OpenedFile();

    // Non-blocking for a stream; -1 once released.
    int descriptor() const { return m_descriptor; }
    const FileIdentity &identity() const { return m_identity; }
    Kind kind() const { return m_kind; }
    // Gives up ownership of the descriptor.
    int release();

private:
    int m_descriptor;
    FileIdentity m_identity;
    Kind m_kind;
};

} // namespace plumeo
