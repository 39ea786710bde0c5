#pragma once

// The user's decimal separator, from the regional settings that the process's number format follows.
// Every number the window shows or reads, and every decimal value of the settings file, uses it.

// The first character of QLocale::system()'s decimal point ("," under a Russian locale, "." under
// C or English ones), asked of the system on every call and never cached, so a change of the
// regional settings is seen at the next use. While an override is set (below), that override.
char16_t UserDecimalSeparator();

// Makes UserDecimalSeparator() return `separator` from now on, whatever the system says; u'\0'
// removes the override. Meant for tests, which run under either separator.
void OverrideUserDecimalSeparator(char16_t separator);
