#include "platform/vcl/StdCtrls.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

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

int MaskTextLengthOf(const std::string& s) {
    int n = 0;
    for (char ch : s)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
    return n;
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
    ViewChanged(TViewChange::vcState);
    // Setting Checked from code clicks, as the VCL's check box does; not while reading.
    if (!IsLoading()) TButtonControl::Click();
}

TCheckBoxState NextCheckBoxState(TCheckBoxState state, bool allowGrayed) {
    switch (state) {
    case TCheckBoxState::cbUnchecked:
        return allowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
    case TCheckBoxState::cbChecked:
        return TCheckBoxState::cbUnchecked;
    case TCheckBoxState::cbGrayed:
        break;
    }
    return TCheckBoxState::cbChecked;
}

void TCheckBox::Toggle() {
    SetState(NextCheckBoxState(FState, FAllowGrayed));
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

const rtl::TTypeInfo* AlignmentTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return t;
}

const rtl::TTypeInfo* ScrollStyleTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
    return t;
}

// ---- Memo ----------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TCustomMemo, TCustomEdit)
c.Obj("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
c.Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap);
c.Enum("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ScrollStyleTypeInfo());
c.Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns);
c.Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs);
c.Enum("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment, AlignmentTypeInfo());
RTL_END_CLASS

RTL_BEGIN_CLASS(TMemo, TCustomMemo)
RTL_END_CLASS

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), FLines(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 89);
    FLines->OnChange = rtl::MethodOf<&TCustomMemo::LinesChanged>(this);
}

TCustomMemo::~TCustomMemo() {
    FLines->OnChange = {};
}

void TCustomMemo::SetLines(TStrings* lines) {
    if (lines) FLines->Assign(*lines);
}

void TCustomMemo::LinesChanged(TObject*) {
    if (FSettingText) return;
    std::string text = FLines->Text();
    // The window text has no line break after the last line.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    TCustomEdit::SetText(text);
}

void TCustomMemo::SetText(const std::string& text) {
    FSettingText = true;
    try {
        FLines->SetText(text);
    } catch (...) {
        FSettingText = false;
        throw;
    }
    FSettingText = false;
    TCustomEdit::SetText(text);
}

void TCustomMemo::SetWordWrap(bool v) {
    if (v == FWordWrap) return;
    FWordWrap = v;
    ViewChanged(TViewChange::vcState);
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
    if (v == FScrollBars) return;
    FScrollBars = v;
    ViewChanged(TViewChange::vcState);
}

void TCustomMemo::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    ViewChanged(TViewChange::vcState);
}

TPoint TCustomMemo::CaretPos() const {
    const int sel = std::max(0, SelStart());
    int at = 0;
    for (int i = 0; i < FLines->Count(); ++i) {
        const int len = MaskTextLengthOf(FLines->Get(i));
        if (sel <= at + len) return {sel - at, i};
        at += len + 2;
    }
    // Past the last line break: the start of the empty line after it.
    return {std::max(0, sel - at), FLines->Count()};
}

void TCustomMemo::SetCaretPos(TPoint p) {
    int at = 0;
    const int last = std::max(0, FLines->Count() - 1);
    const int line = std::clamp(p.Y, 0, last);
    for (int i = 0; i < line; ++i)
        at += MaskTextLengthOf(FLines->Get(i)) + 2;
    int len = line < FLines->Count() ? MaskTextLengthOf(FLines->Get(line)) : 0;
    SetSelStart(at + std::clamp(p.X, 0, len));
    SetSelLength(0);
}

void TCustomMemo::KeyPress(char32_t& key) {
    TCustomEdit::KeyPress(key);
    if ((key == U'\r' && !FWantReturns) || (key == U'\t' && !FWantTabs)) key = 0;
}

// ---- Radio button --------------------------------------------------------------------------

RTL_BEGIN_CLASS(TRadioButton, TButtonControl)
c.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
c.Enum("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment, AlignmentTypeInfo());
RTL_END_CLASS

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    // Only the checked button of a group is a tab stop.
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool v) {
    if (v == FChecked) return;
    FChecked = v;
    SetTabStop(v);
    ViewChanged(TViewChange::vcState);
    Invalidate();
    if (!v) return;
    TurnSiblingsOff(); // while reading too: of two checked in a resource the later wins
    if (IsLoading()) return;
    Changed();
    TButtonControl::Click();
}

void TRadioButton::TurnSiblingsOff() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c != this && c->InheritsFrom(TRadioButton::StaticClassInfo()))
            static_cast<TRadioButton*>(c)->SetChecked(false);
    }
}

void TRadioButton::SetAlignment(TAlignment v) {
    if (v == TAlignment::taCenter) v = TAlignment::taRightJustify;
    if (v == FAlignment) return;
    FAlignment = v;
    ViewChanged(TViewChange::vcState);
    Invalidate();
}

void TRadioButton::KeyPress(char32_t& key) {
    TButtonControl::KeyPress(key);
    if (key == U' ') {
        key = 0;
        ButtonClicked();
    }
}

void TRadioButton::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && IsAccel(char32_t(message.WParam), Caption()) &&
        CanFocus()) {
        SetFocus();
        if (Focused()) ButtonClicked();
        message.Result = 1;
        return;
    }
    TButtonControl::WndProc(message);
}

// ---- Combo box -----------------------------------------------------------------------------

const rtl::TTypeInfo* ComboBoxStyleTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList",
                                             "csOwnerDrawFixed", "csOwnerDrawVariable"});
    return t;
}

RTL_BEGIN_ABSTRACT_CLASS(TCustomComboBox, TWinControl)
c.Enum("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle, ComboBoxStyleTypeInfo());
c.Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount);
c.Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight);
c.Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex);
c.Int("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength);
c.Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted);
c.Str("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText);
c.Obj("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
c.Event("OnChange", &TCustomComboBox::FOnChange);
c.Event("OnSelect", &TCustomComboBox::FOnSelect);
c.Event("OnDropDown", &TCustomComboBox::FOnDropDown);
c.Event("OnCloseUp", &TCustomComboBox::FOnCloseUp);
RTL_END_CLASS

RTL_BEGIN_CLASS(TComboBox, TCustomComboBox)
RTL_END_CLASS

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TStringList>()) {
    SetTabStop(true);
    SetColor(int(uint32_t(clWindow)));
    SetBounds(0, 0, 145, 21);
    FItems->Duplicates = rtl::TDuplicates::dupAccept;
    FItems->OnChange = rtl::MethodOf<&TCustomComboBox::ItemsChanged>(this);
}

TCustomComboBox::~TCustomComboBox() {
    FItems->OnChange = {};
}

void TCustomComboBox::SetItems(TStrings* items) {
    if (items) FItems->Assign(*items);
}

void TCustomComboBox::ItemsChanged(TObject*) {
    if (!IsLoading()) {
        // The selection follows its item when lines come and go; a lost item clears it.
        if (FItems->Count() == 0) {
            FItemIndex = -1;
            FSyncing = true;
            TWinControl::SetText("");
            FSyncing = false;
        } else if (FItemIndex >= 0 &&
                   (FItemIndex >= FItems->Count() || FItems->Get(FItemIndex) != Text())) {
            SetItemIndex(FItems->IndexOf(Text()));
        }
    }
    ViewChanged(TViewChange::vcState);
}

void TCustomComboBox::SetItemIndex(int index) {
    if (IsLoading()) {
        FItemIndex = index; // the items may come later in the resource
        return;
    }
    if (index < -1 || index >= FItems->Count()) index = -1;
    bool changed = index != FItemIndex;
    FItemIndex = index;
    FSyncing = true;
    try {
        if (index >= 0)
            TWinControl::SetText(FItems->Get(index));
        else if (IsListStyle())
            TWinControl::SetText("");
    } catch (...) {
        FSyncing = false;
        throw;
    }
    FSyncing = false;
    if (changed) ViewChanged(TViewChange::vcState);
}

void TCustomComboBox::SetText(const std::string& text) {
    if (FSyncing || IsLoading()) {
        TWinControl::SetText(text);
        return;
    }
    int found = -1;
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Get(i) == text) {
            found = i;
            break;
        }
    if (IsListStyle()) {
        if (found < 0)
            for (int i = 0; i < FItems->Count(); ++i)
                if (rtl::SameText(FItems->Get(i), text)) {
                    found = i;
                    break;
                }
        SetItemIndex(found);
        return;
    }
    if (found != FItemIndex) {
        FItemIndex = found;
        ViewChanged(TViewChange::vcState);
    }
    TWinControl::SetText(text);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
    if (v == FStyle) return;
    FStyle = v;
    if (!IsLoading() && IsListStyle() && FItemIndex < 0) TWinControl::SetText("");
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool v) {
    if (v == FItems->Sorted()) return;
    std::string text = FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
    int keep = FItemIndex;
    FItemIndex = -1; // the sort moves the item; found again below
    FItems->SetSorted(v);
    if (keep >= 0 && !IsLoading()) SetItemIndex(FItems->IndexOf(text));
}

void TCustomComboBox::SetDroppedDown(bool v) {
    if (v == FDroppedDown) return;
    FDroppedDown = v;
    ViewChanged(TViewChange::vcState);
    if (v)
        FOnDropDown(this);
    else
        FOnCloseUp(this);
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetItemIndex(-1);
    FSyncing = true;
    TWinControl::SetText("");
    FSyncing = false;
}

void TCustomComboBox::Select() {
    if (FOnSelect)
        FOnSelect(this);
    else
        Change();
}

void TCustomComboBox::UserSelect(int index) {
    if (index < 0 || index >= FItems->Count()) return;
    SetItemIndex(index);
    Click();
    Select();
}

void TCustomComboBox::UserInput(const std::string& text) {
    if (IsListStyle()) return; // a list style has no edit to type in
    std::string t = text;
    if (FMaxLength > 0 && MaskTextLengthOf(t) > FMaxLength) t = CutToChars(t, FMaxLength);
    SetText(t);
    Change();
}

void TCustomComboBox::KeyDown(uint16_t& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key != VK_DOWN && key != VK_UP) return;
    if (shift.Contains(TShiftStateItem::ssAlt)) {
        SetDroppedDown(!FDroppedDown);
        key = 0;
        return;
    }
    int next = FItemIndex + (key == VK_DOWN ? 1 : -1);
    if (FItemIndex < 0 && key == VK_UP) next = 0;
    key = 0;
    if (next >= 0 && next < FItems->Count() && next != FItemIndex) UserSelect(next);
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    int index = FItemIndex;
    FItemIndex = -1;
    if (index >= 0 && index < FItems->Count()) {
        SetItemIndex(index);
        return;
    }
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Get(i) == Text()) {
            FItemIndex = i;
            break;
        }
}

// ---- List box ------------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TCustomListBox, TWinControl)
c.Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight);
c.Int("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex);
c.Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect);
c.Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted);
c.Obj("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
RTL_END_CLASS

RTL_BEGIN_CLASS(TListBox, TCustomListBox)
RTL_END_CLASS

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TStringList>()) {
    SetTabStop(true);
    SetColor(int(uint32_t(clWindow)));
    SetBounds(0, 0, 121, 97);
    FItems->Duplicates = rtl::TDuplicates::dupAccept;
    FItems->OnChange = rtl::MethodOf<&TCustomListBox::ItemsChanged>(this);
}

TCustomListBox::~TCustomListBox() {
    FItems->OnChange = {};
}

void TCustomListBox::SetItems(TStrings* items) {
    if (items) FItems->Assign(*items);
}

void TCustomListBox::ItemsChanged(TObject*) {
    // Selections do not survive a change of the lines, as with a list box window refilled.
    FSelected.assign(size_t(FItems->Count()), false);
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    if (FItemIndex >= 0) FSelected[size_t(FItemIndex)] = true;
    ViewChanged(TViewChange::vcState);
}

void TCustomListBox::SetItemIndex(int index) {
    if (IsLoading()) {
        FItemIndex = index;
        return;
    }
    if (index < -1 || index >= FItems->Count()) index = -1;
    if (!FMultiSelect) FSelected.assign(size_t(FItems->Count()), false);
    FItemIndex = index;
    if (index >= 0) FSelected[size_t(index)] = true;
    ViewChanged(TViewChange::vcState);
}

void TCustomListBox::SetMultiSelect(bool v) {
    if (v == FMultiSelect) return;
    FMultiSelect = v;
    if (!v) SetItemIndex(FItemIndex);
    RecreateWnd();
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= FItems->Count())
        throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
    return FSelected[size_t(index)];
}

void TCustomListBox::SetSelected(int index, bool v) {
    (void)Selected(index);
    if (!FMultiSelect) {
        SetItemIndex(v ? index : (index == FItemIndex ? -1 : FItemIndex));
        return;
    }
    FSelected[size_t(index)] = v;
    ViewChanged(TViewChange::vcState);
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect) return -1; // as the VCL answers for a single-selection list
    return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::ClearSelection() {
    FSelected.assign(size_t(FItems->Count()), false);
    FItemIndex = -1;
    ViewChanged(TViewChange::vcState);
}

void TCustomListBox::UserSelect(int index, TShiftState shift) {
    if (index < 0 || index >= FItems->Count()) return;
    if (FMultiSelect && shift.Contains(TShiftStateItem::ssCtrl)) {
        FSelected[size_t(index)] = !FSelected[size_t(index)];
        FItemIndex = index;
        ViewChanged(TViewChange::vcState);
    } else {
        if (FMultiSelect) FSelected.assign(size_t(FItems->Count()), false);
        SetItemIndex(index);
    }
    Click();
}

void TCustomListBox::KeyDown(uint16_t& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key != VK_DOWN && key != VK_UP) return;
    int next = FItemIndex + (key == VK_DOWN ? 1 : -1);
    if (FItemIndex < 0) next = 0;
    key = 0;
    if (next >= 0 && next < FItems->Count() && next != FItemIndex) UserSelect(next);
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    int index = FItemIndex;
    FItemIndex = -1;
    FSelected.assign(size_t(FItems->Count()), false);
    SetItemIndex(index);
}

void RegisterStdCtrls() {
    static const bool done = [] {
        for (const TClassInfo* c : {&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(),
                                    &TButton::StaticClassInfo(), &TCheckBox::StaticClassInfo(),
                                    &TPanel::StaticClassInfo(), &TGroupBox::StaticClassInfo(),
                                    &TMemo::StaticClassInfo(), &TRadioButton::StaticClassInfo(),
                                    &TComboBox::StaticClassInfo(), &TListBox::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace vcl
