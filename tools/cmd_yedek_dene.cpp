// yedek-dene [DB]: proves that the backups restore. The newest generation of each backup
// folder is opened and checked (integrity, schema) and its record count compared with the
// live database; exit status 0 only when every folder passes.
#include "BackupArgs.h"
#include "Error.h"
#include "Maintenance.h"

namespace {
const char *kUsage = "yedek-dene [DB] [--secenekler DOSYA]";

// One folder's verdict; empty when it passes.
QString tryNewest(const QString &folder, qint64 live, QTextStream &s)
{
    const auto list = records::autobackup::generations(folder);
    if (list.isEmpty())
        return QStringLiteral("yedek yok");
    const auto &newest = list.first();
    qint64 count = 0;
    try {
        count = records::verifyDatabase(newest.path);
    } catch (const Error &e) {
        return QStringLiteral("%1 sağlam değil: %2").arg(QFileInfo(newest.path).fileName(), e.message());
    }
    s << "  " << QFileInfo(newest.path).fileName() << ": sağlam, " << count << " kayıt\n";
    if (count != live)
        return QStringLiteral("yedekte %1 kayıt var, veritabanında %2 (yedek alındıktan sonra kayıt eklenmiş ya da silinmiş)")
            .arg(count).arg(live);
    return QString();
}

int runTry(const QCommandLineParser &line)
{
    const BackupArgs a = backupArgs(line, 0);
    const qint64 live = records::verifyDatabase(a.database);
    QTextStream &s = out();
    s << "Veritabanı: " << QDir::toNativeSeparators(a.database) << ", " << live << " kayıt\n";
    int failed = 0;
    for (const QString &folder : a.folders.all()) {
        s << "Yedek klasörü: " << QDir::toNativeSeparators(folder) << "\n";
        const QString verdict = tryNewest(folder, live, s);
        if (verdict.isEmpty()) {
            s << "  Tamam\n";
        } else {
            ++failed;
            s.flush();
            err() << "  Sorun: " << verdict << "\n";
            err().flush();
        }
    }
    s << (failed ? "Yedeklerde sorun var.\n" : "Yedekler geri yüklenebilir.\n");
    return failed ? 1 : 0;
}

const bool registered = registerCommand({"yedek-dene", kUsage, runTry});
}  // namespace
