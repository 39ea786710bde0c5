// libFuzzer target for reading a resistivity out of a soil box's text, and for the whole
// calculation on such a text.
//
// Checks, beyond "no crash, no hang, no sanitizer report":
// - the reduced text holds only digits and the system separator, and is what a second, index-based
//   reading of the rule gives: a bare number keeps every character, anything else keeps the digits
//   and separators between the first "(" and the first ")" after it (nothing when a ")" comes first);
// - a parsed resistivity is finite, is the value std::strtod gives for the same number, survives
//   blanks around it, and a "-" in front of an unsigned number negates it;
// - the calculation with the text in either soil box ends and gives its labels.
#include "earthing.h"
#include "resistivity_text.h"
#include "utf8_text.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "resistivity fuzz: %s\n", what);
        std::abort();
    }
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsPointOrComma(char16_t c) {
    return c == u'.' || c == u',';
}

std::u16string ReferenceExtract(std::u16string_view text, char16_t systemSeparator) {
    auto keep = [&](std::u16string_view part) {
        std::u16string kept;
        for (char16_t c : part)
            if (IsDigit(c) || IsPointOrComma(c))
                kept.push_back(IsPointOrComma(c) ? systemSeparator : c);
        return kept;
    };
    if (text.find_first_not_of(u"0123456789.,") == std::u16string_view::npos)
        return keep(text);
    const size_t open = text.find(u'(');
    const size_t close = text.find(u')');
    if (open == std::u16string_view::npos || (close != std::u16string_view::npos && close < open))
        return {};
    return keep(text.substr(open + 1, close == std::u16string_view::npos ? std::u16string_view::npos
                                                                         : close - open - 1));
}

// The number in C syntax for strtod, or empty when the text holds anything else than ASCII.
std::string AsciiNumber(std::u16string_view text, char16_t userSeparator) {
    std::string ascii;
    for (char16_t c : text) {
        if (c == userSeparator)
            ascii.push_back('.');
        else if (c < 0x80 && c != u'.' && c != u',')
            ascii.push_back(static_cast<char>(c));
        else
            return {};
    }
    return ascii;
}

} // namespace

// The input: one byte whose bits choose the two separators (bit 0: the system separator is ",",
// bit 1: the user's is ","), and whether the rest is UTF-16LE code units (bit 7, lone surrogates
// included) or UTF-8 (invalid bytes become U+FFFD).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    std::setlocale(LC_NUMERIC, "C");
    const char16_t systemSeparator = (data[0] & 1) ? u',' : u'.';
    const char16_t userSeparator = (data[0] & 2) ? u',' : u'.';
    std::u16string text;
    if (data[0] & 0x80) {
        for (size_t i = 1; i + 1 < size; i += 2)
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    }

    const std::u16string reduced = ExtractResistivityText(text, systemSeparator);
    Check(reduced == ReferenceExtract(text, systemSeparator), "the reduced text differs from the rule");

    for (const std::u16string& candidate : {text, reduced}) {
        const std::optional<double> value = ParseResistivity(candidate, userSeparator);
        if (!value)
            continue;
        Check(std::isfinite(*value), "a resistivity that is not finite");
        const std::string ascii = AsciiNumber(candidate, userSeparator);
        Check(!ascii.empty(), "a number read out of a text with other characters");
        Check(*value == std::strtod(ascii.c_str(), nullptr), "not the value strtod reads");
        Check(ParseResistivity(u"  " + candidate + u"  ", userSeparator) == value, "blanks change the value");
        if (candidate.front() != u' ' && candidate.front() != u'-' && candidate.front() != u'+') {
            const std::optional<double> negated = ParseResistivity(u"-" + candidate, userSeparator);
            Check(negated && *negated == -*value, "a minus sign does not negate");
        }
    }

    // The whole calculation, with the text as the upper and then as the lower layer.
    TEarthingInput input{2, text, u"Глина (40)", 1.5, 0.5, 1, 50, 3.0, 1, 3, 1, 1, 40};
    for (int layer = 0; layer < 2; ++layer) {
        if (layer == 1)
            std::swap(input.TopLayer, input.BottomLayer);
        const TEarthingResult result = ComputeEarthing(input, userSeparator, systemSeparator);
        const TEarthingLabels labels = EarthingLabels(input, result, userSeparator);
        Check(labels.sLabel39.has_value(), "no total");
    }
    return 0;
}
