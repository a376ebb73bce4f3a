#include "tools/Real48.h"

#include "core/FrenchNumbers.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int Bias = 129;
constexpr int FractionBits = 39;
constexpr std::uint64_t HiddenBit = std::uint64_t(1) << FractionBits;
constexpr std::uint64_t FractionMask = HiddenBit - 1;

} // namespace

long double Real48::smallest()
{
    return std::ldexp(1.0L, 1 - Bias);
}

long double Real48::largest()
{
    return std::ldexp(static_cast<long double>(HiddenBit | FractionMask), 255 - Bias - FractionBits);
}

Real48 Real48::store(long double value)
{
    if (std::isnan(value))
        throw fpu::invalidOperation();
    if (std::isinf(value))
        throw fpu::overflow();
    const long double magnitude = std::fabs(value);
    if (magnitude < smallest())
        return Real48();

    // magnitude = m x 2^e with m in [0.5, 1); the 64 bits of m are exact in an unsigned integer, so the
    // rounding to 40 bits is done on integers and cannot itself round twice.
    int e = 0;
    const long double m = std::frexp(magnitude, &e);
    const auto bits64 = static_cast<std::uint64_t>(std::ldexp(m, 64));
    std::uint64_t significand = bits64 >> 24;
    if ((bits64 & 0xFFFFFF) >= 0x800000) // a tie goes away from zero
        ++significand;
    if (significand == (HiddenBit << 1)) {
        significand = HiddenBit;
        ++e;
    }
    const int exponent = e + Bias - 1;
    if (exponent > 255)
        throw fpu::overflow();

    Real48 r;
    r.m_exponent = static_cast<std::uint8_t>(exponent);
    r.m_fraction = significand & FractionMask;
    r.m_negative = value < 0;
    return r;
}

Real48 Real48::fromBytes(const Bytes& bytes)
{
    Real48 r;
    if (bytes[0] == 0)
        return r;
    r.m_exponent = bytes[0];
    for (int i = 5; i >= 1; --i)
        r.m_fraction = (r.m_fraction << 8) | bytes[i];
    r.m_negative = (bytes[5] & 0x80) != 0;
    r.m_fraction &= FractionMask;
    return r;
}

Real48::Bytes Real48::bytes() const
{
    Bytes b{};
    b[0] = m_exponent;
    std::uint64_t f = m_fraction;
    for (int i = 1; i <= 5; ++i) {
        b[i] = static_cast<std::uint8_t>(f & 0xFF);
        f >>= 8;
    }
    if (m_negative)
        b[5] |= 0x80;
    return b;
}

long double Real48::value() const
{
    if (m_exponent == 0)
        return 0.0L;
    const long double magnitude =
        std::ldexp(static_cast<long double>(HiddenBit | m_fraction), m_exponent - Bias - FractionBits);
    return m_negative ? -magnitude : magnitude;
}

QString Real48::displayText() const
{
    constexpr int Precision = 12;
    for (int digits = 1; digits < Precision; ++digits) {
        const QString text = generalFormat(value(), Precision, digits);
        const auto back = frnum::readExtended(text);
        try {
            if (back && store(*back) == *this)
                return text;
        } catch (const PlatformError&) {
        }
    }
    return generalFormat(value(), Precision);
}

namespace fpu {

PlatformError divisionByZero()
{
    return PlatformError(QStringLiteral("Division flottante par zéro"));
}

PlatformError invalidOperation()
{
    return PlatformError(QStringLiteral("Opération flottante incorrecte"));
}

PlatformError overflow()
{
    return PlatformError(QStringLiteral("Débordement flottant"));
}

} // namespace fpu

QString generalFormat(long double value, int precision, int digits)
{
    if (digits <= 0)
        digits = precision;
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", digits - 1, std::fabs(value));
    // buf reads d.ddd...e[+-]xx
    const QString s = QString::fromLatin1(buf);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    QString mantissa = s.left(e).remove(QLatin1Char('.'));
    const int pointAfter = s.mid(e + 1).toInt() + 1; // integer digits of the rounded value
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);

    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (pointAfter > precision || std::fabs(value) < 0.00001L) {
        out += mantissa[0];
        if (mantissa.size() > 1)
            out += QLatin1Char(',') + mantissa.mid(1);
        return out + QLatin1Char('E') + QString::number(pointAfter - 1);
    }
    if (pointAfter <= 0)
        return out + QStringLiteral("0,") + QString(-pointAfter, QLatin1Char('0')) + mantissa;
    out += mantissa.left(pointAfter);
    if (mantissa.size() < pointAfter)
        out += QString(pointAfter - mantissa.size(), QLatin1Char('0'));
    if (mantissa.size() > pointAfter)
        out += QLatin1Char(',') + mantissa.mid(pointAfter);
    return out;
}
