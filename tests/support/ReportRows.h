#pragma once
// Report data for tests without a database: hand-made rows of (field -> value).

#include <QHash>
#include <QList>
#include <QVariant>

#include "Engine.h"
#include "Schema.h"

namespace reports {
namespace {

// A hand-made data source: rows of (field -> value).
class Rows : public ReportData {
public:
    explicit Rows(QList<QHash<QString, QVariant>> rows, bool bound = true) : rows_(std::move(rows)), bound_(bound) {}
    bool bound() const override { return bound_; }
    void first() override { pos_ = 0; }
    void next() override { ++pos_; }
    bool eof() const override { return pos_ >= rows_.size(); }
    bool hasField(const QString &f) const override { return records::fieldIndexCaseInsensitive(f) >= 0; }
    QVariant value(const QString &f) const override
    {
        return pos_ < rows_.size() ? rows_[pos_].value(f) : current.value(f);
    }
    QHash<QString, QVariant> current;

private:
    QList<QHash<QString, QVariant>> rows_;
    bool bound_;
    int pos_ = 0;
};

QList<QHash<QString, QVariant>> people(int n)
{
    QList<QHash<QString, QVariant>> rows;
    for (int i = 0; i < n; ++i)
        rows.append({{QStringLiteral("Adi_Soyadi"), QStringLiteral("HASTA %1").arg(i + 1)}, {QStringLiteral("Yas"), QStringLiteral("40")}});
    return rows;
}

}  // namespace
}  // namespace reports
