// Preview figures at 100,000 records (or the count given):
//   bench_preview [N]
// the record list command until its first page is on the screen, frames while scrolling and
// zooming at 100 %, and finding a name that only the last page holds.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "DemoData.h"
#include "Dialogs.h"
#include "Preview.h"
#include "ReportCommands.h"
#include "SearchDialog.h"
#include "../Measure.h"

namespace {
// Notes when the page area is first painted with a page to show.
class FirstPaint : public QObject {
public:
    FirstPaint(const reports::PreparedReport &report, const QElapsedTimer &clock) : report_(report), clock_(clock) {}
    double at = -1;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at < 0 && report_.pageCount() > 0)
            at = ms(clock_);
        return false;
    }

private:
    const reports::PreparedReport &report_;
    const QElapsedTimer &clock_;
};

struct Frames {
    std::vector<double> times;
    void time(QWidget *viewport, const std::function<void()> &change)
    {
        change();
        QElapsedTimer t;
        t.start();
        viewport->repaint();
        times.push_back(ms(t));
    }
    void print(const char *what)
    {
        const auto worst = std::max_element(times.begin(), times.end());
        std::printf("  (slowest: frame %d)\n", int(worst - times.begin()));
        std::sort(times.begin(), times.end());
        double sum = 0;
        for (double v : times)
            sum += v;
        std::printf("%-34s %4zu frames, mean %5.2f ms, 95th %5.2f ms, max %5.2f ms\n", what, times.size(), sum / times.size(),
                    times[times.size() * 95 / 100], times.back());
    }
};
}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.mdb"));
    records::writeDemoDatabase(path, count);
    records::Dataset ds;
    ds.open(path);
    const QString unique = QStringLiteral("ZÜMRÜTOĞLU ZERRİN");  // sorts last, on the last page only
    ds.append();
    ds.setText(QStringLiteral("Adi_Soyadi"), unique);
    ds.post();
    reports::ReportSession session(&ds);
    ui::TestSeam::install();

    QElapsedTimer clock;
    ui::TestSeam::queueDialogHandler([&](QDialog &d) {
        auto &form = static_cast<reports::TfrxPreviewForm &>(d);
        form.resize(1280, 960);
        FirstPaint first(session.raporKisiPages, clock);
        form.pages()->viewport()->installEventFilter(&first);
        while (form.preparing() || session.raporKisiPages.pageCount() == 0)
            QCoreApplication::processEvents();
        const double prepared = ms(clock);
        std::printf("records: %d, pages: %d\n", count + 1, session.raporKisiPages.pageCount());
        std::printf("first page on screen after the command: %7.1f ms (preparation done after %.1f ms)\n", first.at, prepared);
        std::printf("resident with the preview open: %.1f MB\n", residentMB());

        QWidget *viewport = form.pages()->viewport();
        Frames scrolling;
        for (int i = 0; i < 400; ++i)  // through new pages, then back over laid-out ones
            scrolling.time(viewport, [&] { form.pages()->scrollBy(0, i < 200 ? 300 : -300); });
        scrolling.print("scrolling at 100 %:");
        Frames jumping;
        for (int i = 0; i < 100; ++i)
            jumping.time(viewport, [&] { form.pages()->setCurrentPage((i * 97) % session.raporKisiPages.pageCount()); });
        jumping.print("going to far pages at 100 %:");
        Frames zooming;
        for (int i = 0; i < 40; ++i)
            zooming.time(viewport, [&] { (i % 2 ? form.ZoomMinusB : form.ZoomPlusB)->click(); });
        zooming.print("zooming between 100 and 125 %:");

        ui::TestSeam::queueDialogHandler([&](QDialog &s) {
            auto &search = static_cast<reports::TfrxSearchDialog &>(s);
            search.TextE->setText(QStringLiteral("zümrütoğlu"));
            search.TopCB->setChecked(true);
            search.OkB->click();
        });
        QElapsedTimer t;
        t.start();
        form.FindB->click();
        viewport->repaint();
        std::printf("find on page %d of %d (from page 1): %7.1f ms\n", form.lastHit().page + 1,
                    session.raporKisiPages.pageCount(), ms(t));
        form.CancelB->click();
    });
    clock.start();
    session.runRecordList(reports::FixedTexts::defaults(), true, nullptr);
    return 0;
}
