#include "number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// x rounded once to `digits` significant digits, in the shortest of fixed and scientific notation that
// the general format of that precision chooses, written our way.
std::u16string FormatGeneral(double x, int digits, char16_t separator) {
    if (std::isnan(x))
        return u"-";
    if (std::isinf(x))
        return x > 0 ? u"∞" : u"-∞";
    if (x == 0)
        return u"0"; // also for -0

    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, digits);
    std::u16string text;
    if (ec != std::errc())
        return u"-";
    for (const char* p = buffer; p != end; ++p) {
        if (*p == '.') {
            text.push_back(separator);
        } else if (*p == 'e') {
            text.push_back(u'E');
            ++p;
            if (*p == '-')
                text.push_back(u'-');
            ++p; // the sign is always there
            while (p + 1 != end && *p == '0')
                ++p;
            for (; p != end; ++p)
                text.push_back(static_cast<char16_t>(*p));
            break;
        } else {
            text.push_back(static_cast<char16_t>(*p));
        }
    }
    return text;
}

} // namespace

std::u16string FormatPlain(double x, char16_t separator) {
    return FormatGeneral(x, 15, separator);
}

std::u16string FormatSignificant(double x, int digits, char16_t separator) {
    // Every digit before the separator is kept, so that 12345 never turns into 1,235E4.
    // Counted once rounded: 9999,6 with four digits keeps five (9999,6), never 1E4.
    const double magnitude = std::round(std::fabs(x));
    if (std::isfinite(magnitude) && magnitude >= 1 && magnitude < 1e15)
        digits = std::max(digits, static_cast<int>(std::floor(std::log10(magnitude))) + 1);
    return FormatGeneral(x, std::clamp(digits, 1, 17), separator);
}

std::u16string FormatWhole(double x, char16_t separator) {
    // nearbyint rounds half to even in the default rounding mode; a double too large to have a
    // fraction is returned as it is.
    return FormatPlain(std::nearbyint(x), separator);
}

std::u16string FormatTenths(double x, char16_t separator) {
    // x·10 is exact in extended precision for every double.
    const long double tenths = std::nearbyintl(static_cast<long double>(x) * 10);
    return FormatPlain(static_cast<double>(tenths / 10), separator);
}

std::u16string FormatInteger(int64_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}
