// The main window at 100,000 records (or the count given), driven as a user would:
//   bench_mainwindow [N]
// start-up to a shown window (time and resident memory, against the bare baseline of opening
// the list: one scan, Turkish sort keys in one memory block, the sort), one search keystroke
// (search, list scroll, editors, status bar, repaint), one record switch in the list.
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "Application.h"
#include "Dialogs.h"
#include "TestSeam.h"
#include "Unit1.h"
#include "../BenchData.h"

namespace {

void type(QWidget *w, QChar c)
{
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "tr_TR.UTF-8");
    KalpiyonApplication app(argc, argv);
    const int count = bench::recordCount(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QStandardPaths::setTestModeEnabled(true);
    ui::TestSeam::install();
    seam::setFolder(seam::Folder::Settings, dir.path());
    bench::demoDatabase(dir.filePath(QStringLiteral("Data.mdb")), count);
    const bench::ChildFigures bare = bench::inChild([&] { bench::scanAndSortBaseline(dir.filePath(QStringLiteral("Data.mdb"))); });
    const double before = residentMB();
    QElapsedTimer t;
    t.start();
    createWindows();
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1))
        std::printf("(window not exposed)\n");
    QCoreApplication::processEvents();
    const double startUp = ms(t);
    std::printf("records: %d\nstart-up to shown window: %8.1f ms, %.1f MB resident (+%.1f MB)\n", count, startUp,
                residentMB(), residentMB() - before);
    std::printf("  baseline scan + sort keys: %8.1f ms, +%.1f MB resident  ratio %.2f\n", bare.ms, bare.residentMB,
                startUp / bare.ms);

    const QString word = QStringLiteral("ŞEKER AYŞE");
    double total = 0;
    int keys = 0;
    for (int round = 0; round < 5; ++round) {
        Form1->Edit8->clear();
        for (const QChar c : word) {
            t.restart();
            type(Form1->Edit8, c);
            Form1->repaint();  // the whole window brought up to date
            total += ms(t);
            ++keys;
        }
    }
    std::printf("one search keystroke:     %8.2f ms (mean of %d)\n", total / keys, keys);

    total = 0;
    const int moves = 200;
    for (int i = 0; i < moves; ++i) {
        t.restart();
        QTest::keyClick(Form1->StripedDBGrid1, i % 2 ? Qt::Key_Up : Qt::Key_PageDown);
        Form1->repaint();
        total += ms(t);
    }
    std::printf("one record switch:        %8.2f ms (mean of %d)\n", total / moves, moves);
    destroyWindows();
    return 0;
}
