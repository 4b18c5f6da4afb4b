#include "platform/win/Windows.h"
#include "tests/support/TestSupport.h"

#include <cerrno>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

using namespace win;
using testing_support::EnvGuard;

TEST(Windows, AnsiCodePageFromEnvironmentAndLocale) {
    using Opt = std::optional<std::string>;
    struct Case {
        Opt acp, all, ctype, lang;
        int expected;
    } cases[] = {
        {"950", "zh_CN.UTF-8", {}, {}, 950},
        {"abc", "zh_CN.UTF-8", {}, {}, 936}, // not a number: the locale decides
        {{}, "zh_CN.UTF-8", "zh_TW", "zh_HK", 936},
        {{}, "", "zh_TW.Big5", "zh_CN", 950}, // an empty LC_ALL does not count
        {{}, {}, {}, "zh_HK.UTF-8", 950},
        {{}, {}, {}, "zh_SG", 936},
        {{}, {}, {}, "en_US.UTF-8", 1252},
        {{}, {}, {}, "zh", 1252},
        {{}, {}, {}, {}, 1252},
    };
    for (const auto& c : cases) {
        EnvGuard a("ORVANE_ACP", c.acp), b("LC_ALL", c.all), d("LC_CTYPE", c.ctype),
            e("LANG", c.lang);
        EXPECT_EQ(GetACP(), c.expected) << c.acp.value_or("-") << " " << c.all.value_or("-") << " "
                                        << c.ctype.value_or("-") << " " << c.lang.value_or("-");
    }
}

TEST(Windows, NamesOfTheMachineAndUser) {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string name = GetComputerName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 15u);
    for (char c : name)
        EXPECT_FALSE(c >= 'a' && c <= 'z') << name;
    EXPECT_EQ(strncasecmp(host, name.c_str(), name.size()), 0) << host << " " << name;

    {
        EnvGuard user("USER", "operator");
        EXPECT_EQ(GetUserName(), "operator");
    }
    {
        EnvGuard user("USER", std::string(40, 'u'));
        EXPECT_EQ(GetUserName(), std::string(32, 'u'));
    }
    {
        EnvGuard user("USER", std::string(15, 'u') + "用户用户用户"); // 15 + 18 bytes
        EXPECT_EQ(GetUserName(), std::string(15, 'u') + "用户用户用");
    }
    EnvGuard user("USER", std::nullopt);
    EXPECT_FALSE(GetUserName().empty()); // from the password database
}

TEST(Windows, FoldersModulesAndErrors) {
    {
        EnvGuard tmp("TMPDIR", "/var/tmp");
        EXPECT_EQ(GetTempPath(), "/var/tmp/");
    }
    {
        EnvGuard tmp("TMPDIR", "/var/tmp/");
        EXPECT_EQ(GetTempPath(), "/var/tmp/");
    }
    {
        EnvGuard tmp("TMPDIR", std::nullopt);
        EXPECT_EQ(GetTempPath(), "/tmp/");
    }
    const std::string exe = GetExeFileName();
    EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "test_win");
    EXPECT_EQ(GetModuleFileName(), exe);
    static int inThisProgram;
    EXPECT_EQ(GetModuleFileName(&inThisProgram), exe);
    void* libm = dlopen("libm.so.6", RTLD_NOW);
    ASSERT_NE(libm, nullptr);
    const std::string mathLib = GetModuleFileName(dlsym(libm, "cos"));
    EXPECT_EQ(mathLib.front(), '/');
    EXPECT_NE(mathLib.find("libm"), std::string::npos) << mathLib;
    dlclose(libm);
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<const void*>(16)), "");

    EXPECT_EQ(GetOSVersionText().rfind("Linux ", 0), 0u);
    errno = ENOENT;
    EXPECT_EQ(GetLastErrorCode(), ENOENT);
    EXPECT_EQ(SysErrorMessage(ENOENT), "No such file or directory");
}
