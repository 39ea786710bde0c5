#include "resistivity_text.h"

#include "char_classes.h"

#include <charconv>
#include <system_error>

namespace {

bool IsPointOrComma(char16_t c) {
    return c == u',' || c == u'.';
}

} // namespace

std::u16string ExtractResistivityText(std::u16string_view text, char16_t systemSeparator) {
    std::u16string result;
    result.reserve(text.size());

    bool bareNumber = true;
    for (char16_t c : text) {
        if (!IsAsciiDigit(c) && !IsPointOrComma(c)) {
            bareNumber = false;
            break;
        }
    }
    if (bareNumber) {
        for (char16_t c : text)
            result.push_back(IsPointOrComma(c) ? systemSeparator : c);
        return result;
    }

    // Keep what stands after the first "(" and before the first ")".
    bool opened = false;
    bool closed = false;
    for (char16_t c : text) {
        if (c == u'(')
            opened = true;
        if (c == u')')
            closed = true;
        const bool inside = opened && !closed;
        if (IsPointOrComma(c) && inside)
            result.push_back(systemSeparator);
        else if (IsAsciiDigit(c) && inside)
            result.push_back(c);
    }
    return result;
}

std::optional<double> ParseResistivity(std::u16string_view text, char16_t userSeparator) {
    size_t i = 0;
    size_t end = text.size();
    while (i < end && text[i] == u' ')
        ++i;
    while (end > i && text[end - 1] == u' ')
        --end;

    // The number is rebuilt in the locale-free syntax of std::from_chars.
    std::string ascii;
    ascii.reserve(end - i + 3);
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            ascii.push_back('-');
        ++i;
    }
    bool mantissa = false;
    size_t digits = 0;
    while (i < end && IsAsciiDigit(text[i])) {
        ascii.push_back(static_cast<char>(text[i++]));
        ++digits;
    }
    mantissa = digits > 0;
    if (i < end && text[i] == userSeparator) {
        ++i;
        if (digits == 0)
            ascii.push_back('0');
        ascii.push_back('.');
        mantissa = true;
        size_t fraction = 0;
        while (i < end && IsAsciiDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++fraction;
        }
        if (fraction == 0)
            ascii.push_back('0');
    }
    if (!mantissa)
        return std::nullopt;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        ascii.push_back('e');
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            ascii.push_back(static_cast<char>(text[i++]));
        size_t exponent = 0;
        while (i < end && IsAsciiDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++exponent;
        }
        if (exponent == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    double value = 0;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}
