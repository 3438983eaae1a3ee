#include "PrintPlan.h"

#include <QStringList>

#include "Error.h"

namespace reports {

namespace {
int number(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' sayısal ifade girmediniz").arg(text));
    return n;
}
}  // namespace

QSet<int> parsePageRange(const QString &input, int pageCount, bool *all)
{
    QString text = input;
    text.remove(QLatin1Char(' '));
    QSet<int> pages;
    *all = text.isEmpty();
    if (*all)
        return pages;
    if (text.endsWith(QLatin1Char('-')))
        text += QString::number(pageCount);
    for (const QString &part : text.split(QLatin1Char(','))) {
        const int dash = int(part.indexOf(QLatin1Char('-')));
        if (dash < 0) {
            pages.insert(number(part));
            continue;
        }
        const int from = number(part.left(dash)), to = number(part.mid(dash + 1));
        for (int p = from; p <= to && p - from <= 100000; ++p)
            pages.insert(p);
    }
    return pages;
}

std::vector<PrintStep> planPrint(const PrintRequest &r)
{
    bool all = false;
    const QSet<int> set = parsePageRange(r.range, r.pageCount, &all);
    std::vector<int> visit;
    for (int i = 0; i < r.pageCount; ++i) {
        const int page = r.reverse ? r.pageCount - i : i + 1;
        if (!all && !set.contains(page))
            continue;
        if ((r.parity == PageParity::Odd && page % 2 == 0) || (r.parity == PageParity::Even && page % 2 == 1))
            continue;
        visit.push_back(page);
    }
    const int copies = std::max(1, r.copies);
    std::vector<PrintStep> steps;
    if (!r.collate) {
        for (int page : visit)
            steps.push_back({page, copies});
        return steps;
    }
    for (int c = 0; c < copies; ++c) {
        for (int page : visit)
            steps.push_back({page, 1});
        // The next copy starts on a sheet of its own.
        if (r.duplex && visit.size() % 2 == 1)
            steps.push_back({0, 1});
    }
    return steps;
}

}  // namespace reports
