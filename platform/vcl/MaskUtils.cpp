#include "platform/vcl/MaskUtils.h"

#include <algorithm>

namespace vcl {

const char* const SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

namespace {

using Chars = std::vector<std::string>;

constexpr char32_t kNoChar = 0xFFFFFFFF; // not exactly one valid code point

bool IsCont(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence starting at s[i]; 0 when none starts there.
size_t SequenceLength(std::string_view s, size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const size_t left = s.size() - i;
    auto at = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return left >= 2 && IsCont(at(1)) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3 || !IsCont(at(1)) || !IsCont(at(2))) return 0;
        if (b == 0xE0 && at(1) < 0xA0) return 0;  // overlong
        if (b == 0xED && at(1) >= 0xA0) return 0; // surrogate
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4 || !IsCont(at(1)) || !IsCont(at(2)) || !IsCont(at(3))) return 0;
        if (b == 0xF0 && at(1) < 0x90) return 0;  // overlong
        if (b == 0xF4 && at(1) >= 0x90) return 0; // beyond U+10FFFF
        return 4;
    }
    return 0;
}

Chars SplitChars(std::string_view s) {
    Chars out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        size_t n = SequenceLength(s, i);
        if (n == 0) n = 1; // a stray byte is a character of its own
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

std::string Join(const Chars& chars) {
    std::string out;
    for (const auto& c : chars)
        out += c;
    return out;
}

char32_t Decode(std::string_view ch) {
    if (ch.empty() || SequenceLength(ch, 0) != ch.size()) return kNoChar;
    const auto b = [&](size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(ch[k]));
    };
    switch (ch.size()) {
    case 1:
        return b(0);
    case 2:
        return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
        return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
        return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

std::string Encode(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}
bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

// Letters as Windows' IsCharAlpha sees them, closely enough for input checks: Latin, Greek,
// Cyrillic and the other alphabets, kana, hangul and CJK ideographs count as letters;
// punctuation, symbols, digits and private-use characters do not.
bool IsLetter(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
    if (c <= 0xFF) return c != 0xD7 && c != 0xF7;
    struct Range {
        char32_t first, last;
    };
    static constexpr Range kNotLetters[] = {
        {0x0300, 0x036F},   // combining marks
        {0x2000, 0x2BFF},   // punctuation, symbols, arrows, box drawing
        {0x2E00, 0x2E7F},   // supplemental punctuation
        {0x3000, 0x3004},   // CJK punctuation (0x3005..0x3007 are ideographic)
        {0x3008, 0x303F},   //
        {0xD800, 0xF8FF},   // surrogates, private use
        {0xFE10, 0xFE6F},   // vertical, compatibility and small forms
        {0xFF00, 0xFF20},   // full-width punctuation and digits
        {0xFF3B, 0xFF40},   //
        {0xFF5B, 0xFF65},   //
        {0xFFE0, 0xFFFF},   // full-width signs, specials
        {0x1F000, 0x1FFFF}, // pictographs
        {0xF0000, 0x10FFFF},
    };
    for (const auto& r : kNotLetters)
        if (c >= r.first && c <= r.last) return false;
    return c <= 0x10FFFF;
}

char32_t ToUpper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20; // Greek
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;               // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20; // full-width Latin
    return c;
}

char32_t ToLower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
    return c;
}

bool IsInputMaskChar(char32_t c) {
    switch (c) {
    case '0':
    case '9':
    case '#':
    case 'L':
    case 'l':
    case 'A':
    case 'a':
    case 'C':
    case 'c':
        return true;
    default:
        return false;
    }
}

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

// Fits one part of a value to a field of n characters: padded with blanks, or cut, on the side
// the mask aligns away from ('!' aligns right).
void FitPart(Chars& out, const Chars& value, size_t from, size_t to, size_t n,
             const std::string& blank, bool reverse) {
    const size_t len = to - from;
    if (len >= n) {
        const size_t start = reverse ? to - n : from;
        out.insert(out.end(), value.begin() + start, value.begin() + start + n);
        return;
    }
    if (reverse) out.insert(out.end(), n - len, blank);
    out.insert(out.end(), value.begin() + from, value.begin() + to);
    if (!reverse) out.insert(out.end(), n - len, blank);
}

} // namespace

TEditMask::TEditMask(std::string_view editMask) : FEditMask(editMask) {
    const Chars chars = SplitChars(editMask);
    const size_t n = chars.size();

    // Which characters are escaped, and which ';' may separate fields: as in the VCL, only
    // those among the last four characters.
    std::vector<char> escaped(n, 0);
    for (size_t i = 0; i + 1 < n; ++i)
        if (!escaped[i] && chars[i] == "\\") escaped[++i] = 1;
    std::vector<size_t> seps;
    for (size_t i = n >= 4 ? n - 4 : 0; i < n && seps.size() < 2; ++i)
        if (!escaped[i] && chars[i] == ";") seps.push_back(i);

    const size_t maskEnd = seps.empty() ? n : seps[0];
    FFieldCount = 1 + static_cast<int>(seps.size());
    FFieldSeparator = seps.empty() ? -1 : static_cast<int>(seps[0]);
    for (size_t i = 0; i < maskEnd; ++i)
        FMaskPart += chars[i];
    if (!seps.empty()) {
        const size_t saveAt = seps[0] + 1;
        const size_t saveEnd = seps.size() > 1 ? seps[1] : n;
        if (saveAt < saveEnd && chars[saveAt] == "0") FSaveLiterals = false;
        if (seps.size() > 1 && seps[1] + 1 < n) FBlank = chars[seps[1] + 1];
    }

    TMaskCase mode = TMaskCase::None;
    bool afterLower = false; // the previous character was the directive '<'
    for (size_t i = 0; i < maskEnd; ++i) {
        const std::string& ch = chars[i];
        const char32_t c = Decode(ch);
        const bool wasAfterLower = afterLower;
        afterLower = false;
        TMaskPosition pos;
        pos.Case = mode;
        if (ch == "\\") {
            if (i + 1 >= maskEnd) break; // a trailing '\' escapes nothing
            ++i;
            pos.Type = TMaskCharType::mcLiteral;
            const char32_t e = Decode(chars[i]);
            pos.MaskChar = e == kNoChar ? 0xFFFD : e;
            pos.Literal = chars[i];
        } else if (c == '!') {
            FReverse = true;
            continue;
        } else if (c == '>') {
            mode = wasAfterLower ? TMaskCase::None : TMaskCase::Upper;
            continue;
        } else if (c == '<') {
            mode = TMaskCase::Lower;
            afterLower = true;
            continue;
        } else if (IsInputMaskChar(c)) {
            pos.MaskChar = c;
            pos.Type = (c == '0' || c == 'L' || c == 'A' || c == 'C') ? TMaskCharType::mcMask
                                                                      : TMaskCharType::mcMaskOpt;
        } else if (c == ':' || c == '/') {
            pos.MaskChar = c;
            pos.Type = TMaskCharType::mcIntlLiteral;
            pos.Literal = std::string(1, c == ':' ? rtl::TimeSeparator : rtl::DateSeparator);
        } else {
            pos.MaskChar = c == kNoChar ? 0xFFFD : c;
            pos.Type = TMaskCharType::mcLiteral;
            pos.Literal = c == '_' ? std::string(" ") : ch;
        }
        FPositions.push_back(std::move(pos));
    }
}

TMaskCharType TEditMask::CharType(int pos) const {
    if (pos < 0 || pos >= MaxChars()) return TMaskCharType::mcNone;
    return FPositions[pos].Type;
}

bool TEditMask::IsLiteral(int pos) const {
    return pos >= 0 && pos < MaxChars() && FPositions[pos].IsLiteral();
}

bool TEditMask::IsInputPos(int pos) const {
    return pos >= 0 && pos < MaxChars() && FPositions[pos].IsInput();
}

std::vector<int> TEditMask::LiteralPositions() const {
    std::vector<int> out;
    for (int i = 0; i < MaxChars(); ++i)
        if (FPositions[i].IsLiteral()) out.push_back(i);
    return out;
}

std::string TEditMask::EmptyText() const {
    std::string out;
    for (const auto& p : FPositions)
        out += p.IsLiteral() ? p.Literal : FBlank;
    return out;
}

namespace {

Chars Normalized(const std::vector<TMaskPosition>& positions, const std::string& blank,
                 std::string_view editText) {
    Chars chars = SplitChars(editText);
    chars.resize(positions.size(), blank);
    for (size_t i = 0; i < positions.size(); ++i)
        if (positions[i].IsLiteral()) chars[i] = positions[i].Literal;
    return chars;
}

// The VCL's MaskDoFormatText: a value without literals poured into the input positions (from
// the right with '!'), literals inserted, the rest blank. Excess characters stay at the
// overflowing end when keepExcess is set, else they are dropped.
Chars PourValue(const std::vector<TMaskPosition>& positions, bool reverse, const Chars& value,
                const std::string& blank, bool keepExcess) {
    Chars out;
    out.reserve(positions.size());
    if (!reverse) {
        size_t v = 0;
        for (const auto& p : positions) {
            if (p.IsLiteral())
                out.push_back(p.Literal);
            else
                out.push_back(v < value.size() ? value[v++] : blank);
        }
        if (keepExcess) out.insert(out.end(), value.begin() + v, value.end());
        return out;
    }
    size_t v = value.size(); // characters of value not yet placed: [0, v)
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        if (it->IsLiteral())
            out.push_back(it->Literal);
        else
            out.push_back(v > 0 ? value[--v] : blank);
    }
    if (keepExcess)
        for (size_t k = v; k > 0; --k)
            out.push_back(value[k - 1]);
    std::reverse(out.begin(), out.end());
    return out;
}

// The VCL's PadInputLiterals: a value with literals, each part between them fitted to its field.
Chars PadLiterals(const std::vector<TMaskPosition>& positions, bool reverse, const Chars& value,
                  const std::string& blank) {
    Chars out;
    out.reserve(positions.size());
    size_t v = 0; // next unread character of value
    size_t field = 0;
    for (const auto& p : positions) {
        if (p.IsInput()) {
            ++field;
            continue;
        }
        const auto found = std::find(value.begin() + v, value.end(), p.Literal);
        size_t end;
        size_t next;
        if (found != value.end()) {
            end = static_cast<size_t>(found - value.begin());
            next = end + 1;
        } else {
            // The literal is missing: the field takes what it can hold.
            end = std::min(value.size(), v + field);
            next = end;
        }
        FitPart(out, value, v, end, field, blank, reverse);
        out.push_back(p.Literal);
        v = next;
        field = 0;
    }
    FitPart(out, value, v, value.size(), field, blank, reverse);
    return out;
}

} // namespace

std::string TEditMask::NormalizeEditText(std::string_view editText) const {
    if (!IsMasked()) return std::string(editText);
    return Join(Normalized(FPositions, FBlank, editText));
}

std::string TEditMask::EditTextToText(std::string_view editText) const {
    if (!IsMasked()) return std::string(editText);
    const Chars chars = Normalized(FPositions, FBlank, editText);
    Chars value;
    for (size_t i = 0; i < FPositions.size(); ++i)
        if (FPositions[i].IsInput()) value.push_back(chars[i]);
    if (FReverse) {
        auto first = std::find_if(value.begin(), value.end(),
                                  [&](const std::string& c) { return c != FBlank; });
        value.erase(value.begin(), first);
    } else {
        while (!value.empty() && value.back() == FBlank)
            value.pop_back();
    }
    for (auto& c : value)
        if (c == FBlank) c = " ";
    if (!FSaveLiterals) return Join(value);
    return Join(PourValue(FPositions, FReverse, value, " ", false));
}

std::string TEditMask::TextToEditText(std::string_view text) const {
    if (!IsMasked()) return std::string(text);
    const Chars value = SplitChars(text);
    if (FSaveLiterals) return Join(PadLiterals(FPositions, FReverse, value, FBlank));
    return Join(PourValue(FPositions, FReverse, value, FBlank, false));
}

bool TEditMask::AcceptChar(int pos, std::string_view ch, std::string& stored) const {
    if (pos < 0 || pos >= MaxChars()) return false;
    const TMaskPosition& p = FPositions[pos];
    if (p.IsLiteral()) {
        if (ch != p.Literal) return false;
        stored = p.Literal;
        return true;
    }
    const char32_t c = Decode(ch);
    if (c == kNoChar || IsControl(c)) return false;
    bool ok = false;
    bool cased = false;
    switch (p.MaskChar) {
    case '0':
    case '9':
        ok = IsDigit(c);
        break;
    case '#':
        ok = IsDigit(c) || c == ' ' || c == '+' || c == '-';
        break;
    case 'L':
    case 'l':
        ok = cased = IsLetter(c);
        break;
    case 'A':
    case 'a':
        ok = IsLetter(c) || IsDigit(c);
        cased = true;
        break;
    default: // 'C', 'c'
        ok = cased = true;
        break;
    }
    if (!ok) return false;
    char32_t out = c;
    if (cased && p.Case == TMaskCase::Upper) out = ToUpper(c);
    if (cased && p.Case == TMaskCase::Lower) out = ToLower(c);
    stored = out == c ? std::string(ch) : Encode(out);
    return true;
}

bool TEditMask::IsValidChar(int pos, std::string_view ch) const {
    std::string stored;
    return AcceptChar(pos, ch, stored);
}

int TEditMask::NextEditPos(int pos) const {
    int p = Clamp(pos, 0, MaxChars());
    while (p < MaxChars() && !FPositions[p].IsInput())
        ++p;
    return p;
}

int TEditMask::PriorEditPos(int pos) const {
    int p = std::min(pos, MaxChars() - 1);
    while (p >= 0 && !FPositions[p].IsInput())
        --p;
    return p < 0 ? NextEditPos(0) : p;
}

namespace {

void BlankRange(Chars& chars, const std::vector<TMaskPosition>& positions, const std::string& blank,
                int start, int length) {
    const int n = static_cast<int>(positions.size());
    const int from = Clamp(start, 0, n);
    // Computed in 64 bits: start + length may not fit an int.
    const int to =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(start) + length, from, n));
    for (int i = from; i < to; ++i)
        if (positions[i].IsInput()) chars[i] = blank;
}

} // namespace

void TEditMask::ClearRange(std::string& editText, int start, int length) const {
    if (!IsMasked()) return;
    Chars chars = Normalized(FPositions, FBlank, editText);
    BlankRange(chars, FPositions, FBlank, start, length);
    editText = Join(chars);
}

bool TEditMask::TypeChar(std::string& editText, int& cursor, std::string_view ch,
                         int selLength) const {
    if (!IsMasked()) return false;
    Chars chars = Normalized(FPositions, FBlank, editText);
    cursor = Clamp(cursor, 0, MaxChars());
    if (selLength > 1) {
        BlankRange(chars, FPositions, FBlank, cursor, selLength);
        cursor = NextEditPos(cursor);
    }
    const int p = NextEditPos(cursor);
    std::string stored;
    const bool taken = AcceptChar(p, ch, stored);
    if (taken) {
        chars[p] = std::move(stored);
        cursor = NextEditPos(p + 1);
    }
    editText = Join(chars);
    return taken;
}

int TEditMask::TypeText(std::string& editText, int& cursor, std::string_view text,
                        int selLength) const {
    int taken = 0;
    for (const auto& ch : SplitChars(text)) {
        if (TypeChar(editText, cursor, ch, selLength)) ++taken;
        selLength = 0;
    }
    return taken;
}

bool TEditMask::Paste(std::string& editText, int& cursor, std::string_view text,
                      int selLength) const {
    if (!IsMasked()) return false;
    Chars chars = Normalized(FPositions, FBlank, editText);
    cursor = Clamp(cursor, 0, MaxChars());
    if (selLength > 1) BlankRange(chars, FPositions, FBlank, cursor, selLength);
    const Chars value = SplitChars(text);
    int p = cursor;
    size_t v = 0;
    while (v < value.size() && p < MaxChars()) {
        const TMaskPosition& pos = FPositions[p];
        if (pos.IsLiteral()) {
            if (value[v] == pos.Literal) ++v; // the value brought the literal along
        } else {
            std::string stored;
            chars[p] = AcceptChar(p, value[v], stored) ? std::move(stored) : FBlank;
            ++v;
        }
        ++p;
    }
    editText = Join(chars);
    const bool pasted = p != cursor;
    cursor = NextEditPos(p);
    return pasted;
}

bool TEditMask::Backspace(std::string& editText, int& cursor, int selLength) const {
    if (!IsMasked()) return false;
    Chars chars = Normalized(FPositions, FBlank, editText);
    cursor = Clamp(cursor, 0, MaxChars());
    if (selLength > 1) {
        BlankRange(chars, FPositions, FBlank, cursor, selLength);
        editText = Join(chars);
        cursor = NextEditPos(cursor);
        return true;
    }
    editText = Join(chars);
    if (cursor == 0) return false;
    const int p = PriorEditPos(cursor - 1);
    if (p >= cursor) return false; // only literals before the cursor
    chars[p] = FBlank;
    editText = Join(chars);
    cursor = p;
    return true;
}

bool TEditMask::Delete(std::string& editText, int& cursor, int selLength) const {
    if (!IsMasked()) return false;
    Chars chars = Normalized(FPositions, FBlank, editText);
    cursor = Clamp(cursor, 0, MaxChars());
    if (selLength > 1) {
        BlankRange(chars, FPositions, FBlank, cursor, selLength);
        editText = Join(chars);
        cursor = NextEditPos(cursor);
        return true;
    }
    const bool done = IsInputPos(cursor);
    if (done) chars[cursor] = FBlank;
    editText = Join(chars);
    return done;
}

bool TEditMask::Validate(std::string_view editText, int& errorPos) const {
    errorPos = -1;
    if (!IsMasked()) return true;
    const Chars chars = Normalized(FPositions, FBlank, editText);
    for (int i = 0; i < MaxChars(); ++i) {
        const TMaskPosition& p = FPositions[i];
        if (!p.IsInput()) continue;
        const std::string& c = chars[i];
        const bool anyChar = p.MaskChar == 'C' || p.MaskChar == 'c' || p.MaskChar == '#';
        const bool unfilled = c == FBlank || (c == " " && !anyChar);
        if (unfilled ? p.IsRequired() : !IsValidChar(i, c)) {
            errorPos = i;
            return false;
        }
    }
    return true;
}

void TEditMask::ValidateEdit(std::string_view editText) const {
    int pos = -1;
    if (!Validate(editText, pos)) throw EDBEditError(SMaskEditErr, pos);
}

std::string FormatMaskText(std::string_view editMask, std::string_view value) {
    const TEditMask mask(editMask);
    if (!mask.IsMasked()) return std::string(value);
    const Chars chars = SplitChars(value);
    if (mask.SaveLiterals())
        return Join(PadLiterals(mask.Positions(), mask.ReverseDir(), chars, " "));
    return Join(PourValue(mask.Positions(), mask.ReverseDir(), chars, " ", true));
}

int MaskGetFieldSeparator(std::string_view editMask) {
    return TEditMask(editMask).FieldSeparator();
}

bool MaskGetMaskSave(std::string_view editMask) {
    return TEditMask(editMask).SaveLiterals();
}

std::string MaskGetMaskBlank(std::string_view editMask) {
    return TEditMask(editMask).Blank();
}

int MaskTextLength(std::string_view text) {
    return static_cast<int>(SplitChars(text).size());
}

} // namespace vcl
