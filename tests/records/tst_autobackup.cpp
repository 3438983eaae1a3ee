// Automatic backups: generations taken once a day and before clearing, verified and
// owner-only; thinning over a simulated year; folders from Secenekler; failures recorded for
// the next start (a full and a read-only file system); restore keeps the old database.
#include <QtTest>

#include "AutoBackup.h"
#include "DemoData.h"
#include "Maintenance.h"
#include "PrivateMount.h"
#include "Settings.h"
#include "TestDb.h"

namespace ab = records::autobackup;

namespace {
QDateTime at(const char *text)
{
    return QDateTime::fromString(QLatin1String(text), QStringLiteral("yyyy-MM-dd HH:mm"));
}

QStringList days(const QList<QDateTime> &stamps)
{
    QStringList list;
    for (const QDateTime &s : stamps)
        list << s.date().toString(Qt::ISODate);
    list.sort();
    return list;
}

QList<QDateTime> stampsIn(const QString &folder)
{
    QList<QDateTime> list;
    for (const ab::Generation &g : ab::generations(folder))
        list << g.stamp;
    return list;
}

// A year of daily closings from 2025-12-10 to 2026-12-10 (a Thursday) leaves exactly these.
const QStringList kKeptAfterAYearUnsorted = {
    // every day of the last 7
    "2026-12-04", "2026-12-05", "2026-12-06", "2026-12-07", "2026-12-08", "2026-12-09", "2026-12-10",
    // the newest (Sunday) of each earlier week of the last 8
    "2026-10-25", "2026-11-01", "2026-11-08", "2026-11-15", "2026-11-22", "2026-11-29",
    // the newest (last day) of each earlier month of the last 24 that has backups
    "2025-12-31", "2026-01-31", "2026-02-28", "2026-03-31", "2026-04-30", "2026-05-31", "2026-06-30",
    "2026-07-31", "2026-08-31", "2026-09-30", "2026-10-31", "2026-11-30",
};
const QStringList kKeptAfterAYear = [] {
    QStringList sorted = kKeptAfterAYearUnsorted;
    sorted.sort();
    return sorted;
}();

// Readable and writable by its owner, by nobody else.
bool ownerOnly(const QString &path)
{
    const QFile::Permissions p = QFile::permissions(path);
    return p.testFlags(QFile::ReadOwner | QFile::WriteOwner)
           && !(p & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
}
}  // namespace

class TestAutoBackup : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString data() const { return dir.filePath(QStringLiteral("Data.mdb")); }
    QString file(const QString &name) const { return dir.filePath(name); }
    QString primary() const { return dir.filePath(QStringLiteral("Yedekler")); }
    QString secenekler() const { return dir.filePath(QStringLiteral("Secenekler")); }
    void setOption(settings::Key key, const QString &value) const { settings::writeText(key, value, secenekler()); }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        testdb::create(data(), {QStringLiteral("AHMET"), QStringLiteral("ÇAĞLA"), QStringLiteral("ZEYNEP")});
    }

    void fileNames_data();
    void fileNames();
    void thinningOverASimulatedYear();
    void thinningNeverDeletesTheRecentOrTheFuture();
    void closingWritesOneVerifiedGenerationADay();
    void clearingAlwaysWrites();
    void folders_data();
    void folders();
    void secondFolder();
    void unwritableFolderIsReportedOnce_data();
    void unwritableFolderIsReportedOnce();
    void restoreKeepsTheReplacedDatabase();
    void restoreRefusesADamagedBackup_data();
    void restoreRefusesADamagedBackup();
};

void TestAutoBackup::fileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stamp");  // empty: not a generation
    QTest::newRow("generation") << "Kalpiyon-20261210-183005.mdb" << "2026-12-10T18:30:05";
    QTest::newRow("no seconds") << "Kalpiyon-20261210-1830.mdb" << "";
    QTest::newRow("other name") << "Data.mdb" << "";
    QTest::newRow("temporary") << "Kalpiyon-20261210-183005.mdb.yedek-gecici" << "";
    QTest::newRow("impossible date") << "Kalpiyon-20261332-183005.mdb" << "";
}

void TestAutoBackup::fileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stamp);
    const QDateTime parsed = ab::stampOf(name);
    QCOMPARE(parsed.isValid() ? parsed.toString(Qt::ISODate) : QString(), stamp);
    if (parsed.isValid())
        QCOMPARE(ab::fileNameFor(parsed), name);
}

// Real generations, one closing a day for a year, thinned as they are taken.
void TestAutoBackup::thinningOverASimulatedYear()
{
    QList<QDateTime> pure;
    for (QDateTime now = at("2025-12-10 18:00"); now <= at("2026-12-10 18:00"); now = now.addDays(1)) {
        const ab::Result r = ab::takeBackup(data(), ab::Occasion::Closing, now, secenekler());
        QCOMPARE(r.written.size(), 1);
        QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.join('\n')));
        pure = ab::stampsToKeep(pure << now, now.date());
    }
    QCOMPARE(days(stampsIn(primary())), kKeptAfterAYear);
    // Thinning day by day keeps what thinning once at the end keeps: nothing is lost early.
    QList<QDateTime> everyDay;
    for (QDateTime d = at("2025-12-10 18:00"); d <= at("2026-12-10 18:00"); d = d.addDays(1))
        everyDay << d;
    QCOMPARE(days(ab::stampsToKeep(everyDay, QDate(2026, 12, 10))), kKeptAfterAYear);
    QCOMPARE(days(pure), kKeptAfterAYear);
}

void TestAutoBackup::thinningNeverDeletesTheRecentOrTheFuture()
{
    // Three years of closings, some days twice: the last 24 months hold one each, no more.
    QList<QDateTime> kept;
    for (QDateTime now = at("2024-01-01 09:00"); now <= at("2026-12-31 09:00"); now = now.addDays(1)) {
        kept << now << now.addSecs(8 * 3600);
        kept = ab::stampsToKeep(kept, now.date());
    }
    QSet<int> months;
    for (const QDateTime &s : kept)
        months << s.date().year() * 12 + s.date().month();
    QCOMPARE(months.size(), 24);
    QCOMPARE(days(kept).first(), QStringLiteral("2025-01-31"));
    QCOMPARE(kept.size(), 14 + 6 + 23);  // 7 days twice, 6 more weeks, 23 more months
    // A clock set back: the later generations stay.
    const QList<QDateTime> future = {at("2027-03-01 10:00"), at("2027-02-01 10:00")};
    QCOMPARE(ab::stampsToKeep(future, QDate(2020, 1, 1)), future);
}

void TestAutoBackup::closingWritesOneVerifiedGenerationADay()
{
    const ab::Result first = ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-10 17:00"), secenekler());
    QCOMPARE(first.written, QStringList{QDir(primary()).filePath(QStringLiteral("Kalpiyon-20261210-170000.mdb"))});
    QCOMPARE(records::verifyDatabase(first.written.first()), 3);
    QVERIFY(ownerOnly(first.written.first()));
    QCOMPARE(QDir(primary()).entryList(QDir::Files), QStringList{QStringLiteral("Kalpiyon-20261210-170000.mdb")});

    QFile stale(QDir(primary()).filePath(QStringLiteral("Kalpiyon-20261209-170000.mdb.yedek-gecici")));  // a killed backup's
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    const ab::Result again = ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-10 23:59"), secenekler());
    QVERIFY(!stale.exists());
    QVERIFY(again.written.isEmpty());
    QCOMPARE(again.skipped, QStringList{primary()});
    QCOMPARE(ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-11 08:00"), secenekler()).written.size(), 1);
    QCOMPARE(ab::generations(primary()).size(), 2);
    QVERIFY(!QFile::exists(ab::reportFile(data())));
}

void TestAutoBackup::clearingAlwaysWrites()
{
    ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-10 09:00"), secenekler());
    const ab::Result r = ab::takeBackup(data(), ab::Occasion::BeforeClearing, at("2026-12-10 09:30"), secenekler());
    QCOMPARE(r.written.size(), 1);
    QCOMPARE(ab::generations(primary()).first().stamp, at("2026-12-10 09:30"));
}

void TestAutoBackup::folders_data()
{
    QTest::addColumn<QString>("klasor");
    QTest::addColumn<QString>("ikinci");
    QTest::addColumn<QStringList>("expected");  // relative to the data folder
    QTest::newRow("default") << "" << "" << QStringList{"Yedekler"};
    QTest::newRow("relative") << "../yedek/gunluk" << "" << QStringList{"../yedek/gunluk"};
    QTest::newRow("second") << "" << "usb" << QStringList{"Yedekler", "usb"};
    QTest::newRow("second same as first") << "a" << "./a" << QStringList{"a"};
}

void TestAutoBackup::folders()
{
    QFETCH(QString, klasor);
    QFETCH(QString, ikinci);
    QFETCH(QStringList, expected);
    setOption(settings::Key::BackupFolder, klasor);
    setOption(settings::Key::SecondBackupFolder, ikinci);
    QStringList want;
    for (const QString &e : expected)
        want << QDir::cleanPath(QDir(dir.path()).absoluteFilePath(e));
    QCOMPARE(ab::backupFolders(data(), secenekler()).all(), want);
}

void TestAutoBackup::secondFolder()
{
    setOption(settings::Key::SecondBackupFolder, file(QStringLiteral("usb")));
    // Not plugged in: the first folder gets its copy, the second is reported, not created.
    ab::Result r = ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-10 17:00"), secenekler());
    QCOMPARE(r.written.size(), 1);
    QCOMPARE(r.problems.size(), 1);
    QVERIFY(r.problems.first().contains(file(QStringLiteral("usb"))));
    QVERIFY(!QFileInfo::exists(file(QStringLiteral("usb"))));
    // Plugged in the next day: both get one.
    QDir().mkpath(file(QStringLiteral("usb")));
    r = ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-11 17:00"), secenekler());
    QCOMPARE(r.written.size(), 2);
    QCOMPARE(records::verifyDatabase(r.written.last()), 3);
    QCOMPARE(ab::takeReportedProblems(data()).size(), 1);
    QVERIFY(ab::takeReportedProblems(data()).isEmpty());
}

void TestAutoBackup::unwritableFolderIsReportedOnce_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("full") << false;
    QTest::newRow("read-only") << true;
}

void TestAutoBackup::unwritableFolderIsReportedOnce()
{
    QFETCH(bool, readOnly);
    records::writeDemoDatabase(data(), 300, 1, true);  // far larger than the 32 kB stick
    const QString stick = file(QStringLiteral("stick"));
    if (!privatemount::mountTmpfs(stick, 32, readOnly))
        QSKIP("no private mount namespace (needs root or CAP_SYS_ADMIN)");
    setOption(settings::Key::BackupFolder, stick);
    const ab::Result r = ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-10 17:00"), secenekler());
    const QStringList entries = QDir(stick).entryList(QDir::Files);
    privatemount::unmount(stick);
    QVERIFY(r.written.isEmpty());
    QCOMPARE(r.problems.size(), 1);
    QVERIFY(entries.isEmpty());  // no half-written generation or temporary file stays behind
    const QStringList reported = ab::takeReportedProblems(data());
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported.first().startsWith(QStringLiteral("10.12.2026 17:00: '%1'").arg(stick)), qPrintable(reported.first()));
    QVERIFY(ab::takeReportedProblems(data()).isEmpty());
}

void TestAutoBackup::restoreKeepsTheReplacedDatabase()
{
    const QString generation = ab::takeBackup(data(), ab::Occasion::Closing, at("2026-12-08 17:00"), secenekler()).written.first();
    testdb::sqliteCli(data(), QStringLiteral("DELETE FROM veriler WHERE Adi_Soyadi <> 'AHMET'"));
    const QString kept = ab::restore(generation, data(), at("2026-12-10 12:00"));
    QCOMPARE(kept, file(QStringLiteral("Data-geri-yukleme-oncesi-20261210-120000.mdb")));
    QCOMPARE(records::verifyDatabase(data()), 3);
    QCOMPARE(records::verifyDatabase(kept), 1);
    QVERIFY(ownerOnly(data()));
    // A second restore within the same second keeps the first kept copy too.
    const QString second = ab::restore(generation, data(), at("2026-12-10 12:00"));
    QVERIFY(second != kept);
    QCOMPARE(records::verifyDatabase(kept), 1);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.geri-yukleme"), QStringLiteral("*gecici")}, QDir::Files),
             QStringList());
}

void TestAutoBackup::restoreRefusesADamagedBackup_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("not a database") << "junk";
    QTest::newRow("cut short") << "truncate";
    QTest::newRow("other schema") << "schema";
    QTest::newRow("missing") << "missing";
}

void TestAutoBackup::restoreRefusesADamagedBackup()
{
    QFETCH(QString, damage);
    records::writeDemoDatabase(data(), 300, 1, true);
    const QString bad = file(QStringLiteral("bad.mdb"));
    if (damage == QLatin1String("junk")) {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    } else if (damage == QLatin1String("truncate")) {
        QFile::copy(data(), bad);
        QFile(bad).resize(QFileInfo(bad).size() / 2);
    } else if (damage == QLatin1String("schema")) {
        testdb::sqliteCli(bad, QStringLiteral("CREATE TABLE veriler (x TEXT)"));
    }
    QFile before(data());
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    const QString message = testdb::errorOf([&] { ab::restore(bad, data()); });
    QVERIFY2(message.contains(QStringLiteral("geri yüklenemez")) || message.contains(QStringLiteral("bulunamadı")),
             qPrintable(message));
    QFile after(data());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
}

QTEST_GUILESS_MAIN(TestAutoBackup)
#include "tst_autobackup.moc"
