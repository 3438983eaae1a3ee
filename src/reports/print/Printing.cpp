#include "Printing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "Dialogs.h"
#include "PrintPlan.h"

namespace reports {

bool PrintPrepared(const PreparedReport &report, QWidget *parent, int currentPage)
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ui::messageDlg(QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"), ui::Kind::Error, ui::Ok, parent);
        return false;
    }
    static QPrinter printer(QPrinter::HighResolution);  // the chosen printer stays for the process
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFromTo(0, 0);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, std::max(1, report.pageCount()));
    if (ui::execDialog(dialog) != QDialog::Accepted)
        return false;
    // The dialog's choices become a plan of pages; the printer only carries it out.
    PrintRequest request;
    request.pageCount = report.pageCount();
    if (printer.printRange() == QPrinter::PageRange)
        request.range = QStringLiteral("%1-%2").arg(printer.fromPage()).arg(printer.toPage());
    else if (printer.printRange() == QPrinter::CurrentPage)
        request.range = QString::number(currentPage + 1);
    request.copies = printer.copyCount();
    request.collate = printer.collateCopies();
    request.duplex = printer.duplex() == QPrinter::DuplexLongSide || printer.duplex() == QPrinter::DuplexShortSide;
    const std::vector<PrintStep> steps = planPrint(request);
    printer.setCopyCount(1);
    if (steps.empty())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / 96.0;
    bool first = true;
    for (const PrintStep &step : steps) {
        for (int c = 0; c < step.copies; ++c) {
            if (!first)
                printer.newPage();
            first = false;
            if (step.page > 0)
                drawPage(report, step.page - 1, painter, scale);
        }
    }
    painter.end();
    return true;
}

}  // namespace reports
