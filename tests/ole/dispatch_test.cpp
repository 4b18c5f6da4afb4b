#include "platform/ole/ComObj.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

using namespace ole;

namespace {

class TCounter : public TAutoObject {
public:
    TCounter() {
        Method("Add", 2, [](Args& a) {
            return Variant(ArgValue(a, 0).AsInteger() + ArgValue(a, 1).AsInteger());
        });
        // Swaps its two by-reference arguments, as a server's "var" parameters do.
        Method("Swap", 2, [](Args& a) {
            Variant first = ArgValue(a, 0);
            SetOutArg(a, 0, ArgValue(a, 1));
            SetOutArg(a, 1, first);
            return Variant();
        });
        Method("Count", -1, [](Args& a) { return Variant(static_cast<int>(a.size())); });
        Property(
            "Name", [this] { return Variant(FName); },
            [this](const Variant& v) { FName = v.AsString(); });
        Property("Version", [] { return Variant(3); });
    }

private:
    std::string FName = "initial";
};

std::string OleMessage(const std::function<void()>& f) {
    try {
        f();
    } catch (const rtl::EOleError& e) {
        return e.what();
    }
    return "(no EOleError)";
}

} // namespace

TEST(Dispatch, MembersAreCalledByNameWithoutRegardToCase) {
    Variant obj(DispatchPtr(std::make_shared<TCounter>()));
    EXPECT_EQ(obj.Invoke("Add", {2, 3}).AsInteger(), 5);
    EXPECT_EQ(obj.Invoke("aDD", {2, 3}).AsInteger(), 5);
    EXPECT_EQ(obj.Invoke("count", {1, 2, 3, 4}).AsInteger(), 4);
    EXPECT_EQ(obj.Invoke("Count").AsInteger(), 0);
    EXPECT_EQ(obj.Get("NAME").AsString(), "initial");
    obj.Set("name", "renamed");
    EXPECT_EQ(obj.Get("Name").AsString(), "renamed");
    // A property read written as a call without arguments, as late-bound callers do.
    EXPECT_EQ(obj.Invoke("Version").AsInteger(), 3);
    // Copies of the variant reach the same object.
    Variant copy = obj;
    EXPECT_EQ(copy.Get("Name").AsString(), "renamed");
    auto names = obj.AsDispatch()->MemberNames();
    EXPECT_EQ(names, (std::vector<std::string>{"Add", "Swap", "Count", "Name", "Version"}));
}

TEST(Dispatch, ByReferenceArgumentsAreWrittenBack) {
    Variant obj(DispatchPtr(std::make_shared<TCounter>()));
    Variant x = 1, y = "two";
    obj.Invoke("Swap", {Variant::ByRef(&x), Variant::ByRef(&y)});
    EXPECT_EQ(x.AsString(), "two");
    EXPECT_EQ(y.AsInteger(), 1);

    // By-value arguments stay as the caller had them.
    Variant a = 1, b = 2;
    obj.Invoke("Swap", {a, b});
    EXPECT_EQ(a.AsInteger(), 1);
    EXPECT_EQ(b.AsInteger(), 2);

    // A reference to a reference reaches the final target; reads see through it.
    Variant target = 7;
    Variant ref = Variant::ByRef(&target);
    Variant refRef = Variant::ByRef(&ref);
    EXPECT_EQ(refRef.VarType(), varByRef | varInteger);
    EXPECT_EQ(refRef.AsInteger(), 7);
    EXPECT_EQ(refRef, Variant(7));
    refRef.Deref() = "written";
    EXPECT_EQ(target.AsString(), "written");

    // A by-reference array is indexed and written through.
    Variant arr = VarArrayOf({1, 2});
    Variant arrRef = Variant::ByRef(&arr);
    EXPECT_TRUE(VarIsArray(arrRef));
    arrRef[1] = 20;
    EXPECT_EQ(arr[1].AsInteger(), 20);
    EXPECT_THROW(Variant::ByRef(nullptr), rtl::EVariantError);
}

TEST(Dispatch, ErrorsNameTheMemberAndTheCounts) {
    Variant obj(DispatchPtr(std::make_shared<TCounter>()));
    EXPECT_EQ(OleMessage([&] { obj.Invoke("Foo"); }), "Unknown name: Foo");
    EXPECT_EQ(OleMessage([&] { obj.Get("Bar"); }), "Unknown name: Bar");
    EXPECT_EQ(OleMessage([&] { obj.Invoke("add", {1}); }),
              "Invalid number of parameters for Add: 2 expected, 1 given");
    EXPECT_EQ(OleMessage([&] { obj.Get("Name", {1}); }),
              "Invalid number of parameters for Name: 0 expected, 1 given");
    EXPECT_EQ(OleMessage([&] { obj.Set("Version", 4); }), "Property Version is read-only");
    EXPECT_EQ(OleMessage([&] { obj.Set("Add", 4); }),
              "Member Add is a method and cannot be assigned");

    // Late binding on something that holds no object.
    for (const Variant& none : {Variant(), Variant("text"), Variant(DispatchPtr())})
        EXPECT_NE(OleMessage([&] { none.Invoke("Add"); }).find("Add"), std::string::npos);

    std::vector<Variant> args{1};
    EXPECT_THROW(ArgValue(args, 1), rtl::EOleError);
}
