// Store and dataset figures at 100,000 records (or the count given):
//   bench_records [N]
// Opening Query1 (time, resident memory, bytes per record) against the bare baseline (one
// scan, Turkish sort keys in one memory block, the sort), then locate, moves, a post and a
// read of four columns of every row.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "Dataset.h"
#include "../BenchData.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::recordCount(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.mdb"));

    QElapsedTimer t;
    t.start();
    bench::demoDatabase(path, count);
    std::printf("demo database, %d records:   %8.1f ms\n", count, ms(t));

    // Each in its own process; what the open leaves in memory is what the program keeps.
    const bench::ChildFigures bare = bench::inChild([&] { bench::scanAndSortBaseline(path); });
    const bench::ChildFigures opened = bench::inChild([&] { (new records::Dataset)->open(path); });
    auto line = [count](const char *what, const bench::ChildFigures &f) {
        std::printf("%-34s %8.1f ms (%.1f ms processor), +%6.1f MB resident, %.0f bytes per record\n", what, f.ms, f.cpuMs,
                    f.residentMB, f.residentMB * 1048576 / std::max(count, 1));
    };
    line("open Query1:", opened);
    line("  baseline scan + sort keys:", bare);
    std::printf("  ratio: %.2f (time), %.2f (processor), %.2f (memory)\n", opened.ms / bare.ms, opened.cpuMs / bare.cpuMs,
                opened.residentMB / bare.residentMB);

    const double before = residentMB();
    records::Dataset ds;
    ds.open(path);
    std::printf("resident memory after open:       %8.1f MB (%.1f MB before open)\n", residentMB(), before);

    const QStringList prefixes{QStringLiteral("Ş"), QStringLiteral("ŞE"), QStringLiteral("ŞEK"), QStringLiteral("ÖZT"),
                               QStringLiteral("ÇAĞ"), QStringLiteral("YIL"), QStringLiteral("KOÇ A"), QStringLiteral("ZZ")};
    t.restart();
    const int rounds = 200;
    for (int r = 0; r < rounds; ++r)
        for (const QString &p : prefixes)
            ds.locate(QStringLiteral("Adi_Soyadi"), p, {true, false});
    std::printf("one incremental locate:           %8.4f ms\n", ms(t) / (rounds * prefixes.size()));

    ds.first();
    t.restart();
    for (int i = 0; i < 1000; ++i)
        ds.next();
    std::printf("one move (next x1000):            %8.4f ms\n", ms(t) / 1000);

    t.restart();
    for (int i = 0; i < 1000; ++i)
        ds.setRecNo(1 + (i * 7919) % count);
    std::printf("one jump (random record x1000):   %8.4f ms\n", ms(t) / 1000);

    const int yas = records::fieldIndex(QStringLiteral("Yas"));
    double total = 0;
    const int posts = 20;
    for (int i = 0; i < posts; ++i) {
        ds.setRecNo(1 + i * 1000);
        ds.edit();
        ds.setText(yas, QString::number(20 + i));
        t.restart();
        ds.post();
        total += ms(t);
    }
    std::printf("one post (durable):               %8.2f ms\n", total / posts);

    t.restart();
    const auto rows = ds.readColumns({0, 1, 2, 3});
    std::printf("read 4 columns of every row:      %8.1f ms (%d rows)\n", ms(t), rows.rowCount());
    return 0;
}
