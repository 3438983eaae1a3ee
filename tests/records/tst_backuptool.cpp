// The data tool's backup commands as the IT person runs them: yedekler, yedek-dene and
// geri-yukle, real processes on real files; a restore killed with SIGKILL at each step (in a
// child of the test, stopped there through the test seam) and at random moments (the tool
// itself) leaves the old or the new database, never neither.
#include <QtTest>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AutoBackup.h"
#include "DemoData.h"
#include "Maintenance.h"
#include "TestDb.h"
#include "TestSeam.h"

namespace ab = records::autobackup;

namespace {
struct Run {
    int status;
    QString out;
    QString err;
};

QProcessEnvironment toolEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// A restore in a child process that stops at the seam point `step` and waits there to be
// killed. Returns the child's id once it has reached the step, or -1 when it never did
// (`said` tells how it ended).
pid_t restoreStoppedAt(const QString &backup, const QString &data, const QString &step, QByteArray *said)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        const int reached = pipeFds[1];
        seam::install();
        seam::queueAt(step, [reached](const QVariantList &) {
            (void)!write(reached, "x", 1);
            for (;;)
                pause();
        });
        int status = 3;
        try {
            ab::restore(backup, data);
            status = 2;  // finished without passing the step
        } catch (...) {
        }
        _exit(status);  // never back into the test's own run
    }
    close(pipeFds[1]);
    pollfd p{pipeFds[0], POLLIN, 0};
    char c = 0;
    const bool reached = child > 0 && poll(&p, 1, 60000) == 1 && read(pipeFds[0], &c, 1) == 1;
    close(pipeFds[0]);
    if (reached)
        return child;
    int status = 0;
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    *said = "the child never reached " + step.toUtf8() + ", status " + QByteArray::number(status);
    return -1;
}

Run tool(const QString &folder, const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessEnvironment(toolEnvironment());
    p.start(QStringLiteral(KALPIYON_VERI), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray csvOf(const QString &folder, const QString &db)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessEnvironment(toolEnvironment());
    p.start(QStringLiteral(KALPIYON_VERI), {QStringLiteral("export-csv"), db});
    p.waitForFinished(120000);
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray("export-csv failed");
}
}  // namespace

class TestBackupTool : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }
    QString data() const { return file(QStringLiteral("Data.mdb")); }
    QString yedekler() const { return file(QStringLiteral("Yedekler")); }
    // A generation of the current Data.mdb, taken as the program takes it.
    QString generation(const char *when)
    {
        const QDateTime stamp = QDateTime::fromString(QLatin1String(when), QStringLiteral("yyyy-MM-dd HH:mm"));
        return ab::takeBackup(data(), ab::Occasion::BeforeClearing, stamp, file(QStringLiteral("Secenekler"))).written.value(0);
    }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        records::writeDemoDatabase(data(), 400, 7);
    }

    void listsTheGenerations();
    void tryNewest_data();
    void tryNewest();
    void restoreBringsEveryRecordBack();
    void restoreRefusesADamagedBackup();
    void killedAtEachStep_data();
    void killedAtEachStep();
    void killedAtRandomMoments();
};

void TestBackupTool::listsTheGenerations()
{
    generation("2026-12-09 18:00");
    testdb::sqliteCli(data(), QStringLiteral("DELETE FROM veriler WHERE rowid <= 100"));
    generation("2026-12-10 18:00");
    const Run r = tool(dir.path(), {QStringLiteral("yedekler")});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].contains(yedekler() + QStringLiteral(" (2 yedek)")), qPrintable(r.out));
    QVERIFY2(lines[1].contains(QStringLiteral("10.12.2026 18:00:00")) && lines[1].contains(QStringLiteral("300 kayıt"))
                 && lines[1].endsWith(QStringLiteral("Kalpiyon-20261210-180000.mdb")),
             qPrintable(lines[1]));
    QVERIFY2(lines[2].contains(QStringLiteral("400 kayıt")), qPrintable(lines[2]));
}

void TestBackupTool::tryNewest_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::newRow("sound and equal") << "good" << 0 << "Yedekler geri yüklenebilir.";
    QTest::newRow("records added since") << "changed" << 1 << "yedekte 400 kayıt var, veritabanında 401";
    QTest::newRow("newest damaged") << "damaged" << 1 << "sağlam değil";
    QTest::newRow("no backup") << "none" << 1 << "yedek yok";
    QTest::newRow("second folder missing") << "second" << 1 << "yedek yok";
}

void TestBackupTool::tryNewest()
{
    QFETCH(QString, situation);
    QFETCH(int, status);
    QFETCH(QString, says);
    if (situation != QLatin1String("none"))
        generation("2026-12-09 18:00");
    if (situation == QLatin1String("changed"))
        records::openRecordStore(data())->insert(testdb::record(QStringLiteral("YENİ HASTA")));
    if (situation == QLatin1String("damaged")) {
        QFile newest(generation("2026-12-10 18:00"));
        QVERIFY(newest.open(QIODevice::ReadWrite));
        newest.resize(newest.size() / 2);
    }
    if (situation == QLatin1String("second")) {
        QFile ini(file(QStringLiteral("Secenekler")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Yedek]\r\nIkinciKlasor=usb\r\n");
        QDir().mkpath(file(QStringLiteral("usb")));
    }
    const Run r = tool(dir.path(), {QStringLiteral("yedek-dene"), QStringLiteral("--secenekler"), file(QStringLiteral("Secenekler"))});
    QCOMPARE(r.status, status);
    QVERIFY2((r.out + r.err).contains(says), qPrintable(r.out + r.err));
}

void TestBackupTool::restoreBringsEveryRecordBack()
{
    const QByteArray original = csvOf(dir.path(), data());
    const QString g = generation("2026-12-08 18:00");
    testdb::sqliteCli(data(), QStringLiteral("DELETE FROM veriler WHERE rowid % 2 = 0; UPDATE veriler SET Yas = '99'"));
    const QByteArray changed = csvOf(dir.path(), data());
    QVERIFY(changed != original);

    const Run r = tool(dir.path(), {QStringLiteral("geri-yukle"), g});
    QCOMPARE(r.status, 0);
    QCOMPARE(csvOf(dir.path(), data()), original);
    const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("Data-geri-yukleme-oncesi-*.mdb")});
    QCOMPARE(kept.size(), 1);
    QVERIFY2(r.out.contains(kept.first()), qPrintable(r.out));
    QCOMPARE(csvOf(dir.path(), file(kept.first())), changed);
}

void TestBackupTool::restoreRefusesADamagedBackup()
{
    const QString g = generation("2026-12-08 18:00");
    {
        QFile f(g);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.resize(f.size() / 3);
    }
    const QByteArray before = csvOf(dir.path(), data());
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    const Run r = tool(dir.path(), {QStringLiteral("geri-yukle"), g, QStringLiteral("Data.mdb")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("geri yüklenemez; hiçbir şey değiştirilmedi")), qPrintable(r.err));
    QCOMPARE(csvOf(dir.path(), data()), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
}

void TestBackupTool::killedAtEachStep_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("after the check") << "checked" << false;
    QTest::newRow("after the copy") << "copied" << false;
    QTest::newRow("after keeping the old one") << "kept" << false;
    QTest::newRow("after the rename") << "replaced" << true;
}

void TestBackupTool::killedAtEachStep()
{
    QFETCH(QString, step);
    QFETCH(bool, replaced);
    const QByteArray newer = csvOf(dir.path(), data());
    const QString g = generation("2026-12-08 18:00");
    testdb::sqliteCli(data(), QStringLiteral("DELETE FROM veriler WHERE rowid > 50"));
    const QByteArray older = csvOf(dir.path(), data());

    QByteArray said;
    const pid_t child = restoreStoppedAt(g, data(), QStringLiteral("restore:") + step, &said);
    QVERIFY2(child > 0, said.constData());
    kill(child, SIGKILL);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QCOMPARE(csvOf(dir.path(), data()), replaced ? newer : older);
    // What the killed run left behind does not stand in the way of the next one.
    QCOMPARE(tool(dir.path(), {QStringLiteral("geri-yukle"), g}).status, 0);
    QCOMPARE(csvOf(dir.path(), data()), newer);
}

void TestBackupTool::killedAtRandomMoments()
{
    // Two generations of different sizes; every run restores the one not in place.
    records::writeDemoDatabase(data(), 3000, 11, true);
    const QString big = generation("2026-12-08 18:00");
    records::writeDemoDatabase(data(), 2000, 12, true);
    const QString small = generation("2026-12-09 18:00");
    QElapsedTimer t;
    t.start();
    QCOMPARE(tool(dir.path(), {QStringLiteral("geri-yukle"), big}).status, 0);
    const int fullRunMs = int(t.elapsed());
    qint64 current = 3000;
    QRandomGenerator random(20261210);
    int interrupted = 0;
    for (int i = 0; i < 30; ++i) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.setProcessEnvironment(toolEnvironment());
        p.start(QStringLiteral(KALPIYON_VERI), {QStringLiteral("geri-yukle"), current == 3000 ? small : big});
        p.waitForStarted();
        // Some runs finish, most do not.
        if (!p.waitForFinished(random.bounded(2 * fullRunMs))) {
            p.kill();
            ++interrupted;
        }
        p.waitForFinished();
        QVERIFY2(QFileInfo::exists(data()), qPrintable(QStringLiteral("run %1: no Data.mdb").arg(i)));
        const qint64 count = records::verifyDatabase(data());
        QVERIFY2(count == 3000 || count == 2000, qPrintable(QStringLiteral("run %1: %2 records").arg(i).arg(count)));
        current = count;
    }
    qInfo("restore takes %d ms; %d of 30 runs killed on the way", fullRunMs, interrupted);
    QVERIFY(interrupted > 0 && interrupted < 30);
}

QTEST_GUILESS_MAIN(TestBackupTool)
#include "tst_backuptool.moc"
