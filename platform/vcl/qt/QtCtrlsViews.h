// Views of the further control modules (masked edits, memos, radio buttons, combo and list
// boxes, list views, bit buttons). They register themselves when the module is linked;
// calling this again is harmless.
#pragma once

namespace vcl::qt {

void RegisterCtrlsViews();

} // namespace vcl::qt
