#include "platform/vcl/MaskUtils.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

const char* const kDate = "!9999/99/99;1;_";

// Puts the process's separators back after a test that changes them.
class SeparatorGuard {
public:
    SeparatorGuard() : FDate(rtl::DateSeparator), FTime(rtl::TimeSeparator) {}
    ~SeparatorGuard() {
        rtl::DateSeparator = FDate;
        rtl::TimeSeparator = FTime;
    }

private:
    char FDate, FTime;
};

} // namespace

TEST(EditMask, ParsesFieldsWithDefaults) {
    struct Case {
        const char* mask;
        int fields, separator;
        bool save;
        const char* blank;
        int maxChars;
        const char* maskPart;
    } cases[] = {
        {"!9999/99/99;1;_", 3, 11, true, "_", 10, "!9999/99/99"},
        {"!9999/99/99;1; ", 3, 11, true, " ", 10, "!9999/99/99"},
        {"000;0", 2, 3, false, "_", 3, "000"},
        {"AAA;0;*", 3, 3, false, "*", 3, "AAA"},
        {"999", 1, -1, true, "_", 3, "999"},
        {"99;1;", 3, 2, true, "_", 2, "99"},  // empty blank field: the default
        {"99;;x", 3, 2, true, "x", 2, "99"},  // empty save field: saved
        {"99;1;;", 3, 2, true, ";", 2, "99"}, // ';' can be the blank
        {"99;1;中", 3, 2, true, "中", 2, "99"},
        {"99;99-99;1;_", 3, 8, true, "_", 8, "99;99-99"}, // an early ';' is a literal
        {"99\\;", 1, -1, true, "_", 3, "99\\;"},          // so is an escaped one
        {"99\\", 1, -1, true, "_", 2, "99\\"},            // trailing '\' escapes nothing
        {"", 1, -1, true, "_", 0, ""},
        {";1;_", 3, 0, true, "_", 0, ""},
    };
    for (const auto& c : cases) {
        TEditMask m(c.mask);
        EXPECT_EQ(m.FieldCount(), c.fields) << c.mask;
        EXPECT_EQ(m.FieldSeparator(), c.separator) << c.mask;
        EXPECT_EQ(MaskGetFieldSeparator(c.mask), c.separator) << c.mask;
        EXPECT_EQ(m.SaveLiterals(), c.save) << c.mask;
        EXPECT_EQ(MaskGetMaskSave(c.mask), c.save) << c.mask;
        EXPECT_EQ(m.Blank(), c.blank) << c.mask;
        EXPECT_EQ(MaskGetMaskBlank(c.mask), c.blank) << c.mask;
        EXPECT_EQ(m.MaxChars(), c.maxChars) << c.mask;
        EXPECT_EQ(m.MaskPart(), c.maskPart) << c.mask;
        EXPECT_EQ(m.IsMasked(), c.maxChars > 0) << c.mask;
    }
}

TEST(EditMask, ClassifiesPositionsAndDirectives) {
    TEditMask m(">L<l<>a\\A_:0#c");
    ASSERT_EQ(m.MaxChars(), 9);
    const auto& p = m.Positions();
    EXPECT_EQ(p[0].Type, TMaskCharType::mcMask);
    EXPECT_EQ(p[0].Case, TMaskCase::Upper);
    EXPECT_EQ(p[1].Type, TMaskCharType::mcMaskOpt);
    EXPECT_EQ(p[1].Case, TMaskCase::Lower);
    EXPECT_EQ(p[2].Case, TMaskCase::None); // "<>" switches case off
    EXPECT_EQ(p[3].Type, TMaskCharType::mcLiteral);
    EXPECT_EQ(p[3].Literal, "A");
    EXPECT_EQ(p[4].Literal, " "); // '_' shows a space
    EXPECT_EQ(p[5].Type, TMaskCharType::mcIntlLiteral);
    EXPECT_TRUE(p[6].IsRequired());
    EXPECT_FALSE(p[7].IsRequired());
    EXPECT_FALSE(p[8].IsRequired());
    EXPECT_EQ(m.LiteralPositions(), (std::vector<int>{3, 4, 5}));
    EXPECT_FALSE(m.ReverseDir());
    EXPECT_TRUE(TEditMask(kDate).ReverseDir());
    EXPECT_EQ(m.CharType(-1), TMaskCharType::mcNone);
    EXPECT_EQ(m.CharType(9), TMaskCharType::mcNone);
}

TEST(EditMask, EmptyTexts) {
    struct Case {
        const char* mask;
        const char* empty;
    } cases[] = {
        {"!9999/99/99;1;_", "____/__/__"},
        {"!99/99/9999;1;_", "__/__/____"},
        {"!999/99/99;1;_", "___/__/__"},
        {"!99/99/99;1;_", "__/__/__"},
        {"9999/99/99;1; ", "    /  /  "},
        {"(000) 000-0000;0;*", "(***) ***-****"},
        {">LL-00;1;_", "__-__"},
        {"\\A\\9\\\\-99", "A9\\-__"},
        {"99:99", "__:__"},
        {"年9999月;1;_", "年____月"},
        {"99;1;〇", "〇〇"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TEditMask(c.mask).EmptyText(), c.empty) << c.mask;
}

TEST(EditMask, SeparatorsComeFromTheProcess) {
    SeparatorGuard guard;
    rtl::DateSeparator = '-';
    rtl::TimeSeparator = '.';
    TEditMask m("9999/99\\/99:99");
    EXPECT_EQ(m.EmptyText(), "____-__/__.__");
    EXPECT_EQ(m.TextToEditText("2026-12/11.30"), "2026-12/11.30");
    EXPECT_EQ(FormatMaskText("!9999/99/99;0;_", "20261211"), "2026-12-11");
}

TEST(EditMask, FormatMaskText) {
    struct Case {
        const char* mask;
        const char* value;
        const char* text;
    } cases[] = {
        {kDate, "2026/12/11", "2026/12/11"},
        {kDate, "2026/1/5", "2026/ 1/ 5"},            // '!' pads fields on the left
        {"9999/99/99;1;_", "2026/1/5", "2026/1 /5 "}, // otherwise on the right
        {kDate, "20261211", "2026/12/11"},            // missing literals: fields take their size
        {kDate, "2026/12", "2026/12/  "},
        {kDate, "", "    /  /  "},
        {"!9999/99/99;0;_", "20261211", "2026/12/11"},
        {"!9999/99/99;0;_", "261211", "  26/12/11"},
        {"9999/99/99;0;_", "261211", "2612/11/  "},
        {"(000) 000;0;_", "1234567", "(123) 4567"}, // excess kept, as the VCL does
        {"(999) 999;1;_", "(12) 34", "(12 ) 34 "},
        {"", "abc", "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMaskText(c.mask, c.value), c.text) << c.mask << " / " << c.value;
}

TEST(EditMask, EditTextToText) {
    struct Case {
        const char* mask;
        const char* editText;
        const char* text;
    } cases[] = {
        {kDate, "2026/12/11", "2026/12/11"},
        {kDate, "2026/12/__", "2026/12/  "},
        {kDate, "____/__/__", "    /  /  "},
        {kDate, "2026", "2026/  /  "}, // a short edit text is completed
        {"!9999/99/99;0;_", "2026/12/11", "20261211"},
        {"!9999/99/99;0;_", "2026/1_/__", "20261   "}, // '!' trims leading blanks only
        {"!9999/99/99;0;_", "____/12/11", "1211"},
        {"9999/99/99;0;_", "2026/1_/__", "20261"}, // otherwise trailing ones
        {"9999/99/99;0;_", "20_6/__/__", "20 6"},  // inner blanks become spaces
        {"(000) 000;0;*", "(12*) 3**", "12 3"},
        {"", "free text", "free text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TEditMask(c.mask).EditTextToText(c.editText), c.text)
            << c.mask << " / " << c.editText;
}

TEST(EditMask, TextToEditText) {
    struct Case {
        const char* mask;
        const char* text;
        const char* editText;
    } cases[] = {
        {kDate, "2026/12/11", "2026/12/11"},
        {kDate, "", "____/__/__"},
        {kDate, "2026/1/5", "2026/_1/_5"},
        {kDate, "20261211", "2026/12/11"},
        {"9999/99/99;1;_", "2026/12/11/99", "2026/12/11"},
        {kDate, "2026/12/123", "2026/12/23"}, // right-aligned: the right end is kept
        {kDate, "    /  /  ", "    /  /  "},  // spaces stay spaces, as in the VCL
        {"!9999/99/99;0;_", "20261211", "2026/12/11"},
        {"!9999/99/99;0;_", "1211", "____/12/11"},
        {"9999/99/99;0;_", "2026", "2026/__/__"},
        {"9999/99/99;0;_", "202612119999", "2026/12/11"}, // the edit holds no more
        {"9999年99月;0;_", "202612", "2026年12月"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TEditMask(c.mask).TextToEditText(c.text), c.editText)
            << c.mask << " / " << c.text;
}

TEST(EditMask, InputCharacters) {
    TEditMask m(">L<l<>a#0c9\\X");
    struct Case {
        int pos;
        const char* ch;
        bool valid;
        const char* stored;
    } cases[] = {
        {0, "a", true, "A"},  {0, "中", true, "中"},  {0, "1", false, ""},  {0, "，", false, ""},
        {1, "Q", true, "q"},  {1, "É", true, "é"},    {2, "x", true, "x"},  {2, "7", true, "7"},
        {2, "-", false, ""},  {3, "+", true, "+"},    {3, " ", true, " "},  {3, "x", false, ""},
        {4, "5", true, "5"},  {4, " ", false, ""},    {4, "５", false, ""}, {5, "，", true, "，"},
        {5, "\t", false, ""}, {5, "\xff", false, ""}, {5, "ab", false, ""}, {5, "", false, ""},
        {6, "x", false, ""},  {7, "X", true, "X"},    {7, "Y", false, ""},  {8, "1", false, ""},
        {-1, "1", false, ""},
    };
    for (const auto& c : cases) {
        std::string stored;
        EXPECT_EQ(m.AcceptChar(c.pos, c.ch, stored), c.valid) << c.pos << " " << c.ch;
        EXPECT_EQ(m.IsValidChar(c.pos, c.ch), c.valid) << c.pos << " " << c.ch;
        if (c.valid) {
            EXPECT_EQ(stored, c.stored) << c.pos << " " << c.ch;
        }
    }
}

TEST(EditMask, NextAndPriorEditPositions) {
    TEditMask m("(99) 9");
    // Positions: ( 9 9 ) space 9
    const int next[] = {1, 1, 1, 2, 5, 5, 5, 6};
    for (int pos = -1; pos <= 6; ++pos)
        EXPECT_EQ(m.NextEditPos(pos), next[pos + 1]) << pos;
    const int prior[] = {1, 1, 1, 2, 2, 2, 5, 5};
    for (int pos = -1; pos <= 6; ++pos)
        EXPECT_EQ(m.PriorEditPos(pos), prior[pos + 1]) << pos;
}

TEST(EditMask, TypingInOverwriteMode) {
    struct Case {
        const char* mask;
        const char* before;
        int cursor, selLength;
        const char* typed;
        const char* after;
        int cursorAfter, taken;
    } cases[] = {
        {kDate, "", 0, 0, "20261211", "2026/12/11", 10, 8},
        {kDate, "", 0, 0, "2026", "2026/__/__", 5, 4},          // cursor skips the literal
        {kDate, "", 0, 0, "x", "____/__/__", 0, 0},             // a letter in a digit position
        {kDate, "2026/__/__", 4, 0, "1", "2026/1_/__", 6, 1},   // typed on a literal
        {kDate, "2026/12/11", 10, 0, "9", "2026/12/11", 10, 0}, // at the end
        {kDate, "2026/12/11", 5, 5, "0", "2026/0_/__", 6, 1},   // replaces the selection
        {kDate, "2026/12/11", 5, 5, "x", "2026/__/__", 5, 0},   // refused, selection gone
        {kDate, "2026/12/11", 2, 1, "3", "2036/12/11", 3, 1},   // one selected = the cursor
        {kDate, "2026/12/11", 0, 0, "2x0", "2026/12/11", 2, 2}, // refused ones are skipped
        {">LL<ll;1;_", "", 0, 0, "abCD", "ABcd", 4, 4},
        {"99);1;_", "", 0, 0, "12", "12)", 3, 2},
        {"CCC;1;_", "", 0, 0, "中文字", "中文字", 3, 3},
        {"CCC;1;_", "中文字", 1, 0, "，", "中，字", 2, 1},
        {"LL-00;1;_", "", 0, 0, "中文12", "中文-12", 5, 4},
    };
    for (const auto& c : cases) {
        TEditMask m(c.mask);
        std::string text = c.before;
        int cursor = c.cursor;
        EXPECT_EQ(m.TypeText(text, cursor, c.typed, c.selLength), c.taken)
            << c.mask << " / " << c.typed;
        EXPECT_EQ(text, c.after) << c.mask << " / " << c.typed;
        EXPECT_EQ(cursor, c.cursorAfter) << c.mask << " / " << c.typed;
    }
    TEditMask m(kDate);
    std::string text = m.EmptyText();
    int cursor = 0;
    m.TypeText(text, cursor, "20261211");
    EXPECT_EQ(m.EditTextToText(text), "2026/12/11");
    EXPECT_EQ(MaskTextLength("中文-12"), 5);
}

TEST(EditMask, BackspaceAndDelete) {
    enum Key { Back, Del };
    struct Case {
        const char* mask;
        const char* before;
        int cursor, selLength;
        Key key;
        bool done;
        const char* after;
        int cursorAfter;
    } cases[] = {
        {kDate, "2026/12/11", 10, 0, Back, true, "2026/12/1_", 9},
        {kDate, "2026/12/11", 5, 0, Back, true, "202_/12/11", 3}, // over the literal
        {kDate, "2026/12/11", 0, 0, Back, false, "2026/12/11", 0},
        {"(99);1;_", "(12)", 1, 0, Back, false, "(12)", 1}, // only a literal before
        {kDate, "2026/12/11", 3, 4, Back, true, "202_/__/11", 3},
        {kDate, "2026/12/11", 0, 0, Del, true, "_026/12/11", 0},
        {kDate, "2026/12/11", 4, 0, Del, false, "2026/12/11", 4}, // a literal stays
        {kDate, "2026/12/11", 4, 3, Del, true, "2026/__/11", 5},
        {"CC;1;_", "中文", 2, 0, Back, true, "中_", 1},
    };
    for (const auto& c : cases) {
        TEditMask m(c.mask);
        std::string text = c.before;
        int cursor = c.cursor;
        const bool done = c.key == Back ? m.Backspace(text, cursor, c.selLength)
                                        : m.Delete(text, cursor, c.selLength);
        EXPECT_EQ(done, c.done) << c.before << " @" << c.cursor;
        EXPECT_EQ(text, c.after) << c.before << " @" << c.cursor;
        EXPECT_EQ(cursor, c.cursorAfter) << c.before << " @" << c.cursor;
    }
}

TEST(EditMask, Paste) {
    struct Case {
        const char* before;
        int cursor;
        const char* pasted;
        const char* after;
        int cursorAfter;
    } cases[] = {
        {"", 0, "2026/12/11", "2026/12/11", 10},  {"", 0, "20261211", "2026/12/11", 10},
        {"", 0, "20x61211", "20_6/12/11", 10}, // a refused character leaves a blank
        {"2026/12/11", 5, "07", "2026/07/11", 8}, {"2026/12/11", 8, "0507", "2026/12/05", 10},
    };
    TEditMask m(kDate);
    for (const auto& c : cases) {
        std::string text = c.before;
        int cursor = c.cursor;
        EXPECT_TRUE(m.Paste(text, cursor, c.pasted)) << c.pasted;
        EXPECT_EQ(text, c.after) << c.pasted;
        EXPECT_EQ(cursor, c.cursorAfter) << c.pasted;
    }
}

TEST(EditMask, Validation) {
    struct Case {
        const char* mask;
        const char* editText;
        int errorPos; // -1: valid
    } cases[] = {
        {"0000/00/00;1;_", "2026/12/11", -1},
        {"0000/00/00;1;_", "2026/1_/11", 6},
        {"0000/00/00;1;_", "2026/1 /11", 6}, // a space does not fill a digit
        {"0000/00/00;1;_", "____/__/__", 0},
        {"0000/00/00;1;_", "", 0},
        {kDate, "____/__/__", -1}, // '9' is optional
        {kDate, "2026/ 1/ 5", -1},
        {"LL;1;_", " A", 0},
        {"CC;1;_", " A", -1}, // a space is a character for 'C'
        {"CC;1;*", "中*", 1},
        {">LL;1;_", "ab", -1}, // case is not a fault
        {"00;1;_", "1a", 1},   // a character the position refuses
        {"99;1;_", "x ", 0},
        {"", "anything", -1},
    };
    for (const auto& c : cases) {
        TEditMask m(c.mask);
        int pos = 99;
        EXPECT_EQ(m.Validate(c.editText, pos), c.errorPos < 0) << c.mask << " / " << c.editText;
        EXPECT_EQ(pos, c.errorPos) << c.mask << " / " << c.editText;
    }
}

TEST(EditMask, ValidateEditRaisesTheVclError) {
    TEditMask m("0000/00/00;1;_");
    EXPECT_NO_THROW(m.ValidateEdit("2026/12/11"));
    try {
        m.ValidateEdit("2026/12/1_");
        FAIL() << "no exception";
    } catch (const EDBEditError& e) {
        EXPECT_STREQ(e.what(), "Invalid input value.  Use escape key to abandon changes");
        EXPECT_STREQ(rtl::ExceptionClassName(e), "EDBEditError");
        EXPECT_EQ(e.Position, 9);
    }
}

TEST(EditMask, KeepsBytesThatAreNotUtf8) {
    TEditMask m("CCC;1;_");
    EXPECT_EQ(m.TextToEditText("a\xff"), "a\xff_");
    EXPECT_EQ(m.EditTextToText("a\xff_"), "a\xff ");
    TEditMask literal("\xe4\xb8"
                      "99"); // a cut-off character in the mask is a literal
    EXPECT_EQ(literal.MaxChars(), 4);
    EXPECT_EQ(literal.EmptyText(), "\xe4\xb8__");
}

// Odd masks and inputs: every operation answers, and edit texts keep the mask's length.
TEST(EditMask, AnyMaskAndInputGiveDefinedResults) {
    const std::string masks[] = {"",
                                 "\\",
                                 ";",
                                 ";;;;",
                                 "////",
                                 "!!!",
                                 "<>><",
                                 "9;",
                                 "99\\",
                                 "\xff\xfe"
                                 "99",
                                 ";1;\xe4",
                                 "\\\\;0;",
                                 std::string(2000, '9'),
                                 kDate,
                                 "C\\"};
    const std::string inputs[] = {"",
                                  "\xff",
                                  "\xe4\xb8",
                                  "////",
                                  "\\",
                                  "中文",
                                  std::string(5000, 'x'),
                                  std::string(3000, '7'),
                                  "2026/12/11"};
    for (const auto& mask : masks) {
        TEditMask m(mask);
        const int n = m.MaxChars();
        for (const auto& in : inputs) {
            const auto length = [&](const std::string& s) { return MaskTextLength(s); };
            if (m.IsMasked()) {
                EXPECT_EQ(length(m.NormalizeEditText(in)), n) << mask;
                EXPECT_EQ(length(m.TextToEditText(in)), n) << mask;
            }
            m.EditTextToText(in);
            FormatMaskText(mask, in);
            int pos = 0;
            m.Validate(in, pos);
            for (int start : {-5, 0, 3, n, n + 7}) {
                std::string text = in;
                int cursor = start;
                m.TypeText(text, cursor, "1a中\xff");
                m.Backspace(text, cursor, 3);
                m.Delete(text, cursor);
                m.Paste(text, cursor, in, 1 << 30);
                m.ClearRange(text, start, 1 << 30);
                if (!m.IsMasked()) continue;
                EXPECT_GE(cursor, 0) << mask;
                EXPECT_LE(cursor, n) << mask;
                EXPECT_EQ(length(text), n) << mask;
            }
        }
    }
}
