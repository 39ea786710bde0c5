#pragma once

#include <QString>

class QWidget;
class TsSpinEdit;
class TsDecimalSpinEdit;

// The seven numeric fields of the calculation page, configured as the program uses them: object
// name, bounds, step, format and design value. The fields are still being created (the window calls
// Loaded() once it has built everything), and their hints are the window's.
//
// Their bounds are InputBounds (input_bounds.h):
// "sSpinEdit1" rods 1..20, "sSpinEdit2" spacing multiple 1..4, "sSpinEdit3" rod width 8..1000 mm,
// "sSpinEdit4" connector width from 1 mm; all step 1, digits only.
// "sDecimalSpinEdit1" upper-layer thickness 0.1..3.0 m, "sDecimalSpinEdit2" depth 0.1..1.0 m,
// "sDecimalSpinEdit6" rod length from 1.0 m with excess zeros hidden; all step 0.1, one decimal place.
//
// Both throw std::invalid_argument for any other name.
TsSpinEdit* CreateProgramSpinEdit(const QString& name, QWidget* parent);
TsDecimalSpinEdit* CreateProgramDecimalSpinEdit(const QString& name, QWidget* parent);
