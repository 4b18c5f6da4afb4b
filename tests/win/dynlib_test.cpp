#include "platform/win/DynLib.h"
#include "platform/win/Windows.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace win;
using testing_support::EnvGuard;

namespace {
const std::string LibDir = TEST_LIB_DIR;
const std::string LibPath = LibDir + "/TestLib.so";
} // namespace

TEST(DynLib, LibraryFileNames) {
    struct Case {
        const char* name;
        const char* file;
    } cases[] = {
        {"Ktlanguage.Dll", "Ktlanguage.so"},
        {"Ktlanguage", "Ktlanguage.so"},
        {"KTDownLoad.DLL", "KTDownLoad.so"},
        {"C:\\Orvane\\WODB57S.dll", "C:/Orvane/WODB57S.so"},
        {"/opt/x/CallWebService.so", "/opt/x/CallWebService.so"},
        {"libc.so.6", "libc.so.6"},
        {"a.b\\noext", "a.b/noext.so"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LibraryFileName(c.name), c.file) << c.name;
}

TEST(DynLib, LoadsByNameThroughTheSearchPathAndByPath) {
    {
        EnvGuard path("ORVANE_LIBRARY_PATH", "/nonexistent::" + LibDir);
        HMODULE m = LoadLibrary("TestLib.Dll");
        ASSERT_NE(m, nullptr) << LastLibraryError();
        auto answer = reinterpret_cast<int (*)(int)>(GetProcAddress(m, "TestLibAnswer"));
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer(20), 41);
        EXPECT_EQ(GetProcAddress(m, "NoSuchExport"), nullptr);
        EXPECT_NE(LastLibraryError().find("NoSuchExport"), std::string::npos);

        // the library names itself by the file it was loaded from
        auto own = reinterpret_cast<const char* (*)()>(GetProcAddress(m, "TestLibModuleName"));
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(std::string(own()), LibPath);
        FreeLibrary(m);

        EXPECT_EQ(GetFileVersion("TestLib"), "5.7.1.42");
    }
    EnvGuard path("ORVANE_LIBRARY_PATH", std::nullopt);
    EXPECT_EQ(LoadLibrary("TestLib"), nullptr);
    EXPECT_NE(LastLibraryError().find("TestLib.so"), std::string::npos) << LastLibraryError();

    HMODULE m = LoadLibrary(LibPath);
    ASSERT_NE(m, nullptr) << LastLibraryError();
    EXPECT_NE(GetProcAddress(m, "OrvaneFileVersion"), nullptr);
    FreeLibrary(m);
    EXPECT_EQ(GetFileVersion(LibPath), "5.7.1.42");
}

TEST(DynLib, FailuresAreNullHandles) {
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_FALSE(LastLibraryError().empty());
    EXPECT_EQ(LoadLibrary("/nonexistent/Missing.Dll"), nullptr);
    EXPECT_NE(LastLibraryError().find("/nonexistent/Missing.so"), std::string::npos);
    EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
    FreeLibrary(nullptr);
    EXPECT_EQ(GetFileVersion("/nonexistent/Missing.Dll"), "");
    // a library without the version export
    EXPECT_EQ(GetFileVersion("libm.so.6"), "");
}
