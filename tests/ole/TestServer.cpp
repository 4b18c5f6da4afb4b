// A small in-process automation server: CreateOleObject loads it through the registry file.
#include "platform/ole/ComObj.h"
#include "platform/rtl/SysUtils.h"

namespace {

class TTestServer : public ole::TAutoObject {
public:
    explicit TTestServer(std::string progId) : FProgId(std::move(progId)) {
        Property("ProgID", [this] { return ole::Variant(FProgId); });
        Method("Echo", 1, [](Args& a) { return ole::ArgValue(a, 0); });
        Method("Fail", 0,
               [](Args&) -> ole::Variant { throw rtl::EOleError("server refused the call"); });
    }

private:
    std::string FProgId;
};

} // namespace

#define SERVER_EXPORT extern "C" __attribute__((visibility("default")))

SERVER_EXPORT ole::IDispatch* CreateAutomationObject(const char* progId) {
    return new TTestServer(progId);
}

// A second factory under another name, for registrations that name their export.
SERVER_EXPORT ole::IDispatch* MakeNamedServer(const char* progId) {
    return new TTestServer(std::string("named:") + progId);
}

// Declines every class: activation must report it rather than hand out a null object.
SERVER_EXPORT ole::IDispatch* MakeNothing(const char*) {
    return nullptr;
}
