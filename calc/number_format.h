#pragma once

#include <string>

// Display rules. FormatPlain: up to 15 significant digits, no trailing zeros, no thousands
// separator; fixed notation from 0.0001 to just below 1E15, else scientific (1,5E20, 1E-5).
// +∞ shows "∞", −∞ "-∞" and NaN "-". FormatWhole and FormatTenths round half to even first.
std::u16string FormatPlain(double x, char16_t separator);
std::u16string FormatWhole(double x, char16_t separator);
std::u16string FormatTenths(double x, char16_t separator);
