// Internal to platform/xml: the text a document is parsed from. The parser underneath neither
// reads a document type's entities nor rejects what the platform's parser rejects, so the text
// is checked and its entity references are expanded here first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace xml::detail {

struct TPrepared {
    std::string Text; // what the parser reads
    bool Ok = true;
    std::string Reason;     // why not, without the place
    size_t ErrorOffset = 0; // where, in the input
    // Maps offsets in Text back to the input: from Out on, Text[Out + k] came from
    // input[In + k] (Verbatim) or from the entity reference at In.
    struct Segment {
        size_t Out, In;
        bool Verbatim;
    };
    std::vector<Segment> Map;
    size_t InputOffset(size_t textOffset) const;
};

// Input is UTF-8 (a byte-order mark is dropped).
TPrepared PrepareText(std::string_view input);

// Line and column (from 1; the column in characters) of a byte offset.
void LineAndColumn(std::string_view text, size_t offset, int& line, int& column);

bool IsXmlNameStart(char32_t c);
bool IsXmlNameChar(char32_t c);
bool IsXmlChar(char32_t c);
// Decodes one UTF-8 character at s[i] (strictly: no overlong forms, surrogates or values past
// U+10FFFF) and advances i; false for a bad sequence (i unchanged).
bool DecodeUtf8(std::string_view s, size_t& i, char32_t& c);
// Offset of the first byte that is not UTF-8 or not an XML character; npos when all are.
size_t FindInvalidChar(std::string_view s);

} // namespace xml::detail
