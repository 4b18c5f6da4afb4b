#include "platform/win/Paths.h"

#include <cerrno>
#include <sys/stat.h>

namespace win {

namespace {

bool IsSep(char c) {
    return c == '/' || c == '\\';
}

// Index of the last path separator, or of the ':' of a "C:" drive; npos when none.
size_t LastDelimiter(std::string_view path) {
    for (size_t i = path.size(); i-- > 0;) {
        if (IsSep(path[i])) return i;
        if (i == 1 && path[i] == ':') return i;
    }
    return std::string_view::npos;
}

bool StatPath(std::string_view path, struct stat& st) {
    if (path.empty()) return false;
    return ::stat(NativePath(path).c_str(), &st) == 0;
}

} // namespace

std::string NativePath(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

bool IsNetworkPath(std::string_view path) {
    return path.size() > 2 && IsSep(path[0]) && IsSep(path[1]) && !IsSep(path[2]);
}

bool HasDrivePart(std::string_view path) {
    if (path.empty()) return false;
    if (path[0] == '/') return true;
    if (IsNetworkPath(path)) return true;
    const char c = path[0];
    return path.size() >= 2 && path[1] == ':' && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    if (out.empty() || !IsSep(out.back())) out += '/';
    return out;
}

std::string ExtractFilePath(std::string_view path) {
    const size_t i = LastDelimiter(path);
    return i == std::string_view::npos ? std::string() : std::string(path.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view path) {
    const size_t i = LastDelimiter(path);
    return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string ExtractFileExt(std::string_view path) {
    const size_t start = LastDelimiter(path);
    const size_t from = start == std::string_view::npos ? 0 : start + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < from) return {};
    return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::string old = ExtractFileExt(path);
    std::string out(path.substr(0, path.size() - old.size()));
    out += ext;
    return out;
}

bool FileExists(std::string_view path) {
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool ForceDirectories(std::string_view path) {
    std::string p = NativePath(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    if (p.empty()) return false;
    if (DirectoryExists(p)) return true;
    // Create each missing level from the top; a level that exists as a file ends the attempt.
    for (size_t i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '/') continue;
        const std::string level = p.substr(0, i);
        if (level.empty() || level.back() == '/') continue; // "//" inside the path
        if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (!DirectoryExists(level)) return false;
    }
    return DirectoryExists(p);
}

int64_t FileAge(std::string_view path) {
    struct stat st;
    if (!StatPath(path, st) || S_ISDIR(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_mtime);
}

} // namespace win
