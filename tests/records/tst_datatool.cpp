// kalpiyon-veri as a user runs it: a real process, real files, exit statuses and messages.
#include <QtTest>
#include <sys/stat.h>

#include "Dataset.h"
#include "TestDb.h"

namespace {
struct Run {
    int status;
    QString out;
    QString err;
};

Run tool(const QStringList &args, int timeoutMs = 120000,
         const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KALPIYON_VERI), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-2, QString(), QStringLiteral("zaman aşımı")};
    }
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
    void commandLines_data();
    void commandLines();
    void dashedNameAfterDoubleDash();
    void optionValueForms();
    void quietWithoutRuntimeFolder();
    void checkFindsDamage();
    void fifoRefusedAtOnce_data();
    void fifoRefusedAtOnce();
    void pdfOwnerOnly_data();
    void pdfOwnerOnly();
    void writtenFilesReachTheDisk_data();
    void writtenFilesReachTheDisk();
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
    records::createRecordStore(db, true);
    {
        records::openRecordStore(db)->insert(testdb::record(QString(), {{QStringLiteral("Yas"), QString(QLatin1String(""))},
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
    records::createRecordStore(db, true);
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

namespace {
// Every command's syntax as the README documents it.
struct CommandSyntax {
    const char *usage;
    int required, optional;  // positional arguments
    QStringList flags, valued;
};

const QList<CommandSyntax> &commandSyntaxes()
{
    static const QList<CommandSyntax> list{
        {"check DB", 1, 0, {}, {}},
        {"create DB [--force]", 1, 0, {"--force"}, {}},
        {"demo DB N [--seed S] [--force]", 2, 0, {"--force"}, {"--seed"}},
        {"dicom-al [KLASÖR] [--port N] [--ae AE]", 0, 1, {}, {"--port", "--ae"}},
        {"export-csv DB", 1, 0, {}, {}},
        {"geri-yukle YEDEK [DB] [--secenekler DOSYA]", 1, 1, {}, {"--secenekler"}},
        {"import ACCESS.mdb DB [--force]", 2, 0, {"--force"}, {}},
        {"kopyala FROM TO [--force]", 2, 0, {"--force"}, {}},
        {"pdf rapor|liste DB OUT.pdf [--row N] [--ayarlar FILE]", 3, 0, {}, {"--row", "--ayarlar"}},
        {"sr-aktar FILE DB", 2, 0, {}, {}},
        {"sr-oku FILE", 1, 0, {}, {}},
        {"yedek-dene [DB] [--secenekler DOSYA]", 0, 1, {}, {"--secenekler"}},
        {"yedekler [DB] [--secenekler DOSYA]", 0, 1, {}, {"--secenekler"}},
    };
    return list;
}

// `count` positional arguments: files of the test's folder that do not exist.
QStringList positionals(const QString &usage, int count)
{
    QStringList args{usage.section(QLatin1Char(' '), 0, 0)};
    if (args.first() == QLatin1String("pdf") && count > 0) {
        args << QStringLiteral("liste");
        --count;
    }
    for (int i = 0; i < count; ++i)
        args << QStringLiteral("@yok%1").arg(i);
    return args;
}
}  // namespace

// Every command's line through the same parser: per-command help, and each way a line can miss
// its syntax refused with the tool's Turkish words and the command's usage, exit status 2,
// before anything runs (QCommandLineParser's own English never shows).
void TestDataTool::commandLines_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out");  // the whole standard output, line by line
    QTest::addColumn<QStringList>("err");  // the whole standard error
    for (const CommandSyntax &c : commandSyntaxes()) {
        const QString usage = QStringLiteral("Kullanım: kalpiyon-veri ") + QString::fromUtf8(c.usage);
        const QStringList fits = positionals(QString::fromUtf8(c.usage), c.required);
        const QString name = fits.first();
        auto refused = [&](const char *row, const QStringList &args, const QString &message) {
            QTest::addRow("%s %s", qPrintable(name), row) << args << 2 << QStringList{QString()}
                                                          << QStringList{QStringLiteral("kalpiyon-veri: ") + message, usage, QString()};
        };
        QTest::addRow("%s --help", qPrintable(name)) << fits + QStringList{"--help"} << 0 << QStringList{usage, QString()} << QStringList{QString()};
        QTest::addRow("%s -h alone", qPrintable(name)) << QStringList{name, "-h"} << 0 << QStringList{usage, QString()} << QStringList{QString()};
        refused("unknown option", fits + QStringList{"--bilinmez"}, QStringLiteral("Bilinmeyen seçenek: --bilinmez"));
        refused("unknown short option", fits + QStringList{"-q"}, QStringLiteral("Bilinmeyen seçenek: -q"));
        refused("unknown option with a value", fits + QStringList{"--renk=mavi"}, QStringLiteral("Bilinmeyen seçenek: --renk"));
        refused("extra argument", positionals(QString::fromUtf8(c.usage), c.required + c.optional + 1),
                QStringLiteral("Yanlış sayıda bağımsız değişken."));
        if (c.required > 0)
            refused("missing argument", positionals(QString::fromUtf8(c.usage), c.required - 1), QStringLiteral("Yanlış sayıda bağımsız değişken."));
        for (const QString &option : c.valued)
            refused(qPrintable(option + QStringLiteral(" without its value")), fits + QStringList{option},
                    option + QStringLiteral(" seçeneği bir değer bekliyor"));
        for (const QString &flag : c.flags)
            refused(qPrintable(flag + QStringLiteral(" with a value")), fits + QStringList{flag + QStringLiteral("=evet")},
                    flag + QStringLiteral(" seçeneği bir değer almaz"));
    }
}

void TestDataTool::commandLines()
{
    QFETCH(QStringList, args);
    for (QString &a : args)
        a.replace(QStringLiteral("@yok"), file(QStringLiteral("yok")));
    const Run r = tool(args);
    QTEST(r.status, "status");
    QTEST(r.out.split(QLatin1Char('\n')), "out");
    QTEST(r.err.split(QLatin1Char('\n')), "err");
    QCOMPARE(QDir(dir.path()).entryList(QStringList{QStringLiteral("yok*")}, QDir::AllEntries), QStringList());
}

// "--" ends the options: a file whose name begins with a dash can be named after it.
void TestDataTool::dashedNameAfterDoubleDash()
{
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(KALPIYON_VERI), {QStringLiteral("create"), QStringLiteral("--"), QStringLiteral("-tire.mdb")});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QCOMPARE(testdb::sqliteCli(file(QStringLiteral("-tire.mdb")), QStringLiteral("SELECT count(*) FROM veriler")), QStringLiteral("0"));
}

// An option's value may follow it or be joined to it with "=".
void TestDataTool::optionValueForms()
{
    QStringList exports;
    for (const QStringList &seed : {QStringList{"--seed", "7"}, QStringList{"--seed=7"}, QStringList{"--seed", "8"}}) {
        const QString db = file(QStringLiteral("tohum.mdb"));
        const Run demo = tool(QStringList{QStringLiteral("demo"), db, QStringLiteral("5"), QStringLiteral("--force")} + seed);
        QVERIFY2(demo.status == 0, qPrintable(demo.err));
        exports << tool({QStringLiteral("export-csv"), db}).out;
    }
    QCOMPARE(exports[1], exports[0]);
    QVERIFY(exports[2] != exports[0]);  // the seed was read, not left at its default
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
        const Run r = tool(args, 120000, env);
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

void TestDataTool::fifoRefusedAtOnce_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("check") << QStringList{QStringLiteral("check"), QStringLiteral("@fifo")};
    QTest::newRow("export-csv") << QStringList{QStringLiteral("export-csv"), QStringLiteral("@fifo")};
    QTest::newRow("pdf liste") << QStringList{QStringLiteral("pdf"), QStringLiteral("liste"), QStringLiteral("@fifo"), QStringLiteral("@out")};
}

// A FIFO named as the database: every command answers with a clear message at once instead
// of waiting for a writer forever.
void TestDataTool::fifoRefusedAtOnce()
{
    QFETCH(QStringList, args);
    const QString fifo = file(QStringLiteral("Data.mdb"));
    QFile::remove(fifo);
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    for (QString &a : args)
        a.replace(QStringLiteral("@fifo"), fifo).replace(QStringLiteral("@out"), file(QStringLiteral("fifo.pdf")));
    const Run r = tool(args, 20000);
    QFile::remove(fifo);
    QVERIFY2(r.status > 0, qPrintable(r.err));  // -2: it hung and was killed
    QVERIFY2(r.err.contains(QStringLiteral("sıradan bir dosya değil")), qPrintable(r.err));
    QVERIFY(!QFile::exists(file(QStringLiteral("fifo.pdf"))));
}

void TestDataTool::pdfOwnerOnly_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("rapor") << "rapor";
    QTest::newRow("liste") << "liste";
}

// The PDFs hold patient data: readable by their owner only, also when they replace a file.
void TestDataTool::pdfOwnerOnly()
{
    QFETCH(QString, kind);
    const QString db = file(QStringLiteral("pdf.mdb"));
    testdb::create(db, {QStringLiteral("ARI"), QStringLiteral("BAL")});
    const QString out = file(kind + QStringLiteral(".pdf"));
    QFile earlier(out);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();
    QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const Run r = tool({QStringLiteral("pdf"), kind, db, out});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QVERIFY(QFileInfo(out).size() > 1000);
    QCOMPARE(QFile::permissions(out) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(QDir(dir.path()).entryList({kind + QStringLiteral(".pdf*")}, QDir::Files), QStringList{kind + QStringLiteral(".pdf")});
}

// What the tool writes survives a power cut: traced system calls show the written file
// flushed before it takes its name, and its folder flushed after the rename; a save's
// folder is flushed after the rollback journal is deleted.
void TestDataTool::writtenFilesReachTheDisk_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("written");  // the file that must take its name durably; empty: a save
    QTest::newRow("pdf liste") << QStringList{QStringLiteral("pdf"), QStringLiteral("liste"), QStringLiteral("@db"), QStringLiteral("@out")}
                               << "@out";
    QTest::newRow("save (demo)") << QStringList{QStringLiteral("demo"), QStringLiteral("@new"), QStringLiteral("5")} << "";
}

void TestDataTool::writtenFilesReachTheDisk()
{
    if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
        QSKIP("strace is not installed (scripts/install-deps installs it)");
    QFETCH(QStringList, args);
    QFETCH(QString, written);
    const QString db = file(QStringLiteral("kalici.mdb"));
    testdb::create(db, {QStringLiteral("ARI")});
    QFile::remove(file(QStringLiteral("yeni.mdb")));
    const QString out = file(QStringLiteral("kalici.pdf"));
    for (QString *s : {&written})
        s->replace(QStringLiteral("@out"), out);
    for (QString &a : args)
        a.replace(QStringLiteral("@db"), db).replace(QStringLiteral("@out"), out).replace(QStringLiteral("@new"), file(QStringLiteral("yeni.mdb")));
    const QString log = file(QStringLiteral("strace.log"));
    QProcess p;
    p.start(QStringLiteral("strace"), QStringList{QStringLiteral("-f"), QStringLiteral("-o"), log, QStringLiteral("-e"),
                                                  QStringLiteral("trace=openat,fsync,fdatasync,rename,renameat,renameat2,unlink,unlinkat")} +
                                          QStringList{QStringLiteral(KALPIYON_VERI)} + args);
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList calls = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    QFile::remove(log);
    // fd number -> path, from the openat lines; then the order of flushes and renames.
    QHash<QString, QString> fds;
    QStringList events;
    static const QRegularExpression openat(QStringLiteral(R"re(openat\([^,]+, "([^"]+)", ([^)]*)\)\s+=\s+(\d+))re"));
    static const QRegularExpression sync(QStringLiteral(R"re((?:fsync|fdatasync)\((\d+)\)\s+=\s+0)re"));
    static const QRegularExpression renamed(QStringLiteral(R"re(rename(?:at2?)?\((?:[^,]+, )?"([^"]+)", (?:[^,]+, )?"([^"]+)")re"));
    static const QRegularExpression unlinked(QStringLiteral(R"re(unlink(?:at)?\((?:[^,]+, )?"([^"]+)")re"));
    for (const QString &line : calls) {
        if (const auto m = openat.match(line); m.hasMatch())
            fds.insert(m.captured(3), m.captured(1));
        else if (const auto m = sync.match(line); m.hasMatch())
            events << QStringLiteral("sync ") + fds.value(m.captured(1));
        else if (const auto m = renamed.match(line); m.hasMatch())
            events << QStringLiteral("rename ") + m.captured(1) + QStringLiteral(" -> ") + m.captured(2);
        else if (const auto m = unlinked.match(line); m.hasMatch())
            events << QStringLiteral("unlink ") + m.captured(1);
    }
    const QString folder = QStringLiteral("sync ") + QFileInfo(file(QStringLiteral("x"))).absolutePath();
    if (!written.isEmpty()) {
        const int rename = int(events.indexOf(QRegularExpression(QStringLiteral("^rename .* -> ") + QRegularExpression::escape(written) + QLatin1Char('$'))));
        QVERIFY2(rename > 0, qPrintable(events.join(QLatin1Char('\n'))));
        const QString temp = events[rename].section(QLatin1Char(' '), 1, 1);
        QVERIFY2(events.mid(0, rename).contains(QStringLiteral("sync ") + temp), qPrintable(events.join(QLatin1Char('\n'))));
        QVERIFY2(events.mid(rename).contains(folder), qPrintable(events.join(QLatin1Char('\n'))));
    } else {
        const int deleted = int(events.lastIndexOf(QRegularExpression(QStringLiteral("^unlink .*-journal$"))));
        QVERIFY2(deleted >= 0, qPrintable(events.join(QLatin1Char('\n'))));
        QVERIFY2(events.mid(deleted).contains(folder), qPrintable(events.join(QLatin1Char('\n'))));
    }
}

QTEST_GUILESS_MAIN(TestDataTool)
#include "tst_datatool.moc"
