#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>

namespace vcl {

// ---- Geometry ----------------------------------------------------------------------------

TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) return {};
    return r;
}

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

// ---- Colours -----------------------------------------------------------------------------

namespace {

// The classic Windows scheme, indexed by the system colour number.
constexpr TColor kSysPalette[31] = {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application work space
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3-D dark shadow
    0xC0C0C0, // 3-D light
    0x000000, // info text
    0xE1FFFF, // info background
    0xC0C0C0, // (unused)
    0x800000, // hot light
    0xD08410, // gradient active caption
    0xB5B5B5, // gradient inactive caption
    0x800000, // menu highlight
    0xC0C0C0, // menu bar
};

struct ColorName {
    TColor Value;
    const char* Name;
};

const ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

struct CursorName {
    TCursor Value;
    const char* Name;
};

const CursorName kCursorNames[] = {
    {crDefault, "crDefault"},
    {crArrow, "crArrow"},
    {crCross, "crCross"},
    {crIBeam, "crIBeam"},
    {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},
    {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
    {crNone, "crNone"},
};

struct CharsetName {
    int Value;
    const char* Name;
};

const CharsetName kCharsetNames[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

bool ColorIdentToInt(std::string_view ident, int64_t& value) {
    TColor c;
    if (!IdentToColor(ident, c)) return false;
    value = c;
    return true;
}

bool ColorIntToIdent(int64_t value, std::string& ident) {
    return ColorToIdent(TColor(value), ident);
}

bool CursorIdentToInt(std::string_view ident, int64_t& value) {
    TCursor c;
    if (!IdentToCursor(ident, c)) return false;
    value = c;
    return true;
}

bool CursorIntToIdent(int64_t value, std::string& ident) {
    return CursorToIdent(TCursor(value), ident);
}

bool CharsetIdentToInt(std::string_view ident, int64_t& value) {
    int c;
    if (!IdentToCharset(ident, c)) return false;
    value = c;
    return true;
}

bool CharsetIntToIdent(int64_t value, std::string& ident) {
    return CharsetToIdent(int(value), ident);
}

} // namespace

TColor ColorToRGB(TColor color) {
    if (color < 0) {
        int index = color & 0xFF;
        return index < int(std::size(kSysPalette)) ? kSysPalette[index] : 0;
    }
    return color;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const auto& n : kColorNames)
        if (rtl::SameText(ident, n.Name)) {
            color = n.Value;
            return true;
        }
    return false;
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const auto& n : kColorNames)
        if (n.Value == color) {
            ident = n.Name;
            return true;
        }
    return false;
}

std::string ColorToString(TColor color) {
    std::string s;
    if (ColorToIdent(color, s)) return s;
    std::string hex = "$";
    hex += rtl::IntToHex(uint32_t(color), 8);
    return hex;
}

TColor StringToColor(std::string_view text) {
    TColor c;
    if (IdentToColor(text, c)) return c;
    int64_t v;
    // "$8000000F" does not fit an int but is a colour.
    if (rtl::TryStrToInt64(text, v) && v >= INT32_MIN && v <= int64_t(UINT32_MAX))
        return TColor(uint32_t(v));
    throw rtl::EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

const rtl::TTypeInfo* ColorTypeInfo() {
    static const rtl::TTypeInfo* ti =
        rtl::IntegerTypeInfo("TColor", &ColorIdentToInt, &ColorIntToIdent);
    return ti;
}

bool IdentToCursor(std::string_view ident, TCursor& cursor) {
    for (const auto& n : kCursorNames)
        if (rtl::SameText(ident, n.Name)) {
            cursor = n.Value;
            return true;
        }
    return false;
}

bool CursorToIdent(TCursor cursor, std::string& ident) {
    for (const auto& n : kCursorNames)
        if (n.Value == cursor) {
            ident = n.Name;
            return true;
        }
    return false;
}

const rtl::TTypeInfo* CursorTypeInfo() {
    static const rtl::TTypeInfo* ti =
        rtl::IntegerTypeInfo("TCursor", &CursorIdentToInt, &CursorIntToIdent);
    return ti;
}

bool IdentToCharset(std::string_view ident, int& charset) {
    for (const auto& n : kCharsetNames)
        if (rtl::SameText(ident, n.Name)) {
            charset = n.Value;
            return true;
        }
    return false;
}

bool CharsetToIdent(int charset, std::string& ident) {
    for (const auto& n : kCharsetNames)
        if (n.Value == charset) {
            ident = n.Name;
            return true;
        }
    return false;
}

const rtl::TTypeInfo* CharsetTypeInfo() {
    static const rtl::TTypeInfo* ti =
        rtl::IntegerTypeInfo("TFontCharset", &CharsetIdentToInt, &CharsetIntToIdent);
    return ti;
}

// ---- Fonts, brushes, pens ----------------------------------------------------------------

namespace {

const rtl::TTypeInfo* FontStylesTypeInfo() {
    static const rtl::TTypeInfo* ti = rtl::SetTypeInfo(
        "TFontStyles",
        rtl::EnumTypeInfo("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}));
    return ti;
}

const rtl::TTypeInfo* FontPitchTypeInfo() {
    static const rtl::TTypeInfo* ti =
        rtl::EnumTypeInfo("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
    return ti;
}

const rtl::TTypeInfo* BrushStyleTypeInfo() {
    static const rtl::TTypeInfo* ti =
        rtl::EnumTypeInfo("TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                          "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
    return ti;
}

const rtl::TTypeInfo* PenStyleTypeInfo() {
    static const rtl::TTypeInfo* ti =
        rtl::EnumTypeInfo("TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot",
                                        "psClear", "psInsideFrame"});
    return ti;
}

const rtl::TTypeInfo* PenModeTypeInfo() {
    static const rtl::TTypeInfo* ti = rtl::EnumTypeInfo(
        "TPenMode", {"pmBlack", "pmNotMerge", "pmMaskNotPen", "pmNotCopy", "pmMaskPenNot", "pmNot",
                     "pmXor", "pmNotMask", "pmMask", "pmNotXor", "pmNop", "pmMergeNotPen", "pmCopy",
                     "pmMergePenNot", "pmMerge", "pmWhite"});
    return ti;
}

// Windows' MulDiv: rounded half away from zero.
int MulDiv(int a, int b, int c) {
    int64_t n = int64_t(a) * b;
    int64_t q = (std::llabs(n) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    return int(((n < 0) != (c < 0)) ? -q : q);
}

bool HaveGui() {
    return QGuiApplication::instance() != nullptr;
}

} // namespace

RTL_BEGIN_ABSTRACT_CLASS(TGraphicsObject, TPersistent)
RTL_END_CLASS

void TGraphicsObject::Changed() {
    OnChange(this);
}

RTL_BEGIN_CLASS(TFont, TGraphicsObject)
c.Int("Charset", &TFont::GetCharset, &TFont::SetCharset, CharsetTypeInfo());
c.Int("Color", &TFont::GetColor, &TFont::SetColor, ColorTypeInfo());
c.Int("Height", &TFont::GetHeight, &TFont::SetHeight);
c.Str("Name", &TFont::GetName, &TFont::SetName);
c.Enum("Pitch", &TFont::GetPitch, &TFont::SetPitch, FontPitchTypeInfo());
c.Int("Size", &TFont::GetSize, &TFont::SetSize);
c.Set("Style", &TFont::GetStyle, &TFont::SetStyle, FontStylesTypeInfo());
RTL_END_CLASS

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::Assign(const TPersistent* source) {
    if (auto* f = dynamic_cast<const TFont*>(source)) {
        if (f == this) return;
        FName = f->FName;
        // Heights are pixels of the source's resolution.
        FHeight = f->PixelsPerInch == PixelsPerInch ? f->FHeight
                                                    : -MulDiv(f->GetSize(), PixelsPerInch, 72);
        FColor = f->FColor;
        FStyle = f->FStyle;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TFont::SetName(const std::string& value) {
    if (value.empty() || value == FName) return;
    FName = value;
    Changed();
}

int TFont::GetSize() const {
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int value) {
    SetHeight(-MulDiv(value, PixelsPerInch, 72));
}

void TFont::SetHeight(int value) {
    if (value == FHeight) return;
    FHeight = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TFont::SetCharset(int value) {
    value &= 0xFF;
    if (value == FCharset) return;
    FCharset = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == FPitch) return;
    FPitch = value;
    Changed();
}

QFont TFont::ToQFont() const {
    static const char* const kCjk = "WenQuanYi Micro Hei";
    // Windows face names the forms use, and what stands in for them here.
    static const std::map<std::string, const char*> kFaces = {
        {"宋体", kCjk},
        {"SimSun", kCjk},
        {"新宋体", kCjk},
        {"NSimSun", kCjk},
        {"新細明體", kCjk},
        {"MingLiU", kCjk},
        {"PMingLiU", kCjk},
        {"细明体", kCjk},
        {"黑体", kCjk},
        {"SimHei", kCjk},
        {"微软雅黑", kCjk},
        {"Microsoft YaHei", kCjk},
        {"Tahoma", "DejaVu Sans"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Microsoft Sans Serif", "DejaVu Sans"},
        {"Arial", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"System", "DejaVu Sans"},
        {"Courier New", "DejaVu Sans Mono"},
        {"Fixedsys", "DejaVu Sans Mono"},
        {"Times New Roman", "DejaVu Serif"},
    };
    QStringList families;
    auto it = kFaces.find(FName);
    families << QString::fromUtf8(it != kFaces.end() ? it->second : FName.c_str());
    if (families.front() != kCjk) families << kCjk;
    QFont f;
    f.setFamilies(families);
    // A negative height is the em size; a positive one the cell, about 6/5 of the em.
    int px = FHeight < 0 ? -FHeight : FHeight > 0 ? std::max(1, FHeight * 5 / 6) : 11;
    f.setPixelSize(std::max(1, px));
    f.setBold(FStyle.Contains(TFontStyle::fsBold));
    f.setItalic(FStyle.Contains(TFontStyle::fsItalic));
    f.setUnderline(FStyle.Contains(TFontStyle::fsUnderline));
    f.setStrikeOut(FStyle.Contains(TFontStyle::fsStrikeOut));
    if (FPitch == TFontPitch::fpFixed) f.setFixedPitch(true);
    return f;
}

RTL_BEGIN_CLASS(TBrush, TGraphicsObject)
c.Int("Color", &TBrush::GetColor, &TBrush::SetColor, ColorTypeInfo());
c.Enum("Style", &TBrush::GetStyle, &TBrush::SetStyle, BrushStyleTypeInfo());
RTL_END_CLASS

void TBrush::Assign(const TPersistent* source) {
    if (auto* b = dynamic_cast<const TBrush*>(source)) {
        FColor = b->FColor;
        FStyle = b->FStyle;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TBrush::SetColor(TColor value) {
    if (value == FColor && FStyle != TBrushStyle::bsClear) return;
    FColor = value;
    // Choosing a colour makes a clear brush solid again, as the VCL does.
    if (FStyle == TBrushStyle::bsClear) FStyle = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

RTL_BEGIN_CLASS(TPen, TGraphicsObject)
c.Int("Color", &TPen::GetColor, &TPen::SetColor, ColorTypeInfo());
c.Enum("Mode", &TPen::GetMode, &TPen::SetMode, PenModeTypeInfo());
c.Enum("Style", &TPen::GetStyle, &TPen::SetStyle, PenStyleTypeInfo());
c.Int("Width", &TPen::GetWidth, &TPen::SetWidth);
RTL_END_CLASS

void TPen::Assign(const TPersistent* source) {
    if (auto* p = dynamic_cast<const TPen*>(source)) {
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TPen::SetWidth(int value) {
    value = std::max(1, value);
    if (value == FWidth) return;
    FWidth = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (value == FMode) return;
    FMode = value;
    Changed();
}

// ---- Pixels ------------------------------------------------------------------------------

namespace {

// Pixels as 0x00BBGGRR, read and written straight on the image's bytes.
TColor ReadPx(const QImage& img, int x, int y) {
    const uint8_t* p = img.constScanLine(y);
    switch (img.format()) {
    case QImage::Format_BGR888:
        p += x * 3;
        return TColor(p[2] | (p[1] << 8) | (p[0] << 16));
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        p += x * 4;
        return TColor(p[2] | (p[1] << 8) | (p[0] << 16));
    default: {
        QRgb c = img.pixel(x, y);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    }
    }
}

void WritePx(QImage& img, int x, int y, TColor c) {
    uint8_t* p = img.scanLine(y);
    switch (img.format()) {
    case QImage::Format_BGR888:
        p += x * 3;
        p[0] = uint8_t(GetBValue(c));
        p[1] = uint8_t(GetGValue(c));
        p[2] = uint8_t(GetRValue(c));
        return;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        p += x * 4;
        p[0] = uint8_t(GetBValue(c));
        p[1] = uint8_t(GetGValue(c));
        p[2] = uint8_t(GetRValue(c));
        p[3] = 0xFF;
        return;
    default:
        img.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

QColor ToQColor(TColor c) {
    c = ColorToRGB(c);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

TRect Normalized(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

TColor MonoOf(TColor c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) >= 384 ? clWhite : clBlack;
}

// The pen's binary raster operation: the mode's number is the truth table over (pen, dest).
uint32_t ApplyRop2(TPenMode mode, uint32_t pen, uint32_t dest) {
    unsigned t = unsigned(mode);
    uint32_t r = 0;
    for (unsigned i = 0; i < 4; ++i)
        if (t >> i & 1) r |= ((i & 2) ? pen : ~pen) & ((i & 1) ? dest : ~dest);
    return r & 0xFFFFFF;
}

// Renders a shape without antialiasing into a coverage image of its bounds, then combines
// each covered pixel with the colour by the pen mode.
template <class F>
void PaintCovered(QImage& img, QRect bounds, TColor color, TPenMode mode, F draw) {
    QRect b = bounds.intersected(img.rect());
    if (b.isEmpty() || mode == TPenMode::pmNop) return;
    QImage cov(b.size(), QImage::Format_ARGB32_Premultiplied);
    cov.fill(Qt::transparent);
    {
        QPainter p(&cov);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-b.topLeft());
        draw(p);
    }
    uint32_t pen = uint32_t(ColorToRGB(color)) & 0xFFFFFF;
    for (int y = 0; y < b.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(cov.constScanLine(y));
        for (int x = 0; x < b.width(); ++x) {
            if (qAlpha(line[x]) < 128) continue;
            int ix = b.left() + x, iy = b.top() + y;
            uint32_t d = uint32_t(ReadPx(img, ix, iy));
            WritePx(img, ix, iy, TColor(ApplyRop2(mode, pen, d)));
        }
    }
}

Qt::BrushStyle ToQBrushStyle(TBrushStyle s) {
    switch (s) {
    case TBrushStyle::bsHorizontal:
        return Qt::HorPattern;
    case TBrushStyle::bsVertical:
        return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
        return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal:
        return Qt::BDiagPattern;
    case TBrushStyle::bsCross:
        return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
        return Qt::DiagCrossPattern;
    case TBrushStyle::bsClear:
        return Qt::NoBrush;
    default:
        return Qt::SolidPattern;
    }
}

// The pixels of a one-pixel line from a to b, b itself left out, as GDI draws it; the pen
// style's dash pattern decides which are set.
void LinePixels(TPoint a, TPoint b, TPenStyle style, std::vector<TPoint>& out) {
    static const char* const kDash = "111111111111111111000000";
    static const char* const kDot = "111000";
    static const char* const kDashDot = "111111111111000111000";
    static const char* const kDashDotDot = "111111111111000111000111000";
    const char* pattern = nullptr;
    switch (style) {
    case TPenStyle::psDash:
        pattern = kDash;
        break;
    case TPenStyle::psDot:
        pattern = kDot;
        break;
    case TPenStyle::psDashDot:
        pattern = kDashDot;
        break;
    case TPenStyle::psDashDotDot:
        pattern = kDashDotDot;
        break;
    default:
        break;
    }
    size_t plen = pattern ? std::strlen(pattern) : 1;
    int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
    int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy, x = a.X, y = a.Y;
    size_t n = 0;
    while (x != b.X || y != b.Y) {
        if (!pattern || pattern[n % plen] == '1') out.push_back({x, y});
        ++n;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

struct TextMetrics {
    int Height = 0, Ascent = 0;
};

// Without a GUI application Qt has no fonts; text is then measured by estimate and not drawn.
int EstimateWidth(const TFont& font, const std::string& text) {
    int em = std::abs(font.GetHeight()) ? std::abs(font.GetHeight()) : 11;
    int w = 0;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = uint8_t(text[i]);
        int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        w += len >= 3 ? em : (em * 11 + 10) / 20;
        i += len;
    }
    return w;
}

TextMetrics MetricsOf(const TFont& font) {
    if (!HaveGui()) {
        int em = std::abs(font.GetHeight()) ? std::abs(font.GetHeight()) : 11;
        return {em + em / 4 + 1, em};
    }
    QFontMetrics fm(font.ToQFont());
    return {fm.height(), fm.ascent()};
}

int WidthOf(const TFont& font, const std::string& text) {
    if (text.empty()) return 0;
    if (!HaveGui()) return EstimateWidth(font, text);
    return QFontMetrics(font.ToQFont()).horizontalAdvance(QString::fromStdString(text));
}

} // namespace

uint32_t ApplyRop3(TCopyMode rop, uint32_t pattern, uint32_t source, uint32_t dest) {
    unsigned t = (uint32_t(rop) >> 16) & 0xFF;
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (t >> i & 1)
            r |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) &
                 ((i & 1) ? dest : ~dest);
    return r & 0xFFFFFF;
}

// ---- Canvas ------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TCanvas, TPersistent)
RTL_END_CLASS

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FBrush(std::make_unique<TBrush>()),
      FPen(std::make_unique<TPen>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::Changed() {
    OnChange(this);
}

TColor TCanvas::Pixel(int x, int y) const {
    QImage* img = Image();
    if (!img || !img->rect().contains(x, y)) return -1;
    return ReadPx(*img, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    QImage* img = Image();
    if (!img || !img->rect().contains(x, y)) return;
    WritePx(*img, x, y, ColorToRGB(color));
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    QImage* img = Image();
    if (!img || FBrush->GetStyle() == TBrushStyle::bsClear) return;
    TRect n = Normalized(r.Left, r.Top, r.Right, r.Bottom);
    if (FBrush->GetStyle() == TBrushStyle::bsSolid) {
        TRect c = IntersectRect(n, {0, 0, img->width(), img->height()});
        TColor col = ColorToRGB(FBrush->GetColor());
        for (int y = c.Top; y < c.Bottom; ++y)
            for (int x = c.Left; x < c.Right; ++x)
                WritePx(*img, x, y, col);
    } else {
        QBrush brush(ToQColor(FBrush->GetColor()), ToQBrushStyle(FBrush->GetStyle()));
        PaintCovered(*img, ToQRect(n), FBrush->GetColor(), TPenMode::pmCopy,
                     [&](QPainter& p) { p.fillRect(ToQRect(n), brush); });
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    QImage* img = Image();
    if (!img) return;
    TRect n = Normalized(r.Left, r.Top, r.Right, r.Bottom);
    if (n.IsEmpty()) return;
    TColor col = ColorToRGB(FBrush->GetColor());
    auto put = [&](int x, int y) {
        if (img->rect().contains(x, y)) WritePx(*img, x, y, col);
    };
    for (int x = n.Left; x < n.Right; ++x) {
        put(x, n.Top);
        put(x, n.Bottom - 1);
    }
    for (int y = n.Top; y < n.Bottom; ++y) {
        put(n.Left, y);
        put(n.Right - 1, y);
    }
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    QImage* img = Image();
    if (!img) return;
    TRect n = Normalized(x1, y1, x2, y2);
    if (n.IsEmpty()) return;
    TPenMode mode = FPen->GetMode();
    if (FBrush->GetStyle() != TBrushStyle::bsClear) {
        QBrush brush(ToQColor(FBrush->GetColor()), ToQBrushStyle(FBrush->GetStyle()));
        PaintCovered(*img, ToQRect(n), FBrush->GetColor(), mode,
                     [&](QPainter& p) { p.fillRect(ToQRect(n), brush); });
    }
    if (FPen->GetStyle() != TPenStyle::psClear) {
        int w = FPen->GetWidth();
        PaintCovered(*img, ToQRect(n), FPen->GetColor(), mode, [&](QPainter& p) {
            // The frame lies inside the rectangle, w pixels wide.
            QRect q = ToQRect(n);
            p.fillRect(QRect(q.left(), q.top(), q.width(), std::min(w, q.height())), Qt::black);
            p.fillRect(QRect(q.left(), q.bottom() - w + 1, q.width(), std::min(w, q.height())),
                       Qt::black);
            p.fillRect(QRect(q.left(), q.top(), std::min(w, q.width()), q.height()), Qt::black);
            p.fillRect(QRect(q.right() - w + 1, q.top(), std::min(w, q.width()), q.height()),
                       Qt::black);
        });
    }
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    QImage* img = Image();
    if (!img) return;
    TRect n = Normalized(x1, y1, x2, y2);
    if (n.IsEmpty()) return;
    QRect q(n.Left, n.Top, n.Width() - 1, n.Height() - 1);
    TPenMode mode = FPen->GetMode();
    if (FBrush->GetStyle() != TBrushStyle::bsClear) {
        QBrush brush(Qt::black, ToQBrushStyle(FBrush->GetStyle()));
        PaintCovered(*img, ToQRect(n), FBrush->GetColor(), mode, [&](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(brush);
            p.drawEllipse(q.adjusted(0, 0, 1, 1));
        });
    }
    if (FPen->GetStyle() != TPenStyle::psClear) {
        PaintCovered(*img, ToQRect(n), FPen->GetColor(), mode, [&](QPainter& p) {
            p.setPen(QPen(Qt::black, FPen->GetWidth() > 1 ? FPen->GetWidth() : 0));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(q);
        });
    }
    Changed();
}

void TCanvas::LineTo(int x, int y) {
    QImage* img = Image();
    TPoint from = PenPos;
    PenPos = {x, y};
    if (!img || FPen->GetStyle() == TPenStyle::psClear) return;
    int w = FPen->GetWidth();
    QRect bounds = ToQRect(Normalized(from.X, from.Y, x + 1, y + 1)).adjusted(-w, -w, w, w);
    PaintCovered(*img, bounds, FPen->GetColor(), FPen->GetMode(), [&](QPainter& p) {
        if (w <= 1) {
            std::vector<TPoint> pts;
            LinePixels(from, {x, y}, FPen->GetStyle(), pts);
            for (TPoint pt : pts)
                p.fillRect(pt.X, pt.Y, 1, 1, Qt::black);
        } else {
            p.setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(x + 0.5, y + 0.5));
        }
    });
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    TPoint keep = PenPos;
    MoveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
    PenPos = keep;
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    QImage* img = Image();
    if (!img || points.size() < 2) return;
    QPolygon poly;
    for (TPoint pt : points)
        poly << QPoint(pt.X, pt.Y);
    QRect bounds = poly.boundingRect().adjusted(-1, -1, 1, 1);
    if (FBrush->GetStyle() != TBrushStyle::bsClear) {
        QBrush brush(Qt::black, ToQBrushStyle(FBrush->GetStyle()));
        PaintCovered(*img, bounds, FBrush->GetColor(), FPen->GetMode(), [&](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(brush);
            p.drawPolygon(poly, Qt::OddEvenFill);
        });
    }
    std::vector<TPoint> closed = points;
    closed.push_back(points.front());
    Polyline(closed);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    QImage* img = Image();
    if (!img) return;
    TRect n = Normalized(r.Left, r.Top, r.Right, r.Bottom);
    if (n.IsEmpty()) return;
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) || !img->rect().contains(x, y)) return;
        WritePx(*img, x, y, ReadPx(*img, x, y) ^ 0xFFFFFF);
    };
    // Each frame pixel once, so that a second call undoes the first.
    for (int x = n.Left; x < n.Right; ++x) {
        flip(x, n.Top);
        if (n.Bottom - 1 > n.Top) flip(x, n.Bottom - 1);
    }
    for (int y = n.Top + 1; y < n.Bottom - 1; ++y) {
        flip(n.Left, y);
        if (n.Right - 1 > n.Left) flip(n.Right - 1, y);
    }
    Changed();
}

int TCanvas::TextWidth(const std::string& text) const {
    return WidthOf(*FFont, text);
}

int TCanvas::TextHeight(const std::string& text) const {
    (void)text;
    return MetricsOf(*FFont).Height;
}

TSize TCanvas::TextExtent(const std::string& text) const {
    return {TextWidth(text), TextHeight(text)};
}

namespace {

// Draws a line of text with its top at y; the font colour, no background.
void PaintText(QImage& img, const TFont& font, int x, int y, const QString& text,
               const TRect* clip) {
    if (!HaveGui() || text.isEmpty()) return;
    QPainter p(&img);
    if (clip) p.setClipRect(ToQRect(*clip));
    QFont qf = font.ToQFont();
    p.setFont(qf);
    p.setPen(ToQColor(font.GetColor()));
    p.drawText(x, y + QFontMetrics(qf).ascent(), text);
}

} // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
    QImage* img = Image();
    TSize ext = TextExtent(text);
    if (img) {
        if (FBrush->GetStyle() != TBrushStyle::bsClear) {
            TRect box = Bounds(x, y, ext.cx, ext.cy);
            TRect c = IntersectRect(box, {0, 0, img->width(), img->height()});
            TColor col = ColorToRGB(FBrush->GetColor());
            for (int yy = c.Top; yy < c.Bottom; ++yy)
                for (int xx = c.Left; xx < c.Right; ++xx)
                    WritePx(*img, xx, yy, col);
        }
        PaintText(*img, *FFont, x, y, QString::fromStdString(text), nullptr);
    }
    PenPos = {x + ext.cx, y};
    if (img) Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    QImage* img = Image();
    if (!img) return;
    if (FBrush->GetStyle() != TBrushStyle::bsClear) {
        TRect c = IntersectRect(r, {0, 0, img->width(), img->height()});
        TColor col = ColorToRGB(FBrush->GetColor());
        for (int yy = c.Top; yy < c.Bottom; ++yy)
            for (int xx = c.Left; xx < c.Right; ++xx)
                WritePx(*img, xx, yy, col);
    }
    PaintText(*img, *FFont, x, y, QString::fromStdString(text), &r);
    Changed();
}

namespace {

struct PixelSource {
    const QImage* Img;
    bool Mono;
};

// Copies src (a rectangle of a source image) into dest of img, scaled by nearest pixel,
// pixel by pixel through `combine(sourcePixel, destPixel, &out)`.
template <class F>
void Blit(QImage& img, const TRect& dest, const QImage& src, const TRect& srcRect, F combine) {
    if (dest.IsEmpty() || srcRect.IsEmpty()) return;
    TRect c = IntersectRect(dest, {0, 0, img.width(), img.height()});
    int dw = dest.Width(), dh = dest.Height(), sw = srcRect.Width(), sh = srcRect.Height();
    for (int y = c.Top; y < c.Bottom; ++y) {
        int sy = srcRect.Top + int(int64_t(y - dest.Top) * sh / dh);
        if (sy < 0 || sy >= src.height()) continue;
        for (int x = c.Left; x < c.Right; ++x) {
            int sx = srcRect.Left + int(int64_t(x - dest.Left) * sw / dw);
            if (sx < 0 || sx >= src.width()) continue;
            TColor out;
            if (combine(ReadPx(src, sx, sy), ReadPx(img, x, y), out)) WritePx(img, x, y, out);
        }
    }
}

} // namespace

void TCanvas::CopyRect(const TRect& dest, const TCanvas* source, const TRect& sourceRect) {
    QImage* img = Image();
    if (!img || !source || !source->Image()) return;
    // A copy when both are the same image, so that overlapping rectangles read the old pixels.
    QImage own;
    const QImage* src = source->Image();
    if (src == img || src->constBits() == img->constBits()) {
        own = img->copy();
        src = &own;
    }
    uint32_t pat = uint32_t(ColorToRGB(FBrush->GetColor()));
    bool toMono = Monochrome() && !source->Monochrome();
    uint32_t srcBk = uint32_t(ColorToRGB(source->Brush()->GetColor()));
    TCopyMode rop = CopyMode;
    Blit(*img, dest, *src, sourceRect, [&](TColor s, TColor d, TColor& out) {
        uint32_t sv = uint32_t(s);
        if (toMono) sv = sv == srcBk ? 0xFFFFFF : 0;
        out = TColor(ApplyRop3(rop, pat, sv, uint32_t(d)));
        return true;
    });
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source,
                        TColor color) {
    QImage* img = Image();
    if (!img || !bitmap || bitmap->Empty()) return;
    TColor key = ColorToRGB(color);
    bool clear = FBrush->GetStyle() == TBrushStyle::bsClear;
    TColor fill = ColorToRGB(FBrush->GetColor());
    QImage own;
    const QImage* src = &bitmap->Image();
    if (src->constBits() == img->constBits()) {
        own = src->copy();
        src = &own;
    }
    Blit(*img, dest, *src, source, [&](TColor s, TColor, TColor& out) {
        if (s != key) {
            out = s;
            return true;
        }
        out = fill;
        return !clear;
    });
    Changed();
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(*this, Bounds(x, y, graphic->GetWidth(), graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(*this, r);
}

int DrawTextRect(TCanvas& canvas, const std::string& text, TRect& r, unsigned flags) {
    const TFont& font = *canvas.Font();
    // Lines, with the accelerator marks taken out and the underlined character remembered.
    struct Line {
        std::string Text;
        int Underline = -1; // byte offset in Text
    };
    std::vector<Line> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (!(flags & DT_SINGLELINE) && (ch == '\n' || ch == '\r')) {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
            continue;
        }
        if (!(flags & DT_NOPREFIX) && ch == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                lines.back().Text += '&';
                ++i;
            } else if (i + 1 < text.size()) {
                lines.back().Underline = int(lines.back().Text.size());
            }
            continue;
        }
        lines.back().Text += ch;
    }
    int lh = MetricsOf(font).Height;
    int total = lh * int(lines.size());
    int maxw = 0;
    for (const Line& l : lines)
        maxw = std::max(maxw, WidthOf(font, l.Text));
    if (flags & DT_CALCRECT) {
        r.Right = r.Left + maxw;
        r.Bottom = r.Top + total;
        return total;
    }
    QImage* img = canvas.Image();
    if (!img) return total;
    int top = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            top = r.Top + (r.Height() - total) / 2;
        else if (flags & DT_BOTTOM)
            top = r.Bottom - total;
    }
    const TRect* clip = (flags & DT_NOCLIP) ? nullptr : &r;
    bool opaque = canvas.Brush()->GetStyle() != TBrushStyle::bsClear;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        int w = WidthOf(font, l.Text);
        int left = (flags & DT_CENTER)  ? r.Left + (r.Width() - w) / 2
                   : (flags & DT_RIGHT) ? r.Right - w
                                        : r.Left;
        int y = top + int(i) * lh;
        if (opaque) {
            TRect box = Bounds(left, y, w, lh);
            if (clip) box = IntersectRect(box, *clip);
            TColor col = ColorToRGB(canvas.Brush()->GetColor());
            box = IntersectRect(box, {0, 0, img->width(), img->height()});
            for (int yy = box.Top; yy < box.Bottom; ++yy)
                for (int xx = box.Left; xx < box.Right; ++xx)
                    WritePx(*img, xx, yy, col);
        }
        PaintText(*img, font, left, y, QString::fromStdString(l.Text), clip);
        if (l.Underline >= 0) {
            size_t end = l.Underline + 1;
            while (end < l.Text.size() && (uint8_t(l.Text[end]) & 0xC0) == 0x80)
                ++end;
            int ux = left + WidthOf(font, l.Text.substr(0, size_t(l.Underline)));
            int uw = WidthOf(font, l.Text.substr(size_t(l.Underline), end - l.Underline));
            int uy = y + MetricsOf(font).Ascent + 1;
            TColor col = ColorToRGB(font.GetColor());
            for (int xx = ux; xx < ux + uw; ++xx)
                if (img->rect().contains(xx, uy) && (!clip || clip->Contains({xx, uy})))
                    WritePx(*img, xx, uy, col);
        }
    }
    canvas.Changed();
    return total;
}

// ---- Graphics ----------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TGraphic, TPersistent)
c.Bool("Transparent", &TGraphic::GetTransparent, &TGraphic::SetTransparent);
RTL_END_CLASS

void TGraphic::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::Changed() {
    OnChange(this);
}

namespace {

QImage::Format QFormatOf(TPixelFormat pf) {
    return pf == TPixelFormat::pf32bit ? QImage::Format_RGB32 : QImage::Format_BGR888;
}

void Threshold(QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            TColor c = ReadPx(img, x, y);
            TColor m = MonoOf(c);
            if (c != m) WritePx(img, x, y, m);
        }
}

std::atomic<uintptr_t> gNextHandle{0x1000};

} // namespace

class TBitmap::BitmapCanvas : public TCanvas {
public:
    explicit BitmapCanvas(TBitmap* owner) : FOwner(owner) {}
    QImage* Image() const override { return FOwner->Empty() ? nullptr : &FOwner->Image(); }
    bool Monochrome() const override { return FOwner->GetMonochrome(); }

protected:
    void Changed() override {
        FOwner->ImageChanged();
        TCanvas::Changed();
    }

private:
    TBitmap* FOwner;
};

RTL_BEGIN_ABSTRACT_CLASS(TBitmap, TGraphic)
c.Bool("Monochrome", &TBitmap::GetMonochrome, &TBitmap::SetMonochrome);
c.Int("TransparentColor", &TBitmap::GetTransparentColor, &TBitmap::SetTransparentColor,
      ColorTypeInfo());
c.Int("Width", &TBitmap::GetWidth, &TBitmap::SetWidth);
c.Int("Height", &TBitmap::GetHeight, &TBitmap::SetHeight);
RTL_END_CLASS

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()) {}
TBitmap::~TBitmap() = default;

int TBitmap::GetWidth() const {
    return FImage->width();
}
int TBitmap::GetHeight() const {
    return FImage->height();
}
bool TBitmap::Empty() const {
    return FImage->isNull() || FImage->width() <= 0;
}

QImage& TBitmap::Image() {
    return *FImage;
}
const QImage& TBitmap::Image() const {
    return *FImage;
}

void TBitmap::SetSize(int width, int height) {
    if (width == GetWidth() && height == GetHeight()) return;
    if (width <= 0 || height <= 0) {
        *FImage = QImage();
    } else {
        QImage next(width, height, QFormatOf(FPixelFormat));
        next.fill(Qt::white);
        if (!Empty()) {
            int w = std::min(width, GetWidth()), h = std::min(height, GetHeight());
            size_t bytes = size_t(w) * (FPixelFormat == TPixelFormat::pf32bit ? 4 : 3);
            for (int y = 0; y < h; ++y)
                std::memcpy(next.scanLine(y), FImage->constScanLine(y), bytes);
        }
        *FImage = std::move(next);
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    // Only three layouts are kept; the others stand for the 24-bit one.
    if (value != TPixelFormat::pf1bit && value != TPixelFormat::pf32bit)
        value = TPixelFormat::pf24bit;
    if (value == FPixelFormat) return;
    FPixelFormat = value;
    if (!Empty()) {
        *FImage = FImage->convertToFormat(QFormatOf(value));
        if (value == TPixelFormat::pf1bit) Threshold(*FImage);
    }
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value == GetMonochrome()) return;
    SetPixelFormat(value ? TPixelFormat::pf1bit : TPixelFormat::pf24bit);
}

uint8_t* TBitmap::ScanLine(int y) {
    if (Empty() || y < 0 || y >= GetHeight())
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage->scanLine(y);
}

const uint8_t* TBitmap::ScanLine(int y) const {
    if (Empty() || y < 0 || y >= GetHeight())
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage->constScanLine(y);
}

int TBitmap::BytesPerLine() const {
    return Empty() ? 0 : int(FImage->bytesPerLine());
}

TCanvas* TBitmap::Canvas() const {
    if (!FCanvas) FCanvas = std::make_unique<BitmapCanvas>(const_cast<TBitmap*>(this));
    return FCanvas.get();
}

TColor TBitmap::GetTransparentColor() const {
    if (FTransparentMode == TTransparentMode::tmFixed && FTransparentColor != clDefault)
        return ColorToRGB(FTransparentColor);
    if (GetMonochrome()) return clWhite;
    if (Empty()) return clDefault;
    return ReadPx(*FImage, 0, GetHeight() - 1);
}

void TBitmap::SetTransparentColor(TColor value) {
    TTransparentMode mode =
        value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    if (value == FTransparentColor && mode == FTransparentMode) return;
    FTransparentColor = value;
    FTransparentMode = mode;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == FTransparentMode) return;
    if (value == TTransparentMode::tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(GetTransparentColor());
}

void TBitmap::GetMask(TBitmap& mask) const {
    TColor key = GetTransparentColor();
    mask.SetPixelFormat(TPixelFormat::pf1bit);
    mask.SetSize(GetWidth(), GetHeight());
    if (Empty()) return;
    QImage& m = mask.Image();
    for (int y = 0; y < GetHeight(); ++y)
        for (int x = 0; x < GetWidth(); ++x)
            WritePx(m, x, y, ReadPx(*FImage, x, y) == key ? clWhite : clBlack);
    mask.Changed();
}

void TBitmap::Mask(TColor transparentColor) {
    TColor key = ColorToRGB(transparentColor);
    if (!Empty()) {
        QImage m(GetWidth(), GetHeight(), QImage::Format_BGR888);
        for (int y = 0; y < GetHeight(); ++y)
            for (int x = 0; x < GetWidth(); ++x)
                WritePx(m, x, y, ReadPx(*FImage, x, y) == key ? clWhite : clBlack);
        *FImage = std::move(m);
    }
    FPixelFormat = TPixelFormat::pf1bit;
    Changed();
}

uintptr_t TBitmap::Handle() const {
    if (!FHandle && !Empty()) FHandle = gNextHandle += 2; // the mask takes the next number
    return FHandle;
}

uintptr_t TBitmap::MaskHandle() const {
    return Empty() ? 0 : Handle() + 1;
}

uintptr_t TBitmap::ReleaseHandle() {
    uintptr_t h = Handle();
    FHandle = 0;
    return h;
}

void TBitmap::Changed() {
    FHandle = 0;
    TGraphic::Changed();
}

void TBitmap::ImageChanged() {
    if (GetMonochrome() && !Empty()) Threshold(*FImage);
    Changed();
}

void TBitmap::SetImage(const QImage& image) {
    if (image.isNull()) {
        *FImage = QImage();
    } else {
        *FImage = image.convertToFormat(QFormatOf(FPixelFormat));
        if (GetMonochrome()) Threshold(*FImage);
    }
    Changed();
}

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        SetSize(0, 0);
        return;
    }
    if (auto* b = dynamic_cast<const TBitmap*>(source)) {
        if (b == this) return;
        // A deep copy: a scan-line pointer taken from either bitmap must not reach the other.
        *FImage = b->FImage->copy();
        FPixelFormat = b->FPixelFormat;
        FTransparent = b->FTransparent;
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        Changed();
        return;
    }
    if (auto* p = dynamic_cast<const TPicture*>(source)) {
        if (auto* g = dynamic_cast<const TBitmap*>(p->Graphic())) return Assign(g);
        SetSize(0, 0);
        return;
    }
    inherited::Assign(source);
}

void TBitmap::LoadFromFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw EInvalidGraphic("Cannot open file \"" + path + "\"");
    QImage img;
    if (!img.load(QString::fromStdString(path))) throw EInvalidGraphic("Bitmap image is not valid");
    if (img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB)
        FPixelFormat = TPixelFormat::pf1bit;
    else if (img.depth() == 32)
        FPixelFormat = TPixelFormat::pf32bit;
    else
        FPixelFormat = TPixelFormat::pf24bit;
    SetImage(img);
}

void TBitmap::SaveToFile(const std::string& path) const {
    std::string ext = std::filesystem::path(path).extension().string();
    const char* fmt = rtl::SameText(ext, ".png") ? "PNG" : "BMP";
    if (Empty() || !FImage->save(QString::fromStdString(path), fmt))
        throw EInvalidGraphic("Cannot create file \"" + path + "\"");
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const {
    QImage* img = canvas.Image();
    if (!img || Empty()) return;
    QImage own;
    const QImage* src = FImage.get();
    if (src->constBits() == img->constBits()) {
        own = src->copy();
        src = &own;
    }
    TRect all{0, 0, GetWidth(), GetHeight()};
    if (FTransparent) {
        TColor key = GetTransparentColor();
        Blit(*img, r, *src, all, [&](TColor s, TColor, TColor& out) {
            out = s;
            return s != key;
        });
    } else {
        uint32_t pat = uint32_t(ColorToRGB(canvas.Brush()->GetColor()));
        TCopyMode rop = canvas.CopyMode;
        Blit(*img, r, *src, all, [&](TColor s, TColor d, TColor& out) {
            out = TColor(ApplyRop3(rop, pat, uint32_t(s), uint32_t(d)));
            return true;
        });
    }
    canvas.Changed();
}

// ---- Bitmap resources --------------------------------------------------------------------

namespace {

// A picture as rows of letters; each letter a colour of the 16-colour VGA palette.
void PaintRows(TBitmap& bmp, const char* const* rows, int w, int h) {
    auto colorOf = [](char c) -> TColor {
        switch (c) {
        case 'K':
            return clBlack;
        case 'W':
            return clWhite;
        case 'S':
            return clSilver;
        case 'G':
            return clGray;
        case 'B':
            return clBlue;
        case 'N':
            return clNavy;
        default:
            return clOlive;
        }
    };
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            WritePx(bmp.Image(), x, y, colorOf(rows[y][x]));
    bmp.SetTransparentColor(clDefault);
    bmp.SetTransparent(true);
}

// The check-box pictures: a raised 13 × 13 box three pixels in from the left, on olive.
void PaintCheckBox(TBitmap& bmp, const char* const* inner) {
    char rows[14][20];
    for (int y = 0; y < 14; ++y) {
        std::memset(rows[y], '.', 19);
        rows[y][19] = 0;
    }
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            char c = 'S';
            if (y == 12 || x == 12)
                c = 'K';
            else if (y == 0 || x == 0)
                c = 'W';
            else if (y == 11 || x == 11)
                c = 'G';
            else if (y >= 2 && y <= 10 && x >= 2 && x <= 10 && inner)
                c = inner[y - 2][x - 2] == 'B' ? 'B' : 'S';
            rows[y][3 + x] = c;
        }
    const char* ptrs[14];
    for (int y = 0; y < 14; ++y)
        ptrs[y] = rows[y];
    PaintRows(bmp, ptrs, 19, 14);
}

const char* const kTick[9] = {
    ".........", //
    ".......B.", //
    "......BB.", //
    ".B...BBB.", //
    ".BB.BBB..", //
    ".BBBBB...", //
    "..BBB....", //
    "...B.....", //
    ".........", //
};

const char* const kQuestion[9] = {
    "...BBB...", //
    "..BB.BB..", //
    "......BB.", //
    ".....BB..", //
    "....BB...", //
    "....BB...", //
    ".........", //
    "....BB...", //
    "....BB...", //
};

struct ResourceTable {
    std::mutex Lock;
    std::map<std::string, std::function<void(TBitmap&)>> Producers;
    ResourceTable() {
        Producers["CHECKED"] = [](TBitmap& b) { PaintCheckBox(b, kTick); };
        Producers["UNCHECKED"] = [](TBitmap& b) { PaintCheckBox(b, nullptr); };
        Producers["GRAYED"] = [](TBitmap& b) { PaintCheckBox(b, kQuestion); };
    }
};

ResourceTable& Resources() {
    static ResourceTable table;
    return table;
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

} // namespace

void RegisterBitmapResource(const std::string& name, std::function<void(TBitmap&)> producer) {
    ResourceTable& t = Resources();
    std::lock_guard<std::mutex> g(t.Lock);
    t.Producers[UpperAscii(name)] = std::move(producer);
}

bool HasBitmapResource(const std::string& name) {
    ResourceTable& t = Resources();
    std::lock_guard<std::mutex> g(t.Lock);
    return t.Producers.count(UpperAscii(name)) != 0;
}

void TBitmap::LoadFromResourceName(uintptr_t /*instance*/, const std::string& name) {
    std::function<void(TBitmap&)> producer;
    {
        ResourceTable& t = Resources();
        std::lock_guard<std::mutex> g(t.Lock);
        auto it = t.Producers.find(UpperAscii(name));
        if (it == t.Producers.end()) throw EResNotFound("Resource " + name + " not found");
        producer = it->second;
    }
    TBitmap fresh;
    producer(fresh);
    Assign(&fresh);
}

// ---- Picture -----------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TPicture, TPersistent)
RTL_END_CLASS

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

TBitmap* TPicture::Bitmap() {
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->OnChange = rtl::MethodOf<&TPicture::BitmapChanged>(this);
    }
    return FBitmap.get();
}

void TPicture::BitmapChanged(TObject*) {
    OnChange(this);
}

void TPicture::Assign(const TPersistent* source) {
    if (!source) {
        FBitmap.reset();
        OnChange(this);
        return;
    }
    if (auto* p = dynamic_cast<const TPicture*>(source)) {
        if (p == this) return;
        if (!p->FBitmap) {
            FBitmap.reset();
            OnChange(this);
        } else {
            Bitmap()->Assign(p->FBitmap.get());
        }
        return;
    }
    if (auto* b = dynamic_cast<const TBitmap*>(source)) {
        Bitmap()->Assign(b);
        return;
    }
    inherited::Assign(source);
}

void TPicture::LoadFromFile(const std::string& path) {
    Bitmap()->LoadFromFile(path);
}

void TPicture::SaveToFile(const std::string& path) const {
    if (!FBitmap) throw EInvalidGraphic("Cannot create file \"" + path + "\"");
    FBitmap->SaveToFile(path);
}

// ---- Image lists -------------------------------------------------------------------------

struct TImageList::Entry {
    QImage Image;               // Width × Height, 24-bit
    std::vector<uint8_t> Clear; // 1 where the image is transparent
};

RTL_BEGIN_ABSTRACT_CLASS(TImageList, TPersistent)
RTL_END_CLASS

TImageList::TImageList() = default;
TImageList::TImageList(int width, int height)
    : FWidth(std::max(1, width)), FHeight(std::max(1, height)) {}
TImageList::~TImageList() = default;

int TImageList::Count() const {
    return int(FImages.size());
}

void TImageList::Assign(const TPersistent* source) {
    if (auto* l = dynamic_cast<const TImageList*>(source)) {
        if (l == this) return;
        FWidth = l->FWidth;
        FHeight = l->FHeight;
        FImages = l->FImages;
        OnChange(this);
        return;
    }
    inherited::Assign(source);
}

void TImageList::SetSize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    Clear();
}

void TImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    OnChange(this);
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw EInvalidGraphicOperation("Invalid ImageList Index");
    FImages.erase(FImages.begin() + index);
    OnChange(this);
}

int TImageList::Add(const TBitmap* image, const TBitmap* mask) {
    if (!image || image->Empty()) return -1;
    const QImage* m = mask && !mask->Empty() ? &mask->Image() : nullptr;
    int first = Count();
    int n = image->GetWidth() / FWidth;
    for (int i = 0; i < n; ++i) {
        Entry e;
        e.Image = QImage(FWidth, FHeight, QImage::Format_BGR888);
        e.Image.fill(Qt::white);
        e.Clear.assign(size_t(FWidth) * FHeight, 0);
        for (int y = 0; y < FHeight && y < image->GetHeight(); ++y)
            for (int x = 0; x < FWidth; ++x) {
                int sx = i * FWidth + x;
                WritePx(e.Image, x, y, ReadPx(image->Image(), sx, y));
                if (m && sx < m->width() && y < m->height() && ReadPx(*m, sx, y) == clWhite)
                    e.Clear[size_t(y) * FWidth + x] = 1;
            }
        FImages.push_back(std::move(e));
    }
    if (n > 0) OnChange(this);
    return n > 0 ? first : -1;
}

int TImageList::AddMasked(const TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    TBitmap mask;
    TBitmap keyed;
    keyed.Assign(image);
    keyed.SetTransparentColor(maskColor == clDefault ? image->GetTransparentColor() : maskColor);
    keyed.GetMask(mask);
    return Add(image, &mask);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    QImage* img = canvas.Image();
    if (!img || index < 0 || index >= Count()) return;
    const Entry& e = FImages[size_t(index)];
    auto clearAt = [&](int ix, int iy) {
        ix = std::clamp(ix, 0, FWidth - 1);
        iy = std::clamp(iy, 0, FHeight - 1);
        return e.Clear[size_t(iy) * FWidth + ix] != 0;
    };
    auto put = [&](int ix, int iy, TColor c) {
        if (img->rect().contains(ix, iy)) WritePx(*img, ix, iy, c);
    };
    if (enabled) {
        for (int j = 0; j < FHeight; ++j)
            for (int i = 0; i < FWidth; ++i)
                if (!clearAt(i, j)) put(x + i, y + j, ReadPx(e.Image, i, j));
    } else {
        // Dark and edge pixels make the silhouette: highlight one pixel down-right, shadow on top.
        std::vector<uint8_t> marked(size_t(FWidth) * FHeight, 0);
        for (int j = 0; j < FHeight; ++j)
            for (int i = 0; i < FWidth; ++i) {
                if (clearAt(i, j)) continue;
                TColor c = ReadPx(e.Image, i, j);
                bool dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 384;
                bool edge = clearAt(i - 1, j) || clearAt(i + 1, j) || clearAt(i, j - 1) ||
                            clearAt(i, j + 1);
                marked[size_t(j) * FWidth + i] = dark || edge;
            }
        TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
        for (int j = 0; j < FHeight; ++j)
            for (int i = 0; i < FWidth; ++i)
                if (marked[size_t(j) * FWidth + i]) put(x + i + 1, y + j + 1, hi);
        for (int j = 0; j < FHeight; ++j)
            for (int i = 0; i < FWidth; ++i)
                if (marked[size_t(j) * FWidth + i]) put(x + i, y + j, sh);
    }
    canvas.Changed();
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const {
    bitmap.SetSize(FWidth, FHeight);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, FWidth, FHeight));
    Draw(*c, 0, 0, index, true);
}

} // namespace vcl
