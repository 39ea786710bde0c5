#include "measurement.h"

#include "number_format.h"
#include "resistivity_text.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

bool IsPositiveFinite(double x) {
    return std::isfinite(x) && x > 0;
}

std::optional<double> ReadBack(const std::u16string& text, char16_t userSeparator, char16_t systemSeparator) {
    return ParseResistivity(ExtractResistivityText(text, systemSeparator), userSeparator);
}

// Three significant digits, whole numbers from 100 up.
double RoundForText(double x) {
    const int decimals = std::max(0, 2 - static_cast<int>(std::floor(std::log10(x))));
    const double scale = std::pow(10.0, decimals);
    return std::round(x * scale) / scale;
}

constexpr const char16_t* OutOfRange =
    u"Исправленное по замеру удельное сопротивление грунта не записать в поле грунта обычным числом: "
    u"замер или расчёт выходят за разумные пределы.";

} // namespace

TMeasuredTotal ReadMeasuredTotal(std::u16string_view text, char16_t userSeparator) {
    std::u16string cleaned(text);
    for (char16_t& c : cleaned)
        if (c == u',' || c == u'.')
            c = userSeparator;
    const std::optional<double> value = ParseResistivity(cleaned, userSeparator);
    if (!value || !std::isfinite(*value))
        return {std::nullopt, u"Введите измеренное сопротивление числом в омах, например 18,5."};
    if (!(*value > 0))
        return {std::nullopt, u"Измеренное сопротивление должно быть больше нуля."};
    return {value, {}};
}

std::optional<std::u16string> CorrectedSoilText(double resistivity, char16_t userSeparator,
                                                char16_t systemSeparator) {
    if (!IsPositiveFinite(resistivity))
        return std::nullopt;
    const auto text = [&](double value) -> std::optional<std::u16string> {
        std::u16string t = u"По замеру (" + FormatPlain(value, userSeparator) + u")";
        if (ReadBack(t, userSeparator, systemSeparator) != value)
            return std::nullopt;
        return t;
    };
    if (std::optional<std::u16string> t = text(RoundForText(resistivity)))
        return t;
    // Whole ohm-metres, where they stay within 5 % of the value.
    const double whole = std::round(resistivity);
    if (std::abs(whole - resistivity) > 0.05 * resistivity)
        return std::nullopt;
    return text(whole);
}

std::u16string FormatFactor(double k, char16_t separator) {
    return FormatPlain(IsPositiveFinite(k) ? RoundForText(k) : k, separator);
}

TSoilCorrection CorrectSoil(const TEarthingInput& built, double measured, TSoilState state,
                            char16_t userSeparator, char16_t systemSeparator) {
    TSoilCorrection c;
    c.Measured = measured;
    if (!IsPositiveFinite(measured)) {
        c.Error = u"Измеренное сопротивление должно быть числом больше нуля.";
        return c;
    }
    TEarthingInput compared = built;
    if (state == TSoilState::Ordinary)
        compared.ClimaticRegion = NoClimaticRegion;
    const TEarthingResult reference = ComputeEarthing(compared, userSeparator, systemSeparator);
    if (!HasMeaningfulTotal(reference)) {
        c.Error = u"Нет расчётного сопротивления, с которым сравнить замер: " +
                  StopStageReason(reference.StopStage);
        return c;
    }
    c.Calculated = reference.TotalResistance;
    c.Factor = measured / reference.TotalResistance;

    const double upper = reference.UpperResistivity * c.Factor;
    const double lower = reference.LowerResistivity * c.Factor;
    if (!IsPositiveFinite(c.Factor) || !IsPositiveFinite(upper) || !IsPositiveFinite(lower)) {
        c.Error = OutOfRange;
        return c;
    }
    const std::optional<std::u16string> top = CorrectedSoilText(upper, userSeparator, systemSeparator);
    const std::optional<std::u16string> bottom = CorrectedSoilText(lower, userSeparator, systemSeparator);
    if (!top || !bottom) {
        c.Error = OutOfRange;
        return c;
    }
    c.TopLayer = *top;
    c.BottomLayer = *bottom;
    c.Corrected = built;
    c.Corrected.TopLayer = c.TopLayer;
    c.Corrected.BottomLayer = c.BottomLayer;
    const TEarthingResult corrected = ComputeEarthing(c.Corrected, userSeparator, systemSeparator);
    if (!HasMeaningfulTotal(corrected)) {
        c.Error = OutOfRange;
        return c;
    }
    c.UpperResistivity = corrected.UpperResistivity;
    c.LowerResistivity = corrected.LowerResistivity;
    c.CorrectedTotal = corrected.TotalResistance;
    return c;
}

TKeptRodsFit FitKeepingRods(const TEarthingInput& built, double required, char16_t userSeparator,
                            char16_t systemSeparator) {
    TKeptRodsFit fit;
    const TEarthingResult builtRun = ComputeEarthing(built, userSeparator, systemSeparator);
    fit.StopStage = builtRun.StopStage;
    if (!HasMeaningfulTotal(builtRun))
        return fit;
    fit.Computable = true;
    const auto rowOf = [](const TEarthingInput& in, const TEarthingResult& r) {
        return TFitRow{.MutualDisposition = in.MutualDisposition,
                       .IntervalMultiplicity = in.IntervalMultiplicity,
                       .Number = in.Number,
                       .Length = in.Length,
                       .TotalResistance = r.TotalResistance,
                       .RodLength = in.Number * in.Length,
                       .ConnectorLength = r.ConnectorLength};
    };
    fit.Built = rowOf(built, builtRun);

    TEarthingInput tried = built;
    for (int32_t count = built.Number; count <= 20; ++count) {
        tried.Number = count;
        tried.Length = built.Length;
        const std::optional<double> length =
            ShortestReachingLength(tried, built.Length, required, userSeparator, systemSeparator);
        if (!length)
            continue;
        tried.Length = *length;
        fit.Rows.push_back(rowOf(tried, ComputeEarthing(tried, userSeparator, systemSeparator)));
        if (*length == built.Length)
            break;
    }
    std::stable_sort(fit.Rows.begin(), fit.Rows.end(), [](const TFitRow& x, const TFitRow& y) {
        return std::make_tuple(x.Material(), x.TotalResistance) <
               std::make_tuple(y.Material(), y.TotalResistance);
    });
    return fit;
}
