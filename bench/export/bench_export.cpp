// kalpiyon-veri export-csv at 100,000 records (or the count given) against sqlite3 -csv on the
// same file, both writing to a file: elapsed time, processor time and peak memory.
//   bench_export [N]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "../BenchData.h"
#include "../Measure.h"

namespace {
using bench::Run;
using bench::run;

void print(const char *what, const Run &r)
{
    std::printf("%-26s %8.1f ms (%.1f ms processor), peak %6.1f MB, output %.1f MB\n", what, r.ms, r.cpuMs, r.peakMB, r.outputMB);
}
}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::recordCount(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data.mdb"));
    bench::demoDatabase(data, count);
    const std::string file = QFile::encodeName(data).toStdString();
    std::printf("records: %d\n", count);
    // Once each beforehand, so that both read the file from the page cache.
    run({"sqlite3", "-csv", file, "SELECT count(*) FROM veriler"}, dir.filePath(QStringLiteral("warm.txt")));
    const Run tool = run({KALPIYON_VERI, "export-csv", file}, dir.filePath(QStringLiteral("tool.csv")));
    const Run bare = run({"sqlite3", "-csv", "-header", file, "SELECT * FROM veriler"}, dir.filePath(QStringLiteral("bare.csv")));
    print("kalpiyon-veri export-csv:", tool);
    print("  baseline sqlite3 -csv:", bare);
    std::printf("  ratio %.2f (time), %.2f (processor), %.2f (peak memory)\n", tool.ms / bare.ms, tool.cpuMs / bare.cpuMs,
                tool.peakMB / bare.peakMB);
    return 0;
}
