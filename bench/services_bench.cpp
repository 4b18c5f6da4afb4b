// Figures for the string and date library and the configuration readers.
#include "services/LibStrs.h"
#include "services/OrvaneINI.h"
#include "suite/demo/DemoInstall.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/IniFiles.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// A 1 KB text of 40 pieces separated by "||".
std::string KilobyteText() {
    std::string s;
    for (int i = 0; s.size() < 1024; ++i)
        s += "piece-" + std::to_string(i) + "-abcdefghij||";
    return s;
}

void BM_GetPiece(benchmark::State& state) {
    const std::string text = KilobyteText();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(GetPiece(text, "||", n));
}
BENCHMARK(BM_GetPiece)->Arg(1)->Arg(20)->Arg(40);

void BM_ParseDateByType(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const std::string shown = FormatDateByType(type, "/", rtl::EncodeDate(2026, 12, 11));
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseDateByType(shown, type, "/"));
}
BENCHMARK(BM_ParseDateByType)->DenseRange(1, 5);

void BM_FormatDateByType(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const double d = rtl::EncodeDate(2026, 12, 11);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateByType(type, "/", d));
}
BENCHMARK(BM_FormatDateByType)->DenseRange(1, 5);

void BM_AddToDate8(benchmark::State& state) {
    const ole::Variant v("20260131");
    for (auto _ : state)
        benchmark::DoNotOptimize(AddToDate8(v, "M", 1));
}
BENCHMARK(BM_AddToDate8);

// A real-size client profile: the demo's sections padded to 50 keys.
struct Installation {
    std::string root;
    Installation() {
        root =
            std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(getpid()));
        demo::TDemoLayout l = demo::CreateDemoInstallation(root);
        std::ofstream f(l.ClientIni, std::ios::app | std::ios::binary);
        f << "[Client Extras]\r\n";
        for (int i = 0; i < 30; ++i)
            f << "Setting" << i << "=value " << i << "\r\n";
        setenv("ORVANE_REGISTRY", l.RegistryFile.c_str(), 1);
        setenv("ORVANE_ACP", "936", 1);
    }
    ~Installation() { std::filesystem::remove_all(root); }
};

void BM_ReadOrvaneIniC(benchmark::State& state) {
    static Installation inst;
    for (auto _ : state) {
        TOrvaneIniC c;
        benchmark::DoNotOptimize(c.Succeeded());
    }
}
BENCHMARK(BM_ReadOrvaneIniC)->Unit(benchmark::kMicrosecond);

} // namespace
