// Published properties of components read and written by name. A missing component, an empty
// name or a property the component does not have is not an error: reads answer the empty value,
// writes do nothing.
#pragma once

#include "platform/rtl/TypInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {
class TObject;
}

bool HasProperty(const rtl::TObject* component, std::string_view name);
std::string GetStrProperty(const rtl::TObject* component, std::string_view name);
void SetStrProperty(rtl::TObject* component, std::string_view name, const std::string& value);
int64_t GetOrdProperty(const rtl::TObject* control, std::string_view name);
void SetOrdProperty(rtl::TObject* component, std::string_view name, int64_t value);
rtl::TMethod GetMethodProperty(const rtl::TObject* instance, std::string_view name);
void SetMethodProperty(rtl::TObject* instance, std::string_view name, const rtl::TMethod& method);
