// A speed button whose picture is taken by number from the glyph library.
#pragma once

#include "platform/vcl/Buttons.h"

namespace components {

using namespace vcl;

class TGSpeedButton : public TSpeedButton {
    RTL_DECLARE_CLASS(TGSpeedButton, TSpeedButton)
public:
    explicit TGSpeedButton(TComponent* owner);
    int GlyphIndex() const { return FGlyphIndex; }
    // Loads glyph n (its number as the caption while there is no picture for it).
    void SetGlyphIndex(int n);
    int HintIndex() const { return FHintIndex; }
    void SetHintIndex(int n) { FHintIndex = n; }

private:
    int FGlyphIndex = 0;
    int FHintIndex = 0;
};

} // namespace components
