#include "components/CompUtils.h"

#include "platform/vcl/Controls.h"

#include "platform/rtl/TypInfo.h"

namespace components {

void SendLookupRequest(vcl::TWinControl* edit) {
    if (!edit) return;
    vcl::TComponent* owner = edit->Owner();
    if (owner && owner->InheritsFrom(vcl::TWinControl::StaticClassInfo()))
        static_cast<vcl::TWinControl*>(owner)->Perform(WM_KTLOOKUP, 0,
                                                       reinterpret_cast<intptr_t>(edit));
}

bool DataFieldDisplayLabel(vcl::TControl* control, std::string& label) {
    (void)control;
    (void)label;
    // Data-aware controls bind through a data source once the data layer is there.
    return false;
}

} // namespace components
