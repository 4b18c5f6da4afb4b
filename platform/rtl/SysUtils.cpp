#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace rtl {

const char* ExceptionClassName(const std::exception& e) {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->ClassName();
    return "Exception";
}

// ---------------------------------------------------------------------------------------------
// Text

static bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(0, e));
}

static char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}
static char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = AsciiUpper(c);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = AsciiLower(c);
    return r;
}

int CompareText(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb) return ca - cb;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

bool StartsText(std::string_view prefix, std::string_view s) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view suffix, std::string_view s) {
    return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

std::string IntToHex(uint64_t value, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(value));
    return buf;
}

bool TryStrToInt64(std::string_view s, int64_t& out) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    uint64_t acc = 0;
    const uint64_t limit = neg ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                               : uint64_t(std::numeric_limits<int64_t>::max());
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (acc > (limit - d) / base) return false;
        acc = acc * base + d;
    }
    out = neg ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
    return true;
}

bool TryStrToInt(std::string_view s, int& out) {
    int64_t v;
    if (!TryStrToInt64(s, v)) return false;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    out = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view s) {
    int v;
    if (!TryStrToInt(s, v))
        throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
    return v;
}

int StrToIntDef(std::string_view s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

bool TryStrToFloat(std::string_view s, double& out, char decimalSeparator) {
    std::string t = Trim(s);
    if (t.empty()) return false;
    // Only sign, digits, one separator and an exponent; strtod alone would also take "inf",
    // "nan", hexadecimal floats and the locale's separator.
    std::string c;
    c.reserve(t.size());
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-') c += t[i++];
    bool digits = false, sep = false;
    for (; i < t.size(); ++i) {
        char ch = t[i];
        if (ch >= '0' && ch <= '9') {
            digits = true;
            c += ch;
        } else if (ch == decimalSeparator && !sep) {
            sep = true;
            c += '.';
        } else
            break;
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) c += t[i++];
        bool expDigits = false;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            expDigits = true;
            c += t[i];
        }
        if (!expDigits) return false;
    }
    if (i != t.size()) return false;
    errno = 0;
    double v = std::strtod(c.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    out = v;
    return true;
}

double StrToFloat(std::string_view s) {
    double v;
    if (!TryStrToFloat(s, v))
        throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
    return v;
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    // General format, 15 significant digits: %g switches to an exponent at the same points
    // (exponent < -5 or >= 15) as Delphi does; only the exponent's spelling differs.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    size_t e = s.find('E');
    if (e == std::string::npos) return s;
    std::string mant = s.substr(0, e);
    char sign = s[e + 1];
    std::string digits = s.substr(e + 2);
    while (digits.size() > 1 && digits[0] == '0')
        digits.erase(0, 1);
    // Delphi writes "1E20" and "1.5E-10": a sign only when negative, no leading zeros.
    return mant + "E" + (sign == '-' ? "-" : "") + digits;
}

std::string Format(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, format, ap);
    va_end(ap);
    std::string r;
    if (n > 0) {
        r.resize(static_cast<size_t>(n));
        std::vsnprintf(r.data(), r.size() + 1, format, ap2);
    }
    va_end(ap2);
    return r;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::vector<std::string> SplitString(std::string_view s, std::string_view sep) {
    std::vector<std::string> out;
    if (sep.empty()) {
        out.emplace_back(s);
        return out;
    }
    size_t start = 0;
    for (;;) {
        size_t p = s.find(sep, start);
        if (p == std::string_view::npos) {
            out.emplace_back(s.substr(start));
            return out;
        }
        out.emplace_back(s.substr(start, p - start));
        start = p + sep.size();
    }
}

} // namespace rtl
