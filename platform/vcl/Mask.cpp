#include "platform/vcl/Mask.h"

#include "platform/vcl/Forms.h"

#include "platform/rtl/ClassBuilder.h"

namespace vcl {

namespace {

std::string EncodeChar(char32_t c) {
    std::string s;
    rtl::AppendUtf8(s, c);
    return s;
}

// Byte offset of character index n (UTF-8).
size_t ByteOf(const std::string& s, int n) {
    size_t i = 0;
    for (int k = 0; k < n && i < s.size(); ++k) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

} // namespace

RTL_BEGIN_CLASS(TCustomMaskEdit, TCustomEdit)
c.Str("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask);
c.Str("Text", &TCustomMaskEdit::Text, &TCustomMaskEdit::SetText);
RTL_END_CLASS

RTL_BEGIN_CLASS(TMaskEdit, TCustomMaskEdit)
RTL_END_CLASS

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
    if (mask == FMask.EditMask()) return;
    TEditMask next(mask);
    if (IsLoading()) {
        FMask = std::move(next);
        SetMaxLength(FMask.IsMasked() ? FMask.MaxChars() : 0);
        return;
    }
    std::string edit;
    if (!next.IsMasked()) {
        edit = Text(); // the value stays what it was
    } else {
        // The characters of the input positions, in order, fill the new mask's positions.
        std::string raw;
        if (FMask.IsMasked()) {
            std::string old = FMask.NormalizeEditText(EditText());
            std::vector<std::string> chars;
            for (size_t i = 0, p = 0; i < old.size(); ++p) {
                size_t n = ByteOf(old.substr(i), 1);
                if (FMask.IsInputPos(int(p))) {
                    std::string ch = old.substr(i, n);
                    raw += ch == FMask.Blank() ? std::string(" ") : ch;
                }
                i += n;
            }
            size_t a = raw.find_first_not_of(' '), b = raw.find_last_not_of(' ');
            raw = a == std::string::npos ? std::string() : raw.substr(a, b - a + 1);
        } else {
            raw = TControl::Text();
        }
        TEditMask plain(next.MaskPart() + ";0;" + next.Blank());
        edit = plain.TextToEditText(raw);
    }
    FMask = std::move(next);
    SetMaxLength(FMask.IsMasked() ? FMask.MaxChars() : 0);
    SetEditText(edit);
}

void TCustomMaskEdit::SetEditText(const std::string& editText) {
    TCustomEdit::SetText(FMask.IsMasked() ? FMask.NormalizeEditText(editText) : editText);
}

std::string TCustomMaskEdit::Text() const {
    return FMask.IsMasked() ? FMask.EditTextToText(EditText()) : EditText();
}

void TCustomMaskEdit::SetText(const std::string& text) {
    SetEditText(FMask.IsMasked() ? FMask.TextToEditText(text) : text);
}

void TCustomMaskEdit::ValidateEdit() {
    if (!FMask.IsMasked() || !FModified) return;
    int pos = -1;
    if (FMask.Validate(EditText(), pos)) return;
    // The user is sent back to the fault, as the VCL does before raising.
    if (CanFocus() && !Focused()) {
        FReEnter = true; // entering again keeps the change and its undo text
        SetFocus();
        FReEnter = false;
    }
    if (pos >= 0) {
        SetSelStart(pos);
        SetSelLength(0);
    }
    throw EDBEditError(SMaskEditErr, pos);
}

void TCustomMaskEdit::Edited(const std::string& editText, int cursor) {
    SetSelStart(cursor);
    SetSelLength(0);
    if (editText == EditText()) return;
    FModified = true;
    SetEditText(editText);
}

void TCustomMaskEdit::UserEditText(const std::string& editText) {
    if (ReadOnly()) return;
    if (!FMask.IsMasked()) {
        FModified = true;
        UserInput(editText);
        return;
    }
    Edited(FMask.NormalizeEditText(editText), SelStart());
}

void TCustomMaskEdit::KeyPress(char32_t& key) {
    TCustomEdit::KeyPress(key);
    if (key == 0) return;
    if (key == 27) {
        if (FModified) {
            SetEditText(FEnterText);
            FModified = false;
            key = 0;
        }
        return;
    }
    if (ReadOnly() || key == U'\r' || key == U'\t') return;
    if (key > 0x10FFFF || (key >= 0xD800 && key <= 0xDFFF)) return; // no character
    int cursor = SelStart();
    int sel = SelLength();
    std::string text = EditText();
    if (!FMask.IsMasked()) {
        // A plain edit: insert at the cursor, replacing the selection.
        if (key == 8) {
            if (sel == 0 && cursor > 0) --cursor, sel = 1;
            if (sel > 0)
                text.erase(ByteOf(text, cursor), ByteOf(text, cursor + sel) - ByteOf(text, cursor));
        } else if (key >= 32) {
            text.erase(ByteOf(text, cursor), ByteOf(text, cursor + sel) - ByteOf(text, cursor));
            text.insert(ByteOf(text, cursor), EncodeChar(key));
            ++cursor;
        } else {
            return;
        }
        key = 0;
        if (MaxLength() > 0 && MaskTextLength(text) > MaxLength()) return;
        FModified = FModified || text != EditText();
        SetSelStart(cursor);
        SetSelLength(0);
        SetText(text);
        return;
    }
    if (key == 8) {
        FMask.Backspace(text, cursor, sel);
    } else if (key >= 32) {
        FMask.TypeChar(text, cursor, EncodeChar(key), sel);
    } else {
        return;
    }
    key = 0;
    Edited(text, cursor);
}

void TCustomMaskEdit::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (key == 0 || !FMask.IsMasked()) return;
    int cursor = SelStart();
    if (key == VK_DELETE) {
        if (ReadOnly()) return;
        std::string text = EditText();
        FMask.Delete(text, cursor, SelLength());
        Edited(text, cursor);
        key = 0;
    } else if (key == VK_LEFT) {
        SetSelStart(FMask.PriorEditPos(cursor - 1));
        SetSelLength(0);
        key = 0;
    } else if (key == VK_RIGHT) {
        int next = FMask.NextEditPos(cursor + 1);
        SetSelStart(next < FMask.MaxChars() ? next : FMask.MaxChars());
        SetSelLength(0);
        key = 0;
    }
}

void TCustomMaskEdit::DoEnter() {
    if (FReEnter) {
        TCustomEdit::DoEnter();
        return;
    }
    FEnterText = EditText();
    FModified = false;
    SetSelStart(FMask.IsMasked() ? FMask.NextEditPos(0) : 0);
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit() {
    ValidateEdit();
    TCustomEdit::DoExit();
}

void RegisterMask() {
    static const bool done = [] {
        (void)TMaskEdit::StaticClassInfo();
        return true;
    }();
    (void)done;
}

} // namespace vcl
