#pragma once

#include "earthing.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Fitting the arrangement to a required resistance: with the soil, region, depth, rod and connector
// sizes of the current inputs, which layouts, spacing multiples and rod counts reach it. Every total
// comes from ComputeEarthing; nothing here repeats a formula.

// The resistance norms of the norms page, in ohms: the earthing device of the transformer's neutral,
// all repeated earthings of a line together, and one repeated earthing.
constexpr std::array<double, 3> StandardNorms = {4.0, 10.0, 30.0};

// Above 100 Ом∙м of soil resistivity a norm may be raised by the factor 0.01·ρ, yet at most tenfold;
// the raised norm is rounded down to tenths of an ohm. At or below 100 Ом∙м (or for a resistivity
// that is no finite number) the norm stays as it is.
double RaisedNorm(double norm, double resistivity);

// Why a run that stopped at the given stage gives no total, as a sentence for the user.
std::u16string StopStageReason(int32_t stopStage);

// Why a run gives no total (the window shows "-" for it): that reason as a sentence of its own, with a
// capital first letter. Empty when the run gives a total.
std::u16string NoTotalReason(const TEarthingResult& result);

// True when the run gives a meaningful total at or below the norm.
bool MeetsNorm(const TEarthingResult& result, double norm);

// The soil resistivity the raised norm is taken from: the equivalent resistivity ρэ of the two layers
// as the rods see them, before the climate factor. Empty when the run did not reach it.
std::optional<double> NormResistivity(const TEarthingResult& result);

// One arrangement: a layout (1 in a row, 2 closed contour), a spacing multiple, a rod count, its
// total resistance and the metal it takes.
struct TFitRow {
    int32_t MutualDisposition = 1;
    int32_t IntervalMultiplicity = 1;
    int32_t Number = 1;
    double Length = 0;          // l, m: one rod
    double TotalResistance = 0; // Ω
    double RodLength = 0;       // n·l, m: all rods together
    double ConnectorLength = 0; // L, m
    double Material() const { return RodLength + ConnectorLength; }
};

struct TFit {
    // False when no arrangement gives a total with the current inputs (an unreadable soil, a rod
    // width out of range, ...); StopStage then tells where the single rod's run stopped.
    bool Computable = false;
    int32_t StopStage = 0;
    // For each layout and spacing multiple, the smallest rod count from 1 to 20 whose total is at or
    // below the requirement; sorted by material, least first. Arrangements that are one and the same
    // (a single rod at any layout and multiple, two rods in a row or a contour) are listed once.
    std::vector<TFitRow> Rows;
    // When no arrangement reaches the requirement: the one with the lowest total ...
    std::optional<TFitRow> Best;
    // ... and the same arrangement with the shortest rod length, in whole tenths of a metre from
    // MinSearchedRodLength up to MaxSearchedRodLength, at which it reaches the requirement (shorter or longer
    // than the current rods); empty when no such length reaches it.
    std::optional<TFitRow> Reaching;
};

// The shortest and the longest rod the length search tries, m; the window's length field holds no
// rod shorter than 1 m.
constexpr double MinSearchedRodLength = 1.0;
constexpr double MaxSearchedRodLength = 1000.0;

// Fits the arrangement of `current` (its layout, multiple and count are ignored) to `required` ohms.
TFit FitEarthing(const TEarthingInput& current, double required, char16_t userSeparator,
                 char16_t systemSeparator);

// The shortest rod length, `from` itself or a whole number of tenths of a metre above it up to
// MaxSearchedRodLength, at which the arrangement of `input` (its layout, multiple and count) reaches
// `required` ohms; empty when none does.
std::optional<double> ShortestReachingLength(const TEarthingInput& input, double from, double required,
                                             char16_t userSeparator, char16_t systemSeparator);

// The total of every rod count 1..20 with the current inputs at the given layout and multiple; an
// empty value where the total is no meaningful number. The chart of the fit draws these.
using TTotalsByCount = std::array<std::optional<double>, 20>;
TTotalsByCount TotalsByCount(const TEarthingInput& current, int32_t mutualDisposition,
                             int32_t intervalMultiplicity, char16_t userSeparator, char16_t systemSeparator);

// The norm the user fits to and judges the calculation against: 4, 10 or 30 Ом or a typed value,
// optionally raised for soil above 100 Ом∙м. The result commands keep it for the session.
struct TNormChoice {
    double Norm = 10;
    bool Raised = false;

    bool operator==(const TNormChoice&) const = default;
};

// The data of the chart of the fit: the total resistance against the rod count 1..20 for one layout,
// a line for each spacing multiple 1..4, and the requirement as a horizontal line.
struct TFitChartData {
    int32_t MutualDisposition = 1;
    std::array<TTotalsByCount, 4> Totals{}; // by spacing multiple 1..4
    int32_t CurrentMultiple = 1;            // drawn thicker
    double Required = 0;                    // Ω; no line when not positive
    std::optional<int32_t> MarkedCount;     // a point marked on the current multiple's line
};

// The chart of the inputs' layout and multiple against `required` ohms, no point marked.
TFitChartData MakeFitChartData(const TEarthingInput& input, double required, char16_t userSeparator,
                               char16_t systemSeparator);
