// Test helper: a file in UTF-16LE with its byte-order mark, as regedit and Notepad write it.
#pragma once

#include <string>

inline std::string Utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}
