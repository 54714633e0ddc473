#include "io/FileReadError.h"

#include <cerrno>

namespace plumeo {

FileReadError FileReadError::fromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return {Kind::notFound, error, 0, 0};
    case EACCES:
    case EPERM:
        return {Kind::notPermitted, error, 0, 0};
    case EISDIR:
        return {Kind::isDirectory, error, 0, 0};
    case ENXIO: // a socket or a device without its driver
        return {Kind::device, error, 0, 0};
    default:
        return {Kind::ioError, error, 0, 0};
    }
}

} // namespace plumeo
