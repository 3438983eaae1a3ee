#pragma once
// The list order of names: Turkish alphabetical order, as QCollator gives it for
// QLocale(Turkish, Turkey), expressed as byte strings so that many of them can sit in one
// memory block or be sorted by an engine (internal/NameKeySql.h). Two names are in order exactly when their sort keys are
// in bytewise order (memcmp, the shorter first on a common prefix). Ties (equal keys) keep the
// store's key order.

#include <QByteArray>
#include <QString>
#include <QStringView>

struct UCollator;

namespace records {

class NameCollator {
public:
    NameCollator();  // throws Error when the collation cannot be loaded
    ~NameCollator();
    NameCollator(const NameCollator &) = delete;
    NameCollator &operator=(const NameCollator &) = delete;

    // Appends the sort key of `name` to `out` (no terminator); returns its length.
    int appendSortKey(QStringView name, QByteArray &out) const;
    QByteArray sortKey(QStringView name) const;

private:
    UCollator *collator_ = nullptr;
};

// Bytewise order of sort keys, the shorter first on a common prefix (<0, 0, >0).
int compareSortKeys(QByteArrayView a, QByteArrayView b);

}  // namespace records
