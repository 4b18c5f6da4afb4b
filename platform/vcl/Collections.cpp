#include "platform/vcl/Collections.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

RTL_BEGIN_ABSTRACT_CLASS(TCollectionItem, TPersistent)
RTL_END_CLASS

RTL_BEGIN_ABSTRACT_CLASS(TCollection, TPersistent)
RTL_END_CLASS

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection) SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    const auto& v = FCollection->FItems;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void TCollectionItem::SetIndex(int index) {
    int cur = Index();
    if (cur < 0 || index == cur) return;
    auto& v = FCollection->FItems;
    index = std::clamp(index, 0, static_cast<int>(v.size()) - 1);
    v.erase(v.begin() + cur);
    v.insert(v.begin() + index, this);
    Changed(true);
}

std::string TCollectionItem::GetNamePath() const {
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems) {
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory factory, TPersistent* owner)
    : FFactory(std::move(factory)), FOwner(owner) {}

TCollection::~TCollection() {
    FUpdateCount = 1; // no updates while the items go
    Clear();
}

TCollectionItem* TCollection::GetItem(int index) const {
    if (index < 0 || index >= Count())
        throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
    return FItems[size_t(index)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = FFactory(this);
    if (item->FCollection != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    delete GetItem(index);
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TCollection::StaticClassInfo())) {
        if (source == this) return;
        const auto* other = static_cast<const TCollection*>(source);
        BeginUpdate();
        try {
            Clear();
            for (TCollectionItem* item : other->FItems)
                Add()->Assign(item);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

std::string TCollection::GetNamePath() const {
    if (!FOwner) return ClassName();
    std::string owner = FOwner->GetNamePath();
    return owner.empty() ? PropName : owner + "." + PropName;
}

void TCollection::InsertItem(TCollectionItem* item) {
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, true);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, false);
    FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
    item->FCollection = nullptr;
    Changed();
}

} // namespace vcl
