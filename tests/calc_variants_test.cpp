// Variants side by side, checked as text: the table's result rows and their best marks for a table of
// cases (both decimal separators, ties, a variant without a total, a raised norm), the tab-separated
// text, and the masses behind it against steel tables.
#include "report.h"
#include "utf8_text.h"
#include "variants.h"
#include "worked_examples.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

template <class Change> TEarthingInput FirstExampleWith(Change change) {
    TEarthingInput input = FirstExample();
    change(input);
    return input;
}

// The cells of a row joined by " | ", then the best marks: x for a best cell, . for the others.
struct RowText {
    std::string cells, best;
    bool operator==(const RowText&) const = default;
};

std::ostream& operator<<(std::ostream& out, const RowText& row) {
    return out << row.cells << " [" << row.best << "]";
}

std::map<std::string, RowText> Rows(const TVariantsTable& table) {
    std::map<std::string, RowText> rows;
    for (const TVariantsRow& row : table.Rows) {
        RowText text;
        for (size_t i = 0; i < row.Cells.size(); ++i) {
            text.cells += (i ? " | " : "") + Utf16ToUtf8(row.Cells[i]);
            text.best += row.Best[i] ? 'x' : '.';
        }
        rows[Utf16ToUtf8(row.Name)] = text;
    }
    return rows;
}

const TEarthingInput Example = FirstExample(); // 12,5 Ом, 3 angles of 2,5 m in a row
const TEarthingInput FiveInContour = FirstExampleWith([](TEarthingInput& in) {
    in.Number = 5;
    in.MutualDisposition = 2;
});
// Long rods, and a connector so wide that its resistance is not positive: low ρэ and Rв, yet no total.
const TEarthingInput NoTotal = FirstExampleWith([](TEarthingInput& in) {
    in.Length = 10;
    in.WidthHor = 2000000;
});
// Sandy soil above 100 Ом∙м: the norm may be raised.
const TEarthingInput Sand = FirstExampleWith([](TEarthingInput& in) {
    in.TopLayer = u"500";
    in.BottomLayer = u"400";
    in.Number = 6;
});
// The same soil, round rods and a round connector, four rods, no climate factors.
const TEarthingInput SandRound = FirstExampleWith([](TEarthingInput& in) {
    in = Sand;
    in.Number = 4;
    in.ClimaticRegion = 5;
    in.Form = 2;
    in.Width = 16;
    in.FormHor = 3;
    in.WidthHor = 10;
});

struct VariantsCase {
    const char* name;
    std::vector<TVariant> variants;
    TNormChoice norm;
    char16_t separator;
    std::map<std::string, RowText> rows; // a selection, name -> cells and marks
};

const VariantsCase Cases[] = {
    {"TiesAndAVariantWithoutATotal",
     {{u"А", Example}, {u"Б", FiveInContour}, {u"В", NoTotal}, {u"А2", Example}},
     {10, false},
     u',',
     {{"Длина электрода, м", {"2,5 | 2,5 | 10 | 2,5", "...."}},
      {"Эквивалентное удельное сопротивление ρэ, Ом∙м", {"71 | 71 | 62 | 71", "xx.x"}},
      {"Сопротивление одного электрода Rв, Ом", {"33,1 | 33,1 | 9,4 | 33,1", "xx.x"}},
      {"Длина соединителя L, м", {"5 | 12,5 | 20 | 5", "...."}},
      {"Сопротивление соединителя Rг, Ом", {"87 | 43 | - | 87", ".x.."}},
      {"Общее сопротивление R, Ом", {"12,5 | 9,4 | - | 12,5", ".x.."}},
      {"Масса электродов, кг", {"28 | 46,6 | 111,9 | 28", "x..x"}},
      {"Масса металла всего, кг", {"34,2 | 62,3 | 1256111,9 | 34,2", "x..x"}},
      {"Норма 10 Ом",
       {"не соответствует: 12,5 Ом > 10 Ом | соответствует: 9,4 Ом ≤ 10 Ом | не соответствует 10 Ом | "
        "не соответствует: 12,5 Ом > 10 Ом",
        ".x.."}}}},
    {"RaisedNormPointSeparatorRoundSteel",
     {{u"A", Example}, {u"Sand", Sand}, {u"Round", SandRound}},
     {10, true},
     u'.',
     {{"Климатич. район", {"II | II | не учитывается", "..."}},
      {"Вертикальные электроды", {"уголок | уголок | круг", "..."}},
      {"Соединитель", {"полоса | полоса | круг", "..."}},
      {"Толщина верхнего пласта, м", {"1.5 | 1.5 | 1.5", "..."}},
      {"Общее сопротивление R, Ом", {"12.5 | 43 | 39.9", "x.."}},
      {"Масса электродов, кг", {"28 | 55.9 | 15.8", "..x"}},
      {"Масса соединителя, кг", {"6.3 | 15.7 | 4.6", "..x"}},
      {"Норма 10 Ом, повышенная по ρэ",
       {"не соответствует: 12.5 Ом > 10 Ом | соответствует: 43 Ом ≤ 43.4 Ом | соответствует: 39.9 Ом ≤ 43.4 "
        "Ом",
        ".xx"}}}},
    // 12,46 and 12,5 Ом both show "12,5": equal as the reader sees them, so both are best.
    {"EqualAsShownIsATie",
     {{u"2,5 м", Example}, {u"2,51 м", FirstExampleWith([](TEarthingInput& in) { in.Length = 2.51; })}},
     {4, false},
     u',',
     {{"Сопротивление одного электрода Rв, Ом", {"33,1 | 33", ".x"}},
      {"Общее сопротивление R, Ом", {"12,5 | 12,5", "xx"}},
      {"Масса металла всего, кг", {"34,2 | 34,4", "x."}},
      {"Норма 4 Ом", {"не соответствует: 12,5 Ом > 4 Ом | не соответствует: 12,5 Ом > 4 Ом", ".."}}}},
    {"OneSingleRod",
     {{u"1", FirstExampleWith([](TEarthingInput& in) { in.Number = 1; })}},
     {30, false},
     u',',
     {{"Сопротивление соединителя Rг, Ом", {"∞", "."}},
      {"Общее сопротивление R, Ом", {"33,1", "x"}},
      {"Масса соединителя, кг", {"0", "x"}},
      {"Норма 30 Ом", {"не соответствует: 33,1 Ом > 30 Ом", "."}}}},
};

class VariantsTable : public testing::TestWithParam<VariantsCase> {};

TEST_P(VariantsTable, RowsAndBestMarks) {
    const VariantsCase& c = GetParam();
    const TVariantsTable table = BuildVariantsTable(c.variants, c.norm, c.separator, u',');
    ASSERT_EQ(table.Columns.size(), c.variants.size());
    ASSERT_EQ(table.Rows.size(), 22u); // 13 inputs, 8 results and the verdict
    const std::map<std::string, RowText> rows = Rows(table);
    for (const auto& [name, expected] : c.rows) {
        ASSERT_TRUE(rows.count(name)) << name;
        EXPECT_EQ(rows.at(name), expected) << name;
    }
    for (const TVariantsRow& row : table.Rows) {
        EXPECT_EQ(row.Cells.size(), c.variants.size());
        if (!row.Result) { // inputs are never judged
            EXPECT_EQ(std::count(row.Best.begin(), row.Best.end(), true), 0) << Utf16ToUtf8(row.Name);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, VariantsTable, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VariantsText, TabSeparatedWithoutMarksAndWithoutBreaksInsideCells) {
    const TEarthingInput typed =
        FirstExampleWith([](TEarthingInput& in) { in.TopLayer = u"глина\tсухая\n(100)"; });
    const TVariantsTable table =
        BuildVariantsTable({{u"Дом", Example}, {u"Баня\nновая", typed}}, {10, false}, u',', u',');
    const std::string text = Utf16ToUtf8(VariantsTableText(table));
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "\tДом\tБаня новая\n");
    EXPECT_NE(text.find("\nВерхний пласт\tСуглинок полутвёрдый лёссовидный (100)\tглина сухая (100)\n"),
              std::string::npos);
    EXPECT_NE(text.find("\nОбщее сопротивление R, Ом\t12,5\t12,5\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 23);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 23 * 2);
}

// The masses against steel tables: 50×50×5 angle 3,77 kg/m (3,73 with square corners), round bar
// 16 mm 1,578 kg/m and 10 mm 0,617 kg/m, strip 40×4 1,256 kg/m.
TEST(VariantsMass, RodsAndConnectorPerMetreAsSteelTablesGiveThem) {
    struct MassCase {
        int32_t form, formHor;
        int64_t width, widthHor;
        double rodsPerMetre, connectorPerMetre;
    };
    for (const MassCase& c : {MassCase{1, 1, 50, 40, 3.729, 1.256}, MassCase{2, 3, 16, 10, 1.578, 0.617},
                              MassCase{1, 2, 63, 50, 5.92, 3.729}}) {
        TEarthingInput in = FirstExample();
        in.Form = c.form;
        in.FormHor = c.formHor;
        in.Width = c.width;
        in.WidthHor = c.widthHor;
        in.Number = 4;
        in.Length = 2.5;
        EXPECT_NEAR(RodsMass(in), 10 * c.rodsPerMetre, 0.01 * c.rodsPerMetre) << c.width;
        EXPECT_NEAR(ConnectorMass(in, 20), 20 * c.connectorPerMetre, 0.02 * c.connectorPerMetre)
            << c.widthHor;
    }
}

} // namespace

namespace {

// The document shows the variants only when it is given some, against its own chosen norm.
TEST(VariantsInTheDocument, ASectionOnlyWhenVariantsAreGiven) {
    EXPECT_FALSE(BuildEarthingReport(Example, {10, false}, u',', u',').Variants);
    const TReport report =
        BuildEarthingReport(Example, {4, false}, u',', u',', {{u"А", Example}, {u"Б", FiveInContour}});
    ASSERT_TRUE(report.Variants);
    EXPECT_EQ(Utf16ToUtf8(report.VariantsHeading), "Сравнение вариантов");
    EXPECT_EQ(Rows(*report.Variants).at("Норма 4 Ом").cells,
              "не соответствует: 12,5 Ом > 4 Ом | не соответствует: 9,4 Ом > 4 Ом");
}

} // namespace
