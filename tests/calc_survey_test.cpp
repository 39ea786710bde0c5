// The soil from a Wenner survey: the apparent resistivity, the two fits, the table text.
#include "report.h"
#include "resistivity_text.h"
#include "survey.h"

#include "number_format.h"
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace {

constexpr double Pi = std::numbers::pi;

// A reading of R (Ом), or of ρa where R is empty.
TSurveyReading Reading(double a, double b, std::optional<double> r,
                       std::optional<double> rho = std::nullopt) {
    return {a, b, r, rho, true};
}

// Spacings from 0,5 to 50 m, evenly in log space.
std::vector<double> Spacings(int count, double from = 0.5, double to = 50) {
    std::vector<double> spacings;
    for (int i = 0; i < count; ++i)
        spacings.push_back(from * std::pow(to / from, static_cast<double>(i) / (count - 1)));
    return spacings;
}

// Readings of the two-layer soil, each ρa given through R as a surveyor writes it (b = 0), its noise
// uniform within ±noise.
std::vector<TSurveyReading> Survey(double rho1, double rho2, double h, const std::vector<double>& spacings,
                                   double noise = 0, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::vector<TSurveyReading> readings;
    for (double a : spacings) {
        const double factor = 1 + noise * (2.0 * random() / std::mt19937::max() - 1);
        readings.push_back(
            Reading(a, 0, TwoLayerApparentResistivity(rho1, rho2, h, a) * factor / (2 * Pi * a)));
    }
    return readings;
}

TEST(Survey, ApparentResistivityWithProbeDepth) {
    // b = 0: 2πaR.
    EXPECT_NEAR(WennerApparentResistivity(5, 0, 3), 2 * Pi * 5 * 3, 1e-12);
    // a = 4, b = 1: 4π·4·R / (1 + 8/√20 − 4/√17).
    EXPECT_NEAR(WennerApparentResistivity(4, 1, 1), 16 * Pi / (1 + 8 / std::sqrt(20.0) - 4 / std::sqrt(17.0)),
                1e-12);
    EXPECT_NEAR(WennerApparentResistivity(4, 1, 1), 27.6380, 1e-4);
    // The divisor falls from 2 at b = 0 towards 1 for deep probes: the same R means more ρa.
    EXPECT_GT(WennerApparentResistivity(4, 1.9, 1), WennerApparentResistivity(4, 1, 1));
}

// The series against a plain sum of a million terms, and its two ends: ρ1 for close probes, ρ2 far.
TEST(Survey, TwoLayerSeries) {
    for (double ratio : {1.0 / 30, 1.0 / 3, 1.0, 3.0, 30.0}) {
        SCOPED_TRACE(ratio);
        const double rho1 = 100, rho2 = 100 / ratio, h = 0.3, a = 50;
        const double k = (rho2 - rho1) / (rho2 + rho1);
        long double sum = 0, power = 1;
        for (int n = 1; n <= 1000000; ++n) {
            power *= k;
            const long double x = 2.0L * n * h / a;
            sum += power * (1 / std::sqrt(1 + x * x) - 1 / std::sqrt(4 + x * x));
        }
        EXPECT_NEAR(TwoLayerApparentResistivity(rho1, rho2, h, a), rho1 * (1 + 4 * sum), 1e-9 * rho1);
        EXPECT_NEAR(TwoLayerApparentResistivity(rho1, rho2, 10, 0.01), rho1, 1e-6 * rho1);
        EXPECT_NEAR(TwoLayerApparentResistivity(rho1, rho2, 0.01, 1000), rho2, 0.002 * rho2);
    }
}

// Readings of known two layers, ρ1/ρ2 from 1/30 to 30, h from 0,3 to 10 m, a from 0,5 to 50 m: without
// noise the layers come back within 1 %; with ±5 % noise the fit is as close to the readings as the
// true soil is, and its curve lies within the noise of the true one.
TEST(Survey, RecoversTwoLayers) {
    const std::vector<double> spacings = Spacings(20);
    for (double ratio : {1.0 / 30, 1.0 / 10, 1.0 / 3, 3.0, 10.0, 30.0})
        for (double h : {0.3, 1.0, 3.0, 10.0}) {
            SCOPED_TRACE(testing::Message() << "ρ1/ρ2 = " << ratio << ", h = " << h);
            const double rho1 = 150, rho2 = rho1 / ratio;
            const TSurveyFit exact = FitSurvey(Survey(rho1, rho2, h, spacings));
            ASSERT_TRUE(exact.Error.empty());
            ASSERT_TRUE(exact.TwoLayer) << std::string(exact.TwoLayerNote.begin(), exact.TwoLayerNote.end());
            EXPECT_NEAR(exact.TwoLayer->Rho1, rho1, 0.01 * rho1);
            EXPECT_NEAR(exact.TwoLayer->Rho2, rho2, 0.01 * rho2);
            EXPECT_NEAR(exact.TwoLayer->Thickness, h, 0.01 * h);
            EXPECT_LT(exact.TwoLayer->Rms, 1e-3);
            EXPECT_GT(exact.Uniform->Rms, 0.1);

            const std::vector<TSurveyReading> noisy = Survey(rho1, rho2, h, spacings, 0.05, 7);
            const TSurveyFit fit = FitSurvey(noisy);
            ASSERT_TRUE(fit.TwoLayer);
            TSurveyModel truth{.Rho1 = rho1, .Rho2 = rho2, .Thickness = h, .TwoLayers = true};
            double noise = 0, apart = 0;
            for (size_t i = 0; i < spacings.size(); ++i) {
                noise += std::pow(SurveyError(truth, spacings[i], fit.Measured[i]), 2);
                apart += std::pow(SurveyError(*fit.TwoLayer, spacings[i], truth.At(spacings[i])), 2);
            }
            noise = std::sqrt(noise / spacings.size());
            apart = std::sqrt(apart / spacings.size());
            EXPECT_LE(fit.TwoLayer->Rms, noise * 1.0001);
            EXPECT_GT(fit.TwoLayer->Rms, noise * 0.6);
            EXPECT_LT(apart, noise);
        }
}

TEST(Survey, UniformSoil) {
    std::vector<TSurveyReading> readings = Survey(240, 240, 1, Spacings(8));
    const TSurveyFit fit = FitSurvey(readings);
    ASSERT_TRUE(fit.Error.empty());
    EXPECT_NEAR(fit.Uniform->Rho1, 240, 1e-9);
    EXPECT_EQ(fit.Uniform->Rho2, fit.Uniform->Rho1);
    EXPECT_FALSE(fit.Uniform->TwoLayers);
    EXPECT_LT(fit.Uniform->Rms, 1e-12);
    // K = 0: no layer boundary to find.
    EXPECT_FALSE(fit.TwoLayer);
    EXPECT_NE(fit.TwoLayerNote.find(u"не определить"), std::u16string::npos);
    // The uniform fit minimises the relative error: 90 and 110 give 99, not 100.
    const TSurveyFit two = FitSurvey({Reading(1, 0, {}, 90), Reading(2, 0, {}, 110)});
    EXPECT_NEAR(two.Uniform->Rho1, (1 / 90.0 + 1 / 110.0) / (1 / 8100.0 + 1 / 12100.0), 1e-9);
    EXPECT_NE(two.TwoLayerNote.find(u"не меньше трёх"), std::u16string::npos);
}

// All spacings far below h: the readings show the upper layer only, and no h is made up.
TEST(Survey, ThicknessTheReadingsDoNotReach) {
    for (double rho2 : {10.0, 1000.0}) {
        const TSurveyFit fit = FitSurvey(Survey(100, rho2, 200, Spacings(10, 0.5, 5)));
        ASSERT_TRUE(fit.Error.empty());
        EXPECT_FALSE(fit.TwoLayer);
        EXPECT_NE(fit.TwoLayerNote.find(u"Толщину верхнего пласта"), std::u16string::npos);
        EXPECT_NEAR(fit.Uniform->Rho1, 100, 1);
    }
}

// Readings left out count in no fit but keep their ρa for the table and the chart.
TEST(Survey, LeftOutReading) {
    std::vector<TSurveyReading> readings = Survey(80, 400, 2, Spacings(10));
    readings[4].Resistance = *readings[4].Resistance * 5;
    readings[4].Kept = false;
    const TSurveyFit fit = FitSurvey(readings);
    ASSERT_TRUE(fit.TwoLayer);
    EXPECT_NEAR(fit.TwoLayer->Rho1, 80, 0.8);
    EXPECT_NEAR(fit.Measured[4], 5 * TwoLayerApparentResistivity(80, 400, 2, readings[4].Spacing), 1e-6);
}

TEST(Survey, BadReadings) {
    const double nan = std::nan(""), inf = INFINITY;
    const TSurveyReading good = Reading(2, 0, 10);
    struct Case {
        const char* name;
        TSurveyReading bad;
        std::u16string message;
    } cases[] = {
        {"a = 0", Reading(0, 0, 1), u"Строка 2: разнос a должен быть числом больше 0"},
        {"a < 0", Reading(-1, 0, 1), u"разнос a"},
        {"a NaN", Reading(nan, 0, 1), u"разнос a"},
        {"a ∞", Reading(inf, 0, 1), u"разнос a"},
        {"R = 0", Reading(1, 0, 0), u"Строка 2: сопротивление R должно быть числом больше 0."},
        {"R < 0", Reading(1, 0, -3), u"сопротивление R"},
        {"R NaN", Reading(1, 0, nan), u"сопротивление R"},
        {"R ∞", Reading(1, 0, inf), u"сопротивление R"},
        {"ρa ≤ 0", Reading(1, 0, {}, 0), u"кажущееся сопротивление ρa должно"},
        {"neither", Reading(1, 0, {}), u"нужно сопротивление R или кажущееся сопротивление ρa."},
        {"b = a/2", Reading(1, 0.5, 1), u"меньше половины разноса a"},
        {"b < 0", Reading(1, -0.1, 1), u"глубина электродов b"},
        {"b NaN", Reading(1, nan, 1), u"глубина электродов b"},
        {"ρa far too high", Reading(1, 0, 1e300), u"вне пределов"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool kept : {true, false}) {
            TSurveyReading bad = c.bad;
            bad.Kept = kept;
            const TSurveyFit fit = FitSurvey({good, bad, good, good});
            EXPECT_NE(fit.Error.find(c.message), std::u16string::npos);
            EXPECT_FALSE(fit.Uniform);
            EXPECT_FALSE(fit.TwoLayer);
            EXPECT_TRUE(fit.Measured.empty());
        }
    }
    EXPECT_EQ(FitSurvey({}).Error, u"Нет ни одного показания.");
    TSurveyReading out = good;
    out.Kept = false;
    EXPECT_EQ(FitSurvey({out, out}).Error, u"Все показания исключены из подбора.");
    EXPECT_EQ(FitSurvey(std::vector<TSurveyReading>(10000, good)).Error,
              u"Слишком много показаний: больше 1000.");
}

TEST(Survey, SoilTextReadsBack) {
    struct Case {
        double rho;
        char16_t user, system;
        std::u16string text;
        double read;
    } cases[] = {
        {418.4, u',', u',', u"По изысканиям (418)", 418},
        {23456.7, u',', u',', u"По изысканиям (23457)", 23457},
        {10.2, u'.', u'.', u"По изысканиям (10)", 10},
        {2.345, u',', u',', u"По изысканиям (2,3)", 2.3},
        {0.2345, u'.', u'.', u"По изысканиям (0.23)", 0.23},
        {2.345, u',', u'.', u"По изысканиям (2)", 2},
    };
    for (const Case& c : cases) {
        const std::u16string text = SurveySoilText(c.rho, c.user, c.system);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(ParseResistivity(ExtractResistivityText(text, c.system), c.user), c.read);
    }
}

// The document's section: every reading, kept or not, the applied model and its RMS.
TEST(Survey, DocumentSection) {
    std::vector<TSurveyReading> readings = {Reading(1, 0, 100 / (2 * Pi)), Reading(2, 0.1, {}, 110),
                                            Reading(4, 0, {}, 500)};
    readings[2].Kept = false;
    const std::optional<TReportSurvey> uniform = BuildSurveySection({readings, false}, u',');
    ASSERT_TRUE(uniform);
    ASSERT_EQ(uniform->Rows.size(), 3u);
    // ρ = (1/100 + 1/110) / (1/100² + 1/110²) = 104,52.
    EXPECT_EQ(uniform->Rows[0], (std::vector<std::u16string>{u"1", u"0", FormatPlain(100 / (2 * Pi), u','),
                                                             u"100", u"104,5", u"4,5 %"}));
    EXPECT_EQ(uniform->Rows[1][2], u"—");
    EXPECT_EQ(uniform->Rows[2][5], u"не учтено");
    EXPECT_EQ(uniform->Model, u"Однородный грунт: ρ = 105 Ом∙м");
    EXPECT_EQ(uniform->Rms, u"Среднеквадратичная ошибка ρa: 4,8 %");
    // Two kept readings give no two layers, so there is no such section.
    EXPECT_FALSE(BuildSurveySection({readings, true}, u','));
}

TEST(SurveyTable, ReadsPastesAndFiles) {
    struct Case {
        const char* name;
        std::u16string text;
        std::vector<TSurveyReading> readings;
    } cases[] = {
        {"spreadsheet, tabs, commas, heading",
         u"a\tb\tR\n0,5\t0\t31,8\n1\t0,1\t15,9\t\t0\n",
         {{0.5, 0, 31.8, {}, true}, {1, 0.1, 15.9, {}, false}}},
        {"two columns are a and R, CRLF, BOM, blank lines",
         u"\uFEFF2;4,5\r\n\r\n3;2.5\r\n",
         {{2, 0, 4.5, {}, true}, {3, 0, 2.5, {}, true}}},
        {"ρa instead of R", u"1;0;;120;да\n2;0;;140;нет\n", {{1, 0, {}, 120, true}, {2, 0, {}, 140, false}}},
        {"commas between, points inside, quotes", u"\"1.5\",0,7.25\n", {{1.5, 0, 7.25, {}, true}}},
        {"the program's own file",
         u"a, м;b, м;R, Ом;ρa, Ом∙м;учитывать\r\n1;0;3;;да\r\n",
         {{1, 0, 3, {}, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TSurveyTableText table = ReadSurveyTable(c.text);
        EXPECT_TRUE(table.Error.empty()) << std::string(table.Error.begin(), table.Error.end());
        ASSERT_EQ(table.Readings.size(), c.readings.size());
        for (size_t i = 0; i < c.readings.size(); ++i) {
            EXPECT_EQ(table.Readings[i].Spacing, c.readings[i].Spacing);
            EXPECT_EQ(table.Readings[i].Depth, c.readings[i].Depth);
            EXPECT_EQ(table.Readings[i].Resistance, c.readings[i].Resistance);
            EXPECT_EQ(table.Readings[i].Apparent, c.readings[i].Apparent);
            EXPECT_EQ(table.Readings[i].Kept, c.readings[i].Kept);
        }
        // Written and read again, whatever the decimal separator.
        for (char16_t separator : {u',', u'.'}) {
            const TSurveyTableText again = ReadSurveyTable(WriteSurveyTable(table.Readings, separator));
            ASSERT_EQ(again.Readings.size(), table.Readings.size());
            for (size_t i = 0; i < again.Readings.size(); ++i) {
                EXPECT_EQ(again.Readings[i].Resistance, table.Readings[i].Resistance);
                EXPECT_EQ(again.Readings[i].Apparent, table.Readings[i].Apparent);
                EXPECT_EQ(again.Readings[i].Kept, table.Readings[i].Kept);
            }
        }
    }
}

TEST(SurveyTable, RefusesBadText) {
    std::u16string many;
    for (int i = 0; i < 10000; ++i)
        many += u"1;2\n";
    struct Case {
        const char* name;
        std::u16string text;
        std::u16string message;
    } cases[] = {
        {"a word", u"1;2\n3;abc\n", u"Строка 2, столбец «R»: «abc» — не число."},
        {"nan", u"1;nan\n", u"«nan» — не число."},
        {"inf", u"1;0;inf\n", u"«inf» — не число."},
        {"an overflow", u"1;1e999\n", u"«1e999» — не число."},
        {"one column", u"1\n2\n", u"Строка 1: нужно от 2 до 5 столбцов"},
        {"six columns", u"1;0;2;3;да;7\n", u"нужно от 2 до 5 столбцов"},
        {"kept neither yes nor no", u"1;0;2;;может\n", u"«может» — не «да» и не «нет»."},
        {"no a", u"1;2\n;3\n", u"Строка 2, столбец «a»: «» — не число."},
        {"10,000 rows", many, u"Слишком много показаний: больше 1000."},
        {"a megabyte", std::u16string(2000000, u'1'), u"Текст слишком велик"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TSurveyTableText table = ReadSurveyTable(c.text);
        EXPECT_NE(table.Error.find(c.message), std::u16string::npos)
            << std::string(table.Error.begin(), table.Error.end());
        EXPECT_TRUE(table.Readings.empty());
    }
}

} // namespace
