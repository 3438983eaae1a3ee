// The server engine when things go wrong: a server stopped in the middle of a session, a desk
// killed while it posts, and a practice moved onto the server and back with the data tool.
// Each test starts its own PostgreSQL cluster (scripts/pg-cluster) in a temporary folder, so
// stopping it disturbs no other test.
#include <QtTest>
#include <csignal>

#include "AutoBackup.h"
#include "Error.h"
#include "Settings.h"
#include "RecordStore.h"
#include "Schema.h"
#include "PgCluster.h"
#include "TestDb.h"

using testpg::Cluster;
using testpg::run;

namespace {

QVector<QVariant> patient(const QString &name, int n)
{
    return testdb::record(name, {{QStringLiteral("Prot_No"), QString::number(n)}, {QStringLiteral("Tarih"), QStringLiteral("2024-03-01")}});
}

}  // namespace

class TestServer : public testpg::ClusterTest {
    Q_OBJECT

private slots:
    // The server goes away: the write fails with a message naming it, nothing is half
    // written; once it is back the same write succeeds on the same connection.
    void serverStoppedMidSession()
    {
        records::createRecordStore(cluster_->address(), true);
        auto store = records::openRecordStore(cluster_->address());
        const qint64 key = store->insert(patient(QStringLiteral("AHMET"), 1));
        const QVector<QVariant> read = store->readRecord(key);
        QVector<QVariant> typed = read;
        typed[records::fieldIndex(QStringLiteral("EF"))] = QStringLiteral("55");

        cluster_->stop();
        const QString msg = testdb::errorOf([&] { store->updateIfUnchanged(key, read, typed); });
        QVERIFY2(msg.contains(QStringLiteral("Veritabanı sunucusu")), qPrintable(msg));
        QVERIFY2(msg.contains(cluster_->folder()), qPrintable(msg));

        QVERIFY(!cluster_->start().isEmpty());
        QCOMPARE(store->updateIfUnchanged(key, read, typed), 1);
        QCOMPARE(store->readRecord(key)[records::fieldIndex(QStringLiteral("EF"))].toString(), QStringLiteral("55"));
    }

    // A desk killed with SIGKILL in the middle of a stream of posts: every record it was told
    // was stored is there, whole, and nothing else is.
    void killedDeskLosesNoAcknowledgedRecord()
    {
        records::createRecordStore(cluster_->address(), true);
        QProcess desk;
        desk.setProgram(QCoreApplication::applicationFilePath());
        desk.setArguments({QStringLiteral("--post-stream"), cluster_->address()});
        desk.start();
        QVERIFY(desk.waitForStarted());
        QStringList acknowledged;
        QByteArray pending;
        QElapsedTimer clock;
        clock.start();
        while (acknowledged.size() < 200 && clock.elapsed() < 60000) {
            desk.waitForReadyRead(1000);
            pending += desk.readAllStandardOutput();
            while (pending.contains('\n')) {
                const int nl = pending.indexOf('\n');
                acknowledged << QString::fromUtf8(pending.left(nl));
                pending.remove(0, nl + 1);
            }
        }
        ::kill(pid_t(desk.processId()), SIGKILL);
        desk.waitForFinished(10000);
        pending += desk.readAllStandardOutput();
        for (const QByteArray &line : pending.split('\n'))
            if (!line.isEmpty())
                acknowledged << QString::fromUtf8(line);
        QVERIFY(acknowledged.size() >= 200);

        auto store = records::openRecordStore(cluster_->address());
        const int prot = records::fieldIndex(QStringLiteral("Prot_No"));
        const int ef = records::fieldIndex(QStringLiteral("EF"));
        QStringList stored;
        store->readRows({prot, ef}, [&](qint64, const QVector<QVariant> &v) {
            QCOMPARE(v[1].toString(), QStringLiteral("60"));  // whole records only
            stored << v[0].toString();
        });
        for (const QString &n : acknowledged)
            QVERIFY2(stored.contains(n), qPrintable(n));
        QVERIFY(stored.size() <= acknowledged.size() + 1);  // at most the one in flight
    }

    // kopyala moves a practice onto the server and back; export-csv of both files is identical.
    void copyRoundTripsThroughTheServer()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.mdb"));
        const QString b = dir.filePath(QStringLiteral("b.mdb"));
        int rc = 0;
        run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("demo"), a, QStringLiteral("300"), QStringLiteral("--seed"), QStringLiteral("7")}, &rc);
        QCOMPARE(rc, 0);
        testdb::sqliteCli(a, QStringLiteral("INSERT INTO veriler (Adi_Soyadi, Yas, Tarih) VALUES ('ÇİĞDEM \"TIRNAK\", VİRGÜL', '', '2001-02-03 04:05:06')"));
        run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("kopyala"), a, cluster_->address(), QStringLiteral("--force")}, &rc);
        QCOMPARE(rc, 0);
        run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("kopyala"), a, cluster_->address()}, &rc);
        QCOMPARE(rc, 1);  // an existing table is kept unless --force
        run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("kopyala"), cluster_->address(), b}, &rc);
        QCOMPARE(rc, 0);
        const QString csvA = run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("export-csv"), a});
        const QString csvB = run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("export-csv"), b});
        QCOMPARE(csvA.count(QLatin1Char('\n')), 301);
        QCOMPARE(csvB, csvA);
    }

    // The data tool on a server address: demo, check and export-csv give what they give for a
    // file with the same seed, in the same list order (put in order by the store and fetched in
    // batches of a thousand on the server, sorted by SQLite in the file).
    void toolCommandsTakeAServer()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Data.mdb"));
        const QString server = cluster_->address();
        int rc = 0;
        for (const QString &where : {file, server}) {
            run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("demo"), where, QStringLiteral("2500"), QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--force")}, &rc);
            QCOMPARE(rc, 0);
            QCOMPARE(run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("check"), where}, &rc), QStringLiteral("Veritabanı sağlam: 2500 kayıt."));
            QCOMPARE(rc, 0);
        }
        const QString fromFile = run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("export-csv"), file}, &rc);
        QCOMPARE(rc, 0);
        const QString fromServer = run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("export-csv"), server}, &rc);
        QCOMPARE(rc, 0);
        QCOMPARE(fromServer.count(QLatin1Char('\n')), 2500);
        QCOMPARE(fromServer, fromFile);
        run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("create"), server}, &rc);
        QCOMPARE(rc, 1);  // the table is there: kept without --force
    }

    // Two desks of one server practice share a backup folder: the first to close writes the
    // day's generation, a standalone file with every record; the second writes none.
    void desksShareTheDailyGeneration()
    {
        namespace ab = records::autobackup;
        records::createRecordStore(cluster_->address(), true);
        {
            auto store = records::openRecordStore(cluster_->address());
            for (int i = 0; i < 30; ++i)
                store->insert(patient(QStringLiteral("HASTA %1").arg(i), i));
        }
        QTemporaryDir dir;
        const QString secenekler = dir.filePath(QStringLiteral("Secenekler"));
        settings::writeText(settings::Key::BackupFolder, dir.filePath(QStringLiteral("Ortak")), secenekler);
        const QDateTime evening(QDate(2026, 12, 10), QTime(18, 0));
        const ab::Result first = ab::takeBackup(cluster_->address(), ab::Occasion::Closing, evening, secenekler);
        QCOMPARE(first.problems, QStringList());
        QCOMPARE(first.written.size(), 1);
        const auto copy = records::openRecordStore(first.written.first());
        copy->checkSchema();
        QCOMPARE(copy->recordCount(), 30);
        const ab::Result second = ab::takeBackup(cluster_->address(), ab::Occasion::Closing, evening.addSecs(600), secenekler);
        QCOMPARE(second.written, QStringList());
        QCOMPARE(second.skipped.size(), 1);
    }

    void cleanupTestCase() { cluster_.reset(); }
};

// The child desk of killedDeskLosesNoAcknowledgedRecord: posts records one by one and prints
// each one's protocol number once the server has confirmed it.
static int postStream(const QString &address)
{
    auto store = records::openRecordStore(address);
    QVector<QVariant> v = patient(QStringLiteral("HASTA"), 0);
    v[records::fieldIndex(QStringLiteral("EF"))] = QStringLiteral("60");
    for (int n = 1;; ++n) {
        v[records::fieldIndex(QStringLiteral("Prot_No"))] = QString::number(n);
        store->insert(v);
        fprintf(stdout, "%d\n", n);
        fflush(stdout);
    }
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--post-stream") == 0)
        return postStream(QString::fromUtf8(argv[2]));
    QCoreApplication app(argc, argv);
    TestServer t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_server.moc"
