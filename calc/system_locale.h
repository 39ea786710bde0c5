#pragma once

#include <string>
#include <string_view>

// The decimal separator of the machine's default locale, asked of the system on every call: the
// locale named by LANG in /etc/default/locale (or /etc/locale.conf); when neither names one that the
// C library knows, the process's own numeric locale. Never empty; callers use its first character.
std::u16string SystemDecimalSeparator();

// The value of LANG in a locale file of KEY=VALUE lines (quotes removed), or "" when it has none.
std::string LangFromLocaleFile(std::string_view fileText);

// The decimal separator of the named locale, or "" when the C library does not know that locale.
std::u16string DecimalSeparatorOfLocale(const std::string& localeName);
