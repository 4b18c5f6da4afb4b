#include "platform/win/Paths.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace win;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(Paths, DrivePartsAndNetworkPaths) {
    struct Case {
        const char* path;
        bool drive;
        bool network;
    } cases[] = {
        {"/opt/orvane", true, false},   {"C:\\Orvane", true, false}, {"c:Orvane", true, false},
        {"\\\\srv\\share", true, true}, {"//srv/share", true, true}, {"\\C_PKG\\", false, false},
        {"C_PKG\\", false, false},      {"", false, false},          {"1:\\x", false, false},
        {"\\\\", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasDrivePart(c.path), c.drive) << c.path;
        EXPECT_EQ(IsNetworkPath(c.path), c.network) << c.path;
    }
}

TEST(Paths, NameParts) {
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
        const char* ext;
    } cases[] = {
        {"C:\\Orvane\\C_PKG\\Ktlanguage.Dll", "C:\\Orvane\\C_PKG\\", "Ktlanguage.Dll", ".Dll"},
        {"/opt/a.b/file", "/opt/a.b/", "file", ""},
        {"mixed\\dir/x.tar.gz", "mixed\\dir/", "x.tar.gz", ".gz"},
        {"C:x.ini", "C:", "x.ini", ".ini"},
        {"plain", "", "plain", ""},
        {"dir/", "dir/", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("a.b\\Ktlanguage.Dll", ".so"), "a.b\\Ktlanguage.so");
    EXPECT_EQ(ChangeFileExt("a.b/noext", ".so"), "a.b/noext.so");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Orvane"), "C:\\Orvane/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Orvane\\"), "C:\\Orvane\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/"), "/opt/");
    EXPECT_EQ(NativePath("C:\\a\\b/c"), "C:/a/b/c");
}

TEST(Paths, FileSystemAcceptsBothSeparators) {
    TempDir dir;
    const std::string deep = dir.Path() + "a\\b/c\\d";
    EXPECT_TRUE(ForceDirectories(deep + "\\"));
    EXPECT_TRUE(DirectoryExists(dir.Path() + "a/b/c/d"));
    EXPECT_TRUE(ForceDirectories(deep)); // already there
    EXPECT_FALSE(FileExists(deep));

    WriteFile(dir.File("a/file.txt"), "x");
    EXPECT_TRUE(FileExists(dir.Path() + "a\\file.txt"));
    EXPECT_FALSE(DirectoryExists(dir.Path() + "a\\file.txt"));
    EXPECT_GT(FileAge(dir.Path() + "a\\file.txt"), 0);
    EXPECT_EQ(FileAge(dir.Path() + "a\\missing.txt"), -1);
    EXPECT_EQ(FileAge(dir.Path() + "a"), -1);

    // a file in the way of a level cannot become a folder
    EXPECT_FALSE(ForceDirectories(dir.Path() + "a/file.txt/sub"));
    EXPECT_FALSE(ForceDirectories(""));
}
