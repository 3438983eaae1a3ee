#include "DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace durable {

namespace {
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

mode_t modeOf(QFileDevice::Permissions p)
{
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR}, {QFileDevice::ExeOwner, S_IXUSR},
        {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH}, {QFileDevice::ExeOther, S_IXOTH}};
    mode_t mode = 0;
    for (const auto &[flag, bit] : bits)
        if (p & flag)
            mode |= bit;
    return mode;
}
}  // namespace

bool syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool syncFile(QFileDevice &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

bool rename(const QString &from, const QString &to, QString *error)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        if (error)
            *error = systemError();
        return false;
    }
    syncFolderOf(to);
    return true;
}

bool syncPath(const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (!ok && error)
        *error = systemError();
    if (fd >= 0)
        ::close(fd);
    return ok;
}

bool commitFile(const QString &from, const QString &to, QString *error)
{
    return syncPath(from, error) && rename(from, to, error);
}

bool createNew(const QString &path, QString *error, QFileDevice::Permissions permissions)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          modeOf(permissions));
    if (fd < 0) {
        if (error)
            *error = systemError();
        return false;
    }
    ::fchmod(fd, modeOf(permissions));  // whatever the umask
    ::close(fd);
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error,
               QFileDevice::Permissions permissions)
{
    QSaveFile out(path);
    const auto failed = [&] {
        if (error)
            *error = out.errorString();
        out.cancelWriting();
        return false;
    };
    if (!out.open(QIODevice::WriteOnly))
        return failed();
    out.setPermissions(permissions);
    if (out.write(bytes) != bytes.size() || !syncFile(out))
        return failed();
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    syncFolderOf(path);
    return true;
}

}  // namespace durable
