#include "components/BtChkBox.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace components {

namespace {
const char* const kResource[3] = {"UNCHECKED", "CHECKED", "GRAYED"};
} // namespace

RTL_BEGIN_CLASS(TBitCheckBox, TCustomControl)
c.Enum("State", &TBitCheckBox::State, &TBitCheckBox::SetState, CheckBoxStateTypeInfo());
c.Bool("Checked", &TBitCheckBox::Checked, &TBitCheckBox::SetChecked);
c.Bool("AllowGrayed", &TBitCheckBox::AllowGrayed, &TBitCheckBox::SetAllowGrayed);
c.Enum("Alignment", &TBitCheckBox::Alignment, &TBitCheckBox::SetAlignment, AlignmentTypeInfo());
c.Obj("CheckedGlyph", &TBitCheckBox::CheckedGlyph, &TBitCheckBox::SetCheckedGlyph);
c.Obj("UncheckedGlyph", &TBitCheckBox::UncheckedGlyph, &TBitCheckBox::SetUncheckedGlyph);
c.Obj("GrayedGlyph", &TBitCheckBox::GrayedGlyph, &TBitCheckBox::SetGrayedGlyph);
c.Int("CheckedNumGlyphs", &TBitCheckBox::CheckedNumGlyphs, &TBitCheckBox::SetCheckedNumGlyphs);
c.Int("UncheckedNumGlyphs", &TBitCheckBox::UncheckedNumGlyphs,
      &TBitCheckBox::SetUncheckedNumGlyphs);
c.Int("GrayedNumGlyphs", &TBitCheckBox::GrayedNumGlyphs, &TBitCheckBox::SetGrayedNumGlyphs);
RTL_END_CLASS

TBitCheckBox::TBitCheckBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    for (int i = 0; i < 3; ++i) {
        FGlyphs[i] = std::make_unique<TBitmap>();
        SetGlyph(i, nullptr);
    }
}

TBitCheckBox::~TBitCheckBox() = default;

void TBitCheckBox::SetState(TCheckBoxState s) {
    if (s == FState) return;
    FState = s;
    ViewChanged(TViewChange::vcState);
    Invalidate();
}

void TBitCheckBox::SetAlignment(TAlignment a) {
    // Only the two justifications are meaningful: the picture sits on one side.
    if (a == TAlignment::taCenter) a = TAlignment::taRightJustify;
    if (a == FAlignment) return;
    FAlignment = a;
    Invalidate();
}

void TBitCheckBox::SetGlyph(int index, TBitmap* b) {
    TBitmap& glyph = *FGlyphs[index];
    if (b)
        glyph.Assign(b);
    else
        glyph.LoadFromResourceName(kResource[index]);
    // Images sit side by side; the library's own are 19 x 14, so a two-image picture of them
    // is 38 x 14: the count is width div height, not only for exact multiples.
    const int w = glyph.GetWidth(), h = glyph.GetHeight();
    if (h > 0 && w >= h) SetNumGlyphs(index, w / h);
    Invalidate();
}

void TBitCheckBox::SetNumGlyphs(int index, int n) {
    FNumGlyphs[index] = std::clamp(n, 1, 2);
    Invalidate();
}

void TBitCheckBox::Advance() {
    SetState(NextCheckBoxState(FState, FAllowGrayed));
}

void TBitCheckBox::Click() {
    Advance();
    TCustomControl::Click();
    if (CanFocus()) SetFocus();
}

void TBitCheckBox::KeyPress(char32_t& key) {
    TCustomControl::KeyPress(key);
    if (key == U' ') {
        key = 0;
        Click();
    }
}

void TBitCheckBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(char32_t(message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused()) Advance();
            message.Result = 1;
            return;
        }
        break;
    case CM_CTL3DCHANGED:
    case CM_SYSCOLORCHANGE:
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(message);
}

void TBitCheckBox::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TBitCheckBox::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

void TBitCheckBox::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect client{0, 0, ClientWidth(), ClientHeight()};
    canvas.Brush()->SetColor(TColor(uint32_t(Color())));
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(client);

    const int index = int(FState);
    TBitmap& glyph = *FGlyphs[index];
    const int images = FNumGlyphs[index];
    const int w = glyph.GetWidth() / images;
    const bool right = FAlignment == TAlignment::taRightJustify;

    // The caption: its width without the "&" of an accelerator.
    const std::string& caption = Caption();
    int textWidth = canvas.TextWidth(caption);
    for (size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') textWidth -= canvas.TextWidth("&");
            break;
        }
    const int textHeight = canvas.TextHeight(caption);
    TRect r;
    r.Left = right ? w + 4 : 1;
    r.Right = r.Left + textWidth;
    r.Top = (client.Bottom - textHeight) / 2 - 2;
    r.Bottom = r.Top + textHeight + 3;
    r.Left = std::max(r.Left, 0), r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, client.Right), r.Bottom = std::min(r.Bottom, client.Bottom);

    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    const unsigned flags = DT_SINGLELINE | DT_VCENTER;
    if (Enabled()) {
        TRect t = r;
        DrawTextRect(canvas, caption, t, flags);
    } else {
        TRect shadow{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
        canvas.Font()->SetColor(clBtnHighlight);
        DrawTextRect(canvas, caption, shadow, flags);
        canvas.Font()->SetColor(clGrayText);
        TRect t = r;
        DrawTextRect(canvas, caption, t, flags);
    }
    if (Focused()) {
        TRect f{std::max(r.Left - 1, 0), std::max(r.Top - 1, 0),
                std::min(r.Right + 1, client.Right), std::min(r.Bottom + 1, client.Bottom)};
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.DrawFocusRect(f);
    }

    if (w <= 0 || glyph.GetHeight() <= 0) return;
    const int x = right ? 0 : client.Right - w;
    const int y = (client.Bottom - glyph.GetHeight()) / 2;
    const int image = (!Enabled() && images == 2) ? 1 : 0;
    // The picture's transparent colour is left out: BrushCopy with a clear brush keeps what
    // is under those pixels.
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    canvas.BrushCopy(TRect{x, y, x + w, y + glyph.GetHeight()}, &glyph,
                     TRect{image * w, 0, image * w + w, glyph.GetHeight()},
                     glyph.GetTransparentColor());
}

} // namespace components
