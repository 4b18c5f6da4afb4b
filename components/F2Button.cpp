#include "components/F2Button.h"

#include "components/CompUtils.h"

#include "platform/vcl/Dialogs.h"

#include "platform/rtl/ClassBuilder.h"

namespace components {

RTL_BEGIN_CLASS(TF2Button, TGSpeedButton)
c.Bool("AutoAlign", &TF2Button::AutoAlign, &TF2Button::SetAutoAlign);
c.Obj("F2Control", &TF2Button::F2Control, &TF2Button::SetF2Control);
c.Int("Gap", &TF2Button::Gap, &TF2Button::SetGap);
RTL_END_CLASS

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
    SetFlat(true);
    SetGlyphIndex(8);
}

void TF2Button::SetAutoAlign(bool v) {
    if (v == FAutoAlign) return;
    FAutoAlign = v;
    AlignToControl();
}

void TF2Button::SetGap(int v) {
    v &= 0xFF;
    if (v == FGap) return;
    FGap = v;
    AlignToControl();
}

void TF2Button::SetF2Control(TWinControl* c) {
    if (c == FF2Control) return;
    if (c && Parent())
        for (int i = 0; i < Parent()->ComponentCount(); ++i) {
            TComponent* other = Parent()->Components(i);
            if (other != this && other->InheritsFrom(TF2Button::StaticClassInfo()) &&
                static_cast<TF2Button*>(other)->F2Control() == c) {
                MessageDlg("不能同时有两个 F2Button 指到同一个 Edit.", TMsgDlgType::mtError,
                           TMsgDlgButtons{TMsgDlgBtn::mbOK});
                return;
            }
        }
    if (FF2Control) FF2Control->RemoveFreeNotification(this);
    FF2Control = c;
    if (c) c->FreeNotification(this);
    AlignToControl();
}

void TF2Button::AlignToControl() {
    if (!FF2Control || !FAutoAlign || IsLoading()) return;
    const TWinControl& c = *FF2Control;
    SetBounds(c.Left() + c.Width() + FGap, c.Top(), c.Height(), c.Height());
}

void TF2Button::Loaded() {
    TGSpeedButton::Loaded();
    AlignToControl();
}

void TF2Button::Click() {
    TGSpeedButton::Click();
    TWinControl* c = FF2Control;
    if (!c || !c->Enabled()) return;
    if (c->CanFocus()) c->SetFocus();
    if (c->Focused()) SendLookupRequest(c);
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
    TGSpeedButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FF2Control) FF2Control = nullptr;
}

} // namespace components
