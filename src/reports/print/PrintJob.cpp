#include "PrintJob.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cups/cups.h>

#include "DurableFile.h"
#include "Error.h"

namespace reports {

namespace {
QString &selection()
{
    static QString name;
    return name;
}

// Pages visited, each repeated for the copies asked of it: Qt's print engines take copies per
// job, not per page, so uncollated copies are sent as repeated pages.
std::vector<int> visitedPages(const PreparedReport &report, const PrintOptions &o)
{
    PrintRequest request;
    request.pageCount = report.pageCount();
    request.range = o.range;
    request.parity = o.parity;
    request.reverse = o.reverse;
    request.copies = o.copies;
    request.collate = o.collate;
    request.duplex = o.duplex == DuplexChoice::LongSide || o.duplex == DuplexChoice::ShortSide;
    std::vector<int> pages;
    for (const PrintStep &step : planPrint(request))
        pages.insert(pages.end(), size_t(step.copies), step.page);
    return pages;
}

QPageLayout layoutFor(const Sheet &sheet)
{
    const bool landscape = sheet.paper.width() > sheet.paper.height();
    const QSizeF portrait = landscape ? QSizeF(sheet.paper.height(), sheet.paper.width()) : sheet.paper;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

void drawSheet(const PreparedReport &report, const Sheet &sheet, QPainter &painter, double dotsPerMm)
{
    for (const Placement &part : sheet.parts) {
        if (part.page < 1)
            continue;
        const double scale = part.target.width() / part.source.width();
        painter.save();
        painter.translate(part.target.topLeft() * dotsPerMm);
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(QPointF(0, 0), part.source.size() * dotsPerMm));
        painter.translate(-part.source.topLeft() * dotsPerMm);
        drawPage(report, part.page - 1, painter, dotsPerMm / kPixelsPerMm);
        painter.restore();
    }
}

// The job's options for the spooler: duplex by the dialog's position, paper by the sheets.
JobResult submit(const QString &pdf, const PrintOptions &o, const QPageLayout &first)
{
    static const char *const sides[] = {nullptr, "two-sided-long-edge", "two-sided-short-edge", "one-sided"};
    cups_option_t *options = nullptr;
    int count = 0;
    if (sides[int(o.duplex)])  // "Öndeğer" keeps the page's own setting
        count = cupsAddOption("sides", sides[int(o.duplex)], count, &options);
    count = cupsAddOption("media", first.pageSize().key().toUtf8().constData(), count, &options);
    // The templates have neither a name nor a file name: the job's title stays empty.
    const int job = cupsPrintFile(o.printer.toUtf8().constData(), QFile::encodeName(pdf).constData(), "", count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        throw Error(QStringLiteral("'%1' yazıcısına yazdırılamadı: %2").arg(o.printer, QString::fromUtf8(cupsLastErrorString())));
    return JobResult::Printed;
}

// The finished document (owner-only, as the temporary file was made) is synced, renamed into
// place and the folder synced.
void moveInPlace(const QString &from, const QString &to)
{
    QString why;
    if (!durable::commitFile(from, to, &why))
        throw Error(QStringLiteral("'%1' dosyasına yazılamadı: %2").arg(QDir::toNativeSeparators(to), why));
}
}  // namespace

QStringList installedPrinters()
{
    return QPrinterInfo::availablePrinterNames();
}

QString selectedPrinter()
{
    const QStringList names = installedPrinters();
    if (names.contains(selection()))
        return selection();
    const QString fallback = QPrinterInfo::defaultPrinterName();
    return names.contains(fallback) ? fallback : names.value(0);
}

void selectPrinter(const QString &name)
{
    selection() = name;
}

QString printerNamed(const QString &name)
{
    for (const QString &p : installedPrinters())
        if (p.compare(name, Qt::CaseInsensitive) == 0)
            return p;
    return QString();
}

QStringList paperNames(const QString &printer)
{
    QStringList names;
    for (const QPageSize &size : QPrinterInfo::printerInfo(printer).supportedPageSizes())
        if (size.id() != QPageSize::Custom && !names.contains(size.name()))
            names << size.name();
    return names;
}

QPageSize pageSizeNamed(const QString &printer, const QString &name)
{
    for (const QPageSize &size : QPrinterInfo::printerInfo(printer).supportedPageSizes())
        if (size.name() == name)
            return size;
    for (int id = 0; id < int(QPageSize::LastPageSize); ++id)
        if (QPageSize::name(QPageSize::PageSizeId(id)) == name)
            return QPageSize(QPageSize::PageSizeId(id));
    return QPageSize(QPageSize::A4);
}

JobResult printJob(const PreparedReport &report, const PrintOptions &o, const std::function<bool(int)> &afterPage)
{
    const std::vector<int> pages = visitedPages(report, o);
    if (pages.empty() || !report.tmpl)
        return JobResult::NothingToPrint;
    const QSizeF pageSize(report.tmpl->paperWidth, report.tmpl->paperHeight);
    const QSizeF paper = o.mode == PrintMode::Default ? pageSize
                                                      : pageSizeNamed(o.printer, o.paper.isEmpty() ? QStringLiteral("A4") : o.paper)
                                                            .size(QPageSize::Millimeter);
    const std::vector<Sheet> sheets = planSheets(pages, pageSize, o.mode, paper);

    // The document is written beside its destination (or in the temporary folder for the
    // spooler) and only handed on when complete: an aborted job leaves nothing behind.
    const QString target = o.outputFile.isEmpty() ? QDir::temp().filePath(QStringLiteral("kalpiyon-job-XXXXXX.pdf"))
                                                  : o.outputFile + QStringLiteral(".XXXXXX");
    QTemporaryFile document(target);
    if (!document.open())
        throw Error(QStringLiteral("'%1' dosyasına yazılamadı: %2").arg(QDir::toNativeSeparators(o.outputFile.isEmpty() ? target : o.outputFile),
                                                                         document.errorString()));
    document.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(document.fileName());
    printer.setFullPage(true);
    printer.setDocName(QString());
    const QPageLayout first = layoutFor(sheets.front());
    QPageLayout current = first;
    printer.setPageLayout(current);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("'%1' dosyasına yazılamadı").arg(QDir::toNativeSeparators(document.fileName())));
    const double dotsPerMm = printer.resolution() / 25.4;
    for (size_t i = 0; i < sheets.size(); ++i) {
        if (i > 0) {
            // The printer is set up again only when the sheet differs from the one before.
            const QPageLayout next = layoutFor(sheets[i]);
            if (!next.isEquivalentTo(current)) {
                printer.setPageLayout(next);
                current = next;
            }
            printer.newPage();
        }
        drawSheet(report, sheets[i], painter, dotsPerMm);
        if (afterPage && !afterPage(sheets[i].parts.empty() ? 0 : sheets[i].parts.back().page)) {
            painter.end();
            return JobResult::Aborted;  // the temporary document goes with `document`
        }
    }
    painter.end();
    if (o.outputFile.isEmpty())
        return submit(document.fileName(), o, first);
    moveInPlace(document.fileName(), o.outputFile);
    document.setAutoRemove(false);
    return JobResult::Printed;
}

}  // namespace reports
