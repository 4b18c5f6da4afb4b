#include "platform/win/Registry.h"
#include "tests/support/TestSupport.h"
#include "tests/win/Utf16.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace win;
using testing_support::EnvGuard;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

constexpr auto HKLM = HKEY::HKEY_LOCAL_MACHINE;
constexpr auto HKCU = HKEY::HKEY_CURRENT_USER;
constexpr auto HKCR = HKEY::HKEY_CLASSES_ROOT;

std::optional<std::string> Read(const RegistryStore& s, HKEY root, const char* path,
                                const char* name) {
    std::string v;
    if (!s.ReadValue(root, path, name, v)) return std::nullopt;
    return v;
}

const char* const Sample = R"(Windows Registry Editor Version 5.00

; a comment line
[HKEY_LOCAL_MACHINE\Software\KTR\Orvane]
"ClientPath"="C:\\Orvane\\"
"Quoted"="say \"hi\""
"Other"="a\tb"
@="default value"
"Count"=dword:0000000d
"Max"=dword:ffffffff
"Bytes"=hex:01,02,\
  ff,0A
"Expand"=hex(2):25,00,54,00,4d,00,50,00,25,00,00,00
"Multi"=hex(7):41,00,00,00,00,00
"Name With Spaces" = "spaced"
"Dup"="first"
"Dup"="second"
"Gone"="x"
"Gone"=-
"BadDword"=dword:xyz
"Unterminated"="abc
"BadHex"=hex:1,zz

[HKLM\SOFTWARE\ktr\orvane\Sub]
"Chinese"="客户端"

[HKCU\Software\A]
"v"="user"
[HKCR\CLSID\{1234}\InprocServer32]
@="x.so"

[HKEY_LOCAL_MACHINE\Software\Broken
"Lost"="never stored"

[HKEY_CURRENT_CONFIG\Software]
"Unknown"="root"

[HKLM\Software\Removed\Child]
"x"="y"
[-HKLM\Software\Removed]
)";

std::string Repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

TEST(Registry, ParsesValuesEscapesAndKeysWithoutRegardToCase) {
    RegistryStore s;
    s.LoadFromText(Sample);
    const char* orvane = "Software\\KTR\\Orvane";
    struct Case {
        HKEY root;
        const char* path;
        const char* name;
        std::optional<std::string> value;
    } cases[] = {
        {HKLM, orvane, "ClientPath", "C:\\Orvane\\"},
        {HKLM, "software\\ktr\\ORVANE", "clientpath", "C:\\Orvane\\"},
        {HKLM, "\\Software\\KTR\\Orvane\\", "ClientPath", "C:\\Orvane\\"},
        {HKLM, orvane, "Quoted", "say \"hi\""},
        {HKLM, orvane, "Other", "a\\tb"}, // unknown escapes keep their backslash
        {HKLM, orvane, "", "default value"},
        {HKLM, orvane, "Count", "13"},
        {HKLM, orvane, "Max", "4294967295"},
        {HKLM, orvane, "Bytes", "01,02,ff,0a"},
        {HKLM, orvane, "Expand", "%TMP%"},
        {HKLM, orvane, "Multi", "41,00,00,00,00,00"},
        {HKLM, orvane, "Name With Spaces", "spaced"},
        {HKLM, orvane, "Dup", "second"},
        {HKLM, orvane, "Gone", std::nullopt},
        {HKLM, orvane, "BadDword", std::nullopt},
        {HKLM, orvane, "Unterminated", std::nullopt},
        {HKLM, orvane, "BadHex", std::nullopt},
        {HKLM, orvane, "Missing", std::nullopt},
        {HKLM, "Software\\KTR\\Orvane\\Sub", "Chinese", "客户端"},
        {HKCU, "Software\\A", "V", "user"},
        {HKLM, "Software\\A", "v", std::nullopt}, // other root
        {HKCR, "CLSID\\{1234}\\InprocServer32", "", "x.so"},
        {HKLM, "Software\\Broken", "Lost", std::nullopt},
        {HKLM, "Software\\Removed\\Child", "x", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(s, c.root, c.path, c.name), c.value) << c.path << " / " << c.name;

    EXPECT_TRUE(s.KeyExists(HKLM, "SOFTWARE"));
    EXPECT_TRUE(s.KeyExists(HKLM, ""));
    EXPECT_FALSE(s.KeyExists(HKLM, "Software\\Broken"));
    EXPECT_FALSE(s.KeyExists(HKLM, "Software\\Removed"));
    EXPECT_EQ(s.SubKeyNames(HKLM, "software"), (std::vector<std::string>{"KTR"}));
    EXPECT_EQ(s.SubKeyNames(HKLM, "Software\\KTR\\Orvane"), (std::vector<std::string>{"Sub"}));
    const auto names = s.ValueNames(HKLM, orvane);
    EXPECT_EQ(names.front(), "ClientPath");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Dup"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Gone"), 0);
}

TEST(Registry, MalformedTextNeverBreaksTheRest) {
    static const char binary[] = "\0\xff\xfe[\x01\0]\n\"a\0\"=\"\x80\"\n";
    const std::string good = "[HKLM\\K]\n\"ok\"=\"yes\"\n";
    const struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"NULs and binary bytes", std::string(binary, sizeof binary - 1) + good},
        {"a 1 MB line", "\"" + std::string(1 << 20, 'x') + "\n" + good},
        {"a 1 MB key line", "[" + std::string(1 << 20, '\\') + "]\n" + good},
        // took minutes when every level stored its whole path
        {"a key of 500 000 levels", "[HKLM" + Repeat("\\a", 500000) + "]\n\"v\"=\"1\"\n" + good},
        {"a continuation at the end", good + "\"h\"=hex:01,\\"},
        {"stray text and brackets", "]]][[[\n=\n@\n\"\n\"a\"\n\"a\"=\n" + good},
        {"CR line ends", "[HKLM\\K]\r\"ok\"=\"yes\"\r"},
        {"a header only", "REGEDIT4\r\n" + good},
    };
    for (const auto& c : cases) {
        RegistryStore s;
        s.LoadFromText(c.text);
        EXPECT_EQ(Read(s, HKLM, "K", "ok"), "yes") << c.what;
    }
}

TEST(Registry, DeletionsAndDepth) {
    RegistryStore s;
    s.LoadFromText("[HKLM\\P\\A]\n[HKLM\\P\\B]\n\"x\"=\"1\"\n\"y\"=\"2\"\n\"x\"=-\n\"x\"=\"3\"\n"
                   "[-HKLM\\P\\A]\n[HKLM\\p\\a]\n[-HKLM\\P\\Missing\\Deeper]\n[-HKLM]\n"
                   "[HKLM" +
                   Repeat("\\k", 512) + "]\n\"deep\"=\"ok\"\n[HKLM" + Repeat("\\k", 513) +
                   "]\n\"deeper\"=\"no\"\n");
    // a re-created key is listed once, under its new spelling, after the others
    EXPECT_EQ(s.SubKeyNames(HKLM, "P"), (std::vector<std::string>{"B", "a"}));
    EXPECT_EQ(s.ValueNames(HKLM, "P\\B"), (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(Read(s, HKLM, "P\\B", "x"), "3");
    EXPECT_TRUE(s.KeyExists(HKLM, "")); // a root stays
    std::string deep = Repeat("k\\", 512);
    EXPECT_EQ(Read(s, HKLM, deep.c_str(), "deep"), "ok");
    EXPECT_FALSE(s.KeyExists(HKLM, deep + "k"));
}

TEST(Registry, FileLoading) {
    TempDir dir;
    RegistryStore s;
    EXPECT_FALSE(s.LoadFromFile(dir.File("missing.reg")));
    EXPECT_FALSE(s.LoadFromFile(dir.Path())); // a folder, unreadable as a file even for root
    if (geteuid() != 0) {
        WriteFile(dir.File("locked.reg"), "[HKLM\\K]\n\"ok\"=\"yes\"\n");
        chmod(dir.File("locked.reg").c_str(), 0);
        EXPECT_FALSE(s.LoadFromFile(dir.File("locked.reg")));
    }

    WriteFile(dir.File("u16.reg"), Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                             u"[HKEY_LOCAL_MACHINE\\Software\\KTR\\Orvane]\r\n"
                                             u"\"ClientPath\"=\"D:\\\\客户端\\\\\"\r\n"
                                             u"\"Emoji\"=\"\U0001F600\"\r\n"));
    ASSERT_TRUE(s.LoadFromFile(dir.File("u16.reg")));
    EXPECT_EQ(Read(s, HKLM, "Software\\KTR\\Orvane", "ClientPath"), "D:\\客户端\\");
    EXPECT_EQ(Read(s, HKLM, "Software\\KTR\\Orvane", "Emoji"), "\U0001F600");

    // UTF-8 with a byte-order mark; then an ANSI (GBK) file read through the code page
    WriteFile(dir.File("u8.reg"), "\xEF\xBB\xBFREGEDIT4\n[HKLM\\K]\n\"v\"=\"客户\"\n");
    ASSERT_TRUE(s.LoadFromFile(dir.File("u8.reg")));
    EXPECT_EQ(Read(s, HKLM, "K", "v"), "客户");
    EnvGuard acp("ORVANE_ACP", "936");
    WriteFile(dir.File("gbk.reg"), "REGEDIT4\n[HKLM\\K]\n\"v\"=\"\xBF\xCD\xBB\xA7\"\n");
    ASSERT_TRUE(s.LoadFromFile(dir.File("gbk.reg")));
    EXPECT_EQ(Read(s, HKLM, "K", "v"), "客户");
}

TEST(Registry, ProcessViewFollowsTheFile) {
    TempDir dir;
    {
        EnvGuard reg("ORVANE_REGISTRY", std::nullopt);
        EnvGuard home("HOME", "/home/someone");
        EXPECT_EQ(RegistryFileName(), "/home/someone/.orvane/registry.reg");
    }
    const std::string a = dir.File("a.reg"), b = dir.File("b.reg");
    WriteFile(a, "[HKLM\\K]\n\"v\"=\"one\"\n");
    WriteFile(b, "[HKLM\\K]\n\"v\"=\"bee\"\n");
    std::string v;
    EnvGuard reg("ORVANE_REGISTRY", a);
    ASSERT_TRUE(Registry().ReadValue(HKLM, "K", "v", v));
    EXPECT_EQ(v, "one");

    // rewritten at once with the same size: still seen
    WriteFile(a, "[HKLM\\K]\n\"v\"=\"two\"\n");
    ASSERT_TRUE(Registry().ReadValue(HKLM, "K", "v", v));
    EXPECT_EQ(v, "two");

    setenv("ORVANE_REGISTRY", b.c_str(), 1);
    ASSERT_TRUE(Registry().ReadValue(HKLM, "K", "v", v));
    EXPECT_EQ(v, "bee");

    std::remove(b.c_str());
    EXPECT_FALSE(Registry().KeyExists(HKLM, "K"));
}

TEST(Registry, TRegistryReadsOpenKey) {
    TempDir dir;
    WriteFile(dir.File("r.reg"), Sample);
    EnvGuard reg("ORVANE_REGISTRY", dir.File("r.reg"));

    TRegistry r;
    EXPECT_EQ(r.RootKey, HKCU);
    EXPECT_FALSE(r.OpenKeyReadOnly("Software\\KTR\\Orvane")); // not under HKCU
    EXPECT_EQ(r.ReadString("ClientPath"), "");
    EXPECT_FALSE(r.ValueExists("ClientPath"));

    r.RootKey = HKLM;
    EXPECT_FALSE(r.OpenKeyReadOnly("Software\\KTR\\Missing"));
    ASSERT_TRUE(r.OpenKeyReadOnly("software\\ktr\\orvane"));
    EXPECT_EQ(r.ReadString("CLIENTPATH"), "C:\\Orvane\\");
    EXPECT_EQ(r.ReadString("NoSuchValue"), "");
    EXPECT_TRUE(r.ValueExists("count"));
    EXPECT_FALSE(r.ValueExists("Gone"));
    EXPECT_EQ(r.GetKeyNames(), (std::vector<std::string>{"Sub"}));
    EXPECT_TRUE(r.KeyExists("Sub"));             // relative to the open key
    EXPECT_TRUE(r.KeyExists("\\Software\\KTR")); // from the root
    EXPECT_FALSE(r.KeyExists("Software\\KTR"));  // relative: Orvane\Software\KTR

    // changing the root does not move a key already open
    r.RootKey = HKCU;
    EXPECT_EQ(r.ReadString("Count"), "13");
    ASSERT_TRUE(r.OpenKeyReadOnly("Sub"));
    EXPECT_EQ(r.CurrentPath(), "software\\ktr\\orvane\\Sub");
    EXPECT_EQ(r.ReadString("Chinese"), "客户端");

    r.CloseKey();
    EXPECT_EQ(r.ReadString("Chinese"), "");
    EXPECT_TRUE(r.GetValueNames().empty());
    ASSERT_TRUE(r.OpenKeyReadOnly("Software\\A"));
    EXPECT_EQ(r.ReadString("v"), "user");
}
