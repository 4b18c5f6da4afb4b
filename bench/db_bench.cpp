// The write-off grid's dataset at 100,000 records: appending, walking, locating; and
// FormatFloat with the job's amount format.
#include "platform/db/DBClient.h"
#include "platform/rtl/FloatFormat.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

constexpr int Rows = 100000;

long ResidentKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

db::TClientDataSet* JobDataSet() {
    auto* ds = new db::TClientDataSet(nullptr);
    auto& d = ds->FieldDefs();
    const char* texts[] = {"checked", "MA017", "MQ003", "TA001",
                           "TA002",   "TA003", "TA020", "TA009"};
    const int sizes[] = {1, 30, 10, 10, 16, 10, 10, 6};
    for (int i = 0; i < 8; ++i)
        d.Add(texts[i], db::TFieldType::ftString, sizes[i]);
    for (const char* f : {"TA010058", "TA0293031", "TA0293031C1", "TA0293031C2", "TA0293031C3"})
        d.Add(f, db::TFieldType::ftFloat);
    ds->CreateDataSet();
    return ds;
}

void Fill(db::TClientDataSet* ds) {
    db::TField* f[13];
    for (int i = 0; i < 13; ++i)
        f[i] = ds->Fields(i);
    for (int r = 0; r < Rows; ++r) {
        ds->Append();
        f[0]->SetAsString("Y");
        f[1]->SetAsString(" ");
        f[2]->SetAsString("61");
        f[3]->SetAsString(r % 2 ? "6101" : "6102");
        f[4]->SetAsString(std::to_string(20260000000 + r));
        f[5]->SetAsString("2026/12/11");
        f[6]->SetAsString("2027/01/10");
        f[7]->SetAsString("RMB");
        f[8]->SetAsFloat(1);
        f[9]->SetAsFloat(r * 1.25);
        f[10]->SetAsFloat(r * 1.25);
        f[11]->SetAsFloat(r * 1.25);
        f[12]->SetAsFloat(r * 1.25);
        ds->Post();
    }
}

void BM_Append100k(benchmark::State& state) {
    long grown = 0;
    for (auto _ : state) {
        const long before = ResidentKiB();
        db::TClientDataSet* ds = JobDataSet();
        Fill(ds);
        grown = ResidentKiB() - before;
        state.PauseTiming();
        ds->Free();
        state.ResumeTiming();
    }
    state.counters["RSS_MiB"] = double(grown) / 1024;
}
BENCHMARK(BM_Append100k)->Unit(benchmark::kMillisecond)->Iterations(5);

struct Loaded {
    db::TClientDataSet* Ds = JobDataSet();
    Loaded() { Fill(Ds); }
    ~Loaded() { Ds->Free(); }
};
Loaded& Data() {
    static Loaded data;
    return data;
}

void BM_WalkSum100k(benchmark::State& state) {
    db::TClientDataSet* ds = Data().Ds;
    db::TField* amount = ds->FieldByName("TA0293031");
    db::TField* checked = ds->FieldByName("checked");
    for (auto _ : state) {
        double sum = 0;
        ds->DisableControls();
        for (ds->First(); !ds->Eof(); ds->Next())
            if (checked->AsString() == "Y") sum += amount->AsFloat();
        ds->EnableControls();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_WalkSum100k)->Unit(benchmark::kMillisecond);

void BM_Locate3Fields100k(benchmark::State& state) {
    db::TClientDataSet* ds = Data().Ds;
    const int target = Rows - 10;
    const ole::Variant key =
        ole::VarArrayOf({"6102", std::to_string(20260000000 + target), target * 1.25});
    for (auto _ : state)
        benchmark::DoNotOptimize(ds->Locate("TA001;TA002;TA0293031", key));
}
BENCHMARK(BM_Locate3Fields100k)->Unit(benchmark::kMillisecond);

void BM_FormatFloat(benchmark::State& state) {
    double v = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtl::FormatFloat("#,##0.00", v));
        v += 0.37;
    }
}
BENCHMARK(BM_FormatFloat);

} // namespace
