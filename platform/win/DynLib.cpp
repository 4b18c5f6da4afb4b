#include "platform/win/DynLib.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Paths.h"
#include "platform/win/Windows.h"

#include <cstdlib>
#include <dlfcn.h>

namespace win {

namespace {

thread_local std::string LastError;

void SetError(std::string text) {
    LastError = std::move(text);
}

std::string DlError() {
    const char* e = ::dlerror();
    return e ? std::string(e) : std::string("unknown dynamic loader error");
}

HMODULE Open(const std::string& file) {
    ::dlerror();
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) SetError(DlError());
    return handle;
}

} // namespace

std::string LibraryFileName(std::string_view name) {
    std::string file = NativePath(name);
    const std::string ext = ExtractFileExt(file);
    if (ext.empty())
        file += ".so";
    else if (rtl::SameText(ext, ".dll"))
        file = ChangeFileExt(file, ".so");
    return file;
}

HMODULE LoadLibrary(std::string_view nameOrPath) {
    if (rtl::Trim(nameOrPath).empty()) {
        SetError("LoadLibrary: empty library name");
        return nullptr;
    }
    const std::string file = LibraryFileName(nameOrPath);
    if (file.find('/') != std::string::npos) return Open(file);
    // The first folder that holds the file decides, as on the system: a library found there that
    // fails to load is not passed over for one further down the path.
    std::vector<std::string> folders;
    if (const char* env = std::getenv("ORVANE_LIBRARY_PATH"))
        for (const std::string& f : rtl::SplitString(env, ":"))
            if (!f.empty()) folders.push_back(IncludeTrailingPathDelimiter(f));
    if (const std::string exe = GetExeFileName(); !exe.empty())
        folders.push_back(ExtractFilePath(exe));
    for (const std::string& folder : folders)
        if (FileExists(folder + file)) return Open(folder + file);
    return Open(file);
}

void FreeLibrary(HMODULE module) {
    if (module) ::dlclose(module);
}

void* GetProcAddress(HMODULE module, std::string_view symbol) {
    if (!module) {
        SetError("GetProcAddress: no library handle for '" + std::string(symbol) + "'");
        return nullptr;
    }
    ::dlerror();
    void* p = ::dlsym(module, std::string(symbol).c_str());
    if (!p) SetError(DlError());
    return p;
}

std::string LastLibraryError() {
    return LastError;
}

std::string GetFileVersion(std::string_view fileName) {
    HMODULE module = LoadLibrary(fileName);
    if (!module) return {};
    std::string version;
    using VersionFunc = const char* (*)();
    if (auto fn = reinterpret_cast<VersionFunc>(GetProcAddress(module, "OrvaneFileVersion")))
        if (const char* text = fn()) version = text;
    FreeLibrary(module);
    return version;
}

} // namespace win
