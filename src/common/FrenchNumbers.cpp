#include "common/FrenchNumbers.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace frnum {
namespace {

// A value written with a fixed count of significant digits: value = 0.digits x 10^exponent.
struct Decimal
{
    bool negative = false;
    QString digits; // no leading zero, no trailing zero; empty for zero
    int exponent = 0;
};

Decimal toDecimal(long double value, int precision)
{
    Decimal d;
    if (value == 0 || !std::isfinite(value))
        return d;
    d.negative = value < 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, std::fabs(value));
    // buf: d.ddddde[+-]XX
    QString s = QString::fromLatin1(buf);
    const int e = s.indexOf(QLatin1Char('e'));
    d.digits = s.left(e).remove(QLatin1Char('.'));
    d.exponent = s.mid(e + 1).toInt() + 1;
    while (d.digits.endsWith(QLatin1Char('0')))
        d.digits.chop(1);
    return d;
}

// Rounds the digits so that `decimals` digits remain after the decimal point, a half going away from zero.
void roundTo(Decimal& d, int decimals)
{
    const int kept = d.exponent + decimals;
    if (kept >= d.digits.size())
        return;
    if (kept < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[kept] >= QLatin1Char('5');
    d.digits.truncate(kept);
    if (up) {
        int i = kept - 1;
        while (i >= 0 && d.digits[i] == QLatin1Char('9')) {
            d.digits[i] = QLatin1Char('0');
            --i;
        }
        if (i >= 0) {
            d.digits[i] = QChar(d.digits[i].unicode() + 1);
        } else {
            d.digits.prepend(QLatin1Char('1'));
            ++d.exponent;
        }
    }
    while (d.digits.endsWith(QLatin1Char('0')))
        d.digits.chop(1);
}

QString formatFixed(double value, int decimals, bool leadingZero)
{
    Decimal d = toDecimal(value, 15);
    roundTo(d, decimals);
    QString intPart, frac;
    for (int i = 0; i < d.exponent; ++i)
        intPart += i < d.digits.size() ? d.digits[i] : QLatin1Char('0');
    for (int i = 0; i < decimals; ++i) {
        const int pos = d.exponent + i;
        frac += (pos >= 0 && pos < d.digits.size()) ? d.digits[pos] : QLatin1Char('0');
    }
    if (intPart.isEmpty() && leadingZero)
        intPart = QStringLiteral("0");
    QString out = intPart + QLatin1Char(',') + frac;
    if (d.negative && !d.digits.isEmpty())
        out.prepend(QLatin1Char('-'));
    return out;
}

locale_t cLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", nullptr);
    return loc;
}

// Checks the shape of a French number and returns it in the C form ("-12.5e3"), or an empty text.
QByteArray cForm(const QString& text)
{
    qsizetype i = 0, n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    while (n > i && text[n - 1] == QLatin1Char(' '))
        --n;
    QByteArray out;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        out += char(text[i++].unicode());
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        out += char(text[i++].unicode());
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char(',')) {
        out += '.';
        ++i;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            out += char(text[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return {};
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        out += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            out += char(text[i++].unicode());
        int expDigits = 0;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            out += char(text[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return {};
    }
    if (i != n)
        return {};
    return out;
}

} // namespace

std::optional<long double> readExtended(const QString& text)
{
    const QByteArray c = cForm(text);
    if (c.isEmpty())
        return std::nullopt;
    const long double v = strtold_l(c.constData(), nullptr, cLocale());
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> read(const QString& text)
{
    const QByteArray c = cForm(text);
    if (c.isEmpty())
        return std::nullopt;
    const double v = strtod_l(c.constData(), nullptr, cLocale());
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

QString formatHash00(double value)
{
    return formatFixed(value, 2, false);
}

QString format00(double value)
{
    return formatFixed(value, 2, true);
}

QString general15(long double value)
{
    Decimal d = toDecimal(value, 15);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    QString out = d.negative ? QStringLiteral("-") : QString();
    if (d.exponent > 15 || std::fabs(value) < 0.00001L) {
        out += d.digits[0];
        if (d.digits.size() > 1)
            out += QLatin1Char(',') + d.digits.mid(1);
        out += QLatin1Char('E') + QString::number(d.exponent - 1);
        return out;
    }
    if (d.exponent <= 0)
        return out + QStringLiteral("0,") + QString(-d.exponent, QLatin1Char('0')) + d.digits;
    out += d.digits.left(d.exponent);
    if (d.digits.size() < d.exponent)
        out += QString(d.exponent - d.digits.size(), QLatin1Char('0'));
    if (d.digits.size() > d.exponent)
        out += QLatin1Char(',') + d.digits.mid(d.exponent);
    return out;
}

long double roundHalfEven(long double value)
{
    // The default floating-point rounding mode is to nearest, ties to even.
    return std::nearbyintl(value);
}

} // namespace frnum
