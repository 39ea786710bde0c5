#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The soil from a Wenner survey: four probes in a line at equal spacing a, driven b deep; the current
// through the outer pair and the voltage between the inner pair give a resistance R, and from it the
// apparent resistivity ρa. A traverse of readings at growing spacings is fitted to uniform soil and to
// two layers, which is what the calculation takes: ρ1, ρ2 and the upper layer's thickness h.

// At most this many readings in one survey; a longer table is refused as a whole.
constexpr size_t MaxSurveyReadings = 1000;

// One reading as the user typed it: the spacing a (m), the probe depth b (m), and either the measured
// resistance R (Ом) or the apparent resistivity ρa (Ом∙м); with both, R counts. A reading left out
// (Kept false) stays in the table and on the chart but not in the fit.
struct TSurveyReading {
    double Spacing = 0;
    double Depth = 0;
    std::optional<double> Resistance;
    std::optional<double> Apparent;
    bool Kept = true;

    bool operator==(const TSurveyReading&) const = default;
};

// ρa = 4πaR / (1 + 2a/√(a²+4b²) − a/√(a²+b²)); 2πaR for b = 0.
double WennerApparentResistivity(double spacing, double depth, double resistance);

// ρa of two layers at spacing a: ρ1·[1 + 4 Σn≥1 Kⁿ (1/√(1+(2nh/a)²) − 1/√(4+(2nh/a)²))],
// K = (ρ2 − ρ1)/(ρ2 + ρ1). The series is summed until what is left of it is below 1e-9 of ρ1, and
// never beyond 200 000 terms.
double TwoLayerApparentResistivity(double rho1, double rho2, double thickness, double spacing);

// What is wrong with a reading, as a sentence for the user (row numbers count from 1); empty when it
// can be used.
std::u16string SurveyReadingError(const TSurveyReading& reading, size_t row);

struct TSurveyModel {
    double Rho1 = 0, Rho2 = 0; // Ом∙м; equal for uniform soil
    double Thickness = 0;      // h, m; 0 for uniform soil
    double Rms = 0;            // RMS of the relative error of ρa over the kept readings, as a fraction
    bool TwoLayers = false;
    double At(double spacing) const; // the model's ρa
};

struct TSurveyFit {
    // Empty when both fits were made (or the uniform one, where two layers cannot be fitted); else why
    // not, and nothing else holds.
    std::u16string Error;
    std::vector<double> Measured; // ρa of every reading, kept or not, in the table's order
    std::optional<TSurveyModel> Uniform;
    std::optional<TSurveyModel> TwoLayer;
    // Why the two layers are not offered (fewer than three kept readings, or readings that do not
    // determine h); empty when they are.
    std::u16string TwoLayerNote;
};

// Fits both models to the kept readings. The two-layer fit searches a grid in log ρ1, log ρ2, log h
// and refines the best few points with Nelder–Mead, so that it finds the global minimum of the RMS.
TSurveyFit FitSurvey(const std::vector<TSurveyReading>& readings);

// The relative error of the model at a reading, (model − measured)/measured.
inline double SurveyError(const TSurveyModel& model, double spacing, double measured) {
    return (model.At(spacing) - measured) / measured;
}

// The text of a soil box for a fitted resistivity: "По изысканиям (418)", which the resistivity text
// rules read back as the value (whole above 10 Ом∙м, to two significant digits below).
std::u16string SurveySoilText(double rho, char16_t userSeparator, char16_t systemSeparator);

// The table as text: the readings of a spreadsheet paste or a CSV file. Columns are separated by tabs
// or semicolons (a comma where neither occurs and the numbers use points), numbers take a point or a
// comma. Columns in order: a, b, R, ρa, kept ("1"/"0", "да"/"нет"); two columns are a and R. A first
// line with no number in its first column is a heading. Blank lines are skipped.
struct TSurveyTableText {
    std::vector<TSurveyReading> Readings;
    std::u16string Error; // empty when the whole text was read; nothing is taken otherwise
};
TSurveyTableText ReadSurveyTable(std::u16string_view text);

// One cell of the table into its field of the reading: column 0 a, 1 b, 2 R, 3 ρa; a number with a
// point or a comma, blanks around it allowed. An empty b leaves 0, an empty R or ρa leaves none.
// Returns what is wrong ("Строка 3, столбец «R»: «abc» — не число."), or an empty text.
std::u16string ReadSurveyCell(std::u16string_view cell, int column, size_t row, TSurveyReading& reading);

// The readings as CSV with semicolons and the given decimal separator, under a heading line, every line
// ending with CR LF; ReadSurveyTable reads it back.
std::u16string WriteSurveyTable(const std::vector<TSurveyReading>& readings, char16_t separator);

// The survey whose model was applied to the window: its readings and which model.
struct TSurveyRecord {
    std::vector<TSurveyReading> Readings;
    bool TwoLayers = false;

    bool operator==(const TSurveyRecord&) const = default;
};

// The model as the dialog and the document write it, numbers with the given decimal separator:
// "ρ = 120 Ом∙м" for uniform soil, "ρ1 = 418 Ом∙м, ρ2 = 60 Ом∙м, h = 1,85 м" for two layers;
// resistivities to three significant digits, h to hundredths of a metre.
std::u16string SurveyModelText(const TSurveyModel& model, char16_t separator);
// A fraction as per cent to a tenth: "2,1 %".
std::u16string SurveyPercent(double fraction, char16_t separator);
