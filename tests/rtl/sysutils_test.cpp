#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

using namespace rtl;

TEST(SysUtils, ExceptionClassNames) {
    EXPECT_STREQ(ExceptionClassName(Exception("x")), "Exception");
    EXPECT_STREQ(ExceptionClassName(EConvertError("x")), "EConvertError");
    EXPECT_STREQ(ExceptionClassName(EWin32Error("x", 5)), "EWin32Error");
    EXPECT_STREQ(ExceptionClassName(std::runtime_error("x")), "Exception");
    EDBEngineError db("engine", {{1, "a"}, {2, "b"}});
    EXPECT_EQ(db.ErrorCount(), 2);
}

TEST(SysUtils, IntegerTextFollowsVal) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {{"12", true, 12},         {"  -7", true, -7},
                 {"$1F", true, 31},        {"0x10", true, 16},
                 {"12 ", false, 0},        {"", false, 0},
                 {"abc", false, 0},        {"1,2", false, 0},
                 {"2147483648", false, 0}, {"-2147483648", true, -2147483647 - 1}};
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_THROW(StrToInt("x1"), EConvertError);
    EXPECT_EQ(StrToIntDef("x1", 9), 9);
}

TEST(SysUtils, FloatText) {
    double v = 0;
    EXPECT_TRUE(TryStrToFloat(" 1.5e3 ", v));
    EXPECT_DOUBLE_EQ(v, 1500);
    for (const char* bad : {"", "1,5", "inf", "nan", "0x10", "1e", ".", "1.2.3"})
        EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1234.5), "1234.5");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(-1.5e-10), "-1.5E-10");
    EXPECT_EQ(FloatToStr(100), "100");
}

TEST(SysUtils, DatesAndFormat) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 11)), 6); // a Friday
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    TDateTime dt = EncodeDate(2026, 3, 4) + EncodeTime(5, 6, 7, 89);
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", dt), "2026/03/04 05:06:07:089");
    EXPECT_EQ(FormatDateTime("yyyymmdd", dt), "20260304");
    EXPECT_EQ(FormatDateTime("c", dt), "2026/3/4 5:06:07");
    EXPECT_EQ(FormatDateTime("hh:mm 'at' d-mmm", dt), "05:06 at 4-Mar");
}

TEST(Classes, StringListTextAndValues) {
    TStringList l;
    l.SetText("a=1\r\nB=2\nc\r");
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Values("b"), "2");
    EXPECT_EQ(l.Names(0), "a");
    EXPECT_EQ(l.Text(), "a=1\r\nB=2\r\nc\r\n");
    l.SetValue("a", "");
    EXPECT_EQ(l.Count(), 2);
    l.SetCommaText("x, \"y z\",\"q\"\"r\"");
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l[1], "y z");
    EXPECT_EQ(l[2], "q\"r");
    EXPECT_EQ(l.CommaText(), "x,\"y z\",\"q\"\"r\"");
}

TEST(Classes, SortedListDuplicates) {
    TStringList l;
    l.SetSorted(true);
    l.Add("b");
    l.Add("A");
    l.Add("B");
    EXPECT_EQ(l.Count(), 2); // dupIgnore, case-insensitive
    EXPECT_EQ(l[0], "A");
    l.Duplicates = TDuplicates::dupError;
    EXPECT_THROW(l.Add("a"), EStringListError);
    EXPECT_THROW(l.Insert(0, "z"), EStringListError);
    EXPECT_THROW((void)l[5], EStringListError);
}

namespace {
struct Counter : rtl::TObject {
    int changes = 0;
    void Changed(rtl::TObject*) { ++changes; }
};
} // namespace

TEST(Classes, ChangeNotificationsWaitForTheLastEndUpdate) {
    TStringList l;
    Counter c;
    l.OnChange = rtl::MethodOf<&Counter::Changed>(&c);
    l.Add("a");
    l.Put(0, "b");
    EXPECT_EQ(c.changes, 2);
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add("x");
    l.Add("y");
    l.EndUpdate();
    EXPECT_EQ(c.changes, 2);
    l.EndUpdate();
    EXPECT_EQ(c.changes, 3);
    TStringList other;
    other.SetText("1\n2\n3");
    l.Assign(&other);
    EXPECT_EQ(c.changes, 4); // one notification for the whole assignment
    EXPECT_EQ(l.Count(), 3);
    EXPECT_THROW(l.Assign(static_cast<const rtl::TPersistent*>(nullptr)), EConvertError);
}
