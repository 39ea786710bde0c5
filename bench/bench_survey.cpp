// The fits of a Wenner survey, as the survey dialog makes them on every change of the table: 30
// readings from 0,5 to 50 m, uniform soil and two layers.
#include "survey.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace {

void FitReadings(benchmark::State& state, double rho1, double rho2, double h) {
    std::vector<TSurveyReading> readings;
    for (int i = 0; i < 30; ++i) {
        const double a = 0.5 * std::pow(100.0, i / 29.0);
        // ±3 % of wobble, the same every run.
        const double noise = 1 + 0.03 * std::sin(7.0 * i);
        readings.push_back(
            {a, 0, TwoLayerApparentResistivity(rho1, rho2, h, a) * noise / (2 * std::numbers::pi * a),
             std::nullopt, true});
    }
    for (auto _ : state) {
        TSurveyFit fit = FitSurvey(readings);
        benchmark::DoNotOptimize(fit);
    }
}

// A loam over wet sand: the lower layer ten times better than the upper one, h = 1,5 m.
void BM_SurveyFitConductiveBelow(benchmark::State& state) {
    FitReadings(state, 300, 30, 1.5);
}

// Thin topsoil over rock: thirty times worse below, h = 0,3 m, the hardest series to sum.
void BM_SurveyFitRockBelow(benchmark::State& state) {
    FitReadings(state, 100, 3000, 0.3);
}

} // namespace

BENCHMARK(BM_SurveyFitConductiveBelow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyFitRockBelow)->Unit(benchmark::kMillisecond);
