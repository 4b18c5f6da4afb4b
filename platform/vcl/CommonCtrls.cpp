#include "platform/vcl/CommonCtrls.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

namespace vcl {

void RegisterCommonCtrls() {
    RegisterStdCtrls();
    RegisterMask();
    RegisterComCtrls();
}

} // namespace vcl
