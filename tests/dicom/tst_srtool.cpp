// kalpiyon-veri sr-oku / sr-aktar as a script runs them: a real process on real files.
#include <QtTest>

#include "Dataset.h"
#include "DeepReport.h"
#include "Schema.h"

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
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString fixture(const QString &name)
{
    return QStringLiteral(KALPIYON_TEST_FIXTURES "/") + name;
}

// "field<TAB>value" lines of an .expected.tsv, as sr-oku must print them.
QStringList expectedLines(const QString &sample)
{
    QFile f(fixture(sample + QStringLiteral(".expected.tsv")));
    f.open(QIODevice::ReadOnly);
    QStringList lines;
    for (const QByteArray &line : f.readAll().split('\n').mid(2))
        if (!line.isEmpty())
            lines << QString::fromUtf8(line).section(u'\t', 0, 1);
    return lines;
}
}  // namespace

class TestSrTool : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void srOku_data();
    void srOku();
    void srOkuRefuses_data();
    void srOkuRefuses();
    void srAktar_data();
    void srAktar();
    void srAktarRefusedWritesNothing();
};

void TestSrTool::srOku_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("skipped");  // items stderr must list as skipped
    QTest::newRow("TID 5200") << "tid5200-comprehensive"
                              << QStringList{"LN:18038-0 1.28", "LN:20247-3 26 mm[Hg]", "LN:20355-4 301 cm/s", "LN:8277-6 1.98"};
    QTest::newRow("TID 5300") << "tid5300-simplified" << QStringList{"LN:79937-9 28 mm[Hg]", "SCT:410668003 2.2 cm"};
}

void TestSrTool::srOku()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, skipped);
    const Run r = tool({QStringLiteral("sr-oku"), fixture(sample + QStringLiteral(".dcm"))});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out.split(u'\n', Qt::SkipEmptyParts), expectedLines(sample));
    QVERIFY(r.out.endsWith(u'\n'));
    // Every value's source goes to standard error, and so does every skipped item.
    for (const QString &line : expectedLines(sample))
        QVERIFY2(r.err.contains(line.section(u'\t', 0, 0) + QStringLiteral(": ")), qPrintable(line));
    for (const QString &item : skipped)
        QVERIFY2(r.err.contains(QStringLiteral("atlandı: ") + item), qPrintable(item + u'\n' + r.err));
}

void TestSrTool::srOkuRefuses_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("Basic Text SR") << fixture(QStringLiteral("basic-text-sr.dcm")) << "ekokardiyografi raporu değil";
    QTest::newRow("not DICOM") << fixture(QStringLiteral("README.md")) << "Dosya okunamadı";
    QTest::newRow("missing") << QStringLiteral("/nonexistent/x.dcm") << "Dosya okunamadı";
    // 7,000 nested levels overflowed dcmtk's recursive reader: the tool died of signal 11.
    const QString deep = dir.filePath(QStringLiteral("deep.dcm"));
    QVERIFY(deeptest::writeDeepReport(deep, 7000, "1.2.826.0.1.3680043.2.1143.9.7000"));
    QTest::newRow("7,000 levels deep") << deep << "iç içe öğeler";
    // Its English reason ("Sequence Delimitation Item missing") is not the message.
    const QString open = dir.filePath(QStringLiteral("open.dcm"));
    QVERIFY(deeptest::writeDeepReport(open, 3, "1.2.826.0.1.3680043.2.1143.9.3", false));
    QTest::newRow("sequences left open") << open << "Dosya okunamadı: DICOM dosyası değil, eksik ya da bozuk. Raporu";
}

void TestSrTool::srOkuRefuses()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    const Run r = tool({QStringLiteral("sr-oku"), file});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    // The toolkit's own words only below "Ayrıntılar:", for the IT person.
    const QString said = r.err.section(QStringLiteral("Ayrıntılar:"), 0, 0);
    for (const char *english : {"stream", "Delimitation", "missing"})
        QVERIFY2(!said.contains(QLatin1String(english)), qPrintable(r.err));
}

void TestSrTool::srAktar_data()
{
    QTest::addColumn<QString>("sample");
    QTest::newRow("TID 5200") << "tid5200-comprehensive";
    QTest::newRow("TID 5300") << "tid5300-simplified";
}

// The appended record holds exactly the expected values; every other field stays empty.
void TestSrTool::srAktar()
{
    QFETCH(QString, sample);
    const QString db = dir.filePath(sample + QStringLiteral(".mdb"));
    QCOMPARE(tool({QStringLiteral("create"), db}).status, 0);
    const Run r = tool({QStringLiteral("sr-aktar"), fixture(sample + QStringLiteral(".dcm")), db});
    QCOMPARE(r.status, 0);
    records::Dataset data;
    data.open(db);
    QCOMPARE(data.recordCount(), 1);
    QHash<QString, QString> expected;
    for (const QString &line : expectedLines(sample))
        expected.insert(line.section(u'\t', 0, 0), line.section(u'\t', 1, 1));
    for (int f = 0; f < records::kFieldCount; ++f) {
        const QString name = QLatin1String(records::kFields[f].name);
        const QVariant v = data.value(f);
        if (!expected.contains(name))
            QVERIFY2(v.isNull(), qPrintable(name));
        else if (name == QLatin1String("Tarih"))
            QCOMPARE(v.toDateTime().date().toString(Qt::ISODate), expected.value(name));
        else
            QCOMPARE(v.toString(), expected.value(name));
    }
}

void TestSrTool::srAktarRefusedWritesNothing()
{
    const QString db = dir.filePath(QStringLiteral("refused.mdb"));
    QCOMPARE(tool({QStringLiteral("create"), db}).status, 0);
    QFile f(db);
    f.open(QIODevice::ReadOnly);
    const QByteArray before = f.readAll();
    f.close();
    const Run r = tool({QStringLiteral("sr-aktar"), fixture(QStringLiteral("basic-text-sr.dcm")), db});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains(QStringLiteral("ekokardiyografi raporu değil")));
    f.open(QIODevice::ReadOnly);
    QCOMPARE(f.readAll(), before);
    // A missing database is refused too, and not created.
    const QString missing = dir.filePath(QStringLiteral("missing.mdb"));
    QCOMPARE(tool({QStringLiteral("sr-aktar"), fixture(QStringLiteral("tid5300-simplified.dcm")), missing}).status, 1);
    QVERIFY(!QFile::exists(missing));
}

QTEST_GUILESS_MAIN(TestSrTool)
#include "tst_srtool.moc"
