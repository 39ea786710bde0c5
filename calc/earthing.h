#pragma once

#include "number_format.h"

#include <cstdint>
#include <optional>
#include <string>

// The earthing calculation: from the inputs of the calculation tab to every value and label text it
// shows. Sixteen stages run in order; a stage that finds its input invalid stops the run.

struct TEarthingInput {
    int32_t ClimaticRegion;       // 1..4 = regions I..IV, anything else = climate not considered
    std::u16string TopLayer;      // text of the upper soil box
    std::u16string BottomLayer;   // text of the lower soil box
    double Thickness;             // h, m
    double Depth;                 // t, m
    int32_t Form;                 // 1 angle, anything else round
    int64_t Width;                // mm
    double Length;                // l, m
    int32_t MutualDisposition;    // 1 in a row, anything else closed contour
    int32_t Number;               // n
    int32_t IntervalMultiplicity; // a
    int32_t FormHor;              // 1 strip, 3 round, anything else angle
    int64_t WidthHor;             // mm

    bool operator==(const TEarthingInput&) const = default;
};

// Every computed value. A field is meaningful only when its stage (in the comment) was reached,
// that is when StopStage is 0 or greater than that stage; the others keep their initial 0.
struct TEarthingResult {
    int32_t StopStage = 0;                     // 0 = all sixteen stages ran, else the failing stage
    double RodClimateFactor = 0;               // 1: Kв
    double ConnectorClimateFactor = 0;         // 1: Kг
    double UpperResistivity = 0;               // 2: ρ1, Ω·m
    double LowerResistivity = 0;               // 3: ρ2, Ω·m
    double EquivalentResistivity = 0;          // 6: ρэ
    double ClimaticResistivity = 0;            // 7: ρк = Kв·ρэ
    double RodDiameter = 0;                    // 8: d, m
    double RodMidDepth = 0;                    // 9: T, m
    double RodResistance = 0;                  // 9: Rв, Ω
    double ConnectorResistivity = 0;           // 10: ρг, Ω·m
    double Interval = 0;                       // 11: a·l, m
    bool ConnectorEnabled = false;             // 12: false for a single rod
    int32_t IntervalCount = 0;                 // 13: m, connector spans
    double RodUtilization = 0;                 // 13: ηв
    double ConnectorUtilization = 0;           // 13: ηг
    double ConnectorLength = 0;                // 14: L, m
    std::optional<double> ConnectorResistance; // 15: Rг, Ω; no value when L = 0
    double TotalResistance = 0;                // 16: R, Ω

    // True when the run got past the given stage's computation (stage 1..16).
    bool Reached(int32_t stage) const { return StopStage == 0 || stage < StopStage; }
};

TEarthingResult ComputeEarthing(const TEarthingInput& input, char16_t userSeparator,
                                char16_t systemSeparator);

// True when the run went through all sixteen stages and the rod, the connector (if any) and the total
// came out as finite positive resistances: the total the window shows as a number, not "-".
bool HasMeaningfulTotal(const TEarthingResult& result);

// What a run writes into the result labels; an empty optional = that label is not touched.
struct TEarthingLabels {
    std::optional<std::u16string> sLabel31, sLabel21, sLabel25, sLabel18, sLabel33, sLabel35, sLabel38,
        sLabel30, sLabel28, sLabel39;
    std::optional<bool> ConnectorEnabled; // set when stage 12 was reached
};

TEarthingLabels EarthingLabels(const TEarthingInput& input, const TEarthingResult& result,
                               char16_t userSeparator);

// A count read from a 64-bit field as the 32-bit count of the calculation: out-of-range values
// saturate, so that they fail the count's range check instead of wrapping round into it.
int32_t SaturateToInt32(int64_t value);
