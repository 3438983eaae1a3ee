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

Run tool(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
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
    void helpAndVersion_data();
    void helpAndVersion();
    void quietWithoutRuntimeFolder();
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
    QTest::addColumn<int>("status");  // 2: the command line does not fit; 1: any other failure
    QTest::newRow("no command") << QStringList() << "Bir komut gerekli" << 2;
    QTest::newRow("unknown command") << QStringList{QStringLiteral("sil")} << "Bilinmeyen komut: sil" << 2;
    QTest::newRow("unknown option before the command") << QStringList{QStringLiteral("--hızlı")} << "Bilinmeyen seçenek: --hızlı" << 2;
    QTest::newRow("unknown option") << QStringList{QStringLiteral("check"), QStringLiteral("@existing"), QStringLiteral("--hızlı")} << "Bilinmeyen seçenek" << 2;
    QTest::newRow("too few arguments") << QStringList{QStringLiteral("create")} << "Yanlış sayıda" << 2;
    QTest::newRow("too many arguments") << QStringList{QStringLiteral("check"), QStringLiteral("@existing"), QStringLiteral("@new")} << "Yanlış sayıda" << 2;
    QTest::newRow("demo missing seed") << QStringList{QStringLiteral("demo"), QStringLiteral("@new"), QStringLiteral("3"), QStringLiteral("--seed")} << "değer bekliyor" << 2;
    QTest::newRow("pdf of an unknown kind") << QStringList{QStringLiteral("pdf"), QStringLiteral("kart"), QStringLiteral("@existing"), QStringLiteral("@new")} << "'rapor' ya da 'liste'" << 2;
    QTest::newRow("create over existing") << QStringList{QStringLiteral("create"), QStringLiteral("@existing")} << "zaten var" << 1;
    QTest::newRow("demo over existing") << QStringList{QStringLiteral("demo"), QStringLiteral("@existing"), QStringLiteral("3")} << "zaten var" << 1;
    QTest::newRow("demo bad count") << QStringList{QStringLiteral("demo"), QStringLiteral("@new"), QStringLiteral("üç")} << "tam sayı" << 1;
    QTest::newRow("create in missing folder") << QStringList{QStringLiteral("create"), QStringLiteral("@yok/x.mdb")} << "klasör yok" << 1;
    QTest::newRow("export missing file") << QStringList{QStringLiteral("export-csv"), QStringLiteral("@new")} << "Could not find file" << 1;
}

void TestDataTool::refusals()
{
    QFETCH(QStringList, args);
    const QString existing = file(QStringLiteral("existing.mdb"));
    testdb::create(existing, {QStringLiteral("ARI")});
    for (QString &a : args)
        a.replace(QStringLiteral("@existing"), existing).replace(QStringLiteral("@new"), file(QStringLiteral("new.mdb"))).replace(QStringLiteral("@yok"), file(QStringLiteral("yok")));
    const Run r = tool(args);
    QFETCH(int, status);
    QCOMPARE(r.status, status);
    QFETCH(QString, message);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
    // A command line that does not fit is answered with the usage; a failure is not.
    QCOMPARE(r.err.contains(QStringLiteral("Kullanım: kalpiyon-veri")), status == 2);
    if (status == 2 && !args.isEmpty() && !args.first().startsWith(QLatin1Char('-')) && args.first() != QLatin1String("sil"))
        QVERIFY2(r.err.contains(QStringLiteral("Kullanım: kalpiyon-veri ") + args.first() + QLatin1Char(' ')), qPrintable(r.err));
    QVERIFY(!QFile::exists(file(QStringLiteral("new.mdb"))));
    QCOMPARE(testdb::sqliteCli(existing, QStringLiteral("SELECT Adi_Soyadi FROM veriler")), QStringLiteral("ARI"));
}

void TestDataTool::helpAndVersion_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("lines");  // lines the standard output must hold
    const QStringList overview{"Kullanım: kalpiyon-veri KOMUT ...", "  create DB [--force]", "  check DB",
                               "  pdf rapor|liste DB OUT.pdf [--row N] [--ayarlar FILE]"};
    QTest::newRow("--help") << QStringList{"--help"} << overview;
    QTest::newRow("-h") << QStringList{"-h"} << overview;
    QTest::newRow("create --help") << QStringList{"create", "--help"} << QStringList{"Kullanım: kalpiyon-veri create DB [--force]"};
    QTest::newRow("demo x -h") << QStringList{"demo", "x", "-h"} << QStringList{"Kullanım: kalpiyon-veri demo DB N [--seed S] [--force]"};
    QTest::newRow("--version") << QStringList{"--version"} << QStringList{"kalpiyon-veri " KALPIYON_VERSION};
}

void TestDataTool::helpAndVersion()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, lines);
    const Run r = tool(args);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QString());
    const QStringList got = r.out.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        QVERIFY2(got.contains(line), qPrintable(r.out));
}

// Nothing but the tool's own words on standard error, also where Qt would complain about the
// missing runtime folder.
void TestDataTool::quietWithoutRuntimeFolder()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QString db = file(QStringLiteral("q.mdb"));
    const QList<QStringList> runs{{"demo", db, "3", "--force"},
                                  {"check", db},
                                  {"export-csv", db},
                                  {"pdf", "liste", db, file(QStringLiteral("q.pdf"))}};
    for (const QStringList &args : runs) {
        const Run r = tool(args, env);
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(args.join(QLatin1Char(' ')) + QLatin1String(": ") + r.err));
    }
    QVERIFY(QFileInfo(file(QStringLiteral("q.pdf"))).size() > 0);
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
