// The maker's lookup combo (package RvPkgEx): a data-aware combo box with a lookup button at
// its right. The plug-in's forms do not use it; the base form only recognises it and reaches
// its button's images, so this stand-in holds no more than that.
#pragma once

#include "platform/vcl/Buttons.h"
#include "platform/vcl/StdCtrls.h"

namespace rvpkgex {

using namespace vcl;

class TKtBtnDBCombo : public TComboBox {
    RTL_DECLARE_CLASS(TKtBtnDBCombo, TComboBox)
public:
    explicit TKtBtnDBCombo(TComponent* owner);
    // The lookup button: square, as high as the combo, right beside it. Null once freed.
    TSpeedButton* Button() const { return FButton; }
    const std::string& DataField() const { return FDataField; }
    void SetDataField(const std::string& s) { FDataField = s; }
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    TNotifyEvent FOnButtonClick;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void EnabledChanged() override;

private:
    void ButtonClicked(TObject*);
    void PlaceButton();
    TSpeedButton* FButton = nullptr;
    std::string FDataField;
};

// References the package's classes so that reading a form can make them.
void RegisterRvPkgEx();

} // namespace rvpkgex
