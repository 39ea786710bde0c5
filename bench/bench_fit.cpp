// The fit of the arrangement to a required resistance, as the fit dialog makes it on every change of
// the requirement: up to 160 calculation runs, and the rod length search when nothing reaches it.
#include "fit.h"
#include "worked_examples.h"

#include <benchmark/benchmark.h>

namespace {

void Fit(benchmark::State& state, const TEarthingInput& input, double required) {
    for (auto _ : state) {
        TFit fit = FitEarthing(input, required, u',', u',');
        benchmark::DoNotOptimize(fit);
    }
}

// The first example at 10 Ом: each layout and multiple stops at its first count that reaches it.
void BM_FitTenOhm(benchmark::State& state) {
    Fit(state, FirstExample(), 10);
}

// Sand of 1000 Ом∙м at 4 Ом: nothing reaches it, so all 160 arrangements run, then the search for
// the rod length that reaches it with the best of them.
void BM_FitAll160AndRodLength(benchmark::State& state) {
    TEarthingInput input = FirstExample();
    input.TopLayer = input.BottomLayer = u"1000";
    input.Length = 3;
    Fit(state, input, 4);
}

// One rod (no connector width) from a river bed of 200 Ом∙м into rock of 4000 Ом∙м at 105 Ом, just
// below the lowest total at 1,3 m, where the rods leave the river bed: the total against the length
// falls, rises and falls again, and the rod length search crosses the whole rise to 18,9 m.
void BM_FitRodLengthOverRock(benchmark::State& state) {
    TEarthingInput input = FirstExample();
    input.ClimaticRegion = 0;
    input.TopLayer = u"Дно реки (200)";
    input.BottomLayer = u"Скала (4000)";
    input.Thickness = 1.7;
    input.Depth = 0.4;
    input.Length = 1.2;
    input.WidthHor = 0;
    Fit(state, input, 105);
}

} // namespace

BENCHMARK(BM_FitTenOhm);
BENCHMARK(BM_FitAll160AndRodLength);
BENCHMARK(BM_FitRodLengthOverRock);
