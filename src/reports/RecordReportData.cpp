#include "RecordReportData.h"

#include <QLocale>

#include "DateText.h"
#include "Schema.h"

namespace reports {

bool RecordReportData::hasField(const QString &field) const
{
    return records::fieldIndexCaseInsensitive(field) >= 0;
}

FieldKind RecordReportData::fieldKind(const QString &field) const
{
    const int index = records::fieldIndexCaseInsensitive(field);
    return index >= 0 && records::kFields[index].type == records::FieldType::DateTime ? FieldKind::DateTime
                                                                                     : FieldKind::Other;
}

QString RecordReportData::displayText(const QVariant &value) const
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDateTime)
        return records::formatDateTime(value.toDateTime());
    return value.toString();
}

QString RecordReportData::dateText(const QDate &date) const
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

// The time part of the date display rule; at midnight that rule shows no time, and neither
// does TIME.
QString RecordReportData::timeText(const QTime &time) const
{
    return records::formatDateTime(QDateTime(QDate(2000, 1, 1), time)).section(QLatin1Char(' '), 1);
}

}  // namespace reports
