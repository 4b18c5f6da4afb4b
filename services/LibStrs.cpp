#include "services/LibStrs.h"

#include "services/AlertLog.h"

#include "platform/db/DB.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/CodePage.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>

using ole::Variant;

// ---------------------------------------------------------------------------------------------
// Strings

std::string PadText(std::string_view s, int width, char fill) {
    std::string r(s);
    int len = win::ByteLengthInCodePage(win::GetACP(), s);
    if (len < width) r.append(size_t(width - len), fill);
    return r;
}

int PieceCount(std::string_view s, std::string_view sep) {
    if (s.empty()) return 0;
    if (sep.empty()) return 1;
    int n = 1;
    for (size_t p = s.find(sep); p != std::string_view::npos; p = s.find(sep, p + sep.size()))
        ++n;
    return n;
}

std::string GetPiece(std::string_view s, std::string_view sep, int n) {
    if (n < 1) return {};
    if (sep.empty()) return n == 1 ? std::string(s) : std::string();
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        size_t p = s.find(sep, start);
        if (p == std::string_view::npos) return {};
        start = p + sep.size();
    }
    size_t end = s.find(sep, start);
    return std::string(s.substr(start, end == std::string_view::npos ? s.npos : end - start));
}

void CutPiece(std::string& s, std::string_view sep, std::string& head) {
    size_t p = sep.empty() ? std::string::npos : s.find(sep);
    if (p == std::string::npos) {
        head = std::move(s);
        s.clear();
        return;
    }
    head = s.substr(0, p);
    s.erase(0, p + sep.size());
}

std::string ReplaceAll(std::string_view s, std::string_view oldText, std::string_view newText,
                       bool doTrim) {
    std::string r(s);
    if (!oldText.empty() && !rtl::SameText(oldText, newText)) {
        // The search goes on after the inserted text, so a New that holds Old still ends.
        for (size_t p = r.find(oldText); p != std::string::npos;
             p = r.find(oldText, p + newText.size()))
            r.replace(p, oldText.size(), newText);
    }
    return doTrim ? rtl::Trim(r) : r;
}

Variant JoinETX(std::string_view prefix, const Variant& items) {
    const char etx = '\x03';
    std::string r(prefix);
    r += etx;
    r += ole::VarToStr(items[0]);
    r += etx;
    int count = items[0].AsInteger();
    for (int i = 1; i <= count; ++i) {
        r += ole::VarToStr(items[i]);
        r += etx;
    }
    return Variant::OleStr(std::move(r));
}

std::string ButtonCaption(std::string_view name) {
    static const struct {
        const char* name;
        const char* caption;
    } captions[] = {{"Yes", "是(&Y)"},        {"No", "否(&N)"},      {"OK", "确定"},
                    {"Cancel", "取消"},       {"Abort", "中断(&A)"}, {"Retry", "重试(&R)"},
                    {"Ignore", "忽略(&I)"},   {"All", "全部(&A)"},   {"NoToAll", "全否(&o)"},
                    {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"}};
    for (const auto& c : captions)
        if (name == c.name) return c.caption;
    return std::string(name);
}

double StrToFloatDefault(std::string_view s, double def) {
    double v;
    return rtl::TryStrToFloat(s, v, '.') ? v : def;
}

bool IsLocalHost(std::string_view address) {
    return address == "127.0.0.1";
}

std::string TempFolder() {
    std::string t = win::GetTempPath();
    size_t nul = t.find('\0');
    if (nul != std::string::npos) t.resize(nul);
    if (t.size() > 260) t.resize(260);
    return t;
}

// ---------------------------------------------------------------------------------------------
// Dates

namespace {

bool ReadDigits(std::string_view s, int& out) {
    if (s.empty()) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

// The date separator is the first character of the separator text (a whole UTF-8 character).
std::string_view FirstChar(std::string_view sep) {
    if (sep.empty()) return sep;
    unsigned char c = static_cast<unsigned char>(sep[0]);
    size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return sep.substr(0, std::min(n, sep.size()));
}

bool DecodeDay(double d, int& y, int& m, int& day) {
    if (!std::isfinite(d) || d < rtl::MinDateTimeDay || d >= rtl::MaxDateTimeDay + 1.0)
        return false;
    rtl::DecodeDate(d, y, m, day);
    return true;
}

std::string Yyyymmdd(double d) {
    int y, m, day;
    if (!DecodeDay(d, y, m, day)) return {};
    return rtl::Format("%.4d%.2d%.2d", y, m, day);
}

double AddMonths(double d, int months, bool& ok) {
    int y, m, day;
    ok = DecodeDay(d, y, m, day);
    if (!ok) return 0;
    int64_t total = int64_t(y) * 12 + m + months;
    int64_t ny = total / 12;
    int nm = static_cast<int>(total % 12);
    if (nm == 0) {
        nm = 12;
        --ny;
    }
    if (ny < 1 || ny > 9999 || nm < 1) {
        ok = false;
        return 0;
    }
    day = std::min(day, rtl::DaysInAMonth(int(ny), nm));
    return rtl::EncodeDate(int(ny), nm, day);
}

int DecimalText(std::string_view s) {
    return rtl::StrToIntDef(rtl::Trim(s), 0);
}

} // namespace

double Date8ToDate(std::string_view s) {
    if (s.size() != 8) return 0;
    int y = 0, m = 0, d = 0;
    if (!ReadDigits(s.substr(0, 4), y)) y = 0;
    if (!ReadDigits(s.substr(4, 2), m)) m = 0;
    if (!ReadDigits(s.substr(6, 2), d)) d = 0;
    rtl::TDateTime r;
    if (y == 0 || m == 0 || d == 0 || !rtl::TryEncodeDate(y, m, d, r)) return 0;
    return r;
}

bool IsValidDate8(std::string_view s) {
    if (s.empty()) return true;
    int y, m, d;
    if (s.size() != 8 || !ReadDigits(s.substr(0, 4), y) || !ReadDigits(s.substr(4, 2), m) ||
        !ReadDigits(s.substr(6, 2), d))
        return false;
    return rtl::IsValidDate(y, m, d) && s >= "17530101" && s <= "99991231";
}

std::string FormatDateByType(int type, std::string_view sep, double d) {
    if (d == 0) return {};
    int y, m, day;
    if (!DecodeDay(d, y, m, day)) return {};
    std::string s(FirstChar(sep));
    const char* sp = s.c_str();
    switch (type) {
    case 2:
        return rtl::Format("%.2d%s%.2d%s%.4d", m, sp, day, sp, y);
    case 3:
        return rtl::Format("%.2d%s%.2d%s%.4d", day, sp, m, sp, y);
    case 4:
        return rtl::Format("%.2d%s%.2d%s%.2d", y - 1911, sp, m, sp, day);
    case 5:
        return rtl::Format("%.3d%s%.2d%s%.2d", y - 1911, sp, m, sp, day);
    default:
        return rtl::Format("%.4d%s%.2d%s%.2d", y, sp, m, sp, day);
    }
}

std::string FormatYMByType(int type, std::string_view sep, double d) {
    if (d == 0) return {};
    int y, m, day;
    if (!DecodeDay(d, y, m, day)) return {};
    std::string s(FirstChar(sep));
    const char* sp = s.c_str();
    switch (type) {
    case 2:
    case 3:
        return rtl::Format("%.2d%s%.4d", m, sp, y);
    case 4:
        return rtl::Format("%.2d%s%.2d", y - 1911, sp, m);
    case 5:
        return rtl::Format("%.3d%s%.2d", y - 1911, sp, m);
    default:
        return rtl::Format("%.4d%s%.2d", y, sp, m);
    }
}

double ParseDateByType(std::string_view text, int type, std::string_view sep) {
    std::string rest = rtl::Trim(text);
    if (rest.empty()) return 0;
    std::string_view sp = FirstChar(sep);
    int piece[3];
    for (int& p : piece) {
        std::string head;
        CutPiece(rest, sp, head);
        if (!rtl::TryStrToInt(rtl::Trim(head), p)) p = -1;
    }
    if (piece[0] <= 0 || piece[1] <= 0 || piece[2] <= 0 || type < 1 || type > 5) return 0;
    int year, month, day;
    switch (type) {
    case 1:
        year = piece[0], month = piece[1], day = piece[2];
        break;
    case 2:
        year = piece[2], month = piece[0], day = piece[1];
        break;
    case 3:
        year = piece[2], month = piece[1], day = piece[0];
        break;
    default:
        if (piece[0] > 9999 - 1911) return 0;
        year = piece[0] + 1911, month = piece[1], day = piece[2];
        break;
    }
    rtl::TDateTime first;
    if (!rtl::TryEncodeDate(year, month, 1, first)) return 0;
    double r = first + (double(day) - 1);
    // A day far past the month may run off the calendar; that is no date at all.
    if (r > rtl::MaxDateTimeDay) return 0;
    return r;
}

std::string AddToDate8(const Variant& v, std::string_view unit, int n) {
    const Variant& val = v.Deref();
    double d;
    if (val.IsString())
        d = Date8ToDate(val.AsString());
    else if (val.BaseType() == ole::varDate)
        d = val.AsDate();
    else
        return {};
    if (d == 0) return {};
    d = std::trunc(d);
    std::string u = rtl::UpperCase(unit);
    if (u == "Y") {
        int y, m, day;
        if (!DecodeDay(d, y, m, day)) return {};
        rtl::TDateTime shifted;
        if (rtl::TryEncodeDate(y + n, m, day, shifted)) d = shifted;
    } else if (u == "M") {
        bool ok;
        d = AddMonths(d, n, ok);
        if (!ok) return {};
    } else if (u == "D") {
        d += n;
    } else {
        return {};
    }
    return Yyyymmdd(d);
}

int DaysOfMonth(int year, int month) {
    return rtl::DaysInAMonth(year, month);
}

std::string WeekEdge(std::string_view base, std::string_view weeks, std::string_view mode) {
    double b = Date8ToDate(base);
    if (b == 0) return {};
    double t = b + 7.0 * DecimalText(weeks);
    int wd = rtl::DayOfWeek(t);
    if (rtl::Trim(mode) == "1") return Yyyymmdd(t + 1 - wd);
    return Yyyymmdd(t + 7 - wd);
}

std::string ShiftDate(std::string_view base, std::string_view offset, std::string_view period,
                      std::string_view days, std::string_view mode) {
    double b = Date8ToDate(base);
    if (b == 0) return {};
    int off = DecimalText(offset), md = DecimalText(mode);
    if (rtl::Trim(period) != "0") {
        bool ok;
        double m = AddMonths(b, off, ok);
        if (!ok) return {};
        int y, mo, d;
        rtl::DecodeDate(m, y, mo, d);
        if (md == 1) return Yyyymmdd(rtl::EncodeDate(y, mo, 1));
        if (md == 2) return Yyyymmdd(rtl::EncodeDate(y, mo, rtl::DaysInAMonth(y, mo)));
        return Yyyymmdd(m + DecimalText(days));
    }
    if (rtl::Trim(mode) != "0") return WeekEdge(base, offset, mode);
    return Yyyymmdd(b + 7.0 * off + DecimalText(days));
}

// ---------------------------------------------------------------------------------------------
// Variants and code pages

namespace {

// Bytes a code page cannot decode are kept as the private characters U+10FF80..U+10FFFF.
constexpr char32_t EscapeBase = 0x10FF00;

// An escaped byte at wide[i] (its 4-byte UTF-8 form F4 8F BE|BF xx), else -1.
int EscapedByteAt(std::string_view wide, size_t i) {
    if (i + 3 >= wide.size() || static_cast<unsigned char>(wide[i]) != 0xF4 ||
        static_cast<unsigned char>(wide[i + 1]) != 0x8F)
        return -1;
    unsigned char b2 = static_cast<unsigned char>(wide[i + 2]);
    unsigned char b3 = static_cast<unsigned char>(wide[i + 3]);
    if ((b2 != 0xBE && b2 != 0xBF) || (b3 & 0xC0) != 0x80) return -1;
    char32_t cp = 0x100000 | (char32_t(0x0F) << 12) | (char32_t(b2 & 0x3F) << 6) | (b3 & 0x3F);
    return static_cast<int>(cp - EscapeBase);
}

int EffectiveCodePage(int codePage) {
    // A code page this platform does not know falls back to the default conversion.
    return win::IsValidCodePage(codePage) ? codePage : win::GetACP();
}

bool DecodesExactly(int cp, std::string_view bytes, std::string& wide) {
    std::string back;
    return win::CodePageToWide(cp, bytes, wide) && win::WideToCodePage(cp, wide, back) &&
           back == bytes;
}

} // namespace

std::string CodePageToWide(std::string_view bytes, int codePage) {
    int cp = EffectiveCodePage(codePage);
    std::string wide;
    if (DecodesExactly(cp, bytes, wide)) return wide;
    // Character by character: what does not decode to itself is kept byte for byte.
    wide.clear();
    for (size_t i = 0; i < bytes.size();) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) { // ASCII is the same in every code page used here
            wide += char(b);
            ++i;
            continue;
        }
        size_t len = (win::IsDBCSLeadByteEx(cp, b) && i + 1 < bytes.size()) ? 2 : 1;
        std::string unit;
        if (DecodesExactly(cp, bytes.substr(i, len), unit)) {
            wide += unit;
            i += len;
        } else {
            rtl::AppendUtf8(wide, EscapeBase + b);
            ++i;
        }
    }
    return wide;
}

std::string WideToCodePage(std::string_view wide, int codePage) {
    int cp = EffectiveCodePage(codePage);
    std::string bytes;
    size_t start = 0;
    auto flush = [&](size_t end) {
        if (end <= start) return;
        std::string part;
        std::string_view seg = wide.substr(start, end - start);
        if (win::WideToCodePage(cp, seg, part))
            bytes += part;
        else
            bytes.append(seg); // not UTF-8: keep the bytes as they are
    };
    for (size_t i = 0; i < wide.size(); ++i) {
        int b = EscapedByteAt(wide, i);
        if (b < 0) continue;
        flush(i);
        bytes += char(b);
        i += 3;
        start = i + 1;
    }
    flush(wide.size());
    return bytes;
}

namespace {

enum class Direction { ToWide, FromWide };

// System text -> code page text (ToWide), or the reverse.
std::string Recode(const std::string& s, int codePage, Direction dir) {
    int acp = win::GetACP();
    if (acp == codePage) return s;
    if (dir == Direction::ToWide) return CodePageToWide(WideToCodePage(s, acp), codePage);
    return CodePageToWide(WideToCodePage(s, codePage), acp);
}

Variant RecodeArray(const Variant& v, int codePage, Direction dir) {
    Variant r = v;
    int dims = ole::VarArrayDimCount(v);
    if (dims == 1) {
        for (int i = ole::VarArrayLowBound(v, 1); i <= ole::VarArrayHighBound(v, 1); ++i) {
            const Variant& e = v[i];
            if (e.IsArray())
                r[i] = RecodeArray(e, codePage, dir);
            else if (e.BaseType() == ole::varOleStr)
                r[i] = Variant::OleStr(Recode(e.AsString(), codePage, dir));
        }
    } else if (dims == 2) {
        for (int i = ole::VarArrayLowBound(v, 1); i <= ole::VarArrayHighBound(v, 1); ++i)
            for (int j = ole::VarArrayLowBound(v, 2); j <= ole::VarArrayHighBound(v, 2); ++j) {
                const Variant& e = v.At({i, j});
                if (e.BaseType() == ole::varOleStr)
                    r.At({i, j}) = Variant::OleStr(Recode(e.AsString(), codePage, dir));
            }
    }
    return r;
}

Variant RecodeVariant(const Variant& v, int codePage, Direction dir, const char* line) {
    try {
        const Variant& val = v.Deref();
        if (val.IsEmpty() || val.IsNull()) return val;
        if (val.IsString()) {
            std::string s = Recode(val.AsString(), codePage, dir);
            return dir == Direction::ToWide ? Variant::OleStr(std::move(s)) : Variant(std::move(s));
        }
        if (val.IsArray()) return RecodeArray(val, codePage, dir);
        return val;
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", std::string(line) + e.what(), "D");
        return v.Deref();
    }
}

} // namespace

Variant IfVar(bool cond, const Variant& a, const Variant& b) {
    return cond ? a : b;
}

bool VarIsBlank(const Variant& v) {
    return v.Deref().IsEmpty() || v.Deref().IsNull();
}

Variant VarToWideCP(const Variant& v, int codePage) {
    return RecodeVariant(v, codePage, Direction::ToWide, "LINE[115] ");
}

Variant VarFromWideCP(const Variant& v, int codePage) {
    return RecodeVariant(v, codePage, Direction::FromWide, "LINE[2735] ");
}

bool SetFieldText(db::TField* field, std::string_view text, bool useEditText) {
    if (!field) return false;
    struct RestoreReadOnly {
        db::TField* Field;
        bool Value;
        ~RestoreReadOnly() { Field->SetReadOnly(Value); }
    } restore{field, field->ReadOnly()};
    field->SetReadOnly(false);
    const db::TFieldType type = field->DataType();
    const bool numeric = type == db::TFieldType::ftSmallint || type == db::TFieldType::ftInteger ||
                         type == db::TFieldType::ftFloat;
    if (numeric && useEditText) {
        field->SetEditText(std::string(text));
        return true;
    }
    std::string value(text);
    // Only sized fields are cut; a number's field has no size to measure against.
    const int size = field->Size();
    if (type != db::TFieldType::ftMemo && size > 0) {
        const int acp = win::GetACP();
        if (win::ByteLengthInCodePage(acp, value) > size) {
            // Whole characters while they fit: a double-byte character that would straddle
            // the limit goes as a whole.
            int bytes = 0;
            size_t i = 0;
            while (i < value.size()) {
                const unsigned char lead = static_cast<unsigned char>(value[i]);
                size_t n = lead < 0x80             ? 1
                           : (lead & 0xE0) == 0xC0 ? 2
                           : (lead & 0xF0) == 0xE0 ? 3
                           : (lead & 0xF8) == 0xF0 ? 4
                                                   : 1;
                n = std::min(n, value.size() - i);
                const int b =
                    n == 1 ? 1
                           : win::ByteLengthInCodePage(acp, std::string_view(value).substr(i, n));
                if (bytes + b > size) break;
                bytes += b;
                i += n;
            }
            value.resize(i);
        }
    }
    field->SetText(value);
    return true;
}
