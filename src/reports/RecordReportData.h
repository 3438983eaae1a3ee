#pragma once
// Report data whose fields are the record's: what the engine asks of a field's type and of a
// value's text is answered from the schema and the program's date display rule.

#include "Engine.h"

namespace reports {

class RecordReportData : public ReportData {
public:
    bool hasField(const QString &field) const override;
    FieldKind fieldKind(const QString &field) const override;
    QString displayText(const QVariant &value) const override;
    QString dateText(const QDate &date) const override;
    QString timeText(const QTime &time) const override;
};

}  // namespace reports
