// Further controls: bevels, images, splitters, radio groups and timers.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <vector>

namespace vcl {

enum class TBevelShape : uint8_t {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
enum class TBevelStyle : uint8_t { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    RTL_DECLARE_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle v);
    // Lines in the shadow and highlight colours (swapped when raised); nothing for a spacer.
    void Paint() override;

private:
    TBevelShape FShape = TBevelShape::bsBox;
    TBevelStyle FStyle = TBevelStyle::bsLowered;
};

class TImage : public TGraphicControl {
    RTL_DECLARE_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* v);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    // Where the picture goes: at the top left, centred, stretched (keeping its shape when
    // proportional).
    TRect DestRect() const;
    void Paint() override;

private:
    void PictureChanged(TObject*);
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false,
         FAutoSize = false;
};

using TCanResizeEvent = rtl::TEvent<TObject*, int& /*NewSize*/, bool& /*Accept*/>;

// Dragged with the mouse, it resizes the control aligned to the same side just before it.
class TSplitter : public TGraphicControl {
    RTL_DECLARE_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* owner);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int v) { FMinSize = v < 1 ? 1 : v; }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool v);
    // The control the splitter resizes: the nearest one aligned as the splitter that touches
    // its left (alLeft), right, top or bottom edge. Null when none.
    TControl* FindControl() const;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    TCanResizeEvent FOnCanResize;
    TNotifyEvent FOnMoved;

private:
    void MoveTo(int delta);
    int FMinSize = 30;
    bool FBeveled = false, FDragging = false;
    TPoint FDownPos;
    TControl* FControl = nullptr;
    int FStartSize = 0;
};

class TCustomRadioGroup;

// The radio buttons a radio group makes for its items.
class TGroupButton : public TRadioButton {
    RTL_DECLARE_CLASS(TGroupButton, TRadioButton)
public:
    explicit TGroupButton(TComponent* owner);
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
};

// One radio button per line of Items, laid out column by column.
class TCustomRadioGroup : public TGroupBox {
    RTL_DECLARE_CLASS(TCustomRadioGroup, TGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* v);
    int ItemIndex() const { return FItemIndex; }
    // Held within -1…Count-1; checking the button runs the group's OnClick, as in the VCL.
    void SetItemIndex(int v);
    int Columns() const { return FColumns; }
    void SetColumns(int v); // held within 1…16
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TRadioButton* Buttons(int index) const; // EListError outside the buttons
    void ArrangeButtons();
    void SetBounds(int left, int top, int width, int height) override;

protected:
    // Makes the button for an item (TGroupButton; a descendant may make its own kind).
    virtual TRadioButton* CreateButton();
    void Loaded() override;
    void FontChanged() override;
    void EnabledChanged() override;

private:
    friend class TGroupButton;
    void ItemsChanged(TObject*);
    void UpdateButtons();
    void ButtonClick(TObject* sender);
    std::unique_ptr<TStringList> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1, FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
    RTL_DECLARE_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

// A timer without a clock of its own: the view layer (or a test) calls Timer() when Interval
// has passed.
class TTimer : public TComponent {
    RTL_DECLARE_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    int Interval() const { return FInterval; }
    void SetInterval(int v) { FInterval = v < 0 ? 0 : v; }
    // Runs OnTimer when enabled with an interval.
    void Timer();
    TNotifyEvent FOnTimer;

private:
    bool FEnabled = true;
    int FInterval = 1000;
};

void RegisterExtCtrls();

} // namespace vcl
