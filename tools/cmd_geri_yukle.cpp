// geri-yukle BACKUP [DB]: puts a backup in the place of the database after checking it; the
// replaced database is kept beside it under a dated name. Close the program first: a
// running copy would go on writing into the replaced file.
#include "BackupArgs.h"
#include "Error.h"

namespace {
const char *kUsage = "geri-yukle YEDEK [DB] [--secenekler DOSYA]";

int runRestore(const QCommandLineParser &line)
{
    const BackupArgs a = backupArgs(line, 1);
    const QString backup = QDir::current().absoluteFilePath(line.positionalArguments().first());
    const auto info = records::autobackup::describe(backup);
    const QString kept = records::autobackup::restore(backup, a.database);
    out() << "Geri yüklendi: " << QDir::toNativeSeparators(backup) << " (" << stampText(info.stamp) << ", "
          << info.records << " kayıt) -> " << QDir::toNativeSeparators(a.database) << "\n";
    if (!kept.isEmpty())
        out() << "Önceki veritabanı saklandı: " << QDir::toNativeSeparators(kept) << "\n";
    return 0;
}

const bool registered = registerCommand({"geri-yukle", kUsage, runRestore});
}  // namespace
