#include "platform/vcl/Component.h"
#include "platform/vcl/FormParser.h"
#include "platform/vcl/FormReader.h"

#include "platform/rtl/ClassBuilder.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

enum class TTone { tnPlain, tnBold };

class TWidget : public TComponent {
    RTL_DECLARE_CLASS(TWidget, TComponent)
public:
    using TComponent::TComponent;
    int Left() const { return FLeft; }
    void SetLeft(int v) { FLeft = v; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    TTone Tone() const { return FTone; }
    void SetTone(TTone v) { FTone = v; }
    TStringList* Lines() const { return FLines.get(); }
    TWidget* Buddy() const { return FBuddy; }
    void SetBuddy(TWidget* w) { FBuddy = w; }
    void SetParentComponent(TComponent* parent) override { ParentComp = parent; }
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
    }
    TNotifyEvent FOnClick;
    rtl::TEvent<TObject*, int&> FOnKey;
    TComponent* ParentComp = nullptr;
    int LoadedCalls = 0;

private:
    int FLeft = 0;
    std::string FCaption;
    TTone FTone = TTone::tnPlain;
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    TWidget* FBuddy = nullptr;
};

RTL_BEGIN_CLASS(TWidget, TComponent)
c.Int("Left", &TWidget::Left, &TWidget::SetLeft);
c.Str("Caption", &TWidget::Caption, &TWidget::SetCaption);
c.Enum("Tone", &TWidget::Tone, &TWidget::SetTone,
       rtl::EnumTypeInfo("TTone", {"tnPlain", "tnBold"}));
c.Obj("Lines", &TWidget::Lines);
c.Obj("Buddy", &TWidget::Buddy, &TWidget::SetBuddy);
c.Event("OnClick", &TWidget::FOnClick);
c.Event("OnKey", &TWidget::FOnKey, "TKeyEvent");
RTL_END_CLASS

class TfrmBase : public TWidget {
    RTL_DECLARE_CLASS(TfrmBase, TWidget)
public:
    using TWidget::TWidget;
    void btnOkClick(TObject* sender) { Clicked.push_back(sender); }
    TWidget* btnOk = nullptr;
    TWidget* pnlMain = nullptr;
    std::vector<TObject*> Clicked;
};

RTL_BEGIN_CLASS(TfrmBase, TWidget)
c.Field("btnOk", &TfrmBase::btnOk);
c.Field("pnlMain", &TfrmBase::pnlMain);
c.Method<&TfrmBase::btnOkClick>("btnOkClick");
RTL_END_CLASS

class TfrmChild : public TfrmBase {
    RTL_DECLARE_CLASS(TfrmChild, TfrmBase)
public:
    using TfrmBase::TfrmBase;
    void edCodeClick(TObject* sender) { ChildClicked.push_back(sender); }
    TWidget* edCode = nullptr;
    std::vector<TObject*> ChildClicked;
};

RTL_BEGIN_CLASS(TfrmChild, TfrmBase)
c.Field("edCode", &TfrmChild::edCode);
c.Method<&TfrmChild::edCodeClick>("edCodeClick");
RTL_END_CLASS

const char* const BaseResource = R"(object frmBase: TfrmBase
  Left = 10
  Caption = '基础窗体'
  object pnlMain: TWidget
    Left = 0
    object btnOk: TWidget
      Left = 5
      Caption = '确定(&O)'
      Tone = tnBold
      OnClick = btnOkClick
      Buddy = pnlMain
    end
  end
end
)";

const char* const ChildResource = R"(inherited frmChild: TfrmChild
  Caption = '坏账冲销'
  inherited pnlMain: TWidget
    inherited btnOk: TWidget
      Left = 77
    end
    object edCode: TWidget
      Lines.Strings = (
        'a'
        'b'#13#10'c')
      OnClick = edCodeClick
      Buddy = btnOk
    end
  end
end
)";

struct Resources {
    Resources() {
        RegisterFormResource("TfrmBase", "BaseForm.dfm", BaseResource);
        RegisterFormResource("TfrmChild", "ChildForm.dfm", ChildResource);
    }
};

} // namespace

TEST(FormReader, VisualInheritanceFieldsEventsAndReferences) {
    static Resources registered;
    TfrmChild* f = Create<TfrmChild>(nullptr);
    ASSERT_TRUE(InitInheritedComponent(f));
    EXPECT_EQ(f->Name(), "frmChild");
    EXPECT_EQ(f->Caption(), "坏账冲销");
    EXPECT_EQ(f->Left(), 10);
    ASSERT_NE(f->btnOk, nullptr);
    ASSERT_NE(f->edCode, nullptr);
    EXPECT_EQ(f->btnOk->Left(), 77); // the derived resource wins
    EXPECT_EQ(f->btnOk->Caption(), "确定(&O)");
    EXPECT_EQ(f->btnOk->Tone(), TTone::tnBold);
    EXPECT_EQ(f->btnOk->Buddy(), f->pnlMain);
    EXPECT_EQ(f->btnOk->ParentComp, f->pnlMain);
    EXPECT_EQ(f->edCode->ParentComp, f->pnlMain);
    EXPECT_EQ(f->edCode->Buddy(), f->btnOk); // a reference to an earlier component
    EXPECT_EQ(f->edCode->Lines()->Text(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(f->ComponentCount(), 3);
    f->btnOk->FOnClick(f->btnOk);
    f->edCode->FOnClick(f->edCode);
    EXPECT_EQ(f->Clicked.size(), 1u);
    EXPECT_EQ(f->ChildClicked.size(), 1u);
    // Loaded ran once for each component, after both resources.
    EXPECT_EQ(f->btnOk->LoadedCalls, 1);
    EXPECT_EQ(f->LoadedCalls, 1);
    EXPECT_FALSE(f->btnOk->IsLoading());
    f->Free();
}

TEST(FormReader, ErrorsNameResourceLineAndName) {
    struct Case {
        const char* text;
        int line;
        const char* says;
    } cases[] = {
        {"object F: TfrmBase\n  object X: TNoSuch\n  end\nend\n", 2, "class TNoSuch not found"},
        {"object F: TfrmBase\n  Colour = 1\nend\n", 2, "unknown property 'Colour'"},
        {"object F: TfrmBase\n  Left = 'ten'\nend\n", 2, "invalid value for property 'Left'"},
        {"object F: TfrmBase\n  Tone = tnLoud\nend\n", 2, "invalid value for property 'Tone'"},
        {"object F: TfrmBase\n  OnClick = NoSuchMethod\nend\n", 2,
         "method 'NoSuchMethod' not found"},
        {"object F: TfrmBase\n  OnKey = btnOkClick\nend\n", 2, "does not fit event OnKey"},
        {"object F: TfrmBase\n  Buddy = Nobody\nend\n", 2, "unresolved reference to 'Nobody'"},
        {"object F: TfrmBase\n  object A: TWidget\n  end\n  object a: TWidget\n  end\nend\n", 4,
         "already exists"},
        {"object F: TfrmBase\n  inherited Q: TWidget\n  end\nend\n", 2,
         "ancestor for 'Q' not found"},
        {"object F: TWidget\n  object btnOk: TComponent\n  end\nend\n", 2,
         "field btnOk is a TWidget"},
        {"object F: TOther\nend\n", 1, "the resource is for TOther"},
        {"object F: TfrmBase\n  Left = \nend\n", 3, "expected"},
        {"object F: TfrmBase\n  object B: TWidget\n    Name = '1x'\n  end\nend\n", 3,
         "not a valid component name"},
    };
    for (const auto& c : cases) {
        TfrmBase* f = Create<TfrmBase>(nullptr);
        try {
            ReadFormResource(f, c.text, "Test.dfm");
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const EFormParseError& e) {
            EXPECT_EQ(e.ResourceName, "Test.dfm");
            EXPECT_EQ(e.Line, c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("Test.dfm("), std::string::npos) << e.what();
        }
        EXPECT_FALSE(f->IsLoading());
        f->Free();
    }
}
