// Late-bound automation objects and their activation by ProgID.
#pragma once

#include "platform/ole/Variant.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ole {

enum class DispKind { Method, PropertyGet, PropertyPut };

// The automation interface: members are called by name, compared without regard to case.
// A by-reference argument arrives as a Variant::ByRef; the callee writes through Deref().
// Unknown members raise EOleError "Unknown name: <name>"; a wrong argument count raises
// EOleError naming the member and the counts.
class IDispatch {
public:
    virtual ~IDispatch() = default;
    virtual Variant Invoke(std::string_view name, DispKind kind, std::vector<Variant>& args) = 0;
    // The names this object answers to, for tracing and the wire's introspection.
    virtual std::vector<std::string> MemberNames() const { return {}; }
};

// A C++ class that implements an automation object declares its members in its constructor:
//   Method("GetSysInfo", 2, [this](Args& a) { return GetSysInfo(a[0], a[1]); });
//   Property("ProductID", [this] { return Variant(FProductID); });
// argc -1 accepts any number of arguments.
class TAutoObject : public IDispatch {
public:
    using Args = std::vector<Variant>;
    using MethodFn = std::function<Variant(Args&)>;
    using GetterFn = std::function<Variant()>;
    using SetterFn = std::function<void(const Variant&)>;

    Variant Invoke(std::string_view name, DispKind kind, std::vector<Variant>& args) override;
    std::vector<std::string> MemberNames() const override;

protected:
    void Method(std::string name, int argc, MethodFn fn);
    void Property(std::string name, GetterFn get, SetterFn set = {});

private:
    struct Member {
        std::string Name;
        int Argc = -1;
        MethodFn Fn;
        GetterFn Get;
        SetterFn Set;
    };
    const Member* Find(std::string_view name) const;
    std::vector<Member> FMembers;
};

// Argument helpers for callees: the value behind a possibly by-reference argument, and
// writing back into one (a plain argument is left alone).
const Variant& ArgValue(const std::vector<Variant>& args, size_t index);
void SetOutArg(std::vector<Variant>& args, size_t index, const Variant& value);

// A factory export of an in-process server library:
//   extern "C" ole::IDispatch* <Factory>(const char* progId);
// returns a new object (owned by the caller, freed through the virtual destructor) or null.
using ComFactoryExport = IDispatch* (*)(const char* progId);

// Process-local class registration (what CoRegisterClassObject does): a host that links an
// automation server registers it here, and CreateOleObject finds it before the registry.
using ComFactory = std::function<DispatchPtr()>;
void RegisterComFactory(std::string progId, ComFactory factory);
void UnregisterComFactory(std::string_view progId);

// Activation: the process-local registrations first, then the registry file:
//   [HKEY_CLASSES_ROOT\<ProgID>\InprocServer32]  @ = library file,  "Factory" = export name
// (export name defaults to "CreateAutomationObject"). The library is loaded by name or path
// and kept loaded for the life of the process, as COM keeps in-process servers.
// A missing ProgID raises EOleError "Invalid class string: <ProgID>"; a library that does not
// load or lacks the export raises EOleError naming the library and the export.
Variant CreateOleObject(std::string_view progId);

} // namespace ole
