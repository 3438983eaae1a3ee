#pragma once
// Arguments shared by the backup commands (yedekler, yedek-dene, geri-yukle): the database,
// Data.mdb in the current folder when not given, and the Secenekler file that names its
// backup folders, the program's own unless --secenekler FILE points elsewhere.

#include <QDir>
#include <QLocale>

#include "AutoBackup.h"
#include "Command.h"

struct BackupArgs {
    QString database;
    records::autobackup::Folders folders;
};

// Reads [--secenekler FILE] and the optional DB after `positional` other arguments.
inline BackupArgs backupArgs(const QCommandLineParser &line, int positional)
{
    const QString secenekler = line.value(QStringLiteral("secenekler"));
    BackupArgs a;
    a.database = QDir::current().absoluteFilePath(line.positionalArguments().value(positional, QStringLiteral("Data.mdb")));
    a.folders = records::autobackup::backupFolders(a.database, secenekler);
    return a;
}

inline QString sizeText(qint64 bytes)
{
    return QLocale(QLocale::Turkish, QLocale::Turkey).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

inline QString stampText(const QDateTime &stamp)
{
    return stamp.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}
