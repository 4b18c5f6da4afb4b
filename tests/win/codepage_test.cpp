#include "platform/win/CodePage.h"
#include "platform/win/TextFile.h"

#include <gtest/gtest.h>
#include <thread>

using namespace win;

namespace {

std::string Encode(int cp, std::string_view wide, bool* usedDefault = nullptr) {
    std::string bytes;
    EXPECT_TRUE(WideToCodePage(cp, wide, bytes, usedDefault)) << cp << " " << wide;
    return bytes;
}

std::string Decode(int cp, std::string_view bytes) {
    std::string wide;
    EXPECT_TRUE(CodePageToWide(cp, bytes, wide)) << cp;
    return wide;
}

} // namespace

TEST(CodePage, ChineseRoundTripsWithTheRealBytes) {
    struct Case {
        int cp;
        const char* text;
        const char* bytes;
    } cases[] = {
        {936, "中文abc",
         "\xD6\xD0\xCE\xC4"
         "abc"},
        {950, "中文abc",
         "\xA4\xA4\xA4\xE5"
         "abc"},
        {936, "坏账冲销：客户", nullptr},
        {950, "壞帳沖銷：客戶", nullptr},
        {437, "Ä½", "\x8E\xAB"},
        {1252, "€é", "\x80\xE9"},
        {65001, "中文", "中文"},
    };
    for (const auto& c : cases) {
        bool usedDefault = true;
        const std::string bytes = Encode(c.cp, c.text, &usedDefault);
        EXPECT_FALSE(usedDefault) << c.cp << " " << c.text;
        if (c.bytes) {
            EXPECT_EQ(bytes, c.bytes) << c.cp << " " << c.text;
        }
        EXPECT_EQ(Decode(c.cp, bytes), c.text) << c.cp;
        EXPECT_EQ(ByteLengthInCodePage(c.cp, c.text), static_cast<int>(bytes.size())) << c.cp;
    }
}

TEST(CodePage, UnrepresentableTextBecomesOneQuestionMarkPerCharacter) {
    struct Case {
        int cp;
        const char* text;
        const char* bytes;
    } cases[] = {
        {1252, "a中b", "a?b"},
        {437, "中文", "??"},
        {950, "我们", "\xA7\xDA?"}, // the simplified form has no Big5 code
        {936, "x\U0001F600y", "x?y"},
    };
    for (const auto& c : cases) {
        bool usedDefault = false;
        EXPECT_EQ(Encode(c.cp, c.text, &usedDefault), c.bytes) << c.cp << " " << c.text;
        EXPECT_TRUE(usedDefault) << c.cp << " " << c.text;
        EXPECT_EQ(ByteLengthInCodePage(c.cp, c.text), static_cast<int>(strlen(c.bytes)));
    }
    // not UTF-8 on input: refused; the length counts such bytes as one each
    std::string out;
    EXPECT_FALSE(WideToCodePage(936, "a\xFF", out));
    EXPECT_EQ(ByteLengthInCodePage(936, "中\xFF"), 3);
}

TEST(CodePage, InvalidBytesDecodeToQuestionMarks) {
    struct Case {
        int cp;
        std::string bytes, wide;
    } cases[] = {
        {936, "\xD6", "?"}, // lead byte cut off at the end
        {936,
         "a\xFF"
         "b",
         "a?b"},                   // never a lead byte
        {936, "\x81\x20z", "? z"}, // lead byte with a blank where the trail belongs
        {950, "\xA4\xA4\xA4", "中?"},
        {950, "a\xFF", "a?"},
        {65001, "\xC3\x28", "?("},
        {65001, "\xED\xA0\x80", "???"}, // a surrogate
        {936, std::string("\0a", 2), std::string("\0a", 2)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.cp, c.bytes), c.wide) << c.cp << " " << c.wide;

    // every pair of bytes in every code page decodes, to UTF-8
    for (int cp : {936, 950, 437, 1252, 65001}) {
        std::string bytes;
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b) {
                bytes += static_cast<char>(a);
                bytes += static_cast<char>(b);
            }
        const std::string wide = Decode(cp, bytes);
        EXPECT_TRUE(detail::IsValidUtf8(wide)) << cp;
    }
}

TEST(CodePage, KnownCodePagesAndLeadBytes) {
    for (int cp : {936, 950, 437, 1252, 65001})
        EXPECT_TRUE(IsValidCodePage(cp)) << cp;
    for (int cp : {0, -1, 12345}) {
        EXPECT_FALSE(IsValidCodePage(cp)) << cp;
        std::string out;
        EXPECT_FALSE(CodePageToWide(cp, "a", out));
        EXPECT_FALSE(WideToCodePage(cp, "a", out));
        EXPECT_EQ(ByteLengthInCodePage(cp, "a"), -1);
    }
    struct Case {
        int cp;
        unsigned char byte;
        bool lead;
    } cases[] = {{936, 0x80, false}, {936, 0x81, true},   {936, 0xFE, true},
                 {936, 0xFF, false}, {950, 0x40, false},  {950, 0xA4, true},
                 {437, 0xA4, false}, {1252, 0x81, false}, {65001, 0xE4, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsDBCSLeadByteEx(c.cp, c.byte), c.lead) << c.cp << " " << int(c.byte);
}

TEST(CodePage, ThreadsConvertAtTheSameTime) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &failures] {
            const int cp = t % 2 ? 936 : 950;
            for (int i = 0; i < 2000; ++i) {
                std::string bytes, wide;
                WideToCodePage(cp, "中文测试" + std::to_string(i), bytes);
                CodePageToWide(cp, bytes, wide);
                if (wide.substr(0, 6) != "中文") ++failures[t];
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}
