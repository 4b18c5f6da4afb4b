// The standard controls in their model form: labels, edits, buttons, check boxes, panels.
#pragma once

#include "platform/vcl/Controls.h"

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
    void SetReadOnly(bool v) { FReadOnly = v; }
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
    void SetDefault(bool v) { FDefault = v; }
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

// Makes sure the standard control classes are registered for creation by name (a static
// library drops objects nothing refers to, and with them their registration).
void RegisterStdCtrls();

} // namespace vcl
