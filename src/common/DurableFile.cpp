#include "DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace durable {

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
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    syncFolderOf(to);
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
