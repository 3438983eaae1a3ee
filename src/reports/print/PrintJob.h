#pragma once
// A print job without any window: the options the print dialog collects, the printers of the
// system and the printing loop. The dialogs and the progress window are only its callers.

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <functional>

#include "Engine.h"
#include "PrintPlan.h"

namespace reports {

// The duplex list maps by position: "Öndeğer", "Yatay", "Dikey", "Basit".
enum class DuplexChoice { PageSetting, LongSide, ShortSide, Simplex };

// One print's options; a new print starts from these defaults again.
struct PrintOptions {
    int copies = 1;
    bool collate = true;
    QString range;                        // page-number text; empty for all pages
    PageParity parity = PageParity::All;
    bool reverse = false;
    DuplexChoice duplex = DuplexChoice::PageSetting;
    PrintMode mode = PrintMode::Default;
    QString paper;                        // a page size name; empty for "Öndeğer"
    QString printer;                      // the printer to print on
    QString outputFile;                   // set: the job goes to this file instead
};

// The installed printers and the one selected for this process (at first the system's
// default, or the first printer when the system names none). Empty without printers.
QStringList installedPrinters();
QString selectedPrinter();
void selectPrinter(const QString &name);
// "Default" names no installed printer unless one bears that name (in any letter case).
QString printerNamed(const QString &name);
// The printer's paper names, custom size left out.
QStringList paperNames(const QString &printer);
// A paper of `printer` by its name; a standard size by its name otherwise; A4 at last.
QPageSize pageSizeNamed(const QString &printer, const QString &name);

enum class JobResult { Printed, NothingToPrint, Aborted };

// Prints the prepared pages with `options`. The sheets are rendered into a PDF document that
// goes to the spooler (or replaces the output file) only once it is complete. `afterPage(n)`
// runs after each sheet with the number of the last report page on it (0 for an empty page);
// returning false aborts the job, which is then discarded. Throws Error "'%s' sayısal ifade
// girmediniz" for a bad range text, and an Error naming the printer or file when the job
// cannot be written or the spooler refuses it.
JobResult printJob(const PreparedReport &report, const PrintOptions &options,
                   const std::function<bool(int page)> &afterPage = {});

}  // namespace reports
