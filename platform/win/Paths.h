// Path rules: "\" in the system's texts is the separator, "/" here; both are accepted on input.
// An absolute POSIX path counts as a path with a drive part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace win {

// Separators turned into "/".
std::string NativePath(std::string_view path);
// True for "/x", "C:\x", "C:x" and "\\server\share" paths.
bool HasDrivePart(std::string_view path);
bool IsNetworkPath(std::string_view path); // "\\server" or "//server"
std::string
IncludeTrailingPathDelimiter(std::string_view path); // adds "/" unless it ends in "/" or "\"
std::string ExtractFilePath(std::string_view path);  // up to and including the last separator
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path); // ".Dll"
std::string ChangeFileExt(std::string_view path, std::string_view ext);
bool FileExists(std::string_view path); // a regular file; false for a folder
bool DirectoryExists(std::string_view path);
bool ForceDirectories(std::string_view path); // creates all missing parents; true when it exists
// Modification time in seconds since 1970; -1 when missing or a folder.
int64_t FileAge(std::string_view path);

} // namespace win
