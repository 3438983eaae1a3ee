#pragma once
// Dates as the user sees and types them: the user's short date format, and the long time
// format after it only when the time of day is not midnight.

#include <QDateTime>
#include <QString>
#include <optional>

namespace records {

// Date/time display rule: short date, then a blank and the long time unless it is midnight.
QString formatDateTime(const QDateTime &value);
// Parses a date typed in the short date format, optionally followed by a time. Lenient as
// users expect: one- or two-digit day and month, two- or four-digit year.
std::optional<QDateTime> parseDateTime(const QString &text);
// Today's date at midnight, as a naive date-time.
QDateTime today();

}  // namespace records
