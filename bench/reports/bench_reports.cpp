// Report figures at 100,000 records (or the count given):
//   bench_reports [N] [DB]
// With DB (a file made by `kalpiyon-veri demo DB N --seed 1`) that file is used; otherwise a
// demo database of N records is written first.
// - the record list prepared (time, pages, resident memory), first page complete;
// - the record list prepared and written as PDF, as `kalpiyon-veri pdf liste` does, against
//   a plain QPdfWriter drawing the same texts (one font per size, no layout), same run;
// - one list page drawn at 100 % into an image, against plain QPainter drawing of its texts;
// - the echocardiography report prepared and drawn.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <map>

#include "DatasetAdapter.h"
#include "DemoData.h"
#include "ReportFilling.h"
#include "../Measure.h"

namespace {

// The texts of a prepared page as a plain program would draw them: each stored text at its
// memo's top-left corner inside the gaps, in its memo's font, no wrapping, no clipping.
struct PlainText {
    int fontPt;
    bool bold;
    QPointF at;  // report pixels, top-left of the text
    QString text;
};
using PlainPage = std::vector<PlainText>;

std::vector<PlainPage> plainTexts(const reports::PreparedReport &r)
{
    const reports::ReportTemplate &t = *r.tmpl;
    std::vector<PlainPage> pages(size_t(r.pageCount()));
    for (int p = 0; p < r.pageCount(); ++p)
        for (const reports::PreparedBand &pb : r.pages[size_t(p)].bands) {
            const reports::Band &band = t.bands[size_t(pb.band)];
            for (size_t i = 0; i < band.objects.size(); ++i) {
                const reports::ReportObject &o = band.objects[i];
                const QString text = reports::withTotalPages(pb.texts.value(int(i)), r.pageCount());
                if (o.kind == reports::ObjectKind::Line || text.isEmpty())
                    continue;
                const QPointF at(t.leftMargin * reports::kPixelsPerMm + o.left + o.gapX,
                                 t.topMargin * reports::kPixelsPerMm + pb.y + o.top + o.gapY);
                pages[size_t(p)].push_back({o.fontPt, o.bold, at, text});
            }
        }
    return pages;
}

// Plain drawing of those texts at `scale` device pixels per report pixel.
class PlainPainter {
public:
    explicit PlainPainter(double scale) : scale_(scale) {}
    void draw(QPainter &painter, const PlainPage &page)
    {
        painter.setPen(Qt::black);
        for (const PlainText &t : page) {
            const Font &f = font(t.fontPt, t.bold);
            painter.setFont(f.font);
            painter.drawText(QPointF(t.at.x() * scale_, t.at.y() * scale_ + f.ascent), t.text);
        }
    }

private:
    struct Font {
        QFont font;
        double ascent;
    };
    const Font &font(int pt, bool bold)
    {
        auto it = fonts_.find(pt * 2 + bold);
        if (it == fonts_.end()) {
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(int(std::lround(pt * 96.0 / 72.0 * scale_)));
            f.setBold(bold);
            it = fonts_.emplace(pt * 2 + bold, Font{f, QFontMetricsF(f).ascent()}).first;
        }
        return it->second;
    }
    double scale_;
    std::map<int, Font> fonts_;
};

double peakMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

// Processor time of this process: on a machine shared with other work the ratios are read
// from this, the wall-clock figures beside them.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double fileMB(const QString &path)
{
    return QFileInfo(path).size() / 1048576.0;
}

// The record list prepared from the database as the print command fills it.
void prepareList(records::Dataset &ds, reports::ReportTemplate &list, reports::PreparedReport &prepared,
                 const reports::BuildOptions &options = {})
{
    reports::fillRecordList(list, reports::FixedTexts::defaults());
    reports::DatasetAdapter adapter(&ds, reports::fieldsUsedBy(list));
    reports::BuildPages(list, &adapter, prepared, nullptr, options);
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("Data.mdb"));
    if (argc <= 2)
        records::writeDemoDatabase(path, count);
    records::Dataset ds;
    ds.open(path);
    std::printf("records: %d, resident after open: %.1f MB\n", ds.recordCount(), residentMB());

    QElapsedTimer t;
    {
        reports::ReportTemplate list = reports::makeRaporKisi();
        reports::PreparedReport prepared;
        double firstPage = -1;
        reports::BuildOptions options;
        options.onPage = [&](int pages) {
            if (pages == 2 && firstPage < 0)
                firstPage = ms(t);  // page 1 is complete once page 2 starts
        };
        t.start();
        prepareList(ds, list, prepared, options);
        std::printf("record list prepared:   %8.1f ms, %d pages, first page complete after %.1f ms\n", ms(t),
                    prepared.pageCount(), firstPage);
        std::printf("resident while prepared: %7.1f MB\n", residentMB());
    }

    // `kalpiyon-veri pdf liste`: preparation and PDF; then the plain baseline on the same texts.
    const QString enginePdf = dir.filePath(QStringLiteral("liste.pdf"));
    const QString plainPdf = dir.filePath(QStringLiteral("plain.pdf"));
    reports::ReportTemplate list = reports::makeRaporKisi();
    reports::PreparedReport prepared;
    const double peakBefore = peakMB();
    t.restart();
    double cpu = cpuMs();
    prepareList(ds, list, prepared);
    const double prepareCpu = cpuMs() - cpu;
    reports::writePdf(prepared, enginePdf);
    const double engineMs = ms(t), engineCpu = cpuMs() - cpu;
    std::printf("pdf liste (prepare + write): %8.1f ms (processor %.1f ms, of it preparing %.1f ms), %d pages, PDF %.1f MB, "
                "peak resident %.1f MB (%.1f before)\n",
                engineMs, engineCpu, prepareCpu, prepared.pageCount(), fileMB(enginePdf), peakMB(), peakBefore);
    const std::vector<PlainPage> texts = plainTexts(prepared);
    t.restart();
    cpu = cpuMs();
    {
        QPdfWriter pdf(plainPdf);
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        PlainPainter plain(600.0 / 96.0);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            plain.draw(painter, texts[i]);
        }
    }
    const double plainMs = ms(t), plainCpu = cpuMs() - cpu;
    std::printf("plain QPdfWriter, same texts: %7.1f ms (processor %.1f ms), PDF %.1f MB\n", plainMs, plainCpu, fileMB(plainPdf));
    std::printf("pdf liste ratio: %.2f (processor time), %.2f (wall clock)\n", engineCpu / plainCpu, engineMs / plainMs);

    QImage image(QSize(794, 1123), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int rounds = 200;
    const int pages = prepared.pageCount();
    auto pageAt = [&](int i) { return pages > 1 ? 1 + i % (pages - 1) : 0; };
    for (int i = 0; i < reports::PreparedReport::kCachedPages + 1; ++i) {  // lay out afresh, as on a new page
        QPainter painter(&image);
        reports::drawPage(prepared, pageAt(i * 7919), painter, 1.0);
    }
    // Engine and plain drawing alternate page by page, so both meet the same machine load.
    PlainPainter plain(1.0);
    double pageCpu = 0, plainPageCpu = 0;
    for (int i = 0; i < rounds; ++i) {
        const int page = pageAt(i * 7919);  // mostly pages not laid out yet
        cpu = cpuMs();
        {
            QPainter painter(&image);
            reports::drawPage(prepared, page, painter, 1.0);
        }
        pageCpu += cpuMs() - cpu;
        cpu = cpuMs();
        {
            QPainter painter(&image);
            plain.draw(painter, texts[size_t(page)]);
        }
        plainPageCpu += cpuMs() - cpu;
    }
    std::printf("one list page drawn at 100 %%: %6.2f ms; plain QPainter, same texts: %6.2f ms; ratio %.2f (processor time)\n",
                pageCpu / rounds, plainPageCpu / rounds, pageCpu / plainPageCpu);

    reports::ReportTemplate echo = reports::makeRapor();
    ds.first();
    t.restart();
    const int echoRounds = 50;
    for (int i = 0; i < echoRounds; ++i) {
        reports::fillEchoReport(echo, ds, reports::FixedTexts::defaults());
        reports::DatasetAdapter current(&ds, reports::fieldsUsedBy(echo));
        reports::PreparedReport one;
        reports::BuildPages(echo, &current, one, nullptr);
        QPainter painter(&image);
        reports::drawPage(one, 0, painter, 1.0);
    }
    std::printf("echo report prepared and drawn: %6.2f ms\n", ms(t) / echoRounds);
    return 0;
}
