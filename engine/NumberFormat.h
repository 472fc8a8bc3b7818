#pragma once
// The number forms of the read-outs.

#include <string>

// Exponent form: sign, one digit, separator, significantDigits-1 digits, 'E',
// exponent sign and at least three digits. FormatExponent(-0.5L, 3) is "-5.00E-001".
std::string FormatExponent(long double value, int significantDigits);
// Every digit an extended value holds: exponent form with 21 significant
// digits, which reads back as the same value. -0.5 reads "-5.00000000000000000000E-001".
inline std::string FormatFullPrecision(long double value) { return FormatExponent(value, 21); }
// The coefficient read-outs: exponent form with 5 significant digits, 1.01 reads "1.0100E+000".
inline std::string FormatCoefficient(long double value) { return FormatExponent(value, 5); }
// Rounded to a whole number with thousands separators: 12345.6 reads "12,346".
std::string FormatThousands(long double value);
// The general form with 15 significant digits, fixed from 0.0001 to below
// 1E15 and scientific beyond: "0.00620689655172414", "1.5E-5", "2E15".
std::string FormatGeneral15(long double value);
// Floor of value + 0.5, the program's rounding to an integer.
long long RoundHalfUp(long double value);
