#include "platform/vcl/Component.h"

#include "platform/rtl/ClassBuilder.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

enum class TShade { shLight, shDark };

// A component with one property of each kind, a published field, method and event.
class TProbe : public TComponent {
    RTL_DECLARE_CLASS(TProbe, TComponent)
public:
    using TComponent::TComponent;
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TShade Shade() const { return FShade; }
    void SetShade(TShade v) { FShade = v; }
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    TSet<TShade> Shades() const { return FShades; }
    void SetShades(TSet<TShade> v) { FShades = v; }
    TStringList* Items() const { return FItems.get(); }

    void ProbeClick(TObject* sender) { Clicks.push_back(sender); }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == Buddy) Buddy = nullptr;
    }

    TNotifyEvent FOnClick;
    TProbe* Child = nullptr;
    TComponent* Buddy = nullptr;
    std::vector<TObject*> Clicks;

private:
    int FWidth = 0;
    bool FVisible = true;
    TShade FShade = TShade::shLight;
    double FRatio = 0;
    std::string FCaption;
    TSet<TShade> FShades;
    std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
};

const rtl::TTypeInfo* ShadeType() {
    return rtl::EnumTypeInfo("TShade", {"shLight", "shDark"});
}

RTL_BEGIN_CLASS(TProbe, TComponent)
c.Int("Width", &TProbe::Width, &TProbe::SetWidth);
c.Bool("Visible", &TProbe::Visible, &TProbe::SetVisible);
c.Enum("Shade", &TProbe::Shade, &TProbe::SetShade, ShadeType());
c.Set("Shades", &TProbe::Shades, &TProbe::SetShades, rtl::SetTypeInfo("TShades", ShadeType()));
c.Float("Ratio", &TProbe::Ratio, &TProbe::SetRatio);
c.Str("Caption", &TProbe::Caption, &TProbe::SetCaption);
c.Obj("Items", &TProbe::Items);
c.Event("OnClick", &TProbe::FOnClick);
c.Field("Child", &TProbe::Child);
c.Method<&TProbe::ProbeClick>("ProbeClick");
RTL_END_CLASS

} // namespace

TEST(Component, OwnershipNamesAndFreeing) {
    TProbe* root = Create<TProbe>(nullptr);
    auto* a = Create<TProbe>(root);
    a->SetName("Edit1");
    auto* b = Create<TProbe>(root);
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->FindComponent("EDIT1"), a);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_THROW(b->SetName("edit1"), EComponentError); // names are unique without case
    EXPECT_THROW(b->SetName("1x"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    b->SetName("Edit2");
    a->Free();
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(root->FindComponent("Edit1"), nullptr);
    root->Free(); // frees b with it (ASan would see a leak or a double free)
}

TEST(Component, FreeNotificationClearsOutsideReferences) {
    TProbe* form1 = Create<TProbe>(nullptr);
    TProbe* form2 = Create<TProbe>(nullptr);
    auto* holder = Create<TProbe>(form1);
    auto* target = Create<TProbe>(form2);
    holder->Buddy = target;
    target->FreeNotification(holder);
    target->Free();
    EXPECT_EQ(holder->Buddy, nullptr);
    // The other way round: the holder goes first, the target must not call it later.
    auto* target2 = Create<TProbe>(form2);
    holder->Buddy = target2;
    target2->FreeNotification(holder);
    holder->Free();
    form2->Free();
    form1->Free();
}

TEST(Component, DestroyingStateReachesOwnedComponents) {
    TProbe* root = Create<TProbe>(nullptr);
    auto* child = Create<TProbe>(root);
    root->BeforeDestruction();
    EXPECT_TRUE(child->IsDestroying());
    delete root;
}

TEST(TypInfo, PropertiesByName) {
    TProbe* p = Create<TProbe>(nullptr);
    rtl::SetOrdProp(p, "width", 120);
    EXPECT_EQ(p->Width(), 120);
    rtl::SetEnumProp(p, "Shade", "SHDARK");
    EXPECT_EQ(p->Shade(), TShade::shDark);
    rtl::SetSetProp(p, "Shades", "[ shDark , shLight ]");
    EXPECT_EQ(rtl::GetSetProp(p, "Shades"), "[shLight,shDark]");
    rtl::SetStrProp(p, "Caption", "确定");
    EXPECT_EQ(rtl::GetStrProp(p, "caption"), "确定");
    const rtl::TPropInfo* vis = rtl::GetPropInfo(p, "Visible");
    ASSERT_NE(vis, nullptr);
    rtl::SetPropText(p, *vis, "False");
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(rtl::GetPropText(p, *vis), "False");
    rtl::SetPropText(p, *rtl::GetPropInfo(p, "Ratio"), "2.5");
    EXPECT_DOUBLE_EQ(p->Ratio(), 2.5);
    EXPECT_EQ(rtl::GetObjectProp(p, "Items"), p->Items());
    EXPECT_EQ(rtl::GetStrProp(p, "Name"), "");

    struct Bad {
        const char* prop;
        const char* text;
    } bad[] = {{"Width", "abc"},       {"Width", "1.5"},   {"Shade", "shMiddle"},
               {"Shades", "[shNone]"}, {"Visible", "yes"}, {"Ratio", "x"}};
    for (const auto& b : bad)
        EXPECT_THROW(rtl::SetPropText(p, *rtl::GetPropInfo(p, b.prop), b.text),
                     rtl::EPropertyConvertError)
            << b.prop << "=" << b.text;
    EXPECT_THROW(rtl::SetOrdProp(p, "Missing", 1), rtl::EPropertyError);
    EXPECT_THROW(rtl::SetObjectProp(p, "Items", nullptr), rtl::EPropertyError); // read-only
    EXPECT_EQ(rtl::GetPropInfo(p, ""), nullptr);
    p->Free();
}

TEST(TypInfo, EventsMethodsAndClasses) {
    TProbe* p = Create<TProbe>(nullptr);
    const rtl::TMethodEntry* m = p->ClassInfo()->FindMethod("probeclick");
    ASSERT_NE(m, nullptr);
    rtl::SetMethodProp(p, "OnClick", rtl::TMethod{m->Code, p});
    p->FOnClick(p);
    ASSERT_EQ(p->Clicks.size(), 1u);
    EXPECT_EQ(p->ClassInfo()->MethodName(rtl::GetMethodProp(p, "OnClick").Code), "ProbeClick");
    EXPECT_EQ(m->Signature, TNotifyEvent::Signature());
    EXPECT_TRUE(rtl::GetMethodProp(p, "OnClick") == rtl::MethodOf<&TProbe::ProbeClick>(p).M);

    EXPECT_STREQ(p->ClassName(), "TProbe");
    EXPECT_STREQ(p->ClassParent()->Name.c_str(), "TComponent");
    EXPECT_TRUE(p->InheritsFrom(TPersistent::StaticClassInfo()));
    const rtl::TClassInfo* cls = rtl::GetClass("tprobe");
    ASSERT_NE(cls, nullptr);
    TComponent* made = CreateComponent(*cls, p);
    EXPECT_EQ(made->Owner(), p);
    const rtl::TFieldInfo* f = cls->FindField("Child");
    ASSERT_NE(f, nullptr);
    f->Set(p, made);
    EXPECT_EQ(p->Child, made);
    EXPECT_THROW(rtl::FindClass("TNoSuchClass"), rtl::EClassNotFound);
    p->Free();
}
