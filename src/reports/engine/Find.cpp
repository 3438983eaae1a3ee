#include "Find.h"

namespace reports {

namespace {
// A piece is part of one stored text, so a page none of whose texts holds the search text
// cannot hold it in a piece either: such pages are skipped without laying them out.
bool pageMayContain(const PreparedReport &report, int index, const QString &needle,
                    const std::function<QString(const QString &)> &fold)
{
    for (const PreparedBand &band : report.pages[size_t(index)].bands)
        for (const QString &text : band.texts)
            if (fold(withTotalPages(text, report.pageCount())).contains(needle))
                return true;
    return false;
}
}  // namespace

FindHit findText(const PreparedReport &report, int page, int piece, const QString &text, bool caseSensitive,
                 const QLocale &locale)
{
    if (text.isEmpty())
        return {};
    const std::function<QString(const QString &)> fold = [&](const QString &s) {
        return caseSensitive ? s : locale.toUpper(s);
    };
    const QString needle = fold(text);
    for (int p = std::max(0, page); p < report.pageCount(); ++p, piece = -1) {
        if (!pageMayContain(report, p, needle, fold))
            continue;
        const std::vector<TextPiece> pieces = pageTexts(report, p);
        for (int i = piece + 1; i < int(pieces.size()); ++i)
            if (fold(pieces[size_t(i)].text).contains(needle))
                return {p, i, pieces[size_t(i)].rect};
    }
    return {};
}

}  // namespace reports
