// Edits that carry their own caption label, optionally a lookup button beside them, and the
// data-aware twins of both.
#pragma once

#include "platform/vcl/StdCtrls.h"

namespace db {
class TDataSource;
}

namespace components {

using namespace vcl;

class TGSpeedButton;

enum class TLabelPosition : uint8_t { lpAbove, lpBelow, lpLeft, lpRight };
const rtl::TTypeInfo* LabelPositionTypeInfo();

// The caption label and the lookup button of one edit, kept beside it. Shared by the plain
// and the data-aware edits, which derive from different bases.
class TEditParts {
public:
    explicit TEditParts(TCustomEdit& edit) : FEdit(edit) {}
    TLabel* EditLabel = nullptr;
    TGSpeedButton* Button = nullptr;
    TLabelPosition LabelPosition = TLabelPosition::lpLeft;
    int LabelSpacing = 4;
    int ButtonSpacing = 2;
    int GlyphIndex = 8;
    const TNotifyEvent* OnDialog = nullptr; // the button edit's event

    void CreateLabel();
    void CreateButton();
    std::string Caption() const;
    void SetCaption(const std::string& s);
    void PlaceLabel();
    void PlaceButton();
    void Follow(); // parent, enabling and visibility of the edit
    void Forget(TComponent* component);
    // The button's click: OnDialog, or the lookup request of the edit.
    void ButtonClick();
    // The number goes to the button, and is kept only while there is one.
    void SetGlyphIndex(int n);
    std::string ButtonHint() const;
    void SetButtonHint(const std::string& s);

private:
    TCustomEdit& FEdit;
};

#define KT_EDIT_MEMBERS(Class, Base)                                                               \
public:                                                                                            \
    explicit Class(TComponent* owner);                                                             \
    TLabel* EditLabel() const {                                                                    \
        return FParts.EditLabel;                                                                   \
    }                                                                                              \
    std::string Caption() const {                                                                  \
        return FParts.Caption();                                                                   \
    }                                                                                              \
    void SetCaption(const std::string& s) {                                                        \
        FParts.SetCaption(s);                                                                      \
    }                                                                                              \
    TLabelPosition LabelPosition() const {                                                         \
        return FParts.LabelPosition;                                                               \
    }                                                                                              \
    void SetLabelPosition(TLabelPosition p) {                                                      \
        FParts.LabelPosition = p;                                                                  \
        FParts.PlaceLabel();                                                                       \
    }                                                                                              \
    int LabelSpacing() const {                                                                     \
        return FParts.LabelSpacing;                                                                \
    }                                                                                              \
    void SetLabelSpacing(int s) {                                                                  \
        FParts.LabelSpacing = s;                                                                   \
        FParts.PlaceLabel();                                                                       \
    }                                                                                              \
    void SetBounds(int left, int top, int width, int height) override;                             \
    void SetParent(TWinControl* parent) override;                                                  \
                                                                                                   \
protected:                                                                                         \
    void Notification(TComponent* component, TOperation operation) override;                       \
    void EnabledChanged() override;                                                                \
    void Changed() override;                                                                       \
    void Loaded() override;                                                                        \
    TEditParts FParts{*this};                                                                      \
                                                                                                   \
public:

class TKtEdit : public TEdit {
    RTL_DECLARE_CLASS(TKtEdit, TEdit)
    KT_EDIT_MEMBERS(TKtEdit, TEdit)
};

class TKtBtnEdit : public TKtEdit {
    RTL_DECLARE_CLASS(TKtBtnEdit, TKtEdit)
public:
    explicit TKtBtnEdit(TComponent* owner);
    TGSpeedButton* F2Button() const { return FParts.Button; }
    int ButtonSpacing() const { return FParts.ButtonSpacing; }
    void SetButtonSpacing(int s) {
        FParts.ButtonSpacing = s;
        FParts.PlaceButton();
    }
    int GlyphIndex() const { return FParts.GlyphIndex; }
    void SetGlyphIndex(int n) { FParts.SetGlyphIndex(n); }
    std::string ButtonHint() const { return FParts.ButtonHint(); }
    void SetButtonHint(const std::string& s) { FParts.SetButtonHint(s); }
    TNotifyEvent FOnDialog;

private:
    void F2ButtonClick(TObject*);
};

// The data-aware edit: the field it edits by name. Setting it at design time takes the
// field's display label as the caption.
class TKtDBEdit : public TEdit {
    RTL_DECLARE_CLASS(TKtDBEdit, TEdit)
    KT_EDIT_MEMBERS(TKtDBEdit, TEdit)
    const std::string& DataField() const { return FDataField; }
    void SetDataField(const std::string& name);
    db::TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(db::TDataSource* source);

private:
    std::string FDataField;
    db::TDataSource* FDataSource = nullptr;
};

class TKtBtnDBEdit : public TKtDBEdit {
    RTL_DECLARE_CLASS(TKtBtnDBEdit, TKtDBEdit)
public:
    explicit TKtBtnDBEdit(TComponent* owner);
    TGSpeedButton* F2Button() const { return FParts.Button; }
    int ButtonSpacing() const { return FParts.ButtonSpacing; }
    void SetButtonSpacing(int s) {
        FParts.ButtonSpacing = s;
        FParts.PlaceButton();
    }
    int GlyphIndex() const { return FParts.GlyphIndex; }
    void SetGlyphIndex(int n) { FParts.SetGlyphIndex(n); }
    std::string ButtonHint() const { return FParts.ButtonHint(); }
    void SetButtonHint(const std::string& s) { FParts.SetButtonHint(s); }
    TNotifyEvent FOnDialog;

private:
    void F2ButtonClick(TObject*);
};

#undef KT_EDIT_MEMBERS

} // namespace components
