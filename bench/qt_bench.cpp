// The first show of the 150-component form: its widgets made, laid out and painted once.
#include "bench/BenchForm.h"

#include "platform/vcl/qt/QtViews.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void BM_FirstShowWithViews(benchmark::State& state) {
    RegisterBenchForm();
    for (auto _ : state) {
        state.PauseTiming();
        TfrmBench* f = vcl::Create<TfrmBench>(nullptr);
        state.ResumeTiming();
        f->Show();
        QWidget* w = vcl::qt::WidgetOf(*f);
        w->repaint(); // painted now, not at the next turn of the loop
        QApplication::processEvents();
        state.PauseTiming();
        f->Free();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstShowWithViews)->Unit(benchmark::kMillisecond);

void BM_CreateAndFirstShow(benchmark::State& state) {
    RegisterBenchForm();
    for (auto _ : state) {
        TfrmBench* f = vcl::Create<TfrmBench>(nullptr);
        f->Show();
        vcl::qt::WidgetOf(*f)->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        f->Free();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateAndFirstShow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    vcl::qt::InstallQtViews();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
