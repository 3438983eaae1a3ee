#pragma once
// What kind of file system holds a path. POSIX calls live here and in DurableFile.cpp only.

#include <QString>

namespace filesystem {

// The network file system that holds `path` ("NFS", "SMB/CIFS" …), or an empty text when it is
// local or cannot be told.
QString networkFileSystemOf(const QString &path);
// The name of a network file system type (statfs f_type), or an empty text for any other.
QString networkFileSystemName(unsigned long type);

}  // namespace filesystem
