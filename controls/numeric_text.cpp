#include "numeric_text.h"

#include "char_classes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsDigit(QChar c) {
    return IsAsciiDigit(c.unicode());
}

int HexDigit(QChar c) {
    return HexDigitValue(c.unicode());
}

} // namespace

WholeNumberText ParseWholeNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return {};

    // The magnitude, saturated once it passes 2^63 (the largest magnitude of an int64).
    constexpr uint64_t limit = uint64_t{1} << 63;
    uint64_t magnitude = 0;
    bool saturated = false;
    for (; i < text.size(); ++i) {
        const int digit = base == 10 ? (IsDigit(text[i]) ? text[i].unicode() - u'0' : -1) : HexDigit(text[i]);
        if (digit < 0)
            return {};
        if (!saturated) {
            if (magnitude > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
                saturated = true;
            } else {
                magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
            }
        }
    }

    WholeNumberText result;
    result.valid = true;
    if (negative) {
        result.overflow = saturated;
        result.value = magnitude == limit || saturated ? std::numeric_limits<int64_t>::min()
                                                       : -static_cast<int64_t>(magnitude);
    } else {
        result.overflow = saturated || magnitude == limit;
        result.value =
            result.overflow ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(magnitude);
    }
    return result;
}

bool IsWholeNumber32(QStringView text) {
    const WholeNumberText number = ParseWholeNumber(text);
    return number.valid && !number.overflow && number.value >= std::numeric_limits<int32_t>::min() &&
           number.value <= std::numeric_limits<int32_t>::max();
}

std::optional<long double> ParseDecimal(QStringView text, char16_t separator) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;

    std::string ascii;
    qsizetype i = begin;
    if (i < end && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            ascii.push_back('-');
        ++i;
    }
    int digits = 0;
    bool separatorSeen = false;
    for (; i < end; ++i) {
        if (IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i].unicode()));
            ++digits;
        } else if (text[i] == separator && !separatorSeen) {
            ascii.push_back('.');
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ascii.push_back('e');
        ++i;
        if (i < end && (text[i] == u'-' || text[i] == u'+')) {
            if (text[i] == u'-')
                ascii.push_back('-');
            ++i;
        }
        int exponentDigits = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++exponentDigits)
            ascii.push_back(static_cast<char>(text[i].unicode()));
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    long double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || ptr != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

QString NormaliseSeparators(QString text, char16_t separator) {
    if (separator != u'.' && text.contains(u'.'))
        text.replace(u'.', QChar(separator));
    else if (separator != u',' && text.contains(u','))
        text.replace(u',', QChar(separator));
    return text;
}

QString FormatDecimal(long double value, int places, bool hideExcessZeros, char16_t separator) {
    if (std::isnan(value))
        return QStringLiteral("-");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    if (places < 0)
        places = 0;

    // The value as 18 significant digits d0 d1 ... d17 times 10^(exponent - 17).
    std::string digits(18, '0');
    long exponent = 0;
    if (value != 0) {
        char buffer[64];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                             std::chars_format::scientific, 17);
        if (ec != std::errc())
            return QStringLiteral("-");
        digits.assign(1, buffer[0]); // "d.ddd…e±x"
        digits.append(buffer + 2, buffer + 19);
        const char* e = buffer + 21; // after "e" and the exponent's sign, which is always there
        std::from_chars(e, end, exponent);
        if (buffer[20] == '-')
            exponent = -exponent;
    }

    // The number of units of 10^-places: the leading `keep` digits, rounded half away from zero.
    const long keep = exponent + places + 1;
    std::string units;
    bool roundUp = false;
    if (keep >= 18) {
        units = digits + std::string(static_cast<size_t>(keep - 18), '0');
    } else if (keep >= 0) {
        units = digits.substr(0, static_cast<size_t>(keep));
        roundUp = digits[static_cast<size_t>(keep)] >= '5';
    }
    if (roundUp) {
        size_t k = units.size();
        while (k > 0 && units[k - 1] == '9')
            units[--k] = '0';
        if (k == 0)
            units.insert(units.begin(), '1');
        else
            ++units[k - 1];
    }
    const size_t firstNonZero = units.find_first_not_of('0');
    units.erase(0, std::min(firstNonZero, units.size()));
    const bool zero = units.empty();
    if (units.size() < static_cast<size_t>(places) + 1)
        units.insert(0, static_cast<size_t>(places) + 1 - units.size(), '0');

    QString text;
    if (value < 0 && !zero)
        text.append(u'-');
    const size_t whole = units.size() - static_cast<size_t>(places);
    text.append(QLatin1String(units.data(), static_cast<qsizetype>(whole)));
    if (places > 0) {
        text.append(QChar(separator));
        text.append(QLatin1String(units.data() + whole, places));
        if (hideExcessZeros) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(QChar(separator)))
                text.chop(1);
        }
    }
    return text;
}

QString FormatDecimalWithin(long double value, int places, bool hideExcessZeros, char16_t separator,
                            qsizetype maxLength) {
    QString fixed = FormatDecimal(value, places, hideExcessZeros, separator);
    if (fixed.size() <= maxLength)
        return fixed;
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 17);
    if (ec != std::errc())
        return QStringLiteral("-");
    const std::string text(buffer, end); // "-d.ddddde+x"
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    while (mantissa.back() == '0')
        mantissa.pop_back();
    if (mantissa.back() == '.')
        mantissa.pop_back();
    std::string exponent = text.substr(e + 1);
    if (exponent.front() == '+')
        exponent.erase(0, 1);
    QString result = QString::fromLatin1(mantissa + 'e' + exponent);
    result.replace(u'.', QChar(separator));
    return result;
}
