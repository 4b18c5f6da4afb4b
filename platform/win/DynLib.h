// Shared libraries. The system names libraries "X.Dll"; here they are "X.so", with the case of
// the name kept and no "lib" prefix. A name without a folder is searched in $ORVANE_LIBRARY_PATH
// (folders separated by ":"), then beside the executable, then by the dynamic loader's own rules;
// the first folder holding the file decides. A name with a folder is loaded as given. Libraries
// are opened RTLD_NOW | RTLD_LOCAL, so a missing symbol fails the load as on the system.
#pragma once

#include <string>
#include <string_view>

namespace win {

using HMODULE = void*;

// The platform file name for a library name of the system: "Ktlanguage.Dll" -> "Ktlanguage.so",
// "Ktlanguage" -> "Ktlanguage.so"; folders are kept ("\" becomes "/").
std::string LibraryFileName(std::string_view name);
HMODULE LoadLibrary(std::string_view nameOrPath); // null when it fails
void FreeLibrary(HMODULE module);
void* GetProcAddress(HMODULE module, std::string_view symbol); // null when missing
std::string LastLibraryError(); // dlerror text of the last failure in this thread

// File version "major.minor.release.build" of one of our libraries: the library exports
// extern "C" const char* OrvaneFileVersion(void) returning the text; empty when it has none or
// cannot be loaded. The library is loaded for the call and freed afterwards.
std::string GetFileVersion(std::string_view fileName);

} // namespace win
