#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// The texts of the numeric fields: how an integer field reads its text, how a decimal field reads
// and writes its text. The decimal separator is always passed in, never looked up here.

// An integer field's text read as a whole number: optional leading spaces, an optional sign, then
// decimal digits or "$" and hexadecimal digits, and nothing after them.
struct WholeNumberText {
    bool valid = false;    // the text has that form
    bool overflow = false; // valid, but beyond the 64-bit range: `value` is then the nearest bound
    int64_t value = 0;     // the number when valid (else 0)
};
WholeNumberText ParseWholeNumber(QStringView text);

// True when the text is a whole number of that form that fits in 32 signed bits.
bool IsWholeNumber32(QStringView text);

// A decimal number in the user's number format: optional spaces at both ends, an optional sign,
// digits with at most one `separator` (at least one digit in all), optionally an exponent ("E" or
// "e", an optional sign, digits). No thousands separators. Empty when the text is not such a number
// or lies beyond the range of long double.
std::optional<long double> ParseDecimal(QStringView text, char16_t separator);

// The separator clean-up a decimal field makes before reading a typed text: when `separator` is not
// "." and the text holds a ".", every "." becomes `separator`; otherwise, when `separator` is not ","
// and the text holds a ",", every "," becomes `separator`.
QString NormaliseSeparators(QString text, char16_t separator);

// A decimal field's text for `value`: fixed notation with exactly `places` digits after `separator`
// (places < 0 counts as 0), no thousands separators; with `hideExcessZeros` the trailing zeros after
// the separator are dropped, and the separator too when nothing follows it. The value is first
// taken to 18 significant digits (all that an 80-bit float holds reliably, so a typed 0,15 is seen
// as 0.15 and not as its binary neighbour), then rounded half away from zero, so 0.25 with one place
// gives 0,3 and -0.25 gives -0,3. A result of zero never carries a minus sign. Infinities give "∞"
// and "-∞", NaN gives "-".
QString FormatDecimal(long double value, int places, bool hideExcessZeros, char16_t separator);

// FormatDecimal's text when it has at most `maxLength` characters. A value too large for that (the
// fields hold 2047 characters) is written in exponent form instead, with up to 18 significant digits
// and `separator`, for example "9,99e2046", which ParseDecimal reads back: the text is never a cut
// number.
QString FormatDecimalWithin(long double value, int places, bool hideExcessZeros, char16_t separator,
                            qsizetype maxLength);
