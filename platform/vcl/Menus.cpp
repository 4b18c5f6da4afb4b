#include "platform/vcl/Menus.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

// ---- Short cuts ----------------------------------------------------------------------------

namespace {

struct KeyName {
    uint16_t Key;
    const char* Name;
};

// The VCL's key captions.
constexpr KeyName kKeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

std::string KeyToText(uint16_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.Key == key) return k.Name;
    return "";
}

TPopupHandler& PopupHandler() {
    static TPopupHandler handler;
    return handler;
}

} // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    if (key & 0xFF00) return 0;
    TShortCut s = key;
    if (shift.Contains(TShiftStateItem::ssShift)) s |= scShift;
    if (shift.Contains(TShiftStateItem::ssCtrl)) s |= scCtrl;
    if (shift.Contains(TShiftStateItem::ssAlt)) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = {};
    if (shortCut & scShift) shift.Include(TShiftStateItem::ssShift);
    if (shortCut & scCtrl) shift.Include(TShiftStateItem::ssCtrl);
    if (shortCut & scAlt) shift.Include(TShiftStateItem::ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyToText(shortCut & 0xFF);
    if (name.empty()) return "";
    std::string out;
    if (shortCut & scShift) out += "Shift+";
    if (shortCut & scCtrl) out += "Ctrl+";
    if (shortCut & scAlt) out += "Alt+";
    return out + name;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut mods = 0;
    std::string rest(text);
    for (;;) {
        bool found = false;
        for (auto [prefix, bit] : {std::pair<const char*, uint16_t>{"Shift+", scShift},
                                   {"Ctrl+", scCtrl},
                                   {"Alt+", scAlt}}) {
            size_t n = std::char_traits<char>::length(prefix);
            if (rest.size() > n && rtl::SameText(rest.substr(0, n), prefix)) {
                mods |= bit;
                rest.erase(0, n);
                found = true;
            }
        }
        if (!found) break;
    }
    for (uint16_t key = 1; key < 0x100; ++key) {
        std::string name = KeyToText(key);
        if (!name.empty() && rtl::SameText(name, rest)) return TShortCut(key | mods);
    }
    return 0;
}

std::string StripHotkey(std::string_view caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

// ---- Menu items ----------------------------------------------------------------------------

RTL_BEGIN_CLASS(TMenuItem, TComponent)
c.Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
c.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
c.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
c.Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex);
c.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
c.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
c.Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck);
c.Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault);
c.Int("ShortCut", &TMenuItem::ShortCutValue, &TMenuItem::SetShortCutValue);
c.Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
c.Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
c.Event("OnClick", &TMenuItem::FOnClick);
RTL_END_CLASS

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (FParent) FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        FItems.pop_back();
        child->FParent = nullptr;
        child->Free();
    }
}

void TMenuItem::Changed() {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this);
}

void TMenuItem::SetCaption(const std::string& v) {
    if (v == FCaption) return;
    FCaption = v;
    Changed();
}

void TMenuItem::SetChecked(bool v) {
    if (v == FChecked) return;
    FChecked = v;
    if (v && FRadioItem) TurnSiblingsOff();
    Changed();
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent) return;
    for (TMenuItem* s : FParent->FItems)
        if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex && s->FChecked) {
            s->FChecked = false;
            s->Changed();
        }
}

void TMenuItem::SetRadioItem(bool v) {
    if (v == FRadioItem) return;
    FRadioItem = v;
    if (v && FChecked) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetGroupIndex(int v) {
    v = std::clamp(v, 0, 255); // a byte, as in the VCL
    if (v == FGroupIndex) return;
    FGroupIndex = v;
    if (FChecked && FRadioItem) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Changed();
}

void TMenuItem::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    Changed();
}

void TMenuItem::SetDefault(bool v) {
    if (v == FDefault) return;
    // One default item per menu level.
    if (v && FParent)
        for (TMenuItem* s : FParent->FItems)
            if (s != this) s->FDefault = false;
    FDefault = v;
    Changed();
}

void TMenuItem::SetShortCutValue(int v) {
    TShortCut s = TShortCut(v);
    if (s == FShortCut) return;
    FShortCut = s;
    Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
    return FItems[size_t(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->FParent) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == item) throw EMenuError("Menu inserted twice"); // into itself
    if (index < 0 || index > Count()) throw EMenuError("Menu index out of range");
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (item->FChecked && item->FRadioItem) item->TurnSiblingsOff();
    Changed();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    int i = IndexOf(item);
    if (i < 0) throw EMenuError("Sub-menu is not in menu");
    Delete(i);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        Items(Count() - 1)->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
    std::string want = StripHotkey(caption);
    for (TMenuItem* item : FItems)
        if (rtl::SameText(StripHotkey(item->FCaption), want)) return item;
    return nullptr;
}

int TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int index) {
    if (!FParent) return;
    TMenuItem* parent = FParent;
    index = std::clamp(index, 0, parent->Count() - 1);
    int cur = MenuIndex();
    if (cur == index) return;
    parent->FItems.erase(parent->FItems.begin() + cur);
    parent->FItems.insert(parent->FItems.begin() + index, this);
    Changed();
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* p = this;
    while (p->FParent)
        p = p->FParent;
    return p->FMenu;
}

TMenuItem* TMenuItem::FindAccel(char32_t key) const {
    for (TMenuItem* item : FItems)
        if (item->FVisible && item->FEnabled && IsAccel(key, item->FCaption)) return item;
    return nullptr;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
    FOnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (FParent) FParent->Remove(this);
    if (!parent) return;
    if (parent->InheritsFrom(TMenu::StaticClassInfo()))
        static_cast<TMenu*>(parent)->Items()->Add(this);
    else if (parent->InheritsFrom(TMenuItem::StaticClassInfo()))
        static_cast<TMenuItem*>(parent)->Add(this);
}

// ---- Menus ---------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TMenu, TComponent)
RTL_END_CLASS

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    FItems->FMenu = nullptr;
    FItems->Free();
}

void TMenu::MenuChanged(TMenuItem*) {
    if (!IsLoading() && !IsDestroying()) FOnChange(this);
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
    if (shortCut == 0) return nullptr;
    std::vector<TMenuItem*> stack{FItems};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        if (item != FItems && (!item->Visible() || !item->Enabled())) continue;
        if (item != FItems && item->ShortCut() == shortCut) return item;
        for (int i = item->Count() - 1; i >= 0; --i)
            stack.push_back(item->Items(i));
    }
    return nullptr;
}

bool TMenu::IsShortCut(uint16_t key, TShiftState shift) {
    TMenuItem* item = FindItemByShortCut(vcl::ShortCut(key, shift));
    if (!item) return false;
    item->Click();
    return true;
}

RTL_BEGIN_CLASS(TMainMenu, TMenu)
RTL_END_CLASS

void SetPopupHandler(TPopupHandler handler) {
    PopupHandler() = std::move(handler);
}

RTL_BEGIN_CLASS(TPopupMenu, TMenu)
c.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup);
c.Event("OnPopup", &TPopupMenu::FOnPopup);
RTL_END_CLASS

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::SetPopupComponent(TComponent* c) {
    if (c == FPopupComponent) return;
    if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = c;
    if (c) c->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    FOnPopup(this);
    TPopupHandler& handler = PopupHandler();
    if (!handler) return;
    TMenuItem* chosen = handler(*this, x, y);
    if (chosen && chosen->GetParentMenu() == this) chosen->Click();
}

bool ShowControlPopup(TControl& control, int screenX, int screenY) {
    for (TControl* c = &control; c; c = c->Parent()) {
        TComponent* menu = c->PopupMenu();
        if (!menu || !menu->InheritsFrom(TPopupMenu::StaticClassInfo())) continue;
        auto* popup = static_cast<TPopupMenu*>(menu);
        if (!popup->AutoPopup()) return false;
        popup->SetPopupComponent(&control);
        popup->Popup(screenX, screenY);
        return true;
    }
    return false;
}

void RegisterMenus() {
    static const bool done = [] {
        for (const TClassInfo* c : {&TMenuItem::StaticClassInfo(), &TMainMenu::StaticClassInfo(),
                                    &TPopupMenu::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace vcl
