// Any resource applied onto a form either loads or raises one of the platform's exceptions;
// nothing crashes, leaks or is left half-owned.
#include "platform/vcl/CommonCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdint>
#include <exception>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const bool registered = [] {
        vcl::RegisterStdCtrls();
        vcl::RegisterCommonCtrls();
        return true;
    }();
    (void)registered;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto* form = vcl::Create<vcl::TForm>(nullptr);
    try {
        vcl::ReadFormResource(form, text, "fuzz.dfm");
    } catch (const std::exception&) {
    }
    delete form;
    return 0;
}
