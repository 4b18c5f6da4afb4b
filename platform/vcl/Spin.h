// The spin edit: an edit holding a whole number, stepped by its arrows or the up and down keys.
#pragma once

#include "platform/vcl/StdCtrls.h"

namespace vcl {

class TSpinEdit : public TCustomEdit {
    RTL_DECLARE_CLASS(TSpinEdit, TCustomEdit)
public:
    explicit TSpinEdit(TComponent* owner);
    // The text as a number, held within MinValue…MaxValue (unless both are equal); a text that
    // is no number reads as MinValue.
    int Value() const;
    void SetValue(int v);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int v) { FMinValue = v; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int v) { FMaxValue = v; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int v) { FIncrement = v; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    int CheckValue(int v) const;
    // The arrows: Value ± Increment (nothing when read-only).
    void UpClick();
    void DownClick();
    // Whether a typed character may go into the text: digits, signs, control characters.
    bool IsValidChar(char32_t key) const;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;

private:
    int FMinValue = 0, FMaxValue = 0, FIncrement = 1;
    bool FEditorEnabled = true;
};

void RegisterSpin();

} // namespace vcl
