#include "platform/vcl/Component.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

RTL_BEGIN_CLASS(TComponent, TPersistent)
c.Str("Name", &TComponent::Name, &TComponent::SetName);
c.Int("Tag", &TComponent::Tag, &TComponent::SetTag);
RTL_END_CLASS

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_';
    };
    if (!alpha(name[0])) return false;
    for (char ch : name)
        if (!alpha(ch) && !(ch >= '0' && ch <= '9')) return false;
    return true;
}

TComponent* CreateComponent(const TClassInfo& cls, TComponent* owner) {
    if (!cls.Create || !cls.InheritsFrom(&TComponent::StaticClassInfo()))
        throw EComponentError("Cannot create an instance of " + cls.Name);
    return static_cast<TComponent*>(cls.Create(owner));
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell everyone who holds a reference; each entry is taken off first, so a Notification
    // that does not call the inherited one cannot loop.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::BeforeDestruction() {
    if (!IsDestroying()) Destroying();
}

void TComponent::Destroying() {
    if (IsDestroying()) return;
    FComponentState.Include(TComponentStateItem::csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::SetDesigning(bool value, bool children) {
    SetComponentState(TComponentStateItem::csDesigning, value);
    if (children)
        for (TComponent* c : FComponents)
            c->SetDesigning(value, true);
}

void TComponent::SetComponentState(TComponentStateItem s, bool on) {
    if (on)
        FComponentState.Include(s);
    else
        FComponentState.Exclude(s);
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (rtl::SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName) {
    if (component && !rtl::SameText(curName, newName) && !newName.empty()) {
        TComponent* other = FindComponent(newName);
        if (other && other != component)
            throw EComponentError("A component named " + newName + " already exists");
    }
}

void TComponent::SetName(const std::string& name) {
    if (FName == name) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (FOwner)
        FOwner->ValidateRename(this, FName, name);
    else
        ValidateRename(nullptr, FName, name);
    FName = name;
}

void TComponent::Insert(TComponent* c) {
    FComponents.push_back(c);
    c->FOwner = this;
}

void TComponent::Remove(TComponent* c) {
    c->FOwner = nullptr;
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), c), FComponents.end());
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component) return;
    if (!component->FName.empty()) ValidateRename(component, "", component->FName);
    ValidateInsert(component);
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    Insert(component);
    NotifyInsertRemove(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    NotifyInsertRemove(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::NotifyInsertRemove(TComponent* component, TOperation operation) {
    // The owner and, through it, everything it owns hear of it.
    Notification(component, operation);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        NotifyInsertRemove(c, TOperation::opRemove);
        Remove(c);
        c->Free();
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // Propagate to the owned components; the list may shrink while it is walked.
    for (size_t i = FComponents.size(); i-- > 0;) {
        if (i >= FComponents.size()) continue;
        if (FComponents[i] != component) FComponents[i]->Notification(component, operation);
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(component);
        component->FreeNotification(this);
    }
    FComponentState.Include(TComponentStateItem::csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
    if (it == FFreeNotifies.end()) return;
    FFreeNotifies.erase(it);
    component->RemoveFreeNotification(this);
}

void TComponent::BeginLoading() {
    FComponentState.Include(TComponentStateItem::csLoading);
    FComponentState.Include(TComponentStateItem::csReading);
}

void TComponent::EndLoading() {
    FComponentState.Exclude(TComponentStateItem::csReading);
    FComponentState.Exclude(TComponentStateItem::csLoading);
    Loaded();
}

void TComponent::AbortLoading() {
    FComponentState.Exclude(TComponentStateItem::csReading);
    FComponentState.Exclude(TComponentStateItem::csLoading);
}

void TComponent::Loaded() {
    FComponentState.Exclude(TComponentStateItem::csLoading);
}

} // namespace vcl
