#include "fit.h"

#include <algorithm>
#include <cmath>
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

bool Reaches(const std::optional<double>& total, double required) {
    return total && *total <= required;
}

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

// The shortest rod, in tenths of a metre, at which the arrangement reaches the requirement, starting
// above a length that does not. Doubling finds a length that reaches it, halving then narrows the step
// down to one tenth, so the answer reaches it and one tenth less does not.
std::optional<double> ReachingLength(TRunner& runner, const TArrangement& a, double from, double required) {
    const auto total = [&](int64_t tenths) { return runner.Total(a, static_cast<double>(tenths) / 10); };
    const int64_t maxTenths = static_cast<int64_t>(MaxSearchedRodLength * 10);
    int64_t fails = std::max<int64_t>(static_cast<int64_t>(std::floor(from * 10)), 1);
    if (Reaches(total(fails), required))
        return std::nullopt; // the caller asks only when the current length does not reach it
    int64_t reaches = fails;
    for (;;) {
        if (reaches >= maxTenths)
            return std::nullopt;
        fails = reaches;
        reaches = std::min(reaches * 2, maxTenths);
        if (Reaches(total(reaches), required))
            break;
    }
    while (reaches - fails > 1) {
        const int64_t middle = fails + (reaches - fails) / 2;
        (Reaches(total(middle), required) ? reaches : fails) = middle;
    }
    return static_cast<double>(reaches) / 10;
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
        if (const std::optional<double> length = ReachingLength(runner, best->first, l, required))
            fit.Reaching = RowOf(best->first, runner.Run(best->first, *length), *length);
    }
    return fit;
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
