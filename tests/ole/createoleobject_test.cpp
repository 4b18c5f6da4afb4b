#include "platform/ole/ComObj.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ole;
using testing_support::EnvGuard;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const std::string ServerPath = OLE_TEST_SERVER; // full path of the built test server

// A registry file in a fresh folder, in force for the fixture's lifetime.
class CreateOleObjectTest : public ::testing::Test {
protected:
    void Register(const std::string& body) {
        WriteFile(FDir.File("registry.reg"), "Windows Registry Editor Version 5.00\r\n\r\n" + body);
    }
    static std::string Server(const std::string& progId, const std::string& library,
                              const std::string& factory = "") {
        std::string s =
            "[HKEY_CLASSES_ROOT\\" + progId + "\\InprocServer32]\r\n@=\"" + library + "\"\r\n";
        if (!factory.empty()) s += "\"Factory\"=\"" + factory + "\"\r\n";
        return s + "\r\n";
    }
    std::string ErrorOf(const std::string& progId) {
        try {
            CreateOleObject(progId);
        } catch (const rtl::EOleError& e) {
            return e.what();
        }
        return "(no EOleError)";
    }

    TempDir FDir;
    EnvGuard FRegistry{"ORVANE_REGISTRY", FDir.File("registry.reg")};
};

class TLocal : public TAutoObject {
public:
    TLocal() {
        Property("Where", [] { return Variant("local"); });
    }
};

} // namespace

TEST_F(CreateOleObjectTest, LoadsTheServerTheRegistryNames) {
    std::string folder = ServerPath.substr(0, ServerPath.rfind('/'));
    EnvGuard libPath("ORVANE_LIBRARY_PATH", folder);
    Register(Server("Orvane.ByPath", ServerPath) + Server("Orvane.ByName", "OleTestServer.Dll") +
             Server("Orvane.Named", ServerPath, "MakeNamedServer"));
    struct Case {
        const char* ProgId;
        const char* Answer;
    } cases[] = {
        {"Orvane.ByPath", "Orvane.ByPath"},
        {"ORVANE.BYPATH", "ORVANE.BYPATH"}, // ProgIDs compare without regard to case
        {"Orvane.ByName", "Orvane.ByName"}, // a system library name, found on the library path
        {"Orvane.Named", "named:Orvane.Named"},
    };
    for (const auto& c : cases) {
        Variant obj = CreateOleObject(c.ProgId);
        ASSERT_EQ(obj.VarType(), varDispatch) << c.ProgId;
        EXPECT_EQ(obj.Get("ProgID").AsString(), c.Answer);
        EXPECT_EQ(obj.Invoke("echo", {Variant::OleStr("中文")}), Variant("中文"));
    }
    // Errors raised inside the server arrive as themselves.
    Variant obj = CreateOleObject("Orvane.ByPath");
    EXPECT_THROW(obj.Invoke("Fail"), rtl::EOleError);
    EXPECT_THROW(obj.Invoke("Missing"), rtl::EOleError);
}

TEST_F(CreateOleObjectTest, ReportsWhatIsMissing) {
    Register(Server("Orvane.NoLibrary", FDir.File("Absent.so")) +
             Server("Orvane.NoExport", ServerPath, "NoSuchFactory") +
             Server("Orvane.NoObject", ServerPath, "MakeNothing") +
             "[HKEY_CLASSES_ROOT\\Orvane.Empty\\InprocServer32]\r\n\r\n");
    EXPECT_EQ(ErrorOf("Orvane.Unknown"), "Invalid class string: Orvane.Unknown");
    EXPECT_EQ(ErrorOf(""), "Invalid class string: ");
    // A ProgID is one key name, not a path into other keys.
    EXPECT_EQ(ErrorOf("Orvane.Empty\\InprocServer32"),
              "Invalid class string: Orvane.Empty\\InprocServer32");

    struct Case {
        const char* ProgId;
        std::vector<std::string> Named;
    } cases[] = {
        {"Orvane.NoLibrary", {"Orvane.NoLibrary", FDir.File("Absent.so")}},
        {"Orvane.NoExport", {"Orvane.NoExport", "NoSuchFactory", ServerPath}},
        {"Orvane.NoObject", {"Orvane.NoObject", "MakeNothing"}},
        {"Orvane.Empty", {"Orvane.Empty", "InprocServer32"}},
    };
    for (const auto& c : cases) {
        std::string message = ErrorOf(c.ProgId);
        for (const auto& part : c.Named)
            EXPECT_NE(message.find(part), std::string::npos) << message << " lacks " << part;
    }
}

TEST_F(CreateOleObjectTest, ProcessRegistrationsComeFirst) {
    Register(Server("Orvane.Both", ServerPath));
    RegisterComFactory("Orvane.Both", [] { return std::make_shared<TLocal>(); });
    EXPECT_EQ(CreateOleObject("orvane.both").Get("Where").AsString(), "local");
    UnregisterComFactory("ORVANE.BOTH");
    EXPECT_EQ(CreateOleObject("Orvane.Both").Get("ProgID").AsString(), "Orvane.Both");

    RegisterComFactory("Orvane.LocalOnly", [] { return DispatchPtr(); });
    EXPECT_NE(ErrorOf("Orvane.LocalOnly").find("Orvane.LocalOnly"), std::string::npos);
    UnregisterComFactory("Orvane.LocalOnly");
    EXPECT_EQ(ErrorOf("Orvane.LocalOnly"), "Invalid class string: Orvane.LocalOnly");
}
