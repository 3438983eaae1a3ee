// Importing real Access databases: every fixture exactly, or refused with nothing written;
// and the start-up conversion that keeps the original byte for byte.
#include <QtTest>

#include "AccessImport.h"
#include "AppFixture.h"
#include "Error.h"
#include "Maintenance.h"
#include "RecordStore.h"
#include "TestDb.h"

namespace {
const QString kFixtures = QStringLiteral(KALPIYON_FIXTURES "/legacy-access/");

struct Run {
    int status;
    QString out, err;
};

Run tool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KALPIYON_VERI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray bytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// CSV lines without the header, sorted: the export is in list order, the fixture in
// insertion order. Lines are compared whole, so quoting (null against empty text) counts.
QStringList sortedRows(const QString &csv)
{
    QStringList rows;
    QString row;
    bool quoted = false;
    for (int i = 0; i < csv.size(); ++i) {
        const QChar c = csv.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('\r') && i + 1 < csv.size() && csv.at(i + 1) == QLatin1Char('\n')) {
            rows << row;
            row.clear();
            ++i;
            continue;
        }
        row += c;
    }
    QStringList body = rows.mid(1);
    body.sort();
    return QStringList{rows.value(0)} + body;
}
}  // namespace

class TestImport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }

private slots:
    void fixtures_data();
    void fixtures();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void existingTargetNeedsForce();
    void ontoServer_data();
    void ontoServer();
    void startUpConversion();
    void startUpConversionDeclined();
};

void TestImport::fixtures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("sample") << "veriler-sample" << 0 << "40 kayıt aktarıldı";
    QTest::newRow("extra columns") << "veriler-extra-column" << 0 << "aktarılmadı, yalnızca özgün dosyada kalıyor: Notlar, Kilo";
    QTest::newRow("missing column") << "veriler-missing-column" << 1 << "Field 'EF' not found";
    QTest::newRow("no veriler") << "no-veriler" << 1 << "'veriler' tablosu yok";
}

void TestImport::fixtures()
{
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(QString, message);
    const QString target = file(name + QStringLiteral(".db"));
    const Run r = tool({QStringLiteral("import"), kFixtures + name + QStringLiteral(".mdb"), target});
    QCOMPARE(r.status, status);
    QVERIFY2((r.out + r.err).contains(message), qPrintable(r.out + r.err));
    if (status != 0) {
        QVERIFY(!QFile::exists(target));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter(name), QStringList());
        return;
    }
    const Run csv = tool({QStringLiteral("export-csv"), target});
    QCOMPARE(csv.status, 0);
    const QStringList expected = sortedRows(QString::fromUtf8(bytes(kFixtures + name + QStringLiteral(".expected.csv"))));
    const QStringList got = sortedRows(csv.out);
    QCOMPARE(got.size(), expected.size());
    QStringList header = expected.first().split(QLatin1Char(','));
    if (name == QLatin1String("veriler-extra-column")) {
        header.removeAll(QStringLiteral("Notlar"));
        header.removeAll(QStringLiteral("Kilo"));
    }
    QCOMPARE(got.first(), header.join(QLatin1Char(',')));
    if (name == QLatin1String("veriler-sample"))
        for (int i = 1; i < got.size(); ++i)
            QCOMPARE(got[i], expected[i]);
}

void TestImport::damagedFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    const QByteArray sample = bytes(kFixtures + QStringLiteral("veriler-sample.mdb"));
    QTest::newRow("random bytes") << QByteArray(5000, '\x37') << "bir Access veritabanı değil";
    QTest::newRow("an SQLite file") << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0') << "bir Access veritabanı değil";
    QTest::newRow("cut inside a page") << sample.left(20000) << "eksik ya da bozuk";
    QTest::newRow("cut after the catalog") << sample.left(16384) << "okunamadı";
    QTest::newRow("cut inside the rows") << sample.left(163840) << "40 kaydından yalnızca";
    QTest::newRow("header only") << sample.left(4096) << "eksik ya da bozuk";
}

void TestImport::damagedFilesAreRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString source = file(QStringLiteral("bozuk.mdb"));
    QFile f(source);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    f.close();
    const Run r = tool({QStringLiteral("import"), source, file(QStringLiteral("bozuk.db"))});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(file(QStringLiteral("bozuk.db"))));
    QVERIFY(!QFile::exists(file(QStringLiteral("bozuk.db.aktariliyor"))));
}

void TestImport::existingTargetNeedsForce()
{
    const QString target = file(QStringLiteral("var.db"));
    QFile f(target);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("benim");
    f.close();
    const QString source = kFixtures + QStringLiteral("veriler-sample.mdb");
    QCOMPARE(tool({QStringLiteral("import"), source, target}).status, 1);
    QCOMPARE(bytes(target), QByteArray("benim"));
    QCOMPARE(tool({QStringLiteral("import"), source, target, QStringLiteral("--force")}).status, 0);
    QCOMPARE(records::verifyDatabase(target), qint64(40));
}

// The same fixtures onto a table on the server (the test command's private cluster): every
// record through the record-store interface, or nothing when the source is refused; an
// existing table is replaced only with --force.
void TestImport::ontoServer_data()
{
    fixtures_data();
}

void TestImport::ontoServer()
{
    const QString server = testdb::serverDatabase(QStringLiteral("kalpiyon_import"));
    if (server.isEmpty())
        QSKIP("no server (KALPIYON_TEST_PG)");
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(QString, message);
    testdb::otherClient(server, QStringLiteral("DROP TABLE IF EXISTS veriler"));
    const QString source = kFixtures + name + QStringLiteral(".mdb");
    const Run r = tool({QStringLiteral("import"), source, server});
    QCOMPARE(r.status, status);
    QVERIFY2((r.out + r.err).contains(message), qPrintable(r.out + r.err));
    if (status != 0) {
        QVERIFY(!records::openRecordStore(server)->hasTable());
        return;
    }
    const QStringList expected = sortedRows(QString::fromUtf8(bytes(kFixtures + name + QStringLiteral(".expected.csv"))));
    const Run csv = tool({QStringLiteral("export-csv"), server});
    QCOMPARE(csv.status, 0);
    const QStringList got = sortedRows(csv.out);
    QCOMPARE(got.size(), expected.size());
    if (name == QLatin1String("veriler-sample"))
        QCOMPARE(got, expected);
    // A second import finds the table and leaves it alone unless told to replace it.
    const Run again = tool({QStringLiteral("import"), source, server});
    QCOMPARE(again.status, 1);
    QVERIFY2(again.err.contains(QStringLiteral("zaten var")), qPrintable(again.err));
    QCOMPARE(tool({QStringLiteral("import"), source, server, QStringLiteral("--force")}).status, 0);
    QCOMPARE(sortedRows(tool({QStringLiteral("export-csv"), server}).out), got);
    testdb::otherClient(server, QStringLiteral("DROP TABLE veriler"));
}

void TestImport::startUpConversion()
{
    const QByteArray original = bytes(kFixtures + QStringLiteral("veriler-sample.mdb"));
    fixture::Program p({}, false, [&](const QString &folder) {
        writeFile(QDir(folder).filePath(QStringLiteral("Data.mdb")), original);
        QFile taken(QDir(folder).filePath(QStringLiteral("Data.access.mdb")));  // a name already in use
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.close();
        ui::TestSeam::queueAnswer(ui::Yes);
        ui::TestSeam::queueAnswer(ui::Ok);
    });
    QVERIFY(p.mayWork);
    QVERIFY(ui::TestSeam::asked().first().text.contains(QStringLiteral("Access veritabanı")));
    QVERIFY(ui::TestSeam::asked().last().text.contains(QStringLiteral("Data.access-2.mdb")));
    QCOMPARE(bytes(p.file(QStringLiteral("Data.access-2.mdb"))), original);  // byte for byte
    QCOMPARE(bytes(p.file(QStringLiteral("Data.access.mdb"))), QByteArray());  // not overwritten
    QVERIFY(Form1->Query1->active());
    QCOMPARE(Form1->Query1->recordCount(), 40);
}

void TestImport::startUpConversionDeclined()
{
    const QByteArray original = bytes(kFixtures + QStringLiteral("veriler-sample.mdb"));
    fixture::Program p({}, false, [&](const QString &folder) {
        writeFile(QDir(folder).filePath(QStringLiteral("Data.mdb")), original);
        ui::TestSeam::queueAnswer(ui::No);
        ui::TestSeam::queueAnswer(ui::Ok);  // the connection's open error
        ui::TestSeam::queueAnswer(ui::Ok);  // and the dataset's, trying once more
    });
    QVERIFY(!Form1->Query1->active());
    const QList<ui::TestSeam::Asked> asked = ui::TestSeam::asked();
    QCOMPARE(asked.size(), 3);
    QVERIFY(asked[1].text.contains(QStringLiteral("Microsoft Access")));
    QCOMPARE(asked[2].text, asked[1].text);
    QCOMPARE(bytes(p.file(QStringLiteral("Data.mdb"))), original);
}

KALPIYON_TEST_MAIN(TestImport)
#include "tst_import.moc"
