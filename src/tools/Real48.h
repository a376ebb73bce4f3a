#pragma once

#include "core/PlatformError.h"

#include <QString>
#include <array>
#include <cstdint>

// The 48-bit real of the calculator and the converter: byte 0 is the exponent biased by 129 (0 means the
// value 0), bytes 1 to 5 hold the 39 fraction bits below an implicit leading 1, lowest byte first, and the
// top bit of byte 5 is the sign. 40 significant bits, about 12 decimal digits, magnitudes from 2^-128 to
// just below 2^127. Arithmetic is done in long double and every result is rounded to this form when stored.
class Real48
{
public:
    using Bytes = std::array<std::uint8_t, 6>;

    Real48() = default;

    // Rounds to nearest, a tie going away from zero. A magnitude below 2^-128 becomes 0 silently; one that
    // rounds to 2^127 or more raises "Débordement flottant", a value that is not a number "Opération
    // flottante incorrecte".
    static Real48 store(long double value);
    static Real48 fromBytes(const Bytes& bytes);

    Bytes bytes() const;
    long double value() const;
    bool isZero() const { return m_exponent == 0; }

    // The value as the calculator shows it, in the general form of precision 12 with the comma as decimal
    // separator: the fewest digits that read back as this very value (0,1 and not the stray digits the
    // binary fraction makes up from the thirteenth place; 1E-6 and not 9,99999999999E-7), at most 12,
    // which is all the 40 bits hold. The text always reads back as a number within range.
    QString displayText() const;

    friend bool operator==(const Real48&, const Real48&) = default;

    // 2^-128 and (2 - 2^-39) x 2^126.
    static long double smallest();
    static long double largest();

private:
    std::uint8_t m_exponent = 0;
    std::uint64_t m_fraction = 0; // 39 bits
    bool m_negative = false;
};

// The messages of the floating-point unit, as the general error handler shows them.
namespace fpu {
PlatformError divisionByZero();
PlatformError invalidOperation();
PlatformError overflow();
} // namespace fpu

// The general number form of a given precision: the value rounded to `digits` significant digits (the
// precision when 0), trailing zeros dropped, a comma only when there are decimals, scientific form
// ("1E-6", "1,5E20") below 0,00001 or with more integer digits than the precision.
QString generalFormat(long double value, int precision, int digits = 0);
