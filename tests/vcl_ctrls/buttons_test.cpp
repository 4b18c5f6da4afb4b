#include "platform/vcl/Buttons.h"
#include "platform/vcl/FormParser.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>

using namespace vcl;

namespace {

uint32_t Px(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

// A glyph strip of n images of 8 × 8: olive background (the lower-left pixel, so transparent)
// with a 4 × 4 square in the middle in the image's own colour.
std::unique_ptr<TBitmap> Strip(std::vector<TColor> colours) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(8 * int(colours.size()), 8);
    b->Canvas()->Brush()->SetColor(clOlive);
    b->Canvas()->FillRect({0, 0, b->GetWidth(), 8});
    for (size_t i = 0; i < colours.size(); ++i) {
        b->Canvas()->Brush()->SetColor(colours[i]);
        b->Canvas()->FillRect({int(i) * 8 + 2, 2, int(i) * 8 + 6, 6});
    }
    return b;
}

struct SpeedButtonTest : ::testing::Test {
    SpeedButtonTest() {
        for (auto*& b : Buttons) {
            b = new TSpeedButton(&Form);
            b->SetParent(&Form);
            b->SetGroupIndex(1);
        }
    }
    TForm Form{nullptr};
    TSpeedButton* Buttons[3];
};

TEST_F(SpeedButtonTest, GroupsKeepOneButtonDown) {
    auto [a, b, c] = Buttons;
    c->SetGroupIndex(2);
    a->SetDown(true);
    b->SetDown(true);
    c->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(c->Down()); // another group
    b->SetDown(false);      // the last one down stays
    EXPECT_TRUE(b->Down());
    a->SetAllowAllUp(true); // for the whole group
    EXPECT_TRUE(b->AllowAllUp());
    b->SetDown(false);
    EXPECT_FALSE(b->Down());

    // A click through the mouse toggles and clicks; releasing outside does neither.
    int clicks = 0;
    struct Counter : TObject {
        int* N;
        void Click(TObject*) { ++*N; }
    } counter;
    counter.N = &clicks;
    a->FOnClick = rtl::MethodOf<&Counter::Click>(&counter);
    a->MouseDown(TMouseButton::mbLeft, {}, 3, 3);
    a->MouseUp(TMouseButton::mbLeft, {}, 3, 3);
    EXPECT_TRUE(a->Down());
    a->MouseDown(TMouseButton::mbLeft, {}, 3, 3);
    a->MouseUp(TMouseButton::mbLeft, {}, 50, 3);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1);

    TSpeedButton plain(nullptr);
    plain.SetDown(true); // without a group a button never stays down
    EXPECT_FALSE(plain.Down());
}

TEST_F(SpeedButtonTest, GlyphImageCountFollowsTheStrip) {
    auto* b = Buttons[0];
    b->SetGlyph(Strip({clRed, clBlue}).get());
    EXPECT_EQ(b->NumGlyphs(), 2);
    auto wide = std::make_unique<TBitmap>();
    wide->SetSize(50, 10); // five images: more than four means one
    b->SetGlyph(wide.get());
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 4);
}

TEST_F(SpeedButtonTest, PaintDrawsTheImageOfTheState) {
    auto* b = Buttons[0];
    b->SetBounds(0, 0, 24, 24);
    b->SetGlyph(Strip({clRed, clBlue, clLime, clYellow}).get());
    TPoint g;
    TRect t;
    b->GlyphLayout(g, t);
    EXPECT_EQ(g, (TPoint{8, 8})); // centred in the face inside the 2-pixel frame
    struct Case {
        bool enabled, down;
        uint32_t centre; // as QImage reads it: 0xRRGGBB
        int offset;
    } cases[] = {
        {true, false, 0xFF0000, 0},  // up: image 1
        {false, false, 0x0000FF, 0}, // disabled: image 2
        {true, true, 0xFFFF00, 1},   // down and staying: image 4, one pixel lower right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.centre);
        b->SetEnabled(c.enabled);
        b->SetDown(c.down);
        const QImage& img = b->PaintImage();
        EXPECT_EQ(Px(img, g.X + 3 + c.offset, g.Y + 3 + c.offset), c.centre);
        // The olive background of the glyph is left out.
        EXPECT_NE(Px(img, g.X + c.offset, g.Y + c.offset), 0x808000u);
        b->SetAllowAllUp(true);
        b->SetDown(false);
    }
    // One image only: the disabled look is embossed, not the image itself.
    b->SetGlyph(Strip({clRed}).get());
    b->SetEnabled(false);
    const QImage& img = b->PaintImage();
    EXPECT_NE(Px(img, g.X + 3, g.Y + 3), 0xFF0000u);
}

TEST(ButtonGlyph, LayoutPlacesGlyphAndTextByMarginAndSpacing) {
    TButtonGlyph glyph;
    glyph.Glyph()->SetSize(10, 10);
    TBitmap canvasOwner;
    canvasOwner.SetSize(1, 1);
    TCanvas& canvas = *canvasOwner.Canvas();
    int tw = canvas.TextWidth("OK");
    TPoint g;
    TRect t;
    glyph.Layout(canvas, {0, 0, 100, 30}, "OK", TButtonLayout::blGlyphLeft, -1, 4, g, t);
    EXPECT_EQ(g.X, (100 - (10 + 4 + tw) + 1) / 2);
    EXPECT_EQ(t.Left, g.X + 14);
    EXPECT_EQ(g.Y, 10);
    glyph.Layout(canvas, {0, 0, 100, 30}, "OK", TButtonLayout::blGlyphRight, 5, 4, g, t);
    EXPECT_EQ(g.X, 85);
    EXPECT_EQ(t.Right, 81);
    glyph.Layout(canvas, {0, 0, 100, 30}, "", TButtonLayout::blGlyphLeft, -1, 4, g, t);
    EXPECT_EQ(g.X, 45); // no caption: no spacing
}

TEST(BitBtn, KindGivesCaptionResultAndDefault) {
    TForm form(nullptr);
    auto* ok = new TBitBtn(&form);
    ok->SetParent(&form);
    ok->SetKind(TBitBtnKind::bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    ok->SetKind(TBitBtnKind::bkNo);
    EXPECT_FALSE(ok->Default());
    EXPECT_TRUE(ok->Cancel());
    ok->Click();
    EXPECT_EQ(form.ModalResult(), mrNo);

    auto* close = new TBitBtn(&form);
    close->SetParent(&form);
    close->SetKind(TBitBtnKind::bkClose);
    form.Show();
    close->Click();
    EXPECT_FALSE(form.Visible());
}

// The bytes of a BMP file of a 2 × 1 bitmap (red, blue), as Delphi streams a glyph.
std::string GlyphData() {
    QImage img(2, 1, QImage::Format_RGB888);
    img.setPixel(0, 0, qRgb(255, 0, 0));
    img.setPixel(1, 0, qRgb(0, 0, 255));
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    std::string hex;
    char tmp[3];
    uint32_t n = uint32_t(bmp.size());
    for (int i = 0; i < 4; ++i) {
        std::snprintf(tmp, sizeof tmp, "%02X", (n >> (8 * i)) & 0xFF);
        hex += tmp;
    }
    for (char ch : bmp) {
        std::snprintf(tmp, sizeof tmp, "%02X", uint8_t(ch));
        hex += tmp;
    }
    return hex;
}

TEST(BitBtn, GlyphDataFromAResource) {
    TForm form(nullptr);
    std::string text = "object F: TForm\n  object B: TBitBtn\n    Glyph.Data = {\n      " +
                       GlyphData() + "}\n    Kind = bkCancel\n    Caption = 'Quit'\n  end\nend\n";
    ReadFormResource(&form, text, "F.dfm");
    auto* b = static_cast<TBitBtn*>(form.FindComponent("B"));
    ASSERT_TRUE(b);
    ASSERT_EQ(b->Glyph()->GetWidth(), 2);
    EXPECT_EQ(b->Glyph()->Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(b->Glyph()->Canvas()->Pixel(1, 0), clBlue);
    EXPECT_EQ(b->Caption(), "Quit");
    EXPECT_EQ(b->ModalResult(), mrCancel);

    // Data that stops short is refused with its place.
    TForm other(nullptr);
    try {
        ReadFormResource(&other,
                         "object F: TForm\n  object B: TBitBtn\n    Glyph.Data = {0A000000424D}\n"
                         "  end\nend\n",
                         "G.dfm");
        FAIL();
    } catch (const EFormParseError& e) {
        EXPECT_EQ(e.Line, 3);
        EXPECT_NE(std::string(e.what()).find("cut short"), std::string::npos);
    }
}

} // namespace
