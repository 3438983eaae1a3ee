// kalpiyon-veri as a user runs it: a real process, real files, exit statuses and messages.
#include <QtTest>

#include "Dataset.h"
#include "TestDb.h"

namespace {
struct Run {
    int status;
    QString out;
    QString err;
};

Run tool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KALPIYON_VERI), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Splits RFC 4180 CSV into rows of cells; a quoted cell keeps its quotes so that null ("")
// and the empty text ("\"\"") stay apart.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                cell += QLatin1String("\"\"");
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
                cell += c;
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            cell += c;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            ++i;
        } else {
            cell += c;
        }
    }
    return rows;
}

QString unquote(const QString &cell)
{
    return cell.mid(1, cell.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
}
}  // namespace

class TestDataTool : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }

private slots:
    void demoExportRoundTrip();
    void exportKeepsNullApartFromEmptyText();
    void exportMatchesEarlierOutput();
    void refusals_data();
    void refusals();
    void checkFindsDamage();
};

void TestDataTool::demoExportRoundTrip()
{
    const Run demo = tool({QStringLiteral("demo"), file(QStringLiteral("a.mdb")), QStringLiteral("40"), QStringLiteral("--seed"), QStringLiteral("9")});
    QCOMPARE(demo.status, 0);
    QCOMPARE(tool({QStringLiteral("check"), file(QStringLiteral("a.mdb"))}).status, 0);
    const Run csv = tool({QStringLiteral("export-csv"), file(QStringLiteral("a.mdb"))});
    QCOMPARE(csv.status, 0);
    const QList<QStringList> rows = parseCsv(csv.out);
    QCOMPARE(rows.size(), 41);
    QCOMPARE(rows.first().size(), records::kFieldCount);
    QCOMPARE(rows.first().first(), QStringLiteral("Adi_Soyadi"));
    QCOMPARE(rows.first().last(), QStringLiteral("Yorum9"));

    // Every cell is what the dataset shows, row by row in list order.
    records::Dataset ds;
    ds.open(file(QStringLiteral("a.mdb")));
    const int tarih = records::fieldIndex(QStringLiteral("Tarih"));
    for (int r = 1; r < rows.size(); ++r, ds.next()) {
        for (int f = 0; f < records::kFieldCount; ++f) {
            const QVariant v = ds.value(f);
            const QString cell = rows[r][f];
            if (v.isNull())
                QVERIFY(cell.isEmpty());
            else if (f == tarih)
                QCOMPARE(cell, v.toDateTime().date().toString(Qt::ISODate));
            else
                QCOMPARE(unquote(cell), v.toString());
        }
    }
    // The same seed gives the same records; every value fits its field.
    tool({QStringLiteral("demo"), file(QStringLiteral("b.mdb")), QStringLiteral("40"), QStringLiteral("--seed"), QStringLiteral("9")});
    QCOMPARE(tool({QStringLiteral("export-csv"), file(QStringLiteral("b.mdb"))}).out, csv.out);
    for (const auto &f : records::kFields)
        if (f.type == records::FieldType::Text)
            QCOMPARE(testdb::sqliteCli(file(QStringLiteral("a.mdb")),
                                       QStringLiteral("SELECT count(*) FROM veriler WHERE length(\"%1\") > %2").arg(QLatin1String(f.name)).arg(f.size)),
                     QStringLiteral("0"));
}

void TestDataTool::exportKeepsNullApartFromEmptyText()
{
    const QString db = file(QStringLiteral("n.mdb"));
    records::Store::create(db, true);
    {
        records::Store store(db);
        store.insert(testdb::record(QString(), {{QStringLiteral("Yas"), QString(QLatin1String(""))},
                                                {QStringLiteral("Sonuc1"), QStringLiteral("a \"b\", c")},
                                                {QStringLiteral("Tarih"), QDateTime(QDate(2010, 8, 5), QTime(14, 30), Qt::UTC)}}));
    }
    const QList<QStringList> rows = parseCsv(tool({QStringLiteral("export-csv"), db}).out);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1][0], QString());                                  // null name
    QCOMPARE(rows[1][1], QStringLiteral("\"\""));                     // empty text
    QCOMPARE(rows[1][2], QStringLiteral("2010-08-05 14:30:00"));
    QCOMPARE(unquote(rows[1][records::fieldIndex(QStringLiteral("Sonuc1"))]), QStringLiteral("a \"b\", c"));
}

// The rows of data/export-fixture.sql (ties, Turkish letters, nulls, empty texts, date forms,
// quotes, commas, line breaks) give byte for byte what the tool wrote for them before it
// streamed (data/export-fixture.csv).
void TestDataTool::exportMatchesEarlierOutput()
{
    const QString sql = QFINDTESTDATA("data/export-fixture.sql");
    const QString expectedFile = QFINDTESTDATA("data/export-fixture.csv");
    QVERIFY(!sql.isEmpty() && !expectedFile.isEmpty());
    const QString db = file(QStringLiteral("fixture.mdb"));
    records::Store::create(db, true);
    QProcess cli;
    cli.setStandardInputFile(sql);
    cli.start(QStringLiteral("sqlite3"), {db});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(testdb::sqliteCli(db, QStringLiteral("SELECT count(*) FROM veriler")), QStringLiteral("15"));

    QProcess p;
    p.start(QStringLiteral(KALPIYON_VERI), {QStringLiteral("export-csv"), db});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QFile expected(expectedFile);
    QVERIFY(expected.open(QIODevice::ReadOnly));
    const QList<QByteArray> want = expected.readAll().split('\n');
    const QList<QByteArray> got = p.readAllStandardOutput().split('\n');
    for (int i = 0; i < std::min(want.size(), got.size()); ++i)
        QCOMPARE(got[i], want[i]);  // names the first line that differs
    QCOMPARE(got.size(), want.size());
}

void TestDataTool::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList() << "Kullanım";
    QTest::newRow("unknown command") << QStringList{QStringLiteral("sil")} << "Bilinmeyen komut";
    QTest::newRow("create over existing") << QStringList{QStringLiteral("create"), QStringLiteral("@existing")} << "zaten var";
    QTest::newRow("demo over existing") << QStringList{QStringLiteral("demo"), QStringLiteral("@existing"), QStringLiteral("3")} << "zaten var";
    QTest::newRow("demo bad count") << QStringList{QStringLiteral("demo"), QStringLiteral("@new"), QStringLiteral("üç")} << "tam sayı";
    QTest::newRow("demo missing seed") << QStringList{QStringLiteral("demo"), QStringLiteral("@new"), QStringLiteral("3"), QStringLiteral("--seed")} << "değer bekliyor";
    QTest::newRow("create in missing folder") << QStringList{QStringLiteral("create"), QStringLiteral("@yok/x.mdb")} << "klasör yok";
    QTest::newRow("export missing file") << QStringList{QStringLiteral("export-csv"), QStringLiteral("@new")} << "Could not find file";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("check"), QStringLiteral("@existing"), QStringLiteral("--hızlı")} << "Bilinmeyen seçenek";
}

void TestDataTool::refusals()
{
    QFETCH(QStringList, args);
    const QString existing = file(QStringLiteral("existing.mdb"));
    testdb::create(existing, {QStringLiteral("ARI")});
    for (QString &a : args)
        a.replace(QStringLiteral("@existing"), existing).replace(QStringLiteral("@new"), file(QStringLiteral("new.mdb"))).replace(QStringLiteral("@yok"), file(QStringLiteral("yok")));
    const Run r = tool(args);
    QVERIFY(r.status != 0);
    QFETCH(QString, message);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(file(QStringLiteral("new.mdb"))));
    QCOMPARE(testdb::sqliteCli(existing, QStringLiteral("SELECT Adi_Soyadi FROM veriler")), QStringLiteral("ARI"));
}

void TestDataTool::checkFindsDamage()
{
    const QString db = file(QStringLiteral("c.mdb"));
    tool({QStringLiteral("demo"), db, QStringLiteral("200"), QStringLiteral("--force")});
    testdb::sqliteCli(db, QStringLiteral("UPDATE veriler SET Tarih='dün' WHERE rowid=3"));
    Run r = tool({QStringLiteral("check"), db});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Okunamayan tarih")), qPrintable(r.err));

    tool({QStringLiteral("demo"), db, QStringLiteral("2000"), QStringLiteral("--force")});
    QFile f(db);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(f.size() / 2);
    f.write(QByteArray(8192, '\xff'));  // trash pages in the middle of the file
    f.close();
    r = tool({QStringLiteral("check"), db});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("sağlam değil")) || r.err.contains(QStringLiteral("Hata")), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestDataTool)
#include "tst_datatool.moc"
