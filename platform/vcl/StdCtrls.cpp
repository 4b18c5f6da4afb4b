#include "platform/vcl/StdCtrls.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

namespace vcl {

namespace {

// Characters, not bytes, of a UTF-8 text: the edit's MaxLength counts what the user sees.
std::string CutToChars(const std::string& s, int maxChars) {
    int n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && n++ == maxChars)
            return s.substr(0, i);
    }
    return s;
}

} // namespace

RTL_BEGIN_CLASS(TLabel, TGraphicControl)
c.Obj("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
c.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize);
c.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
RTL_END_CLASS

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    TRect r{0, 0, 0, 0};
    std::string text = Caption().empty() ? " " : Caption();
    DrawTextRect(*canvas, text, r, DT_CALCRECT | DT_SINGLELINE);
    SetBounds(Left(), Top(), r.Right - r.Left, r.Bottom - r.Top);
}

void TLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Paint() {
    TCanvas* canvas = Canvas();
    TRect r{0, 0, Width(), Height()};
    if (!FTransparent) canvas->FillRect(r);
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    if (!Enabled()) {
        // The VCL's disabled label: highlight one pixel down-right, then grey text.
        TRect shadow{1, 1, Width() + 1, Height() + 1};
        canvas->Font()->SetColor(clBtnHighlight);
        DrawTextRect(*canvas, Caption(), shadow, DT_LEFT);
        canvas->Font()->SetColor(clBtnShadow);
    }
    DrawTextRect(*canvas, Caption(), r, DT_LEFT);
}

void TLabel::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && FFocusControl && Enabled() &&
        IsAccel(char32_t(message.WParam), Caption()) && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        message.Result = 1;
        return;
    }
    TGraphicControl::WndProc(message);
}

void TLabel::SetFocusControl(TWinControl* c) {
    if (c == FFocusControl) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = c;
    if (c) c->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FFocusControl) FFocusControl = nullptr;
}

RTL_BEGIN_CLASS(TCustomEdit, TWinControl)
c.Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
c.Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
c.Str("Text", &TCustomEdit::Text, &TCustomEdit::SetText);
c.Event("OnChange", &TCustomEdit::FOnChange);
RTL_END_CLASS

RTL_BEGIN_CLASS(TEdit, TCustomEdit)
RTL_END_CLASS

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(int(uint32_t(clWindow)));
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SelectAll() {
    FSelStart = 0;
    int n = 0;
    for (char ch : Text())
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
    FSelLength = n;
}

void TCustomEdit::UserInput(const std::string& text) {
    if (FReadOnly) return;
    SetText(FMaxLength > 0 ? CutToChars(text, FMaxLength) : text);
}

void TCustomEdit::TextChanged() {
    // The VCL tells of changes made by code too, but not while the form is being read.
    if (!IsLoading()) FOnChange(this);
}

RTL_BEGIN_ABSTRACT_CLASS(TButtonControl, TWinControl)
RTL_END_CLASS

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

RTL_BEGIN_CLASS(TButton, TButtonControl)
c.Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
c.Bool("Default", &TButton::Default, &TButton::SetDefault);
c.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel);
RTL_END_CLASS

void TButton::Click() {
    if (FModalResult != 0)
        if (TCustomForm* form = GetParentForm()) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && IsAccel(char32_t(message.WParam), Caption()) &&
        CanFocus()) {
        SetFocus();
        Click();
        message.Result = 1;
        return;
    }
    TButtonControl::WndProc(message);
}

void TButton::KeyPress(char32_t& key) {
    TButtonControl::KeyPress(key);
    if (key == U' ' || key == U'\r') {
        key = 0;
        Click();
    }
}

const rtl::TTypeInfo* CheckBoxStateTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
    return t;
}

RTL_BEGIN_CLASS(TCheckBox, TButtonControl)
c.Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked);
c.Enum("State", &TCheckBox::State, &TCheckBox::SetState, CheckBoxStateTypeInfo());
c.Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed);
RTL_END_CLASS

void TCheckBox::SetState(TCheckBoxState s) {
    if (s == FState) return;
    FState = s;
    Changed();
    // Setting Checked from code clicks, as the VCL's check box does; not while reading.
    if (!IsLoading()) TButtonControl::Click();
}

void TCheckBox::Toggle() {
    switch (FState) {
    case TCheckBoxState::cbUnchecked:
        SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbChecked:
        SetState(TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed:
        SetState(TCheckBoxState::cbChecked);
        break;
    }
}

void TCheckBox::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && IsAccel(char32_t(message.WParam), Caption()) &&
        CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        message.Result = 1;
        return;
    }
    TButtonControl::WndProc(message);
}

void TCheckBox::KeyPress(char32_t& key) {
    TButtonControl::KeyPress(key);
    if (key == U' ') {
        key = 0;
        Toggle();
    }
}

RTL_BEGIN_CLASS(TCustomPanel, TWinControl)
RTL_END_CLASS
RTL_BEGIN_CLASS(TPanel, TCustomPanel)
RTL_END_CLASS
RTL_BEGIN_CLASS(TGroupBox, TWinControl)
RTL_END_CLASS

void RegisterStdCtrls() {
    static const bool done = [] {
        for (const TClassInfo* c : {&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(),
                                    &TButton::StaticClassInfo(), &TCheckBox::StaticClassInfo(),
                                    &TPanel::StaticClassInfo(), &TGroupBox::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace vcl
