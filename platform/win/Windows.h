// Names and facts of the machine the way Windows answers them.
#pragma once

#include <string>

namespace win {

// Host name, upper-cased, at most 15 characters (MAX_COMPUTERNAME_LENGTH).
std::string GetComputerName();
// Logon name ($USER, else the password database), at most 32 characters.
std::string GetUserName();
// ANSI code page: $ORVANE_ACP when set to a number, else from the locale's language
// (zh_CN/zh_SG -> 936, zh_TW/zh_HK -> 950, otherwise 1252).
int GetACP();
// "$TMPDIR/" or "/tmp/", always with a trailing separator.
std::string GetTempPath();
// Full file name of the module (executable or shared library) holding the given address: a
// library passes an address inside itself to learn its own file. Null gives the executable; an
// address in no module gives "".
std::string GetModuleFileName(const void* addressInModule = nullptr);
// Full file name of the running executable.
std::string GetExeFileName();
// Operating-system version as "Linux <release>".
std::string GetOSVersionText();
int GetLastErrorCode(); // errno
std::string SysErrorMessage(int code);

} // namespace win
