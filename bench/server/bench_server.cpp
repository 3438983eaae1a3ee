// The records on a PostgreSQL server against the same records in the file, in one run:
//   bench_server [N]
// Starts a private cluster (scripts/pg-cluster) in a temporary folder, copies a demo database
// of N records (100,000 by default) onto it, then measures on both engines: opening Query1,
// one durable post, an incremental locate landing on another record each time and one
// keystroke of typing a name (the search stays in memory), and the backup
// snapshot of the server as a standalone file; then export-csv from either engine against the
// server's own COPY to CSV.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "Dataset.h"
#include "RecordStore.h"
#include "Schema.h"
#include "../BenchData.h"
#include "../Measure.h"

namespace {

QString startCluster(const QString &folder)
{
    QProcess p;
    p.start(QStringLiteral(KALPIYON_SCRIPTS "/pg-cluster"), {QStringLiteral("start"), folder});
    p.waitForFinished(120000);
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : QString();
}

void stopCluster(const QString &folder)
{
    QProcess::execute(QStringLiteral(KALPIYON_SCRIPTS "/pg-cluster"), {QStringLiteral("stop"), folder});
}

void copyRecords(const QString &from, const QString &to)
{
    auto source = records::openRecordStore(from);
    records::createRecordStore(to, true);
    records::copyAllRecords(*source, *records::openRecordStore(to));
}

struct Figures {
    double openMs, postMs, locateMs, typingMs;
};

Figures measure(const QString &address)
{
    QElapsedTimer t;
    t.start();
    records::Dataset ds;
    ds.open(address);
    Figures f{};
    f.openMs = ms(t);
    const int ef = records::fieldIndex(QStringLiteral("EF"));
    constexpr int kPosts = 200;
    t.restart();
    for (int i = 0; i < kPosts; ++i) {
        ds.setRecNo(1 + i * 37 % std::max(1, ds.recordCount()));
        ds.edit();
        ds.setText(ef, QString::number(40 + i % 30));
        ds.post();
    }
    f.postMs = ms(t) / kPosts;
    const QStringList prefixes{QStringLiteral("Ş"), QStringLiteral("ŞEK"), QStringLiteral("ÖZT"), QStringLiteral("KOÇ A")};
    t.restart();
    for (int r = 0; r < 250; ++r)
        for (const QString &p : prefixes)
            ds.locate(QStringLiteral("Adi_Soyadi"), p, {true, false});
    f.locateMs = ms(t) / (250 * prefixes.size());
    // A user typing names into the search field, keystroke by keystroke, as the list has them.
    QStringList typed;
    for (int n = 0; n < 50; ++n) {
        const QString name = ds.rowText(int(qint64(ds.recordCount()) * n / 50), records::fieldIndex(QStringLiteral("Adi_Soyadi")));
        for (int k = 1; k <= std::min<int>(12, int(name.size())); ++k)
            typed << name.left(k);
    }
    t.restart();
    for (const QString &text : typed)
        ds.locate(QStringLiteral("Adi_Soyadi"), text, {true, false});
    f.typingMs = ms(t) / std::max<qsizetype>(1, typed.size());
    return f;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::recordCount(argc, argv);
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ExeGroup | QFileDevice::ExeOther);
    const QString file = dir.filePath(QStringLiteral("Data.mdb"));
    const QString cluster = dir.filePath(QStringLiteral("pg"));
    bench::demoDatabase(file, count);
    const QString server = startCluster(cluster);
    if (server.isEmpty()) {
        std::printf("no PostgreSQL cluster could be started\n");
        return 1;
    }
    QElapsedTimer t;
    t.start();
    copyRecords(file, server);
    std::printf("%d records copied onto the server:  %8.1f ms\n", count, ms(t));

    const Figures onFile = measure(file);
    const Figures onServer = measure(server);
    std::printf("%-30s %12s %12s %8s\n", "", "file", "server", "ratio");
    std::printf("%-30s %9.1f ms %9.1f ms %8.2f\n", "open Query1:", onFile.openMs, onServer.openMs, onServer.openMs / onFile.openMs);
    std::printf("%-30s %9.3f ms %9.3f ms %8.2f\n", "one durable post:", onFile.postMs, onServer.postMs, onServer.postMs / onFile.postMs);
    std::printf("%-30s %9.4f ms %9.4f ms %8.2f\n", "locate, another record each:", onFile.locateMs, onServer.locateMs,
                onServer.locateMs / onFile.locateMs);
    std::printf("%-30s %9.4f ms %9.4f ms %8.2f\n", "one keystroke typing a name:", onFile.typingMs, onServer.typingMs,
                onServer.typingMs / onFile.typingMs);

    t.restart();
    const qint64 written = records::openRecordStore(server)->snapshotTo(dir.filePath(QStringLiteral("Yedek.mdb")));
    std::printf("%-30s %9.1f ms (%lld records)\n", "server snapshot to a file:", ms(t), qlonglong(written));

    // export-csv streams from both engines; the bare baseline is the server's own CSV copy.
    const auto exportOf = [&](const QString &address) {
        return bench::run({KALPIYON_VERI, "export-csv", address.toStdString()}, dir.filePath(QStringLiteral("out.csv")));
    };
    const bench::Run fromFile = exportOf(file), fromServer = exportOf(server);
    const bench::Run bare = bench::run({"psql", server.toStdString(), "-qAtX", "-c", "COPY veriler TO STDOUT (FORMAT csv, HEADER)"},
                                       dir.filePath(QStringLiteral("bare.csv")));
    std::printf("%-30s %9.1f ms %9.1f ms %8.2f   peak %.1f MB / %.1f MB\n", "export-csv:", fromFile.ms, fromServer.ms,
                fromServer.ms / fromFile.ms, fromFile.peakMB, fromServer.peakMB);
    std::printf("%-30s %22.1f ms            peak %.1f MB\n", "  baseline psql COPY to CSV:", bare.ms, bare.peakMB);
    stopCluster(cluster);
    return 0;
}
