// The translator: simplified <-> traditional Chinese through the maker's language library
// "Ktlanguage" (Ktlanguage.so on the library path), loaded by name when the translator is
// created and unloaded when it is freed.
#pragma once

#include "platform/vcl/Component.h"
#include "platform/win/DynLib.h"

#include <cstddef>
#include <string>
#include <string_view>

// The library's two conversion entries (see suite/ktlanguage/Ktlanguage.h): UTF-8 in, the
// converted UTF-8 text into the caller's buffer; the answer is its full length, -1 on failure.
using TKtConvertProc = long (*)(const char* source, size_t sourceLength, char* target,
                                size_t targetSize);

class TTranslator : public vcl::TComponent {
    RTL_DECLARE_CLASS(TTranslator, vcl::TComponent)
public:
    // Loads the library and looks up "GBtoBIG5" and "BIG5toGB". Raises rtl::Exception
    // "Load Library Ktlanguage.so Error!" when the library cannot be loaded and "Get Library
    // Procedure Address Error!" when an entry is missing; the component is then not created.
    // An owner that creates its translator in its own constructor (the code-page converter)
    // thereby fails too, and so does the form whose construction creates that owner: the error
    // leaves the form's constructor (or its resource reading, which frees what it created).
    explicit TTranslator(vcl::TComponent* owner);
    ~TTranslator() override;

    // Simplified -> traditional and back. An empty text stays empty without a call; a text
    // the library refuses raises rtl::Exception naming the entry and the text.
    std::string GBtoBIG5(std::string_view text) const;
    std::string BIG5toGB(std::string_view text) const;

    // "Ktlanguage.so"
    static std::string LibraryFile();

private:
    std::string Convert(TKtConvertProc proc, const char* entry, std::string_view text) const;

    win::HMODULE FHandle = nullptr;
    TKtConvertProc FGBtoBIG5 = nullptr;
    TKtConvertProc FBIG5toGB = nullptr;
    const char* (*FLastError)() = nullptr; // optional: the library's reason for a refusal
};
