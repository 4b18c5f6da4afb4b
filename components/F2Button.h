// A lookup button that sits at the right of a given edit and asks the form for a lookup of it.
#pragma once

#include "components/GSpdBtn.h"

namespace components {

class TF2Button : public TGSpeedButton {
    RTL_DECLARE_CLASS(TF2Button, TGSpeedButton)
public:
    explicit TF2Button(TComponent* owner);
    bool AutoAlign() const { return FAutoAlign; }
    void SetAutoAlign(bool v);
    TWinControl* F2Control() const { return FF2Control; }
    // Refuses a control another TF2Button of the same parent is bound to.
    void SetF2Control(TWinControl* c);
    int Gap() const { return FGap; }
    void SetGap(int v);
    // Square, as high as the control, Gap pixels to its right.
    void AlignToControl();
    // OnClick, then the lookup request of the bound control once it holds the focus.
    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    bool FAutoAlign = true;
    TWinControl* FF2Control = nullptr;
    int FGap = 2;
};

} // namespace components
