#pragma once

// Real faults for the file-writing tests: a tiny tmpfs that fills up, a child process running as
// another user, files' raw metadata.

#include "io/NativePath.h"

#include <functional>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plumeo::testing {

inline QByteArray nativeBytes(const QString &path)
{
    return NativePath::encode(path);
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(QFile::decodeName(nativeBytes(path)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(QFile::decodeName(nativeBytes(path)));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

inline struct stat statOf(const QString &path)
{
    struct stat info
    {};
    ::lstat(nativeBytes(path).constData(), &info);
    return info;
}

// The names in folder, hidden ones included.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

inline uid_t nobodyUid()
{
    const passwd *user = ::getpwnam("nobody");
    return user ? user->pw_uid : 65534;
}

inline gid_t nobodyGid()
{
    const passwd *user = ::getpwnam("nobody");
    return user ? user->pw_gid : 65534;
}

// Runs body in a forked child that has dropped root for the user nobody, and answers what body
// returned (or -1 when the child died or could not drop its privileges). Only system calls and
// the code under test run in the child; it never returns into the test framework.
inline int runAsNobody(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t gid = nobodyGid();
        const uid_t uid = nobodyUid();
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0
            || ::setresuid(uid, uid, uid) != 0)
            ::_exit(254);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status) == 254 ? -1 : WEXITSTATUS(status);
}

// A tmpfs of a few kilobytes mounted on folder for the lifetime of the object (root only).
class TinyFileSystem
{
public:
    TinyFileSystem(const QString &folder, int kilobytes)
        : m_folder(nativeBytes(folder))
    {
        ::mkdir(m_folder.constData(), 0777);
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TinyFileSystem()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    TinyFileSystem(const TinyFileSystem &) = delete;
    TinyFileSystem &operator=(const TinyFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }

    // Fills every free byte with a file named filler.
    void fill() const
    {
        const QByteArray path = m_folder + "/filler";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        char one = 'f';
        while (::write(fd, &one, 1) > 0) {
        }
        ::close(fd);
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

// While it lives, the process may open no more descriptors: every open() fails with EMFILE. The
// soft limit is lowered to the lowest free descriptor, and put back when the object goes.
class DescriptorsExhausted
{
public:
    DescriptorsExhausted()
    {
        ::getrlimit(RLIMIT_NOFILE, &m_saved);
        const int lowestFree = ::open("/", O_RDONLY | O_CLOEXEC);
        if (lowestFree < 0)
            return;
        ::close(lowestFree);
        rlimit lowered = m_saved;
        lowered.rlim_cur = rlim_t(lowestFree);
        m_lowered = ::setrlimit(RLIMIT_NOFILE, &lowered) == 0;
    }
    ~DescriptorsExhausted()
    {
        if (m_lowered)
            ::setrlimit(RLIMIT_NOFILE, &m_saved);
    }
    DescriptorsExhausted(const DescriptorsExhausted &) = delete;
    DescriptorsExhausted &operator=(const DescriptorsExhausted &) = delete;

    bool isExhausted() const { return m_lowered; }

private:
    rlimit m_saved{};
    bool m_lowered = false;
};

} // namespace plumeo::testing
