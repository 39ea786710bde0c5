#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The typed values of the settings file, read from and written to the text of a value.

// Optional leading blanks, an optional sign, then decimal digits, or one to eight hexadecimal
// digits (either case) after "$", "x", "X", "0x" or "0X"; nothing may follow. A decimal value must
// lie in the signed 32-bit range; a hexadecimal one is a 32-bit pattern (so "$FFFFFFFF" is -1).
std::optional<int32_t> ParseProfileInteger(std::u16string_view text);

// Optional blanks, an optional sign, digits with at most one decimal separator (the given one
// only) and at least one digit before any exponent, an optional exponent ("E" or "e", an optional
// sign, digits), optional blanks. No value for anything else or for a number beyond a double.
std::optional<double> ParseProfileNumber(std::u16string_view text, char16_t separator);

std::u16string FormatProfileInteger(int32_t value);
// The general number text of the window, with the given separator.
std::u16string FormatProfileNumber(double value, char16_t separator);
