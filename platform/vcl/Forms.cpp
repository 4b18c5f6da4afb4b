#include "platform/vcl/Forms.h"

#include "platform/vcl/FormReader.h"
#include "platform/vcl/StdCtrls.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

namespace {
const rtl::TTypeInfo* WindowStateType() {
    return rtl::EnumTypeInfo("TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"});
}
const rtl::TTypeInfo* PositionType() {
    return rtl::EnumTypeInfo("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly",
                                           "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                           "poMainFormCenter", "poOwnerFormCenter"});
}
const rtl::TTypeInfo* BorderStyleType() {
    return rtl::EnumTypeInfo("TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog",
                                                  "bsToolWindow", "bsSizeToolWin"});
}
const rtl::TTypeInfo* BorderIconsType() {
    return rtl::SetTypeInfo(
        "TBorderIcons",
        rtl::EnumTypeInfo("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}));
}
const rtl::TTypeInfo* FormStyleType() {
    return rtl::EnumTypeInfo("TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
}
} // namespace

RTL_BEGIN_CLASS(TCustomForm, TWinControl)
c.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
c.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, WindowStateType());
c.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, PositionType());
c.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, BorderStyleType());
c.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, BorderIconsType());
c.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, FormStyleType());
c.Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled);
c.Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
c.Int("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight);
c.Bool("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder);
c.Obj("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
c.Event("OnCreate", &TCustomForm::FOnCreate);
c.Event("OnShow", &TCustomForm::FOnShow);
c.Event("OnHide", &TCustomForm::FOnHide);
c.Event("OnDestroy", &TCustomForm::FOnDestroy);
c.Event("OnClose", &TCustomForm::FOnClose, "TCloseEvent");
c.Event("OnCloseQuery", &TCustomForm::FOnCloseQuery, "TCloseQueryEvent");
RTL_END_CLASS

RTL_BEGIN_CLASS(TForm, TCustomForm)
RTL_END_CLASS

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    // A form starts hidden; Show or ShowModal makes it visible.
    TControl::SetVisible(false);
    SetParentColor(false);
    Screen().FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
    auto& forms = Screen().FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Screen().FActiveForm == this) Screen().FActiveForm = forms.empty() ? nullptr : forms.back();
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    RegisterStdCtrls();
    InitInheritedComponent(this);
    FCreated = true;
    FOnCreate(this);
}

void TCustomForm::BeforeDestruction() {
    bool first = !IsDestroying();
    TWinControl::BeforeDestruction();
    if (first && FCreated) FOnDestroy(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove) {
        if (component == FActiveControl) FActiveControl = nullptr;
        if (component == FFocusedControl) FFocusedControl = nullptr;
    }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    if (control && !IsLoading() && Visible()) {
        if (!control->CanFocus())
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
        SetFocusedControl(control);
        return;
    }
    FActiveControl = control;
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (control == this) control = nullptr;
    const unsigned count = ++FFocusCount;
    FActiveControl = control;
    if (!FFocusedControl) FFocusedControl = this;
    auto contains = [](TWinControl* outer, TWinControl* inner) {
        for (TControl* c = inner; c; c = c->Parent())
            if (c == outer) return true;
        return false;
    };
    TWinControl* target = control ? control : this;
    // Leave the old control and its parents until one holds the new control.
    while (FFocusedControl && !contains(FFocusedControl, target)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = leaving->Parent();
        leaving->DoExit();
        if (FFocusCount != count) return FActiveControl == control; // an OnExit moved it
    }
    // Enter from the common parent down to the new control.
    while (FFocusedControl && FFocusedControl != target) {
        TWinControl* step = target;
        while (step->Parent() && step->Parent() != FFocusedControl)
            step = step->Parent();
        FFocusedControl = step;
        step->DoEnter();
        if (FFocusCount != count) return FActiveControl == control;
    }
    FOnActiveControlChange(this);
    if (FActiveControl) FActiveControl->ViewChanged(TViewChange::vcFocus);
    return FActiveControl == control;
}

void TCustomForm::SetVisible(bool v) {
    if (v == Visible()) return;
    TWinControl::SetVisible(v);
    if (v)
        FOnShow(this);
    else
        FOnHide(this);
}

void TCustomForm::Show() {
    if (!Visible() &&
        (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter))
        SetBounds((Screen().Width - Width()) / 2, (Screen().Height - Height()) / 2, Width(),
                  Height());
    if (ViewsEnabled()) HandleNeeded(); // the window and its controls' widgets
    SetVisible(true);
    Screen().FActiveForm = this;
    if (FActiveControl && FActiveControl->CanFocus())
        SetFocusedControl(FActiveControl);
    else if (!FActiveControl)
        SelectFirst();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == FBorderStyle) return;
    FBorderStyle = s;
    ViewChanged(TViewChange::vcState);
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == FBorderIcons) return;
    FBorderIcons = icons;
    ViewChanged(TViewChange::vcState);
}

void TCustomForm::SetFormStyle(TFormStyle s) {
    if (s == FFormStyle) return;
    FFormStyle = s;
    ViewChanged(TViewChange::vcState);
}

void TCustomForm::Hide() {
    SetVisible(false);
}

void TCustomForm::CloseModal() {
    bool canClose = true;
    FOnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = TCloseAction::caHide;
    FOnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (action == TCloseAction::caFree) Release();
}

int TCustomForm::ShowModal() {
    if (Visible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
    FModal = true;
    FModalResult = mrNone;
    Show();
    if (Application().ModalDriver) Application().ModalDriver(*this);
    Application().ProcessMessages();
    if (FModalResult == mrNone) FModalResult = mrCancel; // nobody answered: the user's Escape
    CloseModal();
    int result = FModalResult;
    FModal = false;
    Hide();
    return result;
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    bool canClose = true;
    FOnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = TCloseAction::caHide;
    FOnClose(this, action);
    switch (action) {
    case TCloseAction::caNone:
        break;
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caMinimize:
        FWindowState = TWindowState::wsMinimized;
        break;
    case TCloseAction::caFree:
        Release();
        break;
    }
}

void TCustomForm::Release() {
    PostMessage(Handle(), CM_RELEASE);
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_RELEASE:
        Free();
        return;
    case WM_CLOSE:
        Close();
        return;
    default:
        TWinControl::WndProc(message);
    }
}

// ---------------------------------------------------------------------------------------------

TScreen& Screen() {
    static TScreen* screen = new TScreen;
    return *screen;
}

TApplication& Application() {
    static TApplication* app = new TApplication;
    return *app;
}

void PostMessage(uintptr_t handle, uint32_t msg, intptr_t wparam, intptr_t lparam) {
    Application().PostMessage(handle, msg, wparam, lparam);
}

void TApplication::PostMessage(uintptr_t handle, uint32_t msg, intptr_t wparam, intptr_t lparam) {
    FQueue.push_back(Posted{handle, TMessage{msg, wparam, lparam, 0}});
    if (WakeUp) WakeUp();
}

void TApplication::ProcessMessages() {
    // Messages posted while delivering are delivered too, within a bound that stops a control
    // that re-posts forever.
    for (size_t delivered = 0; !FQueue.empty() && delivered < 100000; ++delivered) {
        Posted p = FQueue.front();
        FQueue.pop_front();
        if (TWinControl* target = FindControl(p.Handle)) target->WndProc(p.Message);
    }
}

} // namespace vcl
