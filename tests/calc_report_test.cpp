// The calculation as a document, checked as text: the lines the document shows for a table of inputs,
// both decimal separators, the verdicts at a norm and the values behind the lines.
#include "report.h"
#include "utf8_text.h"
#include "worked_examples.h"

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

TEarthingInput NoConnector() {
    TEarthingInput input = FirstExample();
    input.Number = 1;
    input.FormHor = 2;
    input.ClimaticRegion = 4;
    return input;
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
      {"Норма 30 Ом — одно повторное заземление", "соответствует 30 Ом"},
      {"Норма 10 Ом — все повторные заземления линии вместе (выбрана)", "не соответствует 10 Ом"},
      {"Норма 4 Ом — заземление нейтрали трансформатора", "не соответствует 4 Ом"}},
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
     {{"Норма 30 Ом — одно повторное заземление", "соответствует 30 Ом"},
      {"Норма 30 Ом, повышенная до 75 Ом (выбрана)", "соответствует 75 Ом"},
      {"Норма 4 Ом, повышенная до 10 Ом", "не соответствует 10 Ом"}},
     {"Общее сопротивление растеканию, R", "Норма 30 Ом, повышенная до 75 Ом (выбрана)"},
     "24.2 Ом",
     "",
     "ρэ = 250 Ом∙м, выше 100 Ом∙м: норму можно повысить, умножив на 0,01·ρэ, но не более чем в 10 раз.",
     75},
    {"a typed norm is judged after the three",
     Soils(u"250", u"250", 6),
     {7.5, false},
     u',',
     {{"Норма 7,5 Ом — заданная норма (выбрана)", "не соответствует 7,5 Ом"},
      {"Норма 7,5 Ом, повышенная до 18,7 Ом", "не соответствует 18,7 Ом"}},
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

// At the norm itself the calculation meets it; a hair below it, it does not, although both norms
// round to the same shown total.
TEST(CalculationReport, VerdictAtTheNorm) {
    const TEarthingInput input = FirstExample();
    const double total = ComputeEarthing(input, u',', u',').TotalResistance;
    for (const auto& [norm, meets] : {std::pair{total, true}, std::pair{std::nextafter(total, 0.0), false},
                                      std::pair{12.5, total <= 12.5}}) {
        const TReport report = BuildEarthingReport(input, {norm, false}, u',', u',');
        const TReportRow& typed = report.Verdicts.back();
        SCOPED_TRACE(Utf8(typed.Name));
        EXPECT_EQ(report.Verdicts.size(), 4u);
        EXPECT_TRUE(typed.Bold);
        EXPECT_EQ(Utf8(typed.Text).rfind(meets ? "соответствует " : "не соответствует ", 0), 0u);
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
