#include "io/OpenedFile.h"

#include <utility>

#include <unistd.h>

namespace plumeo {

OpenedFile::OpenedFile(OpenedFile &&other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_identity(other.m_identity)
    , m_kind(other.m_kind)
{}

OpenedFile &OpenedFile::operator=(OpenedFile &&other) noexcept
{
    if (this != &other) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_identity = other.m_identity;
        m_kind = other.m_kind;
    }
    return *this;
}

OpenedFile::~OpenedFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

int OpenedFile::release()
{
    return std::exchange(m_descriptor, -1);
}

} // namespace plumeo
