#include "core/FrenchNumbers.h"

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

// The common form of a number, "12,5", read without the C library: blanks, a sign, digits, a comma and more
// digits, blanks. An integer below 2^53 and a power of ten up to 10^22 are exact in a double, so the quotient
// of the digits by that power of ten is the correctly rounded value, the one strtod gives. False for any other
// text (more digits, an exponent, anything else), which the general reader decides.
bool readPlain(const QString& text, double* value)
{
    const QChar* p = text.constData();
    const QChar* end = p + text.size();
    while (p < end && *p == QLatin1Char(' '))
        ++p;
    while (end > p && end[-1] == QLatin1Char(' '))
        --end;
    bool negative = false;
    if (p < end && (*p == QLatin1Char('-') || *p == QLatin1Char('+')))
        negative = *p++ == QLatin1Char('-');
    qint64 digits = 0;
    int significant = 0, decimals = 0, count = 0;
    bool comma = false;
    for (; p < end; ++p) {
        const char16_t c = p->unicode();
        if (c == u',' && !comma) {
            comma = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        ++count;
        if (comma)
            ++decimals;
        if (digits > 0 || c != u'0')
            ++significant;
        digits = digits * 10 + (c - u'0');
        if (significant > 15 || decimals > 22)
            return false;
    }
    if (count == 0)
        return false;
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double magnitude = double(digits) / powers[decimals];
    *value = negative ? -magnitude : magnitude;
    return true;
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
    if (double value; readPlain(text, &value))
        return value;
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

QString plainHash00(QStringView text)
{
    // Digits, then a comma and at most two decimals: the number's own digits already are its decimal form,
    // which the general formatter would find again through the double (15 digits survive it unchanged).
    // Built in one go: the grid asks this of every mark of a class it shows.
    const qsizetype size = text.size();
    if (size == 0 || text[0] == u',')
        return {};
    char16_t out[17];
    int n = 0;
    qsizetype i = 0;
    while (i < size && text[i] == u'0')
        ++i;
    for (; i < size && text[i] != u','; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9' || n == 13)
            return {};
        out[n++] = c;
    }
    out[n++] = u',';
    int decimals = 0;
    if (i < size)
        for (++i; i < size; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9' || decimals == 2)
                return {};
            out[n++] = c;
            ++decimals;
        }
    for (; decimals < 2; ++decimals)
        out[n++] = u'0';
    return QString(reinterpret_cast<const QChar*>(out), n);
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
