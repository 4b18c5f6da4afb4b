// Creating a form of 150 components from its resource, headless.
#include "bench/BenchForm.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CreateFormFromResource(benchmark::State& state) {
    RegisterBenchForm();
    for (auto _ : state) {
        TfrmBench* f = vcl::Create<TfrmBench>(nullptr);
        if (f->ComponentCount() != 150) state.SkipWithError("wrong component count");
        f->Free();
    }
}
BENCHMARK(BM_CreateFormFromResource)->Unit(benchmark::kMillisecond);

} // namespace
