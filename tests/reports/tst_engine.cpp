// The report engine on its own: pagination of the record list, the fit test, system
// variables and placeholders, field texts, the error list, wrapping and clipping, alignment,
// the template tables, and PDF output read back with pdftotext.
#include <QProcess>
#include <QtTest>

#include "DatasetAdapter.h"
#include "Find.h"
#include "ReportRows.h"
#include "Error.h"
#include "ReportFilling.h"
#include "RecordStore.h"

using namespace reports;

namespace {

// The drawn texts of a page, joined.
QStringList textsOf(const PreparedReport &r, int page)
{
    QStringList list;
    for (const TextPiece &p : pageTexts(r, page))
        list << p.text;
    return list;
}

int dataLines(const PreparedReport &r, int page)
{
    int n = 0;
    for (const PreparedBand &b : r.pages[page].bands)
        n += r.tmpl->bands[b.band].kind == BandKind::MasterData;
    return n;
}

// "Toplam: n|Sayfa: ..." of a page's footer band.
QString footer(const PreparedReport &r, int page)
{
    QString toplam, sayfa;
    for (const PreparedBand &b : r.pages[page].bands) {
        const Band &band = r.tmpl->bands[b.band];
        if (band.kind != BandKind::PageFooter)
            continue;
        for (size_t i = 0; i < band.objects.size(); ++i)
            (band.objects[i].name == QLatin1String("SysMemo2") ? toplam : sayfa) = b.texts[int(i)];
    }
    return toplam + QLatin1Char('|') + sayfa;
}

// The echo report filled without a dataset, its address line (Memo2) holding `address`.
ReportTemplate echoReportWithAddress(const QString &address)
{
    ReportTemplate t = makeRapor();
    FixedTexts fixed = FixedTexts::defaults();
    fixed.address = address;
    records::Dataset none;
    fillEchoReport(t, none, fixed);
    return t;
}

}  // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void pagination_data();
    void pagination();
    void emptyListShowsZero();
    void fitTestIsStrict_data();
    void fitTestIsStrict();
    void fieldTexts_data();
    void fieldTexts();
    void expressionTexts_data();
    void expressionTexts();
    void errorList_data();
    void errorList();
    void wrappingAndClipping();
    void alignmentRules();
    void templateTables_data();
    void templateTables();
    void memoTextSetting();
    void drawingTheSamePageAgain();
    void pdfShowsTurkishTextsAndUnits();
    void bandTextsKeepEveryText();
    void findSkipsOnlyPagesWithoutTheText_data();
    void findSkipsOnlyPagesWithoutTheText();
};

void TestEngine::pagination_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<int>>("linesPerPage");
    QTest::addColumn<QStringList>("footers");
    QTest::newRow("0") << 0 << QList<int>{0} << QStringList{"Toplam: 0|Sayfa: 1 / 1"};
    QTest::newRow("1") << 1 << QList<int>{1} << QStringList{"Toplam: 1|Sayfa: 1 / 1"};
    QTest::newRow("47") << 47 << QList<int>{47} << QStringList{"Toplam: 47|Sayfa: 1 / 1"};
    QTest::newRow("48") << 48 << QList<int>{47, 1} << QStringList{"Toplam: 48|Sayfa: 1 / 2", "Toplam: 48|Sayfa: 2 / 2"};
    QTest::newRow("100") << 100 << QList<int>{47, 53} << QStringList{"Toplam: 48|Sayfa: 1 / 2", "Toplam: 100|Sayfa: 2 / 2"};
    QTest::newRow("101") << 101 << QList<int>{47, 53, 1}
                         << QStringList{"Toplam: 48|Sayfa: 1 / 3", "Toplam: 101|Sayfa: 2 / 3", "Toplam: 101|Sayfa: 3 / 3"};
}

void TestEngine::pagination()
{
    QFETCH(int, records);
    QFETCH(QList<int>, linesPerPage);
    QFETCH(QStringList, footers);
    ReportTemplate t = makeRaporKisi();
    Rows data(people(records));
    PreparedReport r;
    QStringList errors;
    QVERIFY(BuildPages(t, &data, r, &errors));
    QCOMPARE(r.pageCount(), linesPerPage.size());
    for (int p = 0; p < r.pageCount(); ++p) {
        QCOMPARE(dataLines(r, p), linesPerPage[p]);
        // The footer's stored text keeps the placeholder; drawing puts the total in.
        QString drawn = footer(r, p);
        drawn.replace(QStringLiteral("[TotalPages#]"), QString::number(r.pageCount()));
        QCOMPARE(drawn, footers[p]);
        QVERIFY(textsOf(r, p).contains(footers[p].section(QLatin1Char('|'), 1)));
    }
}

void TestEngine::emptyListShowsZero()
{
    // The row number lives with the template, but an empty list after a list of 3 shows 0,
    // not the previous count.
    ReportTemplate t = makeRaporKisi();
    Rows three(people(3)), none({});
    PreparedReport r;
    BuildPages(t, &three, r, nullptr);
    BuildPages(t, &none, r, nullptr);
    QCOMPARE(footer(r, 0).section(QLatin1Char('|'), 0, 0), QStringLiteral("Toplam: 0"));
    QCOMPARE(t.lineHash, 0);
}

void TestEngine::fitTestIsStrict_data()
{
    QTest::addColumn<double>("extra");
    QTest::addColumn<int>("pages");
    QTest::newRow("exactly the free space") << 0.0 << 1;
    QTest::newRow("0.0001 more") << 0.0001 << 2;
}

void TestEngine::fitTestIsStrict()
{
    QFETCH(double, extra);
    ReportTemplate t = makeRaporKisi();
    // One data row whose band is exactly the space left under the title band.
    Band &data = t.bands[1];
    data.height = t.pageHeight() - t.bands[2].height - t.bands[0].height + extra;
    Rows one(people(1));
    PreparedReport r;
    QVERIFY(BuildPages(t, &one, r, nullptr));
    QTEST(r.pageCount(), "pages");
}

void TestEngine::fieldTexts_data()
{
    QTest::addColumn<QVariant>("tarih");
    QTest::addColumn<QString>("e");
    QTest::addColumn<QString>("tarihText");
    QTest::addColumn<QString>("eLine");
    QTest::newRow("midnight") << QVariant(QDateTime(QDate(2010, 8, 16), QTime(0, 0), Qt::UTC)) << "0,6" << "16.08.2010" << "E :  0,6  m/sn";
    QTest::newRow("14:30") << QVariant(QDateTime(QDate(2010, 8, 16), QTime(14, 30), Qt::UTC)) << "" << "16.08.2010 14:30:00" << "E :    m/sn";
    QTest::newRow("null date, null E") << QVariant() << QString() << "" << "E :    m/sn";
}

void TestEngine::fieldTexts()
{
    QFETCH(QVariant, tarih);
    QFETCH(QString, e);
    ReportTemplate t = makeRapor();
    Rows data({});
    data.current = {{QStringLiteral("Tarih"), tarih}, {QStringLiteral("E"), e.isNull() ? QVariant() : QVariant(e)}};
    PreparedReport r;
    QVERIFY(BuildPages(t, &data, r, nullptr));
    QCOMPARE(r.pageCount(), 1);
    const PreparedBand &band = r.pages[0].bands[0];
    auto textOf = [&](const char *name) {
        for (size_t i = 0; i < t.bands[0].objects.size(); ++i)
            if (t.bands[0].objects[i].name == QLatin1String(name))
                return band.texts[int(i)];
        return QStringLiteral("?");
    };
    QTEST(textOf("Memo10"), "tarihText");
    QTEST(textOf("Memo81"), "eLine");
    QCOMPARE(textOf("Memo96"), QStringLiteral("EF :  % "));
    QCOMPARE(textOf("Memo4"), QStringLiteral("ADI SOYADI :"));
}

void TestEngine::expressionTexts_data()
{
    QTest::addColumn<QString>("address");  // Memo2's text
    QTest::addColumn<QVariant>("tarih");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("text");
    const QVariant afternoon(QDateTime(QDate(2010, 8, 16), QTime(14, 30), Qt::UTC));
    const QString tarih = QStringLiteral("[frxDBDataset1.\"Tarih\"]");
    QTest::newRow("a date") << tarih << afternoon << QTime(10, 15) << "16.08.2010 14:30:00";
    QTest::newRow("a null date is 0") << tarih << QVariant() << QTime(10, 15) << "0";
    QTest::newRow("a null date, any case") << "[frxDBDataset1.\"tARIH\"]" << QVariant() << QTime(10, 15) << "0";
    QTest::newRow("a null text is empty") << "<[frxDBDataset1.\"Yorum1\"]>" << QVariant() << QTime(10, 15) << "<>";
    QTest::newRow("DATE") << "[DATE]" << QVariant() << QTime(10, 15) << "16.05.2024";
    QTest::newRow("TIME") << "[TIME]" << QVariant() << QTime(10, 15) << "10:15:00";
    QTest::newRow("TIME at midnight is empty") << "<[TIME]>" << QVariant() << QTime(0, 0) << "<>";
}

void TestEngine::expressionTexts()
{
    QFETCH(QString, address);
    QFETCH(QVariant, tarih);
    QFETCH(QTime, now);
    ReportTemplate t = echoReportWithAddress(address);
    Rows data({});
    data.current = {{QStringLiteral("Tarih"), tarih}};
    BuildOptions options;
    options.now = QDateTime(QDate(2024, 5, 16), now);
    PreparedReport r;
    QStringList errors;
    QVERIFY2(BuildPages(t, &data, r, &errors, options), qPrintable(errors.join(u'\n')));
    QCOMPARE(t.bands[0].objects[1].name, QStringLiteral("Memo2"));
    QTEST(r.pages[0].bands[0].texts[1], "text");
}

void TestEngine::errorList_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("error");
    QTest::newRow("no bracket prints as typed") << "TEL:000 - 000 00 00" << true << "";
    QTest::newRow("unknown name") << "Adres [bina]" << false << "Memo2: Bilinmeyen değişken veya saha: bina";
    QTest::newRow("not an expression") << "Adres [bina 3]" << false << "Memo2: Söz dizimi hatası 'bina 3'";
    QTest::newRow("unknown field") << "[frxDBDataset1.\"Kilo\"]" << false << "Memo2: Saha bulunamadı: frxDBDataset1.\"Kilo\"";
    QTest::newRow("system variable, any case") << "[page#] / [TotalPages#]" << true << "";
    QTest::newRow("quoted bracket does not count") << "[frxDBDataset1.\"Yas\"] ']'" << true << "";
}

void TestEngine::errorList()
{
    QFETCH(QString, address);
    QFETCH(bool, ok);
    QFETCH(QString, error);
    ReportTemplate t = echoReportWithAddress(address);
    Rows data({});
    data.current = {{QStringLiteral("Yas"), QStringLiteral("40")}};
    PreparedReport r;
    QStringList errors;
    QCOMPARE(BuildPages(t, &data, r, &errors), ok);
    if (!ok) {
        QVERIFY2(errors.first().startsWith(error), qPrintable(errors.join('\n')));
        QVERIFY(errorMessage(errors).startsWith(QStringLiteral("Aşağıdaki hata(lar) oluştu:\n")));
    } else if (address.startsWith(QLatin1Char('['))) {
        const QString text = r.pages[0].bands[0].texts[1];
        QVERIFY2(text == QStringLiteral("1 / [TotalPages#]") || text == QStringLiteral("40 ']'"), qPrintable(text));
    } else {
        QCOMPARE(r.pages[0].bands[0].texts[1], address);
    }
    // An adapter without a dataset ends the preparation.
    Rows unbound({}, false);
    QVERIFY(!BuildPages(t, &unbound, r, &errors));
    QCOMPARE(errors.last(), QStringLiteral("frxDBDataset1 DataSet'i veriye bağlanmamış"));
}

void TestEngine::wrappingAndClipping()
{
    const ReportFace &font = reportFace(10, false);
    // Wraps after the last blank that fits; a word wider than the area breaks between characters.
    const QStringList lines = layoutLines(QStringLiteral("MİTRAL KAPAK HAFİF KALIN"), font, 100, true);
    QVERIFY(lines.size() >= 2);
    QVERIFY(!lines.first().endsWith(QLatin1Char(' ')));
    QCOMPARE(lines.join(QLatin1Char(' ')), QStringLiteral("MİTRAL KAPAK HAFİF KALIN"));
    const QStringList broken = layoutLines(QStringLiteral("ÇOKUZUNBİRKELİMEKİSIĞMAZ"), font, 60, true);
    QVERIFY(broken.size() >= 2);
    QCOMPARE(broken.join(QString()), QStringLiteral("ÇOKUZUNBİRKELİMEKİSIĞMAZ"));
    QCOMPARE(layoutLines(QStringLiteral("W"), font, 1, true), QStringList{QStringLiteral("W")});
    QCOMPARE(layoutLines(QStringLiteral("a\n\nb"), font, 500, true).size(), 3);  // an empty line keeps its place

    // In a 5 mm cell only the first line of a long value is drawn.
    ReportTemplate t = makeRapor();
    Rows data({});
    data.current = {{QStringLiteral("mitral_kapak"), QStringLiteral("ÇOK UZUN BİR KAPAK YAPISI AÇIKLAMASI BURADA")}};
    PreparedReport r;
    QVERIFY(BuildPages(t, &data, r, nullptr));
    int pieces = 0;
    for (const TextPiece &p : pageTexts(r, 0))
        if (QStringLiteral("ÇOK UZUN BİR KAPAK YAPISI AÇIKLAMASI BURADA").startsWith(p.text) && !p.text.isEmpty())
            ++pieces;
    QCOMPARE(pieces, 1);
}

void TestEngine::alignmentRules()
{
    ReportTemplate t = makeRaporKisi();
    const ReportObject *memo3 = t.FindObject(QStringLiteral("memo3"));  // case does not matter
    QVERIFY(memo3);
    QCOMPARE(memo3->left, (642.5201 - 438.42548) / 2);  // baCenter
    QCOMPARE(t.FindObject(QStringLiteral("Memo1"))->width, t.pageWidth());  // baWidth, nothing beside it
    QVERIFY(!t.FindObject(QStringLiteral("Memo999")));

    // baWidth between two neighbours on the same row.
    ReportTemplate s;
    Band b;
    b.kind = BandKind::ReportTitle;
    b.height = 20;
    ReportObject left, mid, right, below;
    left.left = 10, left.width = 50, left.top = 0, left.height = 10;
    right.left = 300, right.width = 40, right.top = 5, right.height = 10;
    below.left = 100, below.width = 10, below.top = 10, below.height = 10;  // touches only: no overlap
    mid.left = 120, mid.width = 5, mid.top = 0, mid.height = 10, mid.align = ObjectAlign::Width;
    b.objects = {left, right, below, mid};
    s.bands.push_back(b);
    s.layOut();
    QCOMPARE(s.bands[0].objects[3].left, 60.0);
    QCOMPARE(s.bands[0].objects[3].width, 240.0);
}

void TestEngine::templateTables_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("row");
    for (int which = 0; which < 2; ++which) {
        const auto &rows = which == 0 ? raporRows() : raporKisiRows();
        for (int i = 0; i < int(rows.size()); ++i)
            QTest::addRow("%s %s", which == 0 ? "Rapor" : "RaporKisi", rows[i].name) << which << i;
    }
}

void TestEngine::templateTables()
{
    QFETCH(int, which);
    QFETCH(int, row);
    const ObjectRow &r = (which == 0 ? raporRows() : raporKisiRows())[row];
    const double values[4] = {r.left, r.top, r.width, r.height};
    for (int k = 0; k < 4; ++k)
        QVERIFY2(std::abs(values[k] / kPixelsPerMm - r.mm[k]) < 0.006,
                 qPrintable(QStringLiteral("%1: %2 px is not %3 mm").arg(QLatin1String(r.name)).arg(values[k]).arg(r.mm[k])));
    // Every object has a name unique within its template, and the program's memos exist.
    const auto &rows = which == 0 ? raporRows() : raporKisiRows();
    int same = 0;
    for (const ObjectRow &other : rows)
        same += QLatin1String(other.name) == QLatin1String(r.name);
    QCOMPARE(same, 1);
    if (which == 0 && row == 0) {
        QCOMPARE(int(rows.size()), 109);
        ReportTemplate t = makeRapor();
        for (const char *name : {"Memo1", "Memo2", "Memo3", "K1", "K7", "M1", "M11", "M2", "M3", "A1", "A4", "T1", "T2",
                                 "P1", "P4", "MemoDr", "MemoUnvan"}) {
            const ReportObject *o = t.FindObject(QLatin1String(name));
            QVERIFY2(o && o->memo.isEmpty(), name);
        }
        QCOMPARE(t.bands[0].objects.back().name, QStringLiteral("M11"));  // drawn last
    }
}

void TestEngine::drawingTheSamePageAgain()
{
    // 60 pages drawn, then the first again from the page cache: the same pixels, and the
    // total is the final page count on every page.
    ReportTemplate t = makeRaporKisi();
    Rows data(people(47 + 53 * 59));
    PreparedReport r;
    QVERIFY(BuildPages(t, &data, r, nullptr));
    QCOMPARE(r.pageCount(), 60);
    auto draw = [&](int page) {
        QImage image(sheetSize(t).toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawPage(r, page, painter, 1.0);
        return image;
    };
    const QImage first = draw(0);
    for (int page = 1; page < 60; ++page)
        draw(page);
    QCOMPARE(draw(0), first);
    QVERIFY(textsOf(r, 59).contains(QStringLiteral("Sayfa: 60 / 60")));
    QVERIFY(textsOf(r, 1).contains(QStringLiteral("Sayfa: 2 / 60")));
}

void TestEngine::memoTextSetting()
{
    ReportObject o;
    setMemoText(o, QStringLiteral("a\r\nb\rc\nd") + QChar(0x2028) + QStringLiteral("e"));
    QCOMPARE(o.memo, (QStringList{"a", "b", "c", "d", "e"}));
    setMemoText(o, QString());
    QVERIFY(o.memo.isEmpty());
}

void TestEngine::pdfShowsTurkishTextsAndUnits()
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("Data.mdb"));
    records::createRecordStore(db);
    {
        const auto store = records::openRecordStore(db);
        QVector<QVariant> v(records::kFieldCount);
        auto set = [&](const char *f, const QVariant &x) { v[records::fieldIndex(QLatin1String(f))] = x; };
        set("Adi_Soyadi", QStringLiteral("ŞEKER AYŞE"));
        set("kalp_la", QStringLiteral("3,5"));
        set("mitral_mkg_peak", QStringLiteral("12"));
        set("mitral_mka", QStringLiteral("4"));
        set("EF", QStringLiteral("65"));
        set("ra", QStringLiteral("   "));
        set("Tarih", QDateTime(QDate(2010, 8, 16), QTime(0, 0), Qt::UTC));
        store->insert(v);
    }
    records::Dataset ds;
    ds.open(db);
    ReportTemplate t = makeRapor();
    fillEchoReport(t, ds, FixedTexts::defaults());
    QCOMPARE(t.FindObject(QStringLiteral("K4"))->memo, QStringList{QStringLiteral("    cm")});  // blanks count
    QCOMPARE(t.FindObject(QStringLiteral("M11"))->memo, QStringList{QStringLiteral("2")});
    QVERIFY(t.FindObject(QStringLiteral("K2"))->memo.isEmpty());  // empty field: no unit
    DatasetAdapter adapter(&ds, fieldsUsedBy(t));
    PreparedReport r;
    QVERIFY(BuildPages(t, &adapter, r, nullptr));
    const QString pdf = dir.filePath(QStringLiteral("rapor.pdf"));
    writePdf(r, pdf);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    // pdftotext folds runs of blanks, so both sides are compared folded.
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    for (const char *expected : {"ŞEKER AYŞE", "3,5 cm", "12 mm/Hg", "EF :  % 65", "KALPİYON RAPORU", "16.08.2010",
                                 "TRİKÜSPİD KAPAK", "TEL:000 - 000 00 00"})
        QVERIFY2(text.contains(QString::fromUtf8(expected).simplified()), expected);
    // pdftotext may drop the narrow blank between a bold "E" and its colon.
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("E ?: m/sn"))));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("A ?: m/sn"))));
}


void TestEngine::bandTextsKeepEveryText()
{
    // Lengths at and around the switch from one length character to two.
    const QStringList texts{QString(), QStringLiteral("ı"), QString(0x7fff, u'a'), QString(0x8000, u'b'),
                            QString(70000, QChar(0x0130)), QStringLiteral("son \U0001F493"), QString()};
    const BandTexts packed(texts);
    QCOMPARE(packed.size(), texts.size());
    QCOMPARE(packed.toList(), texts);
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(packed.value(i), texts[i]);
    QCOMPARE(packed.value(texts.size()), QString());
    BandTexts appended;
    for (const QString &t : texts)
        appended << t;
    QVERIFY(appended == packed);
    appended << QStringLiteral("x");
    QVERIFY(appended != packed);
}

void TestEngine::findSkipsOnlyPagesWithoutTheText_data()
{
    QTest::addColumn<QString>("name");       // the name of the last record (on page 3)
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<int>("page");           // where the first match is; -1: none
    QTest::newRow("Turkish capitals") << "İBRAHİM IŞIK" << "ibrahim ışık" << false << 2;
    QTest::newRow("dotless and dotted i differ") << "IŞIK" << "işik" << false << -1;
    QTest::newRow("case-sensitive") << "İBRAHİM" << "İbrahim" << true << -1;
    QTest::newRow("case-sensitive, same case") << "İbrahim" << "İbrahim" << true << 2;
    QTest::newRow("upper-cased into two letters") << "GROß" << "GROSS" << false << 2;
    QTest::newRow("beyond the first plane") << "KALP \U0001F493" << "\U0001F493" << false << 2;
    QTest::newRow("page count put in") << "HASTA" << "Sayfa: 1 / 3" << false << 0;
    QTest::newRow("page count put in, any case") << "ZEKİ [totalpages#]" << "zeki 3" << false << 2;
    QTest::newRow("not across two texts") << "ZZZ" << "ZZZ40" << false << -1;
}

void TestEngine::findSkipsOnlyPagesWithoutTheText()
{
    QFETCH(QString, name);
    QFETCH(QString, needle);
    QFETCH(bool, caseSensitive);
    QFETCH(int, page);
    ReportTemplate t = makeRaporKisi();
    fillRecordList(t, FixedTexts::defaults());
    QList<QHash<QString, QVariant>> rows = people(101);  // three pages
    rows.last()[QStringLiteral("Adi_Soyadi")] = name;
    Rows data(rows);
    PreparedReport r;
    QVERIFY(BuildPages(t, &data, r, nullptr));
    QCOMPARE(r.pageCount(), 3);
    const FindHit hit = findText(r, 0, -1, needle, caseSensitive, QLocale(QLocale::Turkish, QLocale::Turkey));
    QCOMPARE(hit.page, page);
    if (hit.found()) {
        const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
        const QString piece = pageTexts(r, hit.page)[size_t(hit.piece)].text;
        QVERIFY2(caseSensitive ? piece.contains(needle) : turkish.toUpper(piece).contains(turkish.toUpper(needle)), qPrintable(piece));
    }
}

QTEST_MAIN(TestEngine)
#include "tst_engine.moc"
