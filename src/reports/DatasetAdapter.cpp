#include "DatasetAdapter.h"

#include <QRegularExpression>

namespace reports {

namespace {
constexpr int kRowsOneByOne = 1000;
}

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
    scanning_ = true;
    pos_ = 0;
    rest_.clear();
    row_ = dataset_->rowValues(pos_, fields_);
}

void DatasetAdapter::next()
{
    ++pos_;
    if (pos_ >= dataset_->recordCount())
        return;
    if (pos_ < kRowsOneByOne) {
        row_ = dataset_->rowValues(pos_, fields_);
        return;
    }
    if (rest_.isEmpty())
        rest_ = dataset_->readColumns(fields_);
    row_ = rest_.value(pos_);
}

bool DatasetAdapter::eof() const
{
    return !scanning_ || pos_ >= dataset_->recordCount();
}

QVariant DatasetAdapter::value(const QString &field) const
{
    const int index = records::fieldIndexCaseInsensitive(field);
    if (scanning_ && pos_ < dataset_->recordCount()) {
        const int column = int(fields_.indexOf(index));
        if (column >= 0)
            return row_[column];
    }
    return dataset_->value(index);
}

void DatasetAdapter::finished()
{
    if (scanning_ && dataset_->recordCount() > 0)
        dataset_->last();
    scanning_ = false;
    row_.clear();
    rest_.clear();
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
