// The masked edit: an edit whose text follows a Delphi edit mask. The window shows EditText
// (one character per mask position, literals and blanks included); Text is the value the mask
// makes of it. Typing goes through the mask; leaving a changed edit that does not satisfy the
// mask raises EDBEditError and keeps the focus in the edit.
#pragma once

#include "platform/vcl/MaskUtils.h"
#include "platform/vcl/StdCtrls.h"

namespace vcl {

class TCustomMaskEdit : public TCustomEdit {
    RTL_DECLARE_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    explicit TCustomMaskEdit(TComponent* owner);

    const std::string& EditMask() const { return FMask.EditMask(); }
    // Carries the characters typed so far into the new mask (not while loading).
    void SetEditMask(const std::string& mask);
    bool IsMasked() const { return FMask.IsMasked(); }
    const TEditMask& Mask() const { return FMask; }

    // What the window shows.
    const std::string& EditText() const { return TControl::Text(); }
    void SetEditText(const std::string& editText);
    // The value: literals kept or dropped as the mask says, blanks as spaces.
    std::string Text() const;
    void SetText(const std::string& text) override;

    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }

    // Raises EDBEditError (focus back in the edit, cursor on the fault) when the edit was
    // changed by the user and its text does not satisfy the mask.
    void ValidateEdit();
    // An edit text from the view (a paste or a whole new text typed there).
    void UserEditText(const std::string& editText);

    // Typing: characters through the mask at the cursor, backspace (#8), Escape (#27) puts
    // back the text the edit had when entered.
    void KeyPress(char32_t& key) override;
    // Delete, cursor left and right.
    void KeyDown(uint16_t& key, TShiftState shift) override;

protected:
    void DoEnter() override;
    void DoExit() override;

private:
    void Edited(const std::string& editText, int cursor);
    TEditMask FMask;
    std::string FEnterText;
    bool FModified = false, FReEnter = false;
};

class TMaskEdit : public TCustomMaskEdit {
    RTL_DECLARE_CLASS(TMaskEdit, TCustomMaskEdit)
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

void RegisterMask();

} // namespace vcl
