#include "report.h"

#include "number_format.h"
#include "resource_strings.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

std::u16string Whole(int32_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string RegionText(int32_t region) {
    static const char16_t* const names[] = {u"I", u"II", u"III", u"IV"};
    return region >= 1 && region <= 4 ? names[region - 1] : u"не учитывается";
}

std::u16string Joined(const std::vector<TReportValue>& values) {
    std::u16string text;
    for (const TReportValue& value : values)
        text += (text.empty() ? u"" : u" и ") + value.Text();
    return text;
}

// A line of the inputs or the conclusion: text alone, no values behind it.
TReportRow Line(std::u16string name, std::u16string text, bool bold = false) {
    return {std::move(name), std::move(text), bold, {}};
}

} // namespace

std::u16string TReportValue::Text() const {
    return Value ? *Value + Unit : u"—";
}

TReport BuildEarthingReport(const TEarthingInput& in, const TNormChoice& norm, char16_t sep,
                            char16_t systemSeparator) {
    const TEarthingResult r = ComputeEarthing(in, sep, systemSeparator);
    const TEarthingLabels labels = EarthingLabels(in, r, sep);
    const std::u16string metres = u" м", ohms = ResOhmSuffix(), ohmMetres = u" Ом∙м";
    const auto plain = [sep](double x) { return FormatPlain(x, sep); };
    // A value of the run, shown when the run reached its stage and it is a number.
    const auto computed = [&](const char16_t* symbol, int32_t stage, double x, const std::u16string& unit,
                              const char16_t* formula = u"") {
        return TReportValue{symbol, formula,
                            r.Reached(stage) && std::isfinite(x) ? std::optional(plain(x)) : std::nullopt,
                            unit};
    };
    // A value as the result labels of the window show it.
    const auto labelled = [](const char16_t* symbol, const std::optional<std::u16string>& text,
                             const std::u16string& unit, const char16_t* formula = u"") {
        return TReportValue{symbol, formula, text, unit};
    };

    TReport report;
    report.Title = u"Расчёт сопротивления растеканию тока заземлителя";

    report.InputsHeading = u"Исходные данные";
    report.Inputs = {
        Line(u"Климатический район", RegionText(in.ClimaticRegion)),
        Line(u"Верхний пласт грунта", in.TopLayer),
        Line(u"Толщина верхнего пласта, h", plain(in.Thickness) + metres),
        Line(u"Нижний пласт грунта", in.BottomLayer),
        Line(u"Заглубление верхнего конца электродов, t", plain(in.Depth) + metres),
        Line(u"Вертикальные электроды", (in.Form == 1 ? u"уголок, ширина стороны " : u"круг, диаметр ") +
                                            Whole(in.Width) + u" мм, длина l = " + plain(in.Length) + metres),
        Line(u"Расположение электродов", (in.MutualDisposition == 1 ? u"в ряд" : u"замкнутым контуром") +
                                             (u", количество n = " + Whole(in.Number)) +
                                             u" шт., кратность расстояния a = " +
                                             Whole(in.IntervalMultiplicity)),
        Line(u"Горизонтальный соединитель", (in.FormHor == 1   ? u"полоса, ширина "
                                             : in.FormHor == 3 ? u"круг, диаметр "
                                                               : u"уголок, ширина стороны ") +
                                                Whole(in.WidthHor) + u" мм"),
    };

    report.ResultsHeading = u"Результаты расчёта";
    const auto row = [](const char16_t* name, std::vector<TReportValue> values) {
        return TReportRow{name, Joined(values), false, std::move(values)};
    };
    report.Results = {
        row(u"Климатические коэффициенты Kв и Kг",
            {computed(u"Kв", 1, r.RodClimateFactor, u""), computed(u"Kг", 1, r.ConnectorClimateFactor, u"")}),
        row(u"Удельное сопротивление пластов, ρ1 и ρ2", {computed(u"ρ1", 2, r.UpperResistivity, ohmMetres),
                                                         computed(u"ρ2", 3, r.LowerResistivity, ohmMetres)}),
        row(u"Эквивалентное удельное сопротивление, ρэ", {labelled(u"ρэ", labels.sLabel21, ohmMetres)}),
        row(u"С учётом климатического района, ρв = Kв·ρэ",
            {labelled(u"ρв", labels.sLabel25, ohmMetres, u"Kв·ρэ")}),
        row(u"Диаметр (эквивалентный) электрода, d", {computed(u"d", 8, r.RodDiameter, metres)}),
        row(u"Сопротивление одного электрода, Rв", {labelled(u"Rв", labels.sLabel18, ohms)}),
        row(u"Расстояние между электродами, a·l", {computed(u"a·l", 11, r.Interval, metres)}),
        row(u"Коэффициенты использования, ηв и ηг",
            {labelled(u"ηв", labels.sLabel35, u""), labelled(u"ηг", labels.sLabel38, u"")}),
        row(u"Длина соединителя, L", {labelled(u"L", labels.sLabel30, metres)}),
        row(u"Удельное сопротивление грунта у соединителя, ρг",
            {computed(u"ρг", 10, r.ConnectorResistivity, ohmMetres)}),
        row(u"Сопротивление соединителя, Rг", {labelled(u"Rг", labels.sLabel28, ohms)}),
    };
    if (labels.sLabel28 && *labels.sLabel28 == u"∞")
        report.Results.back().Text = u"нет соединителя";
    const bool hasTotal = HasMeaningfulTotal(r);
    if (hasTotal)
        report.Total = FormatTenths(r.TotalResistance, sep) + ohms;
    report.Results.push_back(
        {u"Общее сопротивление растеканию, R",
         labels.sLabel39.value_or(u"—"),
         true,
         {{u"R", u"", hasTotal ? std::optional(FormatTenths(r.TotalResistance, sep)) : std::nullopt, ohms}}});
    if (!hasTotal)
        report.StopReason = u"Сопротивление не вычислено: " + StopStageReason(r.StopStage);

    report.FormulasHeading = u"Формулы";
    report.FormulaPictures = {u"ФОРМУЛА0", u"ФОРМУЛА1", in.FormHor == 1 ? u"ФОРМУЛА2" : u"ФОРМУЛА3",
                              u"ФОРМУЛА4"};
    report.FormulasNote = u"Для уголка d = 0,95·b; ρ в формулах — ρв для электродов и Kг·ρг для соединителя.";

    report.ConclusionHeading = u"Заключение";
    const std::optional<double> rho = NormResistivity(r);
    const bool raisable = rho && *rho > 100;
    std::vector<double> norms = {30, 10, 4};
    if (std::find(norms.begin(), norms.end(), norm.Norm) == norms.end())
        norms.push_back(norm.Norm);
    const auto verdict = [&](double n) {
        return (MeetsNorm(r, n) ? u"соответствует " : u"не соответствует ") + plain(n) + ohms;
    };
    if (raisable)
        report.RaisedNote =
            u"ρэ = " + FormatWhole(*rho, sep) + ohmMetres +
            u", выше 100 Ом∙м: норму можно повысить, умножив на 0,01·ρэ, но не более чем в 10 раз.";
    for (double n : norms) {
        const bool chosen = n == norm.Norm;
        const std::u16string what = n == 30 ? u" — одно повторное заземление"
                                    : n == 10 ? u" — все повторные заземления линии вместе"
                                    : n == 4 ? u" — заземление нейтрали трансформатора"
                                             : u" — заданная норма";
        const bool plainChosen = chosen && !(norm.Raised && raisable);
        report.Verdicts.push_back(
            Line(u"Норма " + plain(n) + ohms + what + (plainChosen ? u" (выбрана)" : u""), verdict(n),
                 plainChosen));
        if (raisable) {
            const double raised = RaisedNorm(n, *rho);
            const bool raisedChosen = chosen && norm.Raised;
            report.Verdicts.push_back(Line(u"Норма " + plain(n) + u" Ом, повышенная до " + plain(raised) +
                                               ohms + (raisedChosen ? u" (выбрана)" : u""),
                                           verdict(raised), raisedChosen));
        }
    }

    report.ChartHeading = u"Сопротивление в зависимости от количества электродов";
    const double chosenNorm = norm.Raised && raisable ? RaisedNorm(norm.Norm, *rho) : norm.Norm;
    report.Chart = MakeFitChartData(in, chosenNorm, sep, systemSeparator);
    report.Chart.MarkedCount = in.Number;
    return report;
}

std::optional<TReportSurvey> BuildSurveySection(const TSurveyRecord& record, char16_t separator) {
    const std::vector<TSurveyReading>& readings = record.Readings;
    const bool twoLayers = record.TwoLayers;
    const TSurveyFit fit = FitSurvey(readings);
    const std::optional<TSurveyModel>& model = twoLayers ? fit.TwoLayer : fit.Uniform;
    if (!model)
        return std::nullopt;
    TReportSurvey survey;
    survey.Heading = u"Грунт по изысканиям (метод Веннера)";
    survey.Columns = {u"a, м", u"b, м", u"R, Ом", u"ρa, Ом∙м", u"модель, Ом∙м", u"ошибка"};
    for (size_t i = 0; i < readings.size(); ++i) {
        const TSurveyReading& reading = readings[i];
        const double measured = fit.Measured[i];
        survey.Rows.push_back(
            {FormatPlain(reading.Spacing, separator), FormatPlain(reading.Depth, separator),
             reading.Resistance ? FormatPlain(*reading.Resistance, separator) : u"—",
             FormatTenths(measured, separator), FormatTenths(model->At(reading.Spacing), separator),
             reading.Kept ? SurveyPercent(SurveyError(*model, reading.Spacing, measured), separator)
                          : u"не учтено"});
    }
    survey.Model = (twoLayers ? u"Два пласта: " : u"Однородный грунт: ") + SurveyModelText(*model, separator);
    survey.Rms = u"Среднеквадратичная ошибка ρa: " + SurveyPercent(model->Rms, separator);
    return survey;
}
