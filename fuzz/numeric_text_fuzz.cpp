// libFuzzer target for the texts of the numeric fields: reading an integer field's text, reading
// and writing a decimal field's text, the separator clean-up.
//
// Checks, beyond "no crash, no hang, no sanitizer report":
// - an integer text reads as a reference reading gives it (digits or "$" and hex digits, 128-bit
//   arithmetic, saturation at the 64-bit bounds), and IsWholeNumber32 agrees with it;
// - a decimal text that reads gives the same value with blanks around it, and with the other
//   separator put in its place;
// - the text written for a value has the form of a field's text (sign, digits, the separator and
//   exactly `places` digits, or fewer with the zeros hidden; never "-0"), reads back within half a
//   unit of its last place (except right at the largest long double), and writing what it reads
//   back gives the same text;
// - the separator clean-up keeps the length, leaves no foreign separator and changes nothing on a
//   second pass.
#include "numeric_text.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "numeric text fuzz: %s\n", what);
        std::abort();
    }
}

WholeNumberText ReferenceWholeNumber(const QString& text) {
    QString rest = text;
    while (rest.startsWith(u' '))
        rest.remove(0, 1);
    bool negative = false;
    if (rest.startsWith(u'-') || rest.startsWith(u'+')) {
        negative = rest.startsWith(u'-');
        rest.remove(0, 1);
    }
    const bool hex = rest.startsWith(u'$');
    if (hex)
        rest.remove(0, 1);
    if (rest.isEmpty())
        return {};
    __int128 magnitude = 0;
    const __int128 cap = static_cast<__int128>(1) << 64;
    for (QChar c : rest) {
        bool ok = false;
        const int digit = QString(c).toInt(&ok, hex ? 16 : 10);
        if (!ok || c == u'+' || c == u'-' || c == u' ')
            return {};
        magnitude = std::min(cap, magnitude * (hex ? 16 : 10) + digit);
    }
    const __int128 value = negative ? -magnitude : magnitude;
    WholeNumberText result;
    result.valid = true;
    result.overflow =
        value > std::numeric_limits<int64_t>::max() || value < std::numeric_limits<int64_t>::min();
    result.value = static_cast<int64_t>(std::clamp<__int128>(value, std::numeric_limits<int64_t>::min(),
                                                             std::numeric_limits<int64_t>::max()));
    return result;
}

bool HasFieldForm(const QString& text, int places, bool hideExcessZeros, QChar separator) {
    qsizetype i = 0;
    if (text.startsWith(u'-'))
        ++i;
    const qsizetype wholeStart = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
        ++i;
    if (i == wholeStart)
        return false;
    if (i == text.size())
        return places == 0 || hideExcessZeros;
    if (text[i] != separator)
        return false;
    const qsizetype fraction = text.size() - i - 1;
    if (fraction == 0)
        return false;
    for (qsizetype k = i + 1; k < text.size(); ++k)
        if (!(text[k] >= u'0' && text[k] <= u'9'))
            return false;
    if (hideExcessZeros)
        return fraction > 0 && fraction <= places && !text.endsWith(u'0');
    return fraction == places;
}

bool IsZeroText(const QString& text) {
    for (QChar c : text)
        if (c != u'-' && c != u'0' && c != u'.' && c != u',')
            return false;
    return true;
}

} // namespace

// The input: one byte for the separator (bit 0: ","), whether excess zeros are hidden (bit 1) and
// the number of places (bits 2-6, 0 to 31); the rest is the text in UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const char16_t separator = (data[0] & 1) ? u',' : u'.';
    const char16_t other = separator == u',' ? u'.' : u',';
    const bool hide = (data[0] & 2) != 0;
    const int places = (data[0] >> 2) & 31;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));

    const WholeNumberText whole = ParseWholeNumber(text);
    const WholeNumberText reference = ReferenceWholeNumber(text);
    Check(whole.valid == reference.valid && whole.overflow == reference.overflow &&
              whole.value == reference.value,
          "an integer text reads otherwise than the reference");
    Check(IsWholeNumber32(text) ==
              (whole.valid && !whole.overflow && whole.value >= INT32_MIN && whole.value <= INT32_MAX),
          "IsWholeNumber32 disagrees");

    const QString normalised = NormaliseSeparators(text, separator);
    Check(normalised.size() == text.size(), "the separator clean-up changed the length");
    Check(NormaliseSeparators(normalised, separator) == normalised, "a second clean-up changed the text");
    Check(!normalised.contains(other), "a foreign separator stayed");

    const std::optional<long double> value = ParseDecimal(text, separator);
    if (value) {
        Check(!std::isnan(*value), "a decimal text read as NaN");
        Check(ParseDecimal(QStringLiteral("  ") + text + QStringLiteral("  "), separator) == value,
              "blanks change the value");
        if (!text.contains(other)) {
            QString swapped = text;
            swapped.replace(QChar(separator), QChar(other));
            Check(ParseDecimal(swapped, other) == value, "the other separator changes the value");
        }
    }

    // Writing: the parsed value, else a value made of the input's first bytes.
    long double written = 0;
    if (value) {
        written = *value;
    } else if (size > 1) {
        std::memcpy(&written, data + 1, std::min(sizeof(written), size - 1));
        if (!std::isfinite(written))
            written = 0;
    }
    const QString shown = FormatDecimal(written, places, hide, separator);
    Check(HasFieldForm(shown, places, hide, QChar(separator)), "a written text has not the field's form");
    Check(!(shown.startsWith(u'-') && IsZeroText(shown)), "minus zero written");
    // Within a length limit: the field's own text when it fits, else a text that fits and reads back.
    constexpr qsizetype limit = 40;
    const QString within = FormatDecimalWithin(written, places, hide, separator, limit);
    Check(within.size() <= limit, "a text within a limit is longer than the limit");
    if (shown.size() <= limit) {
        Check(within == shown, "a text that fits is not the field's own");
    } else {
        const std::optional<long double> read = ParseDecimal(within, separator);
        const bool nearLargest = std::fabs(written) > std::numeric_limits<long double>::max() * (1 - 1e-17L);
        Check((read && std::fabs(*read - written) <= std::fabs(written) * 1e-17L) || (!read && nearLargest),
              "a text written within a limit does not read back");
    }

    const std::optional<long double> back = ParseDecimal(shown, separator);
    // Within a few units of the last 18th digit of the largest long double, the text rounded to 18
    // digits lies beyond the range, and reads as nothing; no field range comes near.
    if (!back && std::fabs(written) > std::numeric_limits<long double>::max() * (1 - 1e-17L))
        return 0;
    Check(back.has_value(), "a written text does not read back");
    const long double unit = std::pow(10.0L, -places);
    const long double tolerance = unit / 2 + std::fabs(written) * 1e-17L;
    Check(std::fabs(*back - written) <= tolerance, "a written text reads back too far from its value");
    Check(FormatDecimal(*back, places, hide, separator) == shown, "writing what was read changes the text");
    return 0;
}
