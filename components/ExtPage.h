// A page control whose tabs are drawn in the caption colours of the system: the active tab as
// an active window caption, the others as inactive ones.
#pragma once

#include "platform/vcl/ComCtrls.h"

namespace components {

using namespace vcl;

class TExtPageControl : public TPageControl {
    RTL_DECLARE_CLASS(TExtPageControl, TPageControl)
public:
    explicit TExtPageControl(TComponent* owner);

protected:
    void DrawTab(int tabIndex, const TRect& rect, bool active) override;
};

} // namespace components
