#include "services/TranslatorU.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

RTL_BEGIN_CLASS(TTranslator, vcl::TComponent)
RTL_END_CLASS

std::string TTranslator::LibraryFile() {
    return win::LibraryFileName("Ktlanguage.dll");
}

TTranslator::TTranslator(vcl::TComponent* owner) : vcl::TComponent(owner) {
    const std::string file = LibraryFile();
    FHandle = win::LoadLibrary(file);
    if (!FHandle) throw rtl::Exception(rtl::Format("Load Library %s Error!", file.c_str()));
    FGBtoBIG5 = reinterpret_cast<TKtConvertProc>(win::GetProcAddress(FHandle, "GBtoBIG5"));
    FBIG5toGB = reinterpret_cast<TKtConvertProc>(win::GetProcAddress(FHandle, "BIG5toGB"));
    if (!FGBtoBIG5 || !FBIG5toGB) {
        // The destructor does not run for a constructor that raises.
        win::FreeLibrary(FHandle);
        FHandle = nullptr;
        throw rtl::Exception("Get Library Procedure Address Error!");
    }
    FLastError = reinterpret_cast<const char* (*)()>(win::GetProcAddress(FHandle, "KtLastError"));
}

TTranslator::~TTranslator() {
    if (FHandle) win::FreeLibrary(FHandle);
}

std::string TTranslator::Convert(TKtConvertProc proc, const char* entry,
                                 std::string_view text) const {
    if (text.empty()) return {};
    // Traditional forms take as many bytes as simplified ones nearly always; the library
    // answers the length it needs when the buffer is short.
    std::string out(text.size() * 2 + 16, '\0');
    long n = proc(text.data(), text.size(), out.data(), out.size());
    if (n >= 0 && size_t(n) >= out.size()) {
        out.assign(size_t(n) + 1, '\0');
        n = proc(text.data(), text.size(), out.data(), out.size());
    }
    if (n < 0 || size_t(n) >= out.size()) {
        size_t cut = std::min<size_t>(text.size(), 60);
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut; // whole characters only
        const std::string shown(text.substr(0, cut));
        std::string reason = FLastError && FLastError() ? FLastError() : "refused";
        throw rtl::Exception(LibraryFile() + " " + entry + ": " + reason + " (text \"" + shown +
                             "\")");
    }
    out.resize(size_t(n));
    return out;
}

std::string TTranslator::GBtoBIG5(std::string_view text) const {
    return Convert(FGBtoBIG5, "GBtoBIG5", text);
}

std::string TTranslator::BIG5toGB(std::string_view text) const {
    return Convert(FBIG5toGB, "BIG5toGB", text);
}
