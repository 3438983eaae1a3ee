// yedekler [DB]: the generations of the database's backup folders, newest first, with date,
// record count and size.
#include "BackupArgs.h"
#include "Error.h"

namespace {
const char *kUsage = "yedekler [DB] [--secenekler DOSYA]";

int runList(const QCommandLineParser &line)
{
    const BackupArgs a = backupArgs(line, 0);
    QTextStream &s = out();
    for (const QString &folder : a.folders.all()) {
        const auto list = records::autobackup::generations(folder);
        s << "Yedek klasörü: " << QDir::toNativeSeparators(folder);
        if (!QFileInfo(folder).isDir()) {
            s << " (yok)\n";
            continue;
        }
        s << " (" << list.size() << " yedek)\n";
        for (const auto &g : list) {
            const auto info = records::autobackup::describe(g.path);
            const QString count = info.records < 0 ? QStringLiteral("okunamıyor") : QStringLiteral("%1 kayıt").arg(info.records);
            s << "  " << stampText(g.stamp) << "  " << count.rightJustified(12) << "  " << sizeText(g.size).rightJustified(9)
              << "  " << QFileInfo(g.path).fileName() << "\n";
        }
    }
    return 0;
}

const bool registered = registerCommand({"yedekler", kUsage, runList});
}  // namespace
