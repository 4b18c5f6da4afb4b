// Any input ends in a tree or an EFormParseError. A tree, written out and read again, keeps its
// content, and writing is stable from the second time on.
#include "platform/vcl/FormParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    vcl::TFormNode root;
    try {
        root = vcl::ParseFormText(text, "fuzz.dfm");
    } catch (const vcl::EFormParseError&) {
        return 0;
    }
    std::string written = vcl::FormTextToString(root);
    vcl::TFormNode again = vcl::ParseFormText(written, "written.dfm");
    if (!vcl::SameContent(root, again)) std::abort();
    if (vcl::FormTextToString(again) != written) std::abort();
    return 0;
}
