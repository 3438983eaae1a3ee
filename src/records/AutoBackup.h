#pragma once
// Automatic backups of the database: dated generations (Kalpiyon-YYYYMMDD-HHMMSS.mdb) in one
// or two backup folders, taken when the program ends normally (at most once a day per folder)
// and right before the records are cleared, thinned by age, and put back by one atomic rename.
// GUI-free: nothing here shows a window; what could not be written is recorded in a report
// file that the program shows at its next start.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace settings {
class Settings;
}

namespace records::autobackup {

// --- Generations ---------------------------------------------------------------------

QString fileNameFor(const QDateTime &stamp);
// The stamp a generation's file name carries; invalid for any other name.
QDateTime stampOf(const QString &fileName);

// The thinning rule, a pure function of the stamps and today. Kept are: every stamp of the
// last 7 days (today and the six before); the newest stamp of each of the 8 calendar weeks
// (Monday to Sunday) up to this one; the newest stamp of each of the 24 calendar months up to
// this one; and any stamp after today (a clock set back must not delete anything).
QList<QDateTime> stampsToKeep(const QList<QDateTime> &stamps, const QDate &today);

struct Generation {
    QString path;
    QDateTime stamp;
    qint64 size = 0;
};
// The generations in `folder`, newest first (other files are ignored).
QList<Generation> generations(const QString &folder);

// What a list of backups shows of one file: its date (from a generation's name, else the
// file's modification time), size and record count (-1 with `error` when it cannot be read).
struct BackupInfo {
    QString path;
    QDateTime stamp;
    qint64 size = 0;
    qint64 records = -1;
    QString error;
};
BackupInfo describe(const QString &path);

// --- Folders -------------------------------------------------------------------------

// The backup folders of Secenekler (settings::Key::BackupFolder, "Yedekler" in the folder of
// the database by default; a relative path counts from there) and an optional second one
// (a USB stick or a network share), which must exist: it is never created, so that a stick
// that is not plugged in is reported instead of filled in on the bare mount point.

struct Folders {
    QString primary;
    QString second;  // empty when none is set
    QStringList all() const { return second.isEmpty() ? QStringList{primary} : QStringList{primary, second}; }
};
// `seceneklerFile` empty: the program's own Secenekler (settings::seceneklerPath()).
Folders backupFolders(const QString &dataPath, const QString &seceneklerFile = QString());
// The same from settings held in memory (a window's fields before they are saved).
Folders backupFolders(const QString &dataPath, const settings::Settings &options);

// --- Taking a backup -----------------------------------------------------------------

enum class Occasion { Closing, BeforeClearing };

struct Result {
    QStringList written;   // the new generations
    QStringList skipped;   // folders that already hold one of today (closing only)
    QStringList problems;  // one Turkish line per failure, also recorded in the report file
};

// Writes a verified generation of `dataPath` into each backup folder (SQLite's online backup,
// integrity check, record count; temporary name, synced, renamed; owner-only), then thins the
// folder; the second folder gets a synced copy of the first one's verified file. On closing,
// a folder that already holds a generation of `now`'s day is skipped.
Result takeBackup(const QString &dataPath, Occasion occasion, const QDateTime &now = QDateTime::currentDateTime(),
                  const QString &seceneklerFile = QString());

// The report file: "Yedek-sorunlari.txt" in the folder of the database (it is writable
// wherever the database is, and belongs to that practice). One line per failure.
QString reportFile(const QString &dataPath);
// The recorded failures, removed from the file: each is reported once.
QStringList takeReportedProblems(const QString &dataPath);

// --- Restoring -----------------------------------------------------------------------

// The name under which the current database is kept before a restore replaces it:
// "Data-geri-yukleme-oncesi-YYYYMMDD-HHMMSS.mdb" beside it.
QString keptCopyName(const QString &dataPath, const QDateTime &now);

// Puts the backup in the place of `dataPath`. The backup is checked first (opens, integrity,
// schema): a damaged one throws Error and nothing changes. Then a verified copy is written
// beside the database, the current database is kept under keptCopyName() (a hard link, or a
// copy where links are not possible), and the copy replaces it in one atomic rename, so an
// interruption at any moment leaves either the old or the new database. Returns the kept
// copy's path (empty when there was no database to keep). Test seam points after each step:
// "restore:checked", "restore:copied", "restore:kept", "restore:replaced".
QString restore(const QString &backupPath, const QString &dataPath, const QDateTime &now = QDateTime::currentDateTime());

}  // namespace records::autobackup
