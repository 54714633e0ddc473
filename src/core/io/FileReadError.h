#pragma once

#include <QtGlobal>

namespace plumeo {

// Why a file could not be read. The texts the user sees are made by the application, which knows
// the file's name; this carries what they need.
struct FileReadError
{
    enum class Kind {
        notFound,
        notPermitted,
        isDirectory,
        device, // a character or block device: reading one never ends or means nothing as text
        socket,
        tooLarge, // size and limit say by how much
        ioError,  // systemError says why
    };

    Kind kind = Kind::ioError;
    int systemError = 0;
    qint64 size = 0;
    qint64 limit = 0;

    static FileReadError fromErrno(int error);
    static FileReadError tooLargeFile(qint64 size, qint64 limit)
    {
        return {Kind::tooLarge, 0, size, limit};
    }
};

} // namespace plumeo
