// Compaction, replacement and backup of the database file: the result is verified, and no
// failure leaves the original database worse than it was.
#include <QtTest>

#include "Dataset.h"
#include "Error.h"
#include "Maintenance.h"
#include "TestDb.h"

namespace {
using testdb::errorOf;

QByteArray bytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QStringList names(const QString &path)
{
    return testdb::sqliteCli(path, QStringLiteral("SELECT Adi_Soyadi FROM veriler ORDER BY rowid")).split(QLatin1Char('\n'));
}
}  // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }

private slots:
    void init()
    {
        for (const QString &f : QDir(dir.path()).entryList(QDir::Files | QDir::System))  // dangling links too
            QFile::remove(file(f));
    }
    void compactShrinksAndKeepsEveryRecord();
    void compactRefusals_data();
    void compactRefusals();
    void replaceIsAtomic();
    void compactionHoldsOffOtherWriters();
    void compactionNeverFollowsALink_data();
    void compactionNeverFollowsALink();
    void copyIsOwnerOnly();
    void compactionOnAFullDisk();
    void backupWhileAnotherProcessWrites();
    void backupFailuresNameTheFile();
    void copySettingsFile();
};

void TestMaintenance::compactShrinksAndKeepsEveryRecord()
{
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QStringLiteral("HASTA %1").arg(i);
    testdb::create(file(QStringLiteral("Data.mdb")), many);
    testdb::sqliteCli(file(QStringLiteral("Data.mdb")), QStringLiteral("DELETE FROM veriler WHERE rowid % 3 <> 0"));
    const QStringList before = names(file(QStringLiteral("Data.mdb")));
    const qint64 sizeBefore = QFileInfo(file(QStringLiteral("Data.mdb"))).size();

    records::compactDatabase(file(QStringLiteral("Data.mdb")), file(QStringLiteral("Yedek.mdb")));
    QCOMPARE(names(file(QStringLiteral("Yedek.mdb"))), before);
    records::replaceDatabase(file(QStringLiteral("Data.mdb")), file(QStringLiteral("Yedek.mdb")));
    QVERIFY(!QFile::exists(file(QStringLiteral("Yedek.mdb"))));
    QVERIFY(QFileInfo(file(QStringLiteral("Data.mdb"))).size() < sizeBefore);
    QCOMPARE(records::verifyDatabase(file(QStringLiteral("Data.mdb"))), qint64(1000));
    QCOMPARE(QFile::permissions(file(QStringLiteral("Data.mdb"))) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
}

void TestMaintenance::compactRefusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::newRow("leftover Yedek.mdb") << "leftover" << "zaten var";
    QTest::newRow("missing Data.mdb") << "missing" << "Could not find file";
    QTest::newRow("damaged Data.mdb") << "damaged" << "Unrecognized database format";
    QTest::newRow("locked by another process") << "locked" << "";
}

void TestMaintenance::compactRefusals()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    const QString data = file(QStringLiteral("Data.mdb"));
    const QString copy = file(QStringLiteral("Yedek.mdb"));
    if (setup != QLatin1String("missing"))
        testdb::create(data, {QStringLiteral("ARI"), QStringLiteral("BAL")});
    if (setup == QLatin1String("leftover")) {
        QFile f(copy);
        f.open(QIODevice::WriteOnly);
        f.write("eski");
    }
    if (setup == QLatin1String("damaged")) {
        QFile f(data);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(4096, 'x'));
    }
    const QByteArray dataBefore = bytes(data);
    const QByteArray copyBefore = bytes(copy);
    QString error;
    if (setup == QLatin1String("locked")) {
        testdb::LockHolder other(data);
        error = errorOf([&] { records::compactDatabase(data, copy); });
    } else {
        error = errorOf([&] { records::compactDatabase(data, copy); });
    }
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(bytes(data), dataBefore);
    QCOMPARE(bytes(copy), copyBefore);  // a leftover copy is not touched; no new one remains
    QCOMPARE(QFile::exists(copy), setup == QLatin1String("leftover"));
}

void TestMaintenance::replaceIsAtomic()
{
    const QString data = file(QStringLiteral("Data.mdb"));
    testdb::create(data, {QStringLiteral("ARI")});
    const QByteArray before = bytes(data);
    // A replacement that is not there: the original stays.
    QVERIFY(!errorOf([&] { records::replaceDatabase(data, file(QStringLiteral("Yedek.mdb"))); }).isEmpty());
    QCOMPARE(bytes(data), before);
    // A replacement that cannot be moved over a directory: both stay.
    testdb::create(file(QStringLiteral("Yedek.mdb")), {QStringLiteral("BAL")});
    QDir(dir.path()).mkdir(QStringLiteral("klasor"));
    QDir(file(QStringLiteral("klasor"))).mkdir(QStringLiteral("dolu"));
    QVERIFY(!errorOf([&] { records::replaceDatabase(file(QStringLiteral("klasor")), file(QStringLiteral("Yedek.mdb"))); }).isEmpty());
    QVERIFY(QFile::exists(file(QStringLiteral("Yedek.mdb"))));
}

// Another process saving while the run holds the database: its save waits, then fails
// with the store's busy error; one that waits past the replacement fails too (its connection
// still has the replaced file). No save is acknowledged and then lost.
void TestMaintenance::compactionHoldsOffOtherWriters()
{
    const QString data = file(QStringLiteral("Data.mdb"));
    testdb::create(data, {QStringLiteral("ARI"), QStringLiteral("BAL")});
    // A second process that has the database open before the run starts.
    QProcess waiting;
    waiting.start(QStringLiteral("sqlite3"), {data});
    QVERIFY(waiting.waitForStarted());
    waiting.write(".timeout 30000\nSELECT 'açık', count(*) FROM veriler;\n");
    QTRY_VERIFY(waiting.bytesAvailable() > 0 || waiting.waitForReadyRead(100));
    QVERIFY(waiting.readAllStandardOutput().contains("açık"));
    {
        records::Compaction run(data, file(QStringLiteral("Yedek.mdb")));
        // Between copy and replacement: a save by a process started now, and one by the
        // process that had the file open (it waits for the hold to end).
        QProcess started;
        started.start(QStringLiteral("sqlite3"), {QStringLiteral("-cmd"), QStringLiteral(".timeout 300"), data,
                                                  QStringLiteral("INSERT INTO veriler(Adi_Soyadi) VALUES('SIRA')")});
        QVERIFY(started.waitForFinished(10000));
        const QString now = QString::fromUtf8(started.readAllStandardError());
        QVERIFY2(now.contains(QStringLiteral("database is locked")), qPrintable(now));
        waiting.write("INSERT INTO veriler(Adi_Soyadi) VALUES('BEKLEYEN');\nSELECT 'bitti';\n");
        QVERIFY(!waiting.waitForReadyRead(500));  // it is waiting for the hold, not done
        run.replace();
    }
    QByteArray refused;
    QTRY_VERIFY_WITH_TIMEOUT((refused += waiting.readAllStandardError()).contains("readonly database"), 30000);
    waiting.closeWriteChannel();
    QVERIFY(waiting.waitForFinished(10000));
    QCOMPARE(names(data), (QStringList{QStringLiteral("ARI"), QStringLiteral("BAL")}));
    // After the run the database takes saves again.
    testdb::sqliteCli(data, QStringLiteral("INSERT INTO veriler(Adi_Soyadi) VALUES('SONRA')"));
    QCOMPARE(records::verifyDatabase(data), qint64(3));
}

// Yedek.mdb as a symbolic link: refused, neither followed nor written through, and nothing
// is renamed into Data.mdb.
void TestMaintenance::compactionNeverFollowsALink_data()
{
    QTest::addColumn<bool>("dangling");
    QTest::newRow("dangling link") << true;
    QTest::newRow("link to a file") << false;
}

void TestMaintenance::compactionNeverFollowsALink()
{
    QFETCH(bool, dangling);
    const QString data = file(QStringLiteral("Data.mdb"));
    const QString copy = file(QStringLiteral("Yedek.mdb"));
    const QString target = file(QStringLiteral("baska.mdb"));
    testdb::create(data, {QStringLiteral("ARI")});
    if (!dangling) {
        QFile t(target);
        QVERIFY(t.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(target, copy));
    const QByteArray before = bytes(data);
    const QString error = errorOf([&] { records::Compaction(data, copy).replace(); });
    QVERIFY2(error.contains(QStringLiteral("sembolik bağ")), qPrintable(error));
    QCOMPARE(QFileInfo::exists(target), !dangling);
    if (!dangling)
        QCOMPARE(QFileInfo(target).size(), qint64(0));
    QVERIFY(QFileInfo(copy).isSymLink());  // left as it was
    QCOMPARE(bytes(data), before);
    QVERIFY(!QFileInfo(data).isSymLink());
}

// The copy holds every record: owner-only from its creation; in the end Data.mdb keeps the
// permissions it had.
void TestMaintenance::copyIsOwnerOnly()
{
    const QString data = file(QStringLiteral("Data.mdb"));
    const QString copy = file(QStringLiteral("Yedek.mdb"));
    testdb::create(data, {QStringLiteral("ARI")});
    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    QVERIFY(QFile::setPermissions(data, shared));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    records::Compaction run(data, copy);
    QCOMPARE(QFile::permissions(copy) & others, QFileDevice::Permissions());
    run.replace();
    QCOMPARE(QFile::permissions(data) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), shared);
}

// A disk too small for the copy: the run fails, removes its own partial copy, and the disk
// has room for the next save again. Needs a small file system of its own (root mounts one).
void TestMaintenance::compactionOnAFullDisk()
{
    const QString disk = file(QStringLiteral("disk"));
    QDir().mkpath(disk);
    QProcess mount;
    mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                          QStringLiteral("size=1200k,mode=0700"), QStringLiteral("tmpfs"), disk});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
        QSKIP("no small file system can be mounted here (needs root)");
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
    const QString data = disk + QStringLiteral("/Data.mdb");
    const QString copy = disk + QStringLiteral("/Yedek.mdb");
    QStringList many;
    for (int i = 0; i < 6000; ++i)
        many << QStringLiteral("HASTA %1 ").arg(i).repeated(4);
    testdb::create(data, many);  // about 700 kB: the copy cannot fit beside it
    QVERIFY2(QFileInfo(data).size() > 600 * 1024, qPrintable(QString::number(QFileInfo(data).size())));
    const QByteArray before = bytes(data);
    const QString error = errorOf([&] { records::Compaction(data, copy).replace(); });
    QVERIFY2(!error.isEmpty(), "the copy fitted: the disk is not small enough");
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(bytes(data), before);
    // The next save has room.
    const auto store = records::openRecordStore(data);
    store->begin();
    store->insert(testdb::record(QStringLiteral("YENİ")));
    store->commit();
    QCOMPARE(records::verifyDatabase(data), qint64(6001));
}

void TestMaintenance::backupWhileAnotherProcessWrites()
{
    const QString data = file(QStringLiteral("Data.mdb"));
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many << QStringLiteral("HASTA %1").arg(i);
    testdb::create(data, many);
    records::Dataset ds;  // the program holds the database open meanwhile
    ds.open(data);

    // A second process keeps posting records while the backup runs.
    QProcess writer;
    writer.start(QStringLiteral("sqlite3"), {data});
    QVERIFY(writer.waitForStarted());
    writer.write(".timeout 5000\n");
    for (int i = 0; i < 300; ++i)
        writer.write(QStringLiteral("INSERT INTO veriler(Adi_Soyadi) VALUES('YENİ %1');\n").arg(i).toUtf8());
    QDir(dir.path()).mkpath(QStringLiteral("Yedek"));
    const QString target = file(QStringLiteral("Yedek/Data.mdb"));
    records::backupDatabase(data, target);
    writer.closeWriteChannel();
    QVERIFY(writer.waitForFinished(60000));

    const qint64 copied = records::verifyDatabase(target);
    QVERIFY(copied >= 2000 && copied <= 2300);
    QVERIFY(!QFile::exists(target + QStringLiteral(".yedek-gecici")));
    // The restored copy opens in the program with every record it holds.
    records::Dataset restored;
    restored.open(target);
    QCOMPARE(qint64(restored.recordCount()), copied);
}

void TestMaintenance::backupFailuresNameTheFile()
{
    const QString data = file(QStringLiteral("Data.mdb"));
    testdb::create(data, {QStringLiteral("ARI")});
    // A target folder that cannot exist: its parent is a file.
    QFile blocker(file(QStringLiteral("dosya")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString target = file(QStringLiteral("dosya/Data.mdb"));
    const QString error = errorOf([&] { records::backupDatabase(data, target); });
    QVERIFY2(error.contains(target), qPrintable(error));
    // A missing source.
    const QString missing = errorOf([&] { records::backupDatabase(file(QStringLiteral("yok.mdb")), file(QStringLiteral("b.mdb"))); });
    QVERIFY2(missing.contains(QStringLiteral("yok.mdb")), qPrintable(missing));
    QVERIFY(!QFile::exists(file(QStringLiteral("b.mdb"))));
}

void TestMaintenance::copySettingsFile()
{
    const QString source = file(QStringLiteral("Ayarlar"));
    QFile f(source);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Sabit]\r\n01=Kalp\r\n");
    f.close();
    const QString target = file(QStringLiteral("kopya"));
    records::copyFileReplacing(source, target);
    records::copyFileReplacing(source, target);  // replacing an earlier copy
    QCOMPARE(bytes(target), bytes(source));
    const QString error = errorOf([&] { records::copyFileReplacing(file(QStringLiteral("Yok")), target); });
    QVERIFY2(error.contains(QStringLiteral("Yok")) && error.contains(QStringLiteral("dosya yok")), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
