#pragma once

#include "earthing.h"
#include "fit.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The soil corrected by a measured resistance of the arrangement as built, and what reaches a norm
// from there while keeping the rods already driven. Every resistance of the calculation is
// proportional to the soil resistivity when both layers are scaled together, so the measured total
// gives one factor k = R measured / R calculated for both layers. Every total comes from
// ComputeEarthing.

// The climatic region that leaves the climate out (the window's "Не учитывать").
constexpr int32_t NoClimaticRegion = 0;

// The state of the soil when the resistance was measured.
enum class TSoilState {
    Worst,   // frozen or in the driest season: compared with the total with the climate factors
    Ordinary // compared with the total without them; the corrected soil then gets the region's factors
};

// A measured total as typed: a decimal number with a comma or a full stop, optionally with an
// exponent. Error is a sentence for the user when it is no finite number above zero.
struct TMeasuredTotal {
    std::optional<double> Value;
    std::u16string Error;
};
TMeasuredTotal ReadMeasuredTotal(std::u16string_view text, char16_t userSeparator);

// The text a soil box gets for a corrected resistivity: "По замеру (418)", short enough for the
// number to show in the upper box, the
// resistivity to three significant digits (whole ohm-metres from 100 up) with the user's separator;
// where the two separators differ, so that a fraction would not read back, in whole ohm-metres if
// they stay within 5 % of it. Empty when no such text reads back as that number: below 0,0001 or from
// 10^15 up the number would need an exponent, whose letter the soil text rules drop.
std::optional<std::u16string> CorrectedSoilText(double resistivity, char16_t userSeparator,
                                                char16_t systemSeparator);

// The factor k as the program shows it: three significant digits.
std::u16string FormatFactor(double k, char16_t separator);

struct TSoilCorrection {
    std::u16string Error;    // empty when the soil was corrected, else why not, a sentence
    double Measured = 0;     // Ω
    double Calculated = 0;   // Ω: the total the measurement is compared with
    double Factor = 0;       // k
    std::u16string TopLayer; // the texts for the two soil boxes
    std::u16string BottomLayer;
    double UpperResistivity = 0; // ρ1 and ρ2 as those texts read, Ω·m
    double LowerResistivity = 0;
    TEarthingInput Corrected{}; // the built arrangement with the corrected soil
    double CorrectedTotal = 0;  // its total, the region's factors included, Ω
};

// Corrects the soil of `built` (the window's inputs) by the measured total.
TSoilCorrection CorrectSoil(const TEarthingInput& built, double measured, TSoilState state,
                            char16_t userSeparator, char16_t systemSeparator);

// The arrangements that reach `required` ohms from the built one and keep its rods: the same layout
// and spacing multiple, as many rods or more, rods as long or longer (the driven ones lengthened).
struct TKeptRodsFit {
    // False when the built arrangement gives no total; StopStage then tells where its run stopped.
    bool Computable = false;
    int32_t StopStage = 0;
    TFitRow Built;
    // For each rod count from the built one up to 20, the shortest rods (the built length or whole
    // tenths of a metre above it, up to MaxSearchedRodLength) that reach the requirement, up to the
    // first count that reaches it with the built length; sorted by the metal added, least first.
    // The built arrangement alone when it reaches it already; empty when nothing does.
    std::vector<TFitRow> Rows;
    double AddedMetal(const TFitRow& row) const { return row.Material() - Built.Material(); }
};
TKeptRodsFit FitKeepingRods(const TEarthingInput& built, double required, char16_t userSeparator,
                            char16_t systemSeparator);
