#pragma once

#include <cstdint>

// The ranges the calculation's input fields take, declared once: the window's fields are configured
// from them and a calculation file is checked against them, so the two can never differ. As in the
// fields, a bound of 0 is no bound on that side.

struct TWholeFieldBounds {
    int64_t Min, Max;
};

struct TDecimalFieldBounds {
    long double Min, Max;
    int DecimalPlaces; // digits the field writes; it keeps and computes with any value typed
};

namespace InputBounds {

inline constexpr TWholeFieldBounds Number{1, 20};              // rods
inline constexpr TWholeFieldBounds IntervalMultiplicity{1, 4}; // spacing multiple
inline constexpr TWholeFieldBounds Width{8, 1000};             // rod width, mm
inline constexpr TWholeFieldBounds WidthHor{1, 0};             // connector width, mm; no upper bound

inline constexpr TDecimalFieldBounds Thickness{0.1L, 3.0L, 1}; // upper layer, m
inline constexpr TDecimalFieldBounds Depth{0.1L, 1.0L, 1};     // top of the rods below ground, m
inline constexpr TDecimalFieldBounds Length{1.0L, 0, 1};       // rod, m; no upper bound

// The norm typed in the result dialogs, Ом.
inline constexpr TDecimalFieldBounds TypedNorm{0.1L, 10000.0L, 1};

// The characters a soil box holds, as many as the settings file gives back.
inline constexpr int MaxSoilTextLength = 2047;

} // namespace InputBounds
