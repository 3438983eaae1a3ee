#include "Printing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "Dialogs.h"

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
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, std::max(1, report.pageCount()));
    if (ui::execDialog(dialog) != QDialog::Accepted)
        return false;
    int from = 0, to = report.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage() - 1;
        to = std::min(printer.toPage() - 1, to);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = currentPage;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / 96.0;
    for (int i = from; i <= to; ++i) {
        if (i > from)
            printer.newPage();
        drawPage(report, i, painter, scale);
    }
    painter.end();
    return true;
}

}  // namespace reports
