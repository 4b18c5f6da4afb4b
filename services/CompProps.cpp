#include "services/CompProps.h"

namespace {

// The property when it exists and has the accessor asked for.
const rtl::TPropInfo* Find(const rtl::TObject* obj, std::string_view name) {
    return obj && !name.empty() ? rtl::GetPropInfo(obj, name) : nullptr;
}

} // namespace

bool HasProperty(const rtl::TObject* component, std::string_view name) {
    return Find(component, name) != nullptr;
}

std::string GetStrProperty(const rtl::TObject* component, std::string_view name) {
    const rtl::TPropInfo* p = Find(component, name);
    return p && p->GetStr ? p->GetStr(component) : std::string();
}

void SetStrProperty(rtl::TObject* component, std::string_view name, const std::string& value) {
    const rtl::TPropInfo* p = Find(component, name);
    if (p && p->SetStr) p->SetStr(component, value);
}

int64_t GetOrdProperty(const rtl::TObject* control, std::string_view name) {
    const rtl::TPropInfo* p = Find(control, name);
    return p && p->GetOrd ? p->GetOrd(control) : 0;
}

void SetOrdProperty(rtl::TObject* component, std::string_view name, int64_t value) {
    const rtl::TPropInfo* p = Find(component, name);
    if (p && p->SetOrd) p->SetOrd(component, value);
}

rtl::TMethod GetMethodProperty(const rtl::TObject* instance, std::string_view name) {
    const rtl::TPropInfo* p = Find(instance, name);
    return p && p->GetMethod ? p->GetMethod(instance) : rtl::TMethod{};
}

void SetMethodProperty(rtl::TObject* instance, std::string_view name, const rtl::TMethod& method) {
    const rtl::TPropInfo* p = Find(instance, name);
    if (p && p->SetMethod) p->SetMethod(instance, method);
}
