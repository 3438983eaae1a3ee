// The two print commands from the main window: preview opened, pages prepared while it is
// open, the dataset left on its last row; the printing route without a printer.
#include <QAbstractButton>
#include <QtTest>

#include "AppFixture.h"
#include "Ayar.h"
#include "Preview.h"
#include <QPrinterInfo>

using fixture::Program;

namespace {
using fixture::numberedNames;
const auto names = numberedNames;

// Waits in the preview until its preparation has ended, then looks at it.
std::function<void(QDialog &)> inPreview(const std::function<void(reports::TfrxPreviewForm &)> &look)
{
    return [look](QDialog &d) {
        auto &form = static_cast<reports::TfrxPreviewForm &>(d);
        QTRY_VERIFY_WITH_TIMEOUT(form.status->text().endsWith(QLatin1String(" / 0")) == false && !form.preparing(), 10000);
        if (!qEnvironmentVariableIsEmpty("KALPIYON_SHOTS"))
            form.grab().save(qEnvironmentVariable("KALPIYON_SHOTS") + QStringLiteral("/preview-%1.png").arg(form.pages()->currentPage()));
        look(form);
        form.CancelB->click();
    };
}
}  // namespace

class TestReportCommands : public QObject {
    Q_OBJECT
private slots:
    void recordListPreview();
    void echoReportPreviewKeepsTheRecord();
    void printingRouteWithoutPrinter();
};

void TestReportCommands::recordListPreview()
{
    Program p(names(60));
    p.show();
    Form1->Query1->setRecNo(5);
    int pages = 0;
    ui::TestSeam::queueDialogHandler(inPreview([&](reports::TfrxPreviewForm &form) {
        QCOMPARE(form.windowTitle(), QStringLiteral("Önizleme"));
        pages = form.pages()->pageRect(1).isValid() ? 2 : 1;
        QCOMPARE(form.status->text(), QStringLiteral("Sayfa 1 / 2"));
        QVERIFY(form.NextB->isVisible() && form.PageE->isVisible());
        QVERIFY(form.PrintB->isEnabled());
        QCOMPARE(form.CancelB->text(), QStringLiteral("Kapat"));
        form.LastB->click();
        QCOMPARE(form.status->text(), QStringLiteral("Sayfa 2 / 2"));
    }));
    Form1->BtnYazdir2->click();
    QCOMPARE(pages, 2);
    QCOMPARE(Form1->Query1->recNo(), 60);  // the list leaves the dataset on its last record
}

void TestReportCommands::echoReportPreviewKeepsTheRecord()
{
    Program p(names(3));
    p.show();
    Form1->Query1->setRecNo(2);
    ui::TestSeam::queueDialogHandler(inPreview([](reports::TfrxPreviewForm &form) {
        QCOMPARE(form.status->text(), QStringLiteral("Sayfa 1 / 1"));
        QVERIFY(!form.NextB->isVisible() && !form.PageE->isVisible());
    }));
    Form1->BtnYazdir1->click();
    QCOMPARE(Form1->Query1->recNo(), 2);
}

void TestReportCommands::printingRouteWithoutPrinter()
{
    QVERIFY(QPrinterInfo::availablePrinters().isEmpty());  // no scheduler at CUPS_SERVER
    Program p(names(3));
    AyarFrm->ChkYazdir->setChecked(false);
    ui::TestSeam::queueAnswer(ui::Ok);
    Form1->BtnYazdir1->click();
    QCOMPARE(ui::TestSeam::asked().last().text, QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Hata"));
}

KALPIYON_TEST_MAIN(TestReportCommands)
#include "tst_reportcommands.moc"
