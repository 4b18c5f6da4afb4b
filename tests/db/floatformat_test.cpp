#include "platform/rtl/FloatFormat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Case {
    const char* Format;
    double Value;
    const char* Expected;
};

// Expected texts as Free Pascal's FormatFloat gives them, except where noted.
const Case Cases[] = {
    // The formats the job uses.
    {"#,##0", 1234.5, "1,235"},
    {"#,##0", 123456789.125, "123,456,789"},
    {"#,##0", 0, "0"},
    {"#,##0.00", 1234.5, "1,234.50"},
    {"#,##0.00", -1234.5, "-1,234.50"},
    {"#,##0.00", 1234567.891, "1,234,567.89"},
    {"#,##0.00", 1e15, "1,000,000,000,000,000.00"},
    {"##0.00", 1234.5, "1234.50"},
    {"##0.00", 0.5, "0.50"},
    {"#.0000000", 0.5, ".5000000"},
    {"#.0000000", 0, ".0000000"},
    {"#.0000000", -0.4, "-.4000000"},
    {"#0.0000000", 0.000123, "0.0001230"},
    // Rounding on 17 significant digits, half away from zero.
    {"0.00", 1.005, "1.00"},    // held as 1.00499999999999989
    {"0.00", 2.675, "2.67"},    // 2.67499999999999982
    {"0.00", 1.115, "1.12"},    // 1.11499999999999999 -> 1.1150000000000000
    {"0.00", 99.995, "100.00"}, // 99.9950000000000045
    {"0.00", 0.125, "0.13"},
    {"0.00", -0.125, "-0.13"},
    {"0", 0.5, "1"},
    {"0", 9.5, "10"},
    // Optional and forced digits, literals in place.
    {"#", 0, ""},
    {"#", 0.15, ""},
    {"#.##", 1, "1"},
    {"#.##", 0.5, ".5"},
    {"0.##", 2.675, "2.67"},
    {"00000", 12, "00012"},
    {"0-00", 1234.5, "12-35"},
    {"0-00", 1, "0-01"},
    {"0.", 1.5, "2"},
    {".00", 1234.5, "1234.50"},
    {"0 %", 12, "12 %"},
    {"#,###", 0, ""},
    {"0,0", 1234.5, "1,235"},
    {"#,#0.0#", 1234.5, "1,234.5"},
    {"\"Total: \"0.00", -1, "-Total: 1.00"},
    {"'q'0", 3, "q3"},
    {"abc", -1, "-abc"},
    // Sections.
    {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
    {"#,##0.00;(#,##0.00)", 1234.5, "1,234.50"},
    {"0.0;-0.0;\"zero\"", 0, "zero"},
    {";\"neg\"", -0.4, "neg"},
    {"#,##0.00;;", -1, "-1.00"}, // Free Pascal: "-1"; an empty section means the first
    {"0.0;(0.0);", 0, "0.0"},    // Free Pascal: "0"
    {"\"a;b\"0", 5, "a;b5"},
    // Values that round to zero show as zero (Free Pascal: "-0", "-0.00", ".00").
    {"#,##0", -0.4, "0"},
    {"#,##0.00", -0.001, "0.00"},
    {"#.##", 0.001, ""},
    {"0.##", 0.001, "0"},
    {"0.0;-0.0;\"zero\"", 0.001, "zero"},
    // Scientific notation.
    {"0.00E+00", 1234.5, "1.23E+03"},
    {"0.00E+00", 0.000123, "1.23E-04"},
    {"0.00E+00", 0, "0.00E+00"},
    {"0.0E-0", 1234.5, "1.2E3"},
    {"0.0E-0", 0.5, "5.0E-1"},
    {"##0.0E+00", 1234.5, "123.5E+01"},
    {"#.###e+000", 12, "1.2e+001"},
    {"0.000E+0000", -1234.5, "-1.235E+0003"},
    {"#E+0", 99.995, "1E+2"},
    {"0.00E+00", 1e20, "1.00E+20"},
    // Beyond 18 integer digits, and empty formats: the general format.
    {"#,##0.00", 1e20, "1E20"},
    {"", 1234.5, "1234.5"},
};

TEST(FormatFloat, Table) {
    for (const Case& c : Cases)
        EXPECT_EQ(rtl::FormatFloat(c.Format, c.Value), c.Expected)
            << "format \"" << c.Format << "\" value " << c.Value;
}

TEST(FormatFloat, NotFinite) {
    EXPECT_EQ(rtl::FormatFloat("#,##0.00", INFINITY), "INF");
    EXPECT_EQ(rtl::FormatFloat("#,##0.00", NAN), "NAN");
}

TEST(TextToFloat, ReadsTypedNumbers) {
    struct {
        const char* Text;
        bool Ok;
        double Value;
    } cases[] = {
        {"1234.5", true, 1234.5},
        {" -12 ", true, -12},
        {"1,234.50", true, 1234.5},
        {"12,345,678", true, 12345678},
        {"-1,000", true, -1000},
        {"1.5E3", true, 1500},
        {"", false, 0},
        {"abc", false, 0},
        {"1,2,3", false, 0},
        {",123", false, 0},
        {"1234,567", false, 0},
        {"1,23", false, 0},
        {"1,234.5,6", false, 0},
        {"12a", false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(rtl::TryTextToFloat(c.Text, v), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_DOUBLE_EQ(v, c.Value) << c.Text;
        }
    }
}

TEST(TextToFloat, ReadsBackWhatFormatFloatWrote) {
    for (double v : {0.0, 1234.5, -98765.43, 1e15, 0.07}) {
        double back = 0;
        ASSERT_TRUE(rtl::TryTextToFloat(rtl::FormatFloat("#,##0.00", v), back)) << v;
        EXPECT_DOUBLE_EQ(back, std::round(v * 100) / 100);
    }
}

} // namespace
