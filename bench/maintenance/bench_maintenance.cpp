// Maintenance at 100,000 records (or the count given): backing up, compacting (without the
// window's pauses) and clearing through the dataset.
//   bench_maintenance [N]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "Dataset.h"
#include "AutoBackup.h"
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

    t.restart();
    int steps = 0;
    ds.removeAll([&](int) { ++steps; });
    std::printf("clear all records:           %8.1f ms (%d progress steps)\n", ms(t), steps);
    return 0;
}
