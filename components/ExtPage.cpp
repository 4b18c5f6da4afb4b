#include "components/ExtPage.h"

#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

namespace components {

RTL_BEGIN_CLASS(TExtPageControl, TPageControl)
RTL_END_CLASS

TExtPageControl::TExtPageControl(TComponent* owner) : TPageControl(owner) {
    SetOwnerDraw(true);
}

void TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (FOnDrawTab) {
        FOnDrawTab(this, tabIndex, rect, active);
        return;
    }
    TCanvas& canvas = *Canvas();
    TRect r = rect;
    TFontStyles style = canvas.Font()->GetStyle();
    if (active) {
        r = TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
        style.Include(TFontStyle::fsBold);
        canvas.Font()->SetColor(clCaptionText);
        canvas.Brush()->SetColor(clActiveCaption);
    } else {
        style.Exclude(TFontStyle::fsBold);
        canvas.Font()->SetColor(clInactiveCaptionText);
        canvas.Brush()->SetColor(clInactiveCaption);
    }
    canvas.Font()->SetStyle(style);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(r);
    TTabSheet* page = PageForTab(tabIndex); // the n-th page whose tab shows
    if (!page) return;
    TRect text = r;
    if (!active) text.Top += 2;
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    DrawTextRect(canvas, page->Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace components
