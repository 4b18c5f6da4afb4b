// Controls without a view: parent and children, bounds, visibility, enabling, tab order, focus
// and keys, messages. A Qt view attaches later as the handle; without one everything works the
// same, deterministically.
#pragma once

#include "platform/vcl/Component.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vcl {

class TWinControl;
class TCustomForm;

// Window messages the system sends or posts.
enum : uint32_t {
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_CHAR = 0x0102,
    WM_USER = 0x0400,
    CM_RELEASE = 0xB000 + 33, // a form frees itself
};

struct TMessage {
    uint32_t Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

enum class TShiftStateItem : uint8_t {
    ssShift,
    ssAlt,
    ssCtrl,
    ssLeft,
    ssRight,
    ssMiddle,
    ssDouble
};
using TShiftState = TSet<TShiftStateItem>;

// Virtual key codes used by the system's forms.
enum : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
    VK_F2 = 0x71,
};

using TKeyEvent = rtl::TEvent<TObject* /*Sender*/, uint16_t& /*Key*/, TShiftState>;
using TKeyPressEvent = rtl::TEvent<TObject* /*Sender*/, char32_t& /*Key*/>;

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

class TControl : public TComponent {
    RTL_DECLARE_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign a) { FAlign = a; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    // Visible and every parent visible.
    bool Showing() const;

    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& s) { SetText(s); }
    const std::string& Text() const { return FText; }
    virtual void SetText(const std::string& s);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& s) { FHint = s; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    int Color() const { return FColor; }
    virtual void SetColor(int c);
    int Cursor() const { return FCursor; }
    void SetCursor(int c) { FCursor = c; }

    // Runs OnClick (the VCL's Click).
    virtual void Click();
    // Sends a message synchronously to the control's window procedure.
    intptr_t Perform(uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);
    virtual void WndProc(TMessage& message);

    // The form that holds the control (through its parents); null when it has none.
    TCustomForm* GetParentForm() const;

    TNotifyEvent FOnClick;
    TNotifyEvent FOnDblClick;

protected:
    virtual void Changed() {}
    virtual void VisibleChanging() {}
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    bool FVisible = true, FEnabled = true, FShowHint = false;
    std::string FText, FHint;
    int FColor = int(0x8000000F); // clBtnFace
    int FCursor = 0;
};

class TWinControl : public TControl {
    RTL_DECLARE_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(size_t(index)); }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v) { FTabStop = v; }

    // Showing, enabled, and every parent enabled, inside a form.
    virtual bool CanFocus() const;
    bool Focused() const;
    // Asks the form to focus this control (EInvalidOperation "Cannot focus a disabled or
    // invisible window" when it cannot).
    virtual void SetFocus();
    // The windowed children in tab order, and the whole tree below in traversal order.
    std::vector<TWinControl*> GetTabOrderList() const;
    // The next (or previous) control of the traversal that can take the focus.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    // A synthetic window handle: a unique number, so "the window exists" holds headless.
    uintptr_t Handle();
    bool HandleAllocated() const { return FHandle != 0; }

    // Keys as the control receives them after the form's key preview.
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    // Delivers a key through the form's key preview, then to this control.
    bool DoKeyDown(uint16_t& key, TShiftState shift);
    bool DoKeyPress(char32_t& key);

    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
    TKeyEvent FOnKeyDown;
    TKeyEvent FOnKeyUp;
    TKeyPressEvent FOnKeyPress;

protected:
    friend class TCustomForm;
    virtual void DoEnter();
    virtual void DoExit();

private:
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    uintptr_t FHandle = 0;
};

RTL_EXCEPTION_CLASS(EInvalidOperation, rtl::Exception);

// Window handles of the synthetic kind map back to their controls (for posted messages).
TWinControl* FindControl(uintptr_t handle);

const rtl::TTypeInfo* AlignTypeInfo();

} // namespace vcl
