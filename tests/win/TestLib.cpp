// The library the loading tests load.
#include "platform/win/Windows.h"

#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT const char* OrvaneFileVersion() {
    return "5.7.1.42";
}

EXPORT int TestLibAnswer(int x) {
    return x * 2 + 1;
}

// The module file name as seen from inside the library.
EXPORT const char* TestLibModuleName() {
    static std::string name;
    name = win::GetModuleFileName(reinterpret_cast<const void*>(&TestLibAnswer));
    return name.c_str();
}
