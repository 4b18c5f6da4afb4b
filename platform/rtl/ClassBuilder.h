// Declaring a class's run-time type information. Include only in the .cpp that registers:
//
//   RTL_BEGIN_CLASS(TControl, TComponent)
//       c.Int("Left", &TControl::GetLeft, &TControl::SetLeft);
//       c.Enum("Align", &TControl::GetAlign, &TControl::SetAlign, AlignTypeInfo());
//       c.Event("OnClick", &TControl::FOnClick);
//   RTL_END_CLASS
//
// RTL_BEGIN_CLASS makes a creatable class (a constructor taking the owner); use
// RTL_BEGIN_ABSTRACT_CLASS for classes that are never created by name.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"

#include <type_traits>

namespace rtl {

template <class C> class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : FInfo(info) {}
    TClassInfo& Info() { return FInfo; }

    // Integers (and integer types with named constants: pass their type information).
    template <class G, class S = std::nullptr_t>
    void Int(const char* name, G get, S set = nullptr, const TTypeInfo* type = TypeInfoInteger()) {
        TPropInfo& p = Add(name, type);
        p.GetOrd = [get](const TObject* o) { return int64_t((Self(o)->*get)()); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using Arg = std::decay_t<FirstArg<S>>;
            p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(static_cast<Arg>(v)); };
        }
    }

    template <class G, class S = std::nullptr_t>
    void Bool(const char* name, G get, S set = nullptr) {
        TPropInfo& p = Add(name, TypeInfoBoolean());
        p.GetOrd = [get](const TObject* o) { return int64_t((Self(o)->*get)() ? 1 : 0); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(v != 0); };
    }

    // Enumerations (enum class types) and sets (anything convertible to and from uint64_t bits).
    template <class G, class S = std::nullptr_t>
    void Enum(const char* name, G get, S set, const TTypeInfo* type) {
        TPropInfo& p = Add(name, type);
        p.GetOrd = [get](const TObject* o) { return int64_t((Self(o)->*get)()); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using Arg = std::decay_t<FirstArg<S>>;
            p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(static_cast<Arg>(v)); };
        }
    }

    template <class G, class S = std::nullptr_t>
    void Set(const char* name, G get, S set, const TTypeInfo* type) {
        TPropInfo& p = Add(name, type);
        p.GetOrd = [get](const TObject* o) { return int64_t(uint64_t((Self(o)->*get)())); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using Arg = std::decay_t<FirstArg<S>>;
            p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(Arg(uint64_t(v))); };
        }
    }

    template <class G, class S = std::nullptr_t>
    void Float(const char* name, G get, S set = nullptr) {
        TPropInfo& p = Add(name, TypeInfoDouble());
        p.GetFloat = [get](const TObject* o) { return double((Self(o)->*get)()); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetFloat = [set](TObject* o, double v) { (Self(o)->*set)(v); };
    }

    template <class G, class S = std::nullptr_t>
    void Str(const char* name, G get, S set = nullptr) {
        TPropInfo& p = Add(name, TypeInfoString());
        p.GetStr = [get](const TObject* o) { return std::string((Self(o)->*get)()); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [set](TObject* o, const std::string& v) { (Self(o)->*set)(v); };
    }

    // An object property: the getter answers the object (TFont*, TStrings*); the setter, when
    // given, receives the new object (assigning it or binding to it, as the class decides).
    template <class T, class S = std::nullptr_t>
    void Obj(const char* name, T* (C::*get)() const, S set = nullptr) {
        TPropInfo& p = Add(name, ClassTypeInfo(&std::remove_const_t<T>::StaticClassInfo));
        p.GetObj = [get](const TObject* o) -> TObject* { return (Self(o)->*get)(); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using Arg = std::remove_pointer_t<std::decay_t<FirstArg<S>>>;
            p.SetObj = [set](TObject* o, TObject* v) { (Self(o)->*set)(static_cast<Arg*>(v)); };
        }
    }

    // An event held in a field of type TEvent<...>; setter optional (for events whose
    // assignment does more than store).
    template <class... A>
    void Event(const char* name, TEvent<A...> C::*field, const char* typeName = "TNotifyEvent") {
        TPropInfo& p = Add(name, MethodTypeInfo(typeName, TEvent<A...>::Signature()));
        p.GetMethod = [field](const TObject* o) { return (Self(o)->*field).M; };
        p.SetMethod = [field](TObject* o, const TMethod& m) { (MutSelf(o)->*field).M = m; };
    }

    // A published field holding a component created from the form's resource.
    template <class T> void Field(const char* name, T* C::*field) {
        TFieldInfo f;
        f.Name = name;
        f.FieldClass = &T::StaticClassInfo;
        f.Set = [field](TObject* o, TObject* v) { MutSelf(o)->*field = static_cast<T*>(v); };
        f.Get = [field](const TObject* o) -> TObject* { return Self(o)->*field; };
        FInfo.Fields.push_back(std::move(f));
    }

    // A published method (event handler) found by name.
    template <auto Member> void Method(const char* name) {
        using Thunk = TMethodThunk<Member>;
        static_assert(std::is_base_of_v<typename Thunk::Class, C> ||
                          std::is_same_v<typename Thunk::Class, C>,
                      "a published method belongs to the class or an ancestor");
        TMethodEntry m;
        m.Name = name;
        m.Code = reinterpret_cast<TCodePtr>(&Thunk::Call);
        m.Signature = Thunk::Event::Signature();
        FInfo.Methods.push_back(std::move(m));
    }

private:
    template <class S> struct FirstArgOf;
    template <class R, class K, class A> struct FirstArgOf<R (K::*)(A)> { using type = A; };
    template <class S> using FirstArg = typename FirstArgOf<S>::type;

    static const C* Self(const TObject* o) { return static_cast<const C*>(o); }
    static C* Self(TObject* o) { return static_cast<C*>(o); }
    static C* MutSelf(const TObject* o) { return const_cast<C*>(static_cast<const C*>(o)); }

    TPropInfo& Add(const char* name, const TTypeInfo* type) {
        FInfo.Props.emplace_back();
        TPropInfo& p = FInfo.Props.back();
        p.Name = name;
        p.PropType = type;
        return p;
    }

    TClassInfo& FInfo;
};

// Builds the class information once; registers creatable classes with the class registry.
template <class C>
const TClassInfo& BuildClassInfo(const char* name, const TClassInfo* parent, bool creatable,
                                 void (*declare)(TClassBuilder<C>&)) {
    TClassInfo info;
    info.Name = name;
    info.Parent = parent;
    if constexpr (std::is_constructible_v<C, std::nullptr_t>) {
        if (creatable)
            info.Create = [](TObject* owner) -> TObject* { return CreateObject<C>(owner); };
    }
    TClassBuilder<C> builder(info);
    if (declare) declare(builder);
    auto* stored = new TClassInfo(std::move(info)); // lives for the process
    if (creatable) RegisterClass(*stored);
    return *stored;
}

} // namespace rtl

#define RTL_CLASS_BODY_(Class, Parent, Creatable)                                                  \
    static void Class##_Declare(rtl::TClassBuilder<Class>& c);                                     \
    const rtl::TClassInfo& Class::StaticClassInfo() {                                              \
        static const rtl::TClassInfo& info = rtl::BuildClassInfo<Class>(                           \
            #Class, &Parent::StaticClassInfo(), Creatable, &Class##_Declare);                      \
        return info;                                                                               \
    }                                                                                              \
    static void Class##_Declare([[maybe_unused]] rtl::TClassBuilder<Class>& c) {

// Creatable classes register at load time, so that resources find them by name.
#define RTL_BEGIN_CLASS(Class, Parent)                                                             \
    [[maybe_unused]] static const rtl::TClassInfo& Class##_Registered = Class::StaticClassInfo();  \
    RTL_CLASS_BODY_(Class, Parent, true)
#define RTL_BEGIN_ABSTRACT_CLASS(Class, Parent) RTL_CLASS_BODY_(Class, Parent, false)
#define RTL_END_CLASS }
