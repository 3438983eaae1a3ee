// Maintenance at 100,000 records (or the count given): backing up, compacting (without the
// window's pauses) and clearing through the dataset.
//   bench_maintenance [N]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "Dataset.h"
#include "DemoData.h"
#include "Maintenance.h"
#include "Store.h"
#include "../Measure.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data.mdb"));
    records::writeDemoDatabase(data, count);
    std::printf("records: %d, file %.1f MB\n", count, QFile(data).size() / 1048576.0);
    records::Dataset ds;
    ds.open(data);  // the program holds it open meanwhile

    QElapsedTimer t;
    t.start();
    records::backupDatabase(data, dir.filePath(QStringLiteral("yedek.mdb")));
    std::printf("backup (online, verified):   %8.1f ms\n", ms(t));

    t.restart();
    records::compactDatabase(data, dir.filePath(QStringLiteral("Yedek.mdb")));
    std::printf("compact (VACUUM INTO, verified): %6.1f ms\n", ms(t));
    QFile::remove(dir.filePath(QStringLiteral("Yedek.mdb")));

    t.restart();
    int steps = 0;
    ds.removeAll([&](int) { ++steps; });
    std::printf("clear all records:           %8.1f ms (%d progress steps)\n", ms(t), steps);
    return 0;
}
