#include "platform/vcl/CommonCtrls.h"

#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"

namespace vcl {

void RegisterCommonCtrls() {
    RegisterStdCtrls();
    RegisterMask();
    RegisterButtons();
    RegisterComCtrls();
    RegisterExtCtrls();
    RegisterMenus();
    RegisterSpin();
    RegisterGrids();
}

} // namespace vcl
