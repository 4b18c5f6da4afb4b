#include "platform/vcl/Graphics.h"

#include "suite/rvres/RvRes.h"
#include "tests/support/TestSupport.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace vcl;

namespace {

// Text needs Qt's fonts, which need a GUI application (offscreen in tests).
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_vcl_graphics";
        static char* argv[] = {name, nullptr};
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QGuiApplication::instance()) FApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QGuiApplication> FApp;
};

[[maybe_unused]] auto* const gGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// A 24-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

int Count(const TBitmap& b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x)
            n += b.Canvas()->Pixel(x, y) == c;
    return n;
}

} // namespace

TEST(Colors, IdentifiersAndText) {
    struct Case {
        const char* text;
        TColor value;
        const char* back;
    } cases[] = {
        {"clRed", clRed, "clRed"},
        {"CLBTNFACE", TColor(0x8000000F), "clBtnFace"},
        {"clCaptionText", TColor(0x80000009), "clCaptionText"},
        {"clInfoBk", TColor(0x80000018), "clInfoBk"},
        {"clMoneyGreen", 0xC0DCC0, "clMoneyGreen"},
        {"clNone", 0x1FFFFFFF, "clNone"},
        {"$00FF00FF", 0xFF00FF, "clFuchsia"},
        {"$00123456", 0x123456, "$00123456"},
        {"$8000000F", clBtnFace, "clBtnFace"},
        {"255", clRed, "clRed"},
        {"-16777201", TColor(0xFF00000F), "$FF00000F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StringToColor(c.text), c.value);
        EXPECT_EQ(ColorToString(c.value), c.back);
    }
    EXPECT_THROW(StringToColor("clNoSuch"), rtl::EConvertError);
    EXPECT_THROW(StringToColor("$1FFFFFFFF"), rtl::EConvertError);
    // clLtGray is the same value as clSilver and has no name of its own.
    EXPECT_EQ(ColorToString(clLtGray), "clSilver");
}

TEST(Colors, SystemColoursMapToClassicPalette) {
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x800000);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
    EXPECT_EQ(ColorToRGB(clTeal), clTeal);
    EXPECT_EQ(ColorToRGB(SysColor(200)), 0); // unknown index: black, as GetSysColor
}

TEST(Cursors, IdentifiersAndPropertyText) {
    struct Case {
        const char* name;
        TCursor value;
    } cases[] = {{"crDefault", 0},     {"crArrow", -2},    {"crHourGlass", -11},
                 {"crHandPoint", -21}, {"crSizeAll", -22}, {"crNone", -1}};
    for (const auto& c : cases) {
        TCursor v = 99;
        EXPECT_TRUE(IdentToCursor(c.name, v)) << c.name;
        EXPECT_EQ(v, c.value);
        std::string back;
        EXPECT_TRUE(CursorToIdent(c.value, back));
        EXPECT_EQ(back, c.name);
    }
    std::string s;
    EXPECT_FALSE(CursorToIdent(5, s));
    EXPECT_EQ(CursorTypeInfo()->Name, "TCursor");
    int64_t v = 0;
    EXPECT_TRUE(CursorTypeInfo()->IdentToInt("crhandpoint", v));
    EXPECT_EQ(v, crHandPoint);
}

TEST(Font, SizeAndHeightAt96Dpi) {
    TFont f;
    EXPECT_EQ(f.GetSize(), 8);
    struct Case {
        int size, height;
    } cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}, {1, -1}};
    for (const auto& c : cases) {
        f.SetSize(c.size);
        EXPECT_EQ(f.GetHeight(), c.height) << c.size;
        EXPECT_EQ(f.GetSize(), c.size);
    }
    f.SetHeight(16); // a cell height gives a negative size
    EXPECT_EQ(f.GetSize(), -12);
}

TEST(Font, OnChangeAndPublishedProperties) {
    struct Counter : TObject {
        int n = 0;
        void Hit(TObject*) { ++n; }
    } counter;
    TFont f;
    f.OnChange = rtl::MethodOf<&Counter::Hit>(&counter);
    f.SetName("宋体");
    f.SetName("宋体"); // unchanged: no event
    f.SetName("");     // ignored
    f.SetSize(9);
    f.SetColor(clRed);
    f.SetStyle({TFontStyle::fsBold});
    f.SetCharset(GB2312_CHARSET);
    EXPECT_EQ(counter.n, 5);

    // By name, as form resources set them.
    rtl::SetPropText(&f, *rtl::GetPropInfo(&f, "Color"), "clBlue");
    rtl::SetPropText(&f, *rtl::GetPropInfo(&f, "Charset"), "CHINESEBIG5_CHARSET");
    rtl::SetSetProp(&f, "Style", "[fsItalic,fsUnderline]");
    rtl::SetStrProp(&f, "Name", "Tahoma");
    rtl::SetOrdProp(&f, "Size", 12);
    EXPECT_EQ(f.GetColor(), clBlue);
    EXPECT_EQ(f.GetCharset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(f.GetStyle(), (TFontStyles{TFontStyle::fsItalic, TFontStyle::fsUnderline}));
    EXPECT_EQ(f.GetName(), "Tahoma");
    EXPECT_EQ(f.GetHeight(), -16);
    EXPECT_EQ(rtl::GetPropText(&f, *rtl::GetPropInfo(&f, "Color")), "clBlue");
    EXPECT_EQ(counter.n, 10);

    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.GetName(), "Tahoma");
    EXPECT_EQ(g.GetHeight(), -16);
    EXPECT_EQ(g.GetStyle(), f.GetStyle());
    TBrush b;
    EXPECT_THROW(g.Assign(&b), rtl::EConvertError);
}

TEST(Font, ChineseFacesResolveToAnInstalledCjkFont) {
    TFont f;
    for (const char* face : {"宋体", "SimSun", "新細明體", "MingLiU"}) {
        f.SetName(face);
        EXPECT_EQ(f.ToQFont().families().front().toStdString(), "WenQuanYi Micro Hei") << face;
    }
    f.SetName("宋体");
    EXPECT_EQ(QFontInfo(f.ToQFont()).family().toStdString(), "WenQuanYi Micro Hei");
    TBitmap b;
    b.SetSize(40, 20);
    // A CJK character is about as wide as it is high; a missing glyph would not be.
    int w = b.Canvas()->TextWidth("中文");
    EXPECT_GE(w, 18);
    EXPECT_LE(w, 28);
}

TEST(Bitmap, ScanLinesAreBgrRows) {
    TBitmap b;
    b.SetSize(5, 3);
    EXPECT_EQ(b.GetPixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(Count(b, clWhite), 15); // a new bitmap is white
    uint8_t* row = b.ScanLine(1);
    row[3 * 2 + 0] = 0x11; // blue
    row[3 * 2 + 1] = 0x22; // green
    row[3 * 2 + 2] = 0x33; // red
    EXPECT_EQ(b.Canvas()->Pixel(2, 1), 0x112233);
    b.Canvas()->SetPixel(4, 2, RGB(1, 2, 3));
    const uint8_t* last = static_cast<const TBitmap&>(b).ScanLine(2);
    EXPECT_EQ(last[12], 3);
    EXPECT_EQ(last[13], 2);
    EXPECT_EQ(last[14], 1);
    EXPECT_GE(b.BytesPerLine(), 15);
    EXPECT_EQ(b.BytesPerLine() % 4, 0);
    EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);
    TBitmap copy;
    copy.Assign(&b);
    b.ScanLine(0)[0] = 0; // the copy keeps its own pixels
    EXPECT_EQ(copy.Canvas()->Pixel(0, 0), clWhite);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_EQ(b.Canvas()->Pixel(5, 0), -1);

    // Growing keeps the old pixels; 32 bits keep them too, with four bytes a pixel.
    b.SetSize(6, 3);
    EXPECT_EQ(b.Canvas()->Pixel(2, 1), 0x112233);
    EXPECT_EQ(b.Canvas()->Pixel(5, 1), clWhite);
    b.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(b.ScanLine(1)[8], 0x11);
    EXPECT_EQ(b.Canvas()->Pixel(2, 1), 0x112233);
    b.SetSize(0, 0);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, TransparentColourDefaultsToLowerLeftPixel) {
    auto b = Filled(4, 4, clRed);
    b->Canvas()->SetPixel(0, 3, clOlive);
    EXPECT_EQ(b->GetTransparentColor(), clOlive);
    EXPECT_EQ(b->GetTransparentMode(), TTransparentMode::tmAuto);
    b->SetTransparentColor(clBtnFace);
    EXPECT_EQ(b->GetTransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(b->GetTransparentColor(), 0xC0C0C0);
    b->SetTransparentMode(TTransparentMode::tmAuto);
    EXPECT_EQ(b->GetTransparentColor(), clOlive);
    b->SetMonochrome(true);
    EXPECT_EQ(b->GetTransparentColor(), clWhite);
}

TEST(Bitmap, MaskMarksTheTransparentColourWhite) {
    auto b = Filled(3, 2, clOlive);
    b->Canvas()->SetPixel(1, 0, clBlue);
    TBitmap m;
    b->GetMask(m);
    EXPECT_TRUE(m.GetMonochrome());
    EXPECT_EQ(m.Canvas()->Pixel(1, 0), clBlack);
    EXPECT_EQ(Count(m, clWhite), 5);
    b->Mask(clBlue);
    EXPECT_EQ(b->Canvas()->Pixel(1, 0), clWhite);
    EXPECT_EQ(Count(*b, clBlack), 5);
    EXPECT_NE(b->MaskHandle(), 0u);
}

TEST(Bitmap, SaveAndLoadBmpAndPng) {
    testing_support::TempDir dir;
    auto b = Filled(7, 5, clTeal);
    b->Canvas()->SetPixel(6, 4, clYellow);
    for (const char* name : {"a.bmp", "a.png"}) {
        b->SaveToFile(dir.File(name));
        TBitmap c;
        c.LoadFromFile(dir.File(name));
        EXPECT_EQ(c.GetWidth(), 7) << name;
        EXPECT_EQ(c.Canvas()->Pixel(6, 4), clYellow) << name;
        EXPECT_EQ(c.Canvas()->Pixel(0, 0), clTeal) << name;
    }
    testing_support::WriteFile(dir.File("bad.bmp"), "not an image");
    TBitmap c;
    EXPECT_THROW(c.LoadFromFile(dir.File("bad.bmp")), EInvalidGraphic);
    EXPECT_THROW(c.LoadFromFile(dir.File("missing.bmp")), EInvalidGraphic);
    EXPECT_THROW(c.LoadFromResourceName("NO_SUCH_BITMAP"), EResNotFound);
}

TEST(Canvas, RasterOperationsOnPixelValues) {
    struct Case {
        TCopyMode mode;
        uint32_t src, dst, expected;
    } cases[] = {
        {cmSrcCopy, 0x123456, 0xABCDEF, 0x123456},    {cmSrcAnd, 0xF0F0F0, 0x3C3C3C, 0x303030},
        {cmSrcPaint, 0xF00000, 0x00000F, 0xF0000F},   {cmSrcInvert, 0xFF00FF, 0x0F0F0F, 0xF00FF0},
        {cmMergePaint, 0xFFFF00, 0x0000F0, 0x0000FF}, // (not S) or D
        {cmNotSrcCopy, 0x00FF00, 0x123456, 0xFF00FF}, {cmBlackness, 0x123456, 0x654321, 0x000000},
        {cmWhiteness, 0x123456, 0x654321, 0xFFFFFF},  {cmDstInvert, 0x123456, 0x0000FF, 0xFFFF00},
        {cmSrcErase, 0xFF00FF, 0xF0F0F0, 0x0F000F}, // S and not D
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.mode);
        auto src = Filled(2, 1, TColor(c.src));
        auto dst = Filled(3, 1, TColor(c.dst));
        dst->Canvas()->CopyMode = c.mode;
        dst->Canvas()->Draw(1, 0, src.get());
        EXPECT_EQ(uint32_t(dst->Canvas()->Pixel(1, 0)), c.expected);
        EXPECT_EQ(uint32_t(dst->Canvas()->Pixel(0, 0)), c.dst); // outside: untouched
    }
    // The pattern/mask transfer used for embossing: brush where the source is white.
    EXPECT_EQ(ApplyRop3(0x00E20746, 0x00FF00, 0xFFFFFF, 0x0000FF), 0x00FF00u);
    EXPECT_EQ(ApplyRop3(0x00E20746, 0x00FF00, 0x000000, 0x0000FF), 0x0000FFu);
}

TEST(Canvas, CopyRectIntoMonochromeTakesBrushColourAsWhite) {
    auto src = Filled(2, 1, clOlive);
    src->Canvas()->SetPixel(1, 0, clNavy);
    src->Canvas()->Brush()->SetColor(clOlive);
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(2, 1);
    mono.Canvas()->CopyRect(Rect(0, 0, 2, 1), src->Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(mono.Canvas()->Pixel(0, 0), clWhite);
    EXPECT_EQ(mono.Canvas()->Pixel(1, 0), clBlack);
}

// The embossed disabled look: a monochrome mask transferred with a pattern raster operation.
TEST(Canvas, MaskTransferPaintsTheBrushWhereTheMaskIsWhite) {
    auto shape = Filled(4, 4, clOlive);
    shape->Canvas()->SetPixel(1, 1, clBlack);
    shape->Canvas()->SetPixel(2, 1, clBlack);
    TBitmap mask;
    mask.Assign(shape.get());
    mask.Mask(clBlack);
    EXPECT_EQ(Count(mask, clWhite), 2);
    auto face = Filled(4, 4, clBtnFace);
    TCanvas* c = face->Canvas();
    c->CopyMode = 0x00E20746;
    c->Brush()->SetColor(clBtnHighlight);
    c->Draw(1, 1, &mask);
    c->Brush()->SetColor(clBtnShadow);
    c->Draw(0, 0, &mask);
    EXPECT_EQ(c->Pixel(1, 1), 0x808080);
    EXPECT_EQ(c->Pixel(2, 1), 0x808080);
    EXPECT_EQ(c->Pixel(2, 2), 0xFFFFFF);
    EXPECT_EQ(c->Pixel(3, 2), 0xFFFFFF);
    EXPECT_EQ(Count(*face, 0xC0C0C0), 12);
}

TEST(Canvas, DrawLeavesOutTheTransparentColour) {
    auto glyph = Filled(3, 3, clOlive);
    glyph->Canvas()->SetPixel(1, 1, clRed);
    glyph->SetTransparent(true);
    auto dst = Filled(5, 5, clBlue);
    dst->Canvas()->Draw(1, 1, glyph.get());
    EXPECT_EQ(dst->Canvas()->Pixel(2, 2), clRed);
    EXPECT_EQ(Count(*dst, clBlue), 24);
    glyph->SetTransparent(false);
    dst->Canvas()->Draw(1, 1, glyph.get());
    EXPECT_EQ(Count(*dst, clOlive), 8);
    // Stretched: each source pixel doubles.
    auto big = Filled(6, 6, clWhite);
    big->Canvas()->StretchDraw(Rect(0, 0, 6, 6), glyph.get());
    EXPECT_EQ(Count(*big, clRed), 4);
    EXPECT_EQ(big->Canvas()->Pixel(2, 3), clRed);
}

TEST(Canvas, BrushCopyReplacesTheColourWithTheBrush) {
    auto glyph = Filled(2, 2, clOlive);
    glyph->Canvas()->SetPixel(0, 0, clRed);
    auto dst = Filled(2, 2, clBlue);
    dst->Canvas()->Brush()->SetColor(clBtnFace);
    dst->Canvas()->BrushCopy(Rect(0, 0, 2, 2), glyph.get(), Rect(0, 0, 2, 2), clOlive);
    EXPECT_EQ(dst->Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(Count(*dst, 0xC0C0C0), 3);
    dst->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    auto dst2 = Filled(2, 2, clBlue);
    dst2->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    dst2->Canvas()->BrushCopy(Rect(0, 0, 2, 2), glyph.get(), Rect(0, 0, 2, 2), clOlive);
    EXPECT_EQ(Count(*dst2, clBlue), 3);
}

TEST(Canvas, ShapesCoverGdiPixels) {
    auto b = Filled(10, 10, clWhite);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Rectangle(1, 1, 5, 4); // 4 × 3, right and bottom excluded
    EXPECT_EQ(c->Pixel(1, 1), clBlack);
    EXPECT_EQ(c->Pixel(4, 3), clBlack);
    EXPECT_EQ(c->Pixel(2, 2), clRed);
    EXPECT_EQ(c->Pixel(5, 1), clWhite);
    EXPECT_EQ(c->Pixel(1, 4), clWhite);
    EXPECT_EQ(Count(*b, clBlack), 10);

    c->MoveTo(0, 8);
    c->LineTo(5, 8); // end point left out
    EXPECT_EQ(c->Pixel(4, 8), clBlack);
    EXPECT_EQ(c->Pixel(5, 8), clWhite);
    EXPECT_EQ(c->PenPos, Point(5, 8));

    // XOR pen: a second line restores the pixels.
    c->Pen()->SetMode(TPenMode::pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 9);
    c->LineTo(3, 9);
    EXPECT_EQ(c->Pixel(1, 9), clBlack);
    c->MoveTo(0, 9);
    c->LineTo(3, 9);
    EXPECT_EQ(c->Pixel(1, 9), clWhite);

    auto e = Filled(9, 9, clWhite);
    e->Canvas()->Brush()->SetColor(clBlue);
    e->Canvas()->Pen()->SetColor(clBlue);
    e->Canvas()->Ellipse(0, 0, 9, 9);
    EXPECT_EQ(e->Canvas()->Pixel(4, 4), clBlue);
    EXPECT_EQ(e->Canvas()->Pixel(0, 0), clWhite);
    EXPECT_EQ(e->Canvas()->Pixel(4, 0), clBlue);

    auto p = Filled(9, 9, clWhite);
    p->Canvas()->Brush()->SetColor(clGreen);
    p->Canvas()->Polygon({{0, 0}, {8, 0}, {0, 8}});
    EXPECT_EQ(p->Canvas()->Pixel(2, 2), clGreen);
    EXPECT_EQ(p->Canvas()->Pixel(7, 7), clWhite);
}

TEST(Canvas, FocusRectIsUndoneByASecondCall) {
    auto b = Filled(8, 6, clBtnFace);
    b->Canvas()->DrawFocusRect(Rect(1, 1, 7, 5));
    int changed = 48 - Count(*b, 0xC0C0C0);
    EXPECT_GT(changed, 4);
    EXPECT_EQ(b->Canvas()->Pixel(3, 3), 0xC0C0C0); // inside untouched
    b->Canvas()->DrawFocusRect(Rect(1, 1, 7, 5));
    EXPECT_EQ(Count(*b, 0xC0C0C0), 48);
}

TEST(Canvas, TextAndDrawTextFlags) {
    auto b = Filled(80, 20, clWhite);
    TCanvas* c = b->Canvas();
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    int w = c->TextWidth("File"), h = c->TextHeight("File");
    EXPECT_GT(w, 10);
    EXPECT_GT(h, 8);
    EXPECT_EQ(c->TextExtent("File"), (TSize{w, h}));

    TRect r = Rect(0, 0, 0, 0);
    DrawTextRect(*c, "&File", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Right, w); // the mark takes no room
    EXPECT_EQ(r.Bottom, h);
    r = Rect(0, 0, 0, 0);
    DrawTextRect(*c, "&File", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(r.Right, w);

    // Right-aligned text lands at the right edge; nothing is drawn on the left.
    r = Rect(0, 0, 80, 20);
    DrawTextRect(*c, "&File", r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    int leftDark = 0, rightDark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            if (c->Pixel(x, y) != clWhite) (x < 80 - w - 1 ? leftDark : rightDark)++;
    EXPECT_EQ(leftDark, 0);
    EXPECT_GT(rightDark, 10);
    // The accelerator underline: a dark run under the F at the right edge.
    int underlineRow = -1;
    for (int y = 19; y >= 0 && underlineRow < 0; --y) {
        int run = 0;
        for (int x = 80 - w; x < 80; ++x)
            run += c->Pixel(x, y) == clBlack;
        if (run >= 3) underlineRow = y;
    }
    EXPECT_GT(underlineRow, 10);

    // An opaque brush fills the text box.
    auto o = Filled(60, 20, clWhite);
    o->Canvas()->Brush()->SetColor(clYellow);
    o->Canvas()->TextOut(2, 2, "x");
    EXPECT_EQ(o->Canvas()->Pixel(2, 2), clYellow);
    EXPECT_EQ(o->Canvas()->PenPos.X, 2 + o->Canvas()->TextWidth("x"));
}

TEST(Resources, CheckBoxPictures) {
    for (const char* name : {"CHECKED", "UNCHECKED", "GRAYED"}) {
        SCOPED_TRACE(name);
        TBitmap b;
        b.LoadFromResourceName(name);
        ASSERT_EQ(b.GetWidth(), 19);
        ASSERT_EQ(b.GetHeight(), 14);
        EXPECT_TRUE(b.GetTransparent());
        EXPECT_EQ(b.GetTransparentColor(), clOlive);
        EXPECT_EQ(b.Canvas()->Pixel(0, 0), clOlive);
        EXPECT_EQ(b.Canvas()->Pixel(18, 13), clOlive);
        EXPECT_EQ(b.Canvas()->Pixel(3, 0), clWhite);   // raised: light top-left
        EXPECT_EQ(b.Canvas()->Pixel(15, 12), clBlack); // dark bottom-right
        EXPECT_EQ(b.Canvas()->Pixel(9, 1), clSilver);
        int blue = Count(b, clBlue);
        if (std::string(name) == "UNCHECKED")
            EXPECT_EQ(blue, 0);
        else
            EXPECT_GT(blue, 10);
    }
    TBitmap checked;
    checked.LoadFromResourceName("checked");
    EXPECT_EQ(checked.Canvas()->Pixel(7, 7), clBlue); // the tick's lower stroke
    EXPECT_EQ(checked.Canvas()->Pixel(8, 9), clBlue);
}

TEST(ImageList, AddDrawAndDisabledLook) {
    auto strip = Filled(32, 16, clOlive);
    strip->Canvas()->Brush()->SetColor(clBlack);
    strip->Canvas()->FillRect(Rect(4, 4, 12, 12));
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(Rect(16, 0, 20, 4));
    TImageList list;
    EXPECT_EQ(list.AddMasked(strip.get(), clOlive), 0);
    EXPECT_EQ(list.Count(), 2);

    auto dst = Filled(16, 16, clWhite);
    list.Draw(*dst->Canvas(), 0, 0, 1);
    EXPECT_EQ(Count(*dst, clRed), 16);
    EXPECT_EQ(Count(*dst, clWhite), 240);

    auto dis = Filled(16, 16, clWhite);
    list.Draw(*dis->Canvas(), 0, 0, 0, false);
    EXPECT_EQ(Count(*dis, 0x808080), 64);             // the square in shadow
    EXPECT_EQ(dis->Canvas()->Pixel(12, 12), clWhite); // highlight one pixel down-right
    EXPECT_EQ(Count(*dis, clBlack), 0);

    TBitmap one;
    list.GetBitmap(0, one);
    EXPECT_EQ(one.GetWidth(), 16);
    EXPECT_EQ(one.Canvas()->Pixel(5, 5), clBlack);
    EXPECT_EQ(one.Canvas()->Pixel(0, 0), clWhite);
    list.Draw(*dst->Canvas(), 0, 0, 7); // out of range: nothing
    EXPECT_THROW(list.Delete(2), EInvalidGraphicOperation);
}

namespace {

// The glyph library opened from the built module, as the plug-in binds it.
class GlyphLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        FHandle = dlopen(RVRES_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(FHandle, nullptr) << dlerror();
        FMax = reinterpret_cast<RvGetMaxBmpIDFn>(dlsym(FHandle, "GetMaxBmpID"));
        FLoad = reinterpret_cast<RvLoadBmpFn>(dlsym(FHandle, "LoadBmp"));
        ASSERT_NE(FMax, nullptr);
        ASSERT_NE(FLoad, nullptr);
    }
    void TearDown() override {
        if (FHandle) dlclose(FHandle);
    }
    void* FHandle = nullptr;
    RvGetMaxBmpIDFn FMax = nullptr;
    RvLoadBmpFn FLoad = nullptr;
};

} // namespace

TEST_F(GlyphLibrary, NumberedGlyphsLoadIntoBitmaps) {
    EXPECT_EQ(FMax(), 78);
    std::vector<std::vector<TColor>> seen;
    for (int id : {4, 8, 9, 39, 44, 47, 60, 78}) {
        SCOPED_TRACE(id);
        TBitmap b;
        ASSERT_TRUE(RvLoadInto(FLoad, b, id));
        EXPECT_EQ(b.GetHeight(), 16);
        EXPECT_EQ(b.GetWidth() % b.GetHeight(), 0);
        EXPECT_EQ(b.GetWidth() / b.GetHeight(), id == 8 ? 1 : 2);
        EXPECT_EQ(b.GetTransparentColor(), clOlive);
        std::vector<TColor> px;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                px.push_back(b.Canvas()->Pixel(x, y));
        EXPECT_GT(std::count_if(px.begin(), px.end(), [](TColor c) { return c != clOlive; }), 5);
        for (const auto& other : seen)
            EXPECT_NE(px, other); // every picture its own
        seen.push_back(px);
        if (b.GetWidth() == 32) { // the disabled image holds only greys and white
            for (int y = 0; y < 16; ++y)
                for (int x = 16; x < 32; ++x) {
                    TColor c = b.Canvas()->Pixel(x, y);
                    EXPECT_TRUE(c == clOlive || c == clGray || c == clWhite) << x << "," << y;
                }
        }
    }
}

TEST_F(GlyphLibrary, MissingNumbersAndBadSinksFail) {
    auto kept = Filled(3, 3, clRed);
    for (int id : {0, -1, 5, 79, 1000}) {
        EXPECT_FALSE(RvLoadInto(FLoad, *kept, id)) << id;
        EXPECT_EQ(kept->GetWidth(), 3); // untouched
    }
    EXPECT_FALSE(FLoad(nullptr, 4));
    RvBitmapSink old{};
    old.StructSize = 8; // an older, smaller layout
    EXPECT_FALSE(FLoad(&old, 4));
    // A refused size stops the load before any row is handed over.
    RvBitmapSink refuse{};
    refuse.StructSize = sizeof refuse;
    refuse.SetSize = [](void*, int, int) { return 0; };
    refuse.PutRow = [](void*, int, const unsigned char*) { ADD_FAILURE() << "row after refusal"; };
    EXPECT_FALSE(FLoad(&refuse, 4));
}
