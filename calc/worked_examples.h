#pragma once

#include "earthing.h"
#include "soil_catalogue.h"

// The first worked example: region II, semi-hard loess loam (100) over loam soaked by ground water
// (60), an upper layer of 1.5 m, rod tops 0.5 m deep, three 50 mm angles of 2.5 m in a row at
// one rod length apart, joined by a 40 mm strip. Its total is 12,5 Ом.
inline TEarthingInput FirstExample() {
    return {.ClimaticRegion = 2,
            .TopLayer = std::u16string(SoilCatalogue[DefaultTopLayerIndex]),
            .BottomLayer = std::u16string(SoilCatalogue[DefaultBottomLayerIndex]),
            .Thickness = 1.5,
            .Depth = 0.5,
            .Form = 1,
            .Width = 50,
            .Length = 2.5,
            .MutualDisposition = 1,
            .Number = 3,
            .IntervalMultiplicity = 1,
            .FormHor = 1,
            .WidthHor = 40};
}
