#include "platform/xml/Dom.h"

#include "platform/win/CodePage.h"
#include "platform/xml/Prepare.h"

#include <pugixml.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace xml {

// The parsed tree. Elements made by CreateElement wait under a hidden element (the limbo) of the
// same tree until they are appended, so that appending moves them and every handle stays valid.
// The limbo is never shown: not among the document's children, in selections or in the text;
// it exists only while such elements wait, and meanwhile a position among the document's own
// children in an XPath ("/*[last()]") counts it.
struct Tree {
    pugi::xml_document Doc;
    pugi::xml_node Limbo;
};

struct DocImpl {
    std::shared_ptr<Tree> Current = std::make_shared<Tree>();
    TParseError Error;
    bool Validate = true;
};

struct NodeAccess {
    static Node Make(const std::shared_ptr<DocImpl>& doc, const std::shared_ptr<Tree>& tree,
                     pugi::xml_node n) {
        Node r;
        if (!n) return r;
        r.FDoc = doc;
        r.FTree = tree;
        r.FHandle = n.internal_object();
        r.FKind = Node::Kind::Node;
        return r;
    }
    static Node MakeAttr(const std::shared_ptr<DocImpl>& doc, const std::shared_ptr<Tree>& tree,
                         pugi::xml_attribute a, pugi::xml_node owner) {
        Node r;
        if (!a) return r;
        r.FDoc = doc;
        r.FTree = tree;
        r.FHandle = a.internal_object();
        r.FOwner = owner.internal_object();
        r.FKind = Node::Kind::Attribute;
        return r;
    }
    static pugi::xml_node N(const Node& n) {
        return n.FKind == Node::Kind::Node
                   ? pugi::xml_node(static_cast<pugi::xml_node_struct*>(n.FHandle))
                   : pugi::xml_node();
    }
    static pugi::xml_attribute A(const Node& n) {
        return n.FKind == Node::Kind::Attribute
                   ? pugi::xml_attribute(static_cast<pugi::xml_attribute_struct*>(n.FHandle))
                   : pugi::xml_attribute();
    }
    static pugi::xml_node Owner(const Node& n) {
        return pugi::xml_node(static_cast<pugi::xml_node_struct*>(n.FOwner));
    }
    static const std::shared_ptr<Tree>& T(const Node& n) { return n.FTree; }
    static const std::shared_ptr<DocImpl>& D(const Node& n) { return n.FDoc; }
};

namespace {

using NA = NodeAccess;

// The top-level node a node hangs from (the document's child).
pugi::xml_node TopOf(pugi::xml_node n) {
    while (n.parent() && n.parent().type() != pugi::node_document)
        n = n.parent();
    return n;
}

bool InLimbo(const Tree& t, pugi::xml_node n) {
    return t.Limbo && n.type() != pugi::node_document && TopOf(n) == t.Limbo;
}

void CheckText(std::string_view text, const char* what, std::string_view name) {
    const size_t bad = detail::FindInvalidChar(text);
    if (bad != std::string_view::npos)
        throw EXmlError(std::string(what) + " " + std::string(name) +
                        ": a character that is not UTF-8 or not allowed in XML at byte " +
                        std::to_string(bad));
}

void CheckName(std::string_view name, const char* what) {
    if (!IsXmlName(name)) throw EXmlError(std::string(what) + " '" + std::string(name) + "'");
}

void EscapeInto(std::string& out, std::string_view s, bool attribute) {
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '\r':
            out += "&#13;";
            break; // would read back as a line feed
        case '\n':
            out += attribute ? "&#10;" : "\n";
            break;
        case '\t':
            out += attribute ? "&#9;" : "\t";
            break;
        default:
            out += c;
        }
    }
}

void WriteAttributes(std::string& out, pugi::xml_node n) {
    for (pugi::xml_attribute a : n.attributes()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        EscapeInto(out, a.value(), true);
        out += '"';
    }
}

void WriteOpen(std::string& out, pugi::xml_node n) {
    switch (n.type()) {
    case pugi::node_element:
        out += '<';
        out += n.name();
        WriteAttributes(out, n);
        out += n.first_child() ? ">" : "/>";
        break;
    case pugi::node_pcdata:
        EscapeInto(out, n.value(), false);
        break;
    case pugi::node_cdata: {
        std::string v = n.value();
        for (size_t p = v.find("]]>"); p != std::string::npos; p = v.find("]]>", p + 15))
            v.replace(p, 3, "]]]]><![CDATA[>");
        out += "<![CDATA[" + v + "]]>";
        break;
    }
    case pugi::node_comment:
        out += std::string("<!--") + n.value() + "-->";
        break;
    case pugi::node_pi:
        out += std::string("<?") + n.name();
        if (*n.value()) out += std::string(" ") + n.value();
        out += "?>";
        break;
    case pugi::node_declaration:
        out += "<?xml";
        WriteAttributes(out, n);
        out += "?>";
        break;
    case pugi::node_doctype:
        out += std::string("<!DOCTYPE ") + n.value() + ">";
        break;
    default:
        break;
    }
}

// Iterative, so that deep trees cannot exhaust the stack.
void WriteNode(std::string& out, pugi::xml_node top) {
    pugi::xml_node n = top;
    for (;;) {
        WriteOpen(out, n);
        if (n.type() == pugi::node_element && n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n != top && !n.next_sibling()) {
            n = n.parent();
            out += "</" + std::string(n.name()) + ">";
        }
        if (n == top) return;
        n = n.next_sibling();
    }
}

void CollectText(std::string& out, pugi::xml_node top) {
    pugi::xml_node n = top.first_child();
    while (n) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) out += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n != top && !n.next_sibling())
            n = n.parent();
        if (n == top) return;
        n = n.next_sibling();
    }
}

std::string DeclaredEncoding(std::string_view bytes) {
    const std::string head = rtl::LowerCase(bytes.substr(0, 200));
    if (head.compare(0, 5, "<?xml") != 0) return "";
    const size_t end = head.find("?>");
    size_t p = head.find("encoding");
    if (p == std::string::npos || p > end) return "";
    p = head.find_first_of("\"'", p);
    if (p == std::string::npos) return "";
    const size_t q = head.find(head[p], p + 1);
    return q == std::string::npos ? "" : head.substr(p + 1, q - p - 1);
}

int CodePageOfEncoding(const std::string& enc) {
    if (enc == "gb2312" || enc == "gbk" || enc == "cp936" || enc == "x-gbk" || enc == "936")
        return 936;
    if (enc == "big5" || enc == "cp950" || enc == "950") return 950;
    return 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------

bool IsXmlName(std::string_view name) {
    size_t i = 0;
    bool first = true;
    while (i < name.size()) {
        char32_t c;
        if (!detail::DecodeUtf8(name, i, c)) return false;
        if (first ? !detail::IsXmlNameStart(c) : !detail::IsXmlNameChar(c)) return false;
        first = false;
    }
    return !first;
}

bool Node::operator==(const Node& other) const {
    return FKind == other.FKind && FHandle == other.FHandle;
}

TNodeType Node::NodeType() const {
    if (FKind == Kind::Attribute) return TNodeType::ntAttribute;
    switch (NA::N(*this).type()) {
    case pugi::node_element:
        return TNodeType::ntElement;
    case pugi::node_pcdata:
        return TNodeType::ntText;
    case pugi::node_cdata:
        return TNodeType::ntCData;
    case pugi::node_comment:
        return TNodeType::ntComment;
    case pugi::node_pi:
    case pugi::node_declaration:
        return TNodeType::ntProcessingInstruction;
    case pugi::node_document:
        return TNodeType::ntDocument;
    case pugi::node_doctype:
        return TNodeType::ntDocumentType;
    default:
        return TNodeType::ntInvalid;
    }
}

std::string Node::NodeName() const {
    if (FKind == Kind::Attribute) return NA::A(*this).name();
    const pugi::xml_node n = NA::N(*this);
    switch (n.type()) {
    case pugi::node_element:
    case pugi::node_pi:
        return n.name();
    case pugi::node_declaration:
        return "xml";
    case pugi::node_pcdata:
        return "#text";
    case pugi::node_cdata:
        return "#cdata-section";
    case pugi::node_comment:
        return "#comment";
    case pugi::node_document:
        return "#document";
    case pugi::node_doctype: {
        const std::string v = rtl::Trim(n.value());
        return v.substr(0, v.find_first_of(" \t\r\n["));
    }
    default:
        return "";
    }
}

std::string Node::Text() const {
    if (FKind == Kind::Attribute) return NA::A(*this).value();
    const pugi::xml_node n = NA::N(*this);
    std::string out;
    switch (n.type()) {
    case pugi::node_element:
        CollectText(out, n);
        break;
    case pugi::node_document: {
        const Node root = Document(FDoc).DocumentElement();
        if (root && root.FTree == FTree) out = root.Text();
        break;
    }
    case pugi::node_declaration: {
        WriteAttributes(out, n);
        if (!out.empty()) out.erase(0, 1);
        break;
    }
    default:
        out = n.value();
    }
    return out;
}

std::string Node::Xml() const {
    std::string out;
    if (FKind == Kind::Attribute) {
        const pugi::xml_attribute a = NA::A(*this);
        out = std::string(a.name()) + "=\"";
        EscapeInto(out, a.value(), true);
        return out + '"';
    }
    const pugi::xml_node n = NA::N(*this);
    if (n.type() == pugi::node_document) {
        for (pugi::xml_node c : n.children()) {
            if (c == FTree->Limbo) continue;
            WriteNode(out, c);
            out += "\r\n";
        }
    } else if (n) {
        WriteNode(out, n);
    }
    return out;
}

int Node::AttributeCount() const {
    const pugi::xml_node n = NA::N(*this);
    if (n.type() != pugi::node_element) return 0;
    int count = 0;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        ++count;
    return count;
}

Node Node::Attribute(int index) const {
    const pugi::xml_node n = NA::N(*this);
    if (n.type() != pugi::node_element || index < 0) return {};
    pugi::xml_attribute a = n.first_attribute();
    for (int i = 0; a && i < index; ++i)
        a = a.next_attribute();
    return NA::MakeAttr(FDoc, FTree, a, n);
}

std::optional<std::string> Node::GetAttribute(std::string_view name) const {
    const pugi::xml_node n = NA::N(*this);
    if (n.type() != pugi::node_element) return std::nullopt;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (name == a.name()) return std::string(a.value());
    return std::nullopt;
}

void Node::SetAttribute(std::string_view name, std::string_view value) const {
    pugi::xml_node n = NA::N(*this);
    if (n.type() != pugi::node_element)
        throw EXmlError("attribute " + std::string(name) + " set on a node that is not an element");
    CheckName(name, "invalid attribute name");
    CheckText(value, "value of attribute", name);
    const std::string key(name);
    pugi::xml_attribute a = n.attribute(key.c_str());
    if (!a) a = n.append_attribute(key.c_str());
    a.set_value(std::string(value).c_str());
}

Node Node::ParentNode() const {
    if (FKind != Kind::Node) return {};
    const pugi::xml_node p = NA::N(*this).parent();
    if (!p || p == FTree->Limbo) return {};
    return NA::Make(FDoc, FTree, p);
}

Node Node::FirstChild() const {
    pugi::xml_node c = NA::N(*this).first_child();
    if (c && c == FTree->Limbo) c = c.next_sibling();
    return NA::Make(FDoc, FTree, c);
}

Node Node::NextSibling() const {
    if (FKind != Kind::Node) return {};
    const pugi::xml_node n = NA::N(*this);
    if (n == FTree->Limbo || n.parent() == FTree->Limbo) return {};
    pugi::xml_node s = n.next_sibling();
    if (s && s == FTree->Limbo) s = s.next_sibling();
    return NA::Make(FDoc, FTree, s);
}

int Node::ChildCount() const {
    int count = 0;
    for (Node c = FirstChild(); c; c = c.NextSibling())
        ++count;
    return count;
}

std::vector<Node> Node::ChildNodes() const {
    std::vector<Node> r;
    for (Node c = FirstChild(); c; c = c.NextSibling())
        r.push_back(c);
    return r;
}

namespace {

// Created elements wait in the limbo; a selection from the tree must not find them.
bool NeedsLimboFilter(const Tree& t, pugi::xml_node context) {
    return t.Limbo && t.Limbo.first_child() && !InLimbo(t, context);
}

} // namespace

template <class F> void Node::Evaluate(std::string_view xpath, F&& f) const {
    const std::string expr(xpath);
    try {
        const pugi::xpath_query query(expr.c_str());
        const pugi::xpath_node context = FKind == Kind::Attribute
                                             ? pugi::xpath_node(NA::A(*this), NA::Owner(*this))
                                             : pugi::xpath_node(NA::N(*this));
        f(query, context);
    } catch (const pugi::xpath_exception& e) {
        throw EXmlError("invalid XPath '" + expr + "': " + e.what());
    }
}

std::vector<Node> Node::SelectNodes(std::string_view xpath) const {
    std::vector<Node> r;
    if (!*this) return r;
    pugi::xpath_node_set set;
    Evaluate(xpath, [&](const pugi::xpath_query& q, const pugi::xpath_node& context) {
        set = q.evaluate_node_set(context);
    });
    set.sort();
    const Tree& t = *FTree;
    const bool filter =
        NeedsLimboFilter(t, FKind == Kind::Attribute ? NA::Owner(*this) : NA::N(*this));
    r.reserve(set.size());
    for (const pugi::xpath_node& x : set) {
        const pugi::xml_node owner = x.attribute() ? x.parent() : x.node();
        if (owner == t.Limbo || (filter && InLimbo(t, owner))) continue;
        r.push_back(x.attribute() ? NA::MakeAttr(FDoc, FTree, x.attribute(), x.parent())
                                  : NA::Make(FDoc, FTree, x.node()));
    }
    return r;
}

Node Node::SelectSingleNode(std::string_view xpath) const {
    if (!*this) return {};
    const Tree& t = *FTree;
    if (t.Limbo && t.Limbo.first_child()) {
        std::vector<Node> all = SelectNodes(xpath);
        return all.empty() ? Node() : all.front();
    }
    // Nothing waits in the limbo: the first match in document order is the answer.
    pugi::xpath_node x;
    Evaluate(xpath, [&](const pugi::xpath_query& q, const pugi::xpath_node& context) {
        x = q.evaluate_node(context);
    });
    if (x.attribute()) return NA::MakeAttr(FDoc, FTree, x.attribute(), x.parent());
    if (x.node() && x.node() == t.Limbo) { // the empty limbo itself matched: look further
        std::vector<Node> all = SelectNodes(xpath);
        return all.empty() ? Node() : all.front();
    }
    return NA::Make(FDoc, FTree, x.node());
}

Node Node::AppendChild(const Node& child) const {
    pugi::xml_node parent = NA::N(*this);
    if (parent.type() != pugi::node_element && parent.type() != pugi::node_document)
        throw EXmlError("a child can be appended only to an element or the document");
    if (child.FKind != Kind::Node || child.FTree != FTree)
        throw EXmlError("the node to append (" + child.NodeName() +
                        ") does not belong to this document");
    const pugi::xml_node c = NA::N(child);
    const pugi::xml_node_type type = c.type();
    if (type == pugi::node_document || type == pugi::node_declaration ||
        type == pugi::node_doctype || c == FTree->Limbo)
        throw EXmlError("a " + child.NodeName() + " node cannot be appended");
    if (parent.type() == pugi::node_document) {
        if (type == pugi::node_pcdata || type == pugi::node_cdata)
            throw EXmlError("text cannot stand outside the root element");
        if (type == pugi::node_element) {
            const Node root = Document(FDoc).DocumentElement();
            if (root && !(root == child) && FTree == FDoc->Current)
                throw EXmlError("only one top-level element is allowed; the document has " +
                                root.NodeName() + ", not adding " + child.NodeName());
        }
    }
    if (!parent.append_move(c))
        throw EXmlError("the node " + child.NodeName() +
                        " cannot be appended to itself or to one of its descendants");
    // An empty limbo goes, so that positions among the document's children stay true.
    Tree& t = *FTree;
    if (t.Limbo && !t.Limbo.first_child()) {
        t.Doc.remove_child(t.Limbo);
        t.Limbo = pugi::xml_node();
    }
    return child;
}

Document Node::OwnerDocument() const {
    return FDoc ? Document(FDoc) : Document();
}

// ---------------------------------------------------------------------------------------------

Document Document::Create() {
    return Document(std::make_shared<DocImpl>());
}

DocImpl& Document::Impl() const {
    if (!FImpl) throw EXmlError("the document has not been created");
    return *FImpl;
}

bool Document::ValidateOnParse() const {
    return Impl().Validate;
}

void Document::SetValidateOnParse(bool value) {
    Impl().Validate = value;
}

const TParseError& Document::ParseError() const {
    return Impl().Error;
}

namespace {

bool Parse(DocImpl& impl, std::string_view input, const std::string& url) {
    auto tree = std::make_shared<Tree>();
    impl.Current = tree;
    impl.Error = TParseError{};
    impl.Error.Url = url;
    const auto fail = [&](std::string reason, size_t offset) {
        impl.Current = std::make_shared<Tree>();
        TParseError& e = impl.Error;
        e.ErrorCode = 1;
        detail::LineAndColumn(input, offset, e.Line, e.LinePos);
        e.FilePos = long(offset);
        e.Reason = reason + " at line " + std::to_string(e.Line) + ", column " +
                   std::to_string(e.LinePos) + (url.empty() ? "" : " of " + url);
        return false;
    };
    if (input.size() > MaxDocumentBytes)
        return fail("the document is larger than " + std::to_string(MaxDocumentBytes) + " bytes",
                    0);
    const detail::TPrepared prepared = detail::PrepareText(input);
    if (!prepared.Ok) return fail(prepared.Reason, prepared.ErrorOffset);
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype |
                             pugi::parse_comments | pugi::parse_pi;
    const pugi::xml_parse_result res = tree->Doc.load_buffer(
        prepared.Text.data(), prepared.Text.size(), options, pugi::encoding_utf8);
    if (!res)
        return fail(res.description(),
                    prepared.InputOffset(size_t(std::max<ptrdiff_t>(0, res.offset))));
    // Where a node starts (the parser points at an element's name, after its "<").
    const auto where = [&](pugi::xml_node c) {
        ptrdiff_t o = c.offset_debug();
        if (c.type() == pugi::node_element && o > 0) --o;
        return prepared.InputOffset(size_t(std::max<ptrdiff_t>(0, o)));
    };
    int elements = 0;
    for (pugi::xml_node c : tree->Doc.children()) {
        const size_t at = where(c);
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            return fail("text outside the root element", at);
        if (c.type() == pugi::node_element && ++elements > 1)
            return fail("only one top-level element is allowed", at);
        if (c.type() == pugi::node_declaration && c != tree->Doc.first_child())
            return fail("the XML declaration must come first", at);
    }
    if (elements == 0) return fail("no root element", input.size());
    // The parser takes a repeated attribute; the platform's does not.
    std::vector<std::string_view> names;
    for (pugi::xml_node n = tree->Doc.first_child(); n;) {
        if (n.first_attribute() && n.first_attribute().next_attribute()) {
            names.clear();
            for (pugi::xml_attribute a : n.attributes())
                names.emplace_back(a.name());
            std::sort(names.begin(), names.end());
            const auto dup = std::adjacent_find(names.begin(), names.end());
            if (dup != names.end())
                return fail("attribute " + std::string(*dup) + " is repeated", where(n));
        }
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling())
            n = n.parent();
        if (n) n = n.next_sibling();
    }
    return true;
}

} // namespace

bool Document::LoadXML(std::string_view text) {
    return Parse(Impl(), text, "");
}

bool Document::Load(const std::string& fileName) {
    DocImpl& impl = Impl();
    const auto refuse = [&](std::string reason) {
        impl.Current = std::make_shared<Tree>();
        impl.Error = TParseError{};
        impl.Error.ErrorCode = 2;
        impl.Error.Url = fileName;
        impl.Error.Reason = std::move(reason);
        return false;
    };
    std::ifstream f(fileName, std::ios::binary);
    if (!f) return refuse("cannot read the file " + fileName);
    f.seekg(0, std::ios::end);
    const std::streamoff size = f.tellg();
    if (size < 0) return refuse("cannot read the file " + fileName);
    if (size_t(size) > MaxDocumentBytes)
        return refuse("the file " + fileName + " is larger than " +
                      std::to_string(MaxDocumentBytes) + " bytes");
    std::string bytes(size_t(size), '\0');
    f.seekg(0);
    if (!f.read(bytes.data(), size)) return refuse("cannot read the file " + fileName);
    // Files written by this system are UTF-8 even when their declaration says otherwise; a
    // file in a Chinese code page is decoded by its declaration.
    const std::string_view all(bytes);
    if (detail::FindInvalidChar(all.substr(0, 3) == "\xEF\xBB\xBF" ? all.substr(3) : all) !=
        std::string_view::npos) {
        const int cp = CodePageOfEncoding(DeclaredEncoding(bytes));
        std::string wide;
        if (cp && win::CodePageToWide(cp, bytes, wide)) bytes = std::move(wide);
    }
    return Parse(impl, bytes, fileName);
}

Node Document::DocumentElement() const {
    const DocImpl& impl = Impl();
    for (pugi::xml_node c : impl.Current->Doc.children())
        if (c.type() == pugi::node_element && c != impl.Current->Limbo)
            return NA::Make(FImpl, impl.Current, c);
    return {};
}

Node Document::AsNode() const {
    const DocImpl& impl = Impl();
    return NA::Make(FImpl, impl.Current, impl.Current->Doc);
}

namespace {

pugi::xml_node Limbo(Tree& t) {
    if (!t.Limbo) t.Limbo = t.Doc.append_child("#limbo");
    return t.Limbo;
}

} // namespace

Node Document::CreateElement(std::string_view name) {
    DocImpl& impl = Impl();
    CheckName(name, "invalid element name");
    pugi::xml_node e = Limbo(*impl.Current).append_child(std::string(name).c_str());
    return NA::Make(FImpl, impl.Current, e);
}

Node Document::CreateTextNode(std::string_view text) {
    DocImpl& impl = Impl();
    CheckText(text, "text", "node");
    pugi::xml_node t = Limbo(*impl.Current).append_child(pugi::node_pcdata);
    t.set_value(std::string(text).c_str());
    return NA::Make(FImpl, impl.Current, t);
}

} // namespace xml
