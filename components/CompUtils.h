// What the condition-input controls share: the lookup request and the data-field caption.
#pragma once

#include <cstdint>
#include <string>

namespace vcl {
class TControl;
class TWinControl;
} // namespace vcl

namespace components {

// The private message by which a control asks its form for a code lookup: first parameter 0,
// second the edit.
constexpr uint32_t WM_KTLOOKUP = 0x0400 + 10;

// Sends the lookup request for edit to the window of its owner, synchronously; nothing
// happens when the owner is not a windowed control.
void SendLookupRequest(vcl::TWinControl* edit);

// Makes sure every class of the condition-input controls (and the platform's controls they
// stand on) can be created by name when a form is read.
void RegisterComponentClasses();

// The display label of the field a data-aware control edits (its published DataSource with a
// data set, and its DataField); false when there is none.
bool DataFieldDisplayLabel(vcl::TControl* control, std::string& label);

} // namespace components
