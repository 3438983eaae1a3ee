#include "StoredForm.h"

#include <QDateTime>
#include <optional>

#include "Schema.h"

namespace records {

QVariant toStored(int field, const QVariant &value)
{
    if (value.isNull())
        return QVariant();
    if (kFields[field].type == FieldType::DateTime && value.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                        : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return value;
}

namespace {
// Reads "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS" (or 'T' for the blank).
// Hand-written: it runs for every row when a report reads the whole table.
std::optional<QDateTime> parseStoredDate(QStringView s)
{
    auto number = [&](qsizetype from, qsizetype len, int &out) {
        if (from + len > s.size())
            return false;
        out = 0;
        for (qsizetype i = from; i < from + len; ++i) {
            if (!s[i].isDigit())
                return false;
            out = out * 10 + s[i].digitValue();
        }
        return true;
    };
    int y, mo, d, h = 0, mi = 0, sec = 0;
    if (!number(0, 4, y) || s.size() < 10 || s[4] != QLatin1Char('-') || !number(5, 2, mo) || s[7] != QLatin1Char('-') ||
        !number(8, 2, d))
        return std::nullopt;
    if (s.size() > 10) {
        if ((s[10] != QLatin1Char(' ') && s[10] != QLatin1Char('T')) || !number(11, 2, h) || s.size() < 16 ||
            s[13] != QLatin1Char(':') || !number(14, 2, mi))
            return std::nullopt;
        if (s.size() > 16 && (s[16] != QLatin1Char(':') || !number(17, 2, sec) || s.size() != 19))
            return std::nullopt;
        if (s.size() != 16 && s.size() != 19)
            return std::nullopt;
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, sec);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}
}  // namespace

QVariant fromStored(int field, const QVariant &raw)
{
    if (raw.isNull())
        return QVariant();
    if (kFields[field].type == FieldType::DateTime) {
        const QString s = raw.toString().trimmed();
        if (const auto dt = parseStoredDate(s))
            return *dt;
        return raw.toString();  // unreadable date: shown as stored, never rewritten unless edited
    }
    return raw.typeId() == QMetaType::QString ? raw : QVariant(raw.toString());
}

}  // namespace records
