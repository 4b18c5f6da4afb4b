// Internal to platform/win: reading whole files and turning the bytes of a text file into
// program text the way Windows reads profile and registry files.
#pragma once

#include <string>
#include <string_view>

namespace win::detail {

bool IsValidUtf8(std::string_view s);
// false when the file is missing, is not a regular file or cannot be read
bool ReadWholeFile(const std::string& path, std::string& bytes);
// UTF-16 code units (odd last byte dropped) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// A UTF-16 file with its byte-order mark, a UTF-8 file (mark stripped), or, when the bytes are
// not UTF-8, a file in the ANSI code page.
std::string DecodeTextFile(std::string_view bytes);

} // namespace win::detail
