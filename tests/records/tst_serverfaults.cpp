// A desk and its server when the server misbehaves: down when the desk starts, frozen in the
// middle of a save, a session ended by the server, and copies taken while desks save. Each
// test drives a private cluster (PgCluster.h) the way the fault was met.
#include <QtTest>
#include <atomic>
#include <csignal>
#include <thread>

#include "Dataset.h"
#include "Error.h"
#include "PgCluster.h"
#include "RecordStore.h"
#include "Schema.h"
#include "TestDb.h"

using testpg::Cluster;
using testpg::Thaw;
using testpg::run;

namespace {

QVector<QVariant> patient(const QString &name, int n)
{
    return testdb::record(name, {{QStringLiteral("Prot_No"), QString::number(n)}, {QStringLiteral("Tarih"), QStringLiteral("2024-03-01")}});
}

QStringList storedNames(const QString &address)
{
    QStringList names;
    records::openRecordStore(address)->readRows({records::fieldIndex(QStringLiteral("Adi_Soyadi"))},
                                               [&](qint64, const QVector<QVariant> &v) { names << v[0].toString(); });
    names.sort();
    return names;
}

}  // namespace

class TestServerFaults : public testpg::ClusterTest {
    Q_OBJECT

private slots:
    void cleanup()
    {
        records::setServerWaitHandler({});
        cluster_->signalAll(SIGCONT);
        cluster_->start();  // a test that stopped it
    }

    // The desk opens while its server is down; once the server is back, "Yeni" works without
    // a restart. While it is still down, the next action says so in Turkish.
    void deskStartedWhileServerDownConnectsLater()
    {
        records::createRecordStore(cluster_->address(), true);
        cluster_->stop();
        records::Dataset desk;
        const QString atStart = testdb::errorOf([&] { desk.open(cluster_->address()); });
        QVERIFY2(atStart.contains(QStringLiteral("ulaşılamadı")), qPrintable(atStart));
        QVERIFY(!desk.active());

        const QString stillDown = testdb::errorOf([&] { desk.append(); });
        QVERIFY2(stillDown.contains(QStringLiteral("ulaşılamadı")), qPrintable(stillDown));

        QVERIFY(!cluster_->start().isEmpty());
        desk.append();
        QCOMPARE(desk.state(), records::DataSetState::Insert);
        desk.setText(QStringLiteral("Adi_Soyadi"), QStringLiteral("AYŞE"));
        desk.post();
        QCOMPARE(storedNames(cluster_->address()), QStringList{QStringLiteral("AYŞE")});
    }

    // The server is frozen (SIGSTOP) when a save is sent: the desk gives up with a Turkish
    // message within a bounded time, its event loop runs meanwhile, and once the server thaws
    // the same record saves once, next to what was there.
    void frozenServerDuringSave()
    {
        records::createRecordStore(cluster_->address(), true);
        records::Dataset desk;
        desk.open(cluster_->address());
        desk.append();
        desk.setText(QStringLiteral("Adi_Soyadi"), QStringLiteral("AHMET"));
        desk.post();

        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(50);
        records::setServerWaitHandler([](qint64 waited) {
            if (waited >= 0)
                QCoreApplication::processEvents();
        });

        desk.append();
        desk.setText(QStringLiteral("Adi_Soyadi"), QStringLiteral("MEHMET"));
        QString message;
        qint64 took = 0;
        {
            cluster_->signalAll(SIGSTOP);
            Thaw thaw(*cluster_, 30000);
            QElapsedTimer clock;
            clock.start();
            message = testdb::errorOf([&] { desk.post(); });
            took = clock.elapsed();
        }  // thawed here
        QVERIFY2(took < 15000, qPrintable(QString::number(took)));
        QVERIFY2(message.contains(QStringLiteral("yanıt vermedi")), qPrintable(message));
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));

        QCOMPARE(desk.state(), records::DataSetState::Insert);  // the record stays as typed
        desk.post();
        QCOMPARE(storedNames(cluster_->address()), (QStringList{QStringLiteral("AHMET"), QStringLiteral("MEHMET")}));
        QCOMPARE(desk.recordCount(), 2);
    }

    // The server ends the desk's session (pg_terminate_backend): the desk connects again by
    // itself, with its lock timeout still set, so a table lock held by someone else refuses a
    // save after that timeout instead of making it wait for the lock.
    void lockTimeoutSurvivesReconnect()
    {
        records::createRecordStore(cluster_->address(), true);
        auto store = records::openRecordStore(cluster_->address());
        store->insert(patient(QStringLiteral("AHMET"), 1));
        testdb::otherClient(cluster_->address(),
                            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'Kalpiyon'"));
        testdb::errorOf([&] { store->recordCount(); });  // finds the session ended

        QProcess holder;
        testdb::startClient(holder, cluster_->address(),
                            {QStringLiteral("-c"), QStringLiteral("BEGIN; LOCK TABLE veriler IN ACCESS EXCLUSIVE MODE; SELECT pg_sleep(20); COMMIT;")});
        QVERIFY(holder.waitForStarted());
        const QString held = QStringLiteral("SELECT count(*) FROM pg_locks l JOIN pg_class c ON c.oid = l.relation "
                                            "WHERE c.relname = 'veriler' AND l.mode = 'AccessExclusiveLock' AND l.granted");
        QTRY_COMPARE_WITH_TIMEOUT(testdb::otherClient(cluster_->address(), held), QStringLiteral("1"), 10000);

        QElapsedTimer clock;
        clock.start();
        const QString message = testdb::errorOf([&] { store->insert(patient(QStringLiteral("MEHMET"), 2)); });
        const qint64 took = clock.elapsed();
        QVERIFY2(!message.isEmpty(), "the save waited for the lock");
        QVERIFY2(took < 7500, qPrintable(QString::number(took)));
        QVERIFY2(!message.contains(QStringLiteral("yanıt vermedi")), qPrintable(message));  // the server's bound, not ours

        testdb::otherClient(cluster_->address(),
                            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE query LIKE '%pg_sleep%' "
                                           "AND pid <> pg_backend_pid()"));
        QVERIFY(holder.waitForFinished(10000));
        store->insert(patient(QStringLiteral("MEHMET"), 2));
        QCOMPARE(store->recordCount(), 2);
    }

    // kopyala from the server while another process saves record after record: every copy
    // succeeds and holds one state of the server, every record of the saving desk up to some
    // number and none after it.
    void copiesWhileDesksSave()
    {
        const QString server = cluster_->address();
        int rc = 0;
        run(QStringLiteral(KALPIYON_VERI), {QStringLiteral("demo"), server, QStringLiteral("3000"), QStringLiteral("--seed"), QStringLiteral("5"), QStringLiteral("--force")}, &rc);
        QCOMPARE(rc, 0);
        QProcess desk;
        desk.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--insert-stream"), server});
        QVERIFY(desk.waitForStarted());
        QVERIFY(desk.waitForReadyRead(30000));  // saving has begun

        QTemporaryDir dir;
        const int prot = records::fieldIndex(QStringLiteral("Prot_No"));
        const int name = records::fieldIndex(QStringLiteral("Adi_Soyadi"));
        int previous = 0;
        for (int copy = 0; copy < 4; ++copy) {
            const QString file = dir.filePath(QStringLiteral("kopya%1.mdb").arg(copy));
            QProcess tool;
            tool.start(QStringLiteral(KALPIYON_VERI), {QStringLiteral("kopyala"), server, file});
            QVERIFY(tool.waitForFinished(120000));
            QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
            int demo = 0;
            QList<int> saved;
            records::openRecordStore(file)->readRows({name, prot}, [&](qint64, const QVector<QVariant> &v) {
                if (v[0].toString() == QLatin1String("YAZAN MASA"))
                    saved << v[1].toInt();
                else
                    ++demo;
            });
            QCOMPARE(demo, 3000);
            std::sort(saved.begin(), saved.end());
            for (int i = 0; i < saved.size(); ++i)
                QCOMPARE(saved[i], i + 1);  // a prefix of the saving desk's records: one state
            QVERIFY(saved.size() >= previous);
            previous = int(saved.size());
        }
        desk.kill();
        desk.waitForFinished(10000);
        QVERIFY(previous > 0);
    }

    void cleanupTestCase() { cluster_.reset(); }
};

// The saving desk of copiesWhileDesksSave: saves records one by one, numbered, and prints a
// line once the first is stored.
static int insertStream(const QString &address)
{
    auto store = records::openRecordStore(address);
    QVector<QVariant> v = patient(QStringLiteral("YAZAN MASA"), 0);
    for (int n = 1;; ++n) {
        v[records::fieldIndex(QStringLiteral("Prot_No"))] = QString::number(n);
        store->insert(v);
        if (n == 1) {
            fprintf(stdout, "saving\n");
            fflush(stdout);
        }
    }
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--insert-stream") == 0)
        return insertStream(QString::fromUtf8(argv[2]));
    QCoreApplication app(argc, argv);
    TestServerFaults t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_serverfaults.moc"
