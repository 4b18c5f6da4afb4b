// Forms and the application object: showing, modal runs, closing with a close action, posted
// messages, the focused control with the VCL's exit/enter order, and key preview.
#pragma once

#include "platform/vcl/Controls.h"

#include <deque>
#include <functional>

namespace vcl {

enum class TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum class TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };

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

TApplication& Application();
void PostMessage(uintptr_t handle, uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);

} // namespace vcl
