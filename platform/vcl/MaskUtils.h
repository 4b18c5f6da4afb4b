// Delphi's edit masks as a standalone engine: the rules of MaskUtils and of TCustomMaskEdit's
// editing, without any control. The masked edit model and its Qt view both work through it.
//
// A mask text has up to three fields separated by ';': the mask, the "save literals" flag ('0'
// keeps literal characters out of the Text value, anything else or nothing keeps them) and the
// blank character shown in unfilled positions (default '_'). As in the VCL, only a ';' among the
// last four characters separates fields; an earlier one is a literal of the mask.
//
// Mask characters: '!' (optional characters are leading blanks: values are right-aligned),
// '>' upper case from here, '<' lower case from here, "<>" case off, '\' next character is a
// literal, 'L'/'l' letter, 'A'/'a' letter or digit, 'C'/'c' any character, '0'/'9' digit, '#'
// digit, sign or space (upper case letters and '0' are required, the others optional), ':' and
// '/' the process's time and date separators, '_' a space. Everything else is a literal.
//
// Texts are UTF-8. Positions and cursors count characters (code points); a byte that does not
// start a valid UTF-8 sequence counts as one character of its own and is kept as it is.
// The edit text has exactly one character per mask position, literals included.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <string>
#include <string_view>
#include <vector>

namespace vcl {

// The VCL's message for a masked edit left with invalid input.
extern const char* const SMaskEditErr; // "Invalid input value.  Use escape key to abandon changes"

class EDBEditError : public rtl::Exception {
public:
    explicit EDBEditError(std::string message, int position = -1)
        : rtl::Exception(std::move(message)), Position(position) {}
    const char* ClassName() const override { return "EDBEditError"; }
    int Position; // edit-text position of the first fault, -1 when none is known
};

// Kind of one edit-text position.
enum class TMaskCharType {
    mcNone,        // outside the mask
    mcLiteral,     // fixed character (escaped characters, '_', anything else)
    mcIntlLiteral, // date or time separator
    mcMask,        // required input
    mcMaskOpt,     // optional input
};

enum class TMaskCase { None, Upper, Lower };

struct TMaskPosition {
    TMaskCharType Type = TMaskCharType::mcNone;
    char32_t MaskChar = 0; // the mask character ('0', 'L', '/', '_', ...); escaped: the character
    std::string Literal;   // literal positions: the character the text shows there
    TMaskCase Case = TMaskCase::None;

    bool IsInput() const {
        return Type == TMaskCharType::mcMask || Type == TMaskCharType::mcMaskOpt;
    }
    bool IsLiteral() const {
        return Type == TMaskCharType::mcLiteral || Type == TMaskCharType::mcIntlLiteral;
    }
    bool IsRequired() const { return Type == TMaskCharType::mcMask; }
};

// A parsed mask. Separators ':' and '/' are taken from the process's settings when parsed.
// Without a mask (or with one that defines no position) the conversions hand texts back
// unchanged, the editing functions refuse, and every text is valid: a plain edit.
class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(std::string_view editMask);

    const std::string& EditMask() const { return FEditMask; }
    const std::string& MaskPart() const { return FMaskPart; } // the first field
    bool IsMasked() const { return !FPositions.empty(); }
    int FieldCount() const { return FFieldCount; }         // 1..3
    int FieldSeparator() const { return FFieldSeparator; } // character index, -1 when none
    bool SaveLiterals() const { return FSaveLiterals; }
    const std::string& Blank() const { return FBlank; } // one character
    bool ReverseDir() const { return FReverse; }        // the mask holds '!'
    int MaxChars() const { return static_cast<int>(FPositions.size()); }
    const std::vector<TMaskPosition>& Positions() const { return FPositions; }
    TMaskCharType CharType(int pos) const;
    bool IsLiteral(int pos) const;
    bool IsInputPos(int pos) const;
    std::vector<int> LiteralPositions() const;

    // What the edit shows when empty: literals, and the blank in every input position.
    std::string EmptyText() const;
    // The edit text made exactly one character per position: missing input positions blank,
    // literal positions holding their literal, anything beyond the mask dropped.
    std::string NormalizeEditText(std::string_view editText) const;
    // EditText -> Text: literals removed unless saved; leading blanks (with '!') or trailing
    // blanks (without) trimmed; remaining blanks as spaces. With saved literals the value is put
    // back into the mask's shape, spaces for blanks.
    std::string EditTextToText(std::string_view editText) const;
    // Text -> EditText. With saved literals, each part of the value between literals is fitted
    // to its field (a part found without its literal takes as many characters as the field
    // holds); without, the value fills the input positions (from the right with '!').
    // Unfilled positions get the blank; what does not fit is dropped.
    std::string TextToEditText(std::string_view text) const;

    // Whether one character (a single code point) may be typed at the position; a literal
    // position accepts only its own literal.
    bool IsValidChar(int pos, std::string_view ch) const;
    // As IsValidChar, and gives the character as stored (case directives applied).
    bool AcceptChar(int pos, std::string_view ch, std::string& stored) const;

    // The first input position at or after pos (MaxChars when none).
    int NextEditPos(int pos) const;
    // The last input position at or before pos; when there is none, the first input position.
    int PriorEditPos(int pos) const;

    // Editing in overwrite mode. The cursor stands before the character it overwrites;
    // selLength > 1 is a selection starting at the cursor (a length of one is the overwrite
    // cursor itself). Each function normalizes editText and writes it back.
    //
    // A typed character replaces the next input position at or after the cursor; the cursor
    // then moves past following literals. A refused character changes nothing but the
    // cleared selection. Returns whether the character was taken.
    bool TypeChar(std::string& editText, int& cursor, std::string_view ch, int selLength = 0) const;
    // Types each character in turn; returns how many were taken.
    int TypeText(std::string& editText, int& cursor, std::string_view text,
                 int selLength = 0) const;
    // Pasting: characters fill the positions from the cursor on; a literal position takes a
    // matching character or is stepped over; a character the position refuses leaves a blank.
    bool Paste(std::string& editText, int& cursor, std::string_view text, int selLength = 0) const;
    // Backspace blanks the input position before the cursor and moves there; Delete blanks the
    // position at the cursor. With a selection both blank its input positions and put the cursor
    // on the first input position of it. Return whether anything was done.
    bool Backspace(std::string& editText, int& cursor, int selLength = 0) const;
    bool Delete(std::string& editText, int& cursor, int selLength = 0) const;
    // Blanks the input positions of [start, start + length).
    void ClearRange(std::string& editText, int start, int length) const;

    // A complete edit text is valid when every required position is filled (neither the blank
    // nor, except for 'C', a space) and every filled input position holds a character the
    // position accepts. errorPos: the first faulty position, -1 when valid.
    bool Validate(std::string_view editText, int& errorPos) const;
    // Raises EDBEditError (SMaskEditErr, with the position) when Validate fails.
    void ValidateEdit(std::string_view editText) const;

private:
    std::string FEditMask;
    std::string FMaskPart;
    std::vector<TMaskPosition> FPositions;
    int FFieldCount = 1;
    int FFieldSeparator = -1;
    bool FSaveLiterals = true;
    std::string FBlank = "_";
    bool FReverse = false;
};

// Delphi's FormatMaskText: the value placed into the mask with spaces for blanks; with saved
// literals the value is expected with its literals, otherwise without. Without saved literals a
// value longer than the mask keeps its excess characters, as the VCL's does.
std::string FormatMaskText(std::string_view editMask, std::string_view value);
// Character index of the ';' that ends the mask field, -1 when the mask has no other fields.
int MaskGetFieldSeparator(std::string_view editMask);
bool MaskGetMaskSave(std::string_view editMask);
std::string MaskGetMaskBlank(std::string_view editMask);
// Length of a text in the engine's characters.
int MaskTextLength(std::string_view text);

} // namespace vcl
