#pragma once

#include <cstdint>
#include <string>

// Display rules. FormatPlain: up to 15 significant digits, no trailing zeros, no thousands
// separator; fixed notation from 0.0001 to just below 1E15, else scientific (1,5E20, 1E-5).
// +∞ shows "∞", −∞ "-∞" and NaN "-". FormatWhole and FormatTenths round half to even first.
std::u16string FormatPlain(double x, char16_t separator);
std::u16string FormatWhole(double x, char16_t separator);
std::u16string FormatTenths(double x, char16_t separator);
// A whole number in digits, with a minus sign when negative.
std::u16string FormatInteger(int64_t n);

// x rounded to `digits` significant digits (1 to 17), and to no fewer than the digits before the
// separator, then written as FormatPlain writes: 71,4285714 with 4 gives 71,43 and 12345,6 gives 12346.
std::u16string FormatSignificant(double x, int digits, char16_t separator);
