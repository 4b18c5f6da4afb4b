#include "platform/xml/Prepare.h"

#include "platform/xml/Dom.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace xml::detail {

bool DecodeUtf8(std::string_view s, size_t& i, char32_t& c) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = b(i);
    if (b0 < 0x80) {
        c = b0;
        ++i;
        return true;
    }
    int n;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        n = 1, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 2, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 3, c = b0 & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + size_t(n) >= s.size()) return false;
    for (int k = 1; k <= n; ++k) {
        if ((b(i + size_t(k)) & 0xC0) != 0x80) return false;
        c = (c << 6) | (b(i + size_t(k)) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += size_t(n) + 1;
    return true;
}

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsXmlNameStart(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsXmlNameChar(char32_t c) {
    return IsXmlNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

size_t FindInvalidChar(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b >= 0x20 && b < 0x80) {
            ++i;
            continue;
        }
        const size_t at = i;
        char32_t c;
        if (!DecodeUtf8(s, i, c) || !IsXmlChar(c)) return at;
    }
    return std::string_view::npos;
}

void LineAndColumn(std::string_view text, size_t offset, int& line, int& column) {
    offset = std::min(offset, text.size());
    line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i)
        if (text[i] == '\n') ++line, lineStart = i + 1;
    column = 1;
    for (size_t i = lineStart; i < offset; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
}

size_t TPrepared::InputOffset(size_t textOffset) const {
    auto it = std::upper_bound(Map.begin(), Map.end(), textOffset,
                               [](size_t o, const Segment& s) { return o < s.Out; });
    if (it == Map.begin()) return textOffset;
    --it;
    return it->Verbatim ? it->In + (textOffset - it->Out) : it->In;
}

namespace {

struct Failure {
    std::string Reason;
    size_t Offset;
};

struct Entity {
    std::string Value; // the literal with its character references replaced
    bool External = false;
    int State = 0; // 0 not expanded, 1 expanding, 2 expanded
    std::string Expanded;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsAsciiNameChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == ':' || c == '-' || c == '.' || c >= 0x80;
}

bool IsPredefined(std::string_view name) {
    return name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos";
}

class Preparer {
public:
    explicit Preparer(std::string_view in) : S(in) {}

    TPrepared Run() {
        TPrepared r;
        try {
            size_t p = Prolog();
            Copy(0, p);
            Body(p);
        } catch (const Failure& f) {
            r.Ok = false;
            r.Reason = f.Reason;
            r.ErrorOffset = f.Offset;
            return r;
        }
        r.Text = std::move(Out);
        r.Map = std::move(Map);
        return r;
    }

private:
    [[noreturn]] void Fail(std::string reason, size_t at) const { throw Failure{reason, at}; }

    bool At(size_t i, std::string_view word) const { return S.substr(i, word.size()) == word; }

    size_t SkipSpace(size_t i) const {
        while (i < S.size() && IsSpace(S[i]))
            ++i;
        return i;
    }

    size_t Find(std::string_view what, size_t from, const char* unterminated, size_t start) const {
        size_t j = S.find(what, from);
        if (j == std::string_view::npos) Fail(unterminated, start);
        return j + what.size();
    }

    // A name at i; its end. Names are checked by the parser where it reads them; here they
    // only delimit.
    size_t Name(size_t i, const char* what) const {
        size_t j = i;
        while (j < S.size() && IsAsciiNameChar(static_cast<unsigned char>(S[j])))
            ++j;
        if (j == i || (S[i] >= '0' && S[i] <= '9') || S[i] == '-' || S[i] == '.')
            Fail(std::string("a name was expected for ") + what, i);
        return j;
    }

    size_t Literal(size_t i, const char* what) const {
        if (i >= S.size() || (S[i] != '"' && S[i] != '\''))
            Fail(std::string(what) + " expected", i);
        const size_t j = S.find(S[i], i + 1);
        if (j == std::string_view::npos) Fail(std::string("unterminated ") + what, i);
        return j + 1;
    }

    // The declaration, comments, instructions and the document type before the root element;
    // answers where the body starts.
    size_t Prolog() {
        size_t i = 0;
        for (;;) {
            i = SkipSpace(i);
            if (At(i, "<?")) {
                i = Find("?>", i + 2, "unterminated processing instruction", i);
            } else if (At(i, "<!--")) {
                i = Find("-->", i + 4, "unterminated comment", i);
            } else if (At(i, "<!DOCTYPE")) {
                if (SawDoctype) Fail("a second document type", i);
                SawDoctype = true;
                i = Doctype(i);
            } else {
                return i;
            }
        }
    }

    size_t Doctype(size_t start) {
        size_t i = start + 9;
        if (i >= S.size() || !IsSpace(S[i])) Fail("a blank was expected after <!DOCTYPE", i);
        i = Name(SkipSpace(i), "the document type");
        i = SkipSpace(i);
        if (At(i, "SYSTEM")) {
            i = Literal(SkipSpace(i + 6), "system literal");
        } else if (At(i, "PUBLIC")) {
            i = Literal(SkipSpace(i + 6), "public literal");
            i = Literal(SkipSpace(i), "system literal");
        }
        i = SkipSpace(i);
        if (At(i, "[")) i = SkipSpace(Subset(i + 1));
        if (!At(i, ">")) Fail("the document type is not closed by '>'", i);
        return i + 1;
    }

    // The internal subset; answers the position after its "]".
    size_t Subset(size_t i) {
        for (;;) {
            i = SkipSpace(i);
            if (i >= S.size()) Fail("unterminated document type", i);
            if (S[i] == ']') return i + 1;
            if (At(i, "<!--")) {
                i = Find("-->", i + 4, "unterminated comment", i);
            } else if (At(i, "<?")) {
                i = Find("?>", i + 2, "unterminated processing instruction", i);
            } else if (At(i, "<!ENTITY")) {
                i = EntityDecl(i);
            } else if (At(i, "<!ELEMENT") || At(i, "<!ATTLIST") || At(i, "<!NOTATION")) {
                i = SkipDecl(i);
            } else if (S[i] == '%') {
                Fail("parameter entity references are not supported", i);
            } else {
                Fail("unexpected text in the document type", i);
            }
        }
    }

    size_t SkipDecl(size_t start) const {
        for (size_t i = start + 2; i < S.size();) {
            if (S[i] == '"' || S[i] == '\'') {
                i = Literal(i, "literal");
            } else if (S[i] == '>') {
                return i + 1;
            } else {
                ++i;
            }
        }
        Fail("unterminated markup declaration", start);
    }

    size_t EntityDecl(size_t start) {
        size_t i = start + 8;
        if (i >= S.size() || !IsSpace(S[i])) Fail("a blank was expected after <!ENTITY", i);
        i = SkipSpace(i);
        bool parameter = false;
        if (At(i, "%")) {
            parameter = true;
            i = SkipSpace(i + 1);
        }
        const size_t nameAt = i;
        i = Name(i, "the entity");
        const std::string name(S.substr(nameAt, i - nameAt));
        if (i >= S.size() || !IsSpace(S[i])) Fail("a blank was expected after the entity name", i);
        i = SkipSpace(i);
        Entity e;
        if (At(i, "SYSTEM") || At(i, "PUBLIC")) {
            e.External = true;
            i = SkipDecl(start); // the identifiers are never used
        } else {
            const size_t end = Literal(i, "entity value");
            e.Value = EntityValue(i + 1, end - 1);
            i = SkipSpace(end);
            if (!At(i, ">")) Fail("the entity declaration is not closed by '>'", i);
            ++i;
        }
        // The first declaration binds; the predefined entities keep their meaning.
        if (!parameter && !IsPredefined(name)) Entities.emplace(name, std::move(e));
        return i;
    }

    // The replacement text of a literal: character references are replaced, entity references
    // stay for the reference to expand.
    std::string EntityValue(size_t i, size_t end) const {
        std::string v;
        while (i < end) {
            const char c = S[i];
            if (c == '%') Fail("parameter entity references are not supported", i);
            if (c != '&') {
                v += c;
                ++i;
                continue;
            }
            if (At(i, "&#")) {
                char32_t cp;
                const size_t j = CharRef(i, cp);
                AppendUtf8(v, cp);
                i = j;
            } else {
                const size_t j = RefEnd(i);
                v.append(S.substr(i, j - i));
                i = j;
            }
        }
        return v;
    }

    static void AppendUtf8(std::string& out, char32_t c) { rtl::AppendUtf8(out, c); }

    // "&#...;" at i: the code point; answers the position after ";".
    size_t CharRef(size_t i, char32_t& cp) const { return CharRefIn(S, i, cp, i); }

    size_t CharRefIn(std::string_view s, size_t i, char32_t& cp, size_t reportAt) const {
        size_t j = i + 2;
        const bool hex = j < s.size() && s[j] == 'x';
        if (hex) ++j;
        const size_t digits = j;
        cp = 0;
        while (j < s.size() && s[j] != ';') {
            const char d = s[j];
            int v;
            if (d >= '0' && d <= '9') {
                v = d - '0';
            } else if (hex && d >= 'a' && d <= 'f') {
                v = d - 'a' + 10;
            } else if (hex && d >= 'A' && d <= 'F') {
                v = d - 'A' + 10;
            } else {
                Fail("malformed character reference", reportAt);
            }
            cp = cp * (hex ? 16 : 10) + char32_t(v);
            if (cp > 0x10FFFF) Fail("character reference out of range", reportAt);
            ++j;
        }
        if (j >= s.size() || j == digits) Fail("malformed character reference", reportAt);
        if (!IsXmlChar(cp)) Fail("character reference to a character XML does not allow", reportAt);
        return j + 1;
    }

    // "&name;" at i: the position after ";".
    size_t RefEnd(size_t i) const { return RefEndIn(S, i, i); }

    size_t RefEndIn(std::string_view s, size_t i, size_t reportAt) const {
        size_t j = i + 1;
        while (j < s.size() && IsAsciiNameChar(static_cast<unsigned char>(s[j])))
            ++j;
        if (j == i + 1 || j >= s.size() || s[j] != ';')
            Fail("'&' that begins no reference (write &amp;)", reportAt);
        return j + 1;
    }

    void Copy(size_t from, size_t to) { Out.append(S.substr(from, to - from)); }

    void Charge(size_t bytes, size_t at) {
        Expansion += bytes;
        if (Expansion > MaxEntityExpansionBytes)
            Fail("entity references expand to more than " +
                     std::to_string(MaxEntityExpansionBytes) + " bytes",
                 at);
    }

    // The fully expanded replacement text of an entity, built once.
    const std::string& Expand(const std::string& name, size_t at, int depth) {
        auto it = Entities.find(name);
        if (it == Entities.end()) Fail("reference to undefined entity '" + name + "'", at);
        Entity& e = it->second;
        if (e.External) Fail("external entity '" + name + "' is not read", at);
        if (e.State == 2) return e.Expanded;
        if (e.State == 1) Fail("entity '" + name + "' refers to itself", at);
        if (depth > MaxEntityDepth) Fail("entity references nest too deep", at);
        e.State = 1;
        std::string x;
        const std::string_view v = e.Value;
        for (size_t i = 0; i < v.size();) {
            if (v[i] != '&') {
                const size_t j = std::min(v.find('&', i), v.size());
                x.append(v.substr(i, j - i));
                Charge(j - i, at);
                i = j;
                continue;
            }
            if (v.substr(i, 2) == "&#") {
                char32_t cp;
                const size_t j = CharRefIn(v, i, cp, at);
                x.append(v.substr(i, j - i));
                Charge(j - i, at);
                i = j;
                continue;
            }
            const size_t j = RefEndIn(v, i, at);
            const std::string inner(v.substr(i + 1, j - i - 2));
            if (IsPredefined(inner)) {
                x.append(v.substr(i, j - i));
                Charge(j - i, at);
            } else {
                const std::string& sub = Expand(inner, at, depth + 1);
                x.append(sub);
                Charge(sub.size(), at);
            }
            i = j;
        }
        e.Expanded = std::move(x);
        e.State = 2;
        return e.Expanded;
    }

    // A reference at i in content or in an attribute value; answers the position after it.
    size_t Reference(size_t i, bool inAttribute) {
        if (At(i, "&#")) {
            char32_t cp;
            const size_t j = CharRef(i, cp);
            Copy(i, j);
            return j;
        }
        const size_t j = RefEnd(i);
        const std::string name(S.substr(i + 1, j - i - 2));
        if (IsPredefined(name)) {
            Copy(i, j);
            return j;
        }
        const std::string& text = Expand(name, i, 1);
        Charge(text.size(), i);
        Map.push_back({Out.size(), i, false});
        if (!inAttribute) {
            Out += text;
        } else {
            for (char c : text) {
                if (c == '<') Fail("entity '" + name + "' puts '<' into an attribute value", i);
                if (c == '"') {
                    Out += "&quot;";
                } else if (c == '\'') {
                    Out += "&apos;";
                } else {
                    Out += c;
                }
            }
        }
        Map.push_back({Out.size(), j, true});
        return j;
    }

    void Body(size_t i) {
        while (i < S.size()) {
            const size_t j = std::min(S.find_first_of("<&", i), S.size());
            if (Depth == 0)
                for (size_t k = i; k < j; ++k)
                    if (!IsSpace(S[k])) Fail("text outside the root element", k);
            Copy(i, j);
            i = j;
            if (i >= S.size()) break;
            if (S[i] == '&') {
                if (Depth == 0) Fail("text outside the root element", i);
                i = Reference(i, false);
            } else if (At(i, "<!--")) {
                const size_t e = Find("-->", i + 4, "unterminated comment", i);
                Copy(i, e);
                i = e;
            } else if (At(i, "<![CDATA[")) {
                const size_t e = Find("]]>", i + 9, "unterminated CDATA section", i);
                Copy(i, e);
                i = e;
            } else if (At(i, "<?")) {
                const size_t e = Find("?>", i + 2, "unterminated processing instruction", i);
                Copy(i, e);
                i = e;
            } else if (At(i, "<!")) {
                Fail(At(i, "<!DOCTYPE") ? "the document type must come before the root element"
                                        : "markup declaration outside the document type",
                     i);
            } else {
                i = Tag(i);
            }
        }
    }

    // A start or end tag at i, with references expanded in its attribute values.
    size_t Tag(size_t start) {
        Copy(start, start + 1);
        size_t i = start + 1;
        while (i < S.size()) {
            const char c = S[i];
            if (c == '>') {
                Copy(i, i + 1);
                if (S[start + 1] == '/') {
                    if (Depth > 0) --Depth;
                } else if (S[i - 1] != '/') {
                    ++Depth;
                }
                return i + 1;
            }
            if (c == '<') Fail("'<' inside a tag", i);
            if (c == '"' || c == '\'') {
                Copy(i, i + 1);
                ++i;
                for (;;) {
                    const char stop[] = {c, '&', '<', '\0'};
                    const size_t j = S.find_first_of(stop, i);
                    if (j == std::string_view::npos) Fail("unterminated attribute value", start);
                    Copy(i, j);
                    i = j;
                    if (S[i] == c) break;
                    if (S[i] == '<') Fail("'<' in an attribute value", i);
                    i = Reference(i, true);
                }
            }
            Copy(i, i + 1);
            ++i;
        }
        Fail("unterminated tag", start);
    }

    std::string_view S;
    std::string Out;
    std::vector<TPrepared::Segment> Map{{0, 0, true}};
    std::map<std::string, Entity, std::less<>> Entities;
    size_t Expansion = 0;
    size_t Depth = 0; // of the elements written in the text itself
    bool SawDoctype = false;
};

} // namespace

TPrepared PrepareText(std::string_view input) {
    size_t bom = input.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    const std::string_view text = input.substr(bom);
    TPrepared r;
    const size_t bad = FindInvalidChar(text);
    if (bad != std::string_view::npos) {
        r.Ok = false;
        r.Reason = "invalid character (not UTF-8, or not allowed in XML)";
        r.ErrorOffset = bad + bom;
        return r;
    }
    r = Preparer(text).Run();
    if (!r.Ok) {
        r.ErrorOffset += bom;
    } else if (bom) {
        for (TPrepared::Segment& s : r.Map)
            s.In += bom;
    }
    return r;
}

} // namespace xml::detail
