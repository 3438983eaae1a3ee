// Prepared pages saved and opened again; damaged and hostile files refused cleanly.
#include <QtTest>

#include "Error.h"
#include "PreparedReportFile.h"
#include "ReportRows.h"

using namespace reports;

namespace {
// Names that need escaping in XML, with Turkish letters.
QList<QHash<QString, QVariant>> awkwardNames(int n)
{
    QList<QHash<QString, QVariant>> rows;
    for (int i = 0; i < n; ++i)
        rows.append({{QStringLiteral("Adi_Soyadi"), QStringLiteral("ÇAĞLAR <&> \"%1\"").arg(i)}});
    return rows;
}
}  // namespace

class TestPreparedFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip();
    void awkwardTexts_data();
    void awkwardTexts();
    void refused_data();
    void refused();
    void hostileClaims_data();
    void hostileClaims();
    void pagesOfEitherReport();
    void savedOwnerOnlyOverAnEarlierFile();
};

void TestPreparedFile::roundTrip()
{
    ReportTemplate t = makeRaporKisi();
    Rows rows(awkwardNames(120));
    PreparedReport r;
    QVERIFY(BuildPages(t, &rows, r, nullptr));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.fp3"));
    savePreparedReportFile(r, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("<preparedreport"));
    PreparedReport back;
    loadPreparedReportFile(path, t, back);
    QCOMPARE(back.pageCount(), r.pageCount());
    for (int p = 0; p < r.pageCount(); ++p) {
        QCOMPARE(back.pages[p].bands.size(), r.pages[p].bands.size());
        for (size_t b = 0; b < r.pages[p].bands.size(); ++b) {
            QCOMPARE(back.pages[p].bands[b].band, r.pages[p].bands[b].band);
            QCOMPARE(back.pages[p].bands[b].y, r.pages[p].bands[b].y);
            QCOMPARE(back.pages[p].bands[b].texts.toList(), r.pages[p].bands[b].texts.toList());
        }
    }
}

// Texts that XML carries only with care come back as they were, or as U+FFFD where XML
// cannot carry a character at all; the file written is always readable.
void TestPreparedFile::awkwardTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("back");
    const QString fffd(QChar::ReplacementCharacter);
    QTest::newRow("carriage return") << QStringLiteral("a\rb\r\nc\r") << QStringLiteral("a\rb\r\nc\r");
    QTest::newRow("tab and line feed") << QStringLiteral("a\tb\nc") << QStringLiteral("a\tb\nc");
    QTest::newRow("control character") << QStringLiteral("a") + QChar(1) + QStringLiteral("b") << QStringLiteral("a") + fffd + QStringLiteral("b");
    QTest::newRow("unpaired surrogate") << QStringLiteral("A") + QChar(0xD83D) + QStringLiteral("B") << QStringLiteral("A") + fffd + QStringLiteral("B");
    QTest::newRow("surrogate pair") << QStringLiteral("kalp \U0001F493") << QStringLiteral("kalp \U0001F493");
}

void TestPreparedFile::awkwardTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, back);
    ReportTemplate t = makeRaporKisi();
    Rows rows(awkwardNames(1));
    PreparedReport r;
    QVERIFY(BuildPages(t, &rows, r, nullptr));
    QStringList texts = r.pages[0].bands[0].texts.toList();
    texts[0] = text;
    r.pages[0].bands[0].texts = texts;
    PreparedReport read;
    loadPreparedReport(savePreparedReport(r), t, read);
    QCOMPARE(read.pages[0].bands[0].texts[0], back);
}

void TestPreparedFile::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = [] {
        ReportTemplate t = makeRaporKisi();
        Rows rows(awkwardNames(3));
        PreparedReport r;
        BuildPages(t, &rows, r, nullptr);
        return savePreparedReport(r);
    }();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not XML") << QByteArray("\x89PNG\r\n\x1a\n binary");
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("wrong root") << QByteArray("<report template=\"RaporKisi\"/>");
    QTest::newRow("another template") << QByteArray(good).replace("template=\"RaporKisi\"", "template=\"Rapor\"");
    QTest::newRow("entity tricks") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x \"xxxxxxxx\"><!ENTITY y \"&x;&x;&x;&x;\">]>"
                                                 "<preparedreport template=\"RaporKisi\"><page><band index=\"0\" y=\"0\"><text>&y;</text></band></page></preparedreport>");
    QTest::newRow("deep nesting") << QByteArray("<preparedreport template=\"RaporKisi\">") + QByteArray("<page>").repeated(5000);
    QTest::newRow("negative y") << QByteArray("<preparedreport template=\"RaporKisi\"><page><band index=\"0\" y=\"-5\"/></page></preparedreport>");
    QTest::newRow("y not a number") << QByteArray("<preparedreport template=\"RaporKisi\"><page><band index=\"0\" y=\"nan\"/></page></preparedreport>");
    QTest::newRow("band out of range") << QByteArray("<preparedreport template=\"RaporKisi\"><page><band index=\"9\" y=\"0\"/></page></preparedreport>");
    QTest::newRow("too many texts") << QByteArray("<preparedreport template=\"RaporKisi\"><page><band index=\"2\" y=\"0\">") +
                                           QByteArray("<text>x</text>").repeated(3) + QByteArray("</band></page></preparedreport>");
    // UTF-16 text with a lone surrogate, which the XML reader lets through.
    const QString lone = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><preparedreport template=\"RaporKisi\">"
                                        "<page><band index=\"2\" y=\"0\"><text>A") +
                         QChar(0xD83D) + QStringLiteral("B</text></band></page></preparedreport>");
    QTest::newRow("unpaired surrogate") << QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(lone.utf16()), lone.size() * 2);
}

void TestPreparedFile::refused()
{
    QFETCH(QByteArray, content);
    ReportTemplate t = makeRaporKisi();
    Rows rows(awkwardNames(60));
    PreparedReport shown;
    BuildPages(t, &rows, shown, nullptr);
    const int before = shown.pageCount();
    try {
        loadPreparedReport(content, t, shown);
        QFAIL("a damaged file was opened");
    } catch (const Error &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Hazırlanmış rapor dosyası okunamadı")), qPrintable(e.message()));
    }
    QCOMPARE(shown.pageCount(), before);  // the pages shown stay as they were
}

// Small files that claim more than a real report can hold: refused at once with a clear
// message, the pages shown kept.
void TestPreparedFile::hostileClaims_data()
{
    QTest::addColumn<QString>("templateName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const auto file = [](const char *name, const QByteArray &body) {
        return QByteArray("<preparedreport template=\"") + name + "\">" + body + "</preparedreport>";
    };
    // Each empty band of the report's title band stands for its ~100 memos in memory.
    QTest::newRow("300,000 title bands, one per page")
        << "Rapor" << file("Rapor", QByteArray("<page><band index=\"0\" y=\"0\"/></page>").repeated(300000))
        << "bellek";
    QTest::newRow("thousands of bands on one page")
        << "RaporKisi" << file("RaporKisi", "<page>" + QByteArray("<band index=\"1\" y=\"5\"/>").repeated(5000) + "</page>")
        << "sığabileceğinden çok bant";
    QTest::newRow("a text of a million characters")
        << "RaporKisi" << file("RaporKisi", "<page><band index=\"1\" y=\"5\"><text>" + QByteArray(1000000, 'A') + "</text></band></page>")
        << "metin çok uzun";
}

void TestPreparedFile::hostileClaims()
{
    QFETCH(QString, templateName);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    ReportTemplate rapor = makeRapor(), raporKisi = makeRaporKisi();
    ListReport shown(2);
    const int before = shown.report.pageCount();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kotu.fp3"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    try {
        loadPreparedReportFile(path, {&rapor, &raporKisi}, shown.report);
        QFAIL("a hostile file was opened");
    } catch (const Error &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Hazırlanmış rapor dosyası okunamadı")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QCOMPARE(shown.report.pageCount(), before);
    QCOMPARE(shown.report.tmpl, &shown.tmpl);
    Q_UNUSED(templateName);
}

// Pages saved from either report open with either report's templates at hand; the pages
// then refer to the template they were saved from. A real, long record list is within the
// limits.
void TestPreparedFile::pagesOfEitherReport()
{
    ReportTemplate rapor = makeRapor();
    ReportTemplate raporKisi = makeRaporKisi();
    fillRecordList(raporKisi, FixedTexts::defaults());
    Rows rows(people(5000));
    PreparedReport list;
    QVERIFY(BuildPages(raporKisi, &rows, list, nullptr));
    QVERIFY(list.pageCount() > 80);
    const QByteArray saved = savePreparedReport(list);
    PreparedReport read;
    loadPreparedReport(saved, {&rapor, &raporKisi}, read);
    QCOMPARE(read.tmpl, &raporKisi);
    QCOMPARE(read.pageCount(), list.pageCount());
    const int last = list.pageCount() - 1;
    QCOMPARE(pageTexts(read, last).back().text, pageTexts(list, last).back().text);
    // Only the echo report at hand: the list's pages belong to another report.
    try {
        loadPreparedReport(saved, {&rapor}, read);
        QFAIL("pages of an unknown template were opened");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QStringLiteral("başka bir rapora ait")), qPrintable(e.message()));
    }
    QCOMPARE(read.tmpl, &raporKisi);
}

void TestPreparedFile::savedOwnerOnlyOverAnEarlierFile()
{
    ListReport list(1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.fp3"));
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("eski");
    earlier.close();
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    savePreparedReportFile(list.report, path);
    QCOMPARE(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
             QFileDevice::Permissions());
    PreparedReport read;
    loadPreparedReportFile(path, list.tmpl, read);
    QCOMPARE(read.pageCount(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("liste.fp3")});  // no temporary left
}

QTEST_MAIN(TestPreparedFile)
#include "tst_preparedfile.moc"
