// Registers every control class of the control modules for creation by name (form resources).
#pragma once

namespace vcl {

void RegisterCommonCtrls();

} // namespace vcl
