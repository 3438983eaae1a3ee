#include "Decimal.h"

namespace dicom {
namespace {

using i128 = __int128;
constexpr i128 kLimit = i128(1) << 120;  // keeps sums of many values clear of overflow

i128 pow10(int n)
{
    i128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

QString digits(i128 v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s;
    while (v > 0) {
        s.prepend(QChar(u'0' + int(v % 10)));
        v /= 10;
    }
    return s;
}

// |numerator / denominator| rounded half away from zero to an integer.
i128 roundHalfAway(i128 numerator, i128 denominator)
{
    const i128 q = numerator / denominator, r = numerator % denominator;
    return 2 * r >= denominator ? q + 1 : q;
}

// Writes magnitude / 10^decimals with a decimal comma, keeping `decimals` places.
QString withComma(i128 magnitude, int decimals, bool negative)
{
    QString s = digits(magnitude);
    if (decimals > 0) {
        if (s.size() <= decimals)
            s.prepend(QString(decimals - s.size() + 1, u'0'));
        s.insert(s.size() - decimals, u',');
    }
    return negative && magnitude != 0 ? u'-' + s : s;
}

}  // namespace

std::optional<Decimal> parseDecimalString(const QString &input)
{
    const QString t = input.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    i128 mantissa = 0;
    int fraction = 0, digitCount = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.' && !point) {
            point = true;
        } else if (c.isDigit() && c.unicode() < 128) {
            if (++digitCount > 30)
                return std::nullopt;
            mantissa = mantissa * 10 + (c.unicode() - u'0');
            fraction += point ? 1 : 0;
        } else {
            break;
        }
    }
    if (digitCount == 0)
        return std::nullopt;
    int exponent = 0;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        bool ok = false;
        exponent = t.mid(i + 1).toInt(&ok);
        if (!ok || exponent < -60 || exponent > 60)
            return std::nullopt;
        i = t.size();
    }
    if (i != t.size())
        return std::nullopt;
    // Room for three more decimals (mm/s to m/s) beyond what the value carries.
    const int power = Decimal::kScale + exponent - fraction;
    if (power < 3)
        return std::nullopt;
    i128 units = mantissa;
    for (int p = 0; p < power; ++p) {
        units *= 10;
        if (units > kLimit)
            return std::nullopt;
    }
    return Decimal{negative ? -units : units};
}

Decimal shifted(Decimal d, int power)
{
    if (power >= 0)
        return Decimal{d.units * pow10(power)};
    return Decimal{d.units / pow10(-power)};
}

QString roundedText(Decimal sum, int count, int decimals)
{
    const bool negative = sum.units < 0;
    const i128 magnitude = negative ? -sum.units : sum.units;
    const i128 rounded = roundHalfAway(magnitude, i128(count) * pow10(Decimal::kScale - decimals));
    return withComma(rounded, decimals, negative);
}

QString exactText(Decimal sum, int count)
{
    const bool negative = sum.units < 0;
    const i128 magnitude = negative ? -sum.units : sum.units;
    QString s;
    if (magnitude % count == 0) {
        s = withComma(magnitude / count, Decimal::kScale, negative);
    } else {
        s = roundedText(sum, count, 6);
    }
    if (s.contains(u',')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u','))
            s.chop(1);
    }
    return s;
}

}  // namespace dicom
