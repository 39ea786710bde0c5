#include "variants.h"

#include "number_format.h"
#include "report.h"
#include "resource_strings.h"

#include <cmath>
#include <functional>
#include <optional>
#include <string>

namespace {

// One variant's run with the texts its columns need.
struct TRun {
    const TEarthingInput& In;
    TEarthingResult R;
    TEarthingLabels Labels;
    bool HasTotal;
};

// A number the run may not have reached: "-" then, as the window shows it.
std::u16string Shown(const std::optional<std::u16string>& text) {
    return text.value_or(u"-");
}

// A value judged in its row: the number compared and the text shown; no number when the value takes no
// part in the judging.
struct TJudged {
    std::optional<double> Value;
    std::u16string Text;
};

} // namespace

TVariantsTable BuildVariantsTable(const std::vector<TVariant>& variants, const TNormChoice& norm,
                                  char16_t sep, char16_t systemSeparator) {
    std::vector<TRun> runs;
    runs.reserve(variants.size());
    for (const TVariant& variant : variants) {
        TEarthingResult r = ComputeEarthing(variant.Input, sep, systemSeparator);
        TEarthingLabels labels = EarthingLabels(variant.Input, r, sep);
        const bool hasTotal = HasMeaningfulTotal(r);
        runs.push_back({variant.Input, r, std::move(labels), hasTotal});
    }

    TVariantsTable table;
    for (const TVariant& variant : variants)
        table.Columns.push_back(variant.Name);
    const size_t count = variants.size();

    const auto inputRow = [&](std::u16string name,
                              const std::function<std::u16string(const TEarthingInput&)>& text) {
        TVariantsRow row{std::move(name), {}, std::vector<bool>(count, false), false};
        for (const TRun& run : runs)
            row.Cells.push_back(text(run.In));
        table.Rows.push_back(std::move(row));
    };
    const auto plain = [sep](double x) { return FormatPlain(x, sep); };

    inputRow(u"Климатич. район",
             [](const TEarthingInput& in) { return ClimaticRegionText(in.ClimaticRegion); });
    inputRow(u"Верхний пласт", [](const TEarthingInput& in) { return in.TopLayer; });
    inputRow(u"Нижний пласт", [](const TEarthingInput& in) { return in.BottomLayer; });
    inputRow(u"Толщина верхнего пласта, м", [&](const TEarthingInput& in) { return plain(in.Thickness); });
    inputRow(u"Заглубление, м", [&](const TEarthingInput& in) { return plain(in.Depth); });
    inputRow(u"Вертикальные электроды",
             [](const TEarthingInput& in) { return std::u16string(in.Form == 1 ? u"уголок" : u"круг"); });
    inputRow(u"Ширина стороны или диаметр, мм",
             [](const TEarthingInput& in) { return FormatInteger(in.Width); });
    inputRow(u"Длина электрода, м", [&](const TEarthingInput& in) { return plain(in.Length); });
    inputRow(u"Расположение", [](const TEarthingInput& in) {
        return std::u16string(in.MutualDisposition == 1 ? u"в ряд" : u"замкнутым контуром");
    });
    inputRow(u"Количество, шт.", [](const TEarthingInput& in) { return FormatInteger(in.Number); });
    inputRow(u"Кратность расстояния",
             [](const TEarthingInput& in) { return FormatInteger(in.IntervalMultiplicity); });
    inputRow(u"Соединитель", [](const TEarthingInput& in) {
        return std::u16string(in.FormHor == 1 ? u"полоса" : in.FormHor == 3 ? u"круг" : u"уголок");
    });
    inputRow(u"Соединитель: ширина, ширина стороны или диаметр, мм",
             [](const TEarthingInput& in) { return FormatInteger(in.WidthHor); });

    // A row of results; `lowestBest` marks the lowest value, as shown, in every variant that has a total.
    const auto resultRow = [&](std::u16string name, bool lowestBest,
                               const std::function<TJudged(const TRun&)>& cell) {
        TVariantsRow row{std::move(name), {}, std::vector<bool>(count, false), true};
        std::vector<std::optional<double>> values;
        for (const TRun& run : runs) {
            TJudged judged = cell(run);
            row.Cells.push_back(std::move(judged.Text));
            values.push_back(run.HasTotal && judged.Value && std::isfinite(*judged.Value) ? judged.Value
                                                                                          : std::nullopt);
        }
        if (lowestBest) {
            std::optional<size_t> lowest;
            for (size_t i = 0; i < count; ++i)
                if (values[i] && (!lowest || *values[i] < *values[*lowest]))
                    lowest = i;
            for (size_t i = 0; lowest && i < count; ++i)
                row.Best[i] = values[i] && row.Cells[i] == row.Cells[*lowest];
        }
        table.Rows.push_back(std::move(row));
    };
    const auto reached = [](const TRun& run, int32_t stage, double value) {
        return run.R.Reached(stage) ? std::optional(value) : std::nullopt;
    };
    const auto tenths = [&](std::optional<double> x) {
        return TJudged{x, x && std::isfinite(*x) ? FormatTenths(*x, sep) : u"-"};
    };

    resultRow(u"Эквивалентное удельное сопротивление ρэ, Ом∙м", true, [&](const TRun& run) {
        return TJudged{reached(run, 6, run.R.EquivalentResistivity), Shown(run.Labels.sLabel21)};
    });
    resultRow(u"Сопротивление одного электрода Rв, Ом", true, [&](const TRun& run) {
        return TJudged{reached(run, 9, run.R.RodResistance), Shown(run.Labels.sLabel18)};
    });
    resultRow(u"Длина соединителя L, м", false, [&](const TRun& run) {
        return TJudged{std::nullopt, Shown(run.Labels.sLabel30)};
    });
    resultRow(u"Сопротивление соединителя Rг, Ом", true, [&](const TRun& run) {
        return TJudged{run.R.Reached(15) ? run.R.ConnectorResistance : std::nullopt,
                       Shown(run.Labels.sLabel28)};
    });
    resultRow(u"Общее сопротивление R, Ом", true, [&](const TRun& run) {
        return run.HasTotal ? tenths(run.R.TotalResistance) : TJudged{std::nullopt, u"-"};
    });
    // The masses: the rods from the inputs, the connector once its length is known.
    const auto connector = [&](const TRun& run) {
        return reached(run, 14, ConnectorMass(run.In, run.R.ConnectorLength));
    };
    resultRow(u"Масса электродов, кг", true, [&](const TRun& run) { return tenths(RodsMass(run.In)); });
    resultRow(u"Масса соединителя, кг", true, [&](const TRun& run) { return tenths(connector(run)); });
    resultRow(u"Масса металла всего, кг", true, [&](const TRun& run) {
        const std::optional<double> rods = RodsMass(run.In), wire = connector(run);
        return tenths(rods && wire ? std::optional(*rods + *wire) : std::nullopt);
    });

    // The verdict, each variant against the norm raised by its own soil where that is chosen.
    TVariantsRow verdict{u"Норма " + plain(norm.Norm) + ResOhmSuffix() +
                             (norm.Raised ? u", повышенная по ρэ" : u""),
                         {},
                         std::vector<bool>(count, false),
                         true};
    for (size_t i = 0; i < count; ++i) {
        const TEarthingResult& r = runs[i].R;
        const std::optional<double> rho = NormResistivity(r);
        const double applied = norm.Raised && rho ? RaisedNorm(norm.Norm, *rho) : norm.Norm;
        verdict.Cells.push_back(VerdictText(r, applied, sep));
        verdict.Best[i] = MeetsNorm(r, applied);
    }
    table.Rows.push_back(std::move(verdict));

    table.Note = u"Масса — сталь " + plain(SteelDensity) +
                 u" кг/м³: уголок с полками толщиной в десятую долю ширины, полоса толщиной " +
                 plain(StripThickness * 1000) + u" мм, круг сплошной (труба легче).";
    return table;
}

std::u16string VariantsTableText(const TVariantsTable& table) {
    const auto cell = [](std::u16string text) {
        for (char16_t& c : text)
            if (c == u'\t' || c == u'\n' || c == u'\r')
                c = u' ';
        return text;
    };
    std::u16string text;
    for (const std::u16string& column : table.Columns)
        text += u'\t' + cell(column);
    text += u'\n';
    for (const TVariantsRow& row : table.Rows) {
        text += cell(row.Name);
        for (const std::u16string& value : row.Cells)
            text += u'\t' + cell(value);
        text += u'\n';
    }
    return text;
}
