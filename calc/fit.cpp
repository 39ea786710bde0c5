#include "fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

namespace {

constexpr int32_t Layouts[] = {1, 2};
constexpr int32_t MaxMultiple = 4;
constexpr int32_t MaxCount = 20;

struct TArrangement {
    int32_t layout, multiple, count;
};

class TRunner {
  public:
    TRunner(const TEarthingInput& current, char16_t userSeparator, char16_t systemSeparator)
        : input_(current), user_(userSeparator), system_(systemSeparator) {}

    TEarthingResult Run(const TArrangement& a, double rodLength) {
        input_.MutualDisposition = a.layout;
        input_.IntervalMultiplicity = a.multiple;
        input_.Number = a.count;
        input_.Length = rodLength;
        return ComputeEarthing(input_, user_, system_);
    }

    // The total, or empty when it is no meaningful number.
    std::optional<double> Total(const TArrangement& a, double rodLength) {
        const TEarthingResult r = Run(a, rodLength);
        return HasMeaningfulTotal(r) ? std::optional<double>(r.TotalResistance) : std::nullopt;
    }

  private:
    TEarthingInput input_;
    char16_t user_, system_;
};

TFitRow RowOf(const TArrangement& a, const TEarthingResult& r, double rodLength) {
    return {.MutualDisposition = a.layout,
            .IntervalMultiplicity = a.multiple,
            .Number = a.count,
            .Length = rodLength,
            .TotalResistance = r.TotalResistance,
            .RodLength = a.count * rodLength,
            .ConnectorLength = r.ConnectorLength};
}

bool SameArrangement(const TFitRow& x, const TFitRow& y) {
    return x.Number == y.Number && x.TotalResistance == y.TotalResistance &&
           x.ConnectorLength == y.ConnectorLength && x.RodLength == y.RodLength;
}

// True when a lower bound of the total over the lengths lo..hi (lo < hi, in tenths of a metre), taken
// from the runs at both ends, stays above the requirement, so that none of them reaches it. Along the
// rod length, with everything else fixed, the rod's resistance is a logarithmic factor that never
// falls (the depth of the rod tops not negative) times 0,366·ρк/l, and ρэ/l never grows: it is ρ1/l
// or ρ2/l while the rods stand in one layer, and the two-layer mean divided by l has a denominator
// that grows with l. The connector's resistance is likewise a logarithm that grows with L times a
// factor in 1/L. So over lo..hi the rod's resistance is at least Rв(lo)·(ρэ(hi)/hi)/(ρэ(lo)/lo), the
// connector's at least Rг(lo)·lo/hi, and the total at least R(lo) times the smaller ratio.
bool StaysAbove(const TEarthingResult& lo, int64_t loTenths, const TEarthingResult& hi, int64_t hiTenths,
                double required) {
    if (!HasMeaningfulTotal(lo) ||
        !(std::isfinite(hi.EquivalentResistivity) && hi.EquivalentResistivity > 0) ||
        !(std::isfinite(lo.EquivalentResistivity) && lo.EquivalentResistivity > 0))
        return false;
    const double lengths = static_cast<double>(loTenths) / static_cast<double>(hiTenths);
    double ratio = hi.EquivalentResistivity / lo.EquivalentResistivity * lengths;
    if (lo.ConnectorResistance)
        ratio = std::min(ratio, lengths);
    // The margin covers the rounding of the runs, far below the step of any length.
    return lo.TotalResistance * ratio * (1 - 1e-9) > required;
}

// The shortest rod on the grid of tenths of a metre, from MinSearchedRodLength up to
// MaxSearchedRodLength, at which the arrangement reaches the requirement, whatever the shape of the
// total against the length (where longer rods grow from a good layer into rock, the total falls,
// rises and falls again). A scan of every tenth would take ten thousand runs; this one skips a
// stretch ahead wherever the bound above shows that nothing in it reaches the requirement, and halves
// a stretch the bound does not clear down to a single step. Where the arrangement gives no total at
// the shortest rods (a connector so wide that its resistance is not positive), lengthening the rods
// only raises the logarithms, so the first length with a total is found by halving.
std::optional<double> ReachingLength(TRunner& runner, const TArrangement& a, double required, bool boundHolds,
                                     int64_t firstTenths) {
    const auto run = [&](int64_t tenths) { return runner.Run(a, static_cast<double>(tenths) / 10); };
    const int64_t last = static_cast<int64_t>(MaxSearchedRodLength * 10);
    int64_t lo = firstTenths;
    TEarthingResult at = run(lo);
    if (boundHolds && !HasMeaningfulTotal(at)) {
        int64_t none = lo, some = last;
        if (!HasMeaningfulTotal(run(some)))
            return std::nullopt;
        while (some - none > 1) {
            const int64_t middle = none + (some - none) / 2;
            (HasMeaningfulTotal(run(middle)) ? some : none) = middle;
        }
        lo = some;
        at = run(lo);
    }
    for (;;) {
        if (MeetsNorm(at, required))
            return static_cast<double>(lo) / 10;
        if (lo >= last)
            return std::nullopt;
        // A first guess: where the total would meet the requirement if it fell as 1/l.
        int64_t step = 1;
        if (boundHolds && HasMeaningfulTotal(at)) {
            const double reach = static_cast<double>(lo) * (at.TotalResistance / required) * (1 - 1e-9);
            if (reach >= static_cast<double>(last))
                step = last - lo;
            else if (reach > static_cast<double>(lo + 1))
                step = static_cast<int64_t>(reach) - lo;
        }
        step = std::min(step, last - lo);
        for (;;) {
            TEarthingResult next = run(lo + step);
            if (step == 1 || StaysAbove(at, lo, next, lo + step, required)) {
                lo += step;
                at = std::move(next);
                break;
            }
            step /= 2;
        }
    }
}

} // namespace

double RaisedNorm(double norm, double resistivity) {
    if (!std::isfinite(resistivity) || !(resistivity > 100))
        return norm;
    // Down to whole tenths of an ohm, so that the norm shown is the norm judged against, on the safe
    // side; the small margin keeps an exact product such as 12 from falling to 11,9.
    return std::floor(norm * std::min(0.01 * resistivity, 10.0) * 10 + 1e-9) / 10;
}

std::u16string StopStageReason(int32_t stopStage) {
    switch (stopStage) {
    case 2:
        return u"в поле верхнего пласта нет удельного сопротивления больше нуля.";
    case 3:
        return u"в поле нижнего пласта нет удельного сопротивления больше нуля.";
    case 5:
        return u"длина электродов должна быть больше нуля.";
    case 8:
        return u"ширина стороны или диаметр электродов должны быть от 8 до 1000 мм.";
    case 11:
        return u"кратность расстояния между электродами должна быть от 1 до 4.";
    case 12:
        return u"количество электродов должно быть от 1 до 20.";
    case 15:
        return u"ширина соединителя должна быть больше нуля.";
    default:
        return u"при этих исходных данных сопротивление не вычисляется.";
    }
}

std::u16string NoTotalReason(const TEarthingResult& result) {
    if (HasMeaningfulTotal(result))
        return {};
    std::u16string reason = StopStageReason(result.StopStage);
    // Every reason begins with a small Cyrillic letter.
    if (!reason.empty() && reason.front() >= u'а' && reason.front() <= u'я')
        reason.front() = static_cast<char16_t>(reason.front() - (u'а' - u'А'));
    return reason;
}

bool MeetsNorm(const TEarthingResult& result, double norm) {
    return HasMeaningfulTotal(result) && result.TotalResistance <= norm;
}

std::optional<double> NormResistivity(const TEarthingResult& result) {
    if (!result.Reached(6) || !std::isfinite(result.EquivalentResistivity))
        return std::nullopt;
    return result.EquivalentResistivity;
}

TFit FitEarthing(const TEarthingInput& current, double required, char16_t userSeparator,
                 char16_t systemSeparator) {
    TFit fit;
    TRunner runner(current, userSeparator, systemSeparator);
    const double l = current.Length;
    std::optional<std::pair<TArrangement, TFitRow>> best;

    for (int32_t layout : Layouts) {
        for (int32_t multiple = 1; multiple <= MaxMultiple; ++multiple) {
            for (int32_t count = 1; count <= MaxCount; ++count) {
                const TArrangement a{layout, multiple, count};
                const TEarthingResult r = runner.Run(a, l);
                if (count == 1 && !fit.Computable)
                    fit.StopStage = r.StopStage;
                if (!HasMeaningfulTotal(r))
                    continue;
                fit.Computable = true;
                const TFitRow row = RowOf(a, r, l);
                if (!best || row.TotalResistance < best->second.TotalResistance)
                    best = {a, row};
                if (row.TotalResistance <= required) {
                    const bool listed = std::any_of(fit.Rows.begin(), fit.Rows.end(), [&](const TFitRow& x) {
                        return SameArrangement(x, row);
                    });
                    if (!listed)
                        fit.Rows.push_back(row);
                    break;
                }
            }
        }
    }
    std::stable_sort(fit.Rows.begin(), fit.Rows.end(), [](const TFitRow& x, const TFitRow& y) {
        return std::make_tuple(x.Material(), x.TotalResistance, x.Number) <
               std::make_tuple(y.Material(), y.TotalResistance, y.Number);
    });

    if (fit.Rows.empty() && best) {
        fit.Best = best->second;
        // The bound of the length search needs rod tops at or below the ground.
        const bool boundHolds = current.Depth >= 0;
        if (const std::optional<double> length = ReachingLength(
                runner, best->first, required, boundHolds, static_cast<int64_t>(MinSearchedRodLength * 10)))
            fit.Reaching = RowOf(best->first, runner.Run(best->first, *length), *length);
    }
    return fit;
}

std::optional<double> ShortestReachingLength(const TEarthingInput& input, double from, double required,
                                             char16_t userSeparator, char16_t systemSeparator) {
    if (!(from <= MaxSearchedRodLength))
        return std::nullopt;
    TRunner runner(input, userSeparator, systemSeparator);
    const TArrangement a{input.MutualDisposition, input.IntervalMultiplicity, input.Number};
    // The start itself, as it stands, before the grid.
    if (MeetsNorm(runner.Run(a, from), required))
        return from;
    const int64_t first = std::max(static_cast<int64_t>(std::ceil(from * 10 - 1e-9)),
                                   static_cast<int64_t>(MinSearchedRodLength * 10));
    if (first > static_cast<int64_t>(MaxSearchedRodLength * 10))
        return std::nullopt;
    return ReachingLength(runner, a, required, input.Depth >= 0, first);
}

TTotalsByCount TotalsByCount(const TEarthingInput& current, int32_t mutualDisposition,
                             int32_t intervalMultiplicity, char16_t userSeparator, char16_t systemSeparator) {
    TRunner runner(current, userSeparator, systemSeparator);
    TTotalsByCount totals;
    for (int32_t count = 1; count <= MaxCount; ++count)
        totals[count - 1] = runner.Total({mutualDisposition, intervalMultiplicity, count}, current.Length);
    return totals;
}

TFitChartData MakeFitChartData(const TEarthingInput& input, double required, char16_t userSeparator,
                               char16_t systemSeparator) {
    TFitChartData data;
    data.MutualDisposition = input.MutualDisposition == 1 ? 1 : 2;
    data.CurrentMultiple = std::clamp(input.IntervalMultiplicity, 1, 4);
    data.Required = required;
    for (int32_t multiple = 1; multiple <= 4; ++multiple)
        data.Totals[multiple - 1] =
            TotalsByCount(input, data.MutualDisposition, multiple, userSeparator, systemSeparator);
    return data;
}

namespace {

// Cross-sections, m², of a profile of the given width or diameter in metres.
double AngleSection(double width) {
    const double flange = width / 10;
    return flange * (2 * width - flange);
}

double RoundSection(double diameter) {
    return std::numbers::pi * diameter * diameter / 4;
}

} // namespace

double RodsMass(const TEarthingInput& input) {
    const double width = static_cast<double>(input.Width) / 1000;
    const double section = input.Form == 1 ? AngleSection(width) : RoundSection(width);
    return input.Number * input.Length * section * SteelDensity;
}

double ConnectorMass(const TEarthingInput& input, double connectorLength) {
    const double width = static_cast<double>(input.WidthHor) / 1000;
    const double section = input.FormHor == 1   ? width * StripThickness
                           : input.FormHor == 3 ? RoundSection(width)
                                                : AngleSection(width);
    return connectorLength * section * SteelDensity;
}
