#pragma once

#include <cstdint>

// Climate factors of the climatic regions I..IV and the utilization coefficients of the rods and
// of the connector. Fixed data; nothing changes them at run time.

struct TClimateFactors {
    double RodClimateFactor;       // Kв, multiplies the equivalent resistivity for the rods
    double ConnectorClimateFactor; // Kг, multiplies the connector's resistivity
};

// Row r-1 belongs to the climatic region r (1..4).
extern const TClimateFactors ClimateFactors[4];

// (Kв, Kг) of a region; any code outside 1..4 means the climate is not considered: (1.0, 1.0).
TClimateFactors ClimateFactorsOf(int32_t climaticRegion);

// Utilization tables: row i belongs to the rod count n = i + 1, column j to the spacing
// multiple a = j + 1.
constexpr int UtilizationRows = 20;
constexpr int UtilizationColumns = 4;
using TUtilizationTable = double[UtilizationRows][UtilizationColumns];

extern const TUtilizationTable RowRodUtilization;
extern const TUtilizationTable ContourRodUtilization;
extern const TUtilizationTable RowConnectorUtilization;
extern const TUtilizationTable ContourConnectorUtilization;

struct TUtilization {
    double RodUtilization;       // ηв
    double ConnectorUtilization; // ηг
};

// (ηв, ηг) for a layout (1 = in a row, anything else = closed contour), 1 <= n <= 20, 1 <= a <= 4.
// The caller checks the ranges.
TUtilization UtilizationOf(int32_t mutualDisposition, int32_t n, int32_t a);
