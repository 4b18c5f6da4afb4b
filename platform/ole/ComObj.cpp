#include "platform/ole/ComObj.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/DynLib.h"
#include "platform/win/Registry.h"

#include <map>
#include <mutex>

namespace ole {

// ---------------------------------------------------------------------------------------------
// TAutoObject

const TAutoObject::Member* TAutoObject::Find(std::string_view name) const {
    for (const auto& m : FMembers)
        if (rtl::SameText(m.Name, name)) return &m;
    return nullptr;
}

void TAutoObject::Method(std::string name, int argc, MethodFn fn) {
    Member m{std::move(name), argc, std::move(fn), {}, {}};
    // A descendant declaring a member again replaces the inherited one.
    for (auto& old : FMembers)
        if (rtl::SameText(old.Name, m.Name)) {
            old = std::move(m);
            return;
        }
    FMembers.push_back(std::move(m));
}

void TAutoObject::Property(std::string name, GetterFn get, SetterFn set) {
    Member m{std::move(name), 0, {}, std::move(get), std::move(set)};
    for (auto& old : FMembers)
        if (rtl::SameText(old.Name, m.Name)) {
            old = std::move(m);
            return;
        }
    FMembers.push_back(std::move(m));
}

namespace {

[[noreturn]] void BadParamCount(std::string_view name, int expected, size_t given) {
    throw rtl::EOleError(
        rtl::Format("Invalid number of parameters for %.*s: %d expected, %zu given",
                    static_cast<int>(name.size()), name.data(), expected, given));
}

} // namespace

Variant TAutoObject::Invoke(std::string_view name, DispKind kind, std::vector<Variant>& args) {
    const Member* m = Find(name);
    if (!m) throw rtl::EOleError("Unknown name: " + std::string(name));
    if (m->Fn) {
        // Late-bound calls of a method come as method or property get alike.
        if (kind == DispKind::PropertyPut)
            throw rtl::EOleError("Member " + m->Name + " is a method and cannot be assigned");
        if (m->Argc >= 0 && args.size() != static_cast<size_t>(m->Argc))
            BadParamCount(m->Name, m->Argc, args.size());
        return m->Fn(args);
    }
    if (kind == DispKind::PropertyPut) {
        if (!m->Set) throw rtl::EOleError("Property " + m->Name + " is read-only");
        if (args.size() != 1) BadParamCount(m->Name, 1, args.size());
        m->Set(ArgValue(args, 0));
        return Variant();
    }
    if (!m->Get) throw rtl::EOleError("Property " + m->Name + " is write-only");
    if (!args.empty()) BadParamCount(m->Name, 0, args.size());
    return m->Get();
}

std::vector<std::string> TAutoObject::MemberNames() const {
    std::vector<std::string> names;
    names.reserve(FMembers.size());
    for (const auto& m : FMembers)
        names.push_back(m.Name);
    return names;
}

const Variant& ArgValue(const std::vector<Variant>& args, size_t index) {
    if (index >= args.size())
        throw rtl::EOleError(
            rtl::Format("Argument %zu requested of a call with %zu arguments", index, args.size()));
    return args[index].Deref();
}

void SetOutArg(std::vector<Variant>& args, size_t index, const Variant& value) {
    if (index >= args.size())
        throw rtl::EOleError(
            rtl::Format("Argument %zu written of a call with %zu arguments", index, args.size()));
    if (args[index].IsByRef()) args[index].Deref() = value;
}

// ---------------------------------------------------------------------------------------------
// Activation

namespace {

struct ClassTable {
    std::mutex Lock;
    std::map<std::string, ComFactory> Factories;   // by upper-case ProgID
    std::map<std::string, win::HMODULE> Libraries; // loaded servers, never freed
};

ClassTable& Classes() {
    static ClassTable* table = new ClassTable; // outlives every static that may still call us
    return *table;
}

constexpr const char* DefaultFactoryExport = "CreateAutomationObject";

} // namespace

void RegisterComFactory(std::string progId, ComFactory factory) {
    auto& t = Classes();
    std::lock_guard<std::mutex> g(t.Lock);
    if (factory)
        t.Factories[rtl::UpperCase(progId)] = std::move(factory);
    else
        t.Factories.erase(rtl::UpperCase(progId));
}

void UnregisterComFactory(std::string_view progId) {
    auto& t = Classes();
    std::lock_guard<std::mutex> g(t.Lock);
    t.Factories.erase(rtl::UpperCase(progId));
}

Variant CreateOleObject(std::string_view progId) {
    const std::string id(progId);
    auto& t = Classes();
    ComFactory local;
    {
        std::lock_guard<std::mutex> g(t.Lock);
        auto it = t.Factories.find(rtl::UpperCase(id));
        if (it != t.Factories.end()) local = it->second;
    }
    if (local) {
        // Called outside the lock: a factory may itself create objects.
        DispatchPtr obj = local();
        if (!obj) throw rtl::EOleError("Could not create an object of class " + id);
        return Variant(std::move(obj));
    }

    // A ProgID is one key name; a "\" would reach into another part of the registry.
    const std::string invalid = "Invalid class string: " + id;
    if (rtl::Trim(id).empty() || id.find('\\') != std::string::npos) throw rtl::EOleError(invalid);
    const win::RegistryStore& reg = win::Registry();
    if (!reg.KeyExists(win::HKEY::HKEY_CLASSES_ROOT, id)) throw rtl::EOleError(invalid);
    const std::string key = id + "\\InprocServer32";
    std::string library, exportName;
    if (!reg.ReadValue(win::HKEY::HKEY_CLASSES_ROOT, key, "", library) || library.empty())
        throw rtl::EOleError("Class not registered: " + id +
                             " (no library in [HKEY_CLASSES_ROOT\\" + key + "])");
    if (!reg.ReadValue(win::HKEY::HKEY_CLASSES_ROOT, key, "Factory", exportName) ||
        exportName.empty())
        exportName = DefaultFactoryExport;

    win::HMODULE module = nullptr;
    {
        std::lock_guard<std::mutex> g(t.Lock);
        auto it = t.Libraries.find(library);
        if (it != t.Libraries.end()) module = it->second;
    }
    if (!module) {
        module = win::LoadLibrary(library);
        if (!module)
            throw rtl::EOleError("Cannot load library " + library + " of class " + id + ": " +
                                 win::LastLibraryError());
        // Kept loaded for the life of the process, as COM keeps in-process servers; a second
        // load of the same library only raises its reference count.
        std::lock_guard<std::mutex> g(t.Lock);
        t.Libraries.emplace(library, module);
    }
    auto factory = reinterpret_cast<ComFactoryExport>(win::GetProcAddress(module, exportName));
    if (!factory)
        throw rtl::EOleError("Export " + exportName + " not found in library " + library +
                             " of class " + id);
    IDispatch* raw = factory(id.c_str());
    if (!raw)
        throw rtl::EOleError("Could not create an object of class " + id + ": " + exportName +
                             " of " + library + " returned no object");
    return Variant(DispatchPtr(raw));
}

} // namespace ole
