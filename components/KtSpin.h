// A spin edit that drops a sign typed after the first character.
#pragma once

#include "platform/vcl/Spin.h"

namespace components {

using namespace vcl;

class TKtSpinEdit : public TSpinEdit {
    RTL_DECLARE_CLASS(TKtSpinEdit, TSpinEdit)
public:
    using TSpinEdit::TSpinEdit;

protected:
    // Cuts the last character while a "+" or "-" stands after the first; tells of the change
    // only when something other than blanks remains.
    void TextChanged() override;
};

} // namespace components
