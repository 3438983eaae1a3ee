#include "AutoBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <filesystem>

#include "DurableFile.h"
#include "Error.h"
#include "Maintenance.h"
#include "Settings.h"
#include "RecordStore.h"
#include "Store.h"
#include "TestSeam.h"

namespace records::autobackup {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// The data folder: the database file's, or the working folder of a desk on a server.
QString folderOf(const QString &path)
{
    return isServerAddress(path) ? QDir::currentPath() : QFileInfo(path).absolutePath();
}

// The folder must be there to take a generation: the default one is made on first use
// (owner-only), a named second folder never is.
void prepareFolder(const QString &folder, bool mayCreate)
{
    if (QFileInfo(folder).isDir())
        return;
    if (!mayCreate)
        throw Error(QStringLiteral("klasör yok (disk veya bellek takılı değil mi?)"));
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("klasör oluşturulamadı"));
    QFile::setPermissions(folder, kOwnerOnly | QFileDevice::ExeOwner);
}

bool hasGenerationOf(const QString &folder, const QDate &day)
{
    for (const Generation &g : generations(folder))
        if (g.stamp.date() == day)
            return true;
    return false;
}

// Deletes the generations the thinning rule lets go; a file that cannot be deleted is a
// problem to report, not a reason to stop.
void thin(const QString &folder, const QDate &today, QStringList &problems)
{
    // Temporary files of a backup that was interrupted (power cut, killed process).
    for (const QString &stale : QDir(folder).entryList({QStringLiteral("Kalpiyon-*.mdb.*gecici")}, QDir::Files))
        QFile::remove(QDir(folder).filePath(stale));
    const QList<Generation> all = generations(folder);
    QList<QDateTime> stamps;
    for (const Generation &g : all)
        stamps << g.stamp;
    const QList<QDateTime> keep = stampsToKeep(stamps, today);
    for (const Generation &g : all)
        if (!keep.contains(g.stamp) && !QFile::remove(g.path))
            problems << QStringLiteral("Eski yedek '%1' silinemedi.").arg(QDir::toNativeSeparators(g.path));
}

void writeGeneration(const QString &dataPath, const QString &target)
{
    // Online backup (or the server's records in one snapshot), verified, temporary name renamed
    // into place.
    backupRecords(dataPath, target);
    QFile::setPermissions(target, kOwnerOnly);
    durable::syncFolderOf(target);
}

void appendToReport(const QString &dataPath, const QStringList &lines, const QDateTime &now)
{
    QFile existing(reportFile(dataPath));
    QByteArray text = existing.open(QIODevice::ReadOnly) ? existing.readAll() : QByteArray();
    existing.close();
    for (const QString &line : lines)
        text += (now.toString(QStringLiteral("dd.MM.yyyy HH:mm")) + QStringLiteral(": ") + line + QLatin1Char('\n')).toUtf8();
    durable::writeFile(reportFile(dataPath), text);
}

// Copies a file through a temporary name, synced, then renamed into place.
void copyDurably(const QString &from, const QString &to)
{
    const QString temp = to + QStringLiteral(".gecici");
    QFile in(from), out(temp);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("'%1' okunamadı: %2").arg(from, in.errorString()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(to, out.errorString()));
    out.setPermissions(kOwnerOnly);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (in.error() != QFile::NoError || out.write(chunk) != chunk.size()) {
            out.remove();
            throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(to, out.errorString()));
        }
    }
    QString error;
    if (!durable::syncFile(out) || (out.close(), !durable::rename(temp, to, &error))) {
        QFile::remove(temp);
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(to, error.isEmpty() ? out.errorString() : error));
    }
}

// The second folder gets the bytes of the generation just written and verified, which is
// quicker than a second online backup and its check; the copy must open with the same count.
void copyGeneration(const QString &verified, const QString &target)
{
    copyDurably(verified, target);
    try {
        if (Store(target).recordCount() != Store(verified).recordCount())
            throw Error(QStringLiteral("kopya eksik"));
    } catch (const Error &e) {
        QFile::remove(target);
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(target, e.message()), e.details());
    }
}

// The current database under a second name: a hard link where the file system has them (no
// bytes move, so a damaged database is kept exactly as it was), a durable copy otherwise.
void keepCurrent(const QString &dataPath, const QString &kept)
{
    std::error_code ec;
    std::filesystem::create_hard_link(QFile::encodeName(dataPath).toStdString(), QFile::encodeName(kept).toStdString(), ec);
    if (ec)
        copyDurably(dataPath, kept);
    else
        durable::syncFolderOf(kept);
}

// A journal beside the old database belongs to it alone: applied to the restored file it
// would damage it. Opening the database rolls a hot journal back; one that remains (the old
// file is damaged) moves to the kept copy, where SQLite looks for it.
void moveJournalsAway(const QString &dataPath, const QString &kept)
{
    const QStringList suffixes{QStringLiteral("-journal"), QStringLiteral("-wal")};
    for (const QString &s : suffixes)
        if (QFileInfo::exists(dataPath + s)) {
            try {
                verifyDatabase(dataPath);
            } catch (const Error &) {
                // damaged: the journal goes with the kept copy below
            }
            break;
        }
    for (const QString &s : suffixes) {
        if (!QFileInfo::exists(dataPath + s))
            continue;
        QString error;
        if (!durable::rename(dataPath + s, kept + s, &error))
            throw Error(QStringLiteral("'%1' taşınamadı: %2").arg(dataPath + s, error));
    }
}

}  // namespace

QString fileNameFor(const QDateTime &stamp)
{
    return QStringLiteral("Kalpiyon-%1.mdb").arg(stamp.toString(kStampFormat));
}

QDateTime stampOf(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^Kalpiyon-(\\d{8}-\\d{6})\\.mdb$"));
    const QRegularExpressionMatch m = pattern.match(fileName);
    return m.hasMatch() ? QDateTime::fromString(m.captured(1), kStampFormat) : QDateTime();
}

QList<QDateTime> stampsToKeep(const QList<QDateTime> &stamps, const QDate &today)
{
    const auto weekStart = [](const QDate &d) { return d.addDays(1 - d.dayOfWeek()); };
    const auto monthIndex = [](const QDate &d) { return d.year() * 12 + d.month() - 1; };
    QMap<QDate, int> newestOfWeek;
    QMap<int, int> newestOfMonth;
    QList<bool> keep(stamps.size(), false);
    const auto newer = [&](int candidate, int current) { return stamps[candidate] > stamps[current]; };
    for (int i = 0; i < stamps.size(); ++i) {
        const QDate d = stamps[i].date();
        if (d.daysTo(today) < 7)
            keep[i] = true;  // the last 7 days, and any day after today
        const QDate week = weekStart(d);
        if (week.daysTo(weekStart(today)) / 7 < 8 && (!newestOfWeek.contains(week) || newer(i, newestOfWeek[week])))
            newestOfWeek[week] = i;
        const int month = monthIndex(d);
        if (monthIndex(today) - month < 24 && (!newestOfMonth.contains(month) || newer(i, newestOfMonth[month])))
            newestOfMonth[month] = i;
    }
    for (int i : newestOfWeek)
        keep[i] = true;
    for (int i : newestOfMonth)
        keep[i] = true;
    QList<QDateTime> kept;
    for (int i = 0; i < stamps.size(); ++i)
        if (keep[i])
            kept << stamps[i];
    return kept;
}

QList<Generation> generations(const QString &folder)
{
    QList<Generation> list;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("Kalpiyon-*.mdb")}, QDir::Files);
    for (const QFileInfo &f : files) {
        const QDateTime stamp = stampOf(f.fileName());
        if (stamp.isValid())
            list << Generation{f.absoluteFilePath(), stamp, f.size()};
    }
    std::sort(list.begin(), list.end(), [](const Generation &a, const Generation &b) { return a.stamp > b.stamp; });
    return list;
}

BackupInfo describe(const QString &path)
{
    const QFileInfo f(path);
    BackupInfo info{f.absoluteFilePath(), stampOf(f.fileName()), f.size(), -1, QString()};
    if (!info.stamp.isValid())
        info.stamp = f.lastModified();
    try {
        info.records = Store(path).recordCount();
    } catch (const Error &e) {
        const QString turkish = openRefusalInTurkish(e.message());
        info.error = turkish.isEmpty() ? e.message() : turkish;
    }
    return info;
}

Folders backupFolders(const QString &dataPath, const QString &seceneklerFile)
{
    return backupFolders(dataPath, settings::Settings::load(settings::File::Secenekler, seceneklerFile));
}

Folders backupFolders(const QString &dataPath, const settings::Settings &options)
{
    const QDir dataFolder(folderOf(dataPath));
    const auto resolve = [&](const QString &value) { return QDir::cleanPath(dataFolder.absoluteFilePath(value)); };
    const QString second = options.text(settings::Key::SecondBackupFolder);
    Folders f;
    f.primary = resolve(options.text(settings::Key::BackupFolder));
    if (!second.isEmpty() && resolve(second) != f.primary)
        f.second = resolve(second);
    return f;
}

Result takeBackup(const QString &dataPath, Occasion occasion, const QDateTime &now, const QString &seceneklerFile)
{
    Result r;
    const Folders folders = backupFolders(dataPath, seceneklerFile);
    for (const QString &folder : folders.all()) {
        try {
            prepareFolder(folder, folder == folders.primary);
            if (occasion == Occasion::Closing && hasGenerationOf(folder, now.date())) {
                r.skipped << folder;
            } else {
                const QString target = QDir(folder).filePath(fileNameFor(now));
                if (r.written.isEmpty())
                    writeGeneration(dataPath, target);
                else
                    copyGeneration(r.written.first(), target);
                r.written << target;
            }
            thin(folder, now.date(), r.problems);
        } catch (const Error &e) {
            r.problems << QStringLiteral("'%1' klasörüne yedek yazılamadı: %2").arg(QDir::toNativeSeparators(folder), e.message());
        }
    }
    if (!r.problems.isEmpty())
        appendToReport(dataPath, r.problems, now);
    return r;
}

QString reportFile(const QString &dataPath)
{
    return QDir(folderOf(dataPath)).filePath(QStringLiteral("Yedek-sorunlari.txt"));
}

QStringList takeReportedProblems(const QString &dataPath)
{
    QFile f(reportFile(dataPath));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    f.close();
    f.remove();
    return lines;
}

QString keptCopyName(const QString &dataPath, const QDateTime &now)
{
    return QStringLiteral("%1-geri-yukleme-oncesi-%2.mdb").arg(QFileInfo(dataPath).completeBaseName(), now.toString(kStampFormat));
}

QString restore(const QString &backupPath, const QString &dataPath, const QDateTime &now)
{
    if (isServerAddress(dataPath))
        throw Error(QStringLiteral("Kayıtlar bir veritabanı sunucusunda; sunucudaki kayıtların yerine bir yedeği koymak "
                                   "için programları kapatıp 'kalpiyon-veri kopyala YEDEK SUNUCU --force' çalıştırın. "
                                   "Hiçbir şey değiştirilmedi."));
    if (!QFileInfo(backupPath).isFile())
        throw Error(QStringLiteral("Yedek dosyası '%1' bulunamadı.").arg(backupPath));
    try {
        verifyBackupFile(backupPath);
    } catch (const Error &e) {
        throw Error(QStringLiteral("'%1' geri yüklenemez; hiçbir şey değiştirilmedi.\n%2").arg(backupPath, e.message()), e.details());
    }
    seam::at("restore:checked");
    const QString copy = dataPath + QStringLiteral(".geri-yukleme");
    QFile::remove(copy);  // left by an interrupted restore
    try {
        writeGeneration(backupPath, copy);
    } catch (const Error &e) {
        throw Error(QStringLiteral("Geri yükleme yapılamadı; veritabanı değiştirilmedi.\n%1").arg(e.message()), e.details());
    }
    seam::at("restore:copied");
    QString kept;
    try {
        if (QFileInfo::exists(dataPath)) {
            kept = QDir(folderOf(dataPath)).filePath(keptCopyName(dataPath, now));
            for (int n = 2; QFileInfo::exists(kept); ++n)  // two restores within one second
                kept = QDir(folderOf(dataPath)).filePath(keptCopyName(dataPath, now).replace(QLatin1String(".mdb"), QStringLiteral("-%1.mdb").arg(n)));
            keepCurrent(dataPath, kept);
            moveJournalsAway(dataPath, kept);
            seam::at("restore:kept");
        }
        QString error;
        if (!durable::rename(copy, dataPath, &error))
            throw Error(QStringLiteral("'%1' yerine konamadı: %2").arg(dataPath, error));
    } catch (const Error &e) {
        QFile::remove(copy);
        throw Error(QStringLiteral("Geri yükleme yapılamadı; veritabanı değiştirilmedi.\n%1").arg(e.message()), e.details());
    }
    seam::at("restore:replaced");
    return kept;
}

}  // namespace records::autobackup
