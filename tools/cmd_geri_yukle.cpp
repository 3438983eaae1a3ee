// geri-yukle BACKUP [DB]: puts a backup in the place of the database after checking it; the
// replaced database is kept beside it under a dated name. Close the program first: a
// running copy would go on writing into the replaced file.
#include <QThread>
#include <cstdio>

#include "BackupArgs.h"
#include "Error.h"

namespace {
const char *kUsage = "geri-yukle YEDEK [DB] [--secenekler DOSYA]";

// Tests stop a restore at a step (KALPIYON_GERI_YUKLE_DUR=copied ...) to kill it there.
void installStopForTests()
{
    const QByteArray stopAt = qgetenv("KALPIYON_GERI_YUKLE_DUR");
    if (stopAt.isEmpty())
        return;
    records::autobackup::setRestoreStepHook([stopAt](const char *step) {
        if (stopAt != step)
            return;
        std::fprintf(stderr, "adım: %s\n", step);
        std::fflush(stderr);
        QThread::sleep(60);
    });
}

int runRestore(const QCommandLineParser &line)
{
    const BackupArgs a = backupArgs(line, 1);
    const QString backup = QDir::current().absoluteFilePath(line.positionalArguments().first());
    installStopForTests();
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
