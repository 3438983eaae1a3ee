#pragma once
// Which pages a print job sends, in which order, how many copies of each, and where an empty
// page keeps the next duplex copy on a sheet of its own. Pure: the printer only consumes it.

#include <QRectF>
#include <QSet>
#include <QString>
#include <vector>

namespace reports {

// The page numbers a range text names ("1,3,5-12", "2-", ""). Blanks are removed; an empty
// text means all pages (an empty set is returned and `all` set); a text ending in "-" runs to
// the last page; "b-a" with a < b names nothing. Throws Error "'%s' sayısal ifade girmediniz"
// for anything that is not a whole number.
QSet<int> parsePageRange(const QString &text, int pageCount, bool *all);

enum class PageParity { All, Odd, Even };

struct PrintRequest {
    int pageCount = 0;
    QString range;                       // as typed; empty for all pages
    PageParity parity = PageParity::All;
    bool reverse = false;                // "Ters (9-1)"
    int copies = 1;
    bool collate = true;
    bool duplex = false;                 // vertical or horizontal duplex on the pages
};

struct PrintStep {
    int page;    // 1-based; 0 for an empty page
    int copies;  // copies the printer is asked for
    bool operator==(const PrintStep &o) const { return page == o.page && copies == o.copies; }
};

std::vector<PrintStep> planPrint(const PrintRequest &request);

// The print modes in the order the print dialog lists them.
enum class PrintMode { Default, Split, Merge, Scale };  // Öndeğer, böl, birleştir, Boyut

// One report page (or a part of it) on a sheet: `source` on the page and `target` on the
// sheet, both in millimetres; `page` is 1-based, 0 for an empty page.
struct Placement {
    int page = 0;
    QRectF source, target;
};

struct Sheet {
    QSizeF paper;  // millimetres, width across as printed (landscape when wider)
    std::vector<Placement> parts;
};

// Puts the visited pages (1-based, 0 = empty page) onto sheets. Default: each page on paper of
// its own size. Scale: each page scaled to `paper` by the smaller ratio, centred. Merge: as many
// whole pages as fit in rows and columns, the sheet turned when that fits more. Split: a page
// larger than `paper` spread over as many sheets as it needs, the sheet turned when fewer.
std::vector<Sheet> planSheets(const std::vector<int> &pages, QSizeF pageSize, PrintMode mode, QSizeF paper);

}  // namespace reports
