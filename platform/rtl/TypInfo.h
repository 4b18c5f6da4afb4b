// Run-time type information: classes known by name, their published properties, fields and
// methods, and events as method pointers (object + code), in the shape of Delphi's TypInfo unit.
// Registration helpers for class authors are in ClassBuilder.h.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

class TObject;
struct TClassInfo;

RTL_EXCEPTION_CLASS(EPropertyError, Exception);
RTL_EXCEPTION_CLASS(EPropertyConvertError, Exception);
RTL_EXCEPTION_CLASS(EClassNotFound, Exception);

enum class TTypeKind : uint8_t {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration, // booleans included
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkVariant,
    tkInt64,
};

// The code half of a method pointer. Any function pointer type fits; the event type casts back.
using TCodePtr = void (*)();

struct TMethod {
    TCodePtr Code = nullptr;
    TObject* Data = nullptr;
    bool Assigned() const { return Code != nullptr; }
    bool operator==(const TMethod& o) const { return Code == o.Code && Data == o.Data; }
    bool operator!=(const TMethod& o) const { return !(*this == o); }
};

struct TTypeInfo {
    TTypeKind Kind = TTypeKind::tkUnknown;
    std::string Name;                   // "Integer", "Boolean", "TColor", "TAlign", "TNotifyEvent"
    std::vector<std::string> EnumNames; // enumerations; for sets, the element names
    int64_t MinValue = 0, MaxValue = 0; // ordinals
    // tkClass: the class, asked for on first use (a class may name its own descendants).
    const TClassInfo& (*ClassTypeFn)() = nullptr;
    const TClassInfo* ClassType() const;
    const void* Signature = nullptr; // tkMethod: the event's parameter list (see EventSignature)
    // Integer types with named constants (TColor: "clRed", TCursor: "crHandPoint").
    bool (*IdentToInt)(std::string_view ident, int64_t& value) = nullptr;
    bool (*IntToIdent)(int64_t value, std::string& ident) = nullptr;

    int EnumValue(std::string_view name) const; // -1 when unknown (without regard to case)
    std::string EnumName(int64_t value) const;  // "" when out of range
};

// The predefined types.
const TTypeInfo* TypeInfoInteger();
const TTypeInfo* TypeInfoInt64();
const TTypeInfo* TypeInfoByte();
const TTypeInfo* TypeInfoChar();
const TTypeInfo* TypeInfoBoolean();
const TTypeInfo* TypeInfoDouble();
const TTypeInfo* TypeInfoString();
const TTypeInfo* TypeInfoVariant();
// An enumeration or set type, made once per name (later calls with the same name answer the
// first one).
const TTypeInfo* EnumTypeInfo(std::string_view name, std::vector<std::string> names);
const TTypeInfo* SetTypeInfo(std::string_view name, const TTypeInfo* elementType);
const TTypeInfo* IntegerTypeInfo(std::string_view name,
                                 bool (*identToInt)(std::string_view, int64_t&),
                                 bool (*intToIdent)(int64_t, std::string&));
const TTypeInfo* ClassTypeInfo(const TClassInfo& (*cls)());
const TTypeInfo* MethodTypeInfo(std::string_view name, const void* signature);

// A published property. Accessors take the instance; the ones that do not apply are empty.
struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    std::function<int64_t(const TObject*)> GetOrd; // integer, char, enumeration, set
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::string(const TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<TObject*(const TObject*)> GetObj; // class; setting assigns or rebinds
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<TMethod(const TObject*)> GetMethod;
    std::function<void(TObject*, const TMethod&)> SetMethod;
    bool ReadOnly() const;
};

// A published field: a component of the form bound by its name when the form is loaded.
struct TFieldInfo {
    std::string Name;
    const TClassInfo& (*FieldClass)() = nullptr;
    std::function<void(TObject*, TObject*)> Set;
    std::function<TObject*(const TObject*)> Get;
};

// A published method, found by name for events bound from form resources.
struct TMethodEntry {
    std::string Name;
    TCodePtr Code = nullptr;
    const void* Signature = nullptr;
};

struct TClassInfo {
    std::string Name;
    const TClassInfo* Parent = nullptr;
    // Creates an instance; the argument is the owner (a component) or null. Empty for
    // abstract classes.
    std::function<TObject*(TObject* owner)> Create;
    std::vector<TPropInfo> Props; // declared by this class
    std::vector<TFieldInfo> Fields;
    std::vector<TMethodEntry> Methods;

    bool InheritsFrom(const TClassInfo* other) const;
    // Look-ups through the class chain, without regard to case; null when missing.
    const TPropInfo* FindProp(std::string_view name) const;
    const TFieldInfo* FindField(std::string_view name) const;
    const TMethodEntry* FindMethod(std::string_view name) const;
    // Every published property, the ancestors' first.
    std::vector<const TPropInfo*> AllProps() const;
    // The name of a published method whose code is this (for writing resources, tracing).
    std::string MethodName(TCodePtr code) const;

    TClassInfo();
    ~TClassInfo();
    TClassInfo(TClassInfo&&) noexcept;
    TClassInfo& operator=(TClassInfo&&) noexcept;

    struct Index; // name look-up tables, built on first look-up

private:
    mutable std::unique_ptr<Index> FIndex;
};

// The class registry of Delphi's RegisterClass/FindClass.
void RegisterClass(const TClassInfo& cls);
const TClassInfo* GetClass(std::string_view name);  // null when unknown
const TClassInfo& FindClass(std::string_view name); // EClassNotFound "Class TFoo not found"

// Property access by name, as a VCL program does it. The Get/Set functions raise
// EPropertyError "Unknown property: Foo" (or "Property Foo is read-only") when misused.
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);
bool IsPublishedProp(const TObject* instance, std::string_view name);
TTypeKind PropType(const TObject* instance, std::string_view name);
int64_t GetOrdProp(const TObject* instance, std::string_view name);
void SetOrdProp(TObject* instance, std::string_view name, int64_t value);
std::string GetEnumProp(const TObject* instance, std::string_view name);
void SetEnumProp(TObject* instance, std::string_view name, std::string_view value);
// Sets as text "[fsBold,fsItalic]"; element names are trimmed.
std::string GetSetProp(const TObject* instance, std::string_view name, bool brackets = true);
void SetSetProp(TObject* instance, std::string_view name, std::string_view value);
std::string GetStrProp(const TObject* instance, std::string_view name);
void SetStrProp(TObject* instance, std::string_view name, const std::string& value);
double GetFloatProp(const TObject* instance, std::string_view name);
void SetFloatProp(TObject* instance, std::string_view name, double value);
TObject* GetObjectProp(const TObject* instance, std::string_view name);
void SetObjectProp(TObject* instance, std::string_view name, TObject* value);
TMethod GetMethodProp(const TObject* instance, std::string_view name);
void SetMethodProp(TObject* instance, std::string_view name, const TMethod& value);
// Any ordinal, float or string property as text, and back; identifiers of enumerations,
// sets and integer constants are accepted ("clRed", "True", "[fsBold]").
std::string GetPropText(const TObject* instance, const TPropInfo& prop);
void SetPropText(TObject* instance, const TPropInfo& prop, std::string_view text);

// Set helpers: a Delphi set of up to 64 elements as a bit mask.
std::string SetToString(const TTypeInfo* setType, uint64_t value, bool brackets = true);
uint64_t StringToSet(const TTypeInfo* setType, std::string_view text); // EPropertyConvertError

// Events. TEvent<Args...> is a method pointer whose code takes the bound object and Args.
template <class... A> const void* EventSignature() {
    static const char id = 0;
    return &id;
}

template <class... A> class TEvent {
public:
    using Code = void (*)(TObject*, A...);
    TEvent() = default;
    explicit TEvent(const TMethod& m) : M(m) {}
    TEvent(Code code, TObject* data) : M{reinterpret_cast<TCodePtr>(code), data} {}
    explicit operator bool() const { return M.Code != nullptr; }
    bool Assigned() const { return M.Code != nullptr; }
    void operator()(A... a) const {
        if (M.Code) reinterpret_cast<Code>(M.Code)(M.Data, static_cast<A>(a)...);
    }
    bool operator==(const TEvent& o) const { return M == o.M; }
    bool operator!=(const TEvent& o) const { return M != o.M; }
    static const void* Signature() { return EventSignature<A...>(); }
    TMethod M;
};

// Turns a member function into an event bound to an object:
//   OnClick = rtl::MethodOf<&TfrmX::btnOkClick>(this);
template <auto Member, class T = decltype(Member)> struct TMethodThunk;

template <auto Member, class C, class... A> struct TMethodThunk<Member, void (C::*)(A...)> {
    using Class = C;
    using Event = TEvent<A...>;
    static void Call(TObject* self, A... a) {
        (static_cast<C*>(self)->*Member)(static_cast<A>(a)...);
    }
};

template <auto Member>
typename TMethodThunk<Member>::Event MethodOf(typename TMethodThunk<Member>::Class* object) {
    using Thunk = TMethodThunk<Member>;
    return typename Thunk::Event(&Thunk::Call, object);
}

using TNotifyEvent = TEvent<TObject* /*Sender*/>;

} // namespace rtl
