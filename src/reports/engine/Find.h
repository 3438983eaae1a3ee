#pragma once
// Finding a text in prepared pages, piece by drawn piece, as the preview's find does.

#include <QLocale>

#include "Engine.h"

namespace reports {

struct FindHit {
    int page = -1;   // 0-based; -1: no (further) match
    int piece = -1;  // index into pageTexts(report, page)
    QRectF rect;     // the piece's rectangle in report pixels on the sheet
    bool found() const { return page >= 0; }
};

// The first piece after (`page`, `piece`) that contains `text`: later pieces of that page first,
// then the following pages. Start a search with piece -1. Without `caseSensitive` both sides are
// upper-cased in `locale` first (Turkish: i and İ, ı and I).
FindHit findText(const PreparedReport &report, int page, int piece, const QString &text, bool caseSensitive,
                 const QLocale &locale = QLocale());

}  // namespace reports
