// Printing: sheets for the print modes as a table, the print dialog's controls and rules, the
// progress window's "Vazgeç", and real jobs through the local CUPS queue read back as PDF.
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QtTest>

#include "Dialogs.h"
#include "Error.h"
#include "PrintDialog.h"
#include "Printing.h"
#include "Progress.h"
#include "DemoData.h"
#include "ReportCommands.h"
#include "ReportFilling.h"
#include "ReportRows.h"
#include "Shots.h"
#include "TestSeam.h"

using namespace reports;

namespace {
const QString kQueue = QStringLiteral("PDFFile");  // file-backed queue keeping Qt's PDF text
const QString kPdfQueue = QStringLiteral("PDF");   // cups-pdf

// The private scheduler that scripts/test starts (scripts/print-queue) tells where it is
// and where its queues write through these variables.
QString queueOutput()
{
    return qEnvironmentVariable("KALPIYON_PRINT_FILE");
}

// Why there is no queue to print on; empty when there is one.
QString &noPrinterReason()
{
    static QString reason;
    return reason;
}

QString noPdfQueueReason()
{
    if (qEnvironmentVariableIsEmpty("KALPIYON_CUPS_PDF_OUT") || !installedPrinters().contains(kPdfQueue))
        return QStringLiteral("no cups-pdf queue PDF: cups-pdf reads /etc/cups/cups-pdf.conf and needs root, so "
                              "scripts/print-queue sets it up only for a scheduler started as root");
    return QString();
}

#define SKIP_WITHOUT_PDF_QUEUE()                      \
    if (const QString why = noPdfQueueReason(); !why.isEmpty()) \
        QSKIP(qPrintable(why));

// Runs scripts/print-queue start|stop on the private scheduler; its exit status.
int printQueue(const QString &action)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(KALPIYON_SCRIPTS "/print-queue"), {action, qEnvironmentVariable("KALPIYON_CUPS_DIR")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    return p.exitCode();
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page numbers read from the footers ("Sayfa: 3 / 5") of each page of a PDF; 0 for a
// page without one (an empty page).
QList<int> printedPages(const QString &pdf)
{
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QList<int> numbers;
    static const QRegularExpression footer(QStringLiteral("Sayfa: (\\d+) /"));
    for (const QString &page : pages) {
        const QRegularExpressionMatch m = footer.match(page);
        numbers << (m.hasMatch() ? m.captured(1).toInt() : 0);
    }
    return numbers;
}

bool queueIdle()
{
    return run(QStringLiteral("lpstat"), {QStringLiteral("-o"), kQueue}).trimmed().isEmpty();
}

// Waits until the queue has written its output file, then reads the pages of it.
QList<int> queuedPages()
{
    for (int i = 0; i < 300; ++i) {
        if (queueIdle() && QFileInfo(queueOutput()).size() > 0)
            return printedPages(queueOutput());
        QTest::qWait(100);
    }
    return {-1};
}

// Works the print dialog: `set` fills in the controls, then "Tamam".
void inPrintDialog(const std::function<void(TfrxPrintDialog &)> &set)
{
    ui::TestSeam::queueDialogHandler([set](QDialog &d) {
        auto &dialog = static_cast<TfrxPrintDialog &>(d);
        set(dialog);
        dialog.OkB->click();
    });
}

void choosePrinter(TfrxPrintDialog &d, const QString &name)
{
    d.PrinterCB->setCurrentIndex(d.PrinterCB->findText(name));
}

using Parts = QList<QList<int>>;  // per sheet: page, target x, y, width (mm, rounded)
}  // namespace

Q_DECLARE_METATYPE(Parts)

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sheets_data();
    void sheets();
    void dialogShowsTheOptions();
    void pageRangeAndCopiesRules();
    void paperListFollowsModeAndPrinter();
    void printerChoiceLivesForTheProcess();
    void badNumbersPrintNothing();
    void queueJobs_data();
    void queueJobs();
    void printToFile();
    void printToFileCancelled();
    void progressCancelAbortsTheJob();
    void scaledAndMergedPagesReachTheQueue();
    void directRouteFromTheCommand();
    void cupsPdfPrinter();
    void stoppedServerRefuses();
};

void TestPrinting::initTestCase()
{
    // Only a scheduler of the test command's own is used, never the machine's.
    if (qEnvironmentVariableIsEmpty("KALPIYON_CUPS_DIR") || queueOutput().isEmpty())
        noPrinterReason() = QStringLiteral("no private print scheduler (KALPIYON_CUPS_DIR and KALPIYON_PRINT_FILE "
                                           "unset): scripts/test starts one");
    else if (!installedPrinters().contains(kQueue))
        noPrinterReason() = QStringLiteral("the private print scheduler has no queue PDFFile: scripts/print-queue "
                                           "could not start it");
}

void TestPrinting::init()
{
    ui::TestSeam::install();
    // Planning sheets is the one thing here that needs no printer.
    if (!noPrinterReason().isEmpty() && qstrcmp(QTest::currentTestFunction(), "sheets") != 0)
        QSKIP(qPrintable(noPrinterReason()));
    QFile::remove(queueOutput());
    selectPrinter(kQueue);
}

void TestPrinting::cleanup()
{
    QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
    ui::TestSeam::uninstall();
}

void TestPrinting::sheets_data()
{
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<QList<QSizeF>>("sheetSizes");
    QTest::addColumn<Parts>("parts");
    const QSizeF a4(210, 297), a5(148, 210), a3(297, 420), land(297, 210);
    QTest::newRow("own size, empty page kept") << QList<int>{1, 0} << a4 << int(PrintMode::Default) << a5
                                               << QList<QSizeF>{a4, a4} << Parts{{1, 0, 0, 210}, {0, 0, 0, 210}};
    QTest::newRow("scaled down to A5, centred") << QList<int>{1} << a4 << int(PrintMode::Scale) << a5
                                                << QList<QSizeF>{a5} << Parts{{1, 0, 0, 148}};
    QTest::newRow("scaled up to A3") << QList<int>{1} << a4 << int(PrintMode::Scale) << a3
                                     << QList<QSizeF>{a3} << Parts{{1, 0, 0, 297}};
    QTest::newRow("A5 pages merged two to a turned A4") << QList<int>{1, 2, 3} << a5 << int(PrintMode::Merge) << a4
                                                        << QList<QSizeF>{land, land}
                                                        << Parts{{1, 1, 0, 148}, {2, 149, 0, 148}, {3, 1, 0, 148}};
    QTest::newRow("merge: a page as large as the paper, one a sheet") << QList<int>{1, 2} << a4 << int(PrintMode::Merge) << a4
                                                                      << QList<QSizeF>{a4, a4} << Parts{{1, 0, 0, 210}, {2, 0, 0, 210}};
    QTest::newRow("A3 split over two turned A4 sheets") << QList<int>{1} << a3 << int(PrintMode::Split) << a4
                                                        << QList<QSizeF>{land, land} << Parts{{1, 0, 0, 297}, {1, 0, 0, 297}};
    QTest::newRow("split: a page that fits is not cut") << QList<int>{1} << a4 << int(PrintMode::Split) << a4
                                                        << QList<QSizeF>{a4} << Parts{{1, 0, 0, 210}};
}

void TestPrinting::sheets()
{
    QFETCH(QList<int>, pages);
    QFETCH(QSizeF, page);
    QFETCH(int, mode);
    QFETCH(QSizeF, paper);
    QFETCH(QList<QSizeF>, sheetSizes);
    QFETCH(Parts, parts);
    const std::vector<Sheet> sheets = planSheets(std::vector<int>(pages.begin(), pages.end()), page, PrintMode(mode), paper);
    QList<QSizeF> sizes;
    Parts got;
    for (const Sheet &s : sheets) {
        sizes << s.paper;
        for (const Placement &p : s.parts)
            got << QList<int>{p.page, qRound(p.target.x()), qRound(p.target.y()), qRound(p.target.width())};
    }
    QCOMPARE(sizes, sheetSizes);
    if (PrintMode(mode) == PrintMode::Scale) {
        // Centred across the other direction.
        const Placement &p = sheets.front().parts.front();
        QVERIFY(qAbs(p.target.center().y() - paper.height() / 2) < 0.01);
        got[0][2] = 0;
    }
    QCOMPARE(got, parts);
    if (PrintMode(mode) == PrintMode::Split && sheets.size() == 2) {
        QCOMPARE(sheets[0].parts[0].source, QRectF(0, 0, 297, 210));
        QCOMPARE(sheets[1].parts[0].source, QRectF(0, 210, 297, 210));
    }
}

void TestPrinting::dialogShowsTheOptions()
{
    TfrxPrintDialog d(PrintOptions{});
    QCOMPARE(d.windowTitle(), QStringLiteral("Yazdır"));
    QCOMPARE(d.size(), QSize(557, 334));
    d.show();
    saveShot(&d, QStringLiteral("print-dialog"));
    QCOMPARE(d.PrinterCB->currentText(), kQueue);
    QVERIFY(d.AllRB->isChecked());
    QCOMPARE(d.CopiesE->text(), QStringLiteral("1"));
    QVERIFY(d.CollateCB->isChecked());
    QVERIFY(!d.FileCB->isChecked());
    auto items = [](QComboBox *b) {
        QStringList l;
        for (int i = 0; i < b->count(); ++i)
            l << b->itemText(i);
        return l;
    };
    QCOMPARE(items(d.PrintPagesCB), (QStringList{"Tüm sayfalar", "Tek sayfalar", "Çift sayfalar"}));
    QCOMPARE(items(d.OrderCB), (QStringList{"Doğrudan (1-9)", "Ters (9-1)"}));
    QCOMPARE(items(d.DuplexCB), (QStringList{"Öndeğer", "Yatay", "Dikey", "Basit"}));
    QCOMPARE(items(d.ModeCB), (QStringList{"Öndeğer", "Büyük sayfaları böl", "Küçük sayfalara birleştir", "Boyut"}));
    QCOMPARE(d.PaperCB->currentText(), QStringLiteral("Öndeğer"));
    QVERIFY(!d.PaperCB->isEnabled());
    QVERIFY(d.OkB->isDefault());
    QCOMPARE(d.DescrL->text(), QStringLiteral("Sayfa numaralarını ve/veya sayfa aralıklarını virgülle ayırarak girin. Örn. 1,3,5-12"));
    // Default options give a job of every page, one copy, collated, printed on the queue.
    const PrintOptions o = d.chosenOptions(2);
    QCOMPARE(o.copies, 1);
    QVERIFY(o.collate && o.range.isEmpty() && !o.reverse && o.parity == PageParity::All);
    QCOMPARE(o.printer, kQueue);
    // The collate picture follows the check box.
    const QImage collated = d.CollateImg->pixmap().toImage();
    d.CollateCB->setChecked(false);
    QVERIFY(d.CollateImg->pixmap().toImage() != collated);
    // Duplex maps by position: "Yatay" is the long edge.
    d.DuplexCB->setCurrentIndex(1);
    QCOMPARE(d.chosenOptions(1).duplex, DuplexChoice::LongSide);
}

void TestPrinting::pageRangeAndCopiesRules()
{
    TfrxPrintDialog d(PrintOptions{});
    d.show();
    QApplication::setActiveWindow(&d);
    d.PageNumbersE->setFocus();  // entering the box selects "Sayfalar:"
    QVERIFY(d.PageNumbersRB->isChecked());
    QTest::keyClicks(d.PageNumbersE, "2-");
    QCOMPARE(d.chosenOptions(1).range, QStringLiteral("2-"));
    d.CurPageRB->click();
    QCOMPARE(d.chosenOptions(4).range, QStringLiteral("4"));
    d.OkB->setFocus();
    d.PageNumbersRB->click();  // choosing "Sayfalar:" moves into the box
    QTRY_VERIFY(d.PageNumbersE->hasFocus());
    d.AllRB->click();
    QVERIFY(d.chosenOptions(4).range.isEmpty());
    // The copies box takes digits only and does not go below 1 with its arrows.
    d.CopiesE->selectAll();
    QTest::keyClicks(d.CopiesE, "a3");
    QCOMPARE(d.CopiesE->text(), QStringLiteral("3"));
    d.CopiesUpB->click();
    QCOMPARE(d.chosenOptions(1).copies, 4);
    for (int i = 0; i < 6; ++i)
        d.CopiesDownB->click();
    QCOMPARE(d.CopiesE->text(), QStringLiteral("1"));
    // Options given to the dialog are shown: a range selects "Sayfalar:".
    PrintOptions o;
    o.range = QStringLiteral("1,3");
    o.reverse = true;
    o.parity = PageParity::Even;
    o.copies = 2;
    o.collate = false;
    TfrxPrintDialog shown(o);
    QVERIFY(shown.PageNumbersRB->isChecked());
    QCOMPARE(shown.PageNumbersE->text(), QStringLiteral("1,3"));
    QCOMPARE(shown.OrderCB->currentText(), QStringLiteral("Ters (9-1)"));
    QCOMPARE(shown.PrintPagesCB->currentText(), QStringLiteral("Çift sayfalar"));
    QCOMPARE(shown.CopiesE->text(), QStringLiteral("2"));
    QVERIFY(!shown.CollateCB->isChecked());
}

void TestPrinting::paperListFollowsModeAndPrinter()
{
    SKIP_WITHOUT_PDF_QUEUE();
    TfrxPrintDialog d(PrintOptions{});
    const QStringList papers = paperNames(kQueue);
    QVERIFY(papers.contains(QStringLiteral("A4")));
    QCOMPARE(d.PaperCB->count(), papers.size() + 1);
    QCOMPARE(d.PaperCB->itemText(0), QStringLiteral("Öndeğer"));
    // Another mode while the paper shows "Öndeğer" selects A4 and enables the list ...
    d.ModeCB->setCurrentIndex(3);
    emit d.ModeCB->activated(3);
    QCOMPARE(d.PaperCB->currentText(), QStringLiteral("A4"));
    QVERIFY(d.PaperCB->isEnabled());
    const int a5 = d.PaperCB->findText(QStringLiteral("A5"));
    QVERIFY(a5 > 0);
    d.PaperCB->setCurrentIndex(a5);
    QCOMPARE(d.chosenOptions(1).paper, QStringLiteral("A5"));
    QCOMPARE(d.chosenOptions(1).mode, PrintMode::Scale);
    // ... another printer keeps the chosen paper when it has it ...
    choosePrinter(d, kPdfQueue);
    QCOMPARE(d.PaperCB->currentText(), paperNames(kPdfQueue).contains(QStringLiteral("A5")) ? QStringLiteral("A5")
                                                                                                       : QStringLiteral("Öndeğer"));
    QVERIFY(d.WhereL->text().startsWith(QStringLiteral("Bu bilgisayar: ")));
    QCOMPARE(d.WhereL->text(), QPrinterInfo::printerInfo(kPdfQueue).location());
    // "Özellikler..." opens the chosen printer's own settings.
    QString settingsOf;
    ui::TestSeam::queueDialogHandler([&](QDialog &settings) {
        settingsOf = static_cast<QPageSetupDialog &>(settings).printer()->printerName();
        settings.reject();
    });
    d.PropButton->click();
    QCOMPARE(settingsOf, kPdfQueue);
    // ... and "Öndeğer" as mode resets it and disables it.
    d.ModeCB->setCurrentIndex(0);
    emit d.ModeCB->activated(0);
    QCOMPARE(d.PaperCB->currentText(), QStringLiteral("Öndeğer"));
    QVERIFY(!d.PaperCB->isEnabled());
    QVERIFY(d.chosenOptions(1).paper.isEmpty());
}

void TestPrinting::printerChoiceLivesForTheProcess()
{
    SKIP_WITHOUT_PDF_QUEUE();
    ListReport list(1);
    // Cancelling leaves the earlier printer selected, even when another one was chosen.
    ui::TestSeam::queueDialogHandler([](QDialog &d) {
        choosePrinter(static_cast<TfrxPrintDialog &>(d), kPdfQueue);
        QCOMPARE(selectedPrinter(), kPdfQueue);  // chosen takes effect at once
        static_cast<TfrxPrintDialog &>(d).CancelB->click();
    });
    QVERIFY(!PrintPrepared(list.report, nullptr));
    QCOMPARE(selectedPrinter(), kQueue);
    // Confirming with another printer makes it the preselected one next time (nothing is
    // printed: the range names no page).
    inPrintDialog([](TfrxPrintDialog &d) {
        choosePrinter(d, kPdfQueue);
        d.PageNumbersRB->setChecked(true);
        d.PageNumbersE->setText(QStringLiteral("9"));
    });
    QVERIFY(!PrintPrepared(list.report, nullptr));
    QString preselected;
    ui::TestSeam::queueDialogHandler([&](QDialog &d) {
        auto &next = static_cast<TfrxPrintDialog &>(d);
        preselected = next.PrinterCB->currentText();
        // The options of the print before are not kept: every print starts from the defaults.
        QVERIFY(next.AllRB->isChecked() && next.PageNumbersE->text().isEmpty());
        d.reject();
    });
    PrintPrepared(list.report, nullptr);
    QCOMPARE(preselected, kPdfQueue);
}

void TestPrinting::badNumbersPrintNothing()
{
    ListReport list(2);
    struct Case {
        const char *range, *copies, *message;
    };
    const Case cases[] = {{"1,,2", "1", "'' sayısal ifade girmediniz."},
                          {"1,a", "1", "'a' sayısal ifade girmediniz."},
                          {"", "", "'' sayısal ifade girmediniz."}};
    for (const Case &c : cases) {
        ui::TestSeam::clearAsked();
        inPrintDialog([&](TfrxPrintDialog &d) {
            d.PageNumbersRB->setChecked(true);
            d.PageNumbersE->setText(QString::fromUtf8(c.range));
            d.CopiesE->setText(QString::fromUtf8(c.copies));
        });
        ui::TestSeam::queueAnswer(ui::Ok);
        QVERIFY(!PrintPrepared(list.report, nullptr));
        QCOMPARE(ui::TestSeam::asked().last().text, QString::fromUtf8(c.message));
    }
    QTest::qWait(500);
    QVERIFY(queueIdle());
    QVERIFY(!QFile::exists(queueOutput()));
}

void TestPrinting::queueJobs_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("parity");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<int>("duplex");  // position in the "Çifthat" list
    QTest::addColumn<QList<int>>("printed");  // 0: an empty page
    QTest::newRow("all pages") << 3 << "" << 0 << false << 1 << true << 0 << QList<int>{1, 2, 3};
    QTest::newRow("Sayfalar: 2- on 3 pages") << 3 << "2-" << 0 << false << 1 << true << 0 << QList<int>{2, 3};
    QTest::newRow("odd pages, reverse, 5 pages") << 5 << "" << 1 << true << 1 << true << 0 << QList<int>{5, 3, 1};
    QTest::newRow("2 copies collated") << 3 << "" << 0 << false << 2 << true << 0 << QList<int>{1, 2, 3, 1, 2, 3};
    QTest::newRow("2 copies uncollated") << 2 << "" << 0 << false << 2 << false << 0 << QList<int>{1, 1, 2, 2};
    QTest::newRow("even pages, 1,3-5") << 5 << "1,3-5" << 2 << false << 1 << true << 0 << QList<int>{4};
    QTest::newRow("duplex, 2 copies of 3 pages") << 3 << "" << 0 << false << 2 << true << 1 << QList<int>{1, 2, 3, 0, 1, 2, 3, 0};
    QTest::newRow("one-sided, 2 copies of 3 pages") << 3 << "" << 0 << false << 2 << true << 3 << QList<int>{1, 2, 3, 1, 2, 3};
}

// Real jobs through the dialog, the spooler and the PDF printer.
void TestPrinting::queueJobs()
{
    QFETCH(int, pages);
    QFETCH(QString, range);
    QFETCH(int, parity);
    QFETCH(bool, reverse);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(int, duplex);
    QFETCH(QList<int>, printed);
    ListReport list(pages);
    QCOMPARE(list.report.pageCount(), pages);
    inPrintDialog([&](TfrxPrintDialog &d) {
        choosePrinter(d, kQueue);
        if (!range.isEmpty()) {
            d.PageNumbersRB->setChecked(true);
            d.PageNumbersE->setText(range);
        }
        d.PrintPagesCB->setCurrentIndex(parity);
        d.OrderCB->setCurrentIndex(reverse ? 1 : 0);
        d.CopiesE->setText(QString::number(copies));
        d.CollateCB->setChecked(collate);
        d.DuplexCB->setCurrentIndex(duplex);
    });
    QVERIFY(PrintPrepared(list.report, nullptr, 1));
    QCOMPARE(queuedPages(), printed);
    QVERIFY(run(QStringLiteral("pdfinfo"), {queueOutput()}).contains(QStringLiteral("(A4)")));
}

void TestPrinting::printToFile()
{
    ListReport list(3);
    const QTemporaryDir dir;
    inPrintDialog([](TfrxPrintDialog &d) {
        d.FileCB->setChecked(true);
        d.CurPageRB->setChecked(true);
    });
    ui::TestSeam::queueFileName(dir.filePath(QStringLiteral("rapor.txt")));  // the extension becomes ".prn"
    QVERIFY(PrintPrepared(list.report, nullptr, 2));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Print To File"));
    QCOMPARE(printedPages(dir.filePath(QStringLiteral("rapor.prn"))), QList<int>{2});
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("rapor.txt"))));
    // The file holds patient data: its owner's alone.
    QCOMPARE(QFile::permissions(dir.filePath(QStringLiteral("rapor.prn"))) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());
    QVERIFY(queueIdle());
    QVERIFY(!QFile::exists(queueOutput()));  // nothing went to the printer
}

void TestPrinting::printToFileCancelled()
{
    ListReport list(1);
    inPrintDialog([](TfrxPrintDialog &d) { d.FileCB->setChecked(true); });
    ui::TestSeam::queueFileName(QString());
    QVERIFY(!PrintPrepared(list.report, nullptr));
    QTest::qWait(500);
    QVERIFY(queueIdle());
    QVERIFY(!QFile::exists(queueOutput()));
}

void TestPrinting::progressCancelAbortsTheJob()
{
    ListReport list(4);
    QStringList shown;
    // The user looks at the window after every page sent and presses "Vazgeç" after the second,
    // in each of the two runs below: four actions, as many as the report has pages, so that a
    // run that went on past the second page would show it.
    for (int i = 0; i < 4; ++i)
        seam::queueAt(QStringLiteral("print:page"), [&](const QVariantList &args) {
            TfrxProgress &p = *qobject_cast<TfrxProgress *>(args.value(0).value<QObject *>());
            shown << p.MessageL->text();
            QCOMPARE(p.size(), QSize(271, 101));
            if (args.value(1).toInt() == 2) {
                saveShot(&p, QStringLiteral("print-progress"));
                p.CancelB->click();
            }
        });
    const QTemporaryDir dir;
    inPrintDialog([](TfrxPrintDialog &d) { d.FileCB->setChecked(true); });
    ui::TestSeam::queueFileName(dir.filePath(QStringLiteral("iptal.prn")));
    QVERIFY(!PrintPrepared(list.report, nullptr));
    QCOMPARE(shown, (QStringList{"Yazılan sayfa 1", "Yazılan sayfa 2"}));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("iptal.prn"))));  // the job is discarded
    // Through the queue: nothing reaches the printer.
    shown.clear();
    inPrintDialog([](TfrxPrintDialog &d) { choosePrinter(d, kQueue); });
    QVERIFY(!PrintPrepared(list.report, nullptr));
    QCOMPARE(shown, (QStringList{"Yazılan sayfa 1", "Yazılan sayfa 2"}));
    QTest::qWait(1000);
    QVERIFY(queueIdle());
    QVERIFY(!QFile::exists(queueOutput()));
}

void TestPrinting::scaledAndMergedPagesReachTheQueue()
{
    ListReport list(3);
    PrintOptions o;
    o.printer = kQueue;
    o.mode = PrintMode::Merge;
    o.paper = QStringLiteral("A3");  // two A4 pages side by side on a turned A3 sheet
    QCOMPARE(printJob(list.report, o), JobResult::Printed);
    QCOMPARE(queuedPages().size(), 2);
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), queueOutput(), QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("Sayfa: 1 / 3")) && text.contains(QStringLiteral("Sayfa: 2 / 3")));
    // The document itself holds turned A3 sheets; scaled to A5 it holds one page a sheet.
    const QTemporaryDir dir;
    o.outputFile = dir.filePath(QStringLiteral("a3.prn"));
    QCOMPARE(printJob(list.report, o), JobResult::Printed);
    const QString a3 = run(QStringLiteral("pdfinfo"), {o.outputFile});
    QVERIFY2(a3.contains(QStringLiteral("Pages:           2")) && a3.contains(QStringLiteral("1191 x 842 pts (A3)")), qPrintable(a3));
    o.mode = PrintMode::Scale;
    o.paper = QStringLiteral("A5");
    QCOMPARE(printJob(list.report, o), JobResult::Printed);
    const QString info = run(QStringLiteral("pdfinfo"), {o.outputFile});
    QVERIFY2(info.contains(QStringLiteral("Pages:           3")) && info.contains(QStringLiteral("(A5)")), qPrintable(info));
}

// The print command without a preview: prepared, then the print dialog; "Geçerli sayfa" is
// page 1 there.
void TestPrinting::directRouteFromTheCommand()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.mdb"));
    records::writeDemoDatabase(path, 3);
    records::Dataset dataset;
    dataset.open(path);
    dataset.setRecNo(2);
    const QString name = dataset.value(QStringLiteral("Adi_Soyadi")).toString();
    ReportSession session(&dataset);
    inPrintDialog([](TfrxPrintDialog &d) {
        choosePrinter(d, kQueue);
        d.CurPageRB->setChecked(true);
    });
    session.runEchoReport(FixedTexts::defaults(), false, nullptr);
    QCOMPARE(queuedPages(), QList<int>{0});  // one page; the report has no page footer
    const QString text = run(QStringLiteral("pdftotext"), {queueOutput(), QStringLiteral("-")});
    QVERIFY2(text.contains(name), qPrintable(text));
    QCOMPARE(dataset.recNo(), 2);
}

// The Ghostscript-driven PDF printer: its output's text is not readable, its pages are.
void TestPrinting::cupsPdfPrinter()
{
    SKIP_WITHOUT_PDF_QUEUE();
    const QDir out(qEnvironmentVariable("KALPIYON_CUPS_PDF_OUT"));
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    ListReport list(2);
    PrintOptions o;
    o.printer = kPdfQueue;
    QCOMPARE(printJob(list.report, o), JobResult::Printed);
    QString written;
    for (int i = 0; i < 300 && written.isEmpty(); ++i) {
        QTest::qWait(100);
        if (!run(QStringLiteral("lpstat"), {QStringLiteral("-o"), kPdfQueue}).trimmed().isEmpty())
            continue;
        for (const QFileInfo &f : out.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time))
            if (f.lastModified() >= start)
                written = f.filePath();
    }
    QVERIFY2(!written.isEmpty(), "the PDF printer wrote no file");
    QVERIFY(run(QStringLiteral("pdfinfo"), {written}).contains(QStringLiteral("Pages:           2")));
    QFile::remove(written);
}

// With the scheduler stopped there is no printer: the refusal, and nothing else.
void TestPrinting::stoppedServerRefuses()
{
    ListReport list(1);
    QCOMPARE(printQueue(QStringLiteral("stop")), 0);
    const auto restart = qScopeGuard([] { printQueue(QStringLiteral("start")); });
    QVERIFY(installedPrinters().isEmpty());
    ui::TestSeam::queueAnswer(ui::Ok);
    QVERIFY(!PrintPrepared(list.report, nullptr));
    QCOMPARE(ui::TestSeam::asked().value(0).text, QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"));
    QCOMPARE(ui::TestSeam::asked().value(0).title, QStringLiteral("Hata"));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
