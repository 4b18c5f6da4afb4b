// Buttons with pictures: the speed button (a graphic control that draws itself, with groups of
// buttons that stay down) and the bit button (a push button with a glyph and a kind).
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>

namespace vcl {

enum class TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonState : uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
const rtl::TTypeInfo* ButtonLayoutTypeInfo();

// A glyph of NumGlyphs images side by side (up, disabled, clicked, down) and where it and the
// caption go in a button. Without an image of its own the disabled look is the up image
// embossed; a missing down image is the up one.
class TButtonGlyph : public TObject {
public:
    TButtonGlyph();
    ~TButtonGlyph() override;
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;
    TBitmap* Glyph() const { return FGlyph.get(); }
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n); // held within 1…4
    // The size of one image (0 × 0 without a glyph).
    TSize ImageSize() const;
    // Glyph and caption positions in a client rectangle, as the VCL lays buttons out: margin
    // -1 centres the whole, spacing -1 spreads the space evenly.
    void Layout(TCanvas& canvas, const TRect& client, const std::string& caption,
                TButtonLayout layout, int margin, int spacing, TPoint& glyphPos,
                TRect& textRect) const;
    // Draws the image for the state at pos, its transparent colour left out.
    void DrawImage(TCanvas& canvas, TPoint pos, TButtonState state) const;
    // Glyph, then caption (grey and embossed when disabled).
    void Draw(TCanvas& canvas, const TRect& client, const std::string& caption,
              TButtonLayout layout, int margin, int spacing, TButtonState state) const;
    // Told after the glyph or the image count changed.
    std::function<void()> OnChange;

private:
    void GlyphChanged(TObject*);
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    bool FSettingCount = false;
};

class TSpeedButton : public TGraphicControl {
    RTL_DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    TBitmap* Glyph() const { return FGlyph.Glyph(); }
    // A copy is taken; a width that is a multiple of the height sets NumGlyphs.
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int n) { FGlyph.SetNumGlyphs(n); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // Buttons of one parent with the same non-zero GroupIndex: one at most is down.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Down() const { return FDown; }
    // Only a grouped button goes down; the last one down stays unless AllowAllUp.
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v); // shared by the group
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    int Margin() const { return FMargin; }
    void SetMargin(int v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    // Where the glyph and caption go (for painters and tests).
    void GlyphLayout(TPoint& glyphPos, TRect& textRect);

    // A press shows the button down; releasing inside clicks (and, grouped, toggles Down).
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // The click came with the release already (MouseUp).
    void MouseClick() override {}
    void MouseEnter();
    void MouseLeave();
    // The face (raised, sunken when down, bare when flat and the mouse is away), then the
    // glyph image of the state and the caption.
    void Paint() override;
    void WndProc(TMessage& message) override;

protected:
    void EnabledChanged() override;

private:
    void UpdateExclusive();
    TButtonGlyph FGlyph;
    int FGroupIndex = 0, FSpacing = 4, FMargin = -1;
    bool FDown = false, FAllowAllUp = false, FFlat = false, FTransparent = true, FDragging = false,
         FMouseInControl = false;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    TButtonState FState = TButtonState::bsUp;
};

enum class TBitBtnKind : uint8_t {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
const rtl::TTypeInfo* BitBtnKindTypeInfo();

class TBitBtn : public TButton {
    RTL_DECLARE_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    TBitmap* Glyph() const { return FGlyph.Glyph(); }
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int n) { FGlyph.SetNumGlyphs(n); }
    const TButtonGlyph& ButtonGlyph() const { return FGlyph; }
    // A kind other than bkCustom gives the caption, the modal result and Default/Cancel of
    // that kind (not while reading: the resource says what it stored).
    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind v);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    int Margin() const { return FMargin; }
    void SetMargin(int v);
    // bkClose closes the form; the others act as a button does.
    void Click() override;

private:
    TButtonGlyph FGlyph;
    TBitBtnKind FKind = TBitBtnKind::bkCustom;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FSpacing = 4, FMargin = -1;
};

void RegisterButtons();

} // namespace vcl
