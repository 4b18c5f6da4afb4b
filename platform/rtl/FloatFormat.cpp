#include "platform/rtl/FloatFormat.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace rtl {

namespace {

// |value| as 0.Digits x 10^Exp; no digits for zero. Digits carries no trailing zeros.
struct TDecimal {
    char Digits[20];
    int Count = 0;
    int Exp = 0;
};

TDecimal Decompose(double value) {
    TDecimal r;
    value = std::fabs(value);
    if (value == 0) return r;
    char buf[40];
    // 17 significant digits: every double reads back exactly from them.
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 16);
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') r.Digits[r.Count++] = *p;
    int e = 0;
    std::from_chars(p + 1 + (p[1] == '+'), res.ptr, e);
    r.Exp = e + 1;
    while (r.Count > 0 && r.Digits[r.Count - 1] == '0')
        --r.Count;
    return r;
}

// Keeps `keep` significant digits, half away from zero; fewer than none leaves zero.
void RoundTo(TDecimal& d, int keep) {
    if (d.Count <= keep) return;
    if (keep < 0) {
        d.Count = 0;
        return;
    }
    const bool up = d.Digits[keep] >= '5';
    d.Count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[i] == '9')
            --i;
        if (i < 0) {
            d.Digits[0] = '1';
            d.Count = 1;
            ++d.Exp;
            return;
        }
        ++d.Digits[i];
        d.Count = i + 1;
    }
    while (d.Count > 0 && d.Digits[d.Count - 1] == '0')
        --d.Count;
}

char DigitAt(const TDecimal& d, int index) {
    return index >= 0 && index < d.Count ? d.Digits[index] : '0';
}

struct TSection {
    std::string_view Text;
    int IntCount = 0;  // digit placeholders before the decimal point
    int FracCount = 0; // after it
    int MinInt = 0;    // integer digits forced by a '0'
    int MinFrac = 0;   // fraction digits forced by a '0'
    bool Thousands = false;
    bool Scientific = false;
};

TSection Scan(std::string_view s) {
    TSection r;
    r.Text = s;
    bool point = false;
    int firstZero = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const size_t end = s.find(c, i + 1);
            i = end == std::string_view::npos ? s.size() : end;
        } else if (c == '0' || c == '#') {
            if (point) {
                ++r.FracCount;
                if (c == '0') r.MinFrac = r.FracCount;
            } else {
                if (c == '0' && firstZero < 0) firstZero = r.IntCount;
                ++r.IntCount;
            }
        } else if (c == '.') {
            point = true;
        } else if (c == ',') {
            r.Thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() &&
                   (s[i + 1] == '+' || s[i + 1] == '-')) {
            r.Scientific = true;
            break; // what follows belongs to the exponent or is literal text
        }
    }
    if (firstZero >= 0) r.MinInt = r.IntCount - firstZero;
    return r;
}

// Splits at ';' outside quotes; at most three sections count.
int SplitSections(std::string_view format, std::string_view (&out)[3]) {
    int n = 0;
    size_t start = 0;
    for (size_t i = 0; i <= format.size(); ++i) {
        if (i < format.size() && (format[i] == '"' || format[i] == '\'')) {
            const size_t end = format.find(format[i], i + 1);
            i = end == std::string_view::npos ? format.size() - 1 : end;
            continue;
        }
        if (i == format.size() || format[i] == ';') {
            out[n++] = format.substr(start, i - start);
            start = i + 1;
            if (n == 3) break;
        }
    }
    return n;
}

void AppendLiteral(std::string& out, std::string_view s, size_t& i) {
    const char q = s[i];
    const size_t end = s.find(q, i + 1);
    const size_t stop = end == std::string_view::npos ? s.size() : end;
    out.append(s.substr(i + 1, stop - i - 1));
    i = stop;
}

void FormatFixed(std::string& out, const TSection& sec, const TDecimal& d) {
    const int intDigits = std::max(d.Count > 0 ? d.Exp : 0, sec.MinInt);
    int fracDigits = sec.MinFrac;
    for (int j = sec.FracCount; j > fracDigits; --j)
        if (DigitAt(d, d.Exp + j - 1) != '0') {
            fracDigits = j;
            break;
        }
    // Integer digit at position r counted from the right, with its thousands separator.
    auto putInt = [&](int r) {
        out += DigitAt(d, d.Exp - 1 - r);
        if (sec.Thousands && r > 0 && r % 3 == 0) out += ',';
    };
    auto putInts = [&](int from, int to) {
        for (int r = from; r >= to; --r)
            putInt(r);
    };
    int intSeen = 0, fracSeen = 0;
    bool point = false;
    const std::string_view s = sec.Text;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            AppendLiteral(out, s, i);
        } else if (c == '0' || c == '#') {
            if (!point) {
                const int r = sec.IntCount - 1 - intSeen++;
                if (intSeen == 1 && intDigits > sec.IntCount)
                    putInts(intDigits - 1, r);
                else if (r < intDigits)
                    putInt(r);
            } else if (fracSeen < fracDigits) {
                out += DigitAt(d, d.Exp + fracSeen++);
            }
        } else if (c == '.') {
            if (point) continue;
            point = true;
            if (sec.IntCount == 0) putInts(intDigits - 1, 0);
            if (fracDigits > 0) out += '.';
        } else if (c != ',') {
            out += c;
        }
    }
}

void FormatScientific(std::string& out, const TSection& sec, TDecimal d) {
    const int precision = std::clamp(sec.IntCount + sec.FracCount, 1, 18);
    RoundTo(d, precision);
    const int exponent = d.Count > 0 ? d.Exp - sec.IntCount : 0;
    int fracDigits = sec.MinFrac;
    for (int j = sec.FracCount; j > fracDigits; --j)
        if (DigitAt(d, sec.IntCount + j - 1) != '0') {
            fracDigits = j;
            break;
        }
    int intSeen = 0, fracSeen = 0;
    bool point = false;
    const std::string_view s = sec.Text;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            AppendLiteral(out, s, i);
        } else if (c == '0' || c == '#') {
            if (!point)
                out += DigitAt(d, intSeen++);
            else if (fracSeen < fracDigits)
                out += DigitAt(d, sec.IntCount + fracSeen++);
        } else if (c == '.') {
            if (point) continue;
            point = true;
            if (fracDigits > 0) out += '.';
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() &&
                   (s[i + 1] == '+' || s[i + 1] == '-')) {
            out += c;
            if (exponent < 0)
                out += '-';
            else if (s[i + 1] == '+')
                out += '+';
            i += 2;
            int minDigits = 0;
            while (i < s.size() && s[i] == '0' && minDigits < 4) {
                ++minDigits;
                ++i;
            }
            std::string e = std::to_string(std::abs(exponent));
            if (int(e.size()) < minDigits) e.insert(0, size_t(minDigits) - e.size(), '0');
            out += e;
            // The rest of the section is literal text.
            for (; i < s.size(); ++i) {
                if (s[i] == '"' || s[i] == '\'')
                    AppendLiteral(out, s, i);
                else
                    out += s[i];
            }
            return;
        } else if (c != ',') {
            out += c;
        }
    }
}

} // namespace

std::string FormatFloat(std::string_view format, double value) {
    if (format.empty() || !std::isfinite(value)) return FloatToStr(value);
    std::string_view sections[3];
    const int count = SplitSections(format, sections);
    auto pick = [&](int index) { return index < count && !sections[index].empty() ? index : 0; };
    int index = value > 0 ? 0 : value < 0 ? pick(1) : pick(2);
    TSection sec = Scan(sections[index]);
    if (sections[index].empty()) return FloatToStr(value);

    TDecimal d = Decompose(value);
    if (!sec.Scientific) {
        if (d.Count > 0 && d.Exp > 18) return FloatToStr(value);
        RoundTo(d, d.Exp + sec.FracCount);
        if (d.Count == 0 && value != 0 && sec.IntCount + sec.FracCount > 0) {
            // Rounded away to nothing: shown as the zero it now is.
            value = 0;
            index = pick(2);
            if (sections[index].empty()) return "0";
            sec = Scan(sections[index]);
            if (sec.Scientific) d = TDecimal{};
        }
    }
    std::string out;
    out.reserve(32);
    if (value < 0 && index == 0) out += '-';
    if (sec.Scientific)
        FormatScientific(out, sec, d);
    else
        FormatFixed(out, sec, d);
    return out;
}

bool TryTextToFloat(std::string_view text, double& value) {
    std::string_view s = text;
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    if (s.find(',') == std::string_view::npos) return TryStrToFloat(s, value);
    // Thousands separators: only in the integer part, each followed by exactly three digits,
    // the first group one to three digits long.
    std::string plain;
    plain.reserve(s.size());
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    size_t group = 0;
    bool separated = false;
    for (; i < s.size() && (s[i] == ',' || (s[i] >= '0' && s[i] <= '9')); ++i) {
        if (s[i] == ',') {
            if (group == 0 || (separated && group != 3) || (!separated && group > 3)) return false;
            separated = true;
            group = 0;
        } else {
            plain += s[i];
            ++group;
        }
    }
    if (separated && group != 3) return false;
    const std::string_view rest = s.substr(i);
    if (rest.find(',') != std::string_view::npos) return false;
    plain.append(rest);
    return TryStrToFloat(plain, value);
}

} // namespace rtl
