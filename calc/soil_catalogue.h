#pragma once

#include <array>
#include <string_view>

// The soil descriptions offered by both soil boxes, ascending by resistivity. Each ends with the
// soil's approximate resistivity in ohm-metres in parentheses.
constexpr int SoilCatalogueSize = 43;
extern const std::array<std::u16string_view, SoilCatalogueSize> SoilCatalogue;

// Items the upper and the lower soil box start with.
constexpr int DefaultTopLayerIndex = 19; // "Суглинок полутвёрдый лёссовидный (100)"
constexpr int DefaultBottomLayerIndex = 18; // "Суглинок, сильно увлажнённый грунтовыми водами (60)"
