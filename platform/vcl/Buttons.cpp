#include "platform/vcl/Buttons.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

const rtl::TTypeInfo* ButtonLayoutTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::EnumTypeInfo(
        "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
    return t;
}

const rtl::TTypeInfo* BitBtnKindTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                          "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
    return t;
}

// ---- Glyphs --------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = rtl::MethodOf<&TButtonGlyph::GlyphChanged>(this);
}

TButtonGlyph::~TButtonGlyph() {
    FGlyph->OnChange = {};
}

void TButtonGlyph::GlyphChanged(TObject*) {
    // A strip of square-ish images tells its own count, as the VCL reads it.
    int w = FGlyph->GetWidth(), h = FGlyph->GetHeight();
    if (h > 0 && w % h == 0) {
        int n = w / h;
        if (n > 4) n = 1;
        FNumGlyphs = std::clamp(n, 1, 4);
    }
    if (OnChange) OnChange();
}

void TButtonGlyph::SetNumGlyphs(int n) {
    n = std::clamp(n, 1, 4);
    if (n == FNumGlyphs) return;
    FNumGlyphs = n;
    if (OnChange) OnChange();
}

TSize TButtonGlyph::ImageSize() const {
    if (FGlyph->Empty()) return {0, 0};
    return {FGlyph->GetWidth() / FNumGlyphs, FGlyph->GetHeight()};
}

void TButtonGlyph::Layout(TCanvas& canvas, const TRect& client, const std::string& caption,
                          TButtonLayout layout, int margin, int spacing, TPoint& glyphPos,
                          TRect& textRect) const {
    const int cw = client.Width(), ch = client.Height();
    TSize text{0, 0};
    if (!caption.empty()) {
        TRect r{0, 0, cw, 0};
        DrawTextRect(canvas, caption, r, DT_CALCRECT | DT_SINGLELINE);
        text = {r.Width(), r.Height()};
    }
    TSize glyph = ImageSize();
    const bool across =
        layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    TPoint g, t;
    if (across) {
        t.Y = (ch - text.cy + 1) / 2;
        g.Y = (ch - glyph.cy + 1) / 2;
    } else {
        g.X = (cw - glyph.cx + 1) / 2;
        t.X = (cw - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    const int clientSize = across ? cw : ch;
    const int glyphSize = across ? glyph.cx : glyph.cy, textSize = across ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (clientSize - (glyphSize + textSize)) / 3;
            spacing = margin;
        } else {
            margin = (clientSize - (glyphSize + spacing + textSize) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (clientSize - (margin + glyphSize) - textSize) / 2;
    }
    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        g.X = margin;
        t.X = g.X + glyph.cx + spacing;
        break;
    case TButtonLayout::blGlyphRight:
        g.X = cw - margin - glyph.cx;
        t.X = g.X - spacing - text.cx;
        break;
    case TButtonLayout::blGlyphTop:
        g.Y = margin;
        t.Y = g.Y + glyph.cy + spacing;
        break;
    case TButtonLayout::blGlyphBottom:
        g.Y = ch - margin - glyph.cy;
        t.Y = g.Y - spacing - text.cy;
        break;
    }
    glyphPos = {client.Left + g.X, client.Top + g.Y};
    textRect = Bounds(client.Left + t.X, client.Top + t.Y, text.cx, text.cy);
}

void TButtonGlyph::DrawImage(TCanvas& canvas, TPoint pos, TButtonState state) const {
    TSize size = ImageSize();
    if (size.cx == 0) return;
    TImageList images(size.cx, size.cy);
    images.AddMasked(FGlyph.get(), FGlyph->GetTransparentColor());
    int index = static_cast<int>(state);
    if (state == TButtonState::bsDisabled) {
        // Without an image of its own the disabled look is the up image embossed.
        if (FNumGlyphs > 1)
            images.Draw(canvas, pos.X, pos.Y, 1);
        else
            images.Draw(canvas, pos.X, pos.Y, 0, false);
        return;
    }
    if (state == TButtonState::bsDown && FNumGlyphs < 3) index = 0;
    if (index >= FNumGlyphs) index = 0;
    images.Draw(canvas, pos.X, pos.Y, index);
}

void TButtonGlyph::Draw(TCanvas& canvas, const TRect& client, const std::string& caption,
                        TButtonLayout layout, int margin, int spacing, TButtonState state) const {
    TPoint glyphPos;
    TRect textRect;
    Layout(canvas, client, caption, layout, margin, spacing, glyphPos, textRect);
    DrawImage(canvas, glyphPos, state);
    if (caption.empty()) return;
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (state == TButtonState::bsDisabled) {
        TRect shadow = textRect;
        OffsetRect(shadow, 1, 1);
        canvas.Font()->SetColor(clBtnHighlight);
        DrawTextRect(canvas, caption, shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas.Font()->SetColor(clBtnShadow);
    }
    DrawTextRect(canvas, caption, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
}

// ---- Speed button --------------------------------------------------------------------------

RTL_BEGIN_CLASS(TSpeedButton, TGraphicControl)
c.Obj("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
c.Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs);
c.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
c.Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
c.Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
c.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
c.Enum("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout, ButtonLayoutTypeInfo());
c.Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing);
c.Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin);
c.Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent);
RTL_END_CLASS

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
    FGlyph.OnChange = [this] { Invalidate(); };
}

TSpeedButton::~TSpeedButton() {
    FGlyph.OnChange = nullptr;
}

void TSpeedButton::SetGlyph(TBitmap* glyph) {
    if (glyph)
        FGlyph.Glyph()->Assign(glyph);
    else
        FGlyph.Glyph()->SetSize(0, 0);
}

void TSpeedButton::SetFlat(bool v) {
    if (v == FFlat) return;
    FFlat = v;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int v) {
    if (v == FGroupIndex) return;
    FGroupIndex = v;
    if (v == 0) SetDown(false);
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool v) {
    if (FGroupIndex == 0) v = false;
    if (v == FDown) return;
    if (FDown && !FAllowAllUp && !IsLoading()) return;
    FDown = v;
    if (v) {
        if (FState == TButtonState::bsUp) Invalidate();
        FState = TButtonState::bsExclusive;
        UpdateExclusive();
    } else {
        FState = TButtonState::bsUp;
    }
    ViewChanged(TViewChange::vcState);
    Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool v) {
    if (v == FAllowAllUp) return;
    FAllowAllUp = v;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
    TWinControl* parent = Parent();
    if (FGroupIndex == 0 || !parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->InheritsFrom(TSpeedButton::StaticClassInfo())) continue;
        auto* b = static_cast<TSpeedButton*>(c);
        if (b->FGroupIndex != FGroupIndex) continue;
        if (FDown && b->FDown) {
            b->FDown = false;
            b->FState = TButtonState::bsUp;
            b->ViewChanged(TViewChange::vcState);
            b->Invalidate();
        }
        b->FAllowAllUp = FAllowAllUp;
    }
}

void TSpeedButton::SetLayout(TButtonLayout v) {
    if (v == FLayout) return;
    FLayout = v;
    Invalidate();
}

void TSpeedButton::SetSpacing(int v) {
    if (v == FSpacing) return;
    FSpacing = v;
    Invalidate();
}

void TSpeedButton::SetMargin(int v) {
    if (v == FMargin || v < -1) return;
    FMargin = v;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    Invalidate();
}

void TSpeedButton::EnabledChanged() {
    TGraphicControl::EnabledChanged();
    if (!Enabled()) {
        FState = TButtonState::bsDisabled;
        FDragging = false;
    } else {
        FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
    }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = TButtonState::bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging || button != TMouseButton::mbLeft) return;
    FDragging = false;
    const bool doClick = x >= 0 && x < Width() && y >= 0 && y <= Height();
    if (FGroupIndex == 0) {
        FState = TButtonState::bsUp;
        FMouseInControl = false;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown);
        FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        Invalidate();
    } else {
        FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        Invalidate();
    }
    if (doClick) Click();
}

void TSpeedButton::MouseEnter() {
    if (FMouseInControl || !Enabled()) return;
    FMouseInControl = true;
    if (FFlat) Invalidate();
}

void TSpeedButton::MouseLeave() {
    if (!FMouseInControl) return;
    FMouseInControl = false;
    if (FFlat) Invalidate();
}

void TSpeedButton::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && IsAccel(char32_t(message.WParam), Caption()) && Enabled() &&
        Showing()) {
        Click();
        message.Result = 1;
        return;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::GlyphLayout(TPoint& glyphPos, TRect& textRect) {
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    TRect client{0, 0, Width(), Height()};
    InflateRect(client, FFlat ? -1 : -2, FFlat ? -1 : -2);
    if (FState == TButtonState::bsDown || FState == TButtonState::bsExclusive)
        OffsetRect(client, 1, 1);
    FGlyph.Layout(*canvas, client, Caption(), FLayout, FMargin, FSpacing, glyphPos, textRect);
}

namespace {

// A one-pixel border: top and left in one colour, bottom and right in the other.
void Edge(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
    c.Pen()->SetColor(topLeft);
    c.MoveTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Left, r.Top);
    c.LineTo(r.Right - 1, r.Top);
    c.Pen()->SetColor(bottomRight);
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left, r.Bottom - 1);
    c.SetPixel(r.Right - 1, r.Bottom - 1, bottomRight);
}

} // namespace

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    if (!Enabled())
        FState = TButtonState::bsDisabled;
    else if (FState == TButtonState::bsDisabled)
        FState = FDown && FGroupIndex != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    const bool down = FState == TButtonState::bsDown || FState == TButtonState::bsExclusive;
    TRect r{0, 0, Width(), Height()};
    canvas->Brush()->SetColor(TColor(uint32_t(Color())));
    canvas->FillRect(r);
    if (!FFlat) {
        Edge(*canvas, r, down ? cl3DDkShadow : clBtnHighlight,
             down ? clBtnHighlight : cl3DDkShadow);
        InflateRect(r, -1, -1);
        Edge(*canvas, r, down ? clBtnShadow : cl3DLight, down ? cl3DLight : clBtnShadow);
        InflateRect(r, -1, -1);
    } else {
        if (down || (FMouseInControl && FState != TButtonState::bsDisabled))
            Edge(*canvas, r, down ? clBtnShadow : clBtnHighlight,
                 down ? clBtnHighlight : clBtnShadow);
        InflateRect(r, -1, -1);
    }
    if (FState == TButtonState::bsExclusive && (!FFlat || !FMouseInControl)) {
        // The checkered face of a button that stays down.
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                canvas->SetPixel(x, y, ((x + y) & 1) ? clBtnHighlight : clBtnFace);
    }
    if (down) OffsetRect(r, 1, 1);
    canvas->Font()->Assign(Font());
    FGlyph.Draw(*canvas, r, Caption(), FLayout, FMargin, FSpacing, FState);
}

// ---- Bit button ----------------------------------------------------------------------------

RTL_BEGIN_CLASS(TBitBtn, TButton)
c.Obj("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
c.Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs);
c.Enum("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, BitBtnKindTypeInfo());
c.Enum("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, ButtonLayoutTypeInfo());
c.Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);
c.Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin);
RTL_END_CLASS

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
    SetBounds(0, 0, 75, 25);
    FGlyph.OnChange = [this] {
        ViewChanged(TViewChange::vcState);
        Invalidate();
    };
}

TBitBtn::~TBitBtn() {
    FGlyph.OnChange = nullptr;
}

void TBitBtn::SetGlyph(TBitmap* glyph) {
    if (glyph)
        FGlyph.Glyph()->Assign(glyph);
    else
        FGlyph.Glyph()->SetSize(0, 0);
}

void TBitBtn::SetKind(TBitBtnKind v) {
    if (v == FKind) return;
    if (v != TBitBtnKind::bkCustom) {
        static const char* const captions[] = {"",       "OK",      "Cancel", "&Help",
                                               "&Yes",   "&No",     "&Close", "Abort",
                                               "&Retry", "&Ignore", "&All"};
        static const int results[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                      mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
        SetDefault(v == TBitBtnKind::bkOK || v == TBitBtnKind::bkYes);
        SetCancel(v == TBitBtnKind::bkCancel || v == TBitBtnKind::bkNo);
        if (!IsLoading() || Caption().empty()) SetCaption(captions[int(v)]);
        SetModalResult(results[int(v)]);
    }
    FKind = v;
    ViewChanged(TViewChange::vcState);
}

void TBitBtn::SetLayout(TButtonLayout v) {
    if (v == FLayout) return;
    FLayout = v;
    ViewChanged(TViewChange::vcState);
}

void TBitBtn::SetSpacing(int v) {
    if (v == FSpacing) return;
    FSpacing = v;
    ViewChanged(TViewChange::vcState);
}

void TBitBtn::SetMargin(int v) {
    if (v == FMargin || v < -1) return;
    FMargin = v;
    ViewChanged(TViewChange::vcState);
}

void TBitBtn::Click() {
    if (FKind == TBitBtnKind::bkClose)
        if (TCustomForm* form = GetParentForm()) {
            form->Close();
            return;
        }
    TButton::Click();
}

void RegisterButtons() {
    static const bool done = [] {
        (void)TSpeedButton::StaticClassInfo();
        (void)TBitBtn::StaticClassInfo();
        return true;
    }();
    (void)done;
}

} // namespace vcl
