#pragma once
// "frxDBDataset1": the engine's view of the dataset Query1. A data band reads only the
// fields the template shows (moving the dataset itself would read every field of every
// record and repaint the main window each time): the first rows one by one, so that the first
// page is ready at once, then the rest in one pass over the table. The dataset is moved to its
// first row before and left on its last row after, as the band would leave it.

#include <QVector>

#include "Dataset.h"
#include "RecordReportData.h"

namespace reports {

class DatasetAdapter : public RecordReportData {
public:
    // `fields`: the fields the template reads (see fieldsUsedBy).
    DatasetAdapter(records::Dataset *dataset, QVector<int> fields);
    bool bound() const override;
    void first() override;
    void next() override;
    bool eof() const override;
    QVariant value(const QString &field) const override;
    void finished() override;

private:
    records::Dataset *dataset_;
    QVector<int> fields_;
    QVector<QVariant> row_;
    records::ColumnValues rest_;  // rows from kRowsOneByOne on, read in one pass
    bool scanning_ = false;
    int pos_ = 0;
};

// The fields a template reads: its DataFields and its field expressions.
QVector<int> fieldsUsedBy(const ReportTemplate &tmpl);

}  // namespace reports
