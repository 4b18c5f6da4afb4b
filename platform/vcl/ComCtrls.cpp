#include "platform/vcl/ComCtrls.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

namespace {

[[noreturn]] void IndexError(int index) {
    throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
}

int CompareCaptions(const std::string& a, const std::string& b) {
    // Letters before case, as a word sort does ("abc" < "ABD" < "abe").
    int c = rtl::CompareText(a, b);
    if (c != 0) return c;
    return b.compare(a); // lower case first on a tie
}

} // namespace

const rtl::TTypeInfo* ViewStyleTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"});
    return t;
}

const rtl::TTypeInfo* SortTypeTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TSortType", {"stNone", "stData", "stText", "stBoth"});
    return t;
}

// ---- Columns -------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TListColumn, TCollectionItem)
c.Str("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
c.Int("Width", &TListColumn::Width, &TListColumn::SetWidth);
c.Enum("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment, AlignmentTypeInfo());
c.Bool("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize);
c.Int("MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth);
c.Int("MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth);
c.Int("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex);
c.Int("Tag", &TListColumn::Tag, &TListColumn::SetTag);
RTL_END_CLASS

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

void TListColumn::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TListColumn::StaticClassInfo())) {
        const auto* o = static_cast<const TListColumn*>(source);
        FCaption = o->FCaption;
        FWidth = o->FWidth;
        FAlignment = o->FAlignment;
        FAutoSize = o->FAutoSize;
        FMinWidth = o->FMinWidth;
        FMaxWidth = o->FMaxWidth;
        FImageIndex = o->FImageIndex;
        FTag = o->FTag;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TListColumn::SetCaption(const std::string& v) {
    if (v == FCaption) return;
    FCaption = v;
    Changed(false);
}

void TListColumn::SetWidth(int v) {
    if (v >= 0) {
        if (FMinWidth > 0 && v < FMinWidth) v = FMinWidth;
        if (FMaxWidth > 0 && v > FMaxWidth) v = FMaxWidth;
    }
    if (v == FWidth) return;
    FWidth = v;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(false);
}

void TListColumn::SetAutoSize(bool v) {
    if (v == FAutoSize) return;
    FAutoSize = v;
    Changed(false);
}

void TListColumn::SetMinWidth(int v) {
    FMinWidth = std::max(0, v);
    if (FWidth >= 0 && FWidth < FMinWidth) SetWidth(FMinWidth);
}

void TListColumn::SetMaxWidth(int v) {
    FMaxWidth = std::max(0, v);
    if (FMaxWidth > 0 && FWidth > FMaxWidth) SetWidth(FMaxWidth);
}

void TListColumn::SetImageIndex(int v) {
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed(false);
}

std::string TListColumn::DisplayName() const {
    return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption;
}

RTL_BEGIN_ABSTRACT_CLASS(TListColumns, TCollection)
RTL_END_CLASS

TListColumns::TListColumns(TCustomListView* owner)
    : TOwnedCollection<TListColumn>(owner), FListView(owner) {
    PropName = "Columns";
}

void TListColumns::Update(TCollectionItem*) {
    if (FListView) FListView->ViewChanged(TViewChange::vcState);
}

// ---- Items ---------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TListItem, TPersistent)
c.Str("Caption", &TListItem::Caption, &TListItem::SetCaption);
c.Obj("SubItems", &TListItem::SubItems, &TListItem::SetSubItems);
c.Bool("Checked", &TListItem::Checked, &TListItem::SetChecked);
c.Int("ImageIndex", &TListItem::ImageIndex, &TListItem::SetImageIndex);
c.Int("StateIndex", &TListItem::StateIndex, &TListItem::SetStateIndex);
RTL_END_CLASS

TListItem::TListItem(TListItems* owner)
    : FOwner(owner), FSubItems(std::make_unique<TStringList>()) {
    FSubItems->Duplicates = rtl::TDuplicates::dupAccept;
    FSubItems->OnChange = rtl::MethodOf<&TListItem::SubItemsChanged>(this);
}

TListItem::~TListItem() {
    FSubItems->OnChange = {};
    if (FOwner && !FDeleting) FOwner->Remove(this);
}

TCustomListView* TListItem::ListView() const {
    return FOwner ? FOwner->Owner() : nullptr;
}

int TListItem::Index() const {
    return FOwner ? FOwner->IndexOf(this) : -1;
}

void TListItem::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TListItem::StaticClassInfo())) {
        const auto* o = static_cast<const TListItem*>(source);
        SetCaption(o->FCaption);
        FSubItems->Assign(*o->FSubItems);
        SetImageIndex(o->FImageIndex);
        SetStateIndex(o->FStateIndex);
        SetChecked(o->FChecked);
        FData = o->FData;
        return;
    }
    TPersistent::Assign(source);
}

void TListItem::SetCaption(const std::string& v) {
    if (v == FCaption) return;
    FCaption = v;
    if (TCustomListView* lv = ListView()) lv->TextChanged(this);
}

void TListItem::SetSubItems(TStrings* v) {
    if (v) FSubItems->Assign(*v);
}

void TListItem::SubItemsChanged(TObject*) {
    if (TCustomListView* lv = ListView()) lv->TextChanged(this);
}

void TListItem::SetChecked(bool v) {
    if (v == FChecked) return;
    TCustomListView* lv = ListView();
    if (lv && !lv->CanChange(this, TItemChange::ctState)) return;
    FChecked = v;
    if (lv) lv->Change(this, TItemChange::ctState);
}

void TListItem::SetSelected(bool v) {
    if (TCustomListView* lv = ListView())
        lv->ChangeState(this, v, FFocused);
    else
        FSelected = v;
}

void TListItem::SetFocused(bool v) {
    if (TCustomListView* lv = ListView())
        lv->ChangeState(this, FSelected, v);
    else
        FFocused = v;
}

void TListItem::SetImageIndex(int v) {
    if (v == FImageIndex) return;
    TCustomListView* lv = ListView();
    if (lv && !lv->CanChange(this, TItemChange::ctImage)) return;
    FImageIndex = v;
    if (lv) lv->Change(this, TItemChange::ctImage);
}

void TListItem::SetStateIndex(int v) {
    if (v == FStateIndex) return;
    FStateIndex = v;
    if (TCustomListView* lv = ListView()) lv->ViewChanged(TViewChange::vcState);
}

void TListItem::Delete() {
    if (FOwner)
        FOwner->Delete(Index());
    else
        delete this;
}

bool TListItem::EditCaption() {
    TCustomListView* lv = ListView();
    if (!lv || !lv->CanEdit(this)) return false;
    lv->FEditing = this;
    lv->ViewChanged(TViewChange::vcState);
    return true;
}

void TListItem::CancelEdit() {
    TCustomListView* lv = ListView();
    if (lv && lv->FEditing == this) lv->CancelEditCaption();
}

RTL_BEGIN_ABSTRACT_CLASS(TListItems, TPersistent)
RTL_END_CLASS

TListItems::TListItems(TCustomListView* owner) : FOwner(owner) {}

TListItems::~TListItems() {
    for (TListItem* item : FItems) {
        item->FDeleting = true;
        delete item;
    }
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return FItems[size_t(index)];
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    if (index < 0 || index > Count()) IndexError(index);
    auto* item = new TListItem(this);
    FItems.insert(FItems.begin() + index, item);
    if (FOwner) FOwner->ItemAdded(item);
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    delete item; // leaves the list through Remove
}

void TListItems::Remove(TListItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    if (FOwner) FOwner->ItemRemoving(item);
    FItems.erase(std::find(FItems.begin(), FItems.end(), item));
    item->FOwner = nullptr;
    if (FOwner) FOwner->ViewChanged(TViewChange::vcState);
}

void TListItems::Clear() {
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TListItems::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner) {
        FOwner->SortIfNeeded();
        FOwner->ViewChanged(TViewChange::vcState);
    }
}

void TListItems::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TListItems::StaticClassInfo())) {
        if (source == this) return;
        const auto* o = static_cast<const TListItems*>(source);
        BeginUpdate();
        try {
            Clear();
            for (TListItem* item : o->FItems)
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

// ---- The list view -------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TCustomListView, TWinControl)
c.Obj("Columns", &TCustomListView::Columns, &TCustomListView::SetColumns);
c.Obj("Items", &TCustomListView::Items, &TCustomListView::SetItems);
c.Enum("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle,
       ViewStyleTypeInfo());
c.Bool("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect);
c.Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect);
c.Bool("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly);
c.Bool("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection);
c.Bool("Checkboxes", &TCustomListView::Checkboxes, &TCustomListView::SetCheckboxes);
c.Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines);
c.Bool("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders,
       &TCustomListView::SetShowColumnHeaders);
c.Bool("ColumnClick", &TCustomListView::ColumnClick, &TCustomListView::SetColumnClick);
c.Obj("LargeImages", &TCustomListView::LargeImages, &TCustomListView::SetLargeImages);
c.Obj("SmallImages", &TCustomListView::SmallImages, &TCustomListView::SetSmallImages);
c.Obj("StateImages", &TCustomListView::StateImages, &TCustomListView::SetStateImages);
c.Enum("SortType", &TCustomListView::SortType, &TCustomListView::SetSortType, SortTypeTypeInfo());
c.Event("OnChange", &TCustomListView::FOnChange, "TLVChangeEvent");
c.Event("OnChanging", &TCustomListView::FOnChanging, "TLVChangingEvent");
c.Event("OnSelectItem", &TCustomListView::FOnSelectItem, "TLVSelectItemEvent");
c.Event("OnColumnClick", &TCustomListView::FOnColumnClick, "TLVColumnClickEvent");
c.Event("OnCompare", &TCustomListView::FOnCompare, "TLVCompareEvent");
c.Event("OnEditing", &TCustomListView::FOnEditing, "TLVEditingEvent");
c.Event("OnEdited", &TCustomListView::FOnEdited, "TLVEditedEvent");
c.Event("OnDeletion", &TCustomListView::FOnDeletion, "TLVDeletedEvent");
c.Event("OnInsert", &TCustomListView::FOnInsert, "TLVDeletedEvent");
RTL_END_CLASS

RTL_BEGIN_CLASS(TListView, TCustomListView)
RTL_END_CLASS

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
    SetTabStop(true);
    SetColor(int(uint32_t(clWindow)));
    SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
    FEditing = nullptr;
    // Items go without events: the list is being destroyed.
    FItems->FOwner = nullptr;
}

void TCustomListView::SetColumns(TListColumns* v) {
    if (v) FColumns->Assign(v);
}

void TCustomListView::SetItems(TListItems* v) {
    if (v) FItems->Assign(v);
}

void TCustomListView::SetFlag(bool& flag, bool v) {
    if (flag == v) return;
    flag = v;
    ViewChanged(TViewChange::vcState);
}

void TCustomListView::SetRef(TComponent*& slot, TComponent* v) {
    if (v == slot) return;
    if (slot) slot->RemoveFreeNotification(this);
    slot = v;
    if (v) v->FreeNotification(this);
    ViewChanged(TViewChange::vcState);
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    for (TComponent** slot : {&FLargeImages, &FSmallImages, &FStateImages})
        if (*slot == component) *slot = nullptr;
}

void TCustomListView::SetViewStyle(TViewStyle v) {
    if (v == FViewStyle) return;
    FViewStyle = v;
    ViewChanged(TViewChange::vcState);
}

void TCustomListView::SetMultiSelect(bool v) {
    if (v == FMultiSelect) return;
    FMultiSelect = v;
    if (!v) {
        TListItem* first = Selected();
        for (TListItem* item : std::vector<TListItem*>(FItems->FItems))
            if (item != first && item->FSelected) ChangeState(item, false, item->FFocused);
    }
    ViewChanged(TViewChange::vcState);
}

void TCustomListView::SetSortType(TSortType v) {
    if (v == FSortType) return;
    FSortType = v;
    SortIfNeeded();
}

bool TCustomListView::CanChange(TListItem* item, TItemChange change) {
    bool allow = true;
    FOnChanging(this, item, change, allow);
    return allow;
}

void TCustomListView::Change(TListItem* item, TItemChange change) {
    ViewChanged(TViewChange::vcState);
    FOnChange(this, item, change);
}

void TCustomListView::DoSelectItem(TListItem* item, bool selected) {
    FOnSelectItem(this, item, selected);
}

bool TCustomListView::CanEdit(TListItem* item) {
    if (FReadOnly) return false;
    bool allow = true;
    FOnEditing(this, item, allow);
    return allow;
}

bool TCustomListView::ChangeState(TListItem* item, bool selected, bool focused) {
    if (item->FSelected == selected && item->FFocused == focused) return true;
    if (!CanChange(item, TItemChange::ctState)) return false;
    // One selected item at a time without MultiSelect, one focused item always.
    if (selected && !item->FSelected && !FMultiSelect)
        for (TListItem* other : std::vector<TListItem*>(FItems->FItems))
            if (other != item && other->FSelected) ChangeState(other, false, other->FFocused);
    if (focused && !item->FFocused)
        for (TListItem* other : std::vector<TListItem*>(FItems->FItems))
            if (other != item && other->FFocused) ChangeState(other, other->FSelected, false);
    bool selChanged = item->FSelected != selected;
    item->FSelected = selected;
    item->FFocused = focused;
    Change(item, TItemChange::ctState);
    if (selChanged) DoSelectItem(item, selected);
    return true;
}

void TCustomListView::ItemAdded(TListItem* item) {
    FOnInsert(this, item);
    if (FItems->FUpdateCount == 0) SortIfNeeded();
    ViewChanged(TViewChange::vcState);
}

void TCustomListView::ItemRemoving(TListItem* item) {
    if (FEditing == item) FEditing = nullptr;
    FOnDeletion(this, item);
}

void TCustomListView::TextChanged(TListItem* item) {
    Change(item, TItemChange::ctText);
    if (FItems->FUpdateCount == 0) SortIfNeeded();
}

void TCustomListView::SortIfNeeded() {
    if (FSortType != TSortType::stNone && !FSorting) AlphaSort();
}

int TCustomListView::DefaultCompare(TListItem* a, TListItem* b, int data) {
    if (FOnCompare) {
        int result = 0;
        FOnCompare(this, a, b, data, result);
        return result;
    }
    return CompareCaptions(a->FCaption, b->FCaption);
}

bool TCustomListView::AlphaSort() {
    return CustomSort(nullptr, 0);
}

bool TCustomListView::CustomSort(const TLVCompare& compare, int data) {
    if (FSorting) return false;
    FSorting = true;
    try {
        auto& v = FItems->FItems;
        std::stable_sort(v.begin(), v.end(), [&](TListItem* a, TListItem* b) {
            return (compare ? compare(a, b, data) : DefaultCompare(a, b, data)) < 0;
        });
    } catch (...) {
        FSorting = false;
        throw;
    }
    FSorting = false;
    ViewChanged(TViewChange::vcState);
    return true;
}

TListItem* TCustomListView::Selected() const {
    for (TListItem* item : FItems->FItems)
        if (item->FSelected) return item;
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
    for (TListItem* other : std::vector<TListItem*>(FItems->FItems))
        if (other != item && other->FSelected) ChangeState(other, false, other->FFocused);
    if (item) ChangeState(item, true, item->FFocused);
}

TListItem* TCustomListView::ItemFocused() const {
    for (TListItem* item : FItems->FItems)
        if (item->FFocused) return item;
    return nullptr;
}

void TCustomListView::SetItemFocused(TListItem* item) {
    if (item)
        ChangeState(item, item->FSelected, true);
    else if (TListItem* f = ItemFocused())
        ChangeState(f, f->FSelected, false);
}

int TCustomListView::SelCount() const {
    int n = 0;
    for (TListItem* item : FItems->FItems)
        n += item->FSelected ? 1 : 0;
    return n;
}

void TCustomListView::ClearSelection() {
    SetSelected(nullptr);
}

void TCustomListView::SelectAll() {
    if (!FMultiSelect) return;
    for (TListItem* item : std::vector<TListItem*>(FItems->FItems))
        ChangeState(item, true, item->FFocused);
}

TListItem* TCustomListView::GetNextItem(TListItem* start, TItemStates states) const {
    int from = start ? FItems->IndexOf(start) + 1 : 0;
    for (int i = from; i < FItems->Count(); ++i) {
        TListItem* item = FItems->FItems[size_t(i)];
        if (states.Contains(TItemState::isSelected) && !item->FSelected) continue;
        if (states.Contains(TItemState::isFocused) && !item->FFocused) continue;
        return item;
    }
    return nullptr;
}

TListItem* TCustomListView::FindCaption(int startIndex, const std::string& value, bool partial,
                                        bool inclusive, bool wrap) const {
    int n = FItems->Count();
    if (n == 0) return nullptr;
    int first = std::clamp(inclusive ? startIndex : startIndex + 1, 0, n);
    for (int step = 0; step < n; ++step) {
        int i = first + step;
        if (i >= n) {
            if (!wrap) break;
            i -= n;
        }
        const std::string& c = FItems->FItems[size_t(i)]->FCaption;
        bool hit =
            partial ? rtl::SameText(c.substr(0, value.size()), value) : rtl::SameText(c, value);
        if (hit) return FItems->FItems[size_t(i)];
    }
    return nullptr;
}

void TCustomListView::EndEditCaption(const std::string& text) {
    TListItem* item = FEditing;
    if (!item) return;
    FEditing = nullptr;
    std::string s = text;
    FOnEdited(this, item, s);
    // The handler may have deleted the item.
    if (FItems->IndexOf(item) >= 0) item->SetCaption(s);
    ViewChanged(TViewChange::vcState);
}

void TCustomListView::UserClick(int index, TShiftState shift) {
    TListItem* hit = index >= 0 && index < FItems->Count() ? FItems->Item(index) : nullptr;
    if (!hit) {
        // A click beside the items drops the selection.
        ClearSelection();
    } else if (FMultiSelect && shift.Contains(TShiftStateItem::ssCtrl)) {
        ChangeState(hit, !hit->FSelected, true);
    } else if (FMultiSelect && shift.Contains(TShiftStateItem::ssShift) && ItemFocused()) {
        int a = ItemFocused()->Index(), b = index;
        if (a > b) std::swap(a, b);
        for (int i = 0; i < FItems->Count(); ++i) {
            TListItem* item = FItems->Item(i);
            if ((i < a || i > b) && item->FSelected) ChangeState(item, false, item->FFocused);
        }
        for (int i = a; i <= b; ++i) {
            TListItem* item = FItems->Item(i);
            ChangeState(item, true, item == hit);
        }
    } else {
        for (TListItem* other : std::vector<TListItem*>(FItems->FItems))
            if (other != hit && other->FSelected) ChangeState(other, false, other->FFocused);
        ChangeState(hit, true, true);
    }
    Click();
}

void TCustomListView::UserDblClick(int index) {
    (void)index;
    DblClick();
}

void TCustomListView::UserColumnClick(int column) {
    if (!FColumnClick || column < 0 || column >= FColumns->Count()) return;
    ColumnClicked(FColumns->Items(column));
}

void TCustomListView::UserToggleCheck(int index) {
    if (!FCheckboxes || index < 0 || index >= FItems->Count()) return;
    TListItem* item = FItems->Item(index);
    item->SetChecked(!item->FChecked);
}

void TCustomListView::KeyDown(uint16_t& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key == 0) return;
    TListItem* focused = ItemFocused();
    int cur = focused ? focused->Index() : -1;
    int n = FItems->Count();
    int next = -2;
    switch (key) {
    case VK_DOWN:
        next = std::min(cur + 1, n - 1);
        break;
    case VK_UP:
        next = cur < 0 ? 0 : std::max(cur - 1, 0);
        break;
    case 0x24: /* VK_HOME */
        next = n > 0 ? 0 : -1;
        break;
    case 0x23: /* VK_END */
        next = n - 1;
        break;
    case VK_SPACE:
        if (FCheckboxes && focused) {
            UserToggleCheck(cur);
            key = 0;
        }
        return;
    case VK_F2:
        if (focused) focused->EditCaption();
        key = 0;
        return;
    default:
        return;
    }
    key = 0;
    if (next < 0 || next == cur) return;
    UserClick(next, shift - TShiftState{TShiftStateItem::ssCtrl});
}

// ---- Tab control ---------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TCustomTabControl, TCustomControl)
c.Bool("OwnerDraw", &TCustomTabControl::OwnerDraw, &TCustomTabControl::SetOwnerDraw);
c.Int("TabHeight", &TCustomTabControl::TabHeight, &TCustomTabControl::SetTabHeight);
c.Int("TabWidth", &TCustomTabControl::TabWidth, &TCustomTabControl::SetTabWidth);
c.Bool("HotTrack", &TCustomTabControl::HotTrack, &TCustomTabControl::SetHotTrack);
c.Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine);
c.Event("OnChange", &TCustomTabControl::FOnChange);
c.Event("OnChanging", &TCustomTabControl::FOnChanging, "TTabChangingEvent");
c.Event("OnDrawTab", &TCustomTabControl::FOnDrawTab, "TDrawTabEvent");
RTL_END_CLASS

TCustomTabControl::TCustomTabControl(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TCustomTabControl::SetOwnerDraw(bool v) {
    if (v == FOwnerDraw) return;
    FOwnerDraw = v;
    Invalidate();
}

void TCustomTabControl::SetTabHeight(int v) {
    if (v == FTabHeight) return;
    FTabHeight = std::max(0, v);
    TabsChanged();
}

void TCustomTabControl::SetTabWidth(int v) {
    if (v == FTabWidth) return;
    FTabWidth = std::max(0, v);
    TabsChanged();
}

TRect TCustomTabControl::TabRect(int tabIndex) {
    if (tabIndex < 0 || tabIndex >= TabCount()) return {};
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    int h = FTabHeight > 0 ? FTabHeight : canvas->TextHeight("Wg") + 6;
    int x = 2;
    for (int i = 0;; ++i) {
        std::string caption = TabCaption(i);
        TRect measure{0, 0, 0, 0};
        DrawTextRect(*canvas, caption.empty() ? " " : caption, measure,
                     DT_CALCRECT | DT_SINGLELINE);
        int w = FTabWidth > 0 ? FTabWidth : measure.Width() + 12;
        if (i == tabIndex) return {x, 2, x + w, 2 + h};
        x += w;
    }
}

TRect TCustomTabControl::TabDrawRect(int tabIndex) {
    TRect r = TabRect(tabIndex);
    if (!r.IsEmpty() && tabIndex == TabIndex()) {
        r.Left -= 2;
        r.Top -= 2;
        r.Right += 2;
    }
    return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    for (int i = 0; i < TabCount(); ++i)
        if (TabRect(i).Contains({x, y})) return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() {
    int top = TabCount() > 0 ? TabRect(0).Bottom : 0;
    return {4, top + 4, std::max(4, Width() - 4), std::max(top + 4, Height() - 4)};
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    FOnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    FOnChange(this);
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (FOnDrawTab)
        FOnDrawTab(this, tabIndex, rect, active);
    else
        Canvas()->FillRect(rect);
}

void TCustomTabControl::TabsChanged() {
    Invalidate();
}

void TCustomTabControl::Paint() {
    TCanvas* canvas = Canvas();
    canvas->FillRect({0, 0, Width(), Height()});
    // The frame of the page area: light top and left, dark bottom and right.
    TRect d = DisplayRect();
    TRect frame{d.Left - 2, d.Top - 2, d.Right + 2, d.Bottom + 2};
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(c);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    line(clBtnHighlight, frame.Left, frame.Bottom - 1, frame.Left, frame.Top);
    line(clBtnHighlight, frame.Left, frame.Top, frame.Right - 1, frame.Top);
    line(clBtnShadow, frame.Right - 1, frame.Top, frame.Right - 1, frame.Bottom - 1);
    line(clBtnShadow, frame.Right - 1, frame.Bottom - 1, frame.Left, frame.Bottom - 1);
    const int active = TabIndex();
    auto drawOne = [&](int i) {
        TRect r = TabDrawRect(i);
        bool on = i == active;
        canvas->Brush()->SetColor(TColor(uint32_t(Color())));
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas->FillRect({r.Left, r.Top, r.Right, r.Bottom + (on ? 1 : 0)});
        line(clBtnHighlight, r.Left, r.Bottom - (on ? 0 : 1), r.Left, r.Top);
        line(clBtnHighlight, r.Left, r.Top, r.Right - 1, r.Top);
        line(clBtnShadow, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
        TRect inner{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom};
        canvas->Font()->Assign(Font());
        if (FOwnerDraw) {
            DrawTab(i, inner, on);
        } else {
            canvas->Brush()->SetStyle(TBrushStyle::bsClear);
            DrawTextRect(*canvas, TabCaption(i), inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    };
    // Inactive tabs first: the active one overlaps its neighbours.
    for (int i = 0; i < TabCount(); ++i)
        if (i != active) drawOne(i);
    if (active >= 0) drawOne(active);
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        int tab = IndexOfTabAt(x, y);
        if (tab >= 0 && tab != TabIndex()) SelectTab(tab);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

// ---- Tab sheets ----------------------------------------------------------------------------

RTL_BEGIN_CLASS(TTabSheet, TWinControl)
c.Obj("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl);
c.Int("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex);
c.Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible);
c.Int("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex);
c.Event("OnShow", &TTabSheet::FOnShow);
c.Event("OnHide", &TTabSheet::FOnHide);
RTL_END_CLASS

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    // A page shows only while it is the active one.
    TControl::SetVisible(false);
    SetAlign(TAlign::alClient);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) {
    if (pc == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    TWinControl::SetParent(pc);
    if (pc) pc->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (parent && parent->InheritsFrom(TPageControl::StaticClassInfo())) {
        SetPageControl(static_cast<TPageControl*>(parent));
        return;
    }
    if (FPageControl) FPageControl->RemovePage(this);
    TWinControl::SetParent(parent);
}

void TTabSheet::SetParentComponent(TComponent* parent) {
    if (parent && parent->InheritsFrom(TPageControl::StaticClassInfo()))
        SetPageControl(static_cast<TPageControl*>(parent));
    else
        TWinControl::SetParentComponent(parent);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& p = FPageControl->FPages;
    return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (!FPageControl) return;
    auto& p = FPageControl->FPages;
    if (index < 0 || index >= static_cast<int>(p.size())) IndexError(index);
    int cur = PageIndex();
    if (cur == index) return;
    p.erase(p.begin() + cur);
    p.insert(p.begin() + index, this);
    FPageControl->TabsChanged();
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    int n = 0;
    for (TTabSheet* p : FPageControl->FPages) {
        if (p == this) return n;
        if (p->FTabVisible) ++n;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == FTabVisible) return;
    FTabVisible = v;
    if (!FPageControl) return;
    if (!v) FPageControl->PageTabHidden(this);
    FPageControl->TabsChanged();
}

void TTabSheet::TextChanged() {
    TWinControl::TextChanged();
    if (FPageControl) FPageControl->TabsChanged();
}

// ---- Page control --------------------------------------------------------------------------

RTL_BEGIN_CLASS(TPageControl, TCustomTabControl)
c.Obj("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
RTL_END_CLASS

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    for (TTabSheet* p : FPages)
        p->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) IndexError(index);
    return FPages[size_t(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    page->FPageControl = this;
    page->FreeNotification(this);
    PlacePages();
    TabsChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    TTabSheet* next = nullptr;
    if (page == FActivePage) {
        next = FindNextPage(page, true, !IsDesigning());
        if (next == page) next = nullptr;
    }
    FPages.erase(std::find(FPages.begin(), FPages.end(), page));
    page->FPageControl = nullptr;
    if (page == FActivePage) {
        FActivePage = nullptr;
        if (!IsDestroying()) SetActivePage(next);
    }
    TabsChanged();
}

void TPageControl::PageTabHidden(TTabSheet* page) {
    // A page whose tab goes away cannot stay the one shown: the next tab takes over.
    if (page != FActivePage || IsLoading()) return;
    TTabSheet* next = FindNextPage(page, true, true);
    SetActivePage(next == page ? nullptr : next);
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component->InheritsFrom(TTabSheet::StaticClassInfo()))
        RemovePage(static_cast<TTabSheet*>(component));
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    if (page == FActivePage) return;
    TTabSheet* old = FActivePage;
    FActivePage = page;
    if (IsLoading()) return; // shown once everything is read
    if (page) {
        page->SetBounds(DisplayRect().Left, DisplayRect().Top, DisplayRect().Width(),
                        DisplayRect().Height());
        page->SetVisible(true);
        page->FOnShow(page);
    }
    if (old && old->FPageControl == this) {
        // The focus leaves a page that hides.
        if (TCustomForm* form = GetParentForm())
            if (TWinControl* focused = form->ActiveControl())
                for (TControl* c = focused; c; c = c->Parent())
                    if (c == old) {
                        if (page && page->CanFocus()) form->SetFocusedControl(page);
                        break;
                    }
        old->SetVisible(false);
        old->FOnHide(old);
    }
    ViewChanged(TViewChange::vcState);
    Invalidate();
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
    int n = PageCount();
    if (n == 0) return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), current);
    int start =
        it == FPages.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
    int i = start;
    do {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* p = FPages[size_t(i)];
        if (!checkTabVisible || p->FTabVisible) return p;
    } while (i != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    TTabSheet* page = FindNextPage(FActivePage, goForward, checkTabVisible);
    if (page && page != FActivePage && CanChange()) {
        SetActivePage(page);
        Change();
    }
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    int n = 0;
    for (TTabSheet* p : FPages)
        if (p->FTabVisible && n++ == tabIndex) return p;
    return nullptr;
}

int TPageControl::TabCount() const {
    int n = 0;
    for (TTabSheet* p : FPages)
        n += p->FTabVisible ? 1 : 0;
    return n;
}

std::string TPageControl::TabCaption(int tabIndex) const {
    TTabSheet* p = PageForTab(tabIndex);
    return p ? p->Caption() : std::string();
}

int TPageControl::TabIndex() const {
    return FActivePage ? FActivePage->TabIndex() : -1;
}

bool TPageControl::SelectTab(int tabIndex) {
    TTabSheet* page = PageForTab(tabIndex);
    if (!page || page == FActivePage || !CanChange()) return false;
    SetActivePage(page);
    Change();
    return true;
}

void TPageControl::TabsChanged() {
    PlacePages();
    TCustomTabControl::TabsChanged();
}

void TPageControl::PlacePages() {
    if (IsLoading()) return;
    TRect d = DisplayRect();
    for (TTabSheet* p : FPages)
        p->SetBounds(d.Left, d.Top, d.Width(), d.Height());
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
    TCustomTabControl::SetBounds(left, top, width, height);
    PlacePages();
}

void TPageControl::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomTabControl::KeyDown(key, shift);
    if (key == VK_TAB && shift.Contains(TShiftStateItem::ssCtrl)) {
        SelectNextPage(!shift.Contains(TShiftStateItem::ssShift));
        key = 0;
    } else if (key == VK_LEFT || key == VK_RIGHT) {
        int tab = TabIndex() + (key == VK_RIGHT ? 1 : -1);
        if (tab >= 0 && tab < TabCount()) SelectTab(tab);
        key = 0;
    }
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    PlacePages();
    // The pages all come hidden; the resource's active page shows now.
    TTabSheet* page = FActivePage;
    FActivePage = nullptr;
    if (page) SetActivePage(page);
}

// ---- Tool bar ------------------------------------------------------------------------------

const rtl::TTypeInfo* ToolButtonStyleTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::EnumTypeInfo(
        "TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"});
    return t;
}

RTL_BEGIN_CLASS(TToolButton, TGraphicControl)
c.Enum("Style", &TToolButton::Style, &TToolButton::SetStyle, ToolButtonStyleTypeInfo());
c.Bool("Down", &TToolButton::Down, &TToolButton::SetDown);
c.Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped);
c.Bool("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp);
c.Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex);
c.Bool("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap);
c.Bool("Indeterminate", &TToolButton::Indeterminate, &TToolButton::SetIndeterminate);
c.Obj("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
RTL_END_CLASS

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const {
    TWinControl* p = Parent();
    return p && p->InheritsFrom(TToolBar::StaticClassInfo()) ? static_cast<TToolBar*>(p) : nullptr;
}

void TToolButton::SetParent(TWinControl* parent) {
    TToolBar* old = ToolBar();
    TGraphicControl::SetParent(parent);
    if (old) old->ArrangeButtons();
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetStyle(TToolButtonStyle v) {
    if (v == FStyle) return;
    FStyle = v;
    if ((v == TToolButtonStyle::tbsSeparator || v == TToolButtonStyle::tbsDivider) && !IsLoading())
        SetWidth(8);
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
    Invalidate();
}

std::vector<TToolButton*> TToolButton::Group() {
    // Grouped check buttons next to each other, up to a separator or another kind of button.
    std::vector<TToolButton*> out;
    TToolBar* bar = ToolBar();
    if (!bar || !FGrouped || FStyle != TToolButtonStyle::tbsCheck) return {this};
    int n = bar->ButtonCount(), me = 0;
    for (int i = 0; i < n; ++i)
        if (bar->Buttons(i) == this) me = i;
    auto member = [](TToolButton* b) {
        return b->FGrouped && b->FStyle == TToolButtonStyle::tbsCheck;
    };
    int a = me, b = me;
    while (a > 0 && member(bar->Buttons(a - 1)))
        --a;
    while (b + 1 < n && member(bar->Buttons(b + 1)))
        ++b;
    for (int i = a; i <= b; ++i)
        out.push_back(bar->Buttons(i));
    return out;
}

void TToolButton::SetDown(bool v) {
    if (v == FDown) return;
    if (!v && FGrouped && FStyle == TToolButtonStyle::tbsCheck && !IsLoading()) {
        // The last button down in a group stays down unless the group allows all up.
        bool allowAllUp = false;
        for (TToolButton* b : Group())
            allowAllUp = allowAllUp || b->FAllowAllUp;
        if (!allowAllUp) return;
    }
    FDown = v;
    if (v && !IsLoading())
        for (TToolButton* b : Group())
            if (b != this && b->FDown) {
                b->FDown = false;
                b->Invalidate();
            }
    Invalidate();
}

void TToolButton::SetImageIndex(int v) {
    if (v == FImageIndex) return;
    FImageIndex = v;
    Invalidate();
}

void TToolButton::SetDropdownMenu(TComponent* menu) {
    if (menu == FDropdownMenu) return;
    if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::TextChanged() {
    TGraphicControl::TextChanged();
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::Click() {
    if (FStyle == TToolButtonStyle::tbsSeparator || FStyle == TToolButtonStyle::tbsDivider) return;
    if (FStyle == TToolButtonStyle::tbsCheck) SetDown(!FDown);
    TGraphicControl::Click();
}

bool TToolButton::CheckMenuDropdown() {
    if (!FDropdownMenu || !FDropdownMenu->InheritsFrom(TPopupMenu::StaticClassInfo()) || !Enabled())
        return false;
    auto* menu = static_cast<TPopupMenu*>(FDropdownMenu);
    // Under the button, in the coordinates of the parents up to the form.
    int x = Left(), y = Top() + Height();
    for (TWinControl* p = Parent(); p && p->Parent(); p = p->Parent()) {
        x += p->Left();
        y += p->Top();
    }
    menu->SetPopupComponent(this);
    menu->Popup(x, y);
    return true;
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    if ((FStyle == TToolButtonStyle::tbsDropDown && x >= Width() - 12) ||
        (FStyle == TToolButtonStyle::tbsButton && FDropdownMenu))
        CheckMenuDropdown();
}

void TToolButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect r{0, 0, Width(), Height()};
    canvas->FillRect(r);
    if (FStyle == TToolButtonStyle::tbsSeparator) return;
    if (FStyle == TToolButtonStyle::tbsDivider) {
        int x = Width() / 2 - 1;
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->MoveTo(x, 0);
        canvas->LineTo(x, Height());
        canvas->Pen()->SetColor(clBtnHighlight);
        canvas->MoveTo(x + 1, 0);
        canvas->LineTo(x + 1, Height());
        return;
    }
    TToolBar* bar = ToolBar();
    bool flat = bar && bar->Flat();
    if (FDown || !flat) {
        TColor tl = FDown ? clBtnShadow : clBtnHighlight, br = FDown ? clBtnHighlight : clBtnShadow;
        canvas->Pen()->SetColor(tl);
        canvas->MoveTo(0, Height() - 1);
        canvas->LineTo(0, 0);
        canvas->LineTo(Width() - 1, 0);
        canvas->Pen()->SetColor(br);
        canvas->LineTo(Width() - 1, Height() - 1);
        canvas->LineTo(0, Height() - 1);
    }
    if (bar && bar->ShowCaptions()) {
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        if (!Enabled()) canvas->Font()->SetColor(clGrayText);
        TRect t = r;
        if (FDown) OffsetRect(t, 1, 1);
        DrawTextRect(*canvas, Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

RTL_BEGIN_CLASS(TToolBar, TWinControl)
c.Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth);
c.Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight);
c.Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat);
c.Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions);
c.Int("Indent", &TToolBar::Indent, &TToolBar::SetIndent);
c.Obj("Images", &TToolBar::Images, &TToolBar::SetImages);
RTL_END_CLASS

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(TAlign::alTop);
}

int TToolBar::ButtonCount() const {
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        n += Controls(i)->InheritsFrom(TToolButton::StaticClassInfo()) ? 1 : 0;
    return n;
}

TToolButton* TToolBar::Buttons(int index) const {
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->InheritsFrom(TToolButton::StaticClassInfo()) && n++ == index)
            return static_cast<TToolButton*>(Controls(i));
    IndexError(index);
}

void TToolBar::SetButtonWidth(int v) {
    if (v == FButtonWidth) return;
    FButtonWidth = std::max(1, v);
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v) {
    if (v == FButtonHeight) return;
    FButtonHeight = std::max(1, v);
    ArrangeButtons();
}

void TToolBar::SetFlat(bool v) {
    if (v == FFlat) return;
    FFlat = v;
    for (int i = 0; i < ButtonCount(); ++i)
        Buttons(i)->Invalidate();
}

void TToolBar::SetShowCaptions(bool v) {
    if (v == FShowCaptions) return;
    FShowCaptions = v;
    ArrangeButtons();
}

void TToolBar::SetIndent(int v) {
    if (v == FIndent) return;
    FIndent = std::max(0, v);
    ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
    if (IsLoading()) return;
    int x = FIndent, y = 0;
    for (int i = 0; i < ButtonCount(); ++i) {
        TToolButton* b = Buttons(i);
        if (!b->Visible()) continue;
        bool sep = b->Style() == TToolButtonStyle::tbsSeparator ||
                   b->Style() == TToolButtonStyle::tbsDivider;
        int w = sep ? b->Width() : FButtonWidth;
        if (sep && w <= 0) w = 8;
        b->SetBounds(x, y, w, FButtonHeight);
        x += w;
        if (b->Wrap()) {
            x = FIndent;
            y += FButtonHeight;
        }
    }
}

void TToolBar::SetImages(TComponent* v) {
    if (v == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v) v->FreeNotification(this);
    for (int i = 0; i < ButtonCount(); ++i)
        Buttons(i)->Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FImages) FImages = nullptr;
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons();
}

// ---- Status bar ----------------------------------------------------------------------------

namespace {
const rtl::TTypeInfo* BevelTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"});
    return t;
}
const rtl::TTypeInfo* PanelStyleTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TStatusPanelStyle", {"psText", "psOwnerDraw"});
    return t;
}
} // namespace

RTL_BEGIN_ABSTRACT_CLASS(TStatusPanel, TCollectionItem)
c.Str("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
c.Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
c.Enum("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment, AlignmentTypeInfo());
c.Enum("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel, BevelTypeInfo());
c.Enum("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle, PanelStyleTypeInfo());
RTL_END_CLASS

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStatusPanel::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TStatusPanel::StaticClassInfo())) {
        const auto* o = static_cast<const TStatusPanel*>(source);
        FText = o->FText;
        FWidth = o->FWidth;
        FAlignment = o->FAlignment;
        FBevel = o->FBevel;
        FStyle = o->FStyle;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TStatusPanel::SetText(const std::string& v) {
    if (v == FText) return;
    FText = v;
    Changed(false);
}
void TStatusPanel::SetWidth(int v) {
    if (v == FWidth) return;
    FWidth = std::max(0, v);
    Changed(true);
}
void TStatusPanel::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(false);
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
    if (v == FBevel) return;
    FBevel = v;
    Changed(false);
}
void TStatusPanel::SetStyle(TStatusPanelStyle v) {
    if (v == FStyle) return;
    FStyle = v;
    Changed(false);
}

RTL_BEGIN_ABSTRACT_CLASS(TStatusPanels, TCollection)
RTL_END_CLASS

TStatusPanels::TStatusPanels(TStatusBar* owner)
    : TOwnedCollection<TStatusPanel>(owner), FStatusBar(owner) {
    PropName = "Panels";
}

void TStatusPanels::Update(TCollectionItem*) {
    if (FStatusBar) FStatusBar->Invalidate();
}

RTL_BEGIN_CLASS(TStatusBar, TCustomControl)
c.Obj("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
c.Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel);
c.Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
c.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
c.Event("OnDrawPanel", &TStatusBar::FOnDrawPanel, "TDrawPanelEvent");
RTL_END_CLASS

TStatusBar::TStatusBar(TComponent* owner)
    : TCustomControl(owner), FPanels(std::make_unique<TStatusPanels>(this)) {
    SetBounds(0, 0, 150, 19);
    SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetPanels(TStatusPanels* v) {
    if (v) FPanels->Assign(v);
}

void TStatusBar::SetSimplePanel(bool v) {
    if (v == FSimplePanel) return;
    FSimplePanel = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& v) {
    if (v == FSimpleText) return;
    FSimpleText = v;
    Invalidate();
}

TRect TStatusBar::PanelRect(int index) {
    if (FSimplePanel) return index == 0 ? TRect{0, 2, Width(), Height()} : TRect{};
    if (index < 0 || index >= FPanels->Count()) return {};
    int x = 0;
    for (int i = 0; i < index; ++i)
        x += FPanels->Items(i)->Width() + 2;
    int right = index == FPanels->Count() - 1 ? Width() : x + FPanels->Items(index)->Width();
    return {x, 2, std::max(x, right), Height()};
}

void TStatusBar::Paint() {
    TCanvas* canvas = Canvas();
    canvas->FillRect({0, 0, Width(), Height()});
    auto text = [&](const std::string& s, TRect r, TAlignment a) {
        InflateRect(r, -2, -1);
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        unsigned align = a == TAlignment::taCenter         ? DT_CENTER
                         : a == TAlignment::taRightJustify ? DT_RIGHT
                                                           : DT_LEFT;
        DrawTextRect(*canvas, s, r, align | DT_VCENTER | DT_SINGLELINE);
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    };
    if (FSimplePanel) {
        text(FSimpleText, PanelRect(0), TAlignment::taLeftJustify);
        return;
    }
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStatusPanel* p = FPanels->Items(i);
        TRect r = PanelRect(i);
        if (p->Bevel() != TStatusPanelBevel::pbNone) {
            bool lowered = p->Bevel() == TStatusPanelBevel::pbLowered;
            canvas->Pen()->SetColor(lowered ? clBtnShadow : clBtnHighlight);
            canvas->MoveTo(r.Left, r.Bottom - 1);
            canvas->LineTo(r.Left, r.Top);
            canvas->LineTo(r.Right - 1, r.Top);
            canvas->Pen()->SetColor(lowered ? clBtnHighlight : clBtnShadow);
            canvas->LineTo(r.Right - 1, r.Bottom - 1);
            canvas->LineTo(r.Left, r.Bottom - 1);
        }
        if (p->Style() == TStatusPanelStyle::psOwnerDraw)
            FOnDrawPanel(this, p, r);
        else
            text(p->Text(), r, p->Alignment());
    }
}

void RegisterComCtrls() {
    static const bool done = [] {
        for (const TClassInfo* c :
             {&TListView::StaticClassInfo(), &TPageControl::StaticClassInfo(),
              &TTabSheet::StaticClassInfo(), &TToolBar::StaticClassInfo(),
              &TToolButton::StaticClassInfo(), &TStatusBar::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace vcl
