// A radio button that draws its caption itself, in the control's font.
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <memory>

namespace vcl {
class TBitmap;
}

namespace components {

using namespace vcl;

class TKtRadioButton : public TRadioButton {
    RTL_DECLARE_CLASS(TKtRadioButton, TRadioButton)
public:
    explicit TKtRadioButton(TComponent* owner);
    ~TKtRadioButton() override;

    // Where the caption starts, by the font's size in points.
    static int CaptionOffset(int points);
    // The system's button first, then the caption again from the offset.
    void Paint(TCanvas& canvas);
    bool SelfDrawn() const override { return true; }
    const QImage* PaintedImage() override;
    void MouseClick() override { ButtonClicked(); }
    void WndProc(TMessage& message) override;

private:
    std::unique_ptr<TBitmap> FPicture;
};

// The button a TKtRadioGroup makes for each of its items.
class TKtGroupButton : public TKtRadioButton {
    RTL_DECLARE_CLASS(TKtGroupButton, TKtRadioButton)
public:
    explicit TKtGroupButton(TComponent* owner);
    void KeyPress(char32_t& key) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
};

} // namespace components
