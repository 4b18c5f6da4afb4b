// TDateTime arithmetic and FormatDateTime.
#include "platform/rtl/SysUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace rtl {

std::string ShortDateFormat = "yyyy/m/d";
std::string LongTimeFormat = "h:nn:ss";
char DateSeparator = '/';
char TimeSeparator = ':';

// Days between 1970-01-01 and 1899-12-30.
static constexpr int64_t UnixDelta = 25569;

// Proleptic Gregorian day count from 1970-01-01 (H. Hinnant's algorithm).
static int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

static void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInAMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInAMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (!IsValidDate(year, month, day)) return false;
    out = static_cast<double>(DaysFromCivil(year, unsigned(month), unsigned(day)) + UnixDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError(Format("Invalid argument to date encode: %d-%d-%d", year, month, day));
    return r;
}

// Delphi keeps negative day numbers with a positive time fraction (-1.25 is 29 Dec 1899 6:00),
// so the day part is the integral part, not the floor.
static int64_t DayPart(TDateTime dt) {
    return static_cast<int64_t>(std::trunc(dt));
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
    if (!std::isfinite(dt) || dt < MinDateTimeDay || dt >= MaxDateTimeDay + 1.0) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(DayPart(dt) - UnixDelta, year, month, day);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        throw EConvertError(
            Format("Invalid argument to time encode: %d:%d:%d.%d", hour, minute, second, msec));
    return ((hour * 3600000.0) + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
}

void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec) {
    double frac = std::fabs(dt - std::trunc(dt));
    int64_t ms = static_cast<int64_t>(std::llround(frac * 86400000.0));
    if (ms >= 86400000) ms = 86399999;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime dt) {
    // 1899-12-30 was a Saturday (7).
    int64_t d = DayPart(dt);
    int64_t w = ((d % 7) + 7 + 6) % 7; // 0 = Sunday
    return static_cast<int>(w) + 1;
}

TDateTime Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    int64_t ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    std::time_t secs = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    TDateTime d = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return d + EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                          static_cast<int>(ms % 1000));
}

TDateTime Date() {
    return std::trunc(Now());
}

// ---------------------------------------------------------------------------------------------
// FormatDateTime

namespace {

const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[12] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
const char* const ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

struct Formatter {
    TDateTime dt;
    int y, mo, d, h, mi, s, ms;
    std::string out;
    int depth = 0;

    void Two(int v) {
        out += char('0' + v / 10 % 10);
        out += char('0' + v % 10);
    }

    // Counts how many times c repeats at format[i...] without regard to case.
    static size_t Run(std::string_view f, size_t i) {
        size_t n = 1;
        char c = static_cast<char>(f[i] | 0x20);
        while (i + n < f.size() && static_cast<char>(f[i + n] | 0x20) == c)
            ++n;
        return n;
    }

    bool HasAmPm(std::string_view f) const {
        for (size_t i = 0; i < f.size(); ++i) {
            if (f[i] == '"' || f[i] == '\'') {
                char q = f[i++];
                while (i < f.size() && f[i] != q)
                    ++i;
                continue;
            }
            if (StartsText("am/pm", f.substr(i)) || StartsText("a/p", f.substr(i)) ||
                StartsText("ampm", f.substr(i)))
                return true;
        }
        return false;
    }

    void Run(std::string_view f) {
        if (++depth > 3) return; // "c" inside ShortDateFormat cannot recurse without end
        bool ampm = HasAmPm(f);
        bool lastWasHour = false;
        for (size_t i = 0; i < f.size();) {
            char c = f[i];
            char lc = static_cast<char>(c | 0x20);
            if (c == '"' || c == '\'') {
                size_t j = f.find(c, i + 1);
                if (j == std::string_view::npos) j = f.size();
                out.append(f.substr(i + 1, j - i - 1));
                i = j + 1;
                continue;
            }
            if (c == '/') {
                out += DateSeparator;
                ++i;
                continue;
            }
            if (c == ':') {
                out += TimeSeparator;
                ++i;
                continue;
            }
            if (lc == 'a') {
                std::string_view rest = f.substr(i);
                if (StartsText("am/pm", rest)) {
                    out += h < 12 ? "am" : "pm";
                    i += 5;
                } else if (StartsText("a/p", rest)) {
                    out += h < 12 ? 'a' : 'p';
                    i += 3;
                } else if (StartsText("ampm", rest)) {
                    out += h < 12 ? "AM" : "PM";
                    i += 4;
                } else {
                    out += c;
                    ++i;
                }
                continue;
            }
            size_t n = (lc >= 'a' && lc <= 'z') ? Run(f, i) : 1;
            switch (lc) {
            case 'y':
                if (n <= 2)
                    Two(y % 100);
                else
                    out += Format("%04d", y);
                break;
            case 'm':
                if (lastWasHour && n <= 2) {
                    if (n == 1)
                        out += std::to_string(mi);
                    else
                        Two(mi);
                } else if (n == 1)
                    out += std::to_string(mo);
                else if (n == 2)
                    Two(mo);
                else if (n == 3)
                    out += ShortMonthNames[mo - 1];
                else
                    out += LongMonthNames[mo - 1];
                break;
            case 'd':
                if (n == 1)
                    out += std::to_string(d);
                else if (n == 2)
                    Two(d);
                else if (n == 3)
                    out += ShortDayNames[DayOfWeek(dt) - 1];
                else if (n == 4)
                    out += LongDayNames[DayOfWeek(dt) - 1];
                else if (n == 5)
                    Run(ShortDateFormat);
                else
                    Run("yyyy'年'm'月'd'日'");
                break;
            case 'h': {
                int hh = ampm ? (h % 12 == 0 ? 12 : h % 12) : h;
                if (n == 1)
                    out += std::to_string(hh);
                else
                    Two(hh);
                break;
            }
            case 'n':
                if (n == 1)
                    out += std::to_string(mi);
                else
                    Two(mi);
                break;
            case 's':
                if (n == 1)
                    out += std::to_string(s);
                else
                    Two(s);
                break;
            case 'z':
                if (n < 3)
                    out += std::to_string(ms);
                else
                    out += Format("%03d", ms);
                break;
            case 't':
                if (n == 1)
                    Run("h:nn");
                else
                    Run(LongTimeFormat);
                break;
            case 'c':
                Run(ShortDateFormat);
                if (dt != std::trunc(dt)) {
                    out += ' ';
                    Run(LongTimeFormat);
                }
                break;
            default:
                out.append(f.substr(i, n));
                break;
            }
            if (lc != ' ') lastWasHour = lc == 'h';
            i += n;
        }
        --depth;
    }
};

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime dt) {
    Formatter f{dt, 0, 0, 0, 0, 0, 0, 0, {}};
    DecodeDate(dt, f.y, f.mo, f.d);
    if (f.mo == 0) f.mo = 1; // out of range: numbers print as zero, names stay valid
    DecodeTime(dt, f.h, f.mi, f.s, f.ms);
    f.Run(format.empty() ? std::string_view("c") : format);
    return f.out;
}

} // namespace rtl
