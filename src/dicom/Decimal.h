#pragma once
// Exact decimal arithmetic for measured values: a DICOM Decimal String is parsed without a
// locale into a fixed-point integer, converted between units by powers of ten, averaged and
// rounded half away from zero, so that 48.5 mm gives "4,9" cm where binary floating point
// would give "4,8".

#include <QString>
#include <optional>

namespace dicom {

// value = units / 10^kScale.
struct Decimal {
    static constexpr int kScale = 24;
    __int128 units = 0;
};

// Parses a Decimal String ("5.12E-2", "+24", " 3.5"): optional sign, digits with an optional
// point, optional exponent, blanks around. Empty when it is not one, or its value is too large
// or has more decimals than the fixed point keeps (nonsense for a measurement).
std::optional<Decimal> parseDecimalString(const QString &text);

// Multiplies by 10^power (power may be negative: the division is exact for parsed values).
Decimal shifted(Decimal d, int power);

// The arithmetic mean of `count` values whose sum is `sum`, rounded half away from zero to
// `decimals` places, with a decimal comma and trailing zeros kept ("4,9", "1,0", "36").
QString roundedText(Decimal sum, int count, int decimals);
// The same mean with every decimal it has (at most 6 when it does not terminate), trailing
// zeros dropped ("4,85", "1", "0,955").
QString exactText(Decimal sum, int count);

}  // namespace dicom
