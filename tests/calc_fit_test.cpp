// Fitting the arrangement to a required resistance, checked against the calculation itself.
#include "fit.h"
#include "worked_examples.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEarthingResult RunAt(TEarthingInput input, int32_t layout, int32_t multiple, int32_t count,
                      std::optional<double> rodLength = std::nullopt) {
    input.MutualDisposition = layout;
    input.IntervalMultiplicity = multiple;
    input.Number = count;
    if (rodLength)
        input.Length = *rodLength;
    return ComputeEarthing(input, u',', u',');
}

bool Reaches(const TEarthingResult& r, double required) {
    return HasMeaningfulTotal(r) && r.TotalResistance <= required;
}

struct FitCase {
    const char* name;
    TEarthingInput input;
    double required;
};

TEarthingInput With(std::u16string top, std::u16string bottom, double length, int32_t form = 1,
                    int32_t formHor = 1, int32_t region = 2) {
    TEarthingInput input = FirstExample();
    input.TopLayer = std::move(top);
    input.BottomLayer = std::move(bottom);
    input.Length = length;
    input.Form = form;
    input.FormHor = formHor;
    input.ClimaticRegion = region;
    return input;
}

const std::vector<FitCase>& FitCases() {
    static const std::vector<FitCase> cases = {
        {"first example, 10 Ом", FirstExample(), 10},
        {"first example, 4 Ом", FirstExample(), 4},
        {"first example, 30 Ом", FirstExample(), 30},
        {"first example, typed 7,3 Ом", FirstExample(), 7.3},
        {"wet clay, round rods and connector, 4 Ом", With(u"Глина влажная (20)", u"20", 3, 2, 3, 0), 4},
        {"sand 300 over 100, angle connector, 10 Ом", With(u"300", u"100", 2.5, 1, 2, 1), 10},
        {"sand 1000, 30 Ом", With(u"1000", u"1000", 3, 1, 1, 2), 30},
    };
    return cases;
}

// Every offered row reaches the requirement through the calculation, one rod fewer does not, the rows
// come by material, and each layout and multiple that reaches it at all is represented by its
// smallest count.
TEST(Fit, EveryRowIsVerifiedThroughTheCalculation) {
    for (const FitCase& c : FitCases()) {
        SCOPED_TRACE(c.name);
        const TFit fit = FitEarthing(c.input, c.required, u',', u',');
        ASSERT_TRUE(fit.Computable);
        ASSERT_FALSE(fit.Rows.empty());
        EXPECT_FALSE(fit.Best);
        for (size_t i = 0; i < fit.Rows.size(); ++i) {
            const TFitRow& row = fit.Rows[i];
            SCOPED_TRACE(testing::Message() << "layout " << row.MutualDisposition << ", a = "
                                            << row.IntervalMultiplicity << ", n = " << row.Number);
            const TEarthingResult r =
                RunAt(c.input, row.MutualDisposition, row.IntervalMultiplicity, row.Number);
            ASSERT_TRUE(Reaches(r, c.required));
            EXPECT_EQ(row.TotalResistance, r.TotalResistance);
            EXPECT_EQ(row.ConnectorLength, r.ConnectorLength);
            EXPECT_DOUBLE_EQ(row.RodLength, row.Number * c.input.Length);
            if (row.Number > 1) {
                EXPECT_FALSE(
                    Reaches(RunAt(c.input, row.MutualDisposition, row.IntervalMultiplicity, row.Number - 1),
                            c.required));
            }
            if (i > 0) {
                EXPECT_LE(fit.Rows[i - 1].Material(), row.Material());
            }
        }
        for (int32_t layout : {1, 2}) {
            for (int32_t multiple = 1; multiple <= 4; ++multiple) {
                int32_t smallest = 1;
                while (smallest <= 20 && !Reaches(RunAt(c.input, layout, multiple, smallest), c.required))
                    ++smallest;
                if (smallest > 20)
                    continue;
                const TEarthingResult r = RunAt(c.input, layout, multiple, smallest);
                const bool listed = std::any_of(fit.Rows.begin(), fit.Rows.end(), [&](const TFitRow& row) {
                    return row.Number == smallest && row.TotalResistance == r.TotalResistance &&
                           row.ConnectorLength == r.ConnectorLength;
                });
                EXPECT_TRUE(listed) << "layout " << layout << ", a = " << multiple << ", n = " << smallest;
            }
        }
    }
}

TEST(Fit, OneArrangementIsListedOnce) {
    // 30 Ом: one rod of the first example (about 27,8 Ом at 3 m) reaches it at any layout and multiple.
    TEarthingInput input = FirstExample();
    input.Length = 3;
    const TFit single = FitEarthing(input, 30, u',', u',');
    ASSERT_EQ(single.Rows.size(), 1u);
    EXPECT_EQ(single.Rows[0].Number, 1);
    EXPECT_EQ(single.Rows[0].ConnectorLength, 0);

    // Two rods stand the same in a row and in a contour: one row for each multiple.
    const double twoRods = RunAt(input, 1, 1, 2).TotalResistance;
    const TFit two = FitEarthing(input, twoRods, u',', u',');
    int pairs = 0;
    for (const TFitRow& row : two.Rows)
        pairs += row.Number == 2 && row.IntervalMultiplicity == 1;
    EXPECT_EQ(pairs, 1);
}

TEST(Fit, NotReachedGivesTheBestArrangementAndTheRodLengthThatReachesIt) {
    const TEarthingInput input = With(u"1000", u"1000", 3);
    const double required = 4;
    const TFit fit = FitEarthing(input, required, u',', u',');
    ASSERT_TRUE(fit.Computable);
    EXPECT_TRUE(fit.Rows.empty());
    ASSERT_TRUE(fit.Best);

    // The best is the lowest total of all 160 arrangements.
    double lowest = INFINITY;
    for (int32_t layout : {1, 2})
        for (int32_t multiple = 1; multiple <= 4; ++multiple)
            for (int32_t count = 1; count <= 20; ++count)
                lowest = std::min(lowest, RunAt(input, layout, multiple, count).TotalResistance);
    EXPECT_EQ(fit.Best->TotalResistance, lowest);
    EXPECT_GT(lowest, required);

    ASSERT_TRUE(fit.Reaching);
    const double length = fit.Reaching->Length;
    EXPECT_EQ(length, std::round(length * 10) / 10);
    const TFitRow& best = *fit.Best;
    const TEarthingResult reaching =
        RunAt(input, best.MutualDisposition, best.IntervalMultiplicity, best.Number, length);
    EXPECT_TRUE(Reaches(reaching, required));
    EXPECT_EQ(fit.Reaching->TotalResistance, reaching.TotalResistance);
    EXPECT_EQ(fit.Reaching->Number, best.Number);
    EXPECT_FALSE(
        Reaches(RunAt(input, best.MutualDisposition, best.IntervalMultiplicity, best.Number, length - 0.1),
                required));

    // A requirement out of reach even for rods of a kilometre: the best arrangement, no length.
    const TFit never = FitEarthing(input, 0.01, u',', u',');
    EXPECT_TRUE(never.Best);
    EXPECT_FALSE(never.Reaching);
}

// The rod length offered when nothing reaches the requirement is the shortest on the grid of tenths that
// reaches it, as a run at every tenth from 1 m (the shortest rod the window takes) to 1000 m finds it: also
// where the total falls, rises and falls again against the length (rods growing from a good layer into rock),
// where a shorter rod than the current one reaches it, and where the shortest rods give no total at all (a
// connector so wide that its resistance is not positive).
TEST(Fit, TheOfferedRodLengthIsTheShortestThatReaches) {
    const auto riverOverRock = [](double length, int64_t widthHor, int32_t region = 0) {
        TEarthingInput input = FirstExample();
        input.ClimaticRegion = region; // 0: climate not considered
        input.TopLayer = u"Дно реки (200)";
        input.BottomLayer = u"Скала (4000)";
        input.Thickness = 1.7;
        input.Depth = 0.4;
        input.Length = length;
        input.WidthHor = widthHor;
        return input;
    };
    const struct {
        const char* name;
        TEarthingInput input;
        double required;
        std::optional<double> length; // where known by hand
    } cases[] = {
        {"one rod: 1,3 m in the river bed, not 16 m into the rock", riverOverRock(1.2, 0), 110, 1.3},
        {"one rod of 3 m: a shorter one reaches it", riverOverRock(3, 0), 110, 1.3},
        {"one rod, just below the dip at 1,3 m: deep into the rock", riverOverRock(1.2, 0), 105, {}},
        {"an absurd connector width: no total below a length", riverOverRock(1.2, 199'526, 2), 4, {}},
        {"an absurd connector width, twenty rods", riverOverRock(1.2, 281'838, 1), 4, {}},
        {"a connector wider than any rod length can outgrow", riverOverRock(1.2, 1'000'000'000'000), 110, {}},
        {"sand 1000, 4 Ом", With(u"1000", u"1000", 3), 4, {}},
        {"sand 1000, out of reach", With(u"1000", u"1000", 3), 0.01, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TFit fit = FitEarthing(c.input, c.required, u',', u',');
        ASSERT_TRUE(fit.Rows.empty());
        ASSERT_TRUE(fit.Best);
        const TFitRow& best = *fit.Best;
        std::optional<double> shortest;
        for (int tenths = 10; tenths <= 10000 && !shortest; ++tenths) {
            const double length = tenths / 10.0;
            if (Reaches(
                    RunAt(c.input, best.MutualDisposition, best.IntervalMultiplicity, best.Number, length),
                    c.required))
                shortest = length;
        }
        ASSERT_EQ(fit.Reaching.has_value(), shortest.has_value());
        if (!shortest)
            continue;
        EXPECT_EQ(fit.Reaching->Length, *shortest);
        EXPECT_EQ(fit.Reaching->Number, best.Number);
        if (c.length) {
            EXPECT_EQ(*shortest, *c.length);
        }
    }
}

TEST(Fit, InputsThatGiveNoTotal) {
    TEarthingInput noSoil = FirstExample();
    noSoil.TopLayer = u"Суглинок";
    const TFit none = FitEarthing(noSoil, 10, u',', u',');
    EXPECT_FALSE(none.Computable);
    EXPECT_EQ(none.StopStage, 2);
    EXPECT_TRUE(none.Rows.empty());
    EXPECT_FALSE(none.Best);

    // Without a connector width only the single rod gives a total.
    TEarthingInput noConnector = FirstExample();
    noConnector.WidthHor = 0;
    const TFit single = FitEarthing(noConnector, 1000, u',', u',');
    ASSERT_EQ(single.Rows.size(), 1u);
    EXPECT_EQ(single.Rows[0].Number, 1);
    const TFit notReached = FitEarthing(noConnector, 1, u',', u',');
    ASSERT_TRUE(notReached.Best);
    EXPECT_EQ(notReached.Best->Number, 1);
}

TEST(Fit, RaisedNorm) {
    const struct {
        double norm, resistivity, raised;
    } cases[] = {{10, 50, 10},    {10, 100, 10},     {10, 100.5, 10},     {10, 120, 12},
                 {4, 250, 10},    {10, 562.5, 56.2}, {30, 747.29, 224.1}, {30, 1000, 300},
                 {30, 5000, 300}, {10, NAN, 10},     {10, INFINITY, 10}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RaisedNorm(c.norm, c.resistivity), c.raised) << c.norm << " at " << c.resistivity;

    const TEarthingResult r = ComputeEarthing(FirstExample(), u',', u',');
    ASSERT_TRUE(NormResistivity(r));
    EXPECT_EQ(*NormResistivity(r), r.EquivalentResistivity); // before the climate factor
    TEarthingInput noSoil = FirstExample();
    noSoil.BottomLayer = u"";
    EXPECT_FALSE(NormResistivity(ComputeEarthing(noSoil, u',', u',')));
}

} // namespace
