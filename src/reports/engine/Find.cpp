#include "Find.h"

#include <array>
#include <memory>

namespace reports {

namespace {
// Upper-casing character by character for skipping pages quickly: for each UTF-16 unit the
// single unit the locale upper-cases it to, or 0 where that takes more than one unit or
// depends on more than the unit itself (surrogates, ß and the like). Built once per locale.
class QuickFold {
public:
    explicit QuickFold(const QLocale &locale) : locale_(locale), table_(std::make_unique<std::array<char16_t, 0x10000>>())
    {
        QString one(1, QChar());
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                (*table_)[c] = 0;
                continue;
            }
            one[0] = QChar(char16_t(c));
            const QString up = locale.toUpper(one);
            (*table_)[c] = up.size() == 1 && up[0].unicode() != 0 ? up[0].unicode() : 0;
        }
    }
    const QLocale &locale() const { return locale_; }
    // Folds `text` into `out`; false when a unit has no quick fold.
    bool fold(QStringView text, QString &out) const
    {
        out.resize(text.size());
        char16_t *o = reinterpret_cast<char16_t *>(out.data());
        const char16_t *t = text.utf16();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = (*table_)[t[i]];
            if (c == 0 && t[i] != 0)
                return false;
            o[i] = c;
        }
        return true;
    }

private:
    QLocale locale_;
    std::unique_ptr<std::array<char16_t, 0x10000>> table_;
};

// The text as the search compares it.
QString folded(const QString &text, bool caseSensitive, const QLocale &locale)
{
    return caseSensitive ? text : locale.toUpper(text);
}

const QuickFold &quickFold(const QLocale &locale)
{
    thread_local std::unique_ptr<QuickFold> made;
    if (!made || made->locale() != locale)
        made = std::make_unique<QuickFold>(locale);
    return *made;
}

// A piece is part of one stored text, so a page none of whose texts holds the search text
// cannot hold it in a piece either: such pages are skipped without laying them out. A band's
// texts are looked at all at once; only a band that holds the page count, or characters
// without a quick fold, is looked at text by text as it is drawn.
bool pageMayContain(const PreparedReport &report, int index, const QString &needle, bool caseSensitive,
                    const QLocale &locale)
{
    thread_local QString bandFolded;
    const QuickFold *quick = caseSensitive ? nullptr : &quickFold(locale);
    for (const PreparedBand &band : report.pages[size_t(index)].bands) {
        const QStringView all = band.texts.packed();
        const bool whole = !all.contains(kTotalPagesPlaceholder, Qt::CaseInsensitive) && (!quick || quick->fold(all, bandFolded));
        if (whole) {
            if ((quick ? QStringView(bandFolded) : all).contains(needle))
                return true;
            continue;
        }
        for (const QString &text : band.texts) {
            if (folded(withTotalPages(text, report.pageCount()), caseSensitive, locale).contains(needle))
                return true;
        }
    }
    return false;
}
}  // namespace

FindHit findText(const PreparedReport &report, int page, int piece, const QString &text, bool caseSensitive,
                 const QLocale &locale)
{
    if (text.isEmpty())
        return {};
    const QString needle = folded(text, caseSensitive, locale);
    for (int p = std::max(0, page); p < report.pageCount(); ++p, piece = -1) {
        if (!pageMayContain(report, p, needle, caseSensitive, locale))
            continue;
        const std::vector<TextPiece> pieces = pageTexts(report, p);
        for (int i = piece + 1; i < int(pieces.size()); ++i)
            if (folded(pieces[size_t(i)].text, caseSensitive, locale).contains(needle))
                return {p, i, pieces[size_t(i)].rect};
    }
    return {};
}

}  // namespace reports
