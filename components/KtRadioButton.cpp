#include "components/KtRadioButton.h"

#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include <QImage>

namespace components {

RTL_BEGIN_CLASS(TKtRadioButton, TRadioButton)
RTL_END_CLASS

TKtRadioButton::TKtRadioButton(TComponent* owner)
    : TRadioButton(owner), FPicture(std::make_unique<TBitmap>()) {
    SetBounds(0, 0, 113, 17);
    FPicture->SetPixelFormat(TPixelFormat::pf24bit);
}

TKtRadioButton::~TKtRadioButton() = default;

int TKtRadioButton::CaptionOffset(int points) {
    struct Step {
        int Upto, Offset;
    };
    static const Step steps[] = {{8, 17},  {15, 19}, {17, 20}, {23, 21}, {29, 23},
                                 {35, 25}, {41, 27}, {43, 29}, {60, 31}, {80, 39}};
    if (points >= 1)
        for (const Step& s : steps)
            if (points <= s.Upto) return s.Offset;
    return 44;
}

void TKtRadioButton::Paint(TCanvas& canvas) {
    const int w = Width(), h = Height();
    const TColor face = TColor(uint32_t(Color()));
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(face);
    canvas.FillRect({0, 0, w, h});

    // The system's part: a round button, a dot when checked.
    const int d = 12;
    const int bx = Alignment() == TAlignment::taLeftJustify ? w - d - 1 : 1;
    const int by = (h - d) / 2;
    canvas.Pen()->SetColor(clBtnShadow);
    canvas.Brush()->SetColor(Enabled() ? clWindow : clBtnFace);
    canvas.Ellipse(bx, by, bx + d, by + d);
    if (Checked()) {
        canvas.Pen()->SetColor(Enabled() ? clWindowText : clGrayText);
        canvas.Brush()->SetColor(Enabled() ? clWindowText : clGrayText);
        canvas.Ellipse(bx + 4, by + 4, bx + d - 4, by + d - 4);
    }

    // The caption again, over what the system drew there.
    const int start = CaptionOffset(Font()->GetSize());
    canvas.Pen()->SetColor(face);
    canvas.Brush()->SetColor(face);
    canvas.Rectangle(start - 4, -4, w + 4, h + 4);
    canvas.Font()->Assign(Font());
    if (!Enabled()) canvas.Font()->SetColor(clGrayText);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect r{start, 0, w, h};
    DrawTextRect(canvas, Caption(), r, DT_SINGLELINE | DT_VCENTER);
    if (Focused()) {
        TRect f{start - 1, std::max(0, (h - canvas.TextHeight(Caption())) / 2 - 1), 0, 0};
        TRect calc = r;
        DrawTextRect(canvas, Caption(), calc, DT_SINGLELINE | DT_CALCRECT);
        f.Right = std::min(w, start + calc.Width() + 1);
        f.Bottom = std::min(h, f.Top + canvas.TextHeight(Caption()) + 2);
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.DrawFocusRect(f);
    }
}

const QImage* TKtRadioButton::PaintedImage() {
    if (Width() <= 0 || Height() <= 0) return nullptr;
    FPicture->SetSize(Width(), Height());
    Paint(*FPicture->Canvas());
    return &FPicture->Image();
}

void TKtRadioButton::WndProc(TMessage& message) {
    if (message.Msg == CM_CTL3DCHANGED) RecreateWnd();
    if (message.Msg == CM_ENABLEDCHANGED) Invalidate();
    TRadioButton::WndProc(message);
}

RTL_BEGIN_CLASS(TKtGroupButton, TKtRadioButton)
RTL_END_CLASS

TKtGroupButton::TKtGroupButton(TComponent* owner) : TKtRadioButton(owner) {}

// Key strokes of a group's button reach the group as well.
void TKtGroupButton::KeyPress(char32_t& key) {
    TKtRadioButton::KeyPress(key);
    if (key && Parent()) Parent()->KeyPress(key);
}

void TKtGroupButton::KeyDown(uint16_t& key, TShiftState shift) {
    TKtRadioButton::KeyDown(key, shift);
    if (key && Parent()) Parent()->KeyDown(key, shift);
}

} // namespace components
