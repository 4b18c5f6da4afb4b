#include "components/DBLabel.h"

#include "components/CompUtils.h"

#include "platform/vcl/Dialogs.h"

#include "platform/rtl/ClassBuilder.h"

namespace components {

const rtl::TTypeInfo* PosTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TPos", {"psTop", "psLeft", "psRight", "psBottom"});
    return t;
}

RTL_BEGIN_CLASS(TDBLabel, TLabel)
c.Bool("AutoAlign", &TDBLabel::AutoAlign, &TDBLabel::SetAutoAlign);
c.Bool("AutoCaption", &TDBLabel::AutoCaption, &TDBLabel::SetAutoCaption);
c.Obj("FocusControl", &TDBLabel::FocusControl, &TDBLabel::SetFocusControl);
c.Int("Gap", &TDBLabel::Gap, &TDBLabel::SetGap);
c.Enum("Pos", &TDBLabel::Pos, &TDBLabel::SetPos, PosTypeInfo());
RTL_END_CLASS

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) {
    SetCaption("挂靠标签");
}

void TDBLabel::SetAutoAlign(bool v) {
    if (v == FAutoAlign) return;
    FAutoAlign = v;
    Refresh();
}

void TDBLabel::SetAutoCaption(bool v) {
    if (v == FAutoCaption) return;
    FAutoCaption = v;
    Refresh();
}

void TDBLabel::SetGap(int v) {
    v &= 0xFF; // a byte, as stored
    if (v == FGap) return;
    FGap = v;
    Refresh();
}

void TDBLabel::SetPos(TPos p) {
    if (p == FPos) return;
    FPos = p;
    Refresh();
}

void TDBLabel::SetFocusControl(TWinControl* c) {
    if (c == FocusControl()) return;
    if (c && Parent())
        for (int i = 0; i < Parent()->ComponentCount(); ++i) {
            TComponent* other = Parent()->Components(i);
            if (other != this && other->InheritsFrom(TDBLabel::StaticClassInfo()) &&
                static_cast<TDBLabel*>(other)->FocusControl() == c) {
                MessageDlg("不能同时有两个 DBLabel 指到同一个 Control.", TMsgDlgType::mtError,
                           TMsgDlgButtons{TMsgDlgBtn::mbOK});
                return;
            }
        }
    TLabel::SetFocusControl(c);
    Refresh();
}

void TDBLabel::Refresh() {
    if (IsLoading()) return;
    RefreshCaption();
    AlignToControl();
}

void TDBLabel::Loaded() {
    TLabel::Loaded();
    Refresh();
}

void TDBLabel::RefreshCaption() {
    TWinControl* c = FocusControl();
    if (!FAutoCaption || !c) return;
    std::string label;
    if (DataFieldDisplayLabel(c, label)) SetCaption(label);
}

void TDBLabel::AlignToControl() {
    TWinControl* c = FocusControl();
    if (!FAutoAlign || !c) return;
    int left = Left(), top = Top();
    switch (FPos) {
    case TPos::psTop:
        left = c->Left();
        top = std::max(0, c->Top() - Height() - FGap);
        break;
    case TPos::psBottom:
        left = c->Left();
        top = std::max(0, c->Top() + c->Height() + FGap);
        break;
    case TPos::psLeft:
    case TPos::psRight:
        top = c->Height() == Height() ? c->Top() : c->Top() + c->Height() / 2 - Height() / 2;
        top = std::max(0, top);
        left = FPos == TPos::psLeft ? c->Left() - Width() - FGap : c->Left() + c->Width() + FGap;
        left = std::max(0, left);
        break;
    }
    SetBounds(left, top, Width(), Height());
}

} // namespace components
