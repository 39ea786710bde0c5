#pragma once

// Character tests on UTF-16 code units, shared by the core, the settings file and the fields.

constexpr bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The value of a hexadecimal digit of either case, or -1.
constexpr int HexDigitValue(char16_t c) {
    if (IsAsciiDigit(c))
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

constexpr bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
