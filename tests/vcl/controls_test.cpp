#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace vcl;

namespace {

struct FormFixture : ::testing::Test {
    FormFixture() { RegisterStdCtrls(); }
    ~FormFixture() override { delete Form; }
    TForm* Form = new TForm(nullptr);
};

using ControlsTest = FormFixture;

TEST_F(ControlsTest, ParentFontFollowsUntilTheControlSetsItsOwn) {
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    auto* edit = new TEdit(Form);
    edit->SetParent(panel);
    Form->Font()->SetName("宋体");
    EXPECT_EQ(edit->Font()->GetName(), "宋体");
    EXPECT_TRUE(edit->ParentFont());

    edit->Font()->SetHeight(-16);
    EXPECT_FALSE(edit->ParentFont());
    Form->Font()->SetName("Arial");
    EXPECT_EQ(edit->Font()->GetName(), "宋体");
    EXPECT_EQ(panel->Font()->GetName(), "Arial");

    edit->SetParentFont(true);
    EXPECT_EQ(edit->Font()->GetName(), "Arial");
    EXPECT_EQ(edit->Font()->GetHeight(), Form->Font()->GetHeight());
}

TEST_F(ControlsTest, ResourceFontTurnsParentFontOffAndColoursReadByName) {
    ReadFormResource(Form, R"(object Form1: TForm
  Color = clWindow
  Font.Name = 'Arial'
  object Panel1: TPanel
    ParentColor = True
    object Label1: TLabel
      Caption = '&Name'
      Font.Color = clRed
    end
  end
end
)",
                     "Form1.dfm");
    auto* label = static_cast<TLabel*>(Form->FindComponent("Label1"));
    auto* panel = static_cast<TPanel*>(Form->FindComponent("Panel1"));
    ASSERT_TRUE(label && panel);
    EXPECT_EQ(uint32_t(panel->Color()), uint32_t(clWindow));
    EXPECT_EQ(label->Font()->GetName(), "Arial");
    EXPECT_EQ(uint32_t(label->Font()->GetColor()), uint32_t(clRed));
    EXPECT_FALSE(label->ParentFont());
}

TEST_F(ControlsTest, AcceleratorsFocusAndClick) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    auto* label = new TLabel(Form);
    label->SetParent(Form);
    label->SetCaption("&Code");
    label->SetFocusControl(edit);
    auto* button = new TButton(Form);
    button->SetParent(Form);
    button->SetCaption("确定(&O)");
    struct Counter : TObject {
        int Clicks = 0;
        void Click(TObject*) { ++Clicks; }
    } counter;
    button->FOnClick = rtl::MethodOf<&Counter::Click>(&counter);
    int& clicks = counter.Clicks;
    Form->Show();

    EXPECT_TRUE(IsAccel(U'c', "&Code"));
    EXPECT_FALSE(IsAccel(U'c', "&&Code"));
    EXPECT_FALSE(IsAccel(U'x', "no mark"));

    EXPECT_TRUE(Form->DialogChar(U'C'));
    EXPECT_EQ(Form->ActiveControl(), edit);
    EXPECT_TRUE(Form->DialogChar(U'o'));
    EXPECT_EQ(Form->ActiveControl(), button);
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    EXPECT_FALSE(Form->DialogChar(U'o'));
    EXPECT_EQ(clicks, 1);
}

class TDot : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Paint() override {
        Canvas()->FillRect({0, 0, Width(), Height()});
        Canvas()->SetPixel(1, 1, clRed);
    }
};

TEST_F(ControlsTest, CustomControlsPaintIntoAPictureOfTheirSize) {
    TDot dot(nullptr);
    dot.SetBounds(0, 0, 4, 3);
    dot.SetColor(int(uint32_t(clWhite)));
    const QImage& img = dot.PaintImage();
    ASSERT_EQ(img.size(), QSize(4, 3));
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    dot.SetBounds(0, 0, 0, 3);
    EXPECT_TRUE(dot.PaintImage().isNull());
}

} // namespace
