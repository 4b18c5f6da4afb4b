#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

uint32_t Px(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

struct Log : TObject {
    std::vector<std::string> Events;
    void Click(TObject* s) {
        Events.push_back("click " + std::to_string(static_cast<TRadioGroup*>(s)->ItemIndex()));
    }
    void KeyPress(TObject*, char32_t& k) { Events.push_back("key " + std::string(1, char(k))); }
    void Moved(TObject*) { Events.push_back("moved"); }
};

TEST(RadioGroup, ButtonsPerItemLaidOutByColumn) {
    TForm form(nullptr);
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->SetBounds(0, 0, 210, 100);
    group->SetColumns(2);
    group->Items()->SetCommaText("a,b,c");
    ASSERT_EQ(group->ButtonCount(), 3);
    TBitmap measure;
    measure.Canvas()->Font()->Assign(group->Font());
    const int th = measure.Canvas()->TextHeight("Wg");
    const int rowHeight = (100 - th - 5) / 2;
    const int top = th + 1 + ((100 - th - 5) % 2) / 2;
    EXPECT_EQ(group->Buttons(0)->Left(), 8);
    EXPECT_EQ(group->Buttons(1)->Top(), top + rowHeight);
    EXPECT_EQ(group->Buttons(2)->Left(), 8 + 100);
    EXPECT_EQ(group->Buttons(2)->Top(), top);
    EXPECT_EQ(group->Buttons(2)->Width(), 100);
    EXPECT_EQ(group->Buttons(1)->Caption(), "b");
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);

    Log log;
    group->FOnClick = rtl::MethodOf<&Log::Click>(&log);
    group->FOnKeyPress = rtl::MethodOf<&Log::KeyPress>(&log);
    group->Buttons(2)->ButtonClicked();
    EXPECT_EQ(group->ItemIndex(), 2);
    group->SetItemIndex(0); // code checks the button, which clicks, as in the VCL
    EXPECT_TRUE(group->Buttons(0)->Checked());
    EXPECT_FALSE(group->Buttons(2)->Checked());
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), 2);
    char32_t k = U'x';
    group->Buttons(0)->KeyPress(k);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click 2", "click 0", "click 2", "key x"}));

    group->Items()->Delete(2);
    EXPECT_EQ(group->ButtonCount(), 2);
    EXPECT_EQ(group->ItemIndex(), 1);
    group->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(0)->Enabled());
}

TEST(RadioGroup, ResourceItemIndexWithoutClick) {
    TForm form(nullptr);
    ReadFormResource(&form, R"(object F: TForm
  object G: TRadioGroup
    ItemIndex = 1
    Items.Strings = (
      '日'
      '月')
  end
end
)",
                     "F.dfm");
    auto* g = static_cast<TRadioGroup*>(form.FindComponent("G"));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->ItemIndex(), 1);
    ASSERT_EQ(g->ButtonCount(), 2);
    EXPECT_TRUE(g->Buttons(1)->Checked());
}

TEST(Splitter, DraggingResizesTheControlBeforeIt) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* left = new TWinControl(&form);
    left->SetParent(&form);
    left->SetAlign(TAlign::alLeft);
    left->SetBounds(0, 0, 100, 300);
    auto* split = new TSplitter(&form);
    split->SetParent(&form);
    split->SetBounds(100, 0, 3, 300);
    EXPECT_EQ(split->FindControl(), left);
    Log log;
    split->FOnMoved = rtl::MethodOf<&Log::Moved>(&log);
    split->MouseDown(TMouseButton::mbLeft, {}, 1, 10);
    split->MouseMove({}, 51, 10);
    EXPECT_EQ(left->Width(), 150);
    EXPECT_EQ(split->Left(), 150);
    // The coordinates follow the moved splitter; MinSize holds on both sides.
    split->MouseMove({}, -200, 10);
    EXPECT_EQ(left->Width(), 30);
    split->MouseMove({}, 900, 10);
    EXPECT_EQ(left->Width(), 400 - 3 - 30);
    split->MouseUp(TMouseButton::mbLeft, {}, 0, 0);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"moved"}));

    split->SetAlign(TAlign::alTop);
    EXPECT_EQ(split->FindControl(), nullptr);
}

TEST(Bevel, LinesInShadowAndHighlight) {
    TBevel bevel(nullptr);
    bevel.SetBounds(0, 0, 10, 10);
    const QImage& box = bevel.PaintImage();
    EXPECT_EQ(Px(box, 0, 5), 0x808080u);
    EXPECT_EQ(Px(box, 9, 5), 0xFFFFFFu);
    bevel.SetStyle(TBevelStyle::bsRaised);
    bevel.SetShape(TBevelShape::bsBottomLine);
    bevel.SetColor(int(uint32_t(clBlack)));
    const QImage& line = bevel.PaintImage();
    EXPECT_EQ(Px(line, 5, 8), 0xFFFFFFu);
    EXPECT_EQ(Px(line, 5, 9), 0x808080u);
    EXPECT_EQ(Px(line, 5, 2), 0x000000u);
}

TEST(Image, PictureStretchedCentredOrProportional) {
    TImage image(nullptr);
    image.SetBounds(0, 0, 100, 50);
    image.Picture()->Bitmap()->SetSize(20, 10);
    image.Picture()->Bitmap()->Canvas()->Brush()->SetColor(clRed);
    image.Picture()->Bitmap()->Canvas()->FillRect({0, 0, 20, 10});
    EXPECT_EQ(image.DestRect(), (TRect{0, 0, 20, 10}));
    image.SetCenter(true);
    EXPECT_EQ(image.DestRect(), (TRect{40, 20, 60, 30}));
    image.SetStretch(true);
    image.SetProportional(true);
    EXPECT_EQ(image.DestRect(), (TRect{0, 0, 100, 50}));
    image.SetBounds(0, 0, 100, 100);
    EXPECT_EQ(image.DestRect(), (TRect{0, 25, 100, 75}));
    image.SetColor(int(uint32_t(clWhite)));
    const QImage& img = image.PaintImage();
    EXPECT_EQ(Px(img, 50, 50), 0xFF0000u);
    EXPECT_EQ(Px(img, 50, 10), 0xFFFFFFu);
    image.SetAutoSize(true);
    EXPECT_EQ(image.Width(), 20);
}

} // namespace
