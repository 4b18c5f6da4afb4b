#include "platform/rtl/TypInfo.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <map>
#include <mutex>
#include <unordered_map>

namespace rtl {

namespace {

std::string Key(std::string_view s) {
    return LowerCase(s);
}

struct TypeStore {
    std::mutex Lock;
    std::map<std::string, std::unique_ptr<TTypeInfo>> ByName; // lower-case "kind:name"
};

TypeStore& Types() {
    static TypeStore* store = new TypeStore;
    return *store;
}

const TTypeInfo* Intern(const std::string& key, TTypeInfo info) {
    TypeStore& t = Types();
    std::lock_guard<std::mutex> g(t.Lock);
    auto& slot = t.ByName[Key(key)];
    if (!slot) slot = std::make_unique<TTypeInfo>(std::move(info));
    return slot.get();
}

TTypeInfo Simple(TTypeKind kind, const char* name, int64_t lo = 0, int64_t hi = 0) {
    TTypeInfo t;
    t.Kind = kind;
    t.Name = name;
    t.MinValue = lo;
    t.MaxValue = hi;
    return t;
}

} // namespace

int TTypeInfo::EnumValue(std::string_view name) const {
    std::string n = Trim(name);
    for (size_t i = 0; i < EnumNames.size(); ++i)
        if (SameText(EnumNames[i], n)) return static_cast<int>(i);
    return -1;
}

std::string TTypeInfo::EnumName(int64_t value) const {
    if (value < 0 || value >= static_cast<int64_t>(EnumNames.size())) return {};
    return EnumNames[size_t(value)];
}

const TTypeInfo* TypeInfoInteger() {
    static const TTypeInfo* t =
        Intern("i:Integer", Simple(TTypeKind::tkInteger, "Integer", INT32_MIN, INT32_MAX));
    return t;
}
const TTypeInfo* TypeInfoInt64() {
    static const TTypeInfo* t =
        Intern("i:Int64", Simple(TTypeKind::tkInt64, "Int64", INT64_MIN, INT64_MAX));
    return t;
}
const TTypeInfo* TypeInfoByte() {
    static const TTypeInfo* t = Intern("i:Byte", Simple(TTypeKind::tkInteger, "Byte", 0, 255));
    return t;
}
const TTypeInfo* TypeInfoChar() {
    static const TTypeInfo* t = Intern("c:Char", Simple(TTypeKind::tkChar, "Char", 0, 255));
    return t;
}
const TTypeInfo* TypeInfoBoolean() {
    static const TTypeInfo* t = [] {
        TTypeInfo b = Simple(TTypeKind::tkEnumeration, "Boolean", 0, 1);
        b.EnumNames = {"False", "True"};
        return Intern("e:Boolean", std::move(b));
    }();
    return t;
}
const TTypeInfo* TypeInfoDouble() {
    static const TTypeInfo* t = Intern("f:Double", Simple(TTypeKind::tkFloat, "Double"));
    return t;
}
const TTypeInfo* TypeInfoString() {
    static const TTypeInfo* t = Intern("s:string", Simple(TTypeKind::tkString, "string"));
    return t;
}
const TTypeInfo* TypeInfoVariant() {
    static const TTypeInfo* t = Intern("v:Variant", Simple(TTypeKind::tkVariant, "Variant"));
    return t;
}

const TTypeInfo* EnumTypeInfo(std::string_view name, std::vector<std::string> names) {
    TTypeInfo t = Simple(TTypeKind::tkEnumeration, std::string(name).c_str(), 0,
                         static_cast<int64_t>(names.size()) - 1);
    t.Name = std::string(name);
    t.EnumNames = std::move(names);
    return Intern("e:" + std::string(name), std::move(t));
}

const TTypeInfo* SetTypeInfo(std::string_view name, const TTypeInfo* elementType) {
    TTypeInfo t;
    t.Kind = TTypeKind::tkSet;
    t.Name = std::string(name);
    t.EnumNames = elementType->EnumNames;
    t.MaxValue = static_cast<int64_t>(t.EnumNames.size()) - 1;
    return Intern("t:" + std::string(name), std::move(t));
}

const TTypeInfo* IntegerTypeInfo(std::string_view name,
                                 bool (*identToInt)(std::string_view, int64_t&),
                                 bool (*intToIdent)(int64_t, std::string&)) {
    TTypeInfo t = Simple(TTypeKind::tkInteger, "", INT32_MIN, INT32_MAX);
    t.Name = std::string(name);
    t.IdentToInt = identToInt;
    t.IntToIdent = intToIdent;
    return Intern("i:" + std::string(name), std::move(t));
}

const TTypeInfo* ClassTypeInfo(const TClassInfo& (*cls)()) {
    TTypeInfo t;
    t.Kind = TTypeKind::tkClass;
    t.ClassTypeFn = cls;
    // Keyed by the function: the class may not be built yet.
    return Intern("k:" + std::to_string(reinterpret_cast<uintptr_t>(cls)), std::move(t));
}

const TClassInfo* TTypeInfo::ClassType() const {
    if (Kind != TTypeKind::tkClass || !ClassTypeFn) return nullptr;
    const TClassInfo* c = &ClassTypeFn();
    if (Name.empty()) const_cast<TTypeInfo*>(this)->Name = c->Name;
    return c;
}

const TTypeInfo* MethodTypeInfo(std::string_view name, const void* signature) {
    TTypeInfo t;
    t.Kind = TTypeKind::tkMethod;
    t.Name = std::string(name);
    t.Signature = signature;
    // The same name with another parameter list is another type.
    return Intern("m:" + std::string(name) + ":" +
                      std::to_string(reinterpret_cast<uintptr_t>(signature)),
                  std::move(t));
}

bool TPropInfo::ReadOnly() const {
    return !SetOrd && !SetFloat && !SetStr && !SetObj && !SetMethod;
}

// ---------------------------------------------------------------------------------------------

struct TClassInfo::Index {
    std::unordered_map<std::string, const TPropInfo*> Props;
    std::unordered_map<std::string, const TFieldInfo*> Fields;
    std::unordered_map<std::string, const TMethodEntry*> Methods;
};

TClassInfo::TClassInfo() = default;
TClassInfo::~TClassInfo() = default;
TClassInfo::TClassInfo(TClassInfo&&) noexcept = default;
TClassInfo& TClassInfo::operator=(TClassInfo&&) noexcept = default;

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == other) return true;
    return false;
}

namespace {
std::mutex IndexLock; // the index of a class is built once, on its first look-up
} // namespace

static TClassInfo::Index* BuildIndex(const TClassInfo& cls,
                                     std::unique_ptr<TClassInfo::Index>& slot);

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
    if (!FIndex) BuildIndex(*this, FIndex);
    auto it = FIndex->Props.find(Key(name));
    return it == FIndex->Props.end() ? nullptr : it->second;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
    if (!FIndex) BuildIndex(*this, FIndex);
    auto it = FIndex->Fields.find(Key(name));
    return it == FIndex->Fields.end() ? nullptr : it->second;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const {
    if (!FIndex) BuildIndex(*this, FIndex);
    auto it = FIndex->Methods.find(Key(name));
    return it == FIndex->Methods.end() ? nullptr : it->second;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->Parent)
        chain.push_back(c);
    std::vector<const TPropInfo*> out;
    std::unordered_map<std::string, size_t> seen;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->Props) {
            auto [pos, fresh] = seen.emplace(Key(p.Name), out.size());
            if (fresh)
                out.push_back(&p);
            else
                out[pos->second] = &p; // a redeclaration replaces the ancestor's
        }
    return out;
}

std::string TClassInfo::MethodName(TCodePtr code) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TMethodEntry& m : c->Methods)
            if (m.Code == code) return m.Name;
    return {};
}

static TClassInfo::Index* BuildIndex(const TClassInfo& cls,
                                     std::unique_ptr<TClassInfo::Index>& slot) {
    std::lock_guard<std::mutex> g(IndexLock);
    if (slot) return slot.get();
    auto idx = std::make_unique<TClassInfo::Index>();
    // The most derived declaration wins: walk from the class up, keep the first seen.
    for (const TClassInfo* c = &cls; c; c = c->Parent) {
        for (const TPropInfo& p : c->Props)
            idx->Props.emplace(Key(p.Name), &p);
        for (const TFieldInfo& f : c->Fields)
            idx->Fields.emplace(Key(f.Name), &f);
        for (const TMethodEntry& m : c->Methods)
            idx->Methods.emplace(Key(m.Name), &m);
    }
    slot = std::move(idx);
    return slot.get();
}

// ---------------------------------------------------------------------------------------------
// Class registry

namespace {
struct Registry {
    std::mutex Lock;
    std::unordered_map<std::string, const TClassInfo*> ByName;
};
Registry& Classes() {
    static Registry* r = new Registry;
    return *r;
}
} // namespace

void RegisterClass(const TClassInfo& cls) {
    Registry& r = Classes();
    std::lock_guard<std::mutex> g(r.Lock);
    r.ByName.emplace(Key(cls.Name), &cls);
}

const TClassInfo* GetClass(std::string_view name) {
    Registry& r = Classes();
    std::lock_guard<std::mutex> g(r.Lock);
    auto it = r.ByName.find(Key(name));
    return it == r.ByName.end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name) {
    const TClassInfo* c = GetClass(name);
    if (!c) throw EClassNotFound("Class " + std::string(name) + " not found");
    return *c;
}

// ---------------------------------------------------------------------------------------------
// Access by name

namespace {

const TPropInfo& Need(const TObject* instance, std::string_view name) {
    const TPropInfo* p = GetPropInfo(instance, name);
    if (!p)
        throw EPropertyError("Unknown property: " + std::string(name) +
                             (instance ? std::string(" of ") + instance->ClassName() : ""));
    return *p;
}

[[noreturn]] void ReadOnlyError(const TPropInfo& p) {
    throw EPropertyError("Property " + p.Name + " is read-only");
}

[[noreturn]] void KindError(const TPropInfo& p, const char* wanted) {
    throw EPropertyError("Property " + p.Name + " of type " + p.PropType->Name + " is not " +
                         wanted);
}

} // namespace

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
    if (!instance || name.empty()) return nullptr;
    return instance->ClassInfo()->FindProp(name);
}

bool IsPublishedProp(const TObject* instance, std::string_view name) {
    return GetPropInfo(instance, name) != nullptr;
}

TTypeKind PropType(const TObject* instance, std::string_view name) {
    return Need(instance, name).PropType->Kind;
}

int64_t GetOrdProp(const TObject* instance, std::string_view name) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetOrd) KindError(p, "ordinal");
    return p.GetOrd(instance);
}

void SetOrdProp(TObject* instance, std::string_view name, int64_t value) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetOrd) KindError(p, "ordinal");
    if (!p.SetOrd) ReadOnlyError(p);
    p.SetOrd(instance, value);
}

std::string GetEnumProp(const TObject* instance, std::string_view name) {
    const TPropInfo& p = Need(instance, name);
    if (p.PropType->Kind != TTypeKind::tkEnumeration) KindError(p, "an enumeration");
    return p.PropType->EnumName(p.GetOrd(instance));
}

void SetEnumProp(TObject* instance, std::string_view name, std::string_view value) {
    const TPropInfo& p = Need(instance, name);
    if (p.PropType->Kind != TTypeKind::tkEnumeration) KindError(p, "an enumeration");
    int v = p.PropType->EnumValue(value);
    if (v < 0)
        throw EPropertyConvertError("Invalid property value " + std::string(value) + " for " +
                                    p.Name);
    if (!p.SetOrd) ReadOnlyError(p);
    p.SetOrd(instance, v);
}

std::string SetToString(const TTypeInfo* setType, uint64_t value, bool brackets) {
    std::string r;
    for (size_t i = 0; i < setType->EnumNames.size() && i < 64; ++i)
        if (value & (uint64_t(1) << i)) {
            if (!r.empty()) r += ',';
            r += setType->EnumNames[i];
        }
    return brackets ? "[" + r + "]" : r;
}

uint64_t StringToSet(const TTypeInfo* setType, std::string_view text) {
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '[') t.erase(0, 1);
    if (!t.empty() && t.back() == ']') t.pop_back();
    uint64_t r = 0;
    if (Trim(t).empty()) return 0;
    for (const std::string& piece : SplitString(t, ",")) {
        int v = setType->EnumValue(piece);
        if (v < 0 || v >= 64)
            throw EPropertyConvertError("Invalid property element: " + Trim(piece));
        r |= uint64_t(1) << v;
    }
    return r;
}

std::string GetSetProp(const TObject* instance, std::string_view name, bool brackets) {
    const TPropInfo& p = Need(instance, name);
    if (p.PropType->Kind != TTypeKind::tkSet) KindError(p, "a set");
    return SetToString(p.PropType, uint64_t(p.GetOrd(instance)), brackets);
}

void SetSetProp(TObject* instance, std::string_view name, std::string_view value) {
    const TPropInfo& p = Need(instance, name);
    if (p.PropType->Kind != TTypeKind::tkSet) KindError(p, "a set");
    uint64_t v = StringToSet(p.PropType, value);
    if (!p.SetOrd) ReadOnlyError(p);
    p.SetOrd(instance, int64_t(v));
}

std::string GetStrProp(const TObject* instance, std::string_view name) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetStr) KindError(p, "a string");
    return p.GetStr(instance);
}

void SetStrProp(TObject* instance, std::string_view name, const std::string& value) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetStr) KindError(p, "a string");
    if (!p.SetStr) ReadOnlyError(p);
    p.SetStr(instance, value);
}

double GetFloatProp(const TObject* instance, std::string_view name) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetFloat) KindError(p, "a float");
    return p.GetFloat(instance);
}

void SetFloatProp(TObject* instance, std::string_view name, double value) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetFloat) KindError(p, "a float");
    if (!p.SetFloat) ReadOnlyError(p);
    p.SetFloat(instance, value);
}

TObject* GetObjectProp(const TObject* instance, std::string_view name) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetObj) KindError(p, "a class");
    return p.GetObj(instance);
}

void SetObjectProp(TObject* instance, std::string_view name, TObject* value) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetObj) KindError(p, "a class");
    if (!p.SetObj) ReadOnlyError(p);
    const TClassInfo* cls = p.PropType->ClassType();
    if (value && cls && !value->InheritsFrom(*cls))
        throw EPropertyConvertError("Invalid property value: a " + std::string(value->ClassName()) +
                                    " is not a " + cls->Name);
    p.SetObj(instance, value);
}

TMethod GetMethodProp(const TObject* instance, std::string_view name) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetMethod) KindError(p, "an event");
    return p.GetMethod(instance);
}

void SetMethodProp(TObject* instance, std::string_view name, const TMethod& value) {
    const TPropInfo& p = Need(instance, name);
    if (!p.GetMethod) KindError(p, "an event");
    if (!p.SetMethod) ReadOnlyError(p);
    p.SetMethod(instance, value);
}

std::string GetPropText(const TObject* instance, const TPropInfo& p) {
    const TTypeInfo* t = p.PropType;
    switch (t->Kind) {
    case TTypeKind::tkEnumeration:
        return t->EnumName(p.GetOrd(instance));
    case TTypeKind::tkSet:
        return SetToString(t, uint64_t(p.GetOrd(instance)));
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64: {
        int64_t v = p.GetOrd(instance);
        std::string ident;
        if (t->IntToIdent && t->IntToIdent(v, ident)) return ident;
        return IntToStr(v);
    }
    case TTypeKind::tkChar:
        return std::string(1, char(p.GetOrd(instance)));
    case TTypeKind::tkFloat:
        return FloatToStr(p.GetFloat(instance));
    case TTypeKind::tkString:
        return p.GetStr(instance);
    default:
        KindError(p, "text");
    }
}

void SetPropText(TObject* instance, const TPropInfo& p, std::string_view text) {
    const TTypeInfo* t = p.PropType;
    auto invalid = [&]() {
        throw EPropertyConvertError("Invalid property value " + std::string(text) + " for " +
                                    p.Name + " (" + t->Name + ")");
    };
    if (p.ReadOnly()) ReadOnlyError(p);
    switch (t->Kind) {
    case TTypeKind::tkEnumeration: {
        int v = t->EnumValue(text);
        if (v < 0) invalid();
        p.SetOrd(instance, v);
        break;
    }
    case TTypeKind::tkSet:
        p.SetOrd(instance, int64_t(StringToSet(t, text)));
        break;
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64: {
        std::string s = Trim(text);
        int64_t v;
        if (!(t->IdentToInt && t->IdentToInt(s, v)) && !TryStrToInt64(s, v)) invalid();
        if (v < t->MinValue || v > t->MaxValue) invalid();
        p.SetOrd(instance, v);
        break;
    }
    case TTypeKind::tkChar:
        if (text.size() != 1) invalid();
        p.SetOrd(instance, static_cast<unsigned char>(text[0]));
        break;
    case TTypeKind::tkFloat: {
        double v;
        if (!TryStrToFloat(text, v)) invalid();
        p.SetFloat(instance, v);
        break;
    }
    case TTypeKind::tkString:
        p.SetStr(instance, std::string(text));
        break;
    default:
        KindError(p, "text");
    }
}

} // namespace rtl
