#include "Printing.h"

#include <QDir>
#include <QFileInfo>

#include "Dialogs.h"
#include "Error.h"
#include "PrintDialog.h"
#include "Progress.h"

namespace reports {

namespace {
// The templates' printer name; it names an installed printer only if one is called so.
const QString kTemplatePrinter = QStringLiteral("Default");

QString printFileName(QWidget *parent)
{
    const QString path = ui::getSaveFileName(parent, QStringLiteral("Print To File"), QString(),
                                             QStringLiteral("Printer files (*.prn)"));
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".prn"));
}

bool runJob(const PreparedReport &report, const PrintOptions &options, QWidget *parent)
{
    TfrxProgress progress(parent);
    return printJob(report, options, [&](int page) { return progress.pageSent(page); }) == JobResult::Printed;
}
}  // namespace

bool PrintPrepared(const PreparedReport &report, QWidget *parent, int currentPage)
{
    if (installedPrinters().isEmpty()) {
        ui::messageDlg(QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"), ui::Kind::Error, ui::Ok, parent);
        return false;
    }
    const QString named = printerNamed(kTemplatePrinter);
    if (!named.isEmpty())
        selectPrinter(named);
    const QString before = selectedPrinter();
    // Every print starts from the templates' options; the dialog changes them for this print only.
    TfrxPrintDialog dialog(PrintOptions{}, parent);
    if (ui::execDialog(dialog) != QDialog::Accepted) {
        selectPrinter(before);
        return false;
    }
    try {
        PrintOptions options = dialog.chosenOptions(currentPage);
        if (dialog.printToFile()) {
            options.outputFile = printFileName(parent);
            if (options.outputFile.isEmpty())
                return false;
        }
        return runJob(report, options, parent);
    } catch (const Error &e) {
        ui::showException(e, parent);
        return false;
    }
}

}  // namespace reports
