#include "services/LibStrs.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using ole::Variant;
using testing_support::EnvGuard;

TEST(Strings, Pieces) {
    struct Case {
        const char* s;
        const char* sep;
        int n;
        const char* piece;
    } cases[] = {
        {"a||b||c", "||", 3, "c"}, {"a||b||c", "||", 4, ""}, {"abc", "||", 1, "abc"},
        {"a||b||", "||", 3, ""},   {"a||b||", "||", 2, "b"}, {"", ";", 1, ""},
        {"a;b", ";", 0, ""},       {";;", ";", 2, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetPiece(c.s, c.sep, c.n), c.piece) << c.s << " " << c.n;
    EXPECT_EQ(PieceCount("", "||"), 0);
    EXPECT_EQ(PieceCount("abc", "||"), 1);
    EXPECT_EQ(PieceCount("a||b||", "||"), 3);
    EXPECT_EQ(PieceCount("||||", "||"), 3);

    std::string s = "id;name;rest", head;
    CutPiece(s, ";", head);
    EXPECT_EQ(head, "id");
    EXPECT_EQ(s, "name;rest");
    s = "last";
    CutPiece(s, ";", head);
    EXPECT_EQ(head, "last");
    EXPECT_EQ(s, "");
}

TEST(Strings, PadAndReplace) {
    EnvGuard acp("ORVANE_ACP", std::string("936"));
    EXPECT_EQ(PadText("ab", 4), "ab  ");
    EXPECT_EQ(PadText("abcde", 4), "abcde");
    EXPECT_EQ(PadText("ab", 4, '0'), "ab00");
    EXPECT_EQ(PadText("中", 4), "中  "); // two bytes in the system code page

    EXPECT_EQ(ReplaceAll("aXXbXc", "X", "-", false), "a--b-c");
    EXPECT_EQ(ReplaceAll(" a,b ", ",", ";", true), "a;b");
    EXPECT_EQ(ReplaceAll("aXb", "x", "X", false), "aXb"); // equal but for case: untouched
    // A New that holds Old ends, and every original occurrence is replaced once.
    EXPECT_EQ(ReplaceAll("a'b'c", "'", "''", false), "a''b''c");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa", false), "aaaaaa");
    EXPECT_EQ(ReplaceAll("abc", "", "x", false), "abc");
}

TEST(Strings, SmallHelpers) {
    EXPECT_EQ(ButtonCaption("Yes"), "是(&Y)");
    EXPECT_EQ(ButtonCaption("NoToAll"), "全否(&o)");
    EXPECT_EQ(ButtonCaption("Close"), "Close");
    EXPECT_DOUBLE_EQ(StrToFloatDefault("12.5", -1), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("1,250.5", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("12.5x", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("", 7), 7);
    EXPECT_TRUE(IsLocalHost("127.0.0.1"));
    EXPECT_FALSE(IsLocalHost("localhost"));
    EXPECT_FALSE(TempFolder().empty());
    EXPECT_EQ(TempFolder().back(), '/');

    Variant items = ole::VarArrayOf({2, "a", "b", "ignored"});
    Variant joined = JoinETX("P", items);
    EXPECT_EQ(joined.BaseType(), ole::varOleStr);
    EXPECT_EQ(joined.AsString(), "P\x03"
                                 "2\x03"
                                 "a\x03"
                                 "b\x03");
    EXPECT_TRUE(VarIsBlank(Variant()));
    EXPECT_TRUE(VarIsBlank(Variant::Null()));
    EXPECT_FALSE(VarIsBlank(Variant("")));
    EXPECT_EQ(IfVar(true, 1, "x").AsInteger(), 1);
}

namespace {

// Text that each system code page can represent.
const char* SampleFor(int acp) {
    switch (acp) {
    case 936:
        return "坏账冲销 客户 ABC-01 金额 1,234.50";
    case 950:
        return "壞帳沖銷 客戶 ABC-01 金額";
    default:
        return "Bad debts \xC3\xA9t\xC3\xA9 \xE2\x94\x80 \xC2\xB1 0.5";
    }
}

Variant Nested(const std::string& text) {
    Variant grid = ole::VarArrayCreate({0, 1, 1, 2});
    grid.At({0, 1}) = Variant::OleStr(text);
    grid.At({1, 2}) = Variant::OleStr(text + "!");
    grid.At({0, 2}) = 12;
    return ole::VarArrayOf({Variant::OleStr(text),
                            ole::VarArrayOf({Variant::OleStr(text), 3.5, Variant::Null()}), grid,
                            Variant(), true});
}

} // namespace

TEST(VariantCodePages, RoundTripForEverySystemCodePage) {
    for (int acp : {936, 950, 437}) {
        EnvGuard guard("ORVANE_ACP", std::to_string(acp));
        const std::string text = SampleFor(acp);
        for (int cp : {936, 950, 437}) {
            Variant original = Nested(text);
            Variant wide = VarToWideCP(original, cp);
            Variant back = VarFromWideCP(wide, cp);
            EXPECT_TRUE(back == original) << "system " << acp << " via " << cp;
            Variant scalar = VarFromWideCP(VarToWideCP(Variant(text), cp), cp);
            EXPECT_EQ(scalar.AsString(), text) << "system " << acp << " via " << cp;
            if (acp == cp) {
                EXPECT_TRUE(wide == original) << acp;
            }
        }
    }
}

TEST(VariantCodePages, ReCodingMeetsTheServersView) {
    // On a Big5 workstation the text goes out as its Big5 bytes read as GBK, which the server
    // decodes back with 936.
    EnvGuard guard("ORVANE_ACP", std::string("950"));
    Variant wide = VarToWideCP(Variant("帳"), 936);
    EXPECT_EQ(wide.BaseType(), ole::varOleStr);
    EXPECT_EQ(WideToCodePage(wide.AsString(), 936), "\xB1\x62"); // "帳" in Big5
    EXPECT_EQ(CodePageToWide(WideToCodePage("中文", 950), 950), "中文");
    // Bytes that do not decode survive a round trip.
    const std::string raw = "\x81\x20\xFF\xA1";
    EXPECT_EQ(WideToCodePage(CodePageToWide(raw, 936), 936), raw);
    // Numbers, booleans, Empty and Null pass untouched; 3-D arrays are left alone.
    EXPECT_TRUE(VarToWideCP(Variant(5), 936) == Variant(5));
    EXPECT_TRUE(VarToWideCP(Variant::Null(), 936).IsNull());
    Variant cube = ole::VarArrayCreate({0, 0, 0, 0, 0, 0});
    cube.At({0, 0, 0}) = Variant::OleStr("帳");
    EXPECT_EQ(VarToWideCP(cube, 936).At({0, 0, 0}).AsString(), "帳");
}
