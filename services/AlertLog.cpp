#include "services/AlertLog.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/CodePage.h"
#include "platform/win/Paths.h"
#include "platform/win/Registry.h"
#include "platform/win/Windows.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const OrvaneKey = "Software\\KTR\\Orvane";

// The log files are text of the system's ANSI code page.
std::string ToAnsi(std::string_view text) {
    std::string bytes;
    if (!win::WideToCodePage(win::GetACP(), text, bytes)) bytes.assign(text);
    return bytes;
}

// One write(2) on a descriptor opened for append, so that entries of two processes writing at
// the same moment never interleave inside an entry.
bool AppendEntry(const std::string& folder, const std::string& fileName, const std::string& line) {
    if (!win::ForceDirectories(folder)) return false;
    std::string path = win::NativePath(win::IncludeTrailingPathDelimiter(folder) + fileName);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::string bytes = ToAnsi(line);
    bytes += "\r\n";
    ssize_t n;
    do {
        n = ::write(fd, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    bool ok = n == static_cast<ssize_t>(bytes.size());
    if (::close(fd) != 0) ok = false;
    return ok;
}

std::string Stamp(std::string_view period, rtl::TDateTime now) {
    if (period == "M") return rtl::FormatDateTime("yyyymm", now);
    if (period == "Y") return rtl::FormatDateTime("yyyy", now);
    return rtl::FormatDateTime("yyyymmdd", now);
}

std::string LogFile(const std::string& root, std::string_view name, std::string_view period,
                    rtl::TDateTime now) {
    std::string file = "Alert_" + std::string(name) + "_" + Stamp(period, now);
    if (name.find('.') == std::string_view::npos) file += ".log";
    return win::IncludeTrailingPathDelimiter(root) + "Log/" + file;
}

std::string ExeFolder() {
    return win::ExtractFilePath(win::GetExeFileName());
}

bool WriteEntry(const std::string& root, std::string_view name, std::string_view text,
                std::string_view period) {
    try {
        rtl::TDateTime now = rtl::Now();
        std::string line = "[" + rtl::FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", now) + "] ";
        line.append(text);
        std::string file = LogFile(root, name, period, now);
        return AppendEntry(win::ExtractFilePath(file), win::ExtractFileName(file), line);
    } catch (...) {
        return false;
    }
}

} // namespace

std::string AlertLogFileName(const std::string& root, std::string_view name,
                             std::string_view period) {
    return LogFile(root, name, period, rtl::Now());
}

std::string AlertLogRoot() {
    win::TRegistry reg;
    reg.RootKey = win::HKEY::HKEY_LOCAL_MACHINE;
    if (!reg.OpenKeyReadOnly(OrvaneKey)) return {};
    std::string root = reg.ReadString("ClientPath");
    if (root.empty()) root = reg.ReadString("ServerPath");
    return root;
}

std::string AlertLogRootOrTemp() {
    try {
        std::string root = AlertLogRoot();
        if (!root.empty()) return root;
        root = win::GetTempPath();
        if (root.size() > 255) root.resize(255); // the buffer the temporary folder is read into
        if (!root.empty()) return root;
    } catch (...) {
    }
    // This platform's counterpart of "C:\Temp".
    return "/tmp";
}

bool WriteAlertLog(std::string_view name, std::string_view text, std::string_view period) {
    std::string root;
    try {
        root = AlertLogRoot();
    } catch (...) {
    }
    if (root.empty()) root = ExeFolder();
    return WriteEntry(root, name, text, period);
}

bool WriteAlertLogLocal(std::string_view name, std::string_view text, std::string_view period) {
    return WriteEntry(ExeFolder(), name, text, period);
}

bool WriteGeneratorLog(std::string_view text) {
    try {
        rtl::TDateTime now = rtl::Now();
        std::string line =
            "[" + rtl::FormatDateTime(rtl::ShortDateFormat + " " + rtl::LongTimeFormat, now) + "] ";
        line.append(text);
        std::string folder = win::IncludeTrailingPathDelimiter(AlertLogRootOrTemp()) + "Log/";
        return AppendEntry(
            folder, "Alert_KorvoGenerator_" + rtl::FormatDateTime("yyyymmdd", now) + ".log", line);
    } catch (...) {
        return false;
    }
}

void LogException(const std::exception* error, std::string_view place, std::string_view note) {
    const std::string dashes(34, '-');
    std::string separator = dashes;
    if (!rtl::Trim(place).empty()) separator += " on " + std::string(place) + " ";
    WriteGeneratorLog(separator + dashes);
    if (error) {
        WriteGeneratorLog("讯息信息:");
        int count = 1;
        if (auto* db = dynamic_cast<const rtl::EDBEngineError*>(error)) {
            count = db->ErrorCount();
            for (int i = 0; i < count; ++i)
                WriteGeneratorLog(rtl::Format("EDBEngineError Error %.2d: Code: %d, Message: %s",
                                              i + 1, db->Errors[size_t(i)].ErrorCode,
                                              db->Errors[size_t(i)].Message.c_str()));
        } else if (auto* os = dynamic_cast<const rtl::EOSError*>(error)) {
            WriteGeneratorLog(rtl::Format("EWin32Error Error %.2d: Code: %d, Message: %s", 1,
                                          os->ErrorCode, os->what()));
        } else if (auto* io = dynamic_cast<const rtl::EInOutError*>(error)) {
            WriteGeneratorLog(rtl::Format("EInOutError Error %.2d: Code: %d, Message: %s", 1,
                                          io->ErrorCode, io->what()));
        } else {
            WriteGeneratorLog(rtl::Format("Exception is %s\r\nMessage %.2d: ",
                                          rtl::ExceptionClassName(*error), 1) +
                              error->what());
        }
        WriteGeneratorLog(rtl::Format("ErrorMessage Count: %d", count));
    }
    if (!rtl::Trim(note).empty()) WriteGeneratorLog("Programer Message: " + std::string(note));
}
