#include "numeric_fields.h"

#include "TsDecimalSpinEdit.h"
#include "TsSpinEdit.h"

#include <stdexcept>

namespace {

struct IntegerFieldSetup {
    const char16_t* name;
    int64_t minValue, maxValue, increment, designValue;
};

struct DecimalFieldSetup {
    const char16_t* name;
    long double minValue, maxValue, increment;
    int decimalPlaces;
    bool hideExcessZeros;
    long double designValue;
};

constexpr IntegerFieldSetup kIntegerFields[] = {
    {u"sSpinEdit1", 1, 20, 1, 3},    // Number
    {u"sSpinEdit2", 1, 4, 1, 1},     // IntervalMultiplicity
    {u"sSpinEdit3", 8, 1000, 1, 50}, // Width, mm
    {u"sSpinEdit4", 1, 0, 1, 40},    // WidthHor, mm; no upper bound
};

constexpr DecimalFieldSetup kDecimalFields[] = {
    {u"sDecimalSpinEdit1", 0.1L, 3.0L, 0.1L, 1, false, 1.5L}, // Thickness, m
    {u"sDecimalSpinEdit2", 0.1L, 1.0L, 0.1L, 1, false, 0.5L}, // Depth, m
    {u"sDecimalSpinEdit6", 1.0L, 0, 0.1L, 1, true, 2.5L},     // Length, m; no upper bound
};

std::invalid_argument UnknownField(const QString& name) {
    return std::invalid_argument("not a numeric field of the program: " + name.toStdString());
}

} // namespace

TsSpinEdit* CreateProgramSpinEdit(const QString& name, QWidget* parent) {
    for (const IntegerFieldSetup& setup : kIntegerFields) {
        if (name != QStringView(setup.name))
            continue;
        auto* field = new TsSpinEdit(parent);
        field->setObjectName(name);
        field->SetMinValue(setup.minValue);
        field->SetMaxValue(setup.maxValue);
        field->SetIncrement(setup.increment);
        field->SetNumbersOnly(true);
        field->SetAllowNegative(true);
        field->SetValue(setup.designValue);
        return field;
    }
    throw UnknownField(name);
}

TsDecimalSpinEdit* CreateProgramDecimalSpinEdit(const QString& name, QWidget* parent) {
    for (const DecimalFieldSetup& setup : kDecimalFields) {
        if (name != QStringView(setup.name))
            continue;
        auto* field = new TsDecimalSpinEdit(parent);
        field->setObjectName(name);
        field->SetMinValue(setup.minValue);
        field->SetMaxValue(setup.maxValue);
        field->SetIncrement(setup.increment);
        field->SetDecimalPlaces(setup.decimalPlaces);
        field->SetHideExcessZeros(setup.hideExcessZeros);
        field->SetAllowNegative(true);
        field->SetValue(setup.designValue);
        return field;
    }
    throw UnknownField(name);
}
