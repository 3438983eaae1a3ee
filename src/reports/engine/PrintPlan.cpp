#include "PrintPlan.h"

#include <QStringList>
#include <cmath>

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

namespace {
constexpr double kSlack = 0.5;  // millimetres: paper names round their sizes

QSizeF turned(QSizeF s) { return QSizeF(s.height(), s.width()); }

int fitting(double length, double part) { return std::max(0, int((length + kSlack) / part)); }

Sheet wholePage(int page, QSizeF pageSize, QSizeF paper, QPointF at, double scale = 1)
{
    const QRectF source(QPointF(0, 0), pageSize);
    return Sheet{paper, {Placement{page, source, QRectF(at, pageSize * scale)}}};
}

std::vector<Sheet> merged(const std::vector<int> &pages, QSizeF pageSize, QSizeF paper)
{
    int across = fitting(paper.width(), pageSize.width()), down = fitting(paper.height(), pageSize.height());
    const QSizeF other = turned(paper);
    const int acrossT = fitting(other.width(), pageSize.width()), downT = fitting(other.height(), pageSize.height());
    if (acrossT * downT > across * down) {
        paper = other;
        across = acrossT;
        down = downT;
    }
    const int perSheet = std::max(1, across * down);
    across = std::max(1, across);
    // The grid of pages is centred on the sheet.
    const QSizeF grid(std::min(across, perSheet) * pageSize.width(), std::max(1, down) * pageSize.height());
    const QPointF origin(std::max(0.0, (paper.width() - grid.width()) / 2), std::max(0.0, (paper.height() - grid.height()) / 2));
    std::vector<Sheet> sheets;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int slot = int(i % perSheet);
        if (slot == 0)
            sheets.push_back(Sheet{paper, {}});
        const QPointF at = origin + QPointF((slot % across) * pageSize.width(), (slot / across) * pageSize.height());
        sheets.back().parts.push_back(Placement{pages[i], QRectF(QPointF(0, 0), pageSize), QRectF(at, pageSize)});
    }
    return sheets;
}

void split(int page, QSizeF pageSize, QSizeF paper, std::vector<Sheet> &sheets)
{
    if (pageSize.width() <= paper.width() + kSlack && pageSize.height() <= paper.height() + kSlack) {
        sheets.push_back(wholePage(page, pageSize, paper, QPointF(0, 0)));
        return;
    }
    auto count = [&](QSizeF p) {
        return int(std::ceil((pageSize.width() - kSlack) / p.width())) * int(std::ceil((pageSize.height() - kSlack) / p.height()));
    };
    if (count(turned(paper)) < count(paper))
        paper = turned(paper);
    for (double y = 0; y < pageSize.height() - kSlack; y += paper.height())
        for (double x = 0; x < pageSize.width() - kSlack; x += paper.width()) {
            const QRectF source = QRectF(QPointF(x, y), paper) & QRectF(QPointF(0, 0), pageSize);
            sheets.push_back(Sheet{paper, {Placement{page, source, QRectF(QPointF(0, 0), source.size())}}});
        }
}
}  // namespace

std::vector<Sheet> planSheets(const std::vector<int> &pages, QSizeF pageSize, PrintMode mode, QSizeF paper)
{
    if (mode == PrintMode::Merge)
        return merged(pages, pageSize, paper);
    std::vector<Sheet> sheets;
    for (int page : pages) {
        switch (mode) {
        case PrintMode::Scale: {
            const double scale = std::min(paper.width() / pageSize.width(), paper.height() / pageSize.height());
            const QSizeF size = pageSize * scale;
            sheets.push_back(wholePage(page, pageSize, paper,
                                       QPointF((paper.width() - size.width()) / 2, (paper.height() - size.height()) / 2), scale));
            break;
        }
        case PrintMode::Split: split(page, pageSize, paper, sheets); break;
        default: sheets.push_back(wholePage(page, pageSize, pageSize, QPointF(0, 0)));
        }
    }
    return sheets;
}

}  // namespace reports
