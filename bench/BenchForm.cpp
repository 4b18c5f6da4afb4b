#include "bench/BenchForm.h"

#include "platform/vcl/FormReader.h"

RTL_BEGIN_CLASS(TfrmBench, vcl::TForm)
c.Method<&TfrmBench::Clicked>("Clicked");
RTL_END_CLASS

void RegisterBenchForm() {
    static const bool registered = [] {
        vcl::RegisterFormResource("TfrmBench", "Bench.dfm", Resource());
        return true;
    }();
    (void)registered;
}
