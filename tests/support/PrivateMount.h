#pragma once
// Full and read-only file systems for tests, without touching the machine: the test process
// moves into a mount namespace of its own (Linux, needs root or CAP_SYS_ADMIN) and mounts a
// small tmpfs there; the mount is invisible to every other process and gone when it exits.

#include <QDir>
#include <QString>
#include <sched.h>
#include <sys/mount.h>

namespace privatemount {

// True once this process has its own mount namespace (tried once).
inline bool available()
{
    static const bool ok = ::unshare(CLONE_NEWNS) == 0
                           && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ok;
}

// Mounts a tmpfs of `kilobytes` on `folder` (made if missing); read-only when asked.
inline bool mountTmpfs(const QString &folder, int kilobytes, bool readOnly)
{
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    return available()
           && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", readOnly ? MS_RDONLY : 0,
                      options.constData()) == 0;
}

inline void unmount(const QString &folder)
{
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}

}  // namespace privatemount
