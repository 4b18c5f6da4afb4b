#include "platform/win/CodePage.h"

#include "platform/win/TextFile.h"

#include <cerrno>
#include <iconv.h>
#include <unordered_map>

namespace win {

namespace {

constexpr int CP_UTF8 = 65001;

// iconv names of the Windows code pages; other numbers are tried as "CP<n>".
std::string IconvName(int codePage) {
    switch (codePage) {
    case 936:
        return "CP936";
    case 950:
        return "CP950";
    case 437:
        return "CP437";
    case 1252:
        return "CP1252";
    default:
        return "CP" + std::to_string(codePage);
    }
}

// One pair of descriptors per code page, opened on first use in each thread (iconv_t is not
// shareable between threads, and opening one loads a gconv module).
struct Converters {
    iconv_t ToUtf8 = reinterpret_cast<iconv_t>(-1);
    iconv_t FromUtf8 = reinterpret_cast<iconv_t>(-1);
    bool Valid() const {
        return ToUtf8 != reinterpret_cast<iconv_t>(-1) && FromUtf8 != reinterpret_cast<iconv_t>(-1);
    }
};

class ConverterCache {
public:
    ~ConverterCache() {
        for (auto& [cp, c] : FMap) {
            if (c.ToUtf8 != reinterpret_cast<iconv_t>(-1)) iconv_close(c.ToUtf8);
            if (c.FromUtf8 != reinterpret_cast<iconv_t>(-1)) iconv_close(c.FromUtf8);
        }
    }
    // null for an unknown code page (the failure is remembered too)
    const Converters* Get(int codePage) {
        auto it = FMap.find(codePage);
        if (it == FMap.end()) {
            Converters c;
            if (codePage > 0) {
                const std::string name = IconvName(codePage);
                c.ToUtf8 = iconv_open("UTF-8", name.c_str());
                c.FromUtf8 = iconv_open(name.c_str(), "UTF-8");
            }
            it = FMap.emplace(codePage, c).first;
        }
        return it->second.Valid() ? &it->second : nullptr;
    }

private:
    std::unordered_map<int, Converters> FMap;
};

const Converters* ConvertersFor(int codePage) {
    thread_local ConverterCache cache;
    return cache.Get(codePage);
}

// Length of the UTF-8 sequence starting at s[i], 0 when it is malformed (overlong forms,
// surrogates and values above U+10FFFF included).
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c == 0xE0)
        n = 3, lo = 0xA0;
    else if (c == 0xED)
        n = 3, hi = 0x9F;
    else if (c >= 0xE1 && c <= 0xEF)
        n = 3;
    else if (c == 0xF0)
        n = 4, lo = 0x90;
    else if (c >= 0xF1 && c <= 0xF3)
        n = 4;
    else if (c == 0xF4)
        n = 4, hi = 0x8F;
    else
        return 0;
    if (i + n > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
    return n;
}

// Runs the whole input through cd. On a byte sequence it cannot convert it writes '?' and skips
// skipUnit(position) bytes, so every step makes progress and malformed input always ends.
template <class SkipUnit>
void Convert(iconv_t cd, std::string_view in, std::string& out, SkipUnit skipUnit,
             bool* substituted) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t used = 0;
    while (srcLeft > 0) {
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (rc != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ, or EINVAL for a sequence cut off at the end of the input
        if (used == out.size()) out.resize(out.size() * 2);
        out[used++] = '?';
        if (substituted) *substituted = true;
        const size_t skip = std::min(srcLeft, std::max<size_t>(1, skipUnit(src - in.data())));
        src += skip;
        srcLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // flush any shift state
    for (;;) {
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        const size_t rc = iconv(cd, nullptr, nullptr, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (rc != static_cast<size_t>(-1) || errno != E2BIG) break;
        out.resize(out.size() * 2);
    }
    out.resize(used);
}

bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = Utf8SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

// Replaces each byte that does not start a well-formed UTF-8 sequence by '?'.
std::string SanitizeUtf8(std::string_view s, bool* substituted) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t n = Utf8SequenceLength(s, i);
        if (n == 0) {
            out += '?';
            if (substituted) *substituted = true;
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

} // namespace

bool IsValidCodePage(int codePage) {
    return codePage == CP_UTF8 || ConvertersFor(codePage) != nullptr;
}

bool CodePageToWide(int codePage, std::string_view bytes, std::string& wide) {
    if (codePage == CP_UTF8) {
        wide = SanitizeUtf8(bytes, nullptr);
        return true;
    }
    const Converters* c = ConvertersFor(codePage);
    if (!c) return false;
    Convert(
        c->ToUtf8, bytes, wide, [](size_t) { return size_t{1}; }, nullptr);
    return true;
}

bool WideToCodePage(int codePage, std::string_view wide, std::string& bytes, bool* usedDefault) {
    if (usedDefault) *usedDefault = false;
    if (!IsUtf8(wide)) return false;
    if (codePage == CP_UTF8) {
        bytes.assign(wide);
        return true;
    }
    const Converters* c = ConvertersFor(codePage);
    if (!c) return false;
    // an unrepresentable character is skipped whole, giving one '?' per character
    Convert(
        c->FromUtf8, wide, bytes,
        [wide](size_t at) { return at < wide.size() ? Utf8SequenceLength(wide, at) : 1; },
        usedDefault);
    return true;
}

int ByteLengthInCodePage(int codePage, std::string_view wide) {
    std::string bytes;
    if (!WideToCodePage(codePage, IsUtf8(wide) ? std::string(wide) : SanitizeUtf8(wide, nullptr),
                        bytes))
        return -1;
    return static_cast<int>(bytes.size());
}

bool IsDBCSLeadByteEx(int codePage, unsigned char byte) {
    switch (codePage) {
    case 936:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

bool detail::IsValidUtf8(std::string_view s) {
    return IsUtf8(s);
}

} // namespace win
