// The common controls: list views, page controls with tab sheets, tool bars and status bars.
#pragma once

#include "platform/vcl/Collections.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <functional>
#include <memory>
#include <vector>

namespace vcl {

class TCustomListView;
class TListItems;
class TListItem;

// ---- List view -----------------------------------------------------------------------------

enum class TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TItemChange : uint8_t { ctText, ctImage, ctState };
enum class TSortType : uint8_t { stNone, stData, stText, stBoth };
enum class TItemState : uint8_t {
    isNone,
    isCut,
    isDropHilited,
    isFocused,
    isSelected,
    isActivating
};
using TItemStates = TSet<TItemState>;
const rtl::TTypeInfo* ViewStyleTypeInfo();
const rtl::TTypeInfo* SortTypeTypeInfo();

class TListColumn : public TCollectionItem {
    RTL_DECLARE_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* collection);
    void Assign(const TPersistent* source) override;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    // Pixels; -1 sizes to the widest text, -2 to the caption (kept as set: the view sizes).
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int v);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    std::string DisplayName() const override;

private:
    std::string FCaption;
    int FWidth = 50, FMinWidth = 0, FMaxWidth = 0, FImageIndex = -1, FTag = 0;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSize = false;
};

class TListColumns : public TOwnedCollection<TListColumn> {
    RTL_DECLARE_CLASS(TListColumns, TCollection)
public:
    using OwnerType = TCustomListView;
    explicit TListColumns(TCustomListView* owner);
    TListColumn* Add() { return AddItem(); }
    TCustomListView* ListView() const { return FListView; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* FListView;
};

// One row: a caption, sub-items for the further columns, and its states.
class TListItem : public TPersistent {
    RTL_DECLARE_CLASS(TListItem, TPersistent)
public:
    using OwnerType = TListItems;
    explicit TListItem(TListItems* owner);
    ~TListItem() override;
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;
    void Assign(const TPersistent* source) override;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    int Index() const;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    TStrings* SubItems() const { return FSubItems.get(); }
    void SetSubItems(TStrings* v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Selected() const { return FSelected; }
    void SetSelected(bool v);
    bool Focused() const { return FFocused; }
    void SetFocused(bool v);
    void* Data() const { return FData; }
    void SetData(void* v) { FData = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int v);
    // Deletes the item (it is freed).
    void Delete();
    // Starts editing the caption in place: false when the list is read-only or OnEditing
    // refuses. The view (or a test) ends the edit with the list view's EndEditCaption.
    bool EditCaption();
    void CancelEdit();
    void MakeVisible(bool /*partialOK*/) {}

private:
    friend class TCustomListView;
    friend class TListItems;
    void SubItemsChanged(TObject*);
    TListItems* FOwner;
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
    void* FData = nullptr;
    int FImageIndex = -1, FStateIndex = -1;
    bool FChecked = false, FSelected = false, FFocused = false, FDeleting = false;
};

class TListItems : public TPersistent {
    RTL_DECLARE_CLASS(TListItems, TPersistent)
public:
    using OwnerType = TCustomListView;
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;
    // Copies captions, sub-items, images, checks and data of every item.
    void Assign(const TPersistent* source) override;

    TCustomListView* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError "List index out of bounds (n)" outside 0…Count-1.
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

private:
    friend class TListItem;
    friend class TCustomListView;
    void Remove(TListItem* item);
    TCustomListView* FOwner;
    std::vector<TListItem*> FItems;
    int FUpdateCount = 0;
};

using TLVChangeEvent = rtl::TEvent<TObject*, TListItem*, TItemChange>;
using TLVChangingEvent = rtl::TEvent<TObject*, TListItem*, TItemChange, bool& /*AllowChange*/>;
using TLVSelectItemEvent = rtl::TEvent<TObject*, TListItem*, bool /*Selected*/>;
using TLVColumnClickEvent = rtl::TEvent<TObject*, TListColumn*>;
using TLVCompareEvent =
    rtl::TEvent<TObject*, TListItem*, TListItem*, int /*Data*/, int& /*Compare*/>;
using TLVEditingEvent = rtl::TEvent<TObject*, TListItem*, bool& /*AllowEdit*/>;
using TLVEditedEvent = rtl::TEvent<TObject*, TListItem*, std::string& /*S*/>;
using TLVDeletedEvent = rtl::TEvent<TObject*, TListItem*>;
// CustomSort's comparison: negative, zero or positive as item1 goes before, with or after.
using TLVCompare = std::function<int(TListItem*, TListItem*, int /*Data*/)>;

// Items change through the list so that it can tell of it: OnChanging (which may refuse a
// change of state or image), OnChange, and OnSelectItem for each item selected or unselected.
class TCustomListView : public TWinControl {
    RTL_DECLARE_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TListColumns* v);
    TListColumn* Column(int index) const { return FColumns->Items(index); }
    TListItems* Items() const { return FItems.get(); }
    void SetItems(TListItems* v);

    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle v);
    bool MultiSelect() const { return FMultiSelect; }
    // Turning it off keeps the first selected item only.
    void SetMultiSelect(bool v);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v) { SetFlag(FRowSelect, v); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v) { SetFlag(FHideSelection, v); }
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool v) { SetFlag(FCheckboxes, v); }
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool v) { SetFlag(FGridLines, v); }
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool v) { SetFlag(FShowColumnHeaders, v); }
    // Image lists (components of the form, held by reference and cleared when freed).
    TComponent* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TComponent* v) { SetRef(FLargeImages, v); }
    TComponent* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TComponent* v) { SetRef(FSmallImages, v); }
    TComponent* StateImages() const { return FStateImages; }
    void SetStateImages(TComponent* v) { SetRef(FStateImages, v); }
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool v) { FColumnClick = v; }
    TSortType SortType() const { return FSortType; }
    // Any sort type but stNone sorts at once and again whenever items or captions change.
    void SetSortType(TSortType v);

    // The first selected item; setting it selects that item alone (null clears).
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* item);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    // The next item after start (null: from the top) in every state of states.
    TListItem* GetNextItem(TListItem* start, TItemStates states) const;
    TListItem* FindCaption(int startIndex, const std::string& value, bool partial, bool inclusive,
                           bool wrap) const;

    // Sorts by OnCompare when set, by captions otherwise. Both keep equal items in order.
    bool AlphaSort();
    bool CustomSort(const TLVCompare& compare, int data);

    // In-place caption editing (see TListItem::EditCaption).
    TListItem* ItemEditing() const { return FEditing; }
    bool IsEditing() const { return FEditing != nullptr; }
    // Ends the edit: OnEdited may change the text, which then becomes the caption.
    void EndEditCaption(const std::string& text);
    void CancelEditCaption() { FEditing = nullptr; }

    // What the view reports. A click on an item (index -1: on no item) selects as a list
    // view does: alone, toggled with Ctrl, a range from the focused item with Shift; then
    // OnClick.
    void UserClick(int index, TShiftState shift = {});
    void UserDblClick(int index);
    void UserColumnClick(int column);
    void UserToggleCheck(int index);
    // Up, Down, Home, End move the focus and selection; Space toggles the check; F2 edits.
    void KeyDown(uint16_t& key, TShiftState shift) override;

    TLVChangeEvent FOnChange;
    TLVChangingEvent FOnChanging;
    TLVSelectItemEvent FOnSelectItem;
    TLVColumnClickEvent FOnColumnClick;
    TLVCompareEvent FOnCompare;
    TLVEditingEvent FOnEditing;
    TLVEditedEvent FOnEdited;
    TLVDeletedEvent FOnDeletion, FOnInsert;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange(TListItem* item, TItemChange change);
    virtual void Change(TListItem* item, TItemChange change);
    virtual void DoSelectItem(TListItem* item, bool selected);
    virtual bool CanEdit(TListItem* item);
    virtual void ColumnClicked(TListColumn* column) { FOnColumnClick(this, column); }

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    void SetFlag(bool& flag, bool v);
    void SetRef(TComponent*& slot, TComponent* v);
    // One change of an item's selected and focused states, with the events around it.
    bool ChangeState(TListItem* item, bool selected, bool focused);
    void ItemAdded(TListItem* item);
    void ItemRemoving(TListItem* item);
    void TextChanged(TListItem* item);
    void SortIfNeeded();
    int DefaultCompare(TListItem* a, TListItem* b, int data);
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = TViewStyle::vsIcon;
    TSortType FSortType = TSortType::stNone;
    bool FMultiSelect = false, FRowSelect = false, FReadOnly = false, FHideSelection = true,
         FCheckboxes = false, FGridLines = false, FShowColumnHeaders = true, FColumnClick = true,
         FSorting = false;
    TListItem* FEditing = nullptr;
    TComponent *FLargeImages = nullptr, *FSmallImages = nullptr, *FStateImages = nullptr;
};

class TListView : public TCustomListView {
    RTL_DECLARE_CLASS(TListView, TCustomListView)
public:
    using TCustomListView::TCustomListView;
};

// ---- Tab and page controls -----------------------------------------------------------------

class TCustomTabControl;
using TDrawTabEvent = rtl::TEvent<TCustomTabControl* /*Control*/, int /*TabIndex*/,
                                  const TRect& /*Rect*/, bool /*Active*/>;
using TTabChangingEvent = rtl::TEvent<TObject*, bool& /*AllowChange*/>;

// Tabs along the top, drawn by the control itself (or by OnDrawTab when OwnerDraw is on).
// Tab rectangles come from the captions in the control's font: each tab is TabWidth wide (or
// the caption's width + 12), TabHeight high (or the text height + 6), side by side from x = 2,
// y = 2; the active tab is drawn raised, 2 pixels larger on each side but the bottom.
class TCustomTabControl : public TCustomControl {
    RTL_DECLARE_CLASS(TCustomTabControl, TCustomControl)
public:
    explicit TCustomTabControl(TComponent* owner);

    virtual int TabCount() const = 0;
    virtual std::string TabCaption(int tabIndex) const = 0;
    virtual int TabIndex() const = 0;
    // The rectangle of tab i (empty outside the tabs).
    TRect TabRect(int tabIndex);
    // What the tab is drawn in: TabRect, raised for the active tab.
    TRect TabDrawRect(int tabIndex);
    int IndexOfTabAt(int x, int y);
    // Where the pages go: inside the frame below the tabs.
    TRect DisplayRect();

    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int v);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int v);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool v) { FHotTrack = v; }
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v) { FMultiLine = v; }

    // Background, the frame around the pages, then each tab: its raised border and, owner
    // drawn, DrawTab inside it, otherwise the caption centred.
    void Paint() override;
    // A left press on a tab selects it (asking OnChanging, then OnChange).
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    TTabChangingEvent FOnChanging;
    TNotifyEvent FOnChange;
    TDrawTabEvent FOnDrawTab;

protected:
    // The user's choice of a tab; false when refused or unchanged.
    virtual bool SelectTab(int tabIndex) = 0;
    virtual bool CanChange();
    virtual void Change();
    // Owner drawing of one tab: OnDrawTab, or a plain fill without one.
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    virtual void TabsChanged();
    void FontChanged() override { TabsChanged(); }

private:
    bool FOwnerDraw = false, FHotTrack = false, FMultiLine = false;
    int FTabHeight = 0, FTabWidth = 0;
};

class TPageControl;

class TTabSheet : public TWinControl {
    RTL_DECLARE_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pc);
    // Its place among the pages; EListError outside 0…PageCount-1 when moved.
    int PageIndex() const;
    void SetPageIndex(int index);
    // Its place among the visible tabs; -1 when its tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    void SetParent(TWinControl* parent) override;
    void SetParentComponent(TComponent* parent) override;

    TNotifyEvent FOnShow, FOnHide;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

// Pages with one tab each. Code that sets ActivePage runs no event; the user's choice of a tab
// (and SelectNextPage) asks OnChanging and then runs OnChange.
class TPageControl : public TCustomTabControl {
    RTL_DECLARE_CLASS(TPageControl, TCustomTabControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    // EListError "List index out of bounds (n)".
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows the page (hiding the one before, with their OnHide and OnShow); pages of other
    // controls are refused.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index); // outside the pages: none
    // The page after (or before) current, round the end; with checkTabVisible only pages
    // whose tab shows. Null when there is none.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward, bool checkTabVisible = true);
    // Tab index <-> page index, for the hidden tabs between.
    TTabSheet* PageForTab(int tabIndex) const;

    int TabCount() const override;
    std::string TabCaption(int tabIndex) const override;
    int TabIndex() const override;
    void SetBounds(int left, int top, int width, int height) override;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages; Left and Right move between tabs.
    void KeyDown(uint16_t& key, TShiftState shift) override;

protected:
    bool SelectTab(int tabIndex) override;
    void TabsChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageTabHidden(TTabSheet* page);
    void PlacePages();
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// ---- Tool bar ------------------------------------------------------------------------------

enum class TToolButtonStyle : uint8_t {
    tbsButton,
    tbsCheck,
    tbsDropDown,
    tbsSeparator,
    tbsDivider
};
const rtl::TTypeInfo* ToolButtonStyleTypeInfo();

class TToolBar;

class TToolButton : public TGraphicControl {
    RTL_DECLARE_CLASS(TToolButton, TGraphicControl)
public:
    explicit TToolButton(TComponent* owner);
    TToolBar* ToolBar() const;
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle v);
    // A check button stays down; grouped check buttons next to each other are exclusive.
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool v) { FGrouped = v; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool v) { FWrap = v; }
    bool Indeterminate() const { return FIndeterminate; }
    void SetIndeterminate(bool v) { FIndeterminate = v; }
    TComponent* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TComponent* menu);
    // A check button toggles (within its group's rules), then OnClick.
    void Click() override;
    // Opens DropdownMenu (a popup menu) under the button; false without one.
    bool CheckMenuDropdown();
    // A press on the arrow of a drop-down button (or anywhere on a plain button with a
    // drop-down menu) opens the menu.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // A raised frame when down, the caption centred (when the tool bar shows captions).
    void Paint() override;
    void SetParent(TWinControl* parent) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void TextChanged() override;

private:
    std::vector<TToolButton*> Group();
    TToolButtonStyle FStyle = TToolButtonStyle::tbsButton;
    bool FDown = false, FGrouped = false, FAllowAllUp = false, FWrap = false,
         FIndeterminate = false;
    int FImageIndex = -1;
    TComponent* FDropdownMenu = nullptr;
};

// Buttons in a row from the left, ButtonWidth × ButtonHeight each, separators as wide as they
// are (8 by default); Wrap starts a new row.
class TToolBar : public TWinControl {
    RTL_DECLARE_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* owner);
    int ButtonCount() const;
    TToolButton* Buttons(int index) const; // EListError outside the buttons
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool v);
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    TComponent* Images() const { return FImages; }
    void SetImages(TComponent* v);
    // Places the buttons again.
    void ArrangeButtons();

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* FImages = nullptr;
    int FButtonWidth = 23, FButtonHeight = 22, FIndent = 0;
    bool FFlat = false, FShowCaptions = false;
};

// ---- Status bar ----------------------------------------------------------------------------

enum class TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };
enum class TStatusPanelStyle : uint8_t { psText, psOwnerDraw };

class TStatusBar;

class TStatusPanel : public TCollectionItem {
    RTL_DECLARE_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* collection);
    void Assign(const TPersistent* source) override;
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel v);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle v);
    std::string DisplayName() const override { return FText.empty() ? ClassName() : FText; }

private:
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
    TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
};

class TStatusPanels : public TOwnedCollection<TStatusPanel> {
    RTL_DECLARE_CLASS(TStatusPanels, TCollection)
public:
    using OwnerType = TStatusBar;
    explicit TStatusPanels(TStatusBar* owner);
    TStatusPanel* Add() { return AddItem(); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* FStatusBar;
};

using TDrawPanelEvent = rtl::TEvent<TStatusBar*, TStatusPanel*, const TRect&>;

// Panels from the left, each its Width wide (the last one takes the rest); with SimplePanel
// one text over the whole bar.
class TStatusBar : public TCustomControl {
    RTL_DECLARE_CLASS(TStatusBar, TCustomControl)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* v);
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& v);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v) { FSizeGrip = v; }
    TRect PanelRect(int index);
    void Paint() override;
    TDrawPanelEvent FOnDrawPanel;

private:
    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false, FSizeGrip = true;
    std::string FSimpleText;
};

void RegisterComCtrls();

} // namespace vcl
