#include "platform/win/Windows.h"

#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace win {

namespace {

// Cuts s to at most maxBytes without splitting a UTF-8 sequence.
std::string Truncate(std::string s, size_t maxBytes) {
    if (s.size() <= maxBytes) return s;
    size_t n = maxBytes;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    s.resize(n);
    return s;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf)) return buf;
    return path;
}

} // namespace

std::string GetComputerName() {
    char buf[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return {};
    std::string name(buf);
    // the NetBIOS name is the first label of the host name
    if (const size_t dot = name.find('.'); dot != std::string::npos) name.resize(dot);
    return Truncate(rtl::UpperCase(name), 15);
}

std::string GetUserName() {
    std::string name = Env("USER");
    if (name.empty()) {
        struct passwd pw;
        struct passwd* found = nullptr;
        char buf[4096];
        if (::getpwuid_r(::geteuid(), &pw, buf, sizeof buf, &found) == 0 && found)
            name = found->pw_name;
    }
    return Truncate(name, 32);
}

int GetACP() {
    int acp = 0;
    const std::string forced = Env("ORVANE_ACP");
    if (!forced.empty() && rtl::TryStrToInt(forced, acp) && acp > 0) return acp;
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        locale = Env(name);
        if (!locale.empty()) break;
    }
    const std::string region = locale.substr(0, 5);
    if (rtl::SameText(region, "zh_CN") || rtl::SameText(region, "zh_SG")) return 936;
    if (rtl::SameText(region, "zh_TW") || rtl::SameText(region, "zh_HK") ||
        rtl::SameText(region, "zh_MO"))
        return 950;
    return 1252;
}

std::string GetTempPath() {
    std::string dir = Env("TMPDIR");
    if (dir.empty()) return "/tmp/";
    if (dir.back() != '/') dir += '/';
    return dir;
}

std::string GetExeFileName() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return std::string(buf, static_cast<size_t>(n));
}

std::string GetModuleFileName(const void* addressInModule) {
    if (!addressInModule) return GetExeFileName();
    Dl_info info;
    struct link_map* map = nullptr;
    if (!::dladdr1(addressInModule, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP))
        return {};
    // the main program's link map has an empty name
    if (!map || !map->l_name || !*map->l_name) return GetExeFileName();
    return AbsolutePath(map->l_name);
}

std::string GetOSVersionText() {
    struct utsname u;
    if (::uname(&u) != 0) return "Linux";
    return std::string("Linux ") + u.release;
}

int GetLastErrorCode() {
    return errno;
}

std::string SysErrorMessage(int code) {
    char buf[256];
    return ::strerror_r(code, buf, sizeof buf); // GNU form: returns the text
}

} // namespace win
