#pragma once
// Reading table `veriler` of a Microsoft Access (Jet 3/4) database into a new Kalpiyon
// database: a file or a table on a server, written through the record-store interface.
// Nothing is written unless every row was read: a new file is built under a temporary name
// beside the target and renamed into place at the end; a server's table is created and filled
// only once every row sits in a private temporary file.

#include <QString>
#include <QStringList>

namespace import {

struct ImportResult {
    int rows = 0;
    QStringList leftBehind;  // columns of the source that are not among the 61 fields
};

// Throws Error (Turkish) when the source is not an Access database, lacks `veriler` or one
// of its fields, has a field of another type, or cannot be read; or when the target (a file,
// or table `veriler` on a server) exists and overwrite is not set.
ImportResult importAccess(const QString &accessPath, const QString &target, bool overwrite = false);

// For the program's start-up: `Data.mdb` in `folder` is an Access database. Keeps it byte
// for byte under a new name (Data.access.mdb, or Data.access-2.mdb ... when taken), and puts
// the converted database in its place. Returns the name the original now has. On failure
// Data.mdb is left exactly as it was and Error is thrown.
QString convertAccessInPlace(const QString &folder);

}  // namespace import
