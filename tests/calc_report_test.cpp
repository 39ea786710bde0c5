// The calculation as a document, checked as text: the lines the document shows for a table of inputs,
// both decimal separators, the verdicts at a norm and the values behind the lines.
#include "report.h"
#include "utf8_text.h"
#include "worked_examples.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace {

std::string Utf8(const std::u16string& text) {
    return Utf16ToUtf8(text);
}

// name -> text of every line of the inputs, the results and the conclusion, in UTF-8.
std::map<std::string, std::string> Lines(const TReport& report) {
    std::map<std::string, std::string> lines;
    for (const auto* rows : {&report.Inputs, &report.Results, &report.Verdicts})
        for (const TReportRow& row : *rows)
            lines[Utf8(row.Name)] = Utf8(row.Text);
    return lines;
}

// The bold lines: the total and the chosen norm.
std::vector<std::string> BoldNames(const TReport& report) {
    std::vector<std::string> names;
    for (const auto* rows : {&report.Results, &report.Verdicts})
        for (const TReportRow& row : *rows)
            if (row.Bold)
                names.push_back(Utf8(row.Name));
    return names;
}

TEarthingInput Soils(std::u16string top, std::u16string bottom, int32_t count) {
    TEarthingInput input = FirstExample();
    input.TopLayer = std::move(top);
    input.BottomLayer = std::move(bottom);
    input.Number = count;
    return input;
}

struct ReportCase {
    const char* name;
    TEarthingInput input;
    TNormChoice norm;
    char16_t separator;
    std::map<std::string, std::string> lines; // a selection of the lines, name -> text
    std::vector<std::string> bold;
    std::string total, stopReason, raisedNote;
    double chartRequired;
};

// The first worked example with some of its inputs changed.
template <class Change> TEarthingInput FirstExampleWith(Change change) {
    TEarthingInput input = FirstExample();
    change(input);
    return input;
}

TEarthingInput NoConnector() {
    return FirstExampleWith([](TEarthingInput& in) {
        in.Number = 1;
        in.FormHor = 2;
        in.ClimaticRegion = 4;
    });
}

const ReportCase Cases[] = {
    {"first worked example",
     FirstExample(),
     {},
     u',',
     {{"Климатический район", "II"},
      {"Верхний пласт грунта", "Суглинок полутвёрдый лёссовидный (100)"},
      {"Толщина верхнего пласта, h", "1,5 м"},
      {"Вертикальные электроды", "уголок, ширина стороны 50 мм, длина l = 2,5 м"},
      {"Расположение электродов", "в ряд, количество n = 3 шт., кратность расстояния a = 1"},
      {"Горизонтальный соединитель", "полоса, ширина 40 мм"},
      {"Климатические коэффициенты Kв и Kг", "1,45 и 3,5"},
      {"Удельное сопротивление пластов, ρ1 и ρ2", "100 Ом∙м и 60 Ом∙м"},
      {"Эквивалентное удельное сопротивление, ρэ", "71 Ом∙м"},
      {"Сопротивление одного электрода, Rв", "33,1 Ом"},
      {"Коэффициенты использования, ηв и ηг", "0,78 и 0,81"},
      {"Сопротивление соединителя, Rг", "87 Ом"},
      {"Общее сопротивление растеканию, R", "12,5 Ом"},
      {"Норма 30 Ом — одно повторное заземление", "соответствует: 12,5 Ом ≤ 30 Ом"},
      {"Норма 10 Ом — все повторные заземления линии вместе (выбрана)", "не соответствует: 12,5 Ом > 10 Ом"},
      {"Норма 4 Ом — заземление нейтрали трансформатора", "не соответствует: 12,5 Ом > 4 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 10 Ом — все повторные заземления линии вместе (выбрана)"},
     "12,5 Ом",
     "",
     "",
     10},
    {"the point as the user's separator",
     FirstExample(),
     {},
     u'.',
     {{"Толщина верхнего пласта, h", "1.5 м"},
      {"Климатические коэффициенты Kв и Kг", "1.45 и 3.5"},
      {"Диаметр (эквивалентный) электрода, d", "0.0475 м"},
      {"Коэффициенты использования, ηв и ηг", "0.78 и 0.81"},
      {"Общее сопротивление растеканию, R", "12.5 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 10 Ом — все повторные заземления линии вместе (выбрана)"},
     "12.5 Ом",
     "",
     "",
     10},
    {"raised norm chosen, typed with the point",
     Soils(u"250", u"250", 6),
     {30, true},
     u'.',
     {{"Норма 30 Ом — одно повторное заземление", "соответствует: 24.2 Ом ≤ 30 Ом"},
      {"Норма 30 Ом, повышенная до 75 Ом (выбрана)", "соответствует: 24.2 Ом ≤ 75 Ом"},
      {"Норма 4 Ом, повышенная до 10 Ом", "не соответствует: 24.2 Ом > 10 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 30 Ом, повышенная до 75 Ом (выбрана)"},
     "24.2 Ом",
     "",
     "ρэ = 250 Ом∙м, выше 100 Ом∙м: норму можно повысить, умножив на 0,01·ρэ, но не более чем в 10 раз.",
     75},
    {"a typed norm is judged after the three",
     Soils(u"250", u"250", 6),
     {7.5, false},
     u',',
     {{"Норма 7,5 Ом — заданная норма (выбрана)", "не соответствует: 24,2 Ом > 7,5 Ом"},
      {"Норма 7,5 Ом, повышенная до 18,7 Ом", "не соответствует: 24,2 Ом > 18,7 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 7,5 Ом — заданная норма (выбрана)"},
     "24,2 Ом",
     "",
     "ρэ = 250 Ом∙м, выше 100 Ом∙м: норму можно повысить, умножив на 0,01·ρэ, но не более чем в 10 раз.",
     7.5},
    {"no total: unknown soil",
     Soils(u"неизвестный грунт", u"60", 3),
     {},
     u',',
     {{"Удельное сопротивление пластов, ρ1 и ρ2", "— и —"},
      {"Эквивалентное удельное сопротивление, ρэ", "—"},
      {"Сопротивление соединителя, Rг", "—"},
      {"Общее сопротивление растеканию, R", "- Ом"},
      {"Норма 30 Ом — одно повторное заземление", "не соответствует 30 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 10 Ом — все повторные заземления линии вместе (выбрана)"},
     "",
     "Сопротивление не вычислено: в поле верхнего пласта",
     "",
     10},
    {"one rod: no connector, region IV, angle connector",
     NoConnector(),
     {30, false},
     u',',
     {{"Климатический район", "IV"},
      {"Горизонтальный соединитель", "уголок, ширина стороны 40 мм"},
      {"Сопротивление соединителя, Rг", "нет соединителя"},
      {"Общее сопротивление растеканию, R", "25,1 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 30 Ом — одно повторное заземление (выбрана)"},
     "25,1 Ом",
     "",
     "",
     30},
};

TEST(CalculationReport, LinesForATableOfInputs) {
    for (const ReportCase& c : Cases) {
        SCOPED_TRACE(c.name);
        const TReport report = BuildEarthingReport(c.input, c.norm, c.separator, u',');
        const std::map<std::string, std::string> lines = Lines(report);
        for (const auto& [name, text] : c.lines) {
            ASSERT_TRUE(lines.count(name)) << name;
            EXPECT_EQ(lines.at(name), text) << name;
        }
        EXPECT_EQ(BoldNames(report), c.bold);
        EXPECT_EQ(Utf8(report.Total), c.total);
        EXPECT_EQ(Utf8(report.StopReason).substr(0, c.stopReason.size()), c.stopReason);
        EXPECT_EQ(report.StopReason.empty(), c.stopReason.empty());
        EXPECT_EQ(Utf8(report.RaisedNote), c.raisedNote);
        EXPECT_EQ(report.Chart.Required, c.chartRequired);
        EXPECT_EQ(report.Chart.MarkedCount, c.input.Number);
    }
}

// A connector width beyond 32 bits is written as typed, never as its low 32 bits (4294967336 would
// read 40).
TEST(CalculationReport, AWidthBeyond32BitsIsWrittenWhole) {
    const TEarthingInput in = FirstExampleWith([](TEarthingInput& in) { in.WidthHor = 4294967336; });
    const std::map<std::string, std::string> lines = Lines(BuildEarthingReport(in, {10, false}, u',', u','));
    EXPECT_NE(lines.at("Горизонтальный соединитель").find("4294967336 мм"), std::string::npos)
        << lines.at("Горизонтальный соединитель");
}

// The upper layer thinner than the rods' depth: rods and connector in the lower layer, total 10,04 Ом.
TEarthingInput ThinTopLayer() {
    return FirstExampleWith([](TEarthingInput& in) { in.Thickness = 0.3; });
}

TEarthingInput Contour() {
    return FirstExampleWith([](TEarthingInput& in) {
        in.MutualDisposition = 2;
        in.Number = 4;
        in.IntervalMultiplicity = 2;
    });
}

// The number a text shows, read with the separator it was written with.
double Number(std::string text, char separator) {
    std::replace(text.begin(), text.end(), separator, '.');
    return std::stod(text);
}

// The chosen norm's verdict compares the total with the norm in digits that agree with the verdict:
// a total that rounds to the norm but exceeds it shows the digits that exceed it, and one that meets a
// norm it rounds above shows the digits that meet it.
TEST(CalculationReport, VerdictNearTheNormShowsTheDigitsThatDecide) {
    const double thin = ComputeEarthing(ThinTopLayer(), u',', u',').TotalResistance; // 10,039…
    const struct {
        TEarthingInput input;
        double norm;
        char16_t separator;
        const char* text; // empty: only the agreement of the comparison is checked
    } cases[] = {
        {ThinTopLayer(), 10, u',', "не соответствует: 10,04 Ом > 10 Ом"},
        {ThinTopLayer(), 10, u'.', "не соответствует: 10.04 Ом > 10 Ом"},
        {ThinTopLayer(), 10.1, u',', "соответствует: 10 Ом ≤ 10,1 Ом"},
        {ThinTopLayer(), 10.04, u'.', "соответствует: 10 Ом ≤ 10.04 Ом"},
        {ThinTopLayer(), 10.039, u',', "не соответствует: 10,04 Ом > 10,039 Ом"},
        {Contour(), 9, u',', "соответствует: 9 Ом ≤ 9 Ом"},          // 8,957
        {Contour(), 8.96, u',', "соответствует: 8,96 Ом ≤ 8,96 Ом"}, // rounds to 9, above the norm
        {Contour(), 8.95, u'.', "не соответствует: 9 Ом > 8.95 Ом"},
        {ThinTopLayer(), thin, u',', ""},
        {ThinTopLayer(), std::nextafter(thin, 0.0), u',', ""},
        {ThinTopLayer(), std::nextafter(thin, 0.0), u'.', ""},
    };
    for (const auto& c : cases) {
        const TEarthingResult run = ComputeEarthing(c.input, c.separator, u',');
        const bool meets = run.TotalResistance <= c.norm;
        const TReport report = BuildEarthingReport(c.input, {c.norm, false}, c.separator, u',');
        const auto chosen = std::find_if(report.Verdicts.begin(), report.Verdicts.end(),
                                         [](const TReportRow& row) { return row.Bold; });
        ASSERT_NE(chosen, report.Verdicts.end());
        const std::string text = Utf8(chosen->Text);
        SCOPED_TRACE(text);
        if (*c.text) {
            EXPECT_EQ(text, c.text);
        }
        // "соответствует: A Ом ≤ B Ом": A ≤ B as shown exactly when the total meets the norm.
        const std::string verdict = meets ? "соответствует: " : "не соответствует: ";
        const std::string sign = meets ? " Ом ≤ " : " Ом > ";
        ASSERT_EQ(text.rfind(verdict, 0), 0u);
        const size_t at = text.find(sign);
        ASSERT_NE(at, std::string::npos);
        const double shownTotal = Number(text.substr(verdict.size(), at - verdict.size()), char(c.separator));
        const double shownNorm = Number(text.substr(at + sign.size()), char(c.separator));
        EXPECT_EQ(shownTotal <= shownNorm, meets);
    }
}

struct FormulaCase {
    const char* name;
    TEarthingInput input;
    char16_t separator;
    // The document's last formulas, each in symbols and with the run's numbers on one line; a case may
    // leave out the first ones where they are another case's (the rods of the first example).
    std::vector<std::string> formulas;
    std::vector<std::string> symbols; // a selection of the symbols' definitions
};

const FormulaCase FormulaCases[] = {
    {"first worked example: the rods reach the lower layer",
     FirstExample(),
     u',',
     {"ρэ = ρ₁·ρ₂·l/(ρ₁·(l − (h − t₀)) + ρ₂·(h − t₀)) = "
      "100·60·2,5/(100·(2,5 − (1,5 − 0,5)) + 60·(1,5 − 0,5)) = 71,43 ≈ 71 Ом∙м",
      "ρв = Kв·ρэ = 1,45·71,43 = 103,6 ≈ 104 Ом∙м", "d = 0,95·bв = 0,95·0,05 = 0,0475 м",
      "t = t₀ + l/2 = 0,5 + 2,5/2 = 1,75 м",
      "Rв = 0,366·ρв/l·(lg(2·l/d) + 1/2·lg((4·t + l)/(4·t − l))) = "
      "0,366·103,6/2,5·(lg(2·2,5/0,0475) + 1/2·lg((4·1,75 + 2,5)/(4·1,75 − 2,5))) = 33,12 ≈ 33,1 Ом",
      "L = m·a·l = 2·1·2,5 = 5 м",
      "Rг = 0,366·Kг·ρг/L·lg(2·L²/(bг·t₀)) = 0,366·3,5·100/5·lg(2·5²/(0,04·0,5)) = 87,06 ≈ 87 Ом",
      "R = 1/(n·ηв/Rв + ηг/Rг) = 1/(3·0,78/33,12 + 0,81/87,06) = 12,51 ≈ 12,5 Ом"},
     {"t₀ — глубина верхнего конца электродов (заглубление), 0,5 м", "l — длина электрода, 2,5 м",
      "t — глубина середины электрода", "L — длина горизонтального соединителя",
      "bг — ширина полосы соединителя, 0,04 м (40 мм)",
      "ρг — удельное сопротивление пласта, в котором лежит соединитель (на глубине t₀), 100 Ом∙м"}},
    {"the point as the separator",
     FirstExample(),
     u'.',
     {"ρэ = ρ₁·ρ₂·l/(ρ₁·(l − (h − t₀)) + ρ₂·(h − t₀)) = "
      "100·60·2.5/(100·(2.5 − (1.5 − 0.5)) + 60·(1.5 − 0.5)) = 71.43 ≈ 71 Ом∙м",
      "ρв = Kв·ρэ = 1.45·71.43 = 103.6 ≈ 104 Ом∙м", "d = 0.95·bв = 0.95·0.05 = 0.0475 м",
      "t = t₀ + l/2 = 0.5 + 2.5/2 = 1.75 м",
      "Rв = 0.366·ρв/l·(lg(2·l/d) + 1/2·lg((4·t + l)/(4·t − l))) = "
      "0.366·103.6/2.5·(lg(2·2.5/0.0475) + 1/2·lg((4·1.75 + 2.5)/(4·1.75 − 2.5))) = 33.12 ≈ 33.1 Ом",
      "L = m·a·l = 2·1·2.5 = 5 м",
      "Rг = 0.366·Kг·ρг/L·lg(2·L²/(bг·t₀)) = 0.366·3.5·100/5·lg(2·5²/(0.04·0.5)) = 87.06 ≈ 87 Ом",
      "R = 1/(n·ηв/Rв + ηг/Rг) = 1/(3·0.78/33.12 + 0.81/87.06) = 12.51 ≈ 12.5 Ом"},
     {"h — толщина верхнего пласта грунта, 1.5 м",
      "ηв, ηг — коэффициенты использования электродов и соединителя, 0.78 и 0.81"}},
    {"rods wholly in the lower layer, connector there too",
     ThinTopLayer(),
     u',',
     {"ρэ = ρ₂ = 60 Ом∙м", "ρв = Kв·ρэ = 1,45·60 = 87 Ом∙м", "d = 0,95·bв = 0,95·0,05 = 0,0475 м",
      "t = t₀ + l/2 = 0,5 + 2,5/2 = 1,75 м",
      "Rв = 0,366·ρв/l·(lg(2·l/d) + 1/2·lg((4·t + l)/(4·t − l))) = "
      "0,366·87/2,5·(lg(2·2,5/0,0475) + 1/2·lg((4·1,75 + 2,5)/(4·1,75 − 2,5))) = 27,82 ≈ 27,8 Ом",
      "L = m·a·l = 2·1·2,5 = 5 м",
      "Rг = 0,366·Kг·ρг/L·lg(2·L²/(bг·t₀)) = 0,366·3,5·60/5·lg(2·5²/(0,04·0,5)) = 52,23 ≈ 52 Ом",
      "R = 1/(n·ηв/Rв + ηг/Rг) = 1/(3·0,78/27,82 + 0,81/52,23) = 10,04 ≈ 10 Ом"},
     {"ρг — удельное сопротивление пласта, в котором лежит соединитель (на глубине t₀), 60 Ом∙м"}},
    {"closed contour: the rods as in the first example",
     Contour(),
     u',',
     {"L = m·a·l = 4·2·2,5 = 20 м",
      "Rг = 0,366·Kг·ρг/L·lg(2·L²/(bг·t₀)) = 0,366·3,5·100/20·lg(2·20²/(0,04·0,5)) = 29,48 ≈ 29 Ом",
      "R = 1/(n·ηв/Rв + ηг/Rг) = 1/(4·0,77/33,12 + 0,55/29,48) = 8,957 ≈ 9 Ом"},
     {"m — число промежутков между электродами: n − 1 в ряд, n в замкнутом контуре, 4"}},
    {"one round rod: no connector; stopped runs give the formulas without numbers",
     FirstExampleWith([](TEarthingInput& in) {
         in.Number = 1;
         in.Form = 2;
         in.FormHor = 2;
     }),
     u',',
     {"ρэ = ρ₁·ρ₂·l/(ρ₁·(l − (h − t₀)) + ρ₂·(h − t₀)) = "
      "100·60·2,5/(100·(2,5 − (1,5 − 0,5)) + 60·(1,5 − 0,5)) = 71,43 ≈ 71 Ом∙м",
      "ρв = Kв·ρэ = 1,45·71,43 = 103,6 ≈ 104 Ом∙м", "t = t₀ + l/2 = 0,5 + 2,5/2 = 1,75 м",
      "Rв = 0,366·ρв/l·(lg(2·l/d) + 1/2·lg((4·t + l)/(4·t − l))) = "
      "0,366·103,6/2,5·(lg(2·2,5/0,05) + 1/2·lg((4·1,75 + 2,5)/(4·1,75 − 2,5))) = 32,79 ≈ 32,8 Ом",
      "R = Rв/(n·ηв) = 32,79/(1·1) = 32,79 ≈ 32,8 Ом"},
     {"d — диаметр электрода, 0,05 м (50 мм)", "ηв — коэффициент использования электродов, 1"}},
    {"rods wholly in the upper layer; an angle connector, the rod too narrow",
     FirstExampleWith([](TEarthingInput& in) {
         in.Thickness = 3;
         in.Length = 1;
         in.FormHor = 2;
         in.Width = 7;
     }),
     u',',
     {"ρэ = ρ₁ = 100 Ом∙м", "ρв = Kв·ρэ = 1,45·100 = 145 Ом∙м", "d = 0,95·bв", "t = t₀ + l/2",
      "Rв = 0,366·ρв/l·(lg(2·l/d) + 1/2·lg((4·t + l)/(4·t − l)))", "L = m·a·l",
      "Rг = 0,366·Kг·ρг/L·lg(L²/(0,95·bг·t₀))", "R = 1/(n·ηв/Rв + ηг/Rг)"},
     {"bг — ширина стороны уголка соединителя, 0,04 м (40 мм)"}},
};

TEST(CalculationReport, FormulasInSymbolsAndWithTheRunsNumbers) {
    for (const FormulaCase& c : FormulaCases) {
        SCOPED_TRACE(c.name);
        const TReport report = BuildEarthingReport(c.input, {}, c.separator, u',');
        std::vector<std::string> formulas;
        for (const TReportFormula& formula : report.Formulas)
            formulas.push_back(Utf8(FormulaText(formula.Formula) + FormulaText(formula.Numbers)));
        ASSERT_GE(formulas.size(), c.formulas.size());
        EXPECT_EQ(std::vector(formulas.end() - c.formulas.size(), formulas.end()), c.formulas);
        std::vector<std::string> symbols;
        for (const TFormula& symbol : report.Symbols)
            symbols.push_back(Utf8(FormulaText(symbol)));
        for (const std::string& symbol : c.symbols)
            EXPECT_NE(std::find(symbols.begin(), symbols.end(), symbol), symbols.end()) << symbol;
    }
}

// Each formula's result is the calculation's own value, to the four digits the document writes, and
// the next formula takes up that value: what the document shows is what the window computed.
TEST(CalculationReport, FormulaResultsAreTheCalculationsValues) {
    for (const FormulaCase& c : FormulaCases) {
        SCOPED_TRACE(c.name);
        const TEarthingResult r = ComputeEarthing(c.input, c.separator, u',');
        const std::map<std::string, double> computed = {{"ρэ", r.EquivalentResistivity},
                                                        {"ρв", r.ClimaticResistivity},
                                                        {"d", r.RodDiameter},
                                                        {"t", r.RodMidDepth},
                                                        {"Rв", r.RodResistance},
                                                        {"L", r.ConnectorLength},
                                                        {"Rг", r.ConnectorResistance.value_or(0)},
                                                        {"R", r.TotalResistance}};
        for (const TReportFormula& formula : BuildEarthingReport(c.input, {}, c.separator, u',').Formulas) {
            if (formula.Numbers.empty())
                continue;
            const std::string symbols = Utf8(FormulaText(formula.Formula));
            const std::string numbers = Utf8(FormulaText(formula.Numbers));
            const std::string symbol = symbols.substr(0, symbols.find(" = "));
            SCOPED_TRACE(numbers);
            ASSERT_TRUE(computed.count(symbol)) << symbol;
            // " = … = 71,43 ≈ 71 Ом∙м": the number after the last "=".
            std::string last = numbers.substr(numbers.rfind("= ") + 2);
            last = last.substr(0, last.find(' '));
            const double value = computed.at(symbol);
            EXPECT_NEAR(Number(last, char(c.separator)), value, std::fabs(value) * 5e-4);
        }
    }
}

// Each computed value keeps its symbol, value and unit apart; a value the run did not reach has none.
TEST(CalculationReport, ValuesBehindTheLines) {
    const TReport report = BuildEarthingReport(FirstExample(), {}, u',', u',');
    std::map<std::string, TReportValue> values;
    for (const TReportRow& row : report.Results)
        for (const TReportValue& value : row.Values)
            values[Utf8(value.Symbol)] = value;
    ASSERT_TRUE(values.count("ρв") && values.count("R") && values.count("ηг"));
    EXPECT_EQ(Utf8(values["ρв"].Formula), "Kв·ρэ");
    EXPECT_EQ(Utf8(*values["ρв"].Value), "104");
    EXPECT_EQ(Utf8(values["ρв"].Unit), " Ом∙м");
    EXPECT_EQ(Utf8(*values["R"].Value), "12,5");
    EXPECT_EQ(Utf8(values["ηг"].Text()), "0,81");

    const TReport none = BuildEarthingReport(Soils(u"неизвестный грунт", u"60", 3), {}, u',', u',');
    for (const TReportRow& row : none.Results)
        for (const TReportValue& value : row.Values)
            if (Utf8(value.Symbol) == "ρэ" || Utf8(value.Symbol) == "R") {
                EXPECT_FALSE(value.Value) << Utf8(value.Symbol);
            }
}

} // namespace
