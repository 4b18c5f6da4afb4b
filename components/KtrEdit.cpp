#include "components/KtrEdit.h"

#include "components/CompUtils.h"
#include "components/GSpdBtn.h"

#include "platform/db/DB.h"

#include "platform/rtl/ClassBuilder.h"

namespace components {

const rtl::TTypeInfo* LabelPositionTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TLabelPosition", {"lpAbove", "lpBelow", "lpLeft", "lpRight"});
    return t;
}

// ---- the parts --------------------------------------------------------------------------------

void TEditParts::CreateLabel() {
    EditLabel = new TLabel(&FEdit);
    EditLabel->SetName("EditLabel");
    EditLabel->SetCaption("");
    EditLabel->SetFocusControl(&FEdit);
    EditLabel->FreeNotification(&FEdit);
}

void TEditParts::CreateButton() {
    Button = new TGSpeedButton(&FEdit);
    Button->SetName("F2Button");
    Button->SetFlat(true);
    Button->SetGlyphIndex(GlyphIndex);
    Button->FreeNotification(&FEdit);
}

std::string TEditParts::Caption() const {
    return EditLabel ? EditLabel->Caption() : std::string();
}

void TEditParts::SetCaption(const std::string& s) {
    if (!EditLabel) return;
    EditLabel->SetCaption(s);
    PlaceLabel();
}

void TEditParts::PlaceLabel() {
    if (!EditLabel) return;
    const int s = LabelSpacing;
    if (s < 0) return; // a negative spacing is ignored
    const int l = FEdit.Left(), t = FEdit.Top(), w = FEdit.Width(), h = FEdit.Height();
    const int lw = EditLabel->Width(), lh = EditLabel->Height();
    int left = l, top = t;
    switch (LabelPosition) {
    case TLabelPosition::lpAbove:
        top = t - lh - s;
        break;
    case TLabelPosition::lpBelow:
        top = t + h + s;
        break;
    case TLabelPosition::lpLeft:
        left = l - lw - s;
        top = t + (h - lh) / 2;
        break;
    case TLabelPosition::lpRight:
        left = l + w + s;
        top = t + (h - lh) / 2;
        break;
    }
    EditLabel->SetBounds(left, top, lw, lh);
}

void TEditParts::PlaceButton() {
    if (!Button) return;
    Button->SetBounds(FEdit.Left() + FEdit.Width() + ButtonSpacing, FEdit.Top(), FEdit.Height(),
                      FEdit.Height());
}

void TEditParts::SetGlyphIndex(int n) {
    if (!Button) return;
    Button->SetGlyphIndex(n);
    GlyphIndex = n;
}

std::string TEditParts::ButtonHint() const {
    return Button ? Button->Hint() : std::string();
}

void TEditParts::SetButtonHint(const std::string& s) {
    if (Button) Button->SetHint(s);
}

void TEditParts::Follow() {
    for (TControl* part : {static_cast<TControl*>(EditLabel), static_cast<TControl*>(Button)}) {
        if (!part) continue;
        part->SetParent(FEdit.Parent());
        part->SetEnabled(FEdit.Enabled());
        part->SetVisible(FEdit.Visible());
    }
}

void TEditParts::Forget(TComponent* component) {
    if (component == EditLabel) EditLabel = nullptr;
    if (component == Button) Button = nullptr;
}

void TEditParts::ButtonClick() {
    if (OnDialog && OnDialog->Assigned()) {
        (*OnDialog)(&FEdit);
        return;
    }
    if (FEdit.CanFocus()) FEdit.SetFocus();
    if (FEdit.Focused()) SendLookupRequest(&FEdit);
}

// ---- the edits --------------------------------------------------------------------------------

#define KT_EDIT_METHODS(Class, Base)                                                               \
    void Class::SetBounds(int left, int top, int width, int height) {                              \
        Base::SetBounds(left, top, width, height);                                                 \
        FParts.PlaceLabel();                                                                       \
        FParts.PlaceButton();                                                                      \
    }                                                                                              \
    void Class::SetParent(TWinControl* parent) {                                                   \
        Base::SetParent(parent);                                                                   \
        FParts.Follow();                                                                           \
    }                                                                                              \
    void Class::Notification(TComponent* component, TOperation operation) {                        \
        Base::Notification(component, operation);                                                  \
        if (operation == TOperation::opRemove) FParts.Forget(component);                           \
    }                                                                                              \
    void Class::EnabledChanged() {                                                                 \
        Base::EnabledChanged();                                                                    \
        FParts.Follow();                                                                           \
    }                                                                                              \
    void Class::Changed() {                                                                        \
        Base::Changed();                                                                           \
        if (FParts.EditLabel && FParts.EditLabel->Visible() != Visible()) FParts.Follow();         \
        if (FParts.Button && FParts.Button->Visible() != Visible()) FParts.Follow();               \
    }                                                                                              \
    void Class::Loaded() {                                                                         \
        Base::Loaded();                                                                            \
        FParts.PlaceLabel();                                                                       \
        FParts.PlaceButton();                                                                      \
    }

KT_EDIT_METHODS(TKtEdit, TEdit)
KT_EDIT_METHODS(TKtDBEdit, TEdit)
#undef KT_EDIT_METHODS

RTL_BEGIN_CLASS(TKtEdit, TEdit)
c.Str("Caption", &TKtEdit::Caption, &TKtEdit::SetCaption);
c.Enum("LabelPosition", &TKtEdit::LabelPosition, &TKtEdit::SetLabelPosition,
       LabelPositionTypeInfo());
c.Int("LabelSpacing", &TKtEdit::LabelSpacing, &TKtEdit::SetLabelSpacing);
RTL_END_CLASS

TKtEdit::TKtEdit(TComponent* owner) : TEdit(owner) {
    FParts.CreateLabel();
}

RTL_BEGIN_CLASS(TKtBtnEdit, TKtEdit)
c.Int("ButtonSpacing", &TKtBtnEdit::ButtonSpacing, &TKtBtnEdit::SetButtonSpacing);
c.Int("GlyphIndex", &TKtBtnEdit::GlyphIndex, &TKtBtnEdit::SetGlyphIndex);
c.Str("ButtonHint", &TKtBtnEdit::ButtonHint, &TKtBtnEdit::SetButtonHint);
c.Event("OnDialog", &TKtBtnEdit::FOnDialog);
RTL_END_CLASS

TKtBtnEdit::TKtBtnEdit(TComponent* owner) : TKtEdit(owner) {
    FParts.OnDialog = &FOnDialog;
    FParts.CreateButton();
    FParts.Button->FOnClick = rtl::MethodOf<&TKtBtnEdit::F2ButtonClick>(this);
    FParts.PlaceButton();
}

void TKtBtnEdit::F2ButtonClick(TObject*) {
    FParts.ButtonClick();
}

RTL_BEGIN_CLASS(TKtDBEdit, TEdit)
c.Str("Caption", &TKtDBEdit::Caption, &TKtDBEdit::SetCaption);
c.Enum("LabelPosition", &TKtDBEdit::LabelPosition, &TKtDBEdit::SetLabelPosition,
       LabelPositionTypeInfo());
c.Int("LabelSpacing", &TKtDBEdit::LabelSpacing, &TKtDBEdit::SetLabelSpacing);
c.Str("DataField", &TKtDBEdit::DataField, &TKtDBEdit::SetDataField);
c.Obj("DataSource", &TKtDBEdit::DataSource, &TKtDBEdit::SetDataSource);
RTL_END_CLASS

TKtDBEdit::TKtDBEdit(TComponent* owner) : TEdit(owner) {
    FParts.CreateLabel();
}

void TKtDBEdit::SetDataField(const std::string& name) {
    FDataField = name;
    std::string label;
    if (IsDesigning() && FParts.EditLabel && DataFieldDisplayLabel(this, label)) SetCaption(label);
}

void TKtDBEdit::SetDataSource(db::TDataSource* source) {
    if (source == FDataSource) return;
    if (FDataSource) FDataSource->RemoveFreeNotification(this);
    FDataSource = source;
    if (source) source->FreeNotification(this);
}

RTL_BEGIN_CLASS(TKtBtnDBEdit, TKtDBEdit)
c.Int("ButtonSpacing", &TKtBtnDBEdit::ButtonSpacing, &TKtBtnDBEdit::SetButtonSpacing);
c.Int("GlyphIndex", &TKtBtnDBEdit::GlyphIndex, &TKtBtnDBEdit::SetGlyphIndex);
c.Str("ButtonHint", &TKtBtnDBEdit::ButtonHint, &TKtBtnDBEdit::SetButtonHint);
c.Event("OnDialog", &TKtBtnDBEdit::FOnDialog);
RTL_END_CLASS

TKtBtnDBEdit::TKtBtnDBEdit(TComponent* owner) : TKtDBEdit(owner) {
    FParts.OnDialog = &FOnDialog;
    FParts.CreateButton();
    FParts.Button->FOnClick = rtl::MethodOf<&TKtBtnDBEdit::F2ButtonClick>(this);
    FParts.PlaceButton();
}

void TKtBtnDBEdit::F2ButtonClick(TObject*) {
    FParts.ButtonClick();
}

} // namespace components
