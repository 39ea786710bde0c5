#include "numeric_fields.h"

#include "TsDecimalSpinEdit.h"
#include "TsSpinEdit.h"
#include "input_bounds.h"

#include <stdexcept>

namespace {

struct IntegerFieldSetup {
    const char16_t* name;
    TWholeFieldBounds bounds;
    int64_t increment, designValue;
};

struct DecimalFieldSetup {
    const char16_t* name;
    TDecimalFieldBounds bounds;
    long double increment;
    bool hideExcessZeros;
    long double designValue;
};

constexpr IntegerFieldSetup kIntegerFields[] = {
    {u"sSpinEdit1", InputBounds::Number, 1, 3},
    {u"sSpinEdit2", InputBounds::IntervalMultiplicity, 1, 1},
    {u"sSpinEdit3", InputBounds::Width, 1, 50},
    {u"sSpinEdit4", InputBounds::WidthHor, 1, 40},
};

constexpr DecimalFieldSetup kDecimalFields[] = {
    {u"sDecimalSpinEdit1", InputBounds::Thickness, 0.1L, false, 1.5L},
    {u"sDecimalSpinEdit2", InputBounds::Depth, 0.1L, false, 0.5L},
    {u"sDecimalSpinEdit6", InputBounds::Length, 0.1L, true, 2.5L},
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
        field->SetMinValue(setup.bounds.Min);
        field->SetMaxValue(setup.bounds.Max);
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
        field->SetMinValue(setup.bounds.Min);
        field->SetMaxValue(setup.bounds.Max);
        field->SetIncrement(setup.increment);
        field->SetDecimalPlaces(setup.bounds.DecimalPlaces);
        field->SetHideExcessZeros(setup.hideExcessZeros);
        field->SetAllowNegative(true);
        field->SetValue(setup.designValue);
        return field;
    }
    throw UnknownField(name);
}
