// Report figures at 100,000 records (or the count given):
//   bench_reports [N]
// record list preparation (time, pages, resident memory), first page drawable, one page
// drawn at 100 % into an image, the echocardiography report prepared and drawn.
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "DatasetAdapter.h"
#include "DemoData.h"
#include "ReportFilling.h"
#include "Store.h"
#include "../Measure.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.mdb"));
    records::writeDemoDatabase(path, count);
    records::Dataset ds;
    ds.open(path);
    std::printf("records: %d, resident after open: %.1f MB\n", count, residentMB());

    reports::ReportTemplate list = reports::makeRaporKisi();
    reports::fillRecordList(list, reports::FixedTexts::defaults());
    reports::DatasetAdapter adapter(&ds, reports::fieldsUsedBy(list));
    reports::PreparedReport prepared;
    QElapsedTimer t;
    double firstPage = -1;
    reports::BuildOptions options;
    options.onPage = [&](int pages) {
        if (pages == 2 && firstPage < 0)
            firstPage = ms(t);  // page 1 is complete once page 2 starts
    };
    t.start();
    reports::BuildPages(list, &adapter, prepared, nullptr, options);
    std::printf("record list prepared:   %8.1f ms, %d pages, first page complete after %.1f ms\n", ms(t),
                prepared.pageCount(), firstPage);
    std::printf("resident while prepared: %7.1f MB\n", residentMB());

    QImage image(QSize(794, 1123), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int rounds = 50;
    t.restart();
    for (int i = 0; i < rounds; ++i) {
        QPainter painter(&image);
        reports::drawPage(prepared, 1 + i % (prepared.pageCount() - 1), painter, 1.0);
    }
    std::printf("one list page drawn at 100 %%: %6.2f ms\n", ms(t) / rounds);

    reports::ReportTemplate echo = reports::makeRapor();
    ds.first();
    t.restart();
    for (int i = 0; i < rounds; ++i) {
        reports::fillEchoReport(echo, ds, reports::FixedTexts::defaults());
        reports::DatasetAdapter current(&ds, reports::fieldsUsedBy(echo));
        reports::PreparedReport one;
        reports::BuildPages(echo, &current, one, nullptr);
        QPainter painter(&image);
        reports::drawPage(one, 0, painter, 1.0);
    }
    std::printf("echo report prepared and drawn: %6.2f ms\n", ms(t) / rounds);
    return 0;
}
