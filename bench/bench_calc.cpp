// One calculation run as the window makes it on every keystroke: the pipeline and the label texts.
#include "earthing.h"
#include "resistivity_text.h"
#include "soil_catalogue.h"
#include "worked_examples.h"

#include <benchmark/benchmark.h>

namespace {

void RunAndLabel(benchmark::State& state, const TEarthingInput& input) {
    for (auto _ : state) {
        const TEarthingResult result = ComputeEarthing(input, u',', u',');
        TEarthingLabels labels = EarthingLabels(input, result, u',');
        benchmark::DoNotOptimize(labels);
    }
}

void BM_FullRun(benchmark::State& state) {
    RunAndLabel(state, FirstExample());
}

void BM_StopAtUpperLayer(benchmark::State& state) {
    TEarthingInput input = FirstExample();
    input.TopLayer = u"Суглинок без числа";
    RunAndLabel(state, input);
}

} // namespace

BENCHMARK(BM_FullRun);
BENCHMARK(BM_StopAtUpperLayer);

namespace {

// A million pasted characters with a number in the middle: the reduction must stay linear.
void BM_ExtractFromMillionCharacters(benchmark::State& state) {
    std::u16string pasted(1'000'000, u'ж');
    pasted[500'000] = u'(';
    for (size_t i = 500'001; i < 500'100; ++i)
        pasted[i] = u'7';
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractResistivityText(pasted, u','));
    state.SetLabel("1e6 characters");
}

} // namespace

BENCHMARK(BM_ExtractFromMillionCharacters)->Unit(benchmark::kMillisecond);
