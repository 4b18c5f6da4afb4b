#include "platform/vcl/Controls.h"

#include "platform/vcl/Forms.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>
#include <unordered_map>

namespace vcl {

const rtl::TTypeInfo* AlignTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::EnumTypeInfo(
        "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
    return t;
}

RTL_BEGIN_CLASS(TControl, TComponent)
c.Int("Left", &TControl::Left, &TControl::SetLeft);
c.Int("Top", &TControl::Top, &TControl::SetTop);
c.Int("Width", &TControl::Width, &TControl::SetWidth);
c.Int("Height", &TControl::Height, &TControl::SetHeight);
c.Enum("Align", &TControl::Align, &TControl::SetAlign, AlignTypeInfo());
c.Bool("Visible", &TControl::Visible, &TControl::SetVisible);
c.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled);
c.Str("Caption", &TControl::Caption, &TControl::SetCaption);
c.Str("Hint", &TControl::Hint, &TControl::SetHint);
c.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
c.Int("Color", &TControl::Color, &TControl::SetColor);
c.Int("Cursor", &TControl::Cursor, &TControl::SetCursor);
c.Event("OnClick", &TControl::FOnClick);
c.Event("OnDblClick", &TControl::FOnDblClick);
RTL_END_CLASS

namespace {
std::unordered_map<uintptr_t, TWinControl*>& Handles() {
    static auto* map = new std::unordered_map<uintptr_t, TWinControl*>;
    return *map;
}
uintptr_t NextHandle = 0x10000;
} // namespace

TWinControl* FindControl(uintptr_t handle) {
    auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (parent && parent->InheritsFrom(TWinControl::StaticClassInfo()))
        SetParent(static_cast<TWinControl*>(parent));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    FLeft = left, FTop = top, FWidth = std::max(0, width), FHeight = std::max(0, height);
    Changed();
}

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    VisibleChanging();
    FVisible = v;
    // A control that hides while it holds the focus gives the focus up.
    if (!v)
        if (TCustomForm* form = GetParentForm())
            if (TWinControl* active = form->ActiveControl())
                for (TControl* c = active; c; c = c->Parent())
                    if (c == this) {
                        form->SetActiveControl(nullptr);
                        break;
                    }
    Changed();
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    EnabledChanged();
    Changed();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->FVisible) return false;
        if (!c->Parent() && !c->InheritsFrom(TCustomForm::StaticClassInfo())) return false;
    }
    return true;
}

void TControl::SetText(const std::string& s) {
    if (s == FText) return;
    FText = s;
    TextChanged();
    Changed();
}

void TControl::SetColor(int c) {
    if (c == FColor) return;
    FColor = c;
    Changed();
}

void TControl::Click() {
    FOnClick(this);
}

intptr_t TControl::Perform(uint32_t msg, intptr_t wparam, intptr_t lparam) {
    TMessage m{msg, wparam, lparam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage&) {}

TCustomForm* TControl::GetParentForm() const {
    const TControl* c = this;
    while (c->Parent())
        c = c->Parent();
    if (c->InheritsFrom(TCustomForm::StaticClassInfo()))
        return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c));
    return nullptr;
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
}

// ---------------------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TWinControl, TControl)
c.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
c.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
c.Event("OnEnter", &TWinControl::FOnEnter);
c.Event("OnExit", &TWinControl::FOnExit);
c.Event("OnKeyDown", &TWinControl::FOnKeyDown, "TKeyEvent");
c.Event("OnKeyUp", &TWinControl::FOnKeyUp, "TKeyEvent");
c.Event("OnKeyPress", &TWinControl::FOnKeyPress, "TKeyPressEvent");
RTL_END_CLASS

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children stay with their owner; they only lose their parent.
    while (!FControls.empty())
        FControls.back()->SetParent(nullptr);
    if (FHandle) Handles().erase(FHandle);
}

void TWinControl::InsertControl(TControl* c) {
    if (c->FParent && c->FParent != this) c->FParent->RemoveControl(c);
    FControls.push_back(c);
    c->FParent = this;
    if (c->InheritsFrom(TWinControl::StaticClassInfo()))
        FTabList.push_back(static_cast<TWinControl*>(c));
}

void TWinControl::RemoveControl(TControl* c) {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), c), FTabList.end());
    if (c->FParent == this) c->FParent = nullptr;
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    int n = static_cast<int>(list.size());
    if (order < 0 || order > n) order = n;
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
    if (!GetParentForm()) return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    TCustomForm* f = GetParentForm();
    return f && f->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    TCustomForm* f = GetParentForm();
    if (!f || !CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    f->SetFocusedControl(this);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const {
    std::vector<TWinControl*> out;
    for (TWinControl* c : FTabList) {
        out.push_back(c);
        std::vector<TWinControl*> sub = c->GetTabOrderList();
        out.insert(out.end(), sub.begin(), sub.end());
    }
    return out;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list = GetTabOrderList();
    if (list.empty()) return nullptr;
    int n = static_cast<int>(list.size());
    auto pos = std::find(list.begin(), list.end(), current);
    int start = pos == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(pos - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[size_t(i)];
        if (c == current) break;
        if (!c->CanFocus()) continue;
        if (checkTabStop && !c->TabStop()) continue;
        if (checkParent && c->Parent() != this) continue;
        // Containers with focusable children pass the focus on rather than take it.
        if (c->ControlCount() > 0 && !c->TabStop()) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false))
        next->SetFocus();
}

void TWinControl::SelectFirst() {
    SelectNext(nullptr, true, true);
}

uintptr_t TWinControl::Handle() {
    if (!FHandle) {
        if (Parent()) Parent()->Handle();
        FHandle = NextHandle++;
        Handles()[FHandle] = this;
    }
    return FHandle;
}

void TWinControl::DoEnter() {
    FOnEnter(this);
}
void TWinControl::DoExit() {
    FOnExit(this);
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
    FOnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
    FOnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char32_t& key) {
    FOnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(uint16_t& key, TShiftState shift) {
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0) return true; // the form swallowed it
    }
    KeyDown(key, shift);
    if (key == 0) return true;
    if (key == VK_TAB && form && !shift.Contains(TShiftStateItem::ssCtrl)) {
        form->SelectNext(this, !shift.Contains(TShiftStateItem::ssShift), true);
        key = 0;
        return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(char32_t& key) {
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(key);
        if (key == 0) return true;
    }
    KeyPress(key);
    return key == 0;
}

} // namespace vcl
