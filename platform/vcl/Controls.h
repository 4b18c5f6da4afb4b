// Controls without a view: parent and children, bounds, visibility, enabling, tab order, focus
// and keys, messages. A Qt view attaches later as the handle; without one everything works the
// same, deterministically.
#pragma once

#include "platform/vcl/Component.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QImage;

namespace vcl {

class TWinControl;
class TCustomForm;
class TFont;
class TCanvas;
class TControlCanvas;
struct TRect;

// Window messages the system sends or posts.
enum : uint32_t {
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_CHAR = 0x0102,
    WM_SYSCHAR = 0x0106,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_USER = 0x0400,
    CM_BASE = 0xB000,
    CM_ENABLEDCHANGED = CM_BASE + 3,
    CM_COLORCHANGED = CM_BASE + 5,
    CM_FONTCHANGED = CM_BASE + 6,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_CTL3DCHANGED = CM_BASE + 16,
    CM_DIALOGCHAR = CM_BASE + 18, // WParam: the character; Result 1 when taken
    CM_FOCUSCHANGED = CM_BASE + 19,
    CM_SYSCOLORCHANGE = CM_BASE + 24,
    CM_VISIBLECHANGED = CM_BASE + 22,
    CM_TEXTCHANGED = CM_BASE + 27,
    CM_RELEASE = CM_BASE + 33, // a form frees itself
    CM_ENTER = CM_BASE + 43,
    CM_EXIT = CM_BASE + 44,
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

enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
using TMouseEvent =
    rtl::TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = rtl::TEvent<TObject* /*Sender*/, TShiftState, int /*X*/, int /*Y*/>;

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// What of a control changed, for its view to follow.
enum class TViewChange : uint8_t {
    vcAll, // everything (after the view is made, or after loading)
    vcBounds,
    vcVisible,
    vcEnabled,
    vcText,
    vcColor,
    vcFont,
    vcHint,
    vcFocus, // the control took the focus in the model
    vcState, // a control-specific value (checked state, items, selection…)
    vcPaint, // custom drawing is out of date
};

class TControl;

// The on-screen side of a control (a Qt widget in a GUI process). The model owns it; the view
// pushes user input back through the model.
class TControlView {
public:
    virtual ~TControlView() = default;
    virtual void Update(TViewChange what) = 0;
    // The native object behind the view (a QWidget*), for the view layer itself.
    virtual void* Native() const = 0;
};

// Makes the view of a control of a class (or of a class derived from it, when nothing closer
// is registered). Installed by the view layer; without one, controls have no views.
using TViewFactory = TControlView* (*)(TControl&);
void RegisterViewFactory(const TClassInfo& cls, TViewFactory factory);
TViewFactory FindViewFactory(const TClassInfo& cls);
// The view of every control that draws itself (see TControl::SelfDrawn).
void RegisterSelfDrawnViewFactory(TViewFactory factory);
// Whether views are made at all (the view layer turns this on in a GUI process).
bool ViewsEnabled();
void SetViewsEnabled(bool enabled);

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
    // The control's font; with ParentFont it follows the parent's font until set.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* font);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v) { FParentShowHint = v; }
    // A popup menu (held by reference; cleared when it is freed).
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* menu);
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }

    int ClientWidth() const { return FWidth; }
    int ClientHeight() const { return FHeight; }
    void SetClientWidth(int v) { SetWidth(v); }
    void SetClientHeight(int v) { SetHeight(v); }

    // Runs OnClick (the VCL's Click).
    virtual void Click();
    virtual void DblClick();
    // The user's click with the mouse on a control that draws itself (pressed and released
    // inside it); controls that change on a click (check and radio buttons) add that here.
    virtual void MouseClick() { Click(); }
    // Mouse input in client coordinates, as the view (or a test) delivers it.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // Marks the drawing out of date (custom-drawn controls repaint through their view).
    void Invalidate();
    void Repaint() { Invalidate(); }
    void Refresh() { Invalidate(); }

    // The view, once made; made on demand for windowed controls (see TWinControl::Handle) and
    // with their parent's view for the others.
    TControlView* View() const { return FView.get(); }
    // Tells the view what changed (nothing happens without one or while loading).
    void ViewChanged(TViewChange what);
    // A control that draws itself has a view that shows its picture; PaintedImage draws it
    // (null for the others).
    virtual bool SelfDrawn() const { return false; }
    virtual const QImage* PaintedImage() { return nullptr; }
    // Sends a message synchronously to the control's window procedure.
    intptr_t Perform(uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);
    virtual void WndProc(TMessage& message);

    // The form that holds the control (through its parents); null when it has none.
    TCustomForm* GetParentForm() const;

    TNotifyEvent FOnClick;
    TNotifyEvent FOnDblClick;
    TMouseEvent FOnMouseDown;
    TMouseEvent FOnMouseUp;
    TMouseMoveEvent FOnMouseMove;

protected:
    virtual void Changed() {}
    virtual void VisibleChanging() {}
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // Makes the view when the view layer is on and the parent has one.
    void CreateView();
    void DestroyView();

private:
    friend class TWinControl;
    void ParentFontChanged();
    void ParentColorChanged();
    void FontObjectChanged(TObject*);
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    bool FVisible = true, FEnabled = true, FShowHint = false;
    bool FParentFont = true, FParentColor = true, FParentShowHint = true;
    bool FFontFromParent = false; // copying the parent's font: ParentFont stays on
    std::string FText, FHint;
    int FColor = int(0x8000000F); // clBtnFace
    int FCursor = 0;
    int FTag = 0;
    std::unique_ptr<TFont> FFont;
    TComponent* FPopupMenu = nullptr;
    std::unique_ptr<TControlView> FView;
};

// A control without a window that draws itself on its parent (labels, speed buttons, bevels).
class TGraphicControl : public TControl {
    RTL_DECLARE_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas();
    // Draws the control into its canvas (the size of the control) and answers the picture.
    const QImage& PaintImage();
    virtual void Paint() {}
    bool SelfDrawn() const override { return true; }
    const QImage* PaintedImage() override { return &PaintImage(); }

private:
    std::unique_ptr<TControlCanvas> FCanvas;
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

    // The window handle: a unique number, so "the window exists" holds headless. Reading it
    // makes the parent's handle first, then (with the view layer on) this control's view.
    uintptr_t Handle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded() { Handle(); }
    // Throws the view away and makes it again (a style that only a new window can take).
    void RecreateWnd();
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool v) { FParentCtl3D = v; }
    // Offers an accelerator character to this control and its children (CM_DIALOGCHAR);
    // answers whether one took it.
    bool DialogChar(char32_t key);

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
    friend class TControl;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false, FCtl3D = true, FParentCtl3D = true;
    uintptr_t FHandle = 0;
};

// A windowed control that draws itself (check boxes from bitmaps, owner-drawn grids).
class TCustomControl : public TWinControl {
    RTL_DECLARE_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas();
    const QImage& PaintImage();
    virtual void Paint() {}
    bool SelfDrawn() const override { return true; }
    const QImage* PaintedImage() override { return &PaintImage(); }

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

RTL_EXCEPTION_CLASS(EInvalidOperation, rtl::Exception);

// "&x" in a caption makes x its accelerator: whether key is that character (case ignored).
bool IsAccel(char32_t key, const std::string& caption);

// Window handles of the synthetic kind map back to their controls (for posted messages).
TWinControl* FindControl(uintptr_t handle);

const rtl::TTypeInfo* AlignTypeInfo();
const rtl::TTypeInfo* MouseButtonTypeInfo();

} // namespace vcl
