// A caption label that places itself beside a control and can take its caption from the
// control's data field.
#pragma once

#include "platform/vcl/StdCtrls.h"

namespace components {

using namespace vcl;

enum class TPos : uint8_t { psTop, psLeft, psRight, psBottom };
const rtl::TTypeInfo* PosTypeInfo();

class TDBLabel : public TLabel {
    RTL_DECLARE_CLASS(TDBLabel, TLabel)
public:
    explicit TDBLabel(TComponent* owner);

    bool AutoAlign() const { return FAutoAlign; }
    void SetAutoAlign(bool v);
    bool AutoCaption() const { return FAutoCaption; }
    void SetAutoCaption(bool v);
    // Binding refuses a control another TDBLabel of the same parent already points to.
    TWinControl* FocusControl() const { return TLabel::FocusControl(); }
    void SetFocusControl(TWinControl* c);
    int Gap() const { return FGap; }
    void SetGap(int v);
    TPos Pos() const { return FPos; }
    void SetPos(TPos p);

    // The caption from the bound control's data field (when it has one).
    void RefreshCaption();
    // Places the label beside its control.
    void AlignToControl();

protected:
    void Loaded() override;

private:
    void Refresh();
    bool FAutoAlign = true, FAutoCaption = true;
    int FGap = 4;
    TPos FPos = TPos::psLeft;
};

} // namespace components
