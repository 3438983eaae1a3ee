// Report text measured on rendered pages: at screen resolution (96 dpi), at print resolution
// (600 dpi) and in the PDF (rasterised by pdftoppm). The ink of a memo stays inside its text
// area, wraps where the rule says, and centred and right-aligned lines stand where the area
// puts them; pages drawn now match the committed renders pixel for pixel.
#include <QImageReader>
#include <QProcess>
#include <QtTest>

#include "ReportRows.h"

using namespace reports;

namespace {

enum class Device { Screen, Print, Pdf };

const char *deviceName(Device d)
{
    return d == Device::Screen ? "96 dpi" : d == Device::Print ? "600 dpi" : "PDF";
}

// Device pixels per report pixel, as the preview at 100 %, the print job and writePdf use.
double scaleOf(Device d)
{
    return d == Device::Screen ? 1.0 : d == Device::Print ? 600 / 25.4 / kPixelsPerMm : 600.0 / 96.0;
}

// A page as a grayscale picture on white.
QImage render(const PreparedReport &r, int page, Device d)
{
    if (d == Device::Pdf) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        writePdf(r, pdf);
        QProcess p;
        const QString n = QString::number(page + 1);
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"),
                                             QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, dir.filePath(QStringLiteral("page"))});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return QImage();
        const QStringList made = QDir(dir.path()).entryList({QStringLiteral("page*.pgm")});
        return made.isEmpty() ? QImage() : QImage(dir.filePath(made.first())).convertToFormat(QImage::Format_Grayscale8);
    }
    const double s = scaleOf(d);
    QImage image((sheetSize(*r.tmpl) * s).toSize(), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawPage(r, page, painter, s);
    painter.end();
    return image;
}

// Ink edges in device pixels within `region`, with sub-pixel precision from the anti-aliased
// coverage of the outermost columns (a column half covered puts the edge in its middle).
struct Ink {
    double left = 0, right = 0;
    int top = -1, bottom = -1;
    bool found() const { return top >= 0; }
};

Ink inkIn(const QImage &image, QRect region)
{
    region &= image.rect();
    std::vector<double> cover(size_t(region.width()), 0);
    Ink ink;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const uchar *row = image.constScanLine(y);
        bool any = false;
        for (int x = region.left(); x <= region.right(); ++x) {
            const double c = (255 - row[x]) / 255.0;
            if (c > 0) {
                any = true;
                cover[size_t(x - region.left())] = std::max(cover[size_t(x - region.left())], c);
            }
        }
        if (any) {
            if (ink.top < 0)
                ink.top = y;
            ink.bottom = y;
        }
    }
    if (!ink.found())
        return ink;
    int first = 0, last = int(cover.size()) - 1;
    while (cover[size_t(first)] == 0)
        ++first;
    while (cover[size_t(last)] == 0)
        --last;
    ink.left = region.left() + first + 1 - cover[size_t(first)];
    ink.right = region.left() + last + cover[size_t(last)];
    return ink;
}

// The text area of a memo placed on a page, worked out here from the template's geometry:
// the box less GapX and GapY, a framed side less half the frame's width.
QRectF areaOf(const ReportTemplate &t, const PreparedBand &pb, const ReportObject &o)
{
    const QRectF box(t.leftMargin * kPixelsPerMm + o.left, t.topMargin * kPixelsPerMm + pb.y + o.top, o.width, o.height);
    const double w = o.frame.width;
    return box.adjusted(o.gapX + (o.frame.left ? (w - 1) / 2 : 0), o.gapY + (o.frame.top ? (w - 1) / 2 : 0),
                        -o.gapX - (o.frame.right ? w / 2 : 0), -o.gapY - (o.frame.bottom ? w / 2 : 0));
}

struct Placed {
    const ReportObject *object = nullptr;
    QRectF area;
};

Placed find(const PreparedReport &r, int page, const QString &name)
{
    for (const PreparedBand &pb : r.pages[size_t(page)].bands)
        for (const ReportObject &o : r.tmpl->bands[size_t(pb.band)].objects)
            if (o.name == name)
                return {&o, areaOf(*r.tmpl, pb, o)};
    return {};
}

QRect devRect(const QRectF &r, double s)
{
    return QRectF(r.topLeft() * s, r.bottomRight() * s).toAlignedRect();
}

// A report of one band holding one memo: `width` wide, tall enough for `lines` lines, the
// text given, not clipped so that the wrapping alone keeps the ink in its area.
struct OneMemo {
    OneMemo(double width, int fontPt, const QString &text, int lines = 8)
    {
        ReportObject o;
        o.name = QStringLiteral("Test");
        o.left = 22.67718;
        o.width = width;
        o.fontPt = fontPt;
        o.height = lines * linePitch(o) + 2 * o.gapY;
        o.clipped = false;
        setMemoText(o, text);
        Band b;
        b.kind = BandKind::ReportTitle;
        b.height = o.height + 10;
        b.objects = {o};
        tmpl.bands = {b};
        tmpl.layOut();
        Rows none({});
        BuildPages(tmpl, &none, report, nullptr);
    }
    ReportTemplate tmpl;
    PreparedReport report;
};

// The echocardiography report's header and signature memos, as the print command fills them.
void fillHeader(ReportTemplate &t, const FixedTexts &fixed)
{
    const std::pair<const char *, QString> texts[] = {{"Memo1", fixed.workplace}, {"Memo2", fixed.address},
                                                      {"Memo3", fixed.reportTitle}, {"MemoDr", fixed.doctor},
                                                      {"MemoUnvan", fixed.doctorTitle}};
    for (const auto &[name, text] : texts)
        setMemoText(*t.FindObject(QLatin1String(name)), text);
}

const QString kMemo105Text = QStringLiteral(
    "Sol ventrikül duvar hareketleri ve kalınlığı normal izlendi, pulmoner arter basıncı normal.");

}  // namespace

class TestReportText : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QImageReader::setAllocationLimit(512); }  // a 600 dpi page

    void wrapsAtTheTextArea_data();
    void wrapsAtTheTextArea();
    void inkStaysInTheTextArea_data();
    void inkStaysInTheTextArea();
    void alignedInTheTextArea_data();
    void alignedInTheTextArea();
    void pagesMatchTheirRenders_data();
    void pagesMatchTheirRenders();
};

void TestReportText::wrapsAtTheTextArea_data()
{
    QTest::addColumn<double>("width");  // the memo's width in report pixels
    QTest::addColumn<int>("fontPt");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("firstLine");  // empty: only the rule is checked
    QTest::addColumn<int>("lineCount");      // 0: only the rule is checked
    // The record list's name cell, 144.4 pt of text area at 9 pt. At Arial's widths (33113
    // of 2048 units a pixel) the name is 145.5 pt wide, so it takes two lines; whole-pixel
    // hinted widths at 96 dpi would make it 143.7 pt.
    QTest::newRow("Memo4 name") << 196.53556 << 9 << QStringLiteral("BEKİR ABDURRAHMAN MUSTAFA")
                                << QStringLiteral("BEKİR ABDURRAHMAN") << 2;
    QTest::newRow("Memo4 short name") << 196.53556 << 9 << QStringLiteral("BEKİR ABDURRAHMAN TAHSİN") << QString() << 1;
    // 112 mm: "… pulmoner" is 294 pt, with " arter" 317.4 pt of a 314.5 pt area.
    QTest::newRow("Memo105 result line") << 423.30696213 << 10 << kMemo105Text
                                         << QStringLiteral("Sol ventrikül duvar hareketleri ve kalınlığı normal izlendi, pulmoner") << 2;
    QTest::newRow("150 × A in 164 mm") << 619.84292 << 10 << QString(150, QLatin1Char('A')) << QString() << 0;
    QTest::newRow("slash-joined words") << 143.62204724 << 10
                                        << QStringLiteral("MİTRAL/AORT/TRİKÜSPİD/PULMONER/DİYASTOLİK/SİSTOLİK") << QString() << 0;
    QTest::newRow("16 pt header") << 642.5201 << 16
                                  << QStringLiteral("İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler")
                                  << QString() << 2;
}

void TestReportText::wrapsAtTheTextArea()
{
    QFETCH(double, width);
    QFETCH(int, fontPt);
    QFETCH(QString, text);
    QFETCH(QString, firstLine);
    QFETCH(int, lineCount);
    OneMemo m(width, fontPt, text);
    const Placed p = find(m.report, 0, QStringLiteral("Test"));
    QVERIFY(p.object);
    QCOMPARE(p.area.width(), width - 4);
    const ReportFace &face = reportFace(fontPt, false);
    QStringList lines;
    for (const TextPiece &t : pageTexts(m.report, 0))
        lines << t.text;
    // Every line fits; a line broken at a blank would not fit with the next word, a word
    // broken between characters not with the next character.
    QString rest = text;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        QVERIFY2(face.advance(line) <= p.area.width(), qPrintable(line));
        QVERIFY(rest.startsWith(line));
        rest = rest.mid(line.size());
        if (rest.isEmpty())
            break;
        const bool atBlank = rest.startsWith(QLatin1Char(' '));
        const QString longer = atBlank ? line + rest.section(QLatin1Char(' '), 0, 1) : line + rest.left(1);
        QVERIFY2(face.advance(longer) > p.area.width(), qPrintable(longer));
        if (atBlank)
            rest = rest.mid(1);
    }
    QVERIFY(rest.isEmpty());
    if (!firstLine.isEmpty())
        QCOMPARE(lines.first(), firstLine);
    if (lineCount)
        QCOMPARE(lines.size(), lineCount);
}

void TestReportText::inkStaysInTheTextArea_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("fontPt");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reachesTheEdge");  // the text fills its area to within a character
    const struct {
        const char *name;
        double width;
        int fontPt;
        QString text;
        bool full;
    } rows[] = {
        {"Memo4 name", 196.53556, 9, QStringLiteral("BEKİR ABDURRAHMAN MUSTAFA"), false},
        {"Memo105", 423.30696213, 10, kMemo105Text, false},
        {"150 × A", 619.84292, 10, QString(150, QLatin1Char('A')), true},
        {"slash-joined", 143.62204724, 10, QStringLiteral("MİTRAL/AORT/TRİKÜSPİD/PULMONER/DİYASTOLİK/SİSTOLİK"), true},
        {"W run", 143.62204724, 10, QString(40, QLatin1Char('W')), true},
    };
    for (Device d : {Device::Screen, Device::Print, Device::Pdf})
        for (const auto &r : rows)
            QTest::addRow("%s %s", r.name, deviceName(d)) << int(d) << r.width << r.fontPt << r.text << r.full;
}

void TestReportText::inkStaysInTheTextArea()
{
    QFETCH(int, device);
    QFETCH(double, width);
    QFETCH(int, fontPt);
    QFETCH(QString, text);
    QFETCH(bool, reachesTheEdge);
    const Device d = Device(device);
    const double s = scaleOf(d);
    OneMemo m(width, fontPt, text);
    const QImage image = render(m.report, 0, d);
    QVERIFY(!image.isNull());
    const QRectF area = find(m.report, 0, QStringLiteral("Test")).area;
    // All ink of the page is this memo's: it lies between the area's sides (less than a
    // device pixel of anti-aliasing allowed).
    const Ink ink = inkIn(image, image.rect());
    QVERIFY(ink.found());
    QVERIFY2(ink.left >= area.left() * s - 1, qPrintable(QStringLiteral("%1 < %2").arg(ink.left).arg(area.left() * s)));
    QVERIFY2(ink.right <= area.right() * s + 1, qPrintable(QStringLiteral("%1 > %2").arg(ink.right).arg(area.right() * s)));
    if (reachesTheEdge)  // and the lines are not broken early either
        QVERIFY(ink.right > (area.right() - fontPt * 96.0 / 72.0) * s);
}

void TestReportText::alignedInTheTextArea_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("list");
    QTest::addColumn<QString>("memo");
    for (Device d : {Device::Screen, Device::Print, Device::Pdf}) {
        for (const char *memo : {"Memo1", "Memo2", "Memo3", "MemoDr", "MemoUnvan"})
            QTest::addRow("Rapor %s %s", memo, deviceName(d)) << int(d) << false << QString::fromLatin1(memo);
        for (const char *memo : {"Memo1", "Memo2", "Memo3", "SysMemo1", "SysMemo3"})
            QTest::addRow("RaporKisi %s %s", memo, deviceName(d)) << int(d) << true << QString::fromLatin1(memo);
    }
}

void TestReportText::alignedInTheTextArea()
{
    QFETCH(int, device);
    QFETCH(bool, list);
    QFETCH(QString, memo);
    const Device d = Device(device);
    const double s = scaleOf(d);
    ReportTemplate t = list ? makeRaporKisi() : makeRapor();
    FixedTexts fixed = FixedTexts::defaults();
    if (list)
        fillRecordList(t, fixed);
    else
        fillHeader(t, fixed);
    Rows data(people(list ? 60 : 0));
    PreparedReport r;
    QVERIFY(BuildPages(t, &data, r, nullptr));
    const int page = memo == QLatin1String("SysMemo1") ? r.pageCount() - 1 : 0;
    const Placed p = find(r, page, memo);
    QVERIFY(p.object);
    QString text;
    for (const TextPiece &piece : pageTexts(r, page))
        if (piece.rect.left() == p.area.left() && piece.rect.top() == p.area.top())
            text = piece.text;
    QVERIFY(!text.isEmpty());
    // Where the ink belongs: the line's advance centred in the area or ending at its right
    // side, the glyphs' own bearings inside that; measured here with the font at 100 pixels
    // a point, unhinted, where whole-pixel rounding of the glyph boxes is negligible.
    QFont reference(QStringLiteral("Arial"));
    reference.setPixelSize(p.object->fontPt * 100);
    reference.setBold(p.object->bold);
    reference.setKerning(false);
    reference.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF fm(reference);
    const double perPixel = 75;  // reference pixels per report pixel
    const double advance = fm.horizontalAdvance(text) / perPixel;
    const double x = p.object->hAlign == HAlign::Center ? p.area.left() + (p.area.width() - advance) / 2 : p.area.right() - advance;
    const QRectF tight = fm.tightBoundingRect(text);
    const QRectF expected(x + tight.left() / perPixel, 0, tight.width() / perPixel, 1);
    const QImage image = render(r, page, d);
    QVERIFY(!image.isNull());
    const Ink ink = inkIn(image, devRect(p.area, s));
    QVERIFY(ink.found());
    const double tolerance = 0.25 * 96 / 72 * s;  // 0.25 pt
    const QString where = QStringLiteral("%1: ink %2 to %3, expected %4 to %5 (device pixels)")
                              .arg(text).arg(ink.left).arg(ink.right).arg(expected.left() * s).arg(expected.right() * s);
    QVERIFY2(std::abs(ink.right - expected.right() * s) <= tolerance, qPrintable(where));
    if (p.object->hAlign == HAlign::Center)
        QVERIFY2(std::abs(ink.left - expected.left() * s) <= tolerance, qPrintable(where));
}

void TestReportText::pagesMatchTheirRenders_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"liste-1", "liste-2", "liste-3", "rapor"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// The record list with names that wrap, fill and stay short, and the echocardiography report
// with every kind of text, drawn at 96 dpi: the same pixels as the committed renders.
void TestReportText::pagesMatchTheirRenders()
{
    QFETCH(QString, name);
    const bool isList = name.startsWith(QLatin1String("liste"));
    ReportTemplate t = isList ? makeRaporKisi() : makeRapor();
    const FixedTexts fixed = FixedTexts::defaults();
    QList<QHash<QString, QVariant>> rows;
    const QStringList names = {QStringLiteral("BEKİR ABDURRAHMAN MUSTAFA"), QStringLiteral("ŞEKER AYŞE"),
                               QStringLiteral("ÇOKUZUNBİRİSİMKİSIĞMAYACAKKADARUZUN ÖZGÜR"), QStringLiteral("İĞDE ÜMİT")};
    for (int i = 0; i < 120; ++i)
        rows.append({{QStringLiteral("Adi_Soyadi"), names[i % names.size()] + QStringLiteral(" %1").arg(i + 1)},
                     {QStringLiteral("Yas"), QString::number(20 + i % 60)},
                     {QStringLiteral("Prot_No"), QString::number(1000 + i)},
                     {QStringLiteral("Tarih"), QDateTime(QDate(2010, 8, 16), QTime(i % 2 ? 14 : 0, 30 * (i % 2)))}});
    Rows data(isList ? rows : QList<QHash<QString, QVariant>>{});
    if (isList) {
        fillRecordList(t, fixed);
    } else {
        fillHeader(t, fixed);
        setMemoText(*t.FindObject(QStringLiteral("K1")), QStringLiteral("3,5 cm"));
        setMemoText(*t.FindObject(QStringLiteral("M2")), QStringLiteral("12 mm/Hg"));
        data.current = rows.first();
        data.current[QStringLiteral("mitral_kapak")] = QStringLiteral("ÇOK UZUN BİR KAPAK YAPISI AÇIKLAMASI BURADA");
        data.current[QStringLiteral("Sonuc9")] = kMemo105Text;
        data.current[QStringLiteral("Yorum1")] = QString(150, QLatin1Char('A'));
        data.current[QStringLiteral("Sonuc1")] = QStringLiteral("MİTRAL/AORT/TRİKÜSPİD/PULMONER/DİYASTOLİK/SİSTOLİK");
    }
    PreparedReport r;
    BuildOptions options;
    options.now = QDateTime(QDate(2026, 12, 10), QTime(9, 30));
    QVERIFY(BuildPages(t, &data, r, nullptr, options));
    const int page = isList ? name.section(QLatin1Char('-'), 1).toInt() - 1 : 0;
    QVERIFY(page < r.pageCount());
    const QImage drawn = render(r, page, Device::Screen);
    const QString file = QStringLiteral("%1.png").arg(name);
    if (const QByteArray out = qgetenv("KALPIYON_WRITE_RENDERS"); !out.isEmpty()) {
        QVERIFY(drawn.save(QDir(QString::fromLocal8Bit(out)).filePath(file)));
        QSKIP("render written");
    }
    const QImage golden = QImage(QStringLiteral(KALPIYON_TEST_FIXTURES "/") + file).convertToFormat(QImage::Format_Grayscale8);
    QVERIFY2(!golden.isNull(), qPrintable(file));
    QCOMPARE(drawn.size(), golden.size());
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            differing += drawn.constScanLine(y)[x] != golden.constScanLine(y)[x];
    QCOMPARE(differing, 0);
}

QTEST_MAIN(TestReportText)
#include "tst_reporttext.moc"
