#pragma once

#include "earthing.h"
#include "fit.h"
#include "survey.h"
#include "variants.h"

#include <optional>
#include <string>
#include <vector>

// The calculation as a document, as data: every line the document shows, already as text, built from
// one run of ComputeEarthing and the chart of the fit. The program lays it out on paper; nothing here
// knows pages or fonts.

// One computed value: its symbol ("ρэ"), the formula it comes from (empty where the document gives
// none), the value as text and its unit with the space before it (" Ом∙м"). No value when the run did
// not reach it.
struct TReportValue {
    std::u16string Symbol;
    std::u16string Formula;
    std::optional<std::u16string> Value;
    std::u16string Unit;

    // The value with its unit, or a dash for a value the run did not reach.
    std::u16string Text() const;
};

// A formula as the document typesets it: a sequence of parts, each text on the base line, a subscript
// to what stands before it, a fraction (numerator over denominator, with a bar), brackets as tall as
// what they hold (Upper) or the decimal logarithm of its argument (Upper). All but text nest.
struct TFormulaPart {
    enum class TKind { Text, Subscript, Fraction, Brackets, Lg };
    TKind Kind = TKind::Text;
    std::u16string Text;                    // Text, Subscript
    std::vector<TFormulaPart> Upper, Lower; // Fraction: numerator and denominator; Brackets, Lg: inside
};
using TFormula = std::vector<TFormulaPart>;

// The formula on one line, as a person would type it: "t = t₀ + l/2", "Rв = 0,366·ρв/l·(lg(2·l/d) + …)";
// a numerator or denominator of more than one term in brackets, a digit subscript as ₀…₉.
std::u16string FormulaText(const TFormula& formula);

// One computed value in the formulas: what it is, its formula in symbols ("t = t₀ + l/2") and the
// same with the numbers of the run and its result ("= 0,5 + 2,5/2 = 1,75 м"); no numbers where the
// run did not reach the value.
struct TReportFormula {
    std::u16string Name;
    TFormula Formula;
    TFormula Numbers;
};

// A line of the document: a name on the left and what it shows on the right, bold where it stands out
// (the total, the chosen norm). A line of results keeps the values its text is made of.
struct TReportRow {
    std::u16string Name;
    std::u16string Text;
    bool Bold = false;
    std::vector<TReportValue> Values;
};

// The survey the soil came from: its readings as a table, the model applied and its RMS.
struct TReportSurvey {
    std::u16string Heading;
    std::vector<std::u16string> Columns;
    std::vector<std::vector<std::u16string>> Rows; // one a reading, as many cells as Columns
    std::u16string Model; // "Два пласта: ρ1 = 418 Ом∙м, ρ2 = 60 Ом∙м, h = 1,85 м"
    std::u16string Rms;   // "Среднеквадратичная ошибка ρa: 2,1 %"
};

// The section of a survey whose model was applied (two layers, else uniform soil); none when the
// readings give no such model.
std::optional<TReportSurvey> BuildSurveySection(const TSurveyRecord& survey, char16_t separator);

// The climatic region as the document names it: "I" to "IV", or "не учитывается".
std::u16string ClimaticRegionText(int32_t region);

// The verdict of a run against a norm: with a total, whether it meets the norm and the comparison it
// rests on, the total with as many digits as it takes to agree ("не соответствует: 10,04 Ом > 10 Ом");
// without one, "не соответствует 10 Ом".
std::u16string VerdictText(const TEarthingResult& result, double norm, char16_t separator);

struct TReport {
    std::u16string Title;

    std::u16string InputsHeading;
    std::vector<TReportRow> Inputs;

    std::u16string ResultsHeading;
    std::vector<TReportRow> Results;
    std::u16string StopReason; // why there is no total, as a sentence; empty when there is one

    std::u16string FormulasHeading;
    std::vector<TReportFormula> Formulas; // in the order of the calculation
    std::vector<TFormula> Symbols; // "l — длина электрода, 2,5 м": every symbol of the formulas

    std::u16string ConclusionHeading;
    std::u16string RaisedNote; // the note on raising the norms; empty when the soil does not allow it
    std::vector<TReportRow> Verdicts; // "не соответствует: 10,04 Ом > 10 Ом", the total with the digits
                                      // that make the shown comparison agree with the verdict

    std::u16string ChartHeading;
    TFitChartData Chart; // against the chosen norm, the inputs' rod count marked

    std::u16string Total; // "12,5 Ом" when the inputs give a total, else empty

    std::u16string VariantsHeading;
    std::optional<TVariantsTable> Variants; // the variants compared, when the document is to show them
};

// The document of `input` judged against the norms 30, 10 and 4 Ом and the chosen one (raised where the
// soil allows), numbers with the user's decimal separator; with `variants`, their table against the
// chosen norm at the end.
TReport BuildEarthingReport(const TEarthingInput& input, const TNormChoice& norm, char16_t userSeparator,
                            char16_t systemSeparator, const std::vector<TVariant>& variants = {});
