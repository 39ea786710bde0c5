#include "profile_values.h"

#include "char_classes.h"
#include "number_format.h"
#include "resistivity_text.h"

namespace {} // namespace

std::optional<int32_t> ParseProfileInteger(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const std::u16string_view rest = text.substr(i);

    size_t prefix = 0;
    if (rest.starts_with(u"0x") || rest.starts_with(u"0X"))
        prefix = 2;
    else if (rest.starts_with(u"$") || rest.starts_with(u"x") || rest.starts_with(u"X"))
        prefix = 1;
    if (prefix != 0) {
        const std::u16string_view digits = rest.substr(prefix);
        if (digits.empty() || digits.size() > 8)
            return std::nullopt;
        uint32_t pattern = 0;
        for (char16_t c : digits) {
            const int d = HexDigitValue(c);
            if (d < 0)
                return std::nullopt;
            pattern = (pattern << 4) | static_cast<uint32_t>(d);
        }
        if (negative)
            pattern = 0u - pattern;
        return static_cast<int32_t>(pattern);
    }

    if (rest.empty())
        return std::nullopt;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (char16_t c : rest) {
        if (!IsAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::optional<double> ParseProfileNumber(std::u16string_view text, char16_t separator) {
    // The strict decimal parse of a resistivity has the same rules, except that it takes a lone
    // separator for 0; a number of this file needs a digit.
    for (char16_t c : text) {
        if (IsAsciiDigit(c))
            return ParseResistivity(text, separator);
        if (c == u'e' || c == u'E')
            break;
    }
    return std::nullopt;
}

std::u16string FormatProfileInteger(int32_t value) {
    const int64_t wide = value;
    const uint64_t magnitude = static_cast<uint64_t>(wide < 0 ? -wide : wide);
    std::u16string digits;
    uint64_t rest = magnitude;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + rest % 10));
        rest /= 10;
    } while (rest != 0);
    if (wide < 0)
        digits.insert(digits.begin(), u'-');
    return digits;
}

std::u16string FormatProfileNumber(double value, char16_t separator) {
    return FormatPlain(value, separator);
}
