#include "components/GSpdBtn.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include "suite/rvres/RvRes.h"

namespace components {

RTL_BEGIN_CLASS(TGSpeedButton, TSpeedButton)
c.Int("GlyphIndex", &TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex);
c.Int("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex);
RTL_END_CLASS

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int n) {
    if (n == FGlyphIndex) return;
    FGlyphIndex = n;
    SetCaption(std::to_string(n));
    try {
        if (n == 0 || n > GetMaxBmpID()) {
            Glyph()->Assign(nullptr);
        } else if (RvLoadInto(&LoadBmp, *Glyph(), n)) {
            SetCaption("");
            if (Glyph()->GetHeight() > 0) SetNumGlyphs(Glyph()->GetWidth() / Glyph()->GetHeight());
        }
    } catch (const std::exception&) {
        MessageDlg("读取 BMP 发生错误", TMsgDlgType::mtError, TMsgDlgButtons{TMsgDlgBtn::mbOK});
    }
    Invalidate();
}

} // namespace components
