// The date library against an independent calendar (<chrono>), and its documented cases.
#include "services/LibStrs.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace {

using namespace std::chrono;

const sys_days Epoch = sys_days{1899y / December / 30};

double DayNumber(year_month_day ymd) {
    return double((sys_days{ymd} - Epoch).count());
}

std::string Date8(year_month_day ymd) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()));
    return buf;
}

std::string Date8(sys_days d) {
    return Date8(year_month_day{d});
}

year_month_day AddMonthsClamped(year_month_day ymd, int n) {
    year_month_day r = ymd + months(n);
    if (!r.ok()) r = year_month_day{year_month_day_last{r.year(), month_day_last{r.month()}}};
    return r;
}

std::string Expected(int type, const char* sep, year_month_day ymd) {
    int y = int(ymd.year()), m = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
    char buf[32];
    switch (type) {
    case 1:
        std::snprintf(buf, sizeof buf, "%.4d%s%.2d%s%.2d", y, sep, m, sep, d);
        break;
    case 2:
        std::snprintf(buf, sizeof buf, "%.2d%s%.2d%s%.4d", m, sep, d, sep, y);
        break;
    case 3:
        std::snprintf(buf, sizeof buf, "%.2d%s%.2d%s%.4d", d, sep, m, sep, y);
        break;
    case 4:
        std::snprintf(buf, sizeof buf, "%.2d%s%.2d%s%.2d", y - 1911, sep, m, sep, d);
        break;
    default:
        std::snprintf(buf, sizeof buf, "%.3d%s%.2d%s%.2d", y - 1911, sep, m, sep, d);
        break;
    }
    return buf;
}

} // namespace

// Every day from 1753-01-01 to 2200-12-31 with a spread of offsets.
TEST(DatesOracle, EveryDayAgreesWithChrono) {
    const sys_days first = sys_days{1753y / January / 1}, last = sys_days{2200y / December / 31};
    int failures = 0;
    for (sys_days day = first; day <= last && failures < 20; day += days(1)) {
        const year_month_day ymd{day};
        const int serial = int((day - first).count());
        const std::string s = Date8(ymd);
        const double dn = DayNumber(ymd);
        if (dn == 0) continue; // day 0 (1899-12-30) is "no date" throughout the system
        auto check = [&](bool ok, const char* what, int n = 0) {
            if (!ok) {
                ADD_FAILURE() << s << ": " << what << " " << n;
                ++failures;
            }
        };
        check(IsValidDate8(s), "IsValidDate8");
        check(Date8ToDate(s) == dn, "Date8ToDate");
        check(DaysOfMonth(int(ymd.year()), int(unsigned(ymd.month()))) ==
                  int(unsigned(year_month_day_last{ymd.year(), month_day_last{ymd.month()}}.day())),
              "DaysOfMonth");

        const int offsets[] = {1, -1, serial % 61 - 30, 12 * (serial % 9) - 48};
        for (int n : offsets) {
            check(AddToDate8(s, "D", n) == Date8(day + days(n)), "D", n);
            check(AddToDate8(s, "m", n) == Date8(AddMonthsClamped(ymd, n)), "M", n);
            year_month_day y = ymd + years(n);
            check(AddToDate8(ole::Variant::FromDate(dn), "Y", n) == Date8(y.ok() ? y : ymd), "Y",
                  n);

            // Month periods: moved (day clamped), then + days, first or last day of that month.
            year_month_day m = AddMonthsClamped(ymd, n);
            std::string off = std::to_string(n), d3 = std::to_string(serial % 7);
            check(ShiftDate(s, off, "1", d3, "0") == Date8(sys_days{m} + days(serial % 7)),
                  "ShiftDate months mode 0", n);
            check(ShiftDate(s, off, "1", d3, "1") == Date8(m.year() / m.month() / 1),
                  "ShiftDate months mode 1", n);
            check(ShiftDate(s, off, "1", d3, "2") == Date8(year_month_day{year_month_day_last{
                                                         m.year(), month_day_last{m.month()}}}),
                  "ShiftDate months mode 2", n);

            // Week periods: the Sunday or Saturday of the week n weeks away, or plain days.
            sys_days t = day + weeks(n);
            unsigned wd = weekday{t}.c_encoding(); // 0 = Sunday
            check(WeekEdge(s, off, "1") == Date8(t - days(wd)), "WeekEdge Sunday", n);
            check(WeekEdge(s, off, "2") == Date8(t + days(6 - wd)), "WeekEdge Saturday", n);
            check(ShiftDate(s, off, "0", d3, "1") == Date8(t - days(wd)), "ShiftDate weeks 1", n);
            check(ShiftDate(s, off, "0", d3, "0") == Date8(t + days(serial % 7)),
                  "ShiftDate weeks 0", n);
        }

        for (int type = 1; type <= 5; ++type) {
            const char* sep = (serial % 3 == 0) ? "/" : (serial % 3 == 1) ? "-" : ".";
            std::string shown = FormatDateByType(type, sep, dn);
            check(shown == Expected(type, sep, ymd), "FormatDateByType", type);
            // Republic-of-China years start in 1912; earlier ones have no positive year to read.
            bool readable = type < 4 || int(ymd.year()) > 1911;
            check(ParseDateByType(shown, type, sep) == (readable ? dn : 0), "ParseDateByType",
                  type);
        }
    }
}

TEST(DatesOracle, InvalidDaysAreRejected) {
    for (int y = 1753; y <= 2200; ++y)
        for (unsigned m = 1; m <= 12; ++m)
            for (unsigned d : {0u, 29u, 30u, 31u, 32u}) {
                year_month_day ymd{year{y}, month{m}, day{d}};
                char buf[16];
                std::snprintf(buf, sizeof buf, "%04d%02u%02u", y, m, d);
                ASSERT_EQ(IsValidDate8(buf), ymd.ok()) << buf;
                if (std::string(buf) != "18991230") { // day 0 means no date
                    ASSERT_EQ(Date8ToDate(buf) != 0, ymd.ok()) << buf;
                }
            }
}

TEST(Dates, DocumentedCases) {
    EXPECT_TRUE(IsValidDate8(""));
    EXPECT_TRUE(IsValidDate8("17530101"));
    EXPECT_FALSE(IsValidDate8("17521231"));
    EXPECT_FALSE(IsValidDate8("20230229"));
    EXPECT_FALSE(IsValidDate8("2026121"));
    EXPECT_FALSE(IsValidDate8("2026-1-1"));
    EXPECT_EQ(Date8ToDate("2026121"), 0);
    EXPECT_EQ(Date8ToDate("2026ab01"), 0);
    EXPECT_EQ(FormatDateByType(1, "/", 0), "");
    double d2001 = rtl::EncodeDate(2001, 5, 6);
    EXPECT_EQ(FormatDateByType(4, "/", d2001), "90/05/06");
    EXPECT_EQ(FormatDateByType(5, "/", d2001), "090/05/06");
    EXPECT_EQ(FormatDateByType(1, "", d2001), "20010506");
    EXPECT_EQ(FormatYMByType(2, "-", d2001), "05-2001");
    EXPECT_EQ(FormatYMByType(5, "/", d2001), "090/05");
    EXPECT_EQ(AddToDate8("20240131", "M", 1), "20240229");
    EXPECT_EQ(AddToDate8("20230131", "M", 1), "20230228");
    EXPECT_EQ(AddToDate8("20260115", "M", -1), "20251215");
    EXPECT_EQ(AddToDate8("20240229", "Y", 1), "20240229");
    EXPECT_EQ(AddToDate8("20260315", "W", 1), "");
    EXPECT_EQ(AddToDate8("", "D", 1), "");
    EXPECT_EQ(AddToDate8(ole::Variant(5), "D", 1), "");
}

TEST(Dates, ParseByTypeLeniencyAndRefusals) {
    struct Case {
        const char* text;
        int type;
        const char* sep;
        const char* expected; // "" for no date
    } cases[] = {
        {" 2026/12/11 ", 1, "/", "20261211"},
        {"2026 / 2 / 30", 1, "/", "20260302"},
        {"12/11/2026", 2, "/", "20261211"},
        {"11/12/2026", 3, "/", "20261211"},
        {"115/12/11", 5, "/", "20261211"},
        {"90/5/6", 4, "/", "20010506"},
        {"", 1, "/", ""},
        {"2026/12", 1, "/", ""},
        {"2026/0/11", 1, "/", ""},
        {"2026/13/11", 1, "/", ""},
        {"abc/1/1", 1, "/", ""},
        {"2026/12/11", 6, "/", ""},
        {"99999/1/1", 1, "/", ""},
        {"9999/12/99", 1, "/", ""},
        {"2147483647/1/1", 5, "/", ""},
        {"2026/1/2147483647", 1, "/", ""},
    };
    for (const auto& c : cases) {
        double d = ParseDateByType(c.text, c.type, c.sep);
        std::string got = d == 0 ? "" : AddToDate8(ole::Variant::FromDate(d), "D", 0);
        EXPECT_EQ(got, c.expected) << c.text << " type " << c.type;
    }
}

TEST(Dates, FarOutOfRangeAnswersNoDate) {
    // The month shift of a year 1 or 9999 date leaves the calendar: no date, and no endless search.
    EXPECT_EQ(AddToDate8("00010115", "M", -1), "");
    EXPECT_EQ(AddToDate8("99991215", "M", 1), "");
    EXPECT_EQ(AddToDate8("99991231", "D", 1), "");
    EXPECT_EQ(AddToDate8("20260101", "M", 2000000000), "");
    EXPECT_EQ(AddToDate8("20260101", "M", -2000000000), "");
    EXPECT_EQ(AddToDate8("99990101", "Y", 1), "99990101");
    EXPECT_EQ(AddToDate8(ole::Variant::FromDate(1e12), "D", 1), "");
    EXPECT_EQ(FormatDateByType(1, "/", 1e12), "");
    EXPECT_EQ(ShiftDate("99991201", "2", "1", "0", "0"), "");
    EXPECT_EQ(ShiftDate("bad", "1", "0", "0", "0"), "");
    EXPECT_EQ(WeekEdge("99991231", "1", "1"), "");
}
