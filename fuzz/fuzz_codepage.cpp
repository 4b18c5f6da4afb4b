// Code pages: the first byte picks the code page; the rest is decoded, and the text encoded back.
// Decoding must give UTF-8, and encoding that UTF-8 must succeed.
#include "platform/win/CodePage.h"
#include "platform/win/TextFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const int pages[] = {936, 950, 437, 1252, 65001};
    const int cp = pages[data[0] % 5];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string wide, back;
    if (!win::CodePageToWide(cp, bytes, wide)) std::abort();
    if (!win::detail::IsValidUtf8(wide)) std::abort();
    if (!win::WideToCodePage(cp, wide, back)) std::abort();
    if (win::ByteLengthInCodePage(cp, wide) != static_cast<int>(back.size())) std::abort();
    // the input read as UTF-8 text too: refused or encoded, never a crash
    win::WideToCodePage(cp, bytes, back);
    win::ByteLengthInCodePage(cp, bytes);
    return 0;
}
