// Alert logs: failures the user need not see, appended to "Log" folders of the installation.
#pragma once

#include <exception>
#include <string>
#include <string_view>

// The installation folder from the registry ("ClientPath", else "ServerPath"); empty when
// neither is set.
std::string AlertLogRoot();
// AlertLogRoot, else the temporary folder.
std::string AlertLogRootOrTemp();

// One entry "[YYYY/MM/DD hh:nn:ss:zzz] text" appended to Log/Alert_<name>_<stamp>.log below
// AlertLogRoot (or the executable's folder); period "D", "M" or "Y" picks the stamp. False when
// the file cannot be written; never raises.
bool WriteAlertLog(std::string_view name, std::string_view text, std::string_view period);
// The same, always below the executable's folder.
bool WriteAlertLogLocal(std::string_view name, std::string_view text, std::string_view period);
// One entry in the short date and long time format, in Log/Alert_KorvoGenerator_<date>.log
// below AlertLogRootOrTemp.
bool WriteGeneratorLog(std::string_view text);

// Describes an exception (null: only the separator and the note) in the generator log.
void LogException(const std::exception* error, std::string_view place, std::string_view note);

// The file an entry of that name and period goes to below the given root (for tools and tests).
std::string AlertLogFileName(const std::string& root, std::string_view name,
                             std::string_view period);
