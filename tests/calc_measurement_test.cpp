// The soil corrected by a measured resistance, and the fit that keeps the driven rods, checked
// against the calculation itself.
#include "measurement.h"
#include "number_format.h"
#include "resistivity_text.h"
#include "worked_examples.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr char16_t Comma = u',';

TEarthingResult Calc(const TEarthingInput& input) {
    return ComputeEarthing(input, Comma, Comma);
}

TEarthingInput Soil(std::u16string top, std::u16string bottom, double thickness, double length,
                    int32_t region = 2) {
    TEarthingInput input = FirstExample();
    input.TopLayer = std::move(top);
    input.BottomLayer = std::move(bottom);
    input.Thickness = thickness;
    input.Length = length;
    input.ClimaticRegion = region;
    return input;
}

TEarthingInput Arranged(TEarthingInput input, int32_t layout, int32_t multiple, int32_t count,
                        int32_t formHor = 1) {
    input.MutualDisposition = layout;
    input.IntervalMultiplicity = multiple;
    input.Number = count;
    input.FormHor = formHor;
    return input;
}

struct Case {
    const char* name;
    TEarthingInput input;
};

// Arrangements over every branch of the equivalent resistivity and the connector.
const std::vector<Case>& Arrangements() {
    static const std::vector<Case> cases = {
        {"first example: rods through both layers", FirstExample()},
        {"rods wholly in the upper layer, round connector, contour",
         Arranged(Soil(u"300", u"40", 3, 2), 2, 2, 6, 3)},
        {"upper layer thinner than the depth: everything in the lower one",
         Arranged(Soil(u"Супесь (300)", u"1000", 0.1, 3, 4), 1, 3, 4, 2)},
        {"one rod, no connector, climate not considered", Arranged(Soil(u"25", u"4000", 1, 5, 0), 1, 1, 1)},
        {"20 rods in a contour on rock under sea water",
         Arranged(Soil(u"Вода морская (0,2)", u"22500", 2, 2.5, 1), 2, 4, 20)},
    };
    return cases;
}

// Both layers scaled by s scale the rod's, the connector's and the total resistance by s.
TEST(Measurement, EveryResistanceIsProportionalToTheSoilScaledAsAWhole) {
    for (const Case& c : Arrangements()) {
        const TEarthingResult base = Calc(c.input);
        ASSERT_TRUE(HasMeaningfulTotal(base)) << c.name;
        for (const double s : {1e-3, 0.37, 1.0, 2.5, 17.0, 1e4}) {
            SCOPED_TRACE(std::string(c.name) + ", s = " + std::to_string(s));
            TEarthingInput scaled = c.input;
            scaled.TopLayer = FormatPlain(base.UpperResistivity * s, Comma);
            scaled.BottomLayer = FormatPlain(base.LowerResistivity * s, Comma);
            const TEarthingResult r = Calc(scaled);
            ASSERT_TRUE(HasMeaningfulTotal(r));
            EXPECT_NEAR(r.TotalResistance / base.TotalResistance, s, s * 1e-12);
            EXPECT_NEAR(r.RodResistance / base.RodResistance, s, s * 1e-12);
            ASSERT_EQ(r.ConnectorResistance.has_value(), base.ConnectorResistance.has_value());
            if (r.ConnectorResistance) {
                EXPECT_NEAR(*r.ConnectorResistance / *base.ConnectorResistance, s, s * 1e-12);
            }
        }
    }
}

TEST(Measurement, ReadsTheMeasuredTotalAsTyped) {
    const struct {
        const char16_t* text;
        std::optional<double> value;
        const char16_t* error; // a part of the message
    } cases[] = {
        {u"18", 18, nullptr},
        {u"18,5", 18.5, nullptr},
        {u"18.5", 18.5, nullptr},
        {u" 7 ", 7, nullptr},
        {u"1e1", 10, nullptr},
        {u"", std::nullopt, u"числом"},
        {u"18 Ом", std::nullopt, u"числом"},
        {u"nan", std::nullopt, u"числом"},
        {u"inf", std::nullopt, u"числом"},
        {u"1e999", std::nullopt, u"числом"},
        {u"1,2.3", std::nullopt, u"числом"},
        {u"0", std::nullopt, u"больше нуля"},
        {u"-3", std::nullopt, u"больше нуля"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::u16string(c.text).size());
        const TMeasuredTotal read = ReadMeasuredTotal(c.text, Comma);
        EXPECT_EQ(read.Value, c.value);
        if (c.error) {
            EXPECT_NE(read.Error.find(c.error), std::u16string::npos);
        } else {
            EXPECT_TRUE(read.Error.empty());
        }
    }
    // With a full stop as the user's separator both still read.
    EXPECT_EQ(ReadMeasuredTotal(u"18,5", u'.').Value, 18.5);
}

TEST(Measurement, CorrectedSoilTextReadsBackByTheSoilTextRules) {
    const struct {
        double resistivity;
        char16_t user, system;
        const char16_t* text;
        double read;
    } cases[] = {
        {418.27, u',', u',', u"По замеру (418)", 418},
        {41.827, u',', u',', u"По замеру (41,8)", 41.8},
        {0.13456, u',', u',', u"По замеру (0,135)", 0.135},
        {99.96, u',', u',', u"По замеру (100)", 100},
        {22500.4, u'.', u'.', u"По замеру (22500)", 22500},
        {41.827, u'.', u'.', u"По замеру (41.8)", 41.8},
        // Separators that differ let no fraction read back: whole ohm-metres within 5 %.
        {41.827, u',', u'.', u"По замеру (42)", 42},
        {19.6, u'.', u',', u"По замеру (20)", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resistivity);
        const std::u16string text = CorrectedSoilText(c.resistivity, c.user, c.system).value_or(u"");
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(ParseResistivity(ExtractResistivityText(text, c.system), c.user), c.read);
    }
    // A number that would need an exponent has no text: its letter would be dropped.
    for (const double beyond : {4e-5, 8e306, std::numeric_limits<double>::infinity(), 0.0})
        EXPECT_FALSE(CorrectedSoilText(beyond, u',', u',')) << beyond;
    // Nor has a fraction that whole ohm-metres would change by more than 5 %.
    EXPECT_FALSE(CorrectedSoilText(1.4, u',', u'.'));
}

// k compares the measurement with the total as the window computes it (worst state) or without the
// climate factors (ordinary state); the corrected soil gives back the measurement in the same terms.
TEST(Measurement, CorrectsTheSoilByOneFactorInBothStates) {
    for (const Case& c : Arrangements()) {
        for (const TSoilState state : {TSoilState::Worst, TSoilState::Ordinary}) {
            for (const double ratio : {0.3, 1.0, 1.44, 6.0}) {
                SCOPED_TRACE(std::string(c.name) + (state == TSoilState::Worst ? ", worst" : ", ordinary") +
                             ", ratio " + std::to_string(ratio));
                TEarthingInput compared = c.input;
                if (state == TSoilState::Ordinary)
                    compared.ClimaticRegion = NoClimaticRegion;
                const TEarthingResult reference = Calc(compared);
                const double measured = reference.TotalResistance * ratio;

                const TSoilCorrection k = CorrectSoil(c.input, measured, state, Comma, Comma);
                ASSERT_TRUE(k.Error.empty());
                EXPECT_EQ(k.Calculated, reference.TotalResistance);
                EXPECT_DOUBLE_EQ(k.Factor, ratio);
                // The texts carry three significant digits of k·ρ.
                EXPECT_NEAR(k.UpperResistivity, reference.UpperResistivity * ratio,
                            k.UpperResistivity * 5e-3);
                EXPECT_NEAR(k.LowerResistivity, reference.LowerResistivity * ratio,
                            k.LowerResistivity * 5e-3);
                EXPECT_EQ(k.Corrected.TopLayer, k.TopLayer);
                EXPECT_EQ(k.Corrected.BottomLayer, k.BottomLayer);
                EXPECT_EQ(k.Corrected.ClimaticRegion, c.input.ClimaticRegion);

                TEarthingInput correctedCompared = k.Corrected;
                correctedCompared.ClimaticRegion = compared.ClimaticRegion;
                EXPECT_NEAR(Calc(correctedCompared).TotalResistance, measured, measured * 5e-3);
                // The region's factors on the corrected soil: k times the window's total.
                EXPECT_EQ(k.CorrectedTotal, Calc(k.Corrected).TotalResistance);
                EXPECT_NEAR(k.CorrectedTotal, Calc(c.input).TotalResistance * ratio, k.CorrectedTotal * 5e-3);
            }
        }
    }
}

// The first example in figures: 12,5 Ом computed in region II, 18 Ом measured.
TEST(Measurement, FirstExampleInFigures) {
    const TSoilCorrection worst = CorrectSoil(FirstExample(), 18, TSoilState::Worst, Comma, Comma);
    EXPECT_EQ(FormatTenths(worst.Calculated, Comma), u"12,5");
    EXPECT_EQ(FormatFactor(worst.Factor, Comma), u"1,44");
    EXPECT_EQ(worst.TopLayer, u"По замеру (144)");
    EXPECT_EQ(worst.BottomLayer, u"По замеру (86,3)");

    // Measured in an ordinary season: compared with 7,4 Ом, the total without the region's factors.
    const TSoilCorrection ordinary = CorrectSoil(FirstExample(), 18, TSoilState::Ordinary, Comma, Comma);
    EXPECT_EQ(FormatTenths(ordinary.Calculated, Comma), u"7,4");
    EXPECT_GT(ordinary.Factor, 2);
    EXPECT_GT(ordinary.CorrectedTotal, 18);
}

TEST(Measurement, RefusesWhatCannotBeCorrected) {
    TEarthingInput unreadableTop = FirstExample();
    unreadableTop.TopLayer = u"Глина";
    TEarthingInput unreadableBottom = FirstExample();
    unreadableBottom.BottomLayer = u"(0)";
    TEarthingInput narrowRods = FirstExample();
    narrowRods.Width = 3;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        TEarthingInput input;
        double measured;
        const char16_t* error; // a part of the message
    } cases[] = {
        {"zero", FirstExample(), 0, u"больше нуля"},
        {"negative", FirstExample(), -5, u"больше нуля"},
        {"NaN", FirstExample(), nan, u"больше нуля"},
        {"infinity", FirstExample(), inf, u"больше нуля"},
        {"upper soil without a resistivity", unreadableTop, 18, u"верхнего пласта"},
        {"lower soil of zero", unreadableBottom, 18, u"нижнего пласта"},
        {"no total: rods too narrow", narrowRods, 18, u"Нет расчётного сопротивления"},
        {"a soil too resistive for a plain number", FirstExample(), 1e306, u"не записать"},
        {"a soil too conductive for a plain number", FirstExample(), 1e-6, u"не записать"},
    };
    for (const auto& c : cases) {
        for (const TSoilState state : {TSoilState::Worst, TSoilState::Ordinary}) {
            SCOPED_TRACE(c.name);
            const TSoilCorrection k = CorrectSoil(c.input, c.measured, state, Comma, Comma);
            EXPECT_NE(k.Error.find(c.error), std::u16string::npos);
            EXPECT_TRUE(k.TopLayer.empty());
        }
    }
}

// Every offered row keeps the driven rods and reaches the norm through the calculation; a row with
// lengthened rods is the shortest that reaches it.
TEST(Measurement, FitKeepsTheDrivenRodsAndEveryRowReachesTheNorm) {
    const struct {
        const char* name;
        TEarthingInput built;
        double measured;
        double norm;
    } cases[] = {
        {"three rods, 18 Ом measured, 10 Ом", FirstExample(), 18, 10},
        {"three rods, 18 Ом measured, 4 Ом", FirstExample(), 18, 4},
        {"one rod of 3 m on sand, 120 Ом measured, 30 Ом", Arranged(Soil(u"300", u"300", 3, 3), 1, 1, 1), 120,
         30},
        {"a contour of 4 on a thin upper layer, 9 Ом measured, 4 Ом",
         Arranged(Soil(u"50", u"2000", 0.6, 2), 2, 2, 4), 9, 4},
        {"18 rods in a row, 40 Ом measured, 10 Ом", Arranged(Soil(u"400", u"400", 1.5, 2.5), 1, 1, 18), 40,
         10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TSoilCorrection k = CorrectSoil(c.built, c.measured, TSoilState::Worst, Comma, Comma);
        ASSERT_TRUE(k.Error.empty());
        const TKeptRodsFit fit = FitKeepingRods(k.Corrected, c.norm, Comma, Comma);
        ASSERT_TRUE(fit.Computable);
        ASSERT_FALSE(fit.Rows.empty());
        EXPECT_EQ(fit.Built.Number, c.built.Number);
        EXPECT_EQ(fit.Built.Length, c.built.Length);
        double previous = 0;
        for (const TFitRow& row : fit.Rows) {
            EXPECT_EQ(row.MutualDisposition, c.built.MutualDisposition);
            EXPECT_EQ(row.IntervalMultiplicity, c.built.IntervalMultiplicity);
            EXPECT_GE(row.Number, c.built.Number);
            EXPECT_GE(row.Length, c.built.Length);
            EXPECT_GE(fit.AddedMetal(row), previous);
            previous = fit.AddedMetal(row);

            TEarthingInput fed = Arranged(k.Corrected, row.MutualDisposition, row.IntervalMultiplicity,
                                          row.Number, k.Corrected.FormHor);
            fed.Length = row.Length;
            const TEarthingResult r = Calc(fed);
            ASSERT_TRUE(HasMeaningfulTotal(r));
            EXPECT_LE(r.TotalResistance, c.norm);
            EXPECT_EQ(r.TotalResistance, row.TotalResistance);
            EXPECT_EQ(row.Material(), row.Number * row.Length + r.ConnectorLength);
            if (row.Length > c.built.Length) {
                fed.Length = std::max(c.built.Length, std::round(row.Length * 10 - 1) / 10);
                EXPECT_GT(Calc(fed).TotalResistance, c.norm) << "a shorter rod reaches it too";
            }
        }
    }
}

TEST(Measurement, FitOfABuiltArrangementThatReachesTheNormOrCannot) {
    const TKeptRodsFit reached = FitKeepingRods(FirstExample(), 30, Comma, Comma);
    ASSERT_EQ(reached.Rows.size(), 1u);
    EXPECT_EQ(reached.Rows[0].Number, 3);
    EXPECT_EQ(reached.Rows[0].Length, 2.5);
    EXPECT_EQ(reached.AddedMetal(reached.Rows[0]), 0);

    // On granite bedrock 0,1 Ом is out of reach for any count and length.
    const TKeptRodsFit never =
        FitKeepingRods(Soil(u"Гранитное основание (22500)", u"22500", 1.5, 2.5), 0.1, Comma, Comma);
    EXPECT_TRUE(never.Computable);
    EXPECT_TRUE(never.Rows.empty());

    TEarthingInput unreadable = FirstExample();
    unreadable.TopLayer = u"Глина";
    const TKeptRodsFit none = FitKeepingRods(unreadable, 10, Comma, Comma);
    EXPECT_FALSE(none.Computable);
    EXPECT_EQ(none.StopStage, 2);
}

} // namespace
