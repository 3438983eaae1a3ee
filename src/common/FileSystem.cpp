#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <sys/vfs.h>

namespace filesystem {

QString networkFileSystemName(unsigned long type)
{
    // Magic numbers of the network file systems Linux knows (linux/magic.h and the drivers).
    static const struct {
        unsigned long type;
        const char *name;
    } kNetwork[] = {
        {0x6969, "NFS"},          {0x517B, "SMB"},         {0xFF534D42, "CIFS"}, {0xFE534D42, "SMB2"},
        {0x5346414F, "AFS"},      {0x73757245, "Coda"},    {0x01021997, "9P"},   {0x00C36400, "Ceph"},
        {0x47504653, "GPFS"},     {0x0BD00BD0, "Lustre"},  {0x013111A8, "IBRIX"}, {0x564C, "NCP"},
        {0x6B414653, "AFS (kAFS)"},
    };
    for (const auto &fs : kNetwork)
        if (fs.type == (type & 0xFFFFFFFFul))
            return QString::fromLatin1(fs.name);
    return QString();
}

QString networkFileSystemOf(const QString &path)
{
    // The file may not exist yet: ask about the folder that will hold it.
    const QFileInfo info(path);
    const QString probe = info.exists() ? info.absoluteFilePath() : info.absolutePath();
    struct statfs st {};
    if (::statfs(QFile::encodeName(probe).constData(), &st) != 0)
        return QString();
    return networkFileSystemName(static_cast<unsigned long>(st.f_type));
}

}  // namespace filesystem
