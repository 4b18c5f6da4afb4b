#include "platform/vcl/Controls.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include <QImage>

#include <algorithm>
#include <unordered_map>

namespace vcl {

// The canvas of a control: a picture the size of the control, drawn anew on each paint.
class TControlCanvas : public TCanvas {
public:
    QImage* Image() const override { return FImage.isNull() ? nullptr : &FImage; }
    QImage& Prepare(int width, int height) {
        if (width <= 0 || height <= 0) {
            FImage = QImage();
        } else if (FImage.width() != width || FImage.height() != height) {
            FImage = QImage(width, height, QImage::Format_RGB32);
            FImage.fill(Qt::white);
        }
        return FImage;
    }

private:
    mutable QImage FImage;
};

namespace {

std::unordered_map<const TClassInfo*, TViewFactory>& ViewFactories() {
    static auto* map = new std::unordered_map<const TClassInfo*, TViewFactory>;
    return *map;
}
bool GViewsEnabled = false;
TViewFactory GSelfDrawnFactory = nullptr;

const QImage& PaintOn(TControl& control, TControlCanvas& canvas, void (*paint)(TControl&)) {
    static const QImage empty;
    canvas.Prepare(control.Width(), control.Height());
    if (!canvas.Image()) return empty;
    canvas.Font()->Assign(control.Font());
    canvas.Brush()->SetColor(TColor(uint32_t(control.Color())));
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Pen()->SetColor(clBlack);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetMode(TPenMode::pmCopy);
    canvas.CopyMode = cmSrcCopy;
    paint(control);
    return *canvas.Image();
}

} // namespace

void RegisterViewFactory(const TClassInfo& cls, TViewFactory factory) {
    ViewFactories()[&cls] = factory;
}

TViewFactory FindViewFactory(const TClassInfo& cls) {
    for (const TClassInfo* c = &cls; c; c = c->Parent) {
        auto it = ViewFactories().find(c);
        if (it != ViewFactories().end()) return it->second;
    }
    return nullptr;
}

void RegisterSelfDrawnViewFactory(TViewFactory factory) {
    GSelfDrawnFactory = factory;
}

bool ViewsEnabled() {
    return GViewsEnabled;
}
void SetViewsEnabled(bool enabled) {
    GViewsEnabled = enabled;
}

bool IsAccel(char32_t key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        unsigned char ch = static_cast<unsigned char>(caption[i + 1]);
        if (ch >= 0x80) return false; // accelerators are plain letters and digits
        auto lower = [](char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; };
        return lower(key) == lower(char32_t(ch));
    }
    return false;
}

const rtl::TTypeInfo* MouseButtonTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TMouseButton", {"mbLeft", "mbRight", "mbMiddle"});
    return t;
}

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
c.Int("Color", &TControl::Color, &TControl::SetColor, ColorTypeInfo());
c.Int("Cursor", &TControl::Cursor, &TControl::SetCursor, CursorTypeInfo());
c.Obj("Font", &TControl::Font, &TControl::SetFont);
c.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
c.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
c.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint);
c.Obj("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
c.Int("Tag", &TControl::Tag, &TControl::SetTag);
c.Int("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth);
c.Int("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight);
c.Event("OnClick", &TControl::FOnClick);
c.Event("OnDblClick", &TControl::FOnDblClick);
c.Event("OnMouseDown", &TControl::FOnMouseDown, "TMouseEvent");
c.Event("OnMouseUp", &TControl::FOnMouseUp, "TMouseEvent");
c.Event("OnMouseMove", &TControl::FOnMouseMove, "TMouseMoveEvent");
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

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    FFont->OnChange = rtl::MethodOf<&TControl::FontObjectChanged>(this);
}

TControl::~TControl() {
    DestroyView();
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    if (!parent) {
        DestroyView();
        return;
    }
    if (FParentFont) ParentFontChanged();
    if (FParentColor) ParentColorChanged();
    if (FView)
        FView->Update(TViewChange::vcAll); // the widget moves to the new parent's widget
    else if (parent->View())
        CreateView();
}

void TControl::SetFont(TFont* font) {
    if (font) FFont->Assign(font);
}

void TControl::FontObjectChanged(TObject*) {
    // A font set on the control itself ends following the parent.
    if (!FFontFromParent) FParentFont = false;
    FontChanged();
    if (InheritsFrom(TWinControl::StaticClassInfo()))
        for (TControl* c : static_cast<TWinControl*>(this)->FControls)
            c->ParentFontChanged();
    if (!IsLoading()) Perform(CM_FONTCHANGED);
    ViewChanged(TViewChange::vcFont);
    Invalidate();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FFontFromParent = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FFontFromParent = false;
        throw;
    }
    FFontFromParent = false;
}

void TControl::SetParentFont(bool v) {
    if (v == FParentFont) return;
    FParentFont = v;
    if (v) ParentFontChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent) return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::SetParentColor(bool v) {
    if (v == FParentColor) return;
    FParentColor = v;
    if (v) ParentColorChanged();
}

void TControl::SetPopupMenu(TComponent* menu) {
    if (menu == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::ViewChanged(TViewChange what) {
    if (FView && !IsLoading() && !IsDestroying()) FView->Update(what);
}

void TControl::CreateView() {
    if (FView || !GViewsEnabled || IsDestroying()) return;
    if (FParent && !FParent->View()) return; // made with the parent's view
    TViewFactory factory = SelfDrawn() && GSelfDrawnFactory ? GSelfDrawnFactory
                                                            : FindViewFactory(*ClassInfo());
    if (!factory) return;
    FView.reset(factory(*this));
    if (!FView) return;
    FView->Update(TViewChange::vcAll);
    if (InheritsFrom(TWinControl::StaticClassInfo()))
        for (TControl* c : static_cast<TWinControl*>(this)->FControls)
            c->CreateView();
}

void TControl::DestroyView() {
    if (!FView) return;
    // Children first: their widgets live inside this one.
    if (InheritsFrom(TWinControl::StaticClassInfo()))
        for (TControl* c : static_cast<TWinControl*>(this)->FControls)
            c->DestroyView();
    FView.reset();
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParentFont) ParentFontChanged();
    if (FView) FView->Update(TViewChange::vcAll);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (parent && parent->InheritsFrom(TWinControl::StaticClassInfo()))
        SetParent(static_cast<TWinControl*>(parent));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    FLeft = left, FTop = top, FWidth = std::max(0, width), FHeight = std::max(0, height);
    Changed();
    ViewChanged(TViewChange::vcBounds);
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
    if (!IsLoading()) Perform(CM_VISIBLECHANGED, v);
    ViewChanged(TViewChange::vcVisible);
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    EnabledChanged();
    Changed();
    if (!IsLoading()) Perform(CM_ENABLEDCHANGED);
    ViewChanged(TViewChange::vcEnabled);
    Invalidate();
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
    if (!IsLoading()) Perform(CM_TEXTCHANGED);
    ViewChanged(TViewChange::vcText);
    Invalidate();
}

void TControl::SetColor(int c) {
    FParentColor = false;
    if (c == FColor) return;
    FColor = c;
    Changed();
    if (InheritsFrom(TWinControl::StaticClassInfo()))
        for (TControl* child : static_cast<TWinControl*>(this)->FControls)
            child->ParentColorChanged();
    if (!IsLoading()) Perform(CM_COLORCHANGED);
    ViewChanged(TViewChange::vcColor);
    Invalidate();
}

void TControl::Click() {
    FOnClick(this);
}

void TControl::DblClick() {
    FOnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    FOnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    FOnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    FOnMouseMove(this, shift, x, y);
}

void TControl::Invalidate() {
    ViewChanged(TViewChange::vcPaint);
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
    if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

// ---------------------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TGraphicControl, TControl)
RTL_END_CLASS

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas() {
    return FCanvas.get();
}

const QImage& TGraphicControl::PaintImage() {
    return PaintOn(*this, *FCanvas, [](TControl& c) { static_cast<TGraphicControl&>(c).Paint(); });
}

RTL_BEGIN_ABSTRACT_CLASS(TCustomControl, TWinControl)
RTL_END_CLASS

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>()) {}
TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas() {
    return FCanvas.get();
}

const QImage& TCustomControl::PaintImage() {
    return PaintOn(*this, *FCanvas, [](TControl& c) { static_cast<TCustomControl&>(c).Paint(); });
}

// ---------------------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TWinControl, TControl)
c.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
c.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
c.Bool("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D);
c.Bool("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D);
c.Event("OnEnter", &TWinControl::FOnEnter);
c.Event("OnExit", &TWinControl::FOnExit);
c.Event("OnKeyDown", &TWinControl::FOnKeyDown, "TKeyEvent");
c.Event("OnKeyUp", &TWinControl::FOnKeyUp, "TKeyEvent");
c.Event("OnKeyPress", &TWinControl::FOnKeyPress, "TKeyPressEvent");
RTL_END_CLASS

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children stay with their owner; they only lose their parent (and their views, which
    // live inside this control's view).
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
    if (!View()) CreateView();
    return FHandle;
}

void TWinControl::RecreateWnd() {
    if (!View()) return;
    DestroyView();
    CreateView();
}

void TWinControl::SetCtl3D(bool v) {
    FParentCtl3D = false;
    if (v == FCtl3D) return;
    FCtl3D = v;
    if (!IsLoading()) Perform(CM_CTL3DCHANGED);
    Invalidate();
}

bool TWinControl::DialogChar(char32_t key) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->Perform(CM_DIALOGCHAR, intptr_t(key)) != 0) return true;
        if (c->InheritsFrom(TWinControl::StaticClassInfo()) &&
            static_cast<TWinControl*>(c)->DialogChar(key))
            return true;
    }
    return false;
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
