// Menus: items with captions, accelerators, check marks, radio groups and short cuts; main and
// popup menus. A popup menu shows through a replaceable handler (the view layer's, or a test's)
// that answers the item chosen.
#pragma once

#include "platform/vcl/Controls.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vcl {

class TMenu;

// A key with scShift, scCtrl and scAlt as in the VCL.
using TShortCut = uint16_t;
enum : uint16_t { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+S", "Shift+F5", "Alt+Del"; "" for none or an unknown key.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, without regard to case; 0 when the text names no short cut.
TShortCut TextToShortCut(std::string_view text);
// The caption without its "&" marks ("&&" stays one "&").
std::string StripHotkey(std::string_view caption);

class TMenuItem : public TComponent {
    RTL_DECLARE_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    // Frees its sub-items too.
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    // A caption of "-" makes a separator line.
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of the same group among its siblings.
    void SetChecked(bool v);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    int ShortCutValue() const { return FShortCut; }
    void SetShortCutValue(int v);
    TShortCut ShortCut() const { return FShortCut; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }

    // The sub-items.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const; // EMenuError "Menu index out of range"
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item); // EMenuError "Menu inserted twice"
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear(); // frees the sub-items
    int IndexOf(const TMenuItem* item) const;
    // A sub-item by its caption, "&" marks ignored, without regard to case; null when none.
    TMenuItem* Find(std::string_view caption) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int index);
    // The menu the item belongs to (through its parents).
    TMenu* GetParentMenu() const;
    // The sub-item whose caption has this accelerator; null when none.
    TMenuItem* FindAccel(char32_t key) const;

    // Enabled items only: AutoCheck toggles (a radio item checks), then OnClick.
    virtual void Click();
    void SetParentComponent(TComponent* parent) override;
    TNotifyEvent FOnClick;

private:
    friend class TMenu;
    void TurnSiblingsOff();
    void Changed();
    std::string FCaption, FHint;
    bool FChecked = false, FRadioItem = false, FEnabled = true, FVisible = true, FAutoCheck = false,
         FDefault = false;
    int FGroupIndex = 0, FImageIndex = -1;
    TShortCut FShortCut = 0;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // for the root item of a menu
    std::vector<TMenuItem*> FItems;
};

RTL_EXCEPTION_CLASS(EMenuError, rtl::Exception);

class TMenu : public TComponent {
    RTL_DECLARE_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    // The enabled, visible item with this short cut clicked (searching sub-menus): true.
    bool IsShortCut(uint16_t key, TShiftState shift);
    TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
    // Told after any item changed (the view rebuilds its menu).
    TNotifyEvent FOnChange;

protected:
    friend class TMenuItem;
    virtual void MenuChanged(TMenuItem* item);

private:
    TMenuItem* FItems;
};

class TMainMenu : public TMenu {
    RTL_DECLARE_CLASS(TMainMenu, TMenu)
public:
    using TMenu::TMenu;
};

class TPopupMenu;
// Shows the menu at screen point (x, y) and answers the item the user chose (null: none).
using TPopupHandler = std::function<TMenuItem*(TPopupMenu& menu, int x, int y)>;
// Installs the handler (null: the headless default, which chooses nothing).
void SetPopupHandler(TPopupHandler handler);

class TPopupMenu : public TMenu {
    RTL_DECLARE_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    // The control the menu was last opened for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* c);
    // OnPopup, then the handler; the chosen item (enabled) is clicked.
    virtual void Popup(int x, int y);
    TNotifyEvent FOnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

// A right click on a control: its popup menu (when auto-popup) opens for it. Answers whether
// one opened.
bool ShowControlPopup(TControl& control, int screenX, int screenY);

void RegisterMenus();

} // namespace vcl
