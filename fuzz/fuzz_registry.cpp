// Registry files: the bytes go through the file decoding (BOMs, UTF-8, ANSI) and the parser, then
// every key and value found is read back.
#include "platform/win/Registry.h"
#include "platform/win/TextFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Walk(const win::RegistryStore& s, win::HKEY root, const std::string& path, int depth) {
    if (depth > 32) return;
    if (!s.KeyExists(root, path)) std::abort();
    for (const std::string& name : s.ValueNames(root, path)) {
        std::string v;
        if (!s.ReadValue(root, path, name, v)) std::abort(); // every listed value reads
    }
    for (const std::string& sub : s.SubKeyNames(root, path))
        Walk(s, root, path.empty() ? sub : path + "\\" + sub, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    win::RegistryStore store;
    store.LoadFromText(win::detail::DecodeTextFile(bytes));
    for (auto root : {win::HKEY::HKEY_CLASSES_ROOT, win::HKEY::HKEY_CURRENT_USER,
                      win::HKEY::HKEY_LOCAL_MACHINE, win::HKEY::HKEY_USERS})
        Walk(store, root, "", 0);
    return 0;
}
