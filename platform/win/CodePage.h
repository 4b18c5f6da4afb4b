// Code-page transcoding on iconv. Code pages are Windows numbers: 936 (GBK), 950 (Big5),
// 437 (OEM US), 1252 (Western), 65001 (UTF-8). Wide text is UTF-8 in std::string.
#pragma once

#include <string>
#include <string_view>

namespace win {

// Whether iconv knows the code page here.
bool IsValidCodePage(int codePage);
// Decodes bytes of the code page into UTF-8; false when the code page is unknown. Bytes that do
// not decode become U+003F '?' as MultiByteToWideChar's default does not fail either.
bool CodePageToWide(int codePage, std::string_view bytes, std::string& wide);
// Encodes UTF-8 into the code page; characters it cannot represent become the default
// character '?'. usedDefault tells whether that happened. false when the code page is unknown
// or the input is not UTF-8.
bool WideToCodePage(int codePage, std::string_view wide, std::string& bytes,
                    bool* usedDefault = nullptr);
// Byte length of a UTF-8 text when encoded in the code page (unrepresentable characters count
// one byte, as their '?'; so does each byte that is not UTF-8). -1 when the code page is unknown.
int ByteLengthInCodePage(int codePage, std::string_view wide);
// The double-byte lead-byte test of IsDBCSLeadByteEx.
bool IsDBCSLeadByteEx(int codePage, unsigned char byte);

} // namespace win
