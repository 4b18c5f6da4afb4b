// The standard controls in their model form: labels, edits, buttons, check boxes, panels.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

namespace vcl {

class TLabel : public TGraphicControl {
    RTL_DECLARE_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* c);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; }
    // The caption in the font, left at the top; the accelerator underlined.
    void Paint() override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true, FTransparent = false;
};

class TCustomEdit : public TWinControl {
    RTL_DECLARE_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v) { FMaxLength = v < 0 ? 0 : v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) {
        FReadOnly = v;
        ViewChanged(TViewChange::vcState);
    }
    int SelStart() const { return FSelStart; }
    void SetSelStart(int v) { FSelStart = v; }
    int SelLength() const { return FSelLength; }
    void SetSelLength(int v) { FSelLength = v; }
    void SelectAll();
    void Clear() { SetText(""); }
    // Text typed by the user: refused when read-only, cut at MaxLength characters.
    void UserInput(const std::string& text);
    TNotifyEvent FOnChange;

protected:
    void TextChanged() override;

private:
    int FMaxLength = 0, FSelStart = 0, FSelLength = 0;
    bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
    RTL_DECLARE_CLASS(TEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
};

class TButtonControl : public TWinControl {
    RTL_DECLARE_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
    RTL_DECLARE_CLASS(TButton, TButtonControl)
public:
    using TButtonControl::TButtonControl;
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v) {
        FDefault = v;
        ViewChanged(TViewChange::vcState);
    }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    // Sets the form's modal result, then runs OnClick.
    void Click() override;
    void KeyPress(char32_t& key) override;
    // The accelerator of the caption clicks.
    void WndProc(TMessage& message) override;

private:
    int FModalResult = 0;
    bool FDefault = false, FCancel = false;
};

enum class TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
const rtl::TTypeInfo* CheckBoxStateTypeInfo();
// The state a click leads to: unchecked, grayed (when allowed), checked, and round again.
TCheckBoxState NextCheckBoxState(TCheckBoxState state, bool allowGrayed);

class TCheckBox : public TButtonControl {
    RTL_DECLARE_CLASS(TCheckBox, TButtonControl)
public:
    using TButtonControl::TButtonControl;
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool v) {
        SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
    }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    // Advances the state (unchecked, grayed when allowed, checked), then OnClick.
    void Toggle();
    void KeyPress(char32_t& key) override;
    void WndProc(TMessage& message) override;

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
};

class TCustomPanel : public TWinControl {
    RTL_DECLARE_CLASS(TCustomPanel, TWinControl)
public:
    using TWinControl::TWinControl;
};

class TPanel : public TCustomPanel {
    RTL_DECLARE_CLASS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
};

class TGroupBox : public TWinControl {
    RTL_DECLARE_CLASS(TGroupBox, TWinControl)
public:
    using TWinControl::TWinControl;
};

enum class TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
const rtl::TTypeInfo* AlignmentTypeInfo();

enum class TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
const rtl::TTypeInfo* ScrollStyleTypeInfo();

// A multi-line edit: Lines and Text are two faces of the same text (lines joined by CR LF).
class TCustomMemo : public TCustomEdit {
    RTL_DECLARE_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* lines);
    void SetText(const std::string& text) override;
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // The caret as column (X) and line (Y), both from 0, from SelStart (which counts the
    // characters of Text, a line break as two, as the window does).
    TPoint CaretPos() const;
    void SetCaretPos(TPoint p);
    // Return and Tab stay in the memo only when it wants them.
    void KeyPress(char32_t& key) override;

private:
    void LinesChanged(TObject*);
    std::unique_ptr<TStringList> FLines;
    bool FWordWrap = true, FWantReturns = true, FWantTabs = false, FSettingText = false;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    TAlignment FAlignment = TAlignment::taLeftJustify;
};

class TMemo : public TCustomMemo {
    RTL_DECLARE_CLASS(TMemo, TCustomMemo)
public:
    using TCustomMemo::TCustomMemo;
};

// Checking a radio button unchecks the other radio buttons of the same parent.
class TRadioButton : public TButtonControl {
    RTL_DECLARE_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return FChecked; }
    // Checking also makes it the tab stop of its group and runs OnClick (not while reading).
    void SetChecked(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // The user clicked it (what the button window reports): checks it.
    void ButtonClicked() { SetChecked(true); }
    void KeyPress(char32_t& key) override;
    void WndProc(TMessage& message) override;

private:
    void TurnSiblingsOff();
    bool FChecked = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

enum class TComboBoxStyle : uint8_t {
    csDropDown,
    csSimple,
    csDropDownList,
    csOwnerDrawFixed,
    csOwnerDrawVariable
};
const rtl::TTypeInfo* ComboBoxStyleTypeInfo();

// The combo box. Code that sets Text or ItemIndex runs no event; the user's choices do:
// choosing an item runs OnClick, then OnSelect (OnChange when OnSelect is not set); typing
// runs OnChange.
class TCustomComboBox : public TWinControl {
    RTL_DECLARE_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* items);
    int ItemIndex() const { return FItemIndex; }
    // -1 or an index outside the items clears the selection (and, in a list style, the text).
    void SetItemIndex(int index);
    // A drop-down list takes only the text of one of its items (selecting it).
    void SetText(const std::string& text) override;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    bool IsListStyle() const {
        return FStyle == TComboBoxStyle::csDropDownList ||
               FStyle == TComboBoxStyle::csOwnerDrawFixed ||
               FStyle == TComboBoxStyle::csOwnerDrawVariable;
    }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v) { FDropDownCount = v < 1 ? 1 : v; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v) { FItemHeight = v; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v) { FMaxLength = v < 0 ? 0 : v; }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool v);
    bool DroppedDown() const { return FDroppedDown; }
    // Opening runs OnDropDown; closing runs OnCloseUp.
    void SetDroppedDown(bool v);
    void Clear();

    // What the view reports: the user chose an item, or typed a text.
    void UserSelect(int index);
    void UserInput(const std::string& text);
    // Up and down choose the neighbouring item.
    void KeyDown(uint16_t& key, TShiftState shift) override;

    TNotifyEvent FOnChange, FOnSelect, FOnDropDown, FOnCloseUp;

protected:
    virtual void Change() { FOnChange(this); }
    virtual void Select();
    void Loaded() override;

private:
    void ItemsChanged(TObject*);
    std::unique_ptr<TStringList> FItems;
    int FItemIndex = -1;
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    int FDropDownCount = 8, FItemHeight = 13, FMaxLength = 0;
    bool FDroppedDown = false, FSyncing = false;
};

class TComboBox : public TCustomComboBox {
    RTL_DECLARE_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};

// A list of lines to choose from, one or (with MultiSelect) several.
class TCustomListBox : public TWinControl {
    RTL_DECLARE_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* items);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index); // outside the items: none
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool v) { FItems->SetSorted(v); }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v) { FItemHeight = v; }
    // EListError "List index out of bounds (n)" outside the items.
    bool Selected(int index) const;
    void SetSelected(int index, bool v);
    int SelCount() const;
    void ClearSelection();
    void Clear() { FItems->Clear(); }
    // The user clicked an item: it becomes the item index (toggled with Ctrl in multi-select),
    // then OnClick.
    void UserSelect(int index, TShiftState shift = {});
    void KeyDown(uint16_t& key, TShiftState shift) override;

protected:
    void Loaded() override;

private:
    void ItemsChanged(TObject*);
    std::unique_ptr<TStringList> FItems;
    std::vector<bool> FSelected;
    int FItemIndex = -1, FItemHeight = 13;
    bool FMultiSelect = false;
};

class TListBox : public TCustomListBox {
    RTL_DECLARE_CLASS(TListBox, TCustomListBox)
public:
    using TCustomListBox::TCustomListBox;
};

// Makes sure the standard control classes are registered for creation by name (a static
// library drops objects nothing refers to, and with them their registration).
void RegisterStdCtrls();

} // namespace vcl
