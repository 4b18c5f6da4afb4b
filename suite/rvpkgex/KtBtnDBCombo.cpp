#include "suite/rvpkgex/KtBtnDBCombo.h"

#include "platform/rtl/ClassBuilder.h"

namespace rvpkgex {

RTL_BEGIN_CLASS(TKtBtnDBCombo, TComboBox)
c.Str("DataField", &TKtBtnDBCombo::DataField, &TKtBtnDBCombo::SetDataField);
c.Event("OnButtonClick", &TKtBtnDBCombo::FOnButtonClick);
RTL_END_CLASS

TKtBtnDBCombo::TKtBtnDBCombo(TComponent* owner) : TComboBox(owner) {
    FButton = new TSpeedButton(this);
    FButton->SetName("Button");
    FButton->SetFlat(true);
    FButton->FreeNotification(this);
    FButton->FOnClick = rtl::MethodOf<&TKtBtnDBCombo::ButtonClicked>(this);
    PlaceButton();
}

void TKtBtnDBCombo::ButtonClicked(TObject*) {
    FOnButtonClick(this);
}

void TKtBtnDBCombo::PlaceButton() {
    if (FButton) FButton->SetBounds(Left() + Width(), Top(), Height(), Height());
}

void TKtBtnDBCombo::SetBounds(int left, int top, int width, int height) {
    TComboBox::SetBounds(left, top, width, height);
    PlaceButton();
}

void TKtBtnDBCombo::SetParent(TWinControl* parent) {
    TComboBox::SetParent(parent);
    if (FButton) FButton->SetParent(parent);
}

void TKtBtnDBCombo::EnabledChanged() {
    TComboBox::EnabledChanged();
    if (FButton) FButton->SetEnabled(Enabled());
}

void TKtBtnDBCombo::Notification(TComponent* component, TOperation operation) {
    TComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FButton) FButton = nullptr;
}

void RegisterRvPkgEx() {
    (void)TKtBtnDBCombo::StaticClassInfo();
}

} // namespace rvpkgex
