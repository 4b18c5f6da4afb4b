#include "platform/vcl/FormParser.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace vcl {

// Growing the vectors of a tree must move, not copy, the subtrees.
static_assert(std::is_nothrow_move_constructible_v<TFormNode>);
static_assert(std::is_nothrow_move_constructible_v<TFormValue>);

namespace {

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsIdentStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(unsigned char c) {
    return IsIdentStart(c) || IsDigit(c);
}
int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Length of the well-formed UTF-8 sequence at p (no overlongs, surrogates or values past
// U+10FFFF), or 0.
int Utf8Length(const char* p, const char* end) {
    auto b = [&](int i) { return static_cast<unsigned char>(p[i]); };
    auto cont = [&](int i) { return p + i < end && (b(i) & 0xC0) == 0x80; };
    unsigned char c = b(0);
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (c == 0xE0 && b(1) < 0xA0) return 0;
        if (c == 0xED && b(1) >= 0xA0) return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (c == 0xF0 && b(1) < 0x90) return 0;
        if (c == 0xF4 && b(1) >= 0x90) return 0;
        return 4;
    }
    return 0;
}

bool IsKeyword(std::string_view word, const char* keyword) {
    size_t n = std::strlen(keyword);
    if (word.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(word[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
        if (c != static_cast<unsigned char>(keyword[i])) return false;
    }
    return true;
}

bool IsBlockKeyword(std::string_view word) {
    return IsKeyword(word, "object") || IsKeyword(word, "inherited") || IsKeyword(word, "inline");
}

// Words that open or close a block; never read as identifier values, so that a missing ')' or
// '>' is reported where the block ends rather than at the end of the file.
bool IsReserved(std::string_view word) {
    return IsKeyword(word, "end") || IsBlockKeyword(word);
}

struct TPos {
    int Line;
    int Column;
};

int Clamp(size_t n) {
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

class TFormReader {
public:
    TFormReader(std::string_view text, std::string_view resourceName)
        : FPos(text.data()), FEnd(text.data() + text.size()), FLineStart(FPos), FColumnAt(FPos),
          FResource(resourceName) {
        if (text.size() >= 3 && std::memcmp(FPos, "\xEF\xBB\xBF", 3) == 0) {
            FPos += 3;
            FLineStart = FColumnAt = FPos;
        }
    }

    TFormNode ReadRoot() {
        SkipSpace();
        if (!IsBlockKeyword(PeekWord())) Expected("'object'");
        TFormNode root = ReadObject();
        SkipSpace();
        if (FPos != FEnd) Expected("end of file");
        return root;
    }

private:
    const char* FPos;
    const char* FEnd;
    size_t FLine = 1;
    const char* FLineStart;
    // Column cache: tokens are asked for their column in increasing order on a line, so counting
    // from the last answer keeps very long lines linear.
    const char* FColumnAt;
    size_t FColumn = 1;
    std::string_view FResource;
    int FDepth = 0;

    // ------------------------------------------------------------------ positions and errors

    TPos Here() { return At(FPos); }

    TPos At(const char* p) {
        if (p < FColumnAt) {
            FColumnAt = FLineStart;
            FColumn = 1;
        }
        for (const char* q = FColumnAt; q < p; ++q)
            if ((static_cast<unsigned char>(*q) & 0xC0) != 0x80) ++FColumn;
        FColumnAt = p;
        return {Clamp(FLine), Clamp(FColumn)};
    }

    [[noreturn]] void Fail(TPos pos, std::string_view detail) {
        throw EFormParseError(std::string(FResource), pos.Line, pos.Column, detail);
    }

    [[noreturn]] void Expected(std::string_view what) {
        std::string detail(what);
        detail += " expected but ";
        detail += Describe(FPos);
        detail += " found";
        Fail(Here(), detail);
    }

    // What stands at p, for "... expected but X found".
    std::string Describe(const char* p) {
        if (p >= FEnd) return "end of file";
        unsigned char c = static_cast<unsigned char>(*p);
        const char* q = p;
        if (IsIdentStart(c) || IsDigit(c) || c == '$' || c == '-') {
            ++q;
            while (q < FEnd && q - p < 40 && (IsIdentChar(*q) || *q == '.'))
                ++q;
            return "'" + std::string(p, q) + "'";
        }
        if (c == '\'' || c == '#') return "string";
        if (c > ' ' && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
        char buf[24];
        if (c >= 0x80) {
            int n = Utf8Length(p, FEnd);
            if (n > 0) return "'" + std::string(p, static_cast<size_t>(n)) + "'";
            std::snprintf(buf, sizeof buf, "byte $%02X", c);
            return buf;
        }
        if (c != 0 && c != 0x7F) return "white space";
        std::snprintf(buf, sizeof buf, "character #%d", c);
        return buf;
    }

    void Enter(TPos pos) {
        if (++FDepth > kMaxFormNesting)
            Fail(pos, "nesting deeper than " + std::to_string(kMaxFormNesting) + " levels");
    }
    void Leave() { --FDepth; }

    // ------------------------------------------------------------------ characters

    int Peek() const { return FPos < FEnd ? static_cast<unsigned char>(*FPos) : -1; }

    void NewLine() {
        ++FLine;
        FLineStart = FColumnAt = FPos;
        FColumn = 1;
    }

    // Control characters count as white space, as in the VCL's parser; NUL does not, as it
    // means the file is not text.
    void SkipSpace() {
        while (FPos < FEnd) {
            unsigned char c = static_cast<unsigned char>(*FPos);
            if (c > ' ' || c == 0) break;
            ++FPos;
            if (c == '\n' || (c == '\r' && (FPos == FEnd || *FPos != '\n'))) NewLine();
        }
    }

    std::string_view PeekWord() const {
        const char* q = FPos;
        if (q >= FEnd || !IsIdentStart(*q)) return {};
        while (q < FEnd && IsIdentChar(*q))
            ++q;
        return {FPos, static_cast<size_t>(q - FPos)};
    }

    void Expect(char c) {
        SkipSpace();
        if (Peek() != static_cast<unsigned char>(c)) Expected(std::string("'") + c + "'");
        ++FPos;
    }

    std::string ReadIdent() {
        std::string_view w = PeekWord();
        if (w.empty()) Expected("identifier");
        FPos += w.size();
        return std::string(w);
    }

    std::string ReadDottedIdent() {
        std::string name = ReadIdent();
        while (Peek() == '.') {
            ++FPos;
            std::string_view w = PeekWord();
            if (w.empty()) Expected("identifier");
            name += '.';
            name += w;
            FPos += w.size();
        }
        return name;
    }

    // "[n]" after a class or after "item".
    int ReadIndex() {
        SkipSpace();
        if (Peek() != '[') return -1;
        ++FPos;
        SkipSpace();
        TPos pos = Here();
        const char* start = FPos;
        while (FPos < FEnd && IsDigit(*FPos))
            ++FPos;
        if (FPos == start) Expected("index");
        int index = 0;
        auto [end, ec] = std::from_chars(start, FPos, index);
        (void)end;
        if (ec != std::errc()) Fail(pos, "index out of range");
        Expect(']');
        return index;
    }

    // ------------------------------------------------------------------ blocks

    TFormNode ReadObject() {
        TFormNode node;
        TPos pos = Here();
        node.Line = pos.Line;
        node.Column = pos.Column;
        Enter(pos);
        std::string_view keyword = PeekWord();
        node.Kind = IsKeyword(keyword, "object")      ? TFormNodeKind::Object
                    : IsKeyword(keyword, "inherited") ? TFormNodeKind::Inherited
                                                      : TFormNodeKind::Inline;
        FPos += keyword.size();
        SkipSpace();
        std::string first = ReadIdent();
        SkipSpace();
        if (Peek() == ':') {
            ++FPos;
            SkipSpace();
            node.Name = std::move(first);
            node.ClassName = ReadIdent();
        } else {
            node.ClassName = std::move(first);
        }
        node.Index = ReadIndex();

        for (;;) {
            SkipSpace();
            std::string_view word = PeekWord();
            if (IsKeyword(word, "end")) {
                FPos += word.size();
                break;
            }
            if (IsBlockKeyword(word)) {
                node.Children.push_back(ReadObject());
            } else if (word.empty() || !node.Children.empty()) {
                // Properties come before the nested blocks.
                Expected("'end'");
            } else {
                node.Properties.push_back(ReadProperty());
            }
        }
        Leave();
        return node;
    }

    TFormProperty ReadProperty() {
        TFormProperty prop;
        TPos pos = Here();
        prop.Line = pos.Line;
        prop.Column = pos.Column;
        prop.Name = ReadDottedIdent();
        Expect('=');
        prop.Value = ReadValue();
        return prop;
    }

    // ------------------------------------------------------------------ values

    TFormValue ReadValue() {
        SkipSpace();
        TFormValue v;
        TPos pos = Here();
        v.Line = pos.Line;
        v.Column = pos.Column;
        int c = Peek();
        if (c == '\'' || c == '#') {
            v.Kind = TFormValueKind::String;
            ReadString(v.Text);
        } else if (c == '-' || c == '$' || (c >= 0 && IsDigit(static_cast<unsigned char>(c)))) {
            ReadNumber(v, pos);
        } else if (c == '[') {
            v.Kind = TFormValueKind::Set;
            ReadSet(v.Items);
        } else if (c == '(') {
            v.Kind = TFormValueKind::List;
            Enter(pos);
            ++FPos;
            for (;;) {
                SkipSpace();
                if (Peek() == ')') break;
                if (FPos == FEnd || IsReserved(PeekWord())) Expected("')'");
                v.Items.push_back(ReadValue());
            }
            ++FPos;
            Leave();
        } else if (c == '<') {
            v.Kind = TFormValueKind::Collection;
            Enter(pos);
            ++FPos;
            ReadCollection(v.Collection);
            Leave();
        } else if (c == '{') {
            v.Kind = TFormValueKind::Binary;
            ReadBinary(v.Bytes, pos);
        } else if (c >= 0 && IsIdentStart(static_cast<unsigned char>(c)) &&
                   !IsReserved(PeekWord())) {
            v.Kind = TFormValueKind::Identifier;
            v.Text = ReadDottedIdent();
        } else {
            Expected("value");
        }
        return v;
    }

    // Quoted parts and #n codes run together ('a'#13#10'b'); "+" joins such runs across lines.
    // #n codes are UTF-16 code units as the VCL writes them: a surrogate pair makes one
    // character, a lone surrogate is an error.
    void ReadString(std::string& out) {
        std::uint32_t high = 0;
        TPos highPos{};
        auto unpaired = [&] {
            if (high) Fail(highPos, "unpaired surrogate in string");
        };
        for (;;) {
            int c = Peek();
            if (c == '\'') {
                TPos quotePos = Here();
                ++FPos;
                for (;;) {
                    const char* run = FPos;
                    while (FPos < FEnd) {
                        unsigned char b = static_cast<unsigned char>(*FPos);
                        if (b == '\'' || b == '\n' || b == '\r' || b == 0 || b >= 0x80) break;
                        ++FPos;
                    }
                    if (FPos != run) {
                        unpaired();
                        out.append(run, FPos);
                    }
                    if (FPos == FEnd || *FPos == '\n' || *FPos == '\r')
                        Fail(quotePos, "unterminated string");
                    unsigned char b = static_cast<unsigned char>(*FPos);
                    if (b == 0) Fail(Here(), "character #0 in string; write it as #0");
                    if (b >= 0x80) {
                        int n = Utf8Length(FPos, FEnd);
                        if (n == 0) Fail(Here(), "invalid UTF-8 in string");
                        unpaired();
                        out.append(FPos, static_cast<size_t>(n));
                        FPos += n;
                        continue;
                    }
                    // A quote: doubled stands for itself, single ends the part.
                    if (FPos + 1 < FEnd && FPos[1] == '\'') {
                        unpaired();
                        out += '\'';
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
            } else if (c == '#') {
                TPos codePos = Here();
                ++FPos;
                std::uint32_t code = 0;
                bool hex = Peek() == '$';
                if (hex) ++FPos;
                const char* digits = FPos;
                while (FPos < FEnd) {
                    int d = hex ? HexValue(*FPos) : (IsDigit(*FPos) ? *FPos - '0' : -1);
                    if (d < 0) break;
                    if (code <= 0x10FFFF) code = code * (hex ? 16 : 10) + static_cast<unsigned>(d);
                    ++FPos;
                }
                if (FPos == digits) Fail(codePos, "character code expected after '#'");
                if (code > 0x10FFFF) Fail(codePos, "character code out of range");
                if (code >= 0xD800 && code <= 0xDBFF) {
                    unpaired();
                    high = code;
                    highPos = codePos;
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    if (!high) Fail(codePos, "unpaired surrogate in string");
                    rtl::AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00));
                    high = 0;
                } else {
                    unpaired();
                    rtl::AppendUtf8(out, code);
                }
            } else {
                SkipSpace();
                if (Peek() != '+') break;
                ++FPos;
                SkipSpace();
                if (Peek() != '\'' && Peek() != '#') Expected("string");
            }
        }
        unpaired();
    }

    void ReadNumber(TFormValue& v, TPos pos) {
        const char* start = FPos;
        if (Peek() == '$') {
            ++FPos;
            const char* digits = FPos;
            std::uint64_t value = 0;
            while (FPos < FEnd && HexValue(*FPos) >= 0) {
                value = value * 16 + static_cast<unsigned>(HexValue(*FPos));
                ++FPos;
            }
            if (FPos == digits) Fail(pos, "hexadecimal digits expected after '$'");
            if (FPos < FEnd && IsIdentChar(*FPos)) Fail(pos, "invalid number " + Describe(start));
            if (FPos - digits > 16) Fail(pos, "integer out of range");
            // 16 digits are the 64-bit pattern, as the VCL reads $FFFFFFFFFFFFFFFF as -1.
            v.Kind = TFormValueKind::Integer;
            v.Integer = static_cast<std::int64_t>(value);
            return;
        }
        if (Peek() == '-') ++FPos;
        auto digits = [&] {
            const char* from = FPos;
            while (FPos < FEnd && IsDigit(*FPos))
                ++FPos;
            if (FPos == from) Fail(pos, "invalid number " + Describe(start));
        };
        digits();
        bool isFloat = false;
        if (Peek() == '.') {
            ++FPos;
            digits();
            isFloat = true;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++FPos;
            if (Peek() == '+' || Peek() == '-') ++FPos;
            digits();
            isFloat = true;
        }
        if (FPos < FEnd && (IsIdentChar(*FPos) || *FPos == '.'))
            Fail(pos, "invalid number " + Describe(start));
        if (isFloat) {
            v.Kind = TFormValueKind::Float;
            auto [end, ec] = std::from_chars(start, FPos, v.Float);
            if (ec != std::errc() || end != FPos || !std::isfinite(v.Float))
                Fail(pos, "number out of range");
        } else {
            v.Kind = TFormValueKind::Integer;
            auto [end, ec] = std::from_chars(start, FPos, v.Integer);
            if (ec != std::errc() || end != FPos) Fail(pos, "integer out of range");
        }
    }

    void ReadSet(std::vector<TFormValue>& items) {
        ++FPos;
        SkipSpace();
        if (Peek() == ']') {
            ++FPos;
            return;
        }
        for (;;) {
            SkipSpace();
            TFormValue e;
            TPos pos = Here();
            e.Line = pos.Line;
            e.Column = pos.Column;
            std::string_view word = PeekWord();
            if (!word.empty()) {
                e.Kind = TFormValueKind::Identifier;
                e.Text = std::string(word);
                FPos += word.size();
            } else if (Peek() >= 0 && IsDigit(static_cast<unsigned char>(Peek()))) {
                ReadNumber(e, pos);
                if (e.Kind != TFormValueKind::Integer) Fail(pos, "set element expected");
            } else {
                Expected("set element");
            }
            items.push_back(std::move(e));
            SkipSpace();
            if (Peek() == ',') {
                ++FPos;
                continue;
            }
            if (Peek() == ']') {
                ++FPos;
                return;
            }
            Expected("']'");
        }
    }

    void ReadCollection(std::vector<TFormCollectionItem>& items) {
        for (;;) {
            SkipSpace();
            if (Peek() == '>') {
                ++FPos;
                return;
            }
            std::string_view word = PeekWord();
            if (!IsKeyword(word, "item")) Expected(FPos == FEnd ? "'>'" : "'item'");
            TFormCollectionItem item;
            TPos pos = Here();
            item.Line = pos.Line;
            item.Column = pos.Column;
            FPos += word.size();
            item.Index = ReadIndex();
            for (;;) {
                SkipSpace();
                std::string_view w = PeekWord();
                if (IsKeyword(w, "end")) {
                    FPos += w.size();
                    break;
                }
                if (w.empty() || IsBlockKeyword(w)) Expected("'end'");
                item.Properties.push_back(ReadProperty());
            }
            items.push_back(std::move(item));
        }
    }

    void ReadBinary(std::vector<std::uint8_t>& bytes, TPos pos) {
        ++FPos;
        int pending = -1;
        for (;;) {
            SkipSpace();
            if (FPos == FEnd) Expected("'}'");
            unsigned char c = static_cast<unsigned char>(*FPos);
            if (c == '}') break;
            int d = HexValue(c);
            if (d < 0) Fail(Here(), "invalid binary data: " + Describe(FPos) + " is not hex");
            if (pending < 0) {
                pending = d;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(pending * 16 + d));
                pending = -1;
            }
            ++FPos;
        }
        if (pending >= 0) Fail(pos, "invalid binary data: odd number of hex digits");
        ++FPos;
    }
};

// ---------------------------------------------------------------------- writing

class TFormWriter {
public:
    std::string Out;

    void Node(const TFormNode& node, int indent) {
        Indent(indent);
        Out += node.Kind == TFormNodeKind::Object      ? "object "
               : node.Kind == TFormNodeKind::Inherited ? "inherited "
                                                       : "inline ";
        if (!node.Name.empty()) {
            Out += node.Name;
            Out += ": ";
        }
        Out += node.ClassName;
        if (node.Index >= 0) {
            Out += " [";
            Out += std::to_string(node.Index);
            Out += ']';
        }
        Out += '\n';
        Properties(node.Properties, indent + 2);
        for (const TFormNode& child : node.Children)
            Node(child, indent + 2);
        Indent(indent);
        Out += "end\n";
    }

private:
    void Indent(int n) { Out.append(static_cast<size_t>(n), ' '); }

    void Properties(const std::vector<TFormProperty>& props, int indent) {
        for (const TFormProperty& p : props) {
            Indent(indent);
            Out += p.Name;
            Out += " = ";
            Value(p.Value, indent);
            Out += '\n';
        }
    }

    // Multi-line values continue at indent + 2 and close on their last line, as the VCL does.
    void Value(const TFormValue& v, int indent) {
        switch (v.Kind) {
        case TFormValueKind::Integer:
            Out += std::to_string(v.Integer);
            break;
        case TFormValueKind::Float:
            Float(v.Float);
            break;
        case TFormValueKind::String:
            String(v.Text);
            break;
        case TFormValueKind::Identifier:
            Out += v.Text;
            break;
        case TFormValueKind::Set:
            Out += '[';
            for (size_t i = 0; i < v.Items.size(); ++i) {
                if (i) Out += ", ";
                Value(v.Items[i], indent);
            }
            Out += ']';
            break;
        case TFormValueKind::List:
            Out += '(';
            for (const TFormValue& item : v.Items) {
                Out += '\n';
                Indent(indent + 2);
                Value(item, indent + 2);
            }
            Out += ')';
            break;
        case TFormValueKind::Collection:
            Out += '<';
            for (const TFormCollectionItem& item : v.Collection) {
                Out += '\n';
                Indent(indent + 2);
                Out += "item";
                if (item.Index >= 0) {
                    Out += " [";
                    Out += std::to_string(item.Index);
                    Out += ']';
                }
                Out += '\n';
                Properties(item.Properties, indent + 4);
                Indent(indent + 2);
                Out += "end";
            }
            Out += '>';
            break;
        case TFormValueKind::Binary: {
            static const char kHex[] = "0123456789ABCDEF";
            Out += '{';
            for (size_t i = 0; i < v.Bytes.size(); ++i) {
                if (i % 32 == 0) {
                    Out += '\n';
                    Indent(indent + 2);
                }
                Out += kHex[v.Bytes[i] >> 4];
                Out += kHex[v.Bytes[i] & 15];
            }
            Out += '}';
            break;
        }
        }
    }

    void Float(double d) {
        if (!std::isfinite(d))
            throw rtl::EConvertError("a float that is not finite cannot be written");
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
        (void)ec; // 64 bytes hold any double
        std::string s(buf, end);
        size_t e = s.find('e');
        if (e != std::string::npos) s[e] = 'E';
        // Without a point or exponent it would read back as an integer.
        if (s.find_first_of(".E") == std::string::npos) s += ".0";
        Out += s;
    }

    void String(const std::string& s) {
        if (s.empty()) {
            Out += "''";
            return;
        }
        bool quoted = false;
        const char* p = s.data();
        const char* end = p + s.size();
        while (p < end) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (c < ' ' || c == 0x7F) {
                if (quoted) Out += '\'';
                quoted = false;
                Out += '#';
                Out += std::to_string(c);
                ++p;
                continue;
            }
            int n = Utf8Length(p, end);
            if (n == 0) throw rtl::EConvertError("a string that is not UTF-8 cannot be written");
            if (!quoted) Out += '\'';
            quoted = true;
            if (c == '\'') Out += '\'';
            Out.append(p, static_cast<size_t>(n));
            p += n;
        }
        if (quoted) Out += '\'';
    }
};

bool SameProperties(const std::vector<TFormProperty>& a, const std::vector<TFormProperty>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Name != b[i].Name || !SameContent(a[i].Value, b[i].Value)) return false;
    return true;
}

} // namespace

// --------------------------------------------------------------------------- public

EFormParseError::EFormParseError(std::string resourceName, int line, int column,
                                 std::string_view detail)
    : rtl::Exception(resourceName + "(" + std::to_string(line) + ":" + std::to_string(column) +
                     "): " + std::string(detail)),
      ResourceName(std::move(resourceName)), Line(line), Column(column) {}

const TFormProperty* TFormNode::FindProperty(std::string_view name) const {
    for (const TFormProperty& p : Properties)
        if (rtl::SameText(p.Name, name)) return &p;
    return nullptr;
}

const TFormNode* TFormNode::FindChild(std::string_view name) const {
    for (const TFormNode& c : Children)
        if (rtl::SameText(c.Name, name)) return &c;
    return nullptr;
}

TFormNode ParseFormText(std::string_view text, std::string_view resourceName) {
    return TFormReader(text, resourceName).ReadRoot();
}

std::string FormTextToString(const TFormNode& root) {
    TFormWriter w;
    w.Node(root, 0);
    return std::move(w.Out);
}

bool SameContent(const TFormValue& a, const TFormValue& b) {
    if (a.Kind != b.Kind) return false;
    switch (a.Kind) {
    case TFormValueKind::Integer:
        return a.Integer == b.Integer;
    case TFormValueKind::Float:
        return a.Float == b.Float;
    case TFormValueKind::String:
    case TFormValueKind::Identifier:
        return a.Text == b.Text;
    case TFormValueKind::Binary:
        return a.Bytes == b.Bytes;
    case TFormValueKind::Set:
    case TFormValueKind::List:
        if (a.Items.size() != b.Items.size()) return false;
        for (size_t i = 0; i < a.Items.size(); ++i)
            if (!SameContent(a.Items[i], b.Items[i])) return false;
        return true;
    case TFormValueKind::Collection:
        if (a.Collection.size() != b.Collection.size()) return false;
        for (size_t i = 0; i < a.Collection.size(); ++i)
            if (a.Collection[i].Index != b.Collection[i].Index ||
                !SameProperties(a.Collection[i].Properties, b.Collection[i].Properties))
                return false;
        return true;
    }
    return false;
}

bool SameContent(const TFormNode& a, const TFormNode& b) {
    if (a.Kind != b.Kind || a.Name != b.Name || a.ClassName != b.ClassName || a.Index != b.Index ||
        a.Children.size() != b.Children.size() || !SameProperties(a.Properties, b.Properties))
        return false;
    for (size_t i = 0; i < a.Children.size(); ++i)
        if (!SameContent(a.Children[i], b.Children[i])) return false;
    return true;
}

} // namespace vcl
