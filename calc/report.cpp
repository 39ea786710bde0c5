#include "report.h"

#include "number_format.h"
#include "resource_strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace {

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

using TKind = TFormulaPart::TKind;

// Formula text on the base line, where "_x" makes the one character x a subscript: "ρ_э", "t_0".
TFormula F(std::u16string_view text) {
    TFormula parts;
    std::u16string run;
    const auto flush = [&] {
        if (!run.empty())
            parts.push_back({TKind::Text, std::exchange(run, {}), {}, {}});
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 1 < text.size()) {
            flush();
            parts.push_back({TKind::Subscript, std::u16string(1, text[++i]), {}, {}});
        } else {
            run += text[i];
        }
    }
    flush();
    return parts;
}

TFormula Frac(TFormula upper, TFormula lower) {
    return {{TKind::Fraction, {}, std::move(upper), std::move(lower)}};
}

TFormula Brackets(TFormula inside) {
    return {{TKind::Brackets, {}, std::move(inside), {}}};
}

TFormula Lg(TFormula argument) {
    return {{TKind::Lg, {}, std::move(argument), {}}};
}

TFormula Seq(std::initializer_list<TFormula> pieces) {
    TFormula all;
    for (const TFormula& piece : pieces)
        all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

// A numerator, denominator or logarithm's argument on one line, bracketed when it is more than one
// factor (`product` = false) or more than one term (`product` = true: a·b needs no brackets).
std::u16string Grouped(const TFormula& formula, bool productIsOne) {
    const std::u16string text = FormulaText(formula);
    const bool single = formula.size() == 1 && formula[0].Kind == TKind::Fraction ? false
                        : productIsOne ? text.find_first_of(u" +−/") == std::u16string::npos
                                       : text.find_first_of(u" +−/·") == std::u16string::npos;
    return single ? text : u"(" + text + u")";
}

// The total, as precisely as it takes for the shown comparison with the shown norm to say what the
// verdict says: tenths as the window shows it, else more significant digits ("10,04 Ом > 10 Ом").
std::u16string Comparison(const TEarthingResult& r, double norm, char16_t sep) {
    const bool meets = MeetsNorm(r, norm);
    const double x = r.TotalResistance;
    // 0 digits: tenths, as the window shows the total; a norm with up to 15 digits as typed. At 17
    // digits both texts are the doubles themselves, so the comparison always agrees in the end.
    const auto totalText = [&](int digits, char16_t s) {
        return digits == 0 ? FormatTenths(x, s) : FormatSignificant(x, digits, s);
    };
    const auto normText = [&](int digits, char16_t s) {
        return digits <= 15 ? FormatPlain(norm, s) : FormatSignificant(norm, digits, s);
    };
    // The number a text with the point shows (from_chars: the process's locale plays no part).
    const auto shown = [](const std::u16string& text) {
        const std::string narrow(text.begin(), text.end());
        double value = 0;
        std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
        return value;
    };
    int digits = 0;
    while (digits < 17 && (shown(totalText(digits, u'.')) <= shown(normText(digits, u'.'))) != meets)
        digits = digits == 0 ? 2 : digits + 1;
    return totalText(digits, sep) + ResOhmSuffix() + (meets ? u" ≤ " : u" > ") + normText(digits, sep) +
           ResOhmSuffix();
}

} // namespace

std::u16string ClimaticRegionText(int32_t region) {
    static const char16_t* const names[] = {u"I", u"II", u"III", u"IV"};
    return region >= 1 && region <= 4 ? names[region - 1] : u"не учитывается";
}

std::u16string VerdictText(const TEarthingResult& result, double norm, char16_t separator) {
    if (!HasMeaningfulTotal(result))
        return u"не соответствует " + FormatPlain(norm, separator) + ResOhmSuffix();
    return (MeetsNorm(result, norm) ? u"соответствует: " : u"не соответствует: ") +
           Comparison(result, norm, separator);
}

std::u16string FormulaText(const TFormula& formula) {
    static const char16_t digits[] = u"₀₁₂₃₄₅₆₇₈₉";
    std::u16string text;
    for (const TFormulaPart& part : formula) {
        switch (part.Kind) {
        case TKind::Text:
            text += part.Text;
            break;
        case TKind::Subscript:
            for (char16_t c : part.Text)
                text += c >= u'0' && c <= u'9' ? digits[c - u'0'] : c;
            break;
        case TKind::Fraction:
            text += Grouped(part.Upper, true) + u"/" + Grouped(part.Lower, false);
            break;
        case TKind::Brackets:
            text += u"(" + FormulaText(part.Upper) + u")";
            break;
        case TKind::Lg:
            text += u"lg" + Grouped(part.Upper, false);
            break;
        }
    }
    return text;
}

namespace {

// The formulas of the calculation, in symbols and with the run's numbers. A number the user typed is
// written as the window shows it; a computed number that the next formula takes up with four significant
// digits, so that each line can be checked by hand; a result also as the window shows it ("≈ 71").
std::vector<TReportFormula> Formulas(const TEarthingInput& in, const TEarthingResult& r,
                                     const TEarthingLabels& labels, char16_t sep) {
    const auto plain = [sep](double x) { return FormatPlain(x, sep); };
    const auto work = [sep](double x) { return FormatSignificant(x, 4, sep); };
    const std::u16string k366 = plain(0.366), k95 = plain(0.95);
    // " = 71,43 ≈ 71 Ом∙м": the result, and as the window shows it where that reads otherwise.
    const auto result = [&](double x, const std::optional<std::u16string>& window,
                            const std::u16string& unit) {
        const std::u16string value = work(x);
        return F(u" = " + value + (window && *window != value ? u" ≈ " + *window : u"") + unit);
    };
    const auto numbers = [&r](int32_t stage, TFormula formula) {
        return r.Reached(stage) ? formula : TFormula{};
    };
    const std::u16string metres = u" м", ohms = ResOhmSuffix(), ohmMetres = u" Ом∙м";
    const std::u16string h = plain(in.Thickness), t0 = plain(in.Depth), l = plain(in.Length);
    std::vector<TReportFormula> formulas;

    // The two layers as the rods see them, as the calculation decides it.
    const long double upperPart = static_cast<long double>(in.Thickness) - in.Depth;
    if (in.Thickness < in.Depth)
        formulas.push_back({u"Электроды целиком в нижнем пласте (h < t₀)", F(u"ρ_э = ρ_2"),
                            numbers(6, result(r.EquivalentResistivity, labels.sLabel21, ohmMetres))});
    else if (upperPart >= in.Length)
        formulas.push_back({u"Электроды целиком в верхнем пласте (h − t₀ ≥ l)", F(u"ρ_э = ρ_1"),
                            numbers(6, result(r.EquivalentResistivity, labels.sLabel21, ohmMetres))});
    else {
        const std::u16string rho1 = work(r.UpperResistivity), rho2 = work(r.LowerResistivity);
        formulas.push_back(
            {u"Электроды в обоих пластах",
             Seq({F(u"ρ_э = "), Frac(F(u"ρ_1·ρ_2·l"), F(u"ρ_1·(l − (h − t_0)) + ρ_2·(h − t_0)"))}),
             numbers(6, Seq({F(u" = "),
                             Frac(F(rho1 + u"·" + rho2 + u"·" + l),
                                  F(rho1 + u"·(" + l + u" − (" + h + u" − " + t0 + u")) + " + rho2 + u"·(" +
                                    h + u" − " + t0 + u")")),
                             result(r.EquivalentResistivity, labels.sLabel21, ohmMetres)}))});
    }
    formulas.push_back(
        {u"С учётом климата", F(u"ρ_в = K_в·ρ_э"),
         numbers(7, Seq({F(u" = " + plain(r.RodClimateFactor) + u"·" + work(r.EquivalentResistivity)),
                         result(r.ClimaticResistivity, labels.sLabel25, ohmMetres)}))});
    if (in.Form == 1)
        formulas.push_back(
            {u"Эквивалентный диаметр уголка", F(u"d = " + k95 + u"·b_в"),
             numbers(8, Seq({F(u" = " + k95 + u"·" + plain(static_cast<double>(in.Width) / 1000)),
                             result(r.RodDiameter, std::nullopt, metres)}))});
    formulas.push_back({u"Глубина середины электрода", F(u"t = t_0 + l/2"),
                        numbers(9, Seq({F(u" = " + t0 + u" + " + l + u"/2"),
                                        result(r.RodMidDepth, std::nullopt, metres)}))});
    const std::u16string d = work(r.RodDiameter), t = work(r.RodMidDepth);
    formulas.push_back(
        {u"Сопротивление одного электрода",
         Seq({F(u"R_в = "), Frac(F(k366 + u"·ρ_в"), F(u"l")), F(u"·"),
              Brackets(Seq({Lg(Frac(F(u"2·l"), F(u"d"))), F(u" + "), Frac(F(u"1"), F(u"2")), F(u"·"),
                            Lg(Frac(F(u"4·t + l"), F(u"4·t − l")))}))}),
         numbers(9,
                 Seq({F(u" = "), Frac(F(k366 + u"·" + work(r.ClimaticResistivity)), F(l)), F(u"·"),
                      Brackets(Seq({Lg(Frac(F(u"2·" + l), F(d))), F(u" + "), Frac(F(u"1"), F(u"2")), F(u"·"),
                                    Lg(Frac(F(u"4·" + t + u" + " + l), F(u"4·" + t + u" − " + l)))})),
                      result(r.RodResistance, labels.sLabel18, ohms)}))});
    if (in.Number == 1) {
        formulas.push_back(
            {u"Общее сопротивление: один электрод, соединителя нет",
             Seq({F(u"R = "), Frac(F(u"R_в"), F(u"n·η_в"))}),
             numbers(16, Seq({F(u" = "), Frac(F(work(r.RodResistance)), F(u"1·" + plain(r.RodUtilization))),
                              result(r.TotalResistance, FormatTenths(r.TotalResistance, sep), ohms)}))});
        return formulas;
    }

    const std::u16string L = work(r.ConnectorLength);
    formulas.push_back({u"Длина соединителя", F(u"L = m·a·l"),
                        numbers(14, Seq({F(u" = " + FormatInteger(r.IntervalCount) + u"·" +
                                           FormatInteger(in.IntervalMultiplicity) + u"·" + l),
                                         result(r.ConnectorLength, labels.sLabel30, metres)}))});
    const std::u16string b = plain(static_cast<double>(in.WidthHor) / 1000);
    const TFormula argument = in.FormHor == 1   ? Frac(F(u"2·L²"), F(u"b_г·t_0"))
                              : in.FormHor == 3 ? Frac(F(u"L²"), F(u"b_г·t_0"))
                                                : Frac(F(u"L²"), F(k95 + u"·b_г·t_0"));
    const TFormula argumentNumbers = in.FormHor == 1   ? Frac(F(u"2·" + L + u"²"), F(b + u"·" + t0))
                                     : in.FormHor == 3 ? Frac(F(L + u"²"), F(b + u"·" + t0))
                                                       : Frac(F(L + u"²"), F(k95 + u"·" + b + u"·" + t0));
    formulas.push_back({u"Сопротивление соединителя",
                        Seq({F(u"R_г = "), Frac(F(k366 + u"·K_г·ρ_г"), F(u"L")), F(u"·"), Lg(argument)}),
                        r.ConnectorResistance
                            ? numbers(15, Seq({F(u" = "),
                                               Frac(F(k366 + u"·" + plain(r.ConnectorClimateFactor) + u"·" +
                                                      work(r.ConnectorResistivity)),
                                                    F(L)),
                                               F(u"·"), Lg(argumentNumbers),
                                               result(*r.ConnectorResistance, labels.sLabel28, ohms)}))
                            : TFormula{}});
    formulas.push_back(
        {u"Общее сопротивление",
         Seq({F(u"R = "),
              Frac(F(u"1"), Seq({Frac(F(u"n·η_в"), F(u"R_в")), F(u" + "), Frac(F(u"η_г"), F(u"R_г"))}))}),
         r.ConnectorResistance
             ? numbers(
                   16,
                   Seq({F(u" = "),
                        Frac(F(u"1"),
                             Seq({Frac(F(FormatInteger(in.Number) + u"·" + plain(r.RodUtilization)),
                                       F(work(r.RodResistance))),
                                  F(u" + "),
                                  Frac(F(plain(r.ConnectorUtilization)), F(work(*r.ConnectorResistance)))})),
                        result(r.TotalResistance, FormatTenths(r.TotalResistance, sep), ohms)}))
             : TFormula{}});
    return formulas;
}

// Every symbol of the formulas in words, with the value the calculation took where it is given or
// looked up rather than computed by a formula above.
std::vector<TFormula> Symbols(const TEarthingInput& in, const TEarthingResult& r, char16_t sep) {
    const auto plain = [sep](double x) { return FormatPlain(x, sep); };
    const auto value = [&](int32_t stage, double x, const std::u16string& unit) {
        return r.Reached(stage) ? plain(x) + unit : std::u16string(u"—");
    };
    const auto millimetres = [&](int64_t width) {
        return plain(static_cast<double>(width) / 1000) + u" м (" + FormatInteger(width) + u" мм)";
    };
    std::vector<TFormula> symbols = {
        F(u"h — толщина верхнего пласта грунта, " + plain(in.Thickness) + u" м"),
        F(u"t_0 — глубина верхнего конца электродов (заглубление), " + plain(in.Depth) + u" м"),
        F(u"l — длина электрода, " + plain(in.Length) + u" м"),
        F(u"ρ_1, ρ_2 — удельное сопротивление верхнего и нижнего пластов, " +
          value(2, r.UpperResistivity, u"") + u" и " + value(3, r.LowerResistivity, u" Ом∙м")),
        F(u"ρ_э — эквивалентное удельное сопротивление грунта для электродов"),
        F(u"K_в, K_г — климатические коэффициенты электродов и соединителя, " + plain(r.RodClimateFactor) +
          u" и " + plain(r.ConnectorClimateFactor)),
        F(u"ρ_в — удельное сопротивление грунта для электродов с учётом климата"),
        in.Form == 1 ? F(u"b_в — ширина стороны уголка электрода, " + millimetres(in.Width))
                     : F(u"d — диаметр электрода, " + millimetres(in.Width)),
    };
    if (in.Form == 1)
        symbols.push_back(F(u"d — эквивалентный диаметр электрода"));
    symbols.push_back(F(u"t — глубина середины электрода"));
    symbols.push_back(F(u"R_в — сопротивление одного электрода"));
    symbols.push_back(F(u"n — количество электродов, " + FormatInteger(in.Number)));
    if (in.Number == 1) {
        symbols.push_back(
            F(u"η_в — коэффициент использования электродов, " + value(13, r.RodUtilization, u"")));
    } else {
        symbols.push_back(F(u"a — кратность расстояния между электродами (в длинах электрода), " +
                            FormatInteger(in.IntervalMultiplicity)));
        symbols.push_back(F(u"m — число промежутков между электродами: n − 1 в ряд, n в замкнутом контуре, " +
                            (r.Reached(13) ? FormatInteger(r.IntervalCount) : std::u16string(u"—"))));
        symbols.push_back(F(u"L — длина горизонтального соединителя"));
        symbols.push_back(F((in.FormHor == 1 ? u"b_г — ширина полосы соединителя, "
                             : in.FormHor == 3 ? u"b_г — диаметр соединителя, "
                                               : u"b_г — ширина стороны уголка соединителя, ") +
                            millimetres(in.WidthHor)));
        symbols.push_back(
            F(u"ρ_г — удельное сопротивление пласта, в котором лежит соединитель (на глубине t_0), " +
              value(10, r.ConnectorResistivity, u" Ом∙м")));
        symbols.push_back(F(u"R_г — сопротивление соединителя"));
        symbols.push_back(F(u"η_в, η_г — коэффициенты использования электродов и соединителя, " +
                            value(13, r.RodUtilization, u"") + u" и " +
                            value(13, r.ConnectorUtilization, u"")));
    }
    symbols.push_back(F(u"R — общее сопротивление растеканию; lg — десятичный логарифм"));
    return symbols;
}

} // namespace

std::u16string TReportValue::Text() const {
    return Value ? *Value + Unit : u"—";
}

TReport BuildEarthingReport(const TEarthingInput& in, const TNormChoice& norm, char16_t sep,
                            char16_t systemSeparator, const std::vector<TVariant>& variants) {
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
        Line(u"Климатический район", ClimaticRegionText(in.ClimaticRegion)),
        Line(u"Верхний пласт грунта", in.TopLayer),
        Line(u"Толщина верхнего пласта, h", plain(in.Thickness) + metres),
        Line(u"Нижний пласт грунта", in.BottomLayer),
        Line(u"Заглубление верхнего конца электродов, t₀", plain(in.Depth) + metres),
        Line(u"Вертикальные электроды", (in.Form == 1 ? u"уголок, ширина стороны " : u"круг, диаметр ") +
                                            FormatInteger(in.Width) + u" мм, длина l = " + plain(in.Length) +
                                            metres),
        Line(u"Расположение электродов", (in.MutualDisposition == 1 ? u"в ряд" : u"замкнутым контуром") +
                                             (u", количество n = " + FormatInteger(in.Number)) +
                                             u" шт., кратность расстояния a = " +
                                             FormatInteger(in.IntervalMultiplicity)),
        Line(u"Горизонтальный соединитель", (in.FormHor == 1   ? u"полоса, ширина "
                                             : in.FormHor == 3 ? u"круг, диаметр "
                                                               : u"уголок, ширина стороны ") +
                                                FormatInteger(in.WidthHor) + u" мм"),
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
    report.Formulas = Formulas(in, r, labels, sep);
    report.Symbols = Symbols(in, r, sep);

    report.ConclusionHeading = u"Заключение";
    const std::optional<double> rho = NormResistivity(r);
    const bool raisable = rho && *rho > 100;
    std::vector<double> norms = {30, 10, 4};
    if (std::find(norms.begin(), norms.end(), norm.Norm) == norms.end())
        norms.push_back(norm.Norm);
    const auto verdict = [&](double n) { return VerdictText(r, n, sep); };
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

    if (!variants.empty()) {
        report.VariantsHeading = u"Сравнение вариантов";
        report.Variants = BuildVariantsTable(variants, norm, sep, systemSeparator);
    }
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
