#include "earthing.h"

#include "coefficient_tables.h"
#include "resistivity_text.h"
#include "resource_strings.h"

#include <algorithm>
#include <cmath>

// Every formula is evaluated in extended precision (long double, 64-bit significand on x86-64) and
// stored to double at the end, as each named quantity is a double between stages.
using Ext = long double;

namespace {

std::optional<double> ReadResistivity(const std::u16string& soilText, char16_t userSeparator,
                                      char16_t systemSeparator) {
    return ParseResistivity(ExtractResistivityText(soilText, systemSeparator), userSeparator);
}

} // namespace

TEarthingResult ComputeEarthing(const TEarthingInput& in, char16_t userSeparator, char16_t systemSeparator) {
    TEarthingResult r;
    auto stop = [&r](int32_t stage) {
        r.StopStage = stage;
        return r;
    };

    // 1. Climate factors.
    const TClimateFactors climate = ClimateFactorsOf(in.ClimaticRegion);
    r.RodClimateFactor = climate.RodClimateFactor;
    r.ConnectorClimateFactor = climate.ConnectorClimateFactor;

    // 2, 3. Resistivities of the two layers. "!(x > 0)" also rejects a NaN.
    const std::optional<double> upper = ReadResistivity(in.TopLayer, userSeparator, systemSeparator);
    if (!upper || !(*upper > 0))
        return stop(2);
    r.UpperResistivity = *upper;
    const std::optional<double> lower = ReadResistivity(in.BottomLayer, userSeparator, systemSeparator);
    if (!lower || !(*lower > 0))
        return stop(3);
    r.LowerResistivity = *lower;

    const Ext rho1 = r.UpperResistivity;
    const Ext rho2 = r.LowerResistivity;
    const Ext h = in.Thickness;
    const Ext t = in.Depth;
    const Ext l = in.Length;

    // 4 writes the rod length label only; 5 checks it.
    if (!(in.Length > 0))
        return stop(5);

    // 6. Equivalent resistivity. Rods wholly in the lower layer (h < t) see ρ2; rods wholly in the
    // upper layer (h − t ≥ l) see ρ1, where the two-layer formula would break down; in between
    // the two layers are combined.
    const Ext upperPart = h - t;
    if (h < t)
        r.EquivalentResistivity = r.LowerResistivity;
    else if (upperPart >= l)
        r.EquivalentResistivity = r.UpperResistivity;
    else
        r.EquivalentResistivity =
            static_cast<double>(((rho1 * rho2) * l) / ((l - upperPart) * rho1 + upperPart * rho2));

    // 7. Climate.
    r.ClimaticResistivity = static_cast<double>(Ext(r.RodClimateFactor) * r.EquivalentResistivity);

    // 8. Rod width and diameter (an angle's equivalent diameter is 0.95 of its side).
    if (in.Width < 8 || in.Width > 1000)
        return stop(8);
    const Ext width = static_cast<Ext>(in.Width);
    r.RodDiameter = static_cast<double>(in.Form == 1 ? (width / 1000) * 0.95L : width / 1000);

    // 9. Resistance of one rod, at the depth T of its middle.
    r.RodMidDepth = static_cast<double>(l / 2 + t);
    {
        const Ext d = r.RodDiameter;
        const Ext T = r.RodMidDepth;
        const Ext A = log10l((2 * l) / d);
        const Ext B = log10l((4 * T + l) / (4 * T - l));
        r.RodResistance = static_cast<double>((B * 0.5L + A) * ((0.366L * Ext(r.ClimaticResistivity)) / l));
    }

    // 10. The connector lies at depth t, in the upper layer unless that is thinner than t.
    r.ConnectorResistivity = h < t ? r.LowerResistivity : r.UpperResistivity;

    // 11. Spacing multiple.
    if (in.IntervalMultiplicity < 1 || in.IntervalMultiplicity > 4)
        return stop(11);
    r.Interval = static_cast<double>(Ext(in.IntervalMultiplicity) * l);

    // 12. Rod count; a single rod has neither an interval nor a connector.
    if (in.Number < 1 || in.Number > 20)
        return stop(12);
    r.ConnectorEnabled = in.Number != 1;

    // 13. Spans and utilization.
    const int32_t n = in.Number;
    const int32_t a = in.IntervalMultiplicity;
    r.IntervalCount = (in.MutualDisposition == 1 || n <= 2) ? n - 1 : n;
    const TUtilization eta = UtilizationOf(in.MutualDisposition, n, a);
    r.RodUtilization = eta.RodUtilization;
    r.ConnectorUtilization = eta.ConnectorUtilization;

    // 14. Connector length.
    r.ConnectorLength = static_cast<double>(Ext(r.IntervalCount * a) * l);

    // 15. Connector resistance; none without a connector.
    const Ext L = r.ConnectorLength;
    if (r.ConnectorLength != 0) {
        const double b = static_cast<double>(in.WidthHor);
        if (!(b > 0))
            return stop(15);
        const Ext B = b;
        const Ext K = ((0.366L * Ext(r.ConnectorResistivity)) * Ext(r.ConnectorClimateFactor)) / L;
        Ext rg;
        if (in.FormHor == 1) // strip
            rg = log10l(((2 * L) * L) / ((B / 1000) * t)) * K;
        else if (in.FormHor == 3) // round
            rg = log10l((L * L) / ((B / 1000) * t)) * K;
        else // angle
            rg = log10l((L * L) / (((0.95L * B) / 1000) * t)) * K;
        r.ConnectorResistance = static_cast<double>(rg);
    }

    // 16. Total: the rods and the connector in parallel, each weighted by its utilization.
    const Ext rods = (Ext(n) * Ext(r.RodUtilization)) / Ext(r.RodResistance);
    if (r.ConnectorResistance)
        r.TotalResistance =
            static_cast<double>(1 / (rods + Ext(r.ConnectorUtilization) / Ext(*r.ConnectorResistance)));
    else
        r.TotalResistance = static_cast<double>(1 / rods);
    return r;
}

namespace {

bool IsPositiveFinite(double x) {
    return std::isfinite(x) && x > 0;
}

// A resistivity or resistance that is no finite positive number shows "-", never arithmetic garbage.
std::u16string ValueText(double x, std::u16string (*format)(double, char16_t), char16_t separator) {
    return IsPositiveFinite(x) ? format(x, separator) : std::u16string(u"-");
}

} // namespace

TEarthingLabels EarthingLabels(const TEarthingInput& input, const TEarthingResult& r, char16_t sep) {
    TEarthingLabels labels;
    const std::u16string metres = u" м.";
    // Stage 4 writes the rod length before stage 5 checks it.
    if (r.Reached(4))
        labels.sLabel31 = FormatPlain(input.Length, sep) + metres;
    if (r.Reached(6))
        labels.sLabel21 = ValueText(r.EquivalentResistivity, FormatWhole, sep);
    if (r.Reached(7))
        labels.sLabel25 = ValueText(r.ClimaticResistivity, FormatWhole, sep);
    if (r.Reached(9))
        labels.sLabel18 = ValueText(r.RodResistance, FormatTenths, sep);
    if (r.Reached(11))
        labels.sLabel33 = FormatPlain(r.Interval, sep) + metres;
    if (r.Reached(12))
        labels.ConnectorEnabled = r.ConnectorEnabled;
    if (r.Reached(13)) {
        labels.sLabel35 = FormatPlain(r.RodUtilization, sep);
        labels.sLabel38 = FormatPlain(r.ConnectorUtilization, sep);
    }
    if (r.Reached(14))
        labels.sLabel30 = FormatPlain(r.ConnectorLength, sep);
    if (r.Reached(15))
        labels.sLabel28 = r.ConnectorResistance ? ValueText(*r.ConnectorResistance, FormatWhole, sep)
                                                : std::u16string(u"∞");

    labels.sLabel39 = (HasMeaningfulTotal(r) ? FormatTenths(r.TotalResistance, sep) : std::u16string(u"-")) +
                      ResOhmSuffix();
    return labels;
}

bool HasMeaningfulTotal(const TEarthingResult& r) {
    return r.StopStage == 0 && IsPositiveFinite(r.RodResistance) &&
           (!r.ConnectorResistance || IsPositiveFinite(*r.ConnectorResistance)) &&
           IsPositiveFinite(r.TotalResistance);
}

int32_t SaturateToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}
