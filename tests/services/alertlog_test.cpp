#include "services/AlertLog.h"
#include "services/OrvaneINI.h"

#include "tests/services/Installation.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/CodePage.h"

#include <gtest/gtest.h>

#include <regex>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::ReadFile;

namespace {

std::vector<std::string> Lines(const std::string& file) {
    std::string wide;
    win::CodePageToWide(936, ReadFile(file), wide);
    std::vector<std::string> out = rtl::SplitString(wide, "\r\n");
    if (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

std::string Today(const char* fmt) {
    return rtl::FormatDateTime(fmt, rtl::Now());
}

} // namespace

TEST(AlertLog, FileNamesAndLineFormat) {
    TestInstallation inst;
    EXPECT_EQ(AlertLogRoot(), inst.Layout.Root);
    std::remove((inst.Layout.Root + "Log").c_str());
    struct Case {
        const char* name;
        const char* period;
        std::string file;
    } cases[] = {
        {"libstrs", "D", "Alert_libstrs_" + Today("yyyymmdd") + ".log"},
        {"KTDownLoadNewFileU", "M", "Alert_KTDownLoadNewFileU_" + Today("yyyymm") + ".log"},
        {"yearly", "Y", "Alert_yearly_" + Today("yyyy") + ".log"},
        {"other", "Q", "Alert_other_" + Today("yyyymmdd") + ".log"},
        {"trace.txt", "D", "Alert_trace.txt_" + Today("yyyymmdd")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteAlertLog(c.name, "转换失败 LINE[115] x", c.period)) << c.name;
        auto lines = Lines(inst.Layout.Root + "Log/" + c.file);
        ASSERT_EQ(lines.size(), 1u) << c.file;
        EXPECT_TRUE(std::regex_match(
            lines[0],
            std::regex(R"(\[\d{4}/\d\d/\d\d \d\d:\d\d:\d\d:\d{3}\] 转换失败 LINE\[115\] x)")))
            << lines[0];
    }
}

TEST(AlertLog, RootsAndFailures) {
    TestInstallation inst;
    // Without ClientPath the server path is the root; without either, the executable's folder.
    inst.SetRegistry(
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\KTR\\Orvane]\r\n\"ServerPath\"=\"" +
        inst.Layout.Root + "srv/\"\r\n");
    EXPECT_EQ(AlertLogRoot(), inst.Layout.Root + "srv/");
    ASSERT_TRUE(WriteAlertLog("x", "t", "D"));
    EXPECT_EQ(Lines(inst.Layout.Root + "srv/Log/Alert_x_" + Today("yyyymmdd") + ".log").size(), 1u);
    inst.SetRegistry("REGEDIT4\r\n");
    EXPECT_EQ(AlertLogRoot(), "");
    EXPECT_FALSE(AlertLogRootOrTemp().empty());
    // A root that cannot hold a "Log" folder: false, nothing raised.
    testing_support::WriteFile(inst.Layout.Root + "blocked", "a file, not a folder");
    inst.SetRegistry(
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\KTR\\Orvane]\r\n\"ClientPath\"=\"" +
        inst.Layout.Root + "blocked/\"\r\n");
    EXPECT_FALSE(WriteAlertLog("x", "t", "D"));
    EXPECT_FALSE(WriteGeneratorLog("t"));
}

TEST(AlertLog, FailedPasswordDecodeReport) {
    TestInstallation inst;
    EXPECT_EQ(DecodeSQLSa("q1"), BadKeyFailure);
    auto lines = Lines(inst.Layout.Root + "Log/Alert_KorvoGenerator_" + Today("yyyymmdd") + ".log");
    ASSERT_EQ(lines.size(), 6u); // five entries, one of them two lines long
    const std::string dashes(34, '-');
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\[\d{4}/\d+/\d+ \d+:\d\d:\d\d\] .*)")))
        << lines[0];
    auto text = [](const std::string& l) { return l.substr(l.find("] ") + 2); };
    EXPECT_EQ(text(lines[0]), dashes + " on " + EncodeSQLSa("DecodeSQLSa") + " " + dashes);
    EXPECT_EQ(text(lines[1]), "讯息信息:");
    EXPECT_EQ(text(lines[2]), "Exception is EConvertError");
    EXPECT_EQ(lines[3], "Message 01: '$q1' is not a valid integer value");
    EXPECT_EQ(text(lines[4]), "ErrorMessage Count: 1");
    EXPECT_EQ(text(lines[5]), "Programer Message: 解析 Sa 时发生错误!");
}

TEST(AlertLog, ExceptionClassesInTheReport) {
    TestInstallation inst;
    const std::string file =
        inst.Layout.Root + "Log/Alert_KorvoGenerator_" + Today("yyyymmdd") + ".log";
    rtl::EDBEngineError db("engine", {{10, "first"}, {20, "second"}, {30, "third"}});
    LogException(&db, "", "");
    rtl::EWin32Error os("Access denied", 5);
    LogException(&os, " ", "note");
    rtl::EInOutError io("Disk full", 112);
    LogException(&io, "", "");
    LogException(nullptr, "place", "only the note");
    std::vector<std::string> texts;
    for (auto& l : Lines(file))
        texts.push_back(l.substr(l.find("] ") + 2));
    const std::string dashes(34, '-');
    std::vector<std::string> expected = {
        dashes + dashes,
        "讯息信息:",
        "EDBEngineError Error 01: Code: 10, Message: first",
        "EDBEngineError Error 02: Code: 20, Message: second",
        "EDBEngineError Error 03: Code: 30, Message: third",
        "ErrorMessage Count: 3",
        dashes + dashes,
        "讯息信息:",
        "EWin32Error Error 01: Code: 5, Message: Access denied",
        "ErrorMessage Count: 1",
        "Programer Message: note",
        dashes + dashes,
        "讯息信息:",
        "EInOutError Error 01: Code: 112, Message: Disk full",
        "ErrorMessage Count: 1",
        dashes + " on place " + dashes,
        "Programer Message: only the note",
    };
    EXPECT_EQ(texts, expected);
}

TEST(AlertLog, ConcurrentWritersNeverInterleave) {
    TestInstallation inst;
    const int writers = 4, entries = 300;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::string payload(3000, char('a' + w));
            bool ok = true;
            for (int i = 0; i < entries; ++i)
                ok &= WriteAlertLog("race", payload, "D");
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto lines = Lines(inst.Layout.Root + "Log/Alert_race_" + Today("yyyymmdd") + ".log");
    ASSERT_EQ(lines.size(), size_t(writers * entries));
    for (const auto& l : lines) {
        std::string body = l.substr(l.find("] ") + 2);
        ASSERT_EQ(body.size(), 3000u);
        ASSERT_EQ(body.find_first_not_of(body[0]), std::string::npos);
    }
}
