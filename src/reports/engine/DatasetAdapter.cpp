#include "DatasetAdapter.h"

#include <QRegularExpression>

namespace reports {

DatasetAdapter::DatasetAdapter(records::Dataset *dataset, QVector<int> fields)
    : dataset_(dataset), fields_(std::move(fields))
{
}

bool DatasetAdapter::bound() const
{
    return dataset_ && dataset_->active();
}

void DatasetAdapter::first()
{
    dataset_->first();  // settles a pending edit, as any move does
    rows_ = dataset_->readColumns(fields_);
    scanning_ = true;
    pos_ = 0;
}

void DatasetAdapter::next()
{
    ++pos_;
}

bool DatasetAdapter::eof() const
{
    return !scanning_ || pos_ >= rows_.size();
}

bool DatasetAdapter::hasField(const QString &field) const
{
    return records::fieldIndexCaseInsensitive(field) >= 0;
}

QVariant DatasetAdapter::value(const QString &field) const
{
    const int index = records::fieldIndexCaseInsensitive(field);
    if (scanning_ && pos_ < rows_.size()) {
        const int column = int(fields_.indexOf(index));
        if (column >= 0)
            return rows_[pos_][column];
    }
    return dataset_->value(index);
}

void DatasetAdapter::finished()
{
    if (scanning_ && !rows_.isEmpty())
        dataset_->last();
    scanning_ = false;
    rows_.clear();
}

QVector<int> fieldsUsedBy(const ReportTemplate &tmpl)
{
    static const QRegularExpression ref(QStringLiteral("\\.\"([^\"]+)\""));
    QVector<int> fields;
    auto add = [&](const QString &name) {
        const int f = records::fieldIndexCaseInsensitive(name);
        if (f >= 0 && !fields.contains(f))
            fields << f;
    };
    for (const Band &b : tmpl.bands)
        for (const ReportObject &o : b.objects) {
            if (o.showsField())
                add(o.dataField);
            for (auto it = ref.globalMatch(o.memo.join(QLatin1Char('\n'))); it.hasNext();)
                add(it.next().captured(1));
        }
    return fields;
}

}  // namespace reports
