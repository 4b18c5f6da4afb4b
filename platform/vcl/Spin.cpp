#include "platform/vcl/Spin.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace vcl {

RTL_BEGIN_CLASS(TSpinEdit, TCustomEdit)
c.Bool("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled);
c.Int("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement);
c.Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue);
c.Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue);
c.Int("Value", &TSpinEdit::Value, &TSpinEdit::SetValue);
RTL_END_CLASS

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetBounds(0, 0, 121, 22);
    SetText("0");
}

int TSpinEdit::CheckValue(int v) const {
    if (FMaxValue != FMinValue) {
        if (v < FMinValue) return FMinValue;
        if (v > FMaxValue) return FMaxValue;
    }
    return v;
}

int TSpinEdit::Value() const {
    std::string t = rtl::Trim(Text());
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+') ++b;
    int v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e || b == e) v = FMinValue;
    return CheckValue(v);
}

void TSpinEdit::SetValue(int v) {
    SetText(std::to_string(CheckValue(v)));
}

void TSpinEdit::UpClick() {
    if (ReadOnly()) return;
    // Stepping past the largest number stays there rather than wrapping to the smallest.
    long long next = (long long)Value() + FIncrement;
    SetValue(int(std::clamp<long long>(next, INT32_MIN, INT32_MAX)));
}

void TSpinEdit::DownClick() {
    if (ReadOnly()) return;
    long long next = (long long)Value() - FIncrement;
    SetValue(int(std::clamp<long long>(next, INT32_MIN, INT32_MAX)));
}

bool TSpinEdit::IsValidChar(char32_t key) const {
    bool ok = (key >= U'0' && key <= U'9') || key == U'+' || key == U'-' || key == U'.' ||
              (key < 32 && key != U'\r');
    if (!FEditorEnabled && ok && (key >= 32 || key == 8 || key == 127)) ok = false;
    return ok;
}

void TSpinEdit::KeyDown(uint16_t& key, TShiftState shift) {
    // The key goes on to OnKeyDown as well, as in the VCL.
    if (key == VK_UP)
        UpClick();
    else if (key == VK_DOWN)
        DownClick();
    TCustomEdit::KeyDown(key, shift);
}

void TSpinEdit::KeyPress(char32_t& key) {
    if (!IsValidChar(key)) key = 0;
    if (key != 0) TCustomEdit::KeyPress(key);
}

void RegisterSpin() {
    static const bool done = [] {
        (void)TSpinEdit::StaticClassInfo();
        return true;
    }();
    (void)done;
}

} // namespace vcl
