#include "tests/components/Fixture.h"

#include "components/F2Button.h"
#include "components/GSpdBtn.h"
#include "components/KtSpin.h"
#include "components/KtrEdit.h"

#include "platform/db/DBClient.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Graphics.h"

#include "suite/rvres/RvRes.h"

using namespace vcl;
using namespace components;

namespace {

struct Counter : TObject {
    int N = 0;
    TObject* Sender = nullptr;
    void Call(TObject* s) {
        ++N;
        Sender = s;
    }
};

TEST_F(ComponentsTest, SpeedButtonGlyphsByNumber) {
    auto* b = new TGSpeedButton(Form);
    b->SetParent(Form);
    b->SetGlyphIndex(9); // a picture with its disabled image: 32 x 16
    EXPECT_EQ(b->Caption(), "");
    EXPECT_EQ(b->Glyph()->GetWidth(), 2 * b->Glyph()->GetHeight());
    EXPECT_EQ(b->NumGlyphs(), 2);
    b->SetGlyphIndex(8);
    EXPECT_EQ(b->NumGlyphs(), 1);

    b->SetGlyphIndex(0);
    EXPECT_EQ(b->Caption(), "0");
    EXPECT_TRUE(b->Glyph()->Empty());
    const int beyond = GetMaxBmpID() + 1;
    b->SetGlyphIndex(beyond);
    EXPECT_EQ(b->Caption(), std::to_string(beyond));
    EXPECT_TRUE(b->Glyph()->Empty());
    b->SetGlyphIndex(5); // a number without a picture keeps its number as the caption
    EXPECT_EQ(b->Caption(), "5");
    for (int id : {4, 8, 9, 39, 44, 47, 60, 78}) {
        b->SetGlyphIndex(id);
        EXPECT_EQ(b->Caption(), "") << id;
    }
    EXPECT_TRUE(Responder->Dialogs.empty());
}

TEST_F(ComponentsTest, F2ButtonSitsRightOfItsEditAndAsksForTheLookup) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(121, 179, 86, 21);
    auto* button = new TF2Button(Form);
    button->SetParent(Form);
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->GlyphIndex(), 8);
    button->SetF2Control(edit);
    EXPECT_EQ(button->Left(), 209);
    EXPECT_EQ(button->Top(), 179);
    EXPECT_EQ(button->Width(), 21);
    EXPECT_EQ(button->Height(), 21);
    button->SetGap(5);
    EXPECT_EQ(button->Left(), 212);

    Counter clicks;
    button->FOnClick = rtl::MethodOf<&Counter::Call>(&clicks);
    button->Click();
    EXPECT_EQ(clicks.N, 1);
    EXPECT_EQ(Form->ActiveControl(), edit);
    EXPECT_EQ(Form->Lookups, std::vector<TWinControl*>{edit});

    edit->SetEnabled(false); // OnClick still runs, the lookup is not asked for
    button->Click();
    EXPECT_EQ(clicks.N, 2);
    EXPECT_EQ(Form->Lookups.size(), 1u);

    auto* second = new TF2Button(Form);
    second->SetParent(Form);
    second->SetF2Control(edit);
    EXPECT_EQ(second->F2Control(), nullptr);
    ASSERT_EQ(Responder->Dialogs.size(), 1u);
    EXPECT_EQ(Responder->Dialogs[0].Text, "不能同时有两个 F2Button 指到同一个 Edit.");
    delete edit;
    EXPECT_EQ(button->F2Control(), nullptr);
    button->Click(); // unbound: only OnClick
    EXPECT_EQ(clicks.N, 3);
    button->FOnClick = {};
}

TEST_F(ComponentsTest, CaptionLabelPlacesItselfAroundTheEdit) {
    auto* edit = new TKtEdit(Form);
    edit->SetParent(Form);
    TLabel* label = edit->EditLabel();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Name(), "EditLabel");
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(label->Parent(), Form);
    edit->SetCaption("客户");
    EXPECT_EQ(edit->Caption(), "客户");
    const int lw = label->Width(), lh = label->Height();

    struct Case {
        TLabelPosition Pos;
        int Spacing, Left, Top;
    } cases[] = {
        {TLabelPosition::lpAbove, 3, 100, 50 - lh - 3},
        {TLabelPosition::lpBelow, 3, 100, 50 + 21 + 3},
        {TLabelPosition::lpLeft, 4, 100 - lw - 4, 50 + (21 - lh) / 2},
        {TLabelPosition::lpRight, 4, 100 + 120 + 4, 50 + (21 - lh) / 2},
    };
    for (const Case& c : cases) {
        edit->SetBounds(100, 50, 120, 21);
        edit->SetLabelSpacing(c.Spacing);
        edit->SetLabelPosition(c.Pos);
        EXPECT_EQ(label->Left(), c.Left) << int(c.Pos);
        EXPECT_EQ(label->Top(), c.Top) << int(c.Pos);
    }
    edit->SetLabelSpacing(-5); // ignored
    EXPECT_EQ(label->Left(), 100 + 120 + 4);

    edit->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    edit->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    edit->SetVisible(true);
    EXPECT_TRUE(label->Visible());

    delete label; // freed elsewhere: the edit forgets it
    EXPECT_EQ(edit->EditLabel(), nullptr);
    EXPECT_EQ(edit->Caption(), "");
    edit->SetCaption("x");
    edit->SetBounds(0, 0, 50, 21);
}

TEST_F(ComponentsTest, ButtonEditAsksForTheLookupOrRunsOnDialog) {
    auto* edit = new TKtBtnEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(121, 179, 86, 21);
    TGSpeedButton* button = edit->F2Button();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->Name(), "F2Button");
    EXPECT_EQ(button->Left(), 121 + 86 + 2);
    EXPECT_EQ(button->Top(), 179);
    EXPECT_EQ(button->Width(), 21);
    EXPECT_EQ(button->GlyphIndex(), 8);
    edit->SetGlyphIndex(60);
    EXPECT_EQ(button->GlyphIndex(), 60);
    edit->SetButtonHint("查询客户");
    EXPECT_EQ(button->Hint(), "查询客户");

    button->Click();
    EXPECT_EQ(Form->Lookups, std::vector<TWinControl*>{edit});
    EXPECT_EQ(Form->ActiveControl(), edit);

    Counter dialog;
    edit->FOnDialog = rtl::MethodOf<&Counter::Call>(&dialog);
    button->Click();
    EXPECT_EQ(dialog.N, 1);
    EXPECT_EQ(dialog.Sender, edit);
    EXPECT_EQ(Form->Lookups.size(), 1u); // OnDialog replaces the request

    edit->FOnDialog = {};
    delete button;
    EXPECT_EQ(edit->F2Button(), nullptr);
    edit->SetGlyphIndex(9); // nothing to pass it to
    EXPECT_EQ(edit->GlyphIndex(), 60);
    EXPECT_EQ(edit->ButtonHint(), "");
    edit->SetBounds(0, 0, 80, 21);
}

TEST_F(ComponentsTest, ButtonEditsReadFromAResource) {
    ReadFormResource(Form, R"(object Form: TForm
  object edDept: TKtBtnDBEdit
    Left = 90
    Top = 40
    Width = 100
    Height = 21
    Caption = '部门'
    LabelPosition = lpAbove
    GlyphIndex = 78
    ButtonHint = '查询部门'
    DataField = 'MQ005'
  end
end
)",
                     "Form.dfm");
    auto* edit = static_cast<TKtBtnDBEdit*>(Form->FindComponent("edDept"));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->EditLabel()->Caption(), "部门");
    EXPECT_EQ(edit->EditLabel()->Left(), 90);
    EXPECT_EQ(edit->EditLabel()->Top(), 40 - edit->EditLabel()->Height() - 4);
    EXPECT_EQ(edit->F2Button()->GlyphIndex(), 78);
    EXPECT_EQ(edit->F2Button()->Left(), 192);
    EXPECT_EQ(edit->ButtonHint(), "查询部门");
    EXPECT_EQ(edit->DataField(), "MQ005");
    EXPECT_EQ(edit->Caption(), "部门"); // the field's label is taken at design time only
}

TEST_F(ComponentsTest, SpinEditDropsTrailingSigns) {
    auto* spin = new TKtSpinEdit(Form);
    spin->SetParent(Form);
    Counter changes;
    spin->FOnChange = rtl::MethodOf<&Counter::Call>(&changes);
    struct Case {
        const char* Typed;
        const char* Stays;
    } cases[] = {{"12", "12"}, {"12+", "12"}, {"-12", "-12"}, {"-12-", "-12"},
                 {"1+2", "1"}, {"+5", "+5"},  {"7-+", "7"}};
    for (const Case& c : cases) {
        spin->UserInput(c.Typed);
        EXPECT_EQ(spin->Text(), c.Stays) << c.Typed;
    }
    changes.N = 0;
    spin->UserInput("");
    EXPECT_EQ(changes.N, 0); // an empty text tells of no change
    spin->UserInput("  ");
    EXPECT_EQ(changes.N, 0);
    spin->UserInput("3");
    EXPECT_EQ(changes.N, 1);
    spin->UserInput("3-");
    EXPECT_EQ(spin->Text(), "3");
    spin->FOnChange = {};
}

} // namespace
