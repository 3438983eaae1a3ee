// Opening Data.mdb: every way the file can be unusable gives a clear message and leaves the
// dataset closed; a new database has exactly the 61 fields in order and owner-only rights.
#include <QtTest>
#include <future>
#include <thread>
#include <sys/stat.h>

#include "Dataset.h"
#include "Error.h"
#include "Store.h"
#include "TestDb.h"

class TestStore : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Data.mdb")); }

private slots:
    void init() { QFile::remove(path()); }
    void createdSchema();
    void openFailures_data();
    void openFailures();
    void lockedFile();
    void otherColumnsAreLeftAlone();
    void notARegularFile();
    void savesSyncTheFolder();
    void writeAfterTheFileWasReplaced();
};

void TestStore::createdSchema()
{
    records::Store::create(path());
    const QString info = testdb::sqliteCli(path(), QStringLiteral("SELECT group_concat(name, ',') FROM pragma_table_info('veriler')"));
    QStringList names;
    for (const auto &f : records::kFields)
        names << QLatin1String(f.name);
    QCOMPARE(info, names.join(QLatin1Char(',')));
    QCOMPARE(QFile::permissions(path()) & 0x0077, QFileDevice::Permissions());  // nobody else may read
    QCOMPARE(QFile::permissions(path()) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    try {
        records::Store::create(path());
        QFAIL("an existing database was overwritten");
    } catch (const Error &e) {
        QVERIFY(e.message().contains(QStringLiteral("zaten var")));
    }
}

void TestStore::openFailures_data()
{
    QTest::addColumn<QByteArray>("content");   // file content; "-" for no file
    QTest::addColumn<QString>("sql");          // or SQL that builds the file
    QTest::addColumn<QString>("message");

    QTest::newRow("missing") << QByteArray("-") << QString() << "Could not find file";
    QTest::newRow("random bytes") << QByteArray(4096, '\x5a') << QString() << "Unrecognized database format";
    QTest::newRow("text file") << QByteArray("Adı Soyadı;Yaş\nAHMET;40\n") << QString() << "Unrecognized database format";
    QTest::newRow("access file") << QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(2048, '\0') << QString()
                                 << "Microsoft Access database";
    QTest::newRow("empty file: no table") << QByteArray() << QString() << "Cannot find the input table or query 'veriler'";
    QTest::newRow("no veriler") << QByteArray() << "CREATE TABLE hastalar(ad TEXT)" << "Cannot find the input table or query 'veriler'";
    QString missing = records::createTableSql();
    missing.replace(QStringLiteral(",\n  \"EF\" VARCHAR(10)"), QString());
    QTest::newRow("missing column") << QByteArray() << missing << "Query1: Field 'EF' not found";
    QString wrongType = records::createTableSql();
    wrongType.replace(QStringLiteral("\"Yas\" VARCHAR(10)"), QStringLiteral("\"Yas\" INTEGER"));
    QTest::newRow("column of another type") << QByteArray() << wrongType
                                            << "Query1: Type mismatch for field 'Yas', expecting: WideString actual: Integer";
    QString textDate = records::createTableSql();
    textDate.replace(QStringLiteral("\"Tarih\" DATETIME"), QStringLiteral("\"Tarih\" VARCHAR(20)"));
    QTest::newRow("date as text") << QByteArray() << textDate
                                  << "Query1: Type mismatch for field 'Tarih', expecting: DateTime actual: WideString";
}

void TestStore::openFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, sql);
    QFETCH(QString, message);
    if (content != "-") {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    if (!sql.isEmpty())
        testdb::sqliteCli(path(), sql);
    const QByteArray before = content == "-" ? QByteArray() : [&] { QFile f(path()); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    records::Dataset ds;
    try {
        ds.open(QStringLiteral("Data.mdb").prepend(dir.path() + QLatin1Char('/')));
        QFAIL("opened");
    } catch (const Error &e) {
        QVERIFY2(e.message().startsWith(message) || e.message().contains(message), qPrintable(e.message()));
    }
    QVERIFY(!ds.active());
    QCOMPARE(ds.state(), records::DataSetState::Inactive);
    // Nothing was written to a file that is not ours.
    if (content != "-" && sql.isEmpty()) {
        QFile f(path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
}

void TestStore::lockedFile()
{
    testdb::create(path(), {QStringLiteral("ARI")});
    testdb::LockHolder other(path());
    records::Dataset ds;
    try {
        ds.open(path());
        QFAIL("opened a file locked by another process");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QStringLiteral("already in use")), qPrintable(e.message()));
    }
    QVERIFY(!ds.active());
}

void TestStore::otherColumnsAreLeftAlone()
{
    testdb::create(path(), {QStringLiteral("ARI")});
    testdb::sqliteCli(path(), QStringLiteral("ALTER TABLE veriler ADD COLUMN Notlar TEXT; UPDATE veriler SET Notlar='kalsın'"));
    records::Dataset ds;
    ds.open(path());
    ds.edit();
    ds.setText(records::fieldIndex(QStringLiteral("Yas")), QStringLiteral("40"));
    ds.post();
    QCOMPARE(testdb::sqliteCli(path(), QStringLiteral("SELECT Notlar || '/' || Yas FROM veriler")), QStringLiteral("kalsın/40"));
}

// A FIFO named Data.mdb: opening it for reading would wait for a writer forever. The
// dataset and the Access check answer at once; a bounded wait tells a hang from an answer.
void TestStore::notARegularFile()
{
    QVERIFY(::mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
    // On a thread of its own, left behind if it hangs (the process ends it on exit).
    auto result = std::make_shared<std::promise<std::pair<bool, QString>>>();
    auto opening = result->get_future();
    std::thread([result, fifo = path()] {
        const bool access = records::isAccessDatabase(fifo);
        records::Dataset ds;
        result->set_value({access, testdb::errorOf([&] { ds.open(fifo); })});
    }).detach();
    if (opening.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        QFAIL("opening a FIFO named Data.mdb hung");
    const auto [access, error] = opening.get();
    QVERIFY(!access);
    QVERIFY2(error.contains(QStringLiteral("sıradan bir dosya değil")), qPrintable(error));
}

// Every save reaches the disk together with its folder: the rollback journal's deletion is
// flushed too (synchronous=EXTRA), so a power cut cannot roll the save back.
void TestStore::savesSyncTheFolder()
{
    testdb::create(path(), {QStringLiteral("ARI")});
    records::Store store(path());
    records::Statement mode(store, QStringLiteral("PRAGMA synchronous"));
    QVERIFY(mode.step());
    QCOMPARE(mode.columnInt(0), qint64(3));  // EXTRA
    records::Statement journal(store, QStringLiteral("PRAGMA journal_mode"));
    QVERIFY(journal.step());
    QCOMPARE(journal.columnText(0), QStringLiteral("delete"));
}

// Another process put a new file in Data.mdb's place (a compaction) while this connection
// had the old one open: the save is refused with a clear message, not written into the old,
// nameless file where it would vanish.
void TestStore::writeAfterTheFileWasReplaced()
{
    testdb::create(path(), {QStringLiteral("ARI")});
    records::Dataset ds;
    ds.open(path());
    const QString other = dir.filePath(QStringLiteral("Yedek.mdb"));
    testdb::create(other, {QStringLiteral("ARI")});
    QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path()).constData()) == 0);
    ds.edit();
    ds.setText(records::fieldIndex(QStringLiteral("Yas")), QStringLiteral("40"));
    const QString error = testdb::errorOf([&] { ds.post(); });
    QVERIFY2(error.contains(QStringLiteral("yenisiyle değiştirildi")), qPrintable(error));
    QCOMPARE(testdb::sqliteCli(path(), QStringLiteral("SELECT ifnull(Yas, '-') FROM veriler")), QStringLiteral("-"));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
