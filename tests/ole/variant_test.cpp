#include "platform/ole/ComObj.h"
#include "platform/ole/Variant.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace ole;

namespace {

enum class Fails { No, Convert, Cast };

template <class T> struct Row {
    const char* Label;
    Variant In;
    T Want{};
    Fails Fail = Fails::No;
};

template <class T>
void CheckTable(const std::vector<Row<T>>& rows, const std::function<T(const Variant&)>& read) {
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Label);
        switch (r.Fail) {
        case Fails::No:
            EXPECT_EQ(read(r.In), r.Want);
            break;
        case Fails::Convert:
            EXPECT_THROW(read(r.In), rtl::EConvertError);
            break;
        case Fails::Cast:
            EXPECT_THROW(read(r.In), rtl::EVariantTypeCastError);
            break;
        }
    }
}

// The message a throwing call leaves, or "" when it does not throw.
template <class F> std::string MessageOf(F f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

const double Mar4 = rtl::EncodeDate(2026, 3, 4);
const double Mar4At5 = Mar4 + rtl::EncodeTime(5, 6, 7, 0);

class Dummy : public TAutoObject {};

} // namespace

TEST(Variant, KindsAndTags) {
    struct Case {
        Variant V;
        uint16_t Type;
        const char* Name;
    } cases[] = {
        {Variant(), varEmpty, "Empty"},
        {Variant::Null(), varNull, "Null"},
        {Variant(true), varBoolean, "Boolean"},
        {Variant(7), varInteger, "Integer"},
        {Variant(int64_t(7)), varInt64, "Int64"},
        {Variant(1.5), varDouble, "Double"},
        {Variant(Currency{15000}), varCurrency, "Currency"},
        {Variant::FromDate(Mar4), varDate, "Date"},
        {Variant("x"), varString, "String"},
        {Variant::OleStr("x"), varOleStr, "OleStr"},
        {Variant::Smallint(3), varSmallint, "Smallint"},
        {Variant::Byte(3), varByte, "Byte"},
        {Variant(DispatchPtr(std::make_shared<Dummy>())), varDispatch, "Dispatch"},
        {VarArrayOf({1}), varArray | varVariant, "Array Variant"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.V.VarType(), c.Type) << c.Name;
        EXPECT_EQ(VarTypeAsText(c.V.VarType()), c.Name);
    }
    EXPECT_EQ(VarTypeAsText(varByRef | varInteger), "ByRef Integer");
    EXPECT_EQ(VarTypeAsText(0x0123), "$0123");

    // The wide-string tag survives copies and moves; the text is the same either way.
    Variant w = Variant::OleStr("中文");
    Variant moved = std::move(Variant(w));
    EXPECT_EQ(moved.VarType(), varOleStr);
    EXPECT_EQ(moved.AsString(), "中文");
    EXPECT_TRUE(moved.IsString() && Variant("a").IsString() && !Variant(1).IsString());
    EXPECT_TRUE(Variant(true).IsNumeric() && Variant(Currency{}).IsNumeric());
    EXPECT_FALSE(Variant::FromDate(1).IsNumeric() || Variant("1").IsNumeric());
}

TEST(Variant, ToString) {
    CheckTable<std::string>(
        {
            {"empty", Variant(), ""},
            {"true", Variant(true), "True"},
            {"false", Variant(false), "False"},
            {"int", Variant(-42), "-42"},
            {"int64", Variant(int64_t(5000000000)), "5000000000"},
            {"double", Variant(0.1), "0.1"},
            {"double exponent", Variant(1e20), "1E20"},
            {"currency keeps four decimals", Variant(Currency::FromDouble(1.23456)), "1.2346"},
            {"currency trims zeros", Variant(Currency{-15000}), "-1.5"},
            {"currency whole", Variant(Currency{1000000}), "100"},
            {"date alone", Variant::FromDate(Mar4), "2026/3/4"},
            {"date and time", Variant::FromDate(Mar4At5), "2026/3/4 5:06:07"},
            {"time on day 0", Variant::FromDate(0.5), "1899/12/30 12:00:00"},
            {"olestr", Variant::OleStr("宽"), "宽"},
            {"null", Variant::Null(), "", Fails::Cast},
            {"array", VarArrayOf({1}), "", Fails::Cast},
            {"dispatch", Variant(DispatchPtr(std::make_shared<Dummy>())), "", Fails::Cast},
        },
        [](const Variant& v) { return v.AsString(); });
    EXPECT_EQ(VarToStr(Variant::Null()), "");
    EXPECT_EQ(VarToStr(Variant()), "");
    EXPECT_EQ(VarToStr(Variant(2.5)), "2.5");
}

TEST(Variant, ToInteger) {
    CheckTable<int>(
        {
            {"empty", Variant(), 0},
            {"true is -1", Variant(true), -1},
            {"false", Variant(false), 0},
            {"2.5 to even", Variant(2.5), 2},
            {"3.5 to even", Variant(3.5), 4},
            {"-2.5 to even", Variant(-2.5), -2},
            {"2.6", Variant(2.6), 3},
            {"currency 2.5", Variant(Currency{25000}), 2},
            {"currency -3.5", Variant(Currency{-35000}), -4},
            {"date", Variant::FromDate(Mar4At5), static_cast<int>(Mar4)},
            {"text", Variant(" 42"), 42},
            {"hex text", Variant("$1F"), 31},
            {"decimal text rounds", Variant("1.5"), 2},
            {"olestr", Variant::OleStr("-7"), -7},
            {"int64 in range", Variant(int64_t(-5)), -5},
            {"bad text", Variant("abc"), 0, Fails::Convert},
            {"empty text", Variant(""), 0, Fails::Convert},
            {"text too big", Variant("3000000000"), 0, Fails::Convert},
            {"null", Variant::Null(), 0, Fails::Cast},
            {"array", VarArrayOf({1}), 0, Fails::Cast},
            {"int64 too big", Variant(int64_t(5000000000)), 0, Fails::Cast},
            {"double too big", Variant(1e10), 0, Fails::Cast},
            {"nan", Variant(std::nan("")), 0, Fails::Cast},
        },
        [](const Variant& v) { return v.AsInteger(); });
    EXPECT_EQ(Variant(1e10).AsInt64(), 10000000000);
    EXPECT_EQ(Variant("-9223372036854775808").AsInt64(), INT64_MIN);
    EXPECT_THROW(Variant(1e19).AsInt64(), rtl::EVariantTypeCastError);
}

TEST(Variant, ToDoubleBooleanDateCurrency) {
    CheckTable<double>(
        {
            {"empty", Variant(), 0},
            {"true", Variant(true), -1},
            {"int64", Variant(int64_t(1) << 40), 1099511627776.0},
            {"currency", Variant(Currency{12345}), 1.2345},
            {"date is its day number", Variant::FromDate(Mar4At5), Mar4At5},
            {"text", Variant(" 1.5e3 "), 1500},
            {"bad text", Variant("1,5"), 0, Fails::Convert},
            {"null", Variant::Null(), 0, Fails::Cast},
            {"dispatch", Variant(DispatchPtr(std::make_shared<Dummy>())), 0, Fails::Cast},
        },
        [](const Variant& v) { return v.AsDouble(); });
    CheckTable<bool>(
        {
            {"empty", Variant(), false},
            {"TRUE text", Variant("TRUE"), true},
            {"false text", Variant::OleStr("false"), false},
            {"zero text", Variant("0"), false},
            {"number text", Variant("2"), true},
            {"int", Variant(-3), true},
            {"double zero", Variant(0.0), false},
            {"currency", Variant(Currency{1}), true},
            {"yes is not boolean", Variant("yes"), false, Fails::Convert},
            {"null", Variant::Null(), false, Fails::Cast},
            {"array", VarArrayOf({}), false, Fails::Cast},
        },
        [](const Variant& v) { return v.AsBoolean(); });
    CheckTable<double>(
        {
            {"date text", Variant("2026/3/4"), Mar4},
            {"date and time text", Variant("2026-03-04 05:06:07"), Mar4At5},
            {"time text", Variant("12:00"), 0.5},
            {"number", Variant(45000), 45000},
            {"no such day", Variant("2026/2/30"), 0, Fails::Convert},
            {"eight digits are no date", Variant("20260304"), 0, Fails::Convert},
            {"trailing junk", Variant("2026/3/4 x"), 0, Fails::Convert},
            {"null", Variant::Null(), 0, Fails::Cast},
        },
        [](const Variant& v) { return v.AsDate(); });
    CheckTable<int64_t>(
        {
            {"double rounds to 4 decimals", Variant(1.23455001), 12346},
            {"int", Variant(3), 30000},
            {"text", Variant("12.3456"), 123456},
            {"true", Variant(true), -10000},
            {"bad text", Variant("x"), 0, Fails::Convert},
            {"double too big", Variant(1e300), 0, Fails::Cast},
            {"int64 too big", Variant(INT64_MAX), 0, Fails::Cast},
        },
        [](const Variant& v) { return v.AsCurrency().Scaled; });
    EXPECT_THROW(Currency::FromDouble(1e300), rtl::EVariantTypeCastError);
}

TEST(Variant, ConversionMessagesNameTypesAndValues) {
    EXPECT_EQ(MessageOf([] { Variant::Null().AsInteger(); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(MessageOf([] { VarArrayOf({1}).AsString(); }),
              "Could not convert variant of type (Array Variant) into type (String)");
    EXPECT_EQ(MessageOf([] { Variant(DispatchPtr()).AsDouble(); }),
              "Could not convert variant of type (Dispatch) into type (Double)");
    EXPECT_EQ(MessageOf([] { Variant("abc").AsInteger(); }), "'abc' is not a valid integer value");
    EXPECT_EQ(MessageOf([] { Variant("abc").AsDouble(); }),
              "'abc' is not a valid floating point value");
    EXPECT_NE(MessageOf([] { Variant(1e10).AsInteger(); }).find("10000000000"), std::string::npos);
}

TEST(Variant, Equality) {
    auto obj = DispatchPtr(std::make_shared<Dummy>());
    struct Case {
        const char* Label;
        Variant A, B;
        bool Equal;
    } cases[] = {
        {"int and double", Variant(1), Variant(1.0), true},
        {"int and int64", Variant(5), Variant(int64_t(5)), true},
        {"smallint and byte", Variant::Smallint(200), Variant::Byte(200), true},
        {"texts", Variant("a"), Variant("a"), true},
        {"texts keep case", Variant("a"), Variant("A"), false},
        {"string and olestr", Variant("x"), Variant::OleStr("x"), true},
        {"number text", Variant("1.5"), Variant(1.5), true},
        {"non-number text", Variant("abc"), Variant(1), false},
        {"true is -1", Variant(true), Variant(-1), true},
        {"boolean text", Variant("true"), Variant(true), true},
        {"currency and double", Variant(Currency{15000}), Variant(1.5), true},
        {"currency text", Variant("1.5"), Variant(Currency{15000}), true},
        {"date text", Variant("2026/3/4"), Variant::FromDate(Mar4), true},
        {"empty and empty", Variant(), Variant(), true},
        {"empty and zero", Variant(), Variant(0), true},
        {"empty and empty text", Variant(), Variant(""), true},
        {"empty and false", Variant(), Variant(false), true},
        {"empty and one", Variant(), Variant(1), false},
        {"null and null", Variant::Null(), Variant::Null(), true},
        {"null and empty", Variant::Null(), Variant(), false},
        {"null and zero", Variant::Null(), Variant(0), false},
        {"same object", Variant(obj), Variant(obj), true},
        {"other object", Variant(obj), Variant(DispatchPtr(std::make_shared<Dummy>())), false},
        {"arrays by element", VarArrayOf({1, "a"}), VarArrayOf({1.0, "a"}), true},
        {"arrays differ", VarArrayOf({1, "a"}), VarArrayOf({1, "b"}), false},
        {"array and scalar", VarArrayOf({1}), Variant(1), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.A == c.B, c.Equal) << c.Label;
        EXPECT_EQ(c.B == c.A, c.Equal) << c.Label << " (reversed)";
    }
    // Equal elements under other bounds are another array.
    Variant oneBased = VarArrayCreate({1, 2});
    oneBased[1] = 1;
    oneBased[2] = 2;
    EXPECT_NE(oneBased, VarArrayOf({1, 2}));
}
