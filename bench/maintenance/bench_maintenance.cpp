// Maintenance at 100,000 records (or the count given): backing up, compacting (without the
// window's pauses) and clearing through the dataset, the last against the bare baseline:
// the same 500-row durable batches deleted in storage order on a copy of the same file.
//   bench_maintenance [N]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

#include "Dataset.h"
#include "AutoBackup.h"
#include "DemoData.h"
#include "Maintenance.h"
#include "../BenchData.h"

namespace {
// Deletes every row in rowid order, 500 per committed transaction, with the store's
// durability settings; returns the number of batches.
int bareBatchedDelete(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    std::vector<qint64> keys;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM veriler", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        keys.push_back(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db, "DELETE FROM veriler WHERE rowid=?1", -1, &st, nullptr);
    int batches = 0;
    for (size_t from = 0; from < keys.size(); from += 500, ++batches) {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (size_t i = from; i < std::min(keys.size(), from + 500); ++i) {
            sqlite3_reset(st);
            sqlite3_bind_int64(st, 1, keys[i]);
            sqlite3_step(st);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return batches;
}
}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::recordCount(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data.mdb"));
    bench::demoDatabase(data, count);
    std::printf("records: %d, file %.1f MB\n", count, QFile(data).size() / 1048576.0);
    records::Dataset ds;
    ds.open(data);  // the program holds it open meanwhile

    QElapsedTimer t;
    t.start();
    records::backupDatabase(data, dir.filePath(QStringLiteral("yedek.mdb")));
    std::printf("backup (online, verified):   %8.1f ms\n", ms(t));

    // The automatic backup at closing, into one folder and into two (the target: under 2 s).
    namespace ab = records::autobackup;
    const QString secenekler = dir.filePath(QStringLiteral("Secenekler"));
    t.restart();
    ab::takeBackup(data, ab::Occasion::Closing, QDateTime::currentDateTime(), secenekler);
    std::printf("automatic backup, one folder: %7.1f ms\n", ms(t));
    QDir().mkpath(dir.filePath(QStringLiteral("usb")));
    QFile ini(secenekler);
    ini.open(QIODevice::WriteOnly);
    ini.write("[Yedek]\r\nIkinciKlasor=usb\r\n");
    ini.close();
    t.restart();
    ab::takeBackup(data, ab::Occasion::BeforeClearing, QDateTime::currentDateTime().addSecs(1), secenekler);
    std::printf("automatic backup, two folders: %6.1f ms\n", ms(t));
    t.restart();
    ab::takeBackup(data, ab::Occasion::Closing, QDateTime::currentDateTime().addSecs(2), secenekler);
    std::printf("closing again the same day:  %8.1f ms (nothing written)\n", ms(t));

    t.restart();
    records::compactDatabase(data, dir.filePath(QStringLiteral("Yedek.mdb")));
    std::printf("compact (VACUUM INTO, verified): %6.1f ms\n", ms(t));
    QFile::remove(dir.filePath(QStringLiteral("Yedek.mdb")));

    // The backup is a copy of the same file: the baseline clears it.
    const QString copy = dir.filePath(QStringLiteral("yedek.mdb"));
    t.restart();
    int steps = 0;
    ds.removeAll([&](int) { ++steps; });
    const double cleared = ms(t);
    t.restart();
    const int batches = bareBatchedDelete(copy);
    const double bare = ms(t);
    std::printf("clear all records:           %8.1f ms (%d progress steps)\n", cleared, steps);
    std::printf("  baseline batched delete:   %8.1f ms (%d batches of 500 in storage order)  ratio %.2f\n", bare, batches,
                cleared / bare);
    return 0;
}
