// libFuzzer target for the calculation file: any bytes as the content of a "*.stelvorn" file.
//
// Checks, beyond "no crash, no hang, no sanitizer report":
// - a read gives either a calculation and no message, or a message and no calculation;
// - what is accepted has every input within its field's bounds;
// - what is accepted, written again, reads back equal, and writing that gives the same bytes.
#include "calculation_file.h"
#include "input_bounds.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "calculation file fuzz: %s\n", what);
        std::abort();
    }
}

bool Within(double x, const TDecimalFieldBounds& bounds) {
    const auto wide = static_cast<long double>(x);
    return std::isfinite(x) && wide >= bounds.Min && (bounds.Max == 0 || wide <= bounds.Max);
}

bool Within(int64_t x, const TWholeFieldBounds& bounds) {
    return x >= bounds.Min && x <= (bounds.Max != 0 ? bounds.Max : INT32_MAX);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TCalculationRead read = ParseCalculation(bytes);
    Check(read.Calculation.has_value() == read.Error.isEmpty(), "a calculation and a message, or neither");
    if (!read.Calculation)
        return 0;

    const TEarthingInput& in = read.Calculation->Inputs;
    Check(Within(in.Thickness, InputBounds::Thickness) && Within(in.Depth, InputBounds::Depth) &&
              Within(in.Length, InputBounds::Length),
          "a decimal input beyond its field");
    Check(Within(in.Number, InputBounds::Number) &&
              Within(in.IntervalMultiplicity, InputBounds::IntervalMultiplicity) &&
              Within(in.Width, InputBounds::Width) && Within(in.WidthHor, InputBounds::WidthHor),
          "a whole input beyond its field");
    Check(in.ClimaticRegion >= 0 && in.ClimaticRegion <= 4 && (in.Form == 1 || in.Form == 2) &&
              (in.MutualDisposition == 1 || in.MutualDisposition == 2) && in.FormHor >= 1 && in.FormHor <= 3,
          "a radio code without a button");
    Check(in.TopLayer.size() <= InputBounds::MaxSoilTextLength &&
              in.BottomLayer.size() <= InputBounds::MaxSoilTextLength,
          "a soil text longer than its box");

    const QByteArray written = SerializeCalculation(*read.Calculation);
    const TCalculationRead again = ParseCalculation(written);
    Check(again.Calculation.has_value(), "an accepted calculation, written, is refused");
    Check(*again.Calculation == *read.Calculation, "an accepted calculation, written, reads back different");
    Check(SerializeCalculation(*again.Calculation) == written, "writing is not stable");
    return 0;
}
