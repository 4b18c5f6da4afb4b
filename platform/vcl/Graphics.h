// Delphi's Graphics unit over QImage/QPainter: colours, cursors, fonts, brushes, pens, bitmaps
// with 24-bit scan lines, a canvas with the GDI raster operations, image lists, and the named
// bitmap resources.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QImage;
class QFont;

namespace vcl {

using rtl::TNotifyEvent;
using rtl::TObject;
using rtl::TPersistent;
using rtl::TSet;

RTL_EXCEPTION_CLASS(EInvalidGraphic, rtl::Exception);
RTL_EXCEPTION_CLASS(EInvalidGraphicOperation, rtl::Exception);
RTL_EXCEPTION_CLASS(EResNotFound, rtl::Exception);

// ---- Geometry ----------------------------------------------------------------------------

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0, cy = 0;
    bool operator==(const TSize&) const = default;
};

// Right and Bottom lie outside the rectangle, as in Windows.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    bool operator==(const TRect&) const = default;
};

inline TPoint Point(int x, int y) {
    return {x, y};
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
TRect IntersectRect(const TRect& a, const TRect& b); // empty (all zero) when they do not meet
void InflateRect(TRect& r, int dx, int dy);
void OffsetRect(TRect& r, int dx, int dy);

// ---- Colours -----------------------------------------------------------------------------

// 0x00BBGGRR; system colours are 0x80000000 | the Windows colour index.
using TColor = int32_t;

constexpr TColor SysColor(int index) {
    return TColor(0x80000000u | uint32_t(index));
}

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0,
                 clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor clScrollBar = SysColor(0), clBackground = SysColor(1),
                 clActiveCaption = SysColor(2), clInactiveCaption = SysColor(3),
                 clMenu = SysColor(4), clWindow = SysColor(5), clWindowFrame = SysColor(6),
                 clMenuText = SysColor(7), clWindowText = SysColor(8), clCaptionText = SysColor(9),
                 clActiveBorder = SysColor(10), clInactiveBorder = SysColor(11),
                 clAppWorkSpace = SysColor(12), clHighlight = SysColor(13),
                 clHighlightText = SysColor(14), clBtnFace = SysColor(15),
                 clBtnShadow = SysColor(16), clGrayText = SysColor(17), clBtnText = SysColor(18),
                 clInactiveCaptionText = SysColor(19), clBtnHighlight = SysColor(20),
                 cl3DDkShadow = SysColor(21), cl3DLight = SysColor(22), clInfoText = SysColor(23),
                 clInfoBk = SysColor(24), clHotLight = SysColor(26),
                 clGradientActiveCaption = SysColor(27), clGradientInactiveCaption = SysColor(28),
                 clMenuHighlight = SysColor(29), clMenuBar = SysColor(30);

// System colours become the classic Windows palette; other values pass unchanged.
TColor ColorToRGB(TColor color);
constexpr int GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr int GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}
constexpr TColor RGB(int r, int g, int b) {
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

bool IdentToColor(std::string_view ident, TColor& color); // without regard to case
bool ColorToIdent(TColor color, std::string& ident);
// "clRed" or "$00FF00FF"; StringToColor also takes decimal and raises EConvertError.
std::string ColorToString(TColor color);
TColor StringToColor(std::string_view text);
const rtl::TTypeInfo* ColorTypeInfo(); // "TColor"

// ---- Cursors -----------------------------------------------------------------------------

using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22, crSize = -22;

bool IdentToCursor(std::string_view ident, TCursor& cursor);
bool CursorToIdent(TCursor cursor, std::string& ident);
const rtl::TTypeInfo* CursorTypeInfo(); // "TCursor"

// ---- Fonts, brushes, pens ----------------------------------------------------------------

constexpr int ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, SHIFTJIS_CHARSET = 128,
              HANGEUL_CHARSET = 129, GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136,
              OEM_CHARSET = 255;
using TFontCharset = uint8_t;
bool IdentToCharset(std::string_view ident, int& charset);
bool CharsetToIdent(int charset, std::string& ident);
const rtl::TTypeInfo* CharsetTypeInfo(); // "TFontCharset": "GB2312_CHARSET" as property text

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum class TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// Base of fonts, brushes and pens: OnChange after every change of a value.
class TGraphicsObject : public TPersistent {
    RTL_DECLARE_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

class TFont : public TGraphicsObject {
    RTL_DECLARE_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    ~TFont() override;
    void Assign(const TPersistent* source) override;

    const std::string& GetName() const { return FName; }
    void SetName(const std::string& value); // an empty name is ignored
    // Points; Size = -Height * 72 / PixelsPerInch, so a positive Height gives a negative Size.
    int GetSize() const;
    void SetSize(int value);
    // Pixels; negative means the character height without internal leading.
    int GetHeight() const { return FHeight; }
    void SetHeight(int value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles value);
    int GetCharset() const { return FCharset; }
    void SetCharset(int value);
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    int PixelsPerInch = 96;

    // A font that draws the same text here; the Windows face names map to installed fonts.
    QFont ToQFont() const;

private:
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    int FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = TFontPitch::fpDefault;
};

enum class TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
    RTL_DECLARE_CLASS(TBrush, TGraphicsObject)
public:
    void Assign(const TPersistent* source) override;
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
};

enum class TPenStyle : uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
// The binary raster operations of the pen, in the order of Windows' R2_ codes minus one.
enum class TPenMode : uint8_t {
    pmBlack,
    pmNotMerge,
    pmMaskNotPen,
    pmNotCopy,
    pmMaskPenNot,
    pmNot,
    pmXor,
    pmNotMask,
    pmMask,
    pmNotXor,
    pmNop,
    pmMergeNotPen,
    pmCopy,
    pmMergePenNot,
    pmMerge,
    pmWhite
};

class TPen : public TGraphicsObject {
    RTL_DECLARE_CLASS(TPen, TGraphicsObject)
public:
    void Assign(const TPersistent* source) override;
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    int GetWidth() const { return FWidth; }
    void SetWidth(int value); // below 1 is taken as 1
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
};

// ---- Canvas ------------------------------------------------------------------------------

// Ternary raster operations (Windows ROP3 codes); any code works, these are the named ones.
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009, cmMergeCopy = 0x00C000CA,
                    cmMergePaint = 0x00BB0226, cmNotSrcCopy = 0x00330008,
                    cmNotSrcErase = 0x001100A6, cmPatCopy = 0x00F00021, cmPatInvert = 0x005A0049,
                    cmPatPaint = 0x00FB0A09, cmSrcAnd = 0x008800C6, cmSrcCopy = 0x00CC0020,
                    cmSrcErase = 0x00440328, cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086,
                    cmWhiteness = 0x00FF0062;

// Combines pattern, source and destination pixels (24 bits) by a ternary raster operation: the
// low byte of the code's high word is the truth table over (pattern, source, destination) bits.
uint32_t ApplyRop3(TCopyMode rop, uint32_t pattern, uint32_t source, uint32_t dest);

class TGraphic;
class TBitmap;

// DrawText flags.
constexpr unsigned DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
                   DT_NOCLIP = 0x100, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
                   DT_END_ELLIPSIS = 0x8000;

// Draws on an image held by its owner: a bitmap, or later a window's backing store. Every
// operation paints at once; there is no pending state.
class TCanvas : public TPersistent {
    RTL_DECLARE_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont* Font() const { return FFont.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TPen* Pen() const { return FPen.get(); }
    void SetFont(const TFont* f) { FFont->Assign(f); }
    void SetBrush(const TBrush* b) { FBrush->Assign(b); }
    void SetPen(const TPen* p) { FPen->Assign(p); }
    TCopyMode CopyMode = cmSrcCopy;
    TPoint PenPos;
    TNotifyEvent OnChange; // after each drawing operation

    // -1 (CLR_INVALID) outside the image.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void FillRect(const TRect& r);  // with the brush, Right and Bottom excluded
    void FrameRect(const TRect& r); // one pixel wide, in the brush colour
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void MoveTo(int x, int y) { PenPos = {x, y}; }
    void LineTo(int x, int y); // the end point itself is not drawn
    void Polygon(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);
    // XOR of a dotted frame: drawing it twice restores the image.
    void DrawFocusRect(const TRect& r);

    // Text in the font; the brush fills the text's box unless its style is bsClear.
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text); // clipped to r
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    TSize TextExtent(const std::string& text) const;

    // A graphic at (x, y): a transparent bitmap leaves out its transparent colour, any other is
    // combined with CopyMode.
    void Draw(int x, int y, const TGraphic* graphic);
    void StretchDraw(const TRect& r, const TGraphic* graphic);
    // Source rectangle of another canvas into dest (scaled when the sizes differ), with
    // CopyMode; the brush is the pattern. A monochrome destination takes the source's brush
    // colour as white and every other colour as black.
    void CopyRect(const TRect& dest, const TCanvas* source, const TRect& sourceRect);
    // Copies part of a bitmap; pixels of `color` show the brush instead (or stay as they were
    // when the brush style is bsClear).
    void BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source, TColor color);

    // The image drawn on; null when the owner has none (an empty bitmap).
    virtual QImage* Image() const = 0;
    // Whether the image stands for a monochrome bitmap: colours are reduced to black and white.
    virtual bool Monochrome() const { return false; }

protected:
    virtual void Changed();

private:
    friend class TBitmap;
    friend class TImageList;
    friend int DrawTextRect(TCanvas&, const std::string&, TRect&, unsigned);
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TPen> FPen;
};

// DrawText: the text laid out in r by the flags; answers the text height. With DT_CALCRECT
// only r's Right and Bottom are set to the size the text needs. Without DT_NOPREFIX "&x"
// underlines x and "&&" stands for "&".
int DrawTextRect(TCanvas& canvas, const std::string& text, TRect& r, unsigned flags);

// ---- Graphics ----------------------------------------------------------------------------

class TGraphic : public TPersistent {
    RTL_DECLARE_CLASS(TGraphic, TPersistent)
public:
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual bool Empty() const = 0;
    virtual bool GetTransparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    virtual void LoadFromFile(const std::string& path) = 0;
    virtual void SaveToFile(const std::string& path) const = 0;
    virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    bool FTransparent = false;
};

enum class TPixelFormat : uint8_t {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};
enum class TTransparentMode : uint8_t { tmAuto, tmFixed };

class TBitmap : public TGraphic {
    RTL_DECLARE_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    void Assign(const TPersistent* source) override;

    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int value) { SetSize(value, GetHeight()); }
    void SetHeight(int value) { SetSize(GetWidth(), value); }
    // Keeps the pixels that still fit; new pixels are white. 0 × 0 empties the bitmap.
    void SetSize(int width, int height);
    bool Empty() const override;

    // pf24bit: 3 bytes B, G, R per pixel; pf32bit: B, G, R, unused. pf1bit keeps 24-bit rows
    // whose pixels are only black or white; pfDevice and the other formats are held as pf24bit.
    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat value);
    bool GetMonochrome() const { return FPixelFormat == TPixelFormat::pf1bit; }
    void SetMonochrome(bool value);
    // Row y, top row first, rows 4-byte aligned; EInvalidGraphicOperation "Scan line index out
    // of range" outside 0…Height-1.
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    int BytesPerLine() const;

    TCanvas* Canvas() const;

    // The colour left out when drawing transparently: the lower-left pixel unless the mode is
    // tmFixed (white for a monochrome bitmap, clDefault for an empty one).
    TColor GetTransparentColor() const;
    void SetTransparentColor(TColor value); // clDefault returns to tmAuto
    TTransparentMode GetTransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);

    // Turns the bitmap into its own mask: white where it showed `transparentColor`, black
    // elsewhere, monochrome.
    void Mask(TColor transparentColor);
    // The mask of the transparent colour, made afresh: white = transparent.
    void GetMask(TBitmap& mask) const;
    // A non-zero handle standing for the mask while the bitmap is unchanged.
    uintptr_t MaskHandle() const;
    uintptr_t Handle() const;
    uintptr_t ReleaseHandle(); // the handle, forgotten by the bitmap (nothing to free here)
    void Dormant() {}
    void FreeImage() {}

    // BMP and PNG by their contents; EInvalidGraphic "Bitmap image is not valid" otherwise.
    void LoadFromFile(const std::string& path) override;
    // PNG for a ".png" name, BMP otherwise; EInvalidGraphic when the file cannot be written.
    void SaveToFile(const std::string& path) const override;
    // A bitmap resource registered by name (see RegisterBitmapResource); EResNotFound
    // "Resource NAME not found" when none is.
    void LoadFromResourceName(uintptr_t instance, const std::string& name);
    void LoadFromResourceName(const std::string& name) { LoadFromResourceName(0, name); }

    void Draw(TCanvas& canvas, const TRect& r) const override;

    QImage& Image(); // the pixels; detached from shared copies
    const QImage& Image() const;
    void SetImage(const QImage& image); // converted to this bitmap's format

protected:
    void Changed() override;

private:
    class BitmapCanvas;
    friend class BitmapCanvas;
    void ImageChanged(); // after drawing: monochrome rule, handles, OnChange
    std::unique_ptr<QImage> FImage;
    mutable std::unique_ptr<BitmapCanvas> FCanvas;
    TPixelFormat FPixelFormat = TPixelFormat::pf24bit;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
    TColor FTransparentColor = clDefault;
    mutable uintptr_t FHandle = 0;
};

// The named bitmap resources: producers draw into the bitmap they are given. "CHECKED",
// "UNCHECKED" and "GRAYED" are built in. Names are matched without regard to case.
void RegisterBitmapResource(const std::string& name, std::function<void(TBitmap&)> producer);
bool HasBitmapResource(const std::string& name);

// Holder of one graphic, as far as bitmaps need.
class TPicture : public TPersistent {
    RTL_DECLARE_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;
    void Assign(const TPersistent* source) override;
    TBitmap* Bitmap(); // made on first use
    TGraphic* Graphic() const { return FBitmap.get(); }
    int Width() const { return FBitmap ? FBitmap->GetWidth() : 0; }
    int Height() const { return FBitmap ? FBitmap->GetHeight() : 0; }
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    TNotifyEvent OnChange;

private:
    void BitmapChanged(TObject* sender);
    std::unique_ptr<TBitmap> FBitmap;
};

// ---- Image lists -------------------------------------------------------------------------

class TImageList : public TPersistent {
    RTL_DECLARE_CLASS(TImageList, TPersistent)
public:
    TImageList();
    TImageList(int width, int height);
    ~TImageList() override;
    void Assign(const TPersistent* source) override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int width, int height); // clears the list
    int Count() const;

    // The bitmap cut into images of Width (the last partial one is dropped); the mask, when
    // given, marks transparent pixels white. Answers the index of the first image added, or -1
    // when the bitmap was empty.
    int Add(const TBitmap* image, const TBitmap* mask);
    int AddMasked(const TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();
    // A disabled image is drawn as an embossed silhouette in the button highlight and shadow
    // colours. An index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // The image on a white bitmap of Width × Height.
    void GetBitmap(int index, TBitmap& bitmap) const;
    TNotifyEvent OnChange;

private:
    struct Entry;
    std::vector<Entry> FImages;
    int FWidth = 16, FHeight = 16;
};

} // namespace vcl
