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
        for (const QString &f : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(file(f));
    }
    void compactShrinksAndKeepsEveryRecord();
    void compactRefusals_data();
    void compactRefusals();
    void replaceIsAtomic();
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
