#pragma once

#include <QString>
#include <optional>

// Numbers as the program reads and writes them on French settings: the comma is the decimal separator.
namespace frnum {

// Reads a decimal number: blanks allowed at both ends, an optional sign, digits with at most one comma,
// an optional exponent ("E" or "e", optional sign, digits). Anything else, or a value out of range,
// is not a number. "7," and ",5" are numbers.
std::optional<double> read(const QString& text);
std::optional<long double> readExtended(const QString& text);

// The mask "#.00": no integer digit for a value below 1 (",50"), a comma, two decimals.
QString formatHash00(double value);
// The "#.00" form of a number written with digits only, at most one comma and at most two decimals, up to
// 13 digits before the comma ("07,5" gives "7,50"), made from its own digits: the same text as
// formatHash00(*read(text)), without either. Empty for any other text.
QString plainHash00(QStringView text);
// The mask "0.00": at least one integer digit ("0,50").
QString format00(double value);
// The general format with 15 significant digits: trailing zeros dropped, a comma only when there are
// decimals, scientific form ("1E-6", "1,5E20") below 0,00001 or with more than 15 integer digits.
QString general15(long double value);

// Rounds to the nearest integer, a value exactly halfway going to the even neighbour.
long double roundHalfEven(long double value);

} // namespace frnum
