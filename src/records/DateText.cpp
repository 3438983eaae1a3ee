#include "DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace records {

namespace {

// Order of day, month and year in the user's short date format, e.g. "dmy" for d.MM.yyyy.
QString dateOrder(const QString &format)
{
    QString order;
    for (const QChar c : format) {
        const QChar l = c.toLower();
        if ((l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y')) && !order.contains(l))
            order += l;
    }
    return order.size() == 3 ? order : QStringLiteral("dmy");
}

int expandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    // Two-digit years fall in the century window around the current year.
    const int now = QDate::currentDate().year();
    int full = now / 100 * 100 + year;
    if (full > now + 50)
        full -= 100;
    else if (full <= now - 50)
        full += 100;
    return full;
}

std::optional<QTime> parseTime(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})[:.](\\d{1,2})(?:[:.](\\d{1,2}))?$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

// The long time format without a time-zone part: stored dates are naive local times.
QString longTimeFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

}  // namespace

QString formatDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    const QLocale locale = QLocale::system();
    QString text = locale.toString(value.date(), QLocale::ShortFormat);
    if (value.time() != QTime(0, 0))
        text += QLatin1Char(' ') + locale.toString(value.time(), longTimeFormat(locale));
    return text;
}

std::optional<QDateTime> parseDateTime(const QString &input)
{
    const QString text = input.trimmed();
    static const QRegularExpression re(QStringLiteral("^(\\d{1,4})[./-](\\d{1,2})[./-](\\d{1,4})(?:\\s+(\\S+))?$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString order = dateOrder(QLocale::system().dateFormat(QLocale::ShortFormat));
    int d = 0, mo = 0, y = 0, yDigits = 4;
    for (int i = 0; i < 3; ++i) {
        const QString part = m.captured(i + 1);
        switch (order.at(i).toLatin1()) {
        case 'd': d = part.toInt(); break;
        case 'm': mo = part.toInt(); break;
        default: y = part.toInt(); yDigits = int(part.size()); break;
        }
    }
    if (yDigits == 3)
        return std::nullopt;
    const QDate date(expandYear(y, yDigits), mo, d);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (!m.captured(4).isEmpty()) {
        const auto t = parseTime(m.captured(4));
        if (!t)
            return std::nullopt;
        time = *t;
    }
    return QDateTime(date, time, Qt::UTC);
}

QDateTime today()
{
    return QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC);
}

}  // namespace records
