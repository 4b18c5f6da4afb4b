#include "services/OrvaneINI.h"

#include "tests/services/Installation.h"

#include "platform/win/Windows.h"

#include <gtest/gtest.h>

using testing_support::EnvGuard;
using testing_support::WriteFile;

namespace {

std::string Profile(const std::string& body) {
    return "[Server Information]\r\n" + body;
}

} // namespace

TEST(OrvaneIniC, ReadsTheDemoInstallation) {
    TestInstallation inst;
    TOrvaneIniC c;
    ASSERT_TRUE(c.Succeeded()) << c.ErrorCode;
    EXPECT_EQ(c.ClientPath, inst.Layout.Root);
    EXPECT_EQ(c.IniFileName, inst.Layout.Root + "OrvaneC.ini");
    EXPECT_EQ(c.UserName, "Default");
    EXPECT_EQ(c.SystemCodePage, "936");
    EXPECT_EQ(ole::VarArrayDimCount(c.Servers), 2);
    EXPECT_EQ(ole::VarToStr(c.Servers.At({0, 0})), "127.0.0.1");
    EXPECT_EQ(c.Servers.At({1, 0}).AsInteger(), 211);
    ASSERT_EQ(c.WorkDLLPaths.Count(), 1);
    EXPECT_EQ(c.WorkDLLPaths[0], inst.Layout.Root + "C_PKG/");
    EXPECT_EQ(c.LangType, "CHS");
    EXPECT_EQ(c.CheckInterval, "5");
}

TEST(OrvaneIniC, DefaultsAndServerList) {
    TestInstallation inst;
    WriteFile(inst.Layout.ClientIni,
              Profile("ComputerName= 10.0.0.5;10.0.0.6; \r\nServerPort=212\r\n"));
    TOrvaneIniC c;
    ASSERT_TRUE(c.Succeeded());
    ASSERT_EQ(ole::VarArrayHighBound(c.Servers, 2), 1);
    EXPECT_EQ(ole::VarToStr(c.Servers.At({0, 0})), "10.0.0.5");
    EXPECT_EQ(ole::VarToStr(c.Servers.At({0, 1})), "10.0.0.6");
    EXPECT_EQ(c.Servers.At({1, 0}).AsInteger(), 212);
    EXPECT_EQ(c.Servers.At({1, 1}).AsInteger(), 212);
    // Keys missing from the profile keep their defaults.
    EXPECT_EQ(c.LangType, "ENG");
    EXPECT_EQ(c.UICodePage, "936");
    EXPECT_EQ(c.DBCodePage, "936");
    EXPECT_FALSE(c.SupportCallBack);
    EXPECT_EQ(c.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(c.AutoCheckNewMsg, "1");
    EXPECT_EQ(c.LoginCheck, "0");
    EXPECT_EQ(c.ProductVersion, "");
    ASSERT_EQ(c.WorkDLLPaths.Count(), 1);
    EXPECT_EQ(c.WorkDLLPaths[0], inst.Layout.Root + "C_PKG/");
}

TEST(OrvaneIniC, ConversionModes) {
    struct Case {
        const char* acp;
        const char* ui; // nullptr: not in the profile
        const char* db;
        const char* system;
        int uiMode, dbMode;
    } cases[] = {
        {"1252", nullptr, nullptr, "437", 0, 0}, {"936", "950", "936", "936", 2, 2},
        {"936", "936", "950", "936", 0, 1},      {"950", "936", "950", "950", 4, 1},
        {"950", nullptr, nullptr, "950", 2, 2},  {"437", "437", "936", "437", 0, 0},
    };
    for (const auto& k : cases) {
        TestInstallation inst({}, k.acp);
        std::string body = "ComputerName=127.0.0.1\r\n[CodePage]\r\n";
        if (k.ui) body += std::string("UICodePage=") + k.ui + "\r\n";
        if (k.db) body += std::string("DBCodePage=") + k.db + "\r\n";
        WriteFile(inst.Layout.ClientIni, Profile(body));
        TOrvaneIniC c;
        EXPECT_EQ(c.SystemCodePage, k.system) << k.acp;
        if (!k.ui) {
            EXPECT_EQ(c.UICodePage, k.system) << k.acp;
        }
        EXPECT_EQ(c.UIConvertMode, k.uiMode) << k.acp << " " << (k.ui ? k.ui : "-");
        EXPECT_EQ(c.DBConvertMode, k.dbMode) << k.acp << " " << (k.ui ? k.ui : "-");
    }
}

TEST(OrvaneIniC, FailurePaths) {
    {
        TestInstallation inst;
        inst.SetRegistry("Windows Registry Editor Version "
                         "5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n");
        TOrvaneIniC c;
        EXPECT_FALSE(c.Succeeded());
        EXPECT_EQ(c.ErrorCode, "E;000015");
        EXPECT_EQ(c.ClientPath, "");
        EXPECT_EQ(c.ProfileType, "0");
        EXPECT_TRUE(ole::VarIsEmpty(c.Servers));
    }
    {
        TestInstallation inst;
        inst.SetRegistry("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KTR\\Orvane]"
                         "\r\n\"ClientPath\"=\"\"\r\n");
        TOrvaneIniC c;
        EXPECT_FALSE(c.Succeeded());
        EXPECT_EQ(c.ErrorCode, "");
        EXPECT_EQ(c.IniFileName, "");
    }
    {
        TestInstallation inst;
        WriteFile(inst.Layout.ClientIni, Profile("ComputerName= ; \r\n[WorkDLLPath]\r\nA=\\X\r\n"));
        TOrvaneIniC c;
        EXPECT_FALSE(c.Succeeded());
        EXPECT_EQ(c.ErrorCode, "E;000016");
        EXPECT_TRUE(ole::VarIsEmpty(c.Servers));
        ASSERT_EQ(c.WorkDLLPaths.Count(), 1);
        EXPECT_EQ(c.WorkDLLPaths[0], "A=\\X"); // unresolved, as read
    }
    {
        // No profile at all: every key at its default, the address list included.
        TestInstallation inst;
        std::remove(inst.Layout.ClientIni.c_str());
        TOrvaneIniC c;
        EXPECT_TRUE(c.Succeeded());
        EXPECT_EQ(ole::VarToStr(c.Servers.At({0, 0})), "127.0.0.1");
        EXPECT_EQ(c.Servers.At({1, 0}).AsInteger(), 211);
    }
}

TEST(OrvaneIniC, PerUserProfileFolder) {
    demo::TDemoOptions o;
    o.PerUserProfiles = true;
    TestInstallation inst(o);
    EnvGuard user("USER", std::string("accountant"));
    {
        // No profile in the user's folder: the installation's file, the logon name kept.
        TOrvaneIniC c;
        EXPECT_EQ(c.UserName, "accountant");
        EXPECT_EQ(c.ProfilePath, inst.Layout.Root);
        EXPECT_EQ(c.IniFileName, inst.Layout.Root + "OrvaneC.ini");
    }
    WriteFile(inst.Layout.Root + "Profile/accountant/OrvaneC.ini",
              Profile("ComputerName=192.0.2.7\r\n"));
    TOrvaneIniC c;
    EXPECT_EQ(c.ProfilePath, inst.Layout.Root + "Profile/accountant/");
    EXPECT_EQ(ole::VarToStr(c.Servers.At({0, 0})), "192.0.2.7");
}

TEST(OrvaneIniC, WorkDLLPathsResolve) {
    TestInstallation inst;
    WriteFile(inst.Layout.ClientIni,
              Profile("ComputerName=127.0.0.1\r\n[WorkDLLPath]\r\nA=\\Pkg\\Extra\r\nB=Rel\r\n"
                      "C=D:\\Shared\r\nD=/opt/pkg\r\nE=\\\\server\\share\\pkg\\\r\n"));
    TOrvaneIniC c;
    ASSERT_EQ(c.WorkDLLPaths.Count(), 5);
    EXPECT_EQ(c.WorkDLLPaths[0], inst.Layout.Root + "Pkg\\Extra/");
    EXPECT_EQ(c.WorkDLLPaths[1], inst.Layout.Root + "Rel/");
    EXPECT_EQ(c.WorkDLLPaths[2], "D:\\Shared/");
    EXPECT_EQ(c.WorkDLLPaths[3], "/opt/pkg/");
    EXPECT_EQ(c.WorkDLLPaths[4], "\\\\server\\share\\pkg\\");
}

TEST(OrvaneIniS, DatabaseSettings) {
    TestInstallation inst;
    TOrvaneIniS s;
    ASSERT_TRUE(s.Succeeded());
    EXPECT_EQ(s.ServerPath, inst.Layout.Root);
    EXPECT_EQ(ole::VarArrayHighBound(s.DBSettings, 1), 3);
    EXPECT_EQ(ole::VarArrayHighBound(s.DBSettings, 2), 7);
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({0, 2})), "Orvane#2026"); // unscrambled
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({1, 2})), "");            // the blank marker
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({3, 2})), "edi");         // taken as stored
    EXPECT_EQ(s.DBSettings.At({2, 1}).AsInteger(), 211);
    EXPECT_TRUE(ole::VarIsEmpty(s.DBSettings.At({2, 5})));
    EXPECT_TRUE(ole::VarIsEmpty(s.DBSettings.At({3, 7})));
    EXPECT_EQ(s.SystemControlAddress, "127.0.0.1"); // blank: the main server name
    ASSERT_EQ(s.WorkDLLPaths.Count(), 1);
    EXPECT_EQ(s.WorkDLLPaths[0], inst.Layout.Root + "S_PKG/");
    rtl::TStringList copy;
    s.GetWorkDLLPaths(copy);
    EXPECT_EQ(copy.Text(), s.WorkDLLPaths.Text());
}

TEST(OrvaneIniS, DefaultsKindAndBadPassword) {
    TestInstallation inst;
    WriteFile(inst.Layout.ServerIni,
              "[DBE Setting]\r\nMainDBType=oracle\r\nMainServerName=db1\r\nXXXXXX=zz12\r\n"
              "OtherSystemControlAddress=  \r\n[DBPasswordCtrl]\r\nComputerName=  host  \r\n"
              "SupportCallBack=yes\r\n");
    TOrvaneIniS s;
    EXPECT_EQ(s.DBKind, 1);
    EXPECT_TRUE(s.SupportCallBack);
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({0, 2})), "ZQ_Flag_BadKeyFailure");
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({2, 0})), "host");
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({0, 0})), "Ranvel");
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({1, 3})), "PARADOX");
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({1, 5})), "PostgreSQL");
    EXPECT_EQ(s.DBSettings.At({0, 6}).AsInteger(), 300);
    EXPECT_EQ(s.DBSettings.At({1, 7}).AsInteger(), 3000);
    EXPECT_EQ(s.DBSettings.At({2, 2}).AsInteger(), 1024);
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({2, 3})), "Chinese_Taiwan_Stroke_BIN");
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({3, 0})), "EDIDATA");
    EXPECT_EQ(s.SystemControlAddress, "db1");
    EXPECT_EQ(s.OtherSystemControlAddress, "db1");
}

TEST(OrvaneIniS, MissingKeyLeavesDefaults) {
    TestInstallation inst;
    inst.SetRegistry("REGEDIT4\r\n");
    TOrvaneIniS s;
    EXPECT_FALSE(s.Succeeded());
    EXPECT_EQ(s.ErrorCode, "E;000015");
    EXPECT_EQ(ole::VarToStr(s.DBSettings.At({0, 1})), "sa");
    EXPECT_EQ(s.DBSettings.At({0, 7}).AsInteger(), 3000);
    EXPECT_EQ(s.DBKind, 0);
}

TEST(Passwords, ScrambleRoundTripAndFormat) {
    EXPECT_EQ(EncodeSQLSa("").size(), 72u);
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("")), "");
    EXPECT_EQ(DecodeSQLSa(""), "");
    // "a" = 0x61 rotated right by 1 = 0xB0; "ab": 0x62 rotated right by 2 = 0x98.
    EXPECT_EQ(EncodeSQLSa("ab"), "b098");
    EXPECT_EQ(DecodeSQLSa("b098"), "ab");
    EXPECT_EQ(DecodeSQLSa("b0981"), "ab"); // an odd last digit is ignored
    for (std::string pw : {"s", "sa-2026", "exactly8", "a much longer password than eight"})
        EXPECT_EQ(DecodeSQLSa(EncodeSQLSa(pw)), pw);
    for (const char* bad : {"zz", "b0 9", "b0-1", "0x"})
        EXPECT_EQ(DecodeSQLSa(bad), "ZQ_Flag_BadKeyFailure") << bad;
}

TEST(Paths, ExpandRootPath) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {{"\\Pkg", "/inst/Pkg"},
                 {"Pkg", "/inst/Pkg"},
                 {"C:\\Pkg", "C:\\Pkg"},
                 {"/abs/pkg", "/abs/pkg"},
                 {"\\\\srv\\share", "\\\\srv\\share"},
                 {"", "/inst/"}};
    for (const auto& c : cases)
        EXPECT_EQ(ExpandRootPath(c.path, "/inst/"), c.expected) << c.path;
}
