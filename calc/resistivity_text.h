#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading a soil resistivity out of the text of a soil box.

// Reduces a soil text to the digits and decimal separators of its resistivity, every separator
// turned into systemSeparator. A bare number ("100", "1.5", "1,5") keeps all its characters;
// otherwise only the digits and separators after the first "(" and before the first ")" remain.
// Runs in time linear in the length of the text.
std::u16string ExtractResistivityText(std::u16string_view text, char16_t systemSeparator);

// Strict decimal parse with the user's decimal separator: optional blanks, an optional sign, digits,
// optionally the separator and more digits, optionally an exponent, optional blanks. A lone separator
// reads as 0. Fails (no value) on anything else, and on a value outside the range of a double.
std::optional<double> ParseResistivity(std::u16string_view text, char16_t userSeparator);
