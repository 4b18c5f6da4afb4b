// Collections of items with published properties (columns of a list view, panels of a status
// bar), as Delphi's TCollection: the form reader fills them from "Columns = < item ... end >".
#pragma once

#include "platform/vcl/Component.h"

#include <functional>
#include <string>
#include <vector>

namespace vcl {

class TCollection;

class TCollectionItem : public TPersistent {
    RTL_DECLARE_CLASS(TCollectionItem, TPersistent)
public:
    using OwnerType = TCollection;
    // Joins the collection (when given) at its end.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* collection);
    int Index() const;
    // Moves the item within its collection (clamped to the valid range).
    void SetIndex(int index);
    int ID() const { return FID; }
    virtual std::string DisplayName() const { return ClassName(); }
    std::string GetNamePath() const override;

protected:
    // Tells the collection that this item (or, with allItems, every item) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
    RTL_DECLARE_CLASS(TCollection, TPersistent)
public:
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    TCollection(TItemFactory factory, TPersistent* owner);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError "List index out of bounds (n)" outside 0…Count-1.
    TCollectionItem* GetItem(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    // Copies item by item (each item assigns from its counterpart).
    void Assign(const TPersistent* source) override;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // The component that holds the collection, for names ("ListView1.Columns").
    TPersistent* Owner() const { return FOwner; }
    void SetOwner(TPersistent* owner) { FOwner = owner; }
    std::string PropName = "Items";
    std::string GetNamePath() const override;

protected:
    // After a change of one item, or of all (item null); not while an update is pending.
    virtual void Update(TCollectionItem* /*item*/) {}
    // An item joined (added true) or is leaving.
    virtual void Notify(TCollectionItem* /*item*/, bool /*added*/) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    TItemFactory FFactory;
    std::vector<TCollectionItem*> FItems;
    TPersistent* FOwner = nullptr;
    int FNextID = 0;
    int FUpdateCount = 0;
    bool FClearing = false;
};

// A collection of items of one class.
template <class Item> class TOwnedCollection : public TCollection {
public:
    explicit TOwnedCollection(TPersistent* owner)
        : TCollection([](TCollection* c) -> TCollectionItem* { return new Item(c); }, owner) {}
    Item* Items(int index) const { return static_cast<Item*>(GetItem(index)); }
    Item* AddItem() { return static_cast<Item*>(Add()); }
};

} // namespace vcl
