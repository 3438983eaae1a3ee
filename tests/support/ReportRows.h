#pragma once
// Report data for tests without a database: hand-made rows of (field -> value).

#include <QHash>
#include <QList>
#include <QVariant>

#include "RecordReportData.h"
#include "ReportFilling.h"

namespace reports {
namespace {

// A hand-made data source: rows of (field -> value) of the record's fields.
class Rows : public RecordReportData {
public:
    explicit Rows(QList<QHash<QString, QVariant>> rows, bool bound = true) : rows_(std::move(rows)), bound_(bound) {}
    bool bound() const override { return bound_; }
    void first() override { pos_ = 0; }
    void next() override { ++pos_; }
    bool eof() const override { return pos_ >= rows_.size(); }
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

// The record list filled with the default header texts and as many rows as make `pages` pages.
struct ListReport {
    explicit ListReport(int pages, const QString &namePattern = QStringLiteral("HASTA %1"))
    {
        fillRecordList(tmpl, FixedTexts::defaults());
        for (int rows = 1; report.pageCount() < pages; rows += 10) {
            QList<QHash<QString, QVariant>> list = people(rows);
            for (int i = 0; i < list.size(); ++i)
                list[i][QStringLiteral("Adi_Soyadi")] = namePattern.arg(i + 1);
            Rows data(list);
            BuildPages(tmpl, &data, report, nullptr);
        }
    }
    ListReport(const ListReport &) = delete;
    ReportTemplate tmpl = makeRaporKisi();
    PreparedReport report;
};

}  // namespace
}  // namespace reports
