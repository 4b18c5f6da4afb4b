// TComponent: ownership, names, state and free notification, as in Delphi's Classes unit.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/TypInfo.h"

#include <string>
#include <string_view>
#include <vector>

namespace vcl {

using rtl::TClassInfo;
using rtl::TMethod;
using rtl::TNotifyEvent;
using rtl::TObject;
using rtl::TPersistent;
using rtl::TSet;
using rtl::TStringList;
using rtl::TStrings;

RTL_EXCEPTION_CLASS(EComponentError, rtl::Exception);

enum class TComponentStateItem : uint8_t {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    RTL_DECLARE_CLASS(TComponent, TPersistent)
public:
    using OwnerType = TComponent;

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Frees the component as Delphi's Free does: BeforeDestruction (the destroying state,
    // OnDestroy of forms) runs while the object is still whole, then the destructors.
    void Free();
    void BeforeDestruction() override;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // EComponentError "A component named X already exists" / "'1x' is not a valid component name"
    virtual void SetName(const std::string& name);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(size_t(index)); }
    int ComponentIndex() const;
    // A component owned by this one, by name without regard to case; null when none.
    TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    TComponentState ComponentState() const { return FComponentState; }
    bool HasState(TComponentStateItem s) const { return FComponentState.Contains(s); }
    bool IsLoading() const { return HasState(TComponentStateItem::csLoading); }
    bool IsDestroying() const { return HasState(TComponentStateItem::csDestroying); }
    bool IsDesigning() const { return HasState(TComponentStateItem::csDesigning); }
    // Marks this component and everything it owns as being destroyed.
    void Destroying();
    void SetDesigning(bool value, bool children = true);

    // Asks component to tell this one (Notification opRemove) when it is destroyed; works for
    // components of other owners too. Outside references are kept this way.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    std::string GetNamePath() const override { return FName; }

    // A component read from a resource inside another's block: controls take it as their
    // parent; others ignore it.
    virtual void SetParentComponent(TComponent* /*parent*/) {}
    // Reading from a form resource: the loader brackets the reading of each component.
    void BeginLoading();
    // Ends the loading state and runs Loaded.
    void EndLoading();
    // Ends the loading state without Loaded (the resource failed).
    void AbortLoading();

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Runs once all properties of the resource were read.
    virtual void Loaded();
    virtual void ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName);
    virtual void ValidateInsert(TComponent*) {}
    void SetComponentState(TComponentStateItem s, bool on);

private:
    void Insert(TComponent* c);
    void Remove(TComponent* c);
    void NotifyInsertRemove(TComponent* component, TOperation operation);

    TComponent* FOwner = nullptr;
    std::string FName;
    int FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
};

// Creates a component of class C through its class chain, as a class reference would.
template <class C> C* Create(TComponent* owner) {
    return rtl::CreateObject<C>(owner);
}

// Creates a component of a registered class by its information (EComponentError when the
// class cannot be created).
TComponent* CreateComponent(const TClassInfo& cls, TComponent* owner);

// Frees and clears a pointer, as FreeAndNil.
template <class C> void FreeAndNil(C*& p) {
    C* q = p;
    p = nullptr;
    if (q) q->Free();
}

bool IsValidIdent(std::string_view name);

} // namespace vcl
