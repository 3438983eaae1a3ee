#pragma once
// Which pages a print job sends, in which order, how many copies of each, and where an empty
// page keeps the next duplex copy on a sheet of its own. Pure: the printer only consumes it.

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

}  // namespace reports
