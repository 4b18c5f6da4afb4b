#include "tests/components/Fixture.h"

#include "components/BtChkBox.h"
#include "components/KtRadioButton.h"
#include "components/KtRadioGroup.h"

#include "platform/vcl/Graphics.h"

#include <QImage>

using namespace vcl;
using namespace components;

namespace {

bool IsDark(QRgb p) {
    return qGray(p) < 110;
}

// The leftmost column in [from, to) holding a dark pixel; -1 when none.
int FirstDarkColumn(const QImage& img, int from, int to) {
    for (int x = from; x < to && x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (IsDark(img.pixel(x, y))) return x;
    return -1;
}

TEST_F(ComponentsTest, BitCheckBoxClickCycle) {
    struct Case {
        bool AllowGrayed;
        std::vector<TCheckBoxState> States;
    } cases[] = {
        {true, {TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked}},
        {false,
         {TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked, TCheckBoxState::cbChecked}},
    };
    for (const Case& c : cases) {
        auto* box = new TBitCheckBox(Form);
        box->SetParent(Form);
        box->SetAllowGrayed(c.AllowGrayed);
        int clicks = 0;
        struct Counter : TObject {
            int* N;
            void Click(TObject*) { ++*N; }
        } counter;
        counter.N = &clicks;
        box->FOnClick = rtl::MethodOf<&Counter::Click>(&counter);
        for (TCheckBoxState expected : c.States) {
            box->Click();
            EXPECT_EQ(box->State(), expected) << "AllowGrayed " << c.AllowGrayed;
        }
        EXPECT_EQ(clicks, 3);
        EXPECT_EQ(Form->ActiveControl(), box); // a click takes the focus
        char32_t space = U' ';
        box->DoKeyPress(space);
        EXPECT_EQ(clicks, 4);
        box->FOnClick = {};
        delete box;
    }
}

TEST_F(ComponentsTest, BitCheckBoxAcceleratorFocusesThenAdvances) {
    auto* box = new TBitCheckBox(Form);
    box->SetParent(Form);
    box->SetCaption("包含已冲销(&A)");
    EXPECT_TRUE(Form->DialogChar(U'a'));
    EXPECT_EQ(Form->ActiveControl(), box);
    EXPECT_TRUE(box->Checked());
    box->SetEnabled(false);
    EXPECT_FALSE(Form->DialogChar(U'a'));
    EXPECT_TRUE(box->Checked());
}

TEST_F(ComponentsTest, BitCheckBoxDrawsTheStatePictureTransparentlyAndBesideTheCaption) {
    auto* box = new TBitCheckBox(Form);
    box->SetParent(Form);
    box->SetColor(int(uint32_t(clWhite)));
    box->SetCaption("Y");
    ASSERT_EQ(box->UncheckedGlyph()->GetWidth(), 19);
    ASSERT_EQ(box->UncheckedGlyph()->GetHeight(), 14);

    QImage img = box->PaintImage();
    ASSERT_EQ(img.size(), QSize(97, 17));
    // The olive background of the picture is left out; the box itself is drawn.
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(img.pixel(9, 8) & 0xFFFFFF, 0xFFFFFFu);
    // The caption starts right of the picture (19 + 4), not before.
    EXPECT_EQ(FirstDarkColumn(img, 20, 97), 23);

    box->SetAlignment(TAlignment::taLeftJustify);
    img = box->PaintImage();
    EXPECT_NE(img.pixel(97 - 19 + 9, 8) & 0xFFFFFF, 0xFFFFFFu); // the picture at the right
    int captionStart = FirstDarkColumn(img, 0, 60);
    EXPECT_GE(captionStart, 1);
    EXPECT_LE(captionStart, 3);
}

TEST_F(ComponentsTest, BitCheckBoxTwoImagePictureShowsTheSecondWhenDisabled) {
    TBitmap pic;
    pic.SetPixelFormat(TPixelFormat::pf24bit);
    pic.SetSize(38, 14);
    pic.Canvas()->Brush()->SetColor(clRed);
    pic.Canvas()->FillRect({0, 0, 19, 14});
    pic.Canvas()->Brush()->SetColor(clBlue);
    pic.Canvas()->FillRect({19, 0, 38, 14});
    pic.Canvas()->SetPixel(0, 13, clOlive); // the lower-left pixel: the transparent colour

    auto* box = new TBitCheckBox(Form);
    box->SetParent(Form);
    box->SetCheckedGlyph(&pic);
    box->SetChecked(true);
    EXPECT_EQ(box->CheckedNumGlyphs(), 2);
    EXPECT_EQ(box->PaintImage().pixel(5, 8) & 0xFFFFFF, 0xFF0000u);
    box->SetEnabled(false);
    EXPECT_EQ(box->PaintImage().pixel(5, 8) & 0xFFFFFF, 0x0000FFu);
    box->SetCheckedGlyph(nullptr); // back to the library's own picture
    EXPECT_EQ(box->CheckedGlyph()->GetWidth(), 19);
    EXPECT_EQ(box->CheckedNumGlyphs(), 1);
    box->SetCheckedNumGlyphs(7);
    EXPECT_EQ(box->CheckedNumGlyphs(), 2);
}

TEST_F(ComponentsTest, RadioButtonCaptionOffsetsFollowTheFontSize) {
    struct Case {
        int Points, Offset;
    } cases[] = {{1, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20}, {17, 20}, {18, 21},
                 {23, 21}, {24, 23}, {30, 25}, {36, 27}, {42, 29}, {43, 29}, {44, 31},
                 {60, 31}, {61, 39}, {80, 39}, {81, 44}, {0, 44},  {-3, 44}};
    for (const Case& c : cases)
        EXPECT_EQ(TKtRadioButton::CaptionOffset(c.Points), c.Offset) << c.Points;

    auto* radio = new TKtRadioButton(Form);
    radio->SetParent(Form);
    radio->SetColor(int(uint32_t(clWhite)));
    radio->Font()->SetSize(9);
    radio->SetCaption("国");
    const QImage* img = radio->PaintedImage();
    ASSERT_TRUE(img);
    // The round button ends before 14; the caption's box starts at 19 (its first stroke a
    // pixel or two inside it).
    EXPECT_NE(img->pixel(1, 8) & 0xFFFFFF, 0xFFFFFFu);
    const int first = FirstDarkColumn(*img, 14, 40);
    EXPECT_GE(first, 19);
    EXPECT_LE(first, 21);
    radio->Font()->SetSize(8);
    EXPECT_LE(FirstDarkColumn(*radio->PaintedImage(), 14, 40), 19);
}

TEST_F(ComponentsTest, RadioButtonsOfOneParentExcludeEachOther) {
    auto* a = new TKtRadioButton(Form);
    auto* b = new TKtRadioButton(Form);
    a->SetParent(Form);
    b->SetParent(Form);
    a->MouseClick();
    EXPECT_TRUE(a->Checked());
    b->MouseClick();
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->TabStop());
}

TEST_F(ComponentsTest, RadioGroupLaysOutColumnByColumnAndReportsClicks) {
    auto* group = new TKtRadioGroup(Form);
    group->SetParent(Form);
    group->SetBounds(10, 10, 210, 100);
    group->SetColumns(2);
    for (const char* item : {"日", "周", "月", "小时", "年"})
        group->Items()->Add(item);
    ASSERT_EQ(group->ButtonCount(), 5);

    TBitmap measure;
    measure.Canvas()->Font()->Assign(group->Font());
    const int th = measure.Canvas()->TextHeight("0");
    const int space = 100 - th - 5, rows = 3, h = space / rows;
    const int top = th + 1 + (space % rows) / 2;
    const int w = (210 - 10) / 2;
    struct Where {
        int Left, Top;
    } expected[] = {{8, top}, {8, top + h}, {8, top + 2 * h}, {8 + w, top}, {8 + w, top + h}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(group->Buttons(i)->Left(), expected[i].Left) << i;
        EXPECT_EQ(group->Buttons(i)->Top(), expected[i].Top) << i;
        EXPECT_EQ(group->Buttons(i)->Width(), w);
        EXPECT_EQ(group->Buttons(i)->Height(), h);
        EXPECT_EQ(group->Buttons(i)->Caption(), (*group->Items())[i]);
    }

    int clicks = 0;
    struct Counter : TObject {
        int* N;
        void Click(TObject*) { ++*N; }
    } counter;
    counter.N = &clicks;
    group->FOnClick = rtl::MethodOf<&Counter::Click>(&counter);
    group->Buttons(3)->MouseClick();
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_FALSE(group->Buttons(3)->Checked());
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    group->Items()->Delete(4);
    EXPECT_EQ(group->ButtonCount(), 4);
    group->FOnClick = {};
}

} // namespace
