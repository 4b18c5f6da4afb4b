#include "components/KtSpin.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/SysUtils.h"

namespace components {

RTL_BEGIN_CLASS(TKtSpinEdit, TSpinEdit)
RTL_END_CLASS

void TKtSpinEdit::TextChanged() {
    const std::string& text = Text();
    if (text.size() > 1 && text.find_first_of("+-", 1) != std::string::npos) {
        size_t last = text.size() - 1;
        while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80)
            --last;                    // the whole last character
        SetText(text.substr(0, last)); // changes the text again: that call tells of it
        return;
    }
    if (!rtl::Trim(text).empty()) TSpinEdit::TextChanged();
}

} // namespace components
