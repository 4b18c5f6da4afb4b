#include "platform/rtl/Classes.h"
#include "platform/win/IniFiles.h"
#include "tests/support/TestSupport.h"
#include "tests/win/Utf16.h"

#include <gtest/gtest.h>

using namespace win;
using testing_support::EnvGuard;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const char* const Profile = "orphan=before any section\r\n"
                            "[Server Information]\r\n"
                            "ComputerName = 10.0.0.1;10.0.0.2; \r\n"
                            "ServerPort=212\r\n"
                            "; ServerPort=999\r\n"
                            "serverport=213\r\n"
                            "Double=\"  padded  \"\r\n"
                            "Single='x'\r\n"
                            "Twice=\"\"a\"\"\r\n"
                            "Mismatched=\"x'\r\n"
                            "Lone=\"\r\n"
                            "Empty=\"\"\r\n"
                            "Inner=a \"b\" c\r\n"
                            "NoEquals line\r\n"
                            "[Broken\r\n"
                            "Eq=a=b\r\n"
                            "  [ WorkDLLPath ]  \r\n"
                            "1=\\C_PKG\r\n"
                            "2 = D:\\Pkg\\\r\n"
                            "[Empty Section]\r\n"
                            "; only a comment\r\n"
                            "[server information]\r\n"
                            "ServerPort=999\r\n"
                            "Later=hidden\r\n";

std::vector<std::string> Lines(const rtl::TStrings& s) {
    std::vector<std::string> out;
    for (int i = 0; i < s.Count(); ++i)
        out.push_back(s[i]);
    return out;
}

} // namespace

TEST(IniFiles, ProfileSemantics) {
    TempDir dir;
    WriteFile(dir.File("OrvaneC.ini"), Profile);
    TIniFile ini(dir.File("OrvaneC.ini"));
    ASSERT_TRUE(ini.Loaded());
    const char* srv = "Server Information";
    struct Case {
        const char* section;
        const char* key;
        const char* value; // "<def>" when the default is answered
    } cases[] = {
        {srv, "ComputerName", "10.0.0.1;10.0.0.2;"},
        {"SERVER INFORMATION", "computername", "10.0.0.1;10.0.0.2;"},
        {" Server Information ", " ServerPort ", "212"}, // first match wins
        {srv, "Double", "  padded  "},
        {srv, "Single", "x"},
        {srv, "Twice", "\"a\""}, // one pair only
        {srv, "Mismatched", "\"x'"},
        {srv, "Lone", "\""},
        {srv, "Empty", ""},
        {srv, "Inner", "a \"b\" c"},
        {srv, "NoEquals line", "<def>"},
        {srv, "; ServerPort", "<def>"},
        {srv, "Eq", "a=b"}, // a "[" line without "]" does not open a section
        {"Broken", "Eq", "<def>"},
        {srv, "Later", "<def>"}, // in the second section of the same name
        {"WorkDLLPath", "2", "D:\\Pkg\\"},
        {"", "orphan", "<def>"},
        {"Missing", "x", "<def>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.value) << c.section << "/" << c.key;

    EXPECT_TRUE(ini.ValueExists(srv, "empty"));
    EXPECT_FALSE(ini.ValueExists(srv, "Later"));
    EXPECT_TRUE(ini.SectionExists("workdllpath"));
    EXPECT_FALSE(ini.SectionExists("Empty Section")); // no lines, as the VCL answers
    EXPECT_FALSE(ini.SectionExists("Missing"));

    rtl::TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(Lines(list),
              (std::vector<std::string>{"Server Information", "WorkDLLPath", "Empty Section"}));
    ini.ReadSectionValues("WorkDLLPath", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"1=\\C_PKG", "2=D:\\Pkg\\"}));
    EXPECT_EQ(list.Values("2"), "D:\\Pkg\\");
    ini.ReadSection(srv, list);
    EXPECT_EQ(list.Count(), 13);
    EXPECT_EQ(list[2], "serverport");     // duplicates listed, as the system lists them
    EXPECT_EQ(list[10], "NoEquals line"); // lines without "=" too
    EXPECT_EQ(list[11], "[Broken");
    ini.ReadSectionValues(srv, list);
    EXPECT_EQ(list[3], "Double=\"  padded  \""); // whole lines keep their quotes
    ini.ReadSection("Missing", list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(IniFiles, NumbersAndBooleans) {
    TIniFile ini =
        TIniFile::FromText("[S]\nhex=0x1F\ndollar=$10\nneg= -5 \nbad=12a\nbig=99999999999\n"
                           "y=y\nyes=Yes\ntrue=TRUE\none=1\nn=n\nno=NO\nf=false\nz=0\n"
                           "other=2\nquoted=\"yes\"\n");
    struct IntCase {
        const char* key;
        int value;
    } ints[] = {{"hex", 31}, {"dollar", 16}, {"neg", -5}, {"bad", 7}, {"big", 7}, {"none", 7}};
    for (const auto& c : ints)
        EXPECT_EQ(ini.ReadInteger("S", c.key, 7), c.value) << c.key;
    for (const char* key : {"y", "yes", "true", "one", "quoted"}) {
        EXPECT_TRUE(ini.ReadBool("s", key, false)) << key;
    }
    for (const char* key : {"n", "no", "f", "z"}) {
        EXPECT_FALSE(ini.ReadBool("s", key, true)) << key;
    }
    for (const char* key : {"other", "none"}) {
        EXPECT_TRUE(ini.ReadBool("s", key, true)) << key;
        EXPECT_FALSE(ini.ReadBool("s", key, false)) << key;
    }
}

TEST(IniFiles, EncodingsOfTheFile) {
    EnvGuard acp("ORVANE_ACP", "936");
    const struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8", "[语言]\nLangType=简体\n"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF[语言]\nLangType=简体\n"},
        {"ANSI (GBK)", "[\xD3\xEF\xD1\xD4]\nLangType=\xBC\xF2\xCC\xE5\n"},
        {"UTF-16LE with a mark", Utf16File(u"[语言]\r\nLangType=简体\r\n")},
    };
    for (const auto& c : cases) {
        TIniFile ini = TIniFile::FromText(c.bytes);
        EXPECT_EQ(ini.ReadString("语言", "langtype", "?"), "简体") << c.what;
    }
}

TEST(IniFiles, BadFilesReadAsEmptyOrKeepTheGoodLines) {
    TempDir dir;
    EXPECT_FALSE(TIniFile(dir.File("missing.ini")).Loaded());
    TIniFile folder(dir.Path()); // unreadable as a file, even for root
    EXPECT_FALSE(folder.Loaded());
    EXPECT_EQ(folder.ReadString("S", "k", "def"), "def");

    static const char binary[] = "\0\x01\xff[\0]\n=\n\xfe\xfe=\x80\n";
    const std::string good = "[S]\nk=v\n";
    const struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"NULs and binary bytes", std::string(binary, sizeof binary - 1) + good},
        {"a 1 MB line",
         "[" + std::string(1 << 20, 'x') + "\n" + std::string(1 << 20, '=') + "\n" + good},
        {"a 1 MB value", good + "big=" + std::string(1 << 20, 'x') + "\n"},
        {"no final line end", "[S]\nk=v"},
        {"CR line ends", "[S]\rk=v\r"},
    };
    for (const auto& c : cases) {
        const TIniFile ini = TIniFile::FromText(c.bytes);
        EXPECT_EQ(ini.ReadString("S", "k", "def"), "v") << c.what;
    }
    EXPECT_EQ(TIniFile::FromText(cases[2].bytes).ReadString("S", "big", "").size(), 1u << 20);
}
