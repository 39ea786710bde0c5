#pragma once

#include <string>
#include <string_view>

// UTF-8 and UTF-16 text, converted without the locale.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Every invalid byte of the UTF-8 text becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
