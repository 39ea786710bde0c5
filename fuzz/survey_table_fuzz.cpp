// libFuzzer target for the survey table's text: a spreadsheet paste or a CSV file, as UTF-8.
//
// Checks, beyond "no crash, no hang, no sanitizer report":
// - a refused text gives a message and no readings, an accepted one at most 1000 readings;
// - what was read, written again with either decimal separator, reads back to the same readings;
// - the fits of a short table end, and give finite models with a finite RMS, or a message.
#include "survey.h"
#include "utf8_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "survey table fuzz: %s\n", what);
        std::abort();
    }
}

// Equal to the 15 significant digits the table is written with.
bool Same(std::optional<double> a, std::optional<double> b) {
    if (!a || !b)
        return !a && !b;
    return *a == *b || std::abs(*a - *b) <= 1e-14 * std::max(std::abs(*a), std::abs(*b));
}

bool Writable(std::optional<double> x) {
    return !x || std::abs(*x) < 1e300;
}

void CheckModel(const std::optional<TSurveyModel>& model) {
    if (!model)
        return;
    Check(std::isfinite(model->Rho1) && model->Rho1 > 0 && std::isfinite(model->Rho2) && model->Rho2 > 0,
          "a resistivity that is no positive number");
    Check(std::isfinite(model->Rms) && model->Rms >= 0, "an RMS that is no number");
    Check(!model->TwoLayers || (std::isfinite(model->Thickness) && model->Thickness > 0), "a bad thickness");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
    const TSurveyTableText table = ReadSurveyTable(text);
    if (!table.Error.empty()) {
        Check(table.Readings.empty(), "readings taken from a refused text");
        return 0;
    }
    Check(table.Readings.size() <= MaxSurveyReadings, "more readings than a table holds");

    bool writable = true;
    for (const TSurveyReading& r : table.Readings)
        writable = writable && Writable(r.Spacing) && Writable(r.Depth) && Writable(r.Resistance) &&
                   Writable(r.Apparent);
    if (writable && !table.Readings.empty()) {
        for (char16_t separator : {u',', u'.'}) {
            const TSurveyTableText again = ReadSurveyTable(WriteSurveyTable(table.Readings, separator));
            Check(again.Error.empty(), "the written table is refused");
            Check(again.Readings.size() == table.Readings.size(), "the written table has other rows");
            for (size_t i = 0; i < again.Readings.size(); ++i) {
                const TSurveyReading &a = table.Readings[i], &b = again.Readings[i];
                Check(Same(a.Spacing, b.Spacing) && Same(a.Depth, b.Depth) &&
                          Same(a.Resistance, b.Resistance) && Same(a.Apparent, b.Apparent) &&
                          a.Kept == b.Kept,
                      "a reading changes when written and read again");
            }
        }
    }

    if (table.Readings.size() <= 8) {
        const TSurveyFit fit = FitSurvey(table.Readings);
        Check(fit.Error.empty() == fit.Uniform.has_value(), "a fit without a model or a model with an error");
        CheckModel(fit.Uniform);
        CheckModel(fit.TwoLayer);
    }
    return 0;
}
