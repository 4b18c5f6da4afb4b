// Forms and the application object: showing, modal runs, closing with a close action, posted
// messages, the focused control with the VCL's exit/enter order, and key preview.
#pragma once

#include "platform/vcl/Controls.h"

#include <deque>
#include <functional>

namespace vcl {

enum class TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum class TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum class TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TFormBorderStyle : uint8_t {
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};
enum class TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

using TCloseEvent = rtl::TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = rtl::TEvent<TObject*, bool&>;

enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

class TCustomForm : public TWinControl {
    RTL_DECLARE_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    // Reads the resources of the class chain and runs OnCreate, once the object is whole.
    void AfterConstruction() override;
    // OnDestroy, while the form is still whole.
    void BeforeDestruction() override;

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Moves the focus: OnExit of the old control (then its parents up to the common one),
    // OnEnter of the new one's parents down to it. A handler that moves the focus elsewhere
    // wins; the answer is whether control holds the focus afterwards.
    bool SetFocusedControl(TWinControl* control);
    // Told after every change of the focused control.
    TNotifyEvent FOnActiveControlChange;

    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }

    void Show();
    void Hide();
    // Shows the form and runs until ModalResult is set (headless: the application's modal
    // driver acts for the user; without one the run ends as cancelled).
    int ShowModal();
    bool Modal() const { return FModal; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }
    // OnCloseQuery, then OnClose with the close action: hide, free (posted) or nothing.
    void Close();
    // Frees the form once the posted release request is handled.
    void Release();
    // Where the window goes when shown: where designed, or centred on the screen.
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition p) { FPosition = p; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle s);
    // Stored by the designer; this platform does not scale forms.
    bool Scaled() const { return FScaled; }
    void SetScaled(bool v) { FScaled = v; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int v) { FPixelsPerInch = v; }
    int TextHeight() const { return FTextHeight; }
    void SetTextHeight(int v) { FTextHeight = v; }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool v) { FOldCreateOrder = v; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState s) { FWindowState = s; }

    void WndProc(TMessage& message) override;

    TNotifyEvent FOnCreate, FOnShow, FOnHide, FOnDestroy;
    TCloseEvent FOnClose;
    TCloseQueryEvent FOnCloseQuery;

protected:
    void SetVisible(bool v) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CloseModal();
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr; // walks the chain while the focus moves
    unsigned FFocusCount = 0;
    bool FKeyPreview = false, FModal = false, FCreated = false;
    int FModalResult = 0;
    TWindowState FWindowState = TWindowState::wsNormal;
    TPosition FPosition = TPosition::poDesigned;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize,
                              TBorderIcon::biMaximize};
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    bool FScaled = true, FOldCreateOrder = false;
    int FPixelsPerInch = 96, FTextHeight = 13;
};

class TForm : public TCustomForm {
    RTL_DECLARE_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

// The application: the posted-message queue and what stands in for the user in modal runs.
class TApplication {
public:
    void PostMessage(uintptr_t handle, uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);
    // Delivers every posted message (including those posted meanwhile) to live controls.
    void ProcessMessages();
    size_t PendingMessages() const { return FQueue.size(); }
    // Acts in a modal run of a form that has no view: sets the modal result or closes it.
    std::function<void(TCustomForm&)> ModalDriver;
    bool ShowHint = true;
    int HintPause = 500;
    // Told when a message is posted, so that an event loop can deliver it (the Qt layer).
    std::function<void()> WakeUp;

private:
    struct Posted {
        uintptr_t Handle;
        TMessage Message;
    };
    std::deque<Posted> FQueue;
};

// The screen: its size (set by the view layer from the real screen; 1024 x 768 headless), the
// forms that exist, the active one, and the cursor shown over the application.
class TScreen {
public:
    int Width = 1024;
    int Height = 768;
    int PixelsPerInch = 96;
    int Cursor = 0; // crDefault
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(size_t(index)); }
    // The form shown or focused last that still exists.
    TCustomForm* ActiveForm() const { return FActiveForm; }

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
};

TApplication& Application();
TScreen& Screen();
void PostMessage(uintptr_t handle, uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);

} // namespace vcl
