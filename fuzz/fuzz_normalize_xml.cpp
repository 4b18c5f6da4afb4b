// The XML helpers' normalisation: it only ever inserts (the declaration, its encoding, the
// document type), and whatever comes out loads or leaves an empty document with a reason.
#include "services/LibXml.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string normal = NormalizeXmlText(text);
    size_t k = 0;
    for (size_t i = 0; i < normal.size() && k < text.size(); ++i)
        if (normal[i] == text[k]) ++k;
    if (k != text.size() || normal.size() > text.size() + 200) std::abort();
    xml::Document doc;
    LoadXmlTextGB(text, doc);
    if (!doc || (!doc.DocumentElement() && doc.ParseError().ErrorCode == 0)) std::abort();
    return 0;
}
