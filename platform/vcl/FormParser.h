// Delphi's text form format ("object Form1: TForm1 ... end") read into a plain tree, and written
// back out. The tree knows nothing of classes or properties: the form loader interprets it
// against the class registry. Every node and value keeps the line and column it came from so
// that the loader can name them in its errors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace vcl {

// Objects, lists and collections nested deeper than this are refused, so that no input can
// exhaust the stack.
inline constexpr int kMaxFormNesting = 256;

enum class TFormNodeKind : std::uint8_t { Object, Inherited, Inline };

enum class TFormValueKind : std::uint8_t {
    Integer,    // Integer
    Float,      // Float
    String,     // Text: UTF-8
    Identifier, // Text: as written, dots included ("clBtnFace", "Form1.Button1")
    Set,        // Items: Identifier values (Integer values for sets of numbers)
    List,       // Items: any values
    Collection, // Collection
    Binary,     // Bytes
};

struct TFormCollectionItem;

struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Integer;
    int Line = 0; // 1-based; column counts characters, not bytes
    int Column = 0;
    std::int64_t Integer = 0;
    double Float = 0;
    std::string Text;
    std::vector<std::uint8_t> Bytes;
    std::vector<TFormValue> Items;
    std::vector<TFormCollectionItem> Collection;
};

struct TFormProperty {
    std::string Name; // dotted as written: "Font.Name", "Items.Strings"
    int Line = 0;
    int Column = 0;
    TFormValue Value;
};

struct TFormCollectionItem {
    int Index = -1; // "item [n]"; -1 when absent
    int Line = 0;
    int Column = 0;
    std::vector<TFormProperty> Properties;
};

struct TFormNode {
    TFormNodeKind Kind = TFormNodeKind::Object;
    std::string Name; // empty for "object TClass"
    std::string ClassName;
    int Index = -1; // "[n]" after the class; -1 when absent
    int Line = 0;
    int Column = 0;
    std::vector<TFormProperty> Properties;
    std::vector<TFormNode> Children;

    // Both compare names without regard to case; nullptr when absent.
    const TFormProperty* FindProperty(std::string_view name) const;
    const TFormNode* FindChild(std::string_view name) const;
};

// A syntax error in a form resource. The message reads "Forms.dfm(12:5): ')' expected but 'end'
// found"; the loader raises it too, for what it finds wrong at a node's position.
class EFormParseError : public rtl::Exception {
public:
    EFormParseError(std::string resourceName, int line, int column, std::string_view detail);
    const char* ClassName() const override { return "EParserError"; }

    std::string ResourceName;
    int Line;
    int Column;
};

// Parses one root object. A UTF-8 byte order mark is skipped. Throws EFormParseError.
TFormNode ParseFormText(std::string_view text, std::string_view resourceName);

// Writes the tree in the normalised text form: two-space indents, strings quoted with control
// characters as #n codes, lists and collections one item a line, binary data in lines of 64 hex
// digits. Parsing the result gives a tree with the same content. Throws rtl::EConvertError for
// what the format cannot hold (a string that is not UTF-8, a float that is not finite).
std::string FormTextToString(const TFormNode& root);

// Content equality: kinds, names, values, order; positions are ignored.
bool SameContent(const TFormNode& a, const TFormNode& b);
bool SameContent(const TFormValue& a, const TFormValue& b);

} // namespace vcl
