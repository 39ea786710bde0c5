#include "earthing.h"
#include "soil_catalogue.h"
#include "worked_examples.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Text = std::optional<std::u16string>;
constexpr std::nullopt_t kept = std::nullopt; // the run leaves the label as it was

struct Expected {
    int32_t stopStage;
    Text l31, l21, l25, l18, l33, l35, l38, l30, l28, l39;
    std::optional<bool> enabled;
};

struct PipelineCase {
    const char* name;
    std::function<void(TEarthingInput&)> change;
    Expected expected;
};

void ExpectLabels(const TEarthingLabels& got, const Expected& want) {
    EXPECT_EQ(got.sLabel31, want.l31) << "sLabel31";
    EXPECT_EQ(got.sLabel21, want.l21) << "sLabel21";
    EXPECT_EQ(got.sLabel25, want.l25) << "sLabel25";
    EXPECT_EQ(got.sLabel18, want.l18) << "sLabel18";
    EXPECT_EQ(got.sLabel33, want.l33) << "sLabel33";
    EXPECT_EQ(got.sLabel35, want.l35) << "sLabel35";
    EXPECT_EQ(got.sLabel38, want.l38) << "sLabel38";
    EXPECT_EQ(got.sLabel30, want.l30) << "sLabel30";
    EXPECT_EQ(got.sLabel28, want.l28) << "sLabel28";
    EXPECT_EQ(got.sLabel39, want.l39) << "sLabel39";
    EXPECT_EQ(got.ConnectorEnabled, want.enabled) << "ConnectorEnabled";
}

TEST(Pipeline, LabelsOfEveryCase) {
    const PipelineCase cases[] = {
        {"first example",
         [](TEarthingInput&) {},
         {0, u"2,5 м.", u"71", u"104", u"33,1", u"2,5 м.", u"0,78", u"0,81", u"5", u"87", u"12,5 Ом", true}},
        {"closed contour, n = 4, a = 2",
         [](TEarthingInput& in) { in.MutualDisposition = 2, in.Number = 4, in.IntervalMultiplicity = 2; },
         {0, u"2,5 м.", u"71", u"104", u"33,1", u"5 м.", u"0,77", u"0,55", u"20", u"29", u"9 Ом", true}},
        {"one rod, no connector width needed",
         [](TEarthingInput& in) { in.Number = 1, in.WidthHor = 0; },
         {0, u"2,5 м.", u"71", u"104", u"33,1", u"2,5 м.", u"1", u"0", u"0", u"∞", u"33,1 Ом", false}},
        {"one rod of 3 m",
         [](TEarthingInput& in) { in.Number = 1, in.Length = 3.0; },
         {0, u"3 м.", u"69", u"100", u"27,8", u"3 м.", u"1", u"0", u"0", u"∞", u"27,8 Ом", false}},
        {"rods wholly in the lower layer (h < t)",
         [](TEarthingInput& in) { in.Thickness = 0.3; },
         {0, u"2,5 м.", u"60", u"87", u"27,8", u"2,5 м.", u"0,78", u"0,81", u"5", u"52", u"10 Ом", true}},
        {"h = t: the formula, and the connector in the upper layer",
         [](TEarthingInput& in) { in.Thickness = 0.5; },
         {0, u"2,5 м.", u"60", u"87", u"27,8", u"2,5 м.", u"0,78", u"0,81", u"5", u"87", u"10,7 Ом", true}},
        {"ties to even: 70,5",
         [](TEarthingInput& in) { in.ClimaticRegion = 0, in.TopLayer = in.BottomLayer = u"70,5"; },
         {0, u"2,5 м.", u"70", u"70", u"22,5", u"2,5 м.", u"0,78", u"0,81", u"5", u"18", u"6,7 Ом", true}},
        {"ties to even: 71,5",
         [](TEarthingInput& in) { in.ClimaticRegion = 0, in.TopLayer = in.BottomLayer = u"71,5"; },
         {0, u"2,5 м.", u"72", u"72", u"22,9", u"2,5 м.", u"0,78", u"0,81", u"5", u"18", u"6,8 Ом", true}},
        {"empty upper layer stops at 2",
         [](TEarthingInput& in) { in.TopLayer.clear(); },
         {2, kept, kept, kept, kept, kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"zero lower layer stops at 3",
         [](TEarthingInput& in) { in.BottomLayer = u"(0)"; },
         {3, kept, kept, kept, kept, kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"l = 0 stops at 5 after its echo",
         [](TEarthingInput& in) { in.Length = 0; },
         {5, u"0 м.", kept, kept, kept, kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"width 7 stops at 8",
         [](TEarthingInput& in) { in.Width = 7; },
         {8, u"2,5 м.", u"71", u"104", kept, kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"width 1001 stops at 8",
         [](TEarthingInput& in) { in.Width = 1001; },
         {8, u"2,5 м.", u"71", u"104", kept, kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"a = 0 stops at 11",
         [](TEarthingInput& in) { in.IntervalMultiplicity = 0; },
         {11, u"2,5 м.", u"71", u"104", u"33,1", kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"a = 5 stops at 11",
         [](TEarthingInput& in) { in.IntervalMultiplicity = 5; },
         {11, u"2,5 м.", u"71", u"104", u"33,1", kept, kept, kept, kept, kept, u"- Ом", {}}},
        {"n = 0 stops at 12",
         [](TEarthingInput& in) { in.Number = 0; },
         {12, u"2,5 м.", u"71", u"104", u"33,1", u"2,5 м.", kept, kept, kept, kept, u"- Ом", {}}},
        {"n = 21 stops at 12",
         [](TEarthingInput& in) { in.Number = 21; },
         {12, u"2,5 м.", u"71", u"104", u"33,1", u"2,5 м.", kept, kept, kept, kept, u"- Ом", {}}},
        {"connector width 0 stops at 15",
         [](TEarthingInput& in) { in.WidthHor = 0; },
         {15, u"2,5 м.", u"71", u"104", u"33,1", u"2,5 м.", u"0,78", u"0,81", u"5", kept, u"- Ом", true}},
        // Rods wholly in the upper layer (h − t > l): the two-layer formula would divide by zero
        // here (l = 1, h = 2.5, t = 0.5, ρ1 = 100, ρ2 = 50); the rods see ρ1.
        {"rods wholly in the upper layer",
         [](TEarthingInput& in) { in.Length = 1, in.Thickness = 2.5, in.BottomLayer = u"50"; },
         {0, u"1 м.", u"100", u"145", u"92,1", u"1 м.", u"0,78", u"0,81", u"2", u"167", u"33 Ом", true}},
        // A connector wider than its own length gives a negative resistance: no garbage on screen.
        {"meaningless connector resistance",
         [](TEarthingInput& in) { in.WidthHor = 1'000'000'000'000; },
         {0, u"2,5 м.", u"71", u"104", u"33,1", u"2,5 м.", u"0,78", u"0,81", u"5", u"-", u"- Ом", true}},
        // A resistivity near the largest double overflows with the climate factor; the connector,
        // which does not take that factor, still has a value.
        {"infinite resistivity",
         [](TEarthingInput& in) { in.Thickness = 0.3, in.BottomLayer = u"13" + std::u16string(307, u'0'); },
         {0, u"2,5 м.", u"1,3E308", u"-", u"-", u"2,5 м.", u"0,78", u"0,81", u"5", u"1,13171789928831E308",
          u"- Ом", true}},
    };
    for (const PipelineCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEarthingInput input = FirstExample();
        c.change(input);
        const TEarthingResult result = ComputeEarthing(input, u',', u',');
        const Expected& expected = c.expected;
        EXPECT_EQ(result.StopStage, expected.stopStage);
        ExpectLabels(EarthingLabels(input, result, u','), expected);
    }
}

TEST(Pipeline, DecimalResistivityNeedsMatchingSeparators) {
    TEarthingInput in = FirstExample();
    in.TopLayer = std::u16string(SoilCatalogue[0]); // "Вода морская (0,2)"
    EXPECT_EQ(ComputeEarthing(in, u',', u'.').StopStage, 2);
    EXPECT_EQ(ComputeEarthing(in, u',', u',').StopStage, 0);
    EXPECT_EQ(ComputeEarthing(in, u'.', u'.').StopStage, 0);
    EXPECT_EQ(EarthingLabels(in, ComputeEarthing(in, u',', u'.'), u',').sLabel39, u"- Ом");
}

TEST(Pipeline, ExactValuesOfTheFirstExample) {
    const TEarthingResult r = ComputeEarthing(FirstExample(), u',', u',');
    EXPECT_EQ(r.RodClimateFactor, 1.45);
    EXPECT_EQ(r.ConnectorClimateFactor, 3.5);
    EXPECT_EQ(r.UpperResistivity, 100);
    EXPECT_EQ(r.LowerResistivity, 60);
    EXPECT_NEAR(r.EquivalentResistivity, 15000.0 / 210.0, 1e-12);
    EXPECT_EQ(r.RodDiameter, 0.0475);
    EXPECT_EQ(r.RodMidDepth, 1.75);
    EXPECT_EQ(r.ConnectorResistivity, 100);
    EXPECT_EQ(r.Interval, 2.5);
    EXPECT_EQ(r.IntervalCount, 2);
    EXPECT_EQ(r.ConnectorLength, 5);
    ASSERT_TRUE(r.ConnectorResistance.has_value());
    EXPECT_NEAR(*r.ConnectorResistance, 87.0552, 0.0001);
    EXPECT_NEAR(r.TotalResistance, 12.508, 0.001);
}

TEST(Pipeline, TwoRodsAreTheSameInARowAndInAContour) {
    for (int32_t a = 1; a <= 4; ++a) {
        TEarthingInput row = FirstExample();
        row.Number = 2, row.IntervalMultiplicity = a;
        TEarthingInput contour = row;
        contour.MutualDisposition = 2;
        const TEarthingResult r = ComputeEarthing(row, u',', u',');
        const TEarthingResult c = ComputeEarthing(contour, u',', u',');
        EXPECT_EQ(r.IntervalCount, 1);
        EXPECT_EQ(c.IntervalCount, 1);
        EXPECT_EQ(r.TotalResistance, c.TotalResistance);
    }
}

TEST(Pipeline, TwoLayerFormulaMeetsBothLayersContinuously) {
    // h − t = l: the formula already gives ρ1; just below it stays between the layers.
    TEarthingInput in = FirstExample();
    in.Thickness = 3.0; // h − t = 2.5 = l
    EXPECT_EQ(ComputeEarthing(in, u',', u',').EquivalentResistivity, 100);
    in.Thickness = 2.999;
    const double below = ComputeEarthing(in, u',', u',').EquivalentResistivity;
    EXPECT_GT(below, 99.9);
    EXPECT_LT(below, 100);
    // h = t: the formula gives ρ2 exactly.
    in.Thickness = 0.5;
    EXPECT_EQ(ComputeEarthing(in, u',', u',').EquivalentResistivity, 60);
}

TEST(Pipeline, WidthBoundsAreAccepted) {
    for (int64_t width : {8, 1000}) {
        TEarthingInput in = FirstExample();
        in.Width = width;
        EXPECT_EQ(ComputeEarthing(in, u',', u',').StopStage, 0) << width;
    }
}

TEST(Pipeline, ConnectorCrossSections) {
    // strip, angle and round differ only in the logarithm's argument.
    struct {
        int32_t formHor;
        std::u16string total;
    } const cases[] = {{1, u"12,5 Ом"}, {2, u"12,4 Ом"}, {3, u"12,4 Ом"}, {7, u"12,4 Ом"}};
    for (const auto& c : cases) {
        TEarthingInput in = FirstExample();
        in.FormHor = c.formHor;
        EXPECT_EQ(EarthingLabels(in, ComputeEarthing(in, u',', u','), u',').sLabel39, c.total) << c.formHor;
    }
}

} // namespace
