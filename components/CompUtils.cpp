#include "components/CompUtils.h"

#include "components/BtChkBox.h"
#include "components/DBLabel.h"
#include "components/ExtPage.h"
#include "components/F2Button.h"
#include "components/GSpdBtn.h"
#include "components/KtRadioButton.h"
#include "components/KtRadioGroup.h"
#include "components/KtSpin.h"
#include "components/KtrEdit.h"

#include "platform/db/DB.h"
#include "platform/vcl/CommonCtrls.h"
#include "platform/vcl/Controls.h"

#include "platform/rtl/TypInfo.h"

namespace components {

using namespace vcl;

void SendLookupRequest(vcl::TWinControl* edit) {
    if (!edit) return;
    vcl::TComponent* owner = edit->Owner();
    if (owner && owner->InheritsFrom(vcl::TWinControl::StaticClassInfo()))
        static_cast<vcl::TWinControl*>(owner)->Perform(WM_KTLOOKUP, 0,
                                                       reinterpret_cast<intptr_t>(edit));
}

void RegisterComponentClasses() {
    static const bool done = [] {
        vcl::RegisterStdCtrls();
        vcl::RegisterCommonCtrls();
        for (const rtl::TClassInfo* c :
             {&TBitCheckBox::StaticClassInfo(), &TDBLabel::StaticClassInfo(),
              &TExtPageControl::StaticClassInfo(), &TF2Button::StaticClassInfo(),
              &TGSpeedButton::StaticClassInfo(), &TKtRadioButton::StaticClassInfo(),
              &TKtGroupButton::StaticClassInfo(), &TKtRadioGroup::StaticClassInfo(),
              &TKtSpinEdit::StaticClassInfo(), &TKtEdit::StaticClassInfo(),
              &TKtBtnEdit::StaticClassInfo(), &TKtDBEdit::StaticClassInfo(),
              &TKtBtnDBEdit::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

bool DataFieldDisplayLabel(vcl::TControl* control, std::string& label) {
    if (!control || !rtl::GetPropInfo(control, "DataSource") ||
        !rtl::GetPropInfo(control, "DataField"))
        return false;
    rtl::TObject* source = rtl::GetObjectProp(control, "DataSource");
    if (!source || !source->InheritsFrom(db::TDataSource::StaticClassInfo())) return false;
    db::TDataSet* data = static_cast<db::TDataSource*>(source)->DataSet();
    if (!data) return false;
    db::TField* field = data->FindField(rtl::GetStrProp(control, "DataField"));
    if (!field) return false;
    label = field->DisplayLabel();
    return true;
}

} // namespace components
