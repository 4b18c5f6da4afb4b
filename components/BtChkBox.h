// A check box drawn from three bitmaps (checked, unchecked, grayed), each with an optional
// second image for the disabled look.
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <memory>

namespace vcl {
class TBitmap;
}

namespace components {

using namespace vcl;

class TBitCheckBox : public TCustomControl {
    RTL_DECLARE_CLASS(TBitCheckBox, TCustomControl)
public:
    explicit TBitCheckBox(TComponent* owner);
    ~TBitCheckBox() override;

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState s);
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool v) {
        SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
    }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

    // Setting copies the bitmap; null loads the library's own picture for the state.
    TBitmap* CheckedGlyph() const { return FGlyphs[1].get(); }
    void SetCheckedGlyph(TBitmap* b) { SetGlyph(1, b); }
    TBitmap* UncheckedGlyph() const { return FGlyphs[0].get(); }
    void SetUncheckedGlyph(TBitmap* b) { SetGlyph(0, b); }
    TBitmap* GrayedGlyph() const { return FGlyphs[2].get(); }
    void SetGrayedGlyph(TBitmap* b) { SetGlyph(2, b); }
    int CheckedNumGlyphs() const { return FNumGlyphs[1]; }
    void SetCheckedNumGlyphs(int n) { SetNumGlyphs(1, n); }
    int UncheckedNumGlyphs() const { return FNumGlyphs[0]; }
    void SetUncheckedNumGlyphs(int n) { SetNumGlyphs(0, n); }
    int GrayedNumGlyphs() const { return FNumGlyphs[2]; }
    void SetGrayedNumGlyphs(int n) { SetNumGlyphs(2, n); }

    // Advances the state, runs OnClick, then takes the focus when it can.
    void Click() override;
    void KeyPress(char32_t& key) override;
    void WndProc(TMessage& message) override;
    void Paint() override;

protected:
    void DoEnter() override;
    void DoExit() override;

private:
    void SetGlyph(int index, TBitmap* b);
    void SetNumGlyphs(int index, int n);
    void Advance();
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
    std::unique_ptr<TBitmap> FGlyphs[3]; // by TCheckBoxState order: unchecked, checked, grayed
    int FNumGlyphs[3] = {1, 1, 1};
};

} // namespace components
