// XML documents in the shape of the platform's DOM: a document, its nodes (elements, attributes,
// texts, ...) reached through handles, XPath 1.0 selections and the parse error of the last load.
//
// Handles are shared references as the DOM's interfaces are: a node keeps its document alive, so
// no handle ever dangles; a const handle still changes the node it refers to. Loading again
// replaces the document's tree; nodes taken from the old tree stay readable but belong to no
// document tree any more.
//
// Text is UTF-8. Program text (LoadXML) is parsed as UTF-8 whatever its declaration names; a
// file is UTF-8 when its bytes are, else it is decoded from the GB2312 or Big5 code page its
// declaration names. The internal subset of a document type is read for its general entities
// (external entities are never fetched, a reference to one is an error); references expand with
// limits on depth and size, so an expansion bomb fails the load instead of eating the memory.
// Like the platform parser, undeclared entities, a bare "&", characters outside XML's range and
// more than one top-level element are errors. Nothing here validates against the document type.
//
// Not thread-safe: a document and its nodes belong to one thread at a time.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

// Misuse of the DOM: an invalid name or XPath, appending where the tree does not allow it.
RTL_EXCEPTION_CLASS(EXmlError, rtl::Exception);

// The DOM's node-type numbers.
enum class TNodeType : int {
    ntInvalid = 0,
    ntElement = 1,
    ntAttribute = 2,
    ntText = 3,
    ntCData = 4,
    ntProcessingInstruction = 7,
    ntComment = 8,
    ntDocument = 9,
    ntDocumentType = 10,
};

// The outcome of the last load. ErrorCode 0 means it parsed; Reason then is empty. Line and
// LinePos (characters, from 1) point into the text as given, before any entity expansion.
struct TParseError {
    int ErrorCode = 0;
    std::string Reason; // with the place: "... at line 3, column 7" (and the file when loaded)
    int Line = 0;
    int LinePos = 0;
    long FilePos = 0; // byte offset
    std::string Url;  // the file loaded, empty for text
};

// Largest document read (bytes of text) and largest amount of text entity references may add.
inline constexpr size_t MaxDocumentBytes = 256u << 20;
inline constexpr size_t MaxEntityExpansionBytes = 1u << 20;
inline constexpr int MaxEntityDepth = 16;

struct DocImpl;
struct Tree;
class Document;

class Node {
public:
    Node() = default; // the null node: what a selection that finds nothing answers
    explicit operator bool() const { return FKind != Kind::None; }
    bool operator==(const Node& other) const;

    TNodeType NodeType() const;
    // Elements and attributes: their name; texts "#text", CDATA "#cdata-section", comments
    // "#comment", the document "#document", a processing instruction its target.
    std::string NodeName() const;
    // Attributes, texts, comments, instructions: their value; elements and the document: the
    // texts of all descendants joined in document order.
    std::string Text() const;
    // The node written as XML: elements as <a b="v"/>, the document with a CR LF after each
    // top-level node.
    std::string Xml() const;

    // Attributes of an element in document order (none for other nodes).
    int AttributeCount() const;
    Node Attribute(int index) const; // the null node outside 0..count-1
    // The attribute's value; nullopt when the element has none of that name.
    std::optional<std::string> GetAttribute(std::string_view name) const;
    // EXmlError when this is not an element or the name is not an XML name.
    void SetAttribute(std::string_view name, std::string_view value) const;

    Node ParentNode() const; // attributes and the document have none
    Node FirstChild() const;
    Node NextSibling() const;
    int ChildCount() const;
    std::vector<Node> ChildNodes() const;

    // XPath 1.0 relative to this node; EXmlError (naming the expression) when it is not valid.
    // Results are nodes (elements, attributes, ...), in document order.
    Node SelectSingleNode(std::string_view xpath) const;
    std::vector<Node> SelectNodes(std::string_view xpath) const;

    // Appends child (an element, text, comment made by the same document, or a node already in
    // its tree, which moves) as the last child of this element or document and answers it.
    // EXmlError when child is of another document, would become its own descendant, or would
    // be a second top-level element.
    Node AppendChild(const Node& child) const;

    // The document the node belongs to (the document node answers its own document).
    Document OwnerDocument() const;

private:
    friend class Document;
    friend struct NodeAccess;
    template <class F> void Evaluate(std::string_view xpath, F&& f) const;
    enum class Kind { None, Node, Attribute };
    std::shared_ptr<DocImpl> FDoc;
    std::shared_ptr<Tree> FTree;
    void* FHandle = nullptr; // the parser's node or attribute
    void* FOwner = nullptr;  // an attribute's element
    Kind FKind = Kind::None;
};

class Document {
public:
    Document() = default; // the null document; Create makes one
    static Document Create();
    explicit operator bool() const { return FImpl != nullptr; }

    // Parse-time validation against the document type (not performed here; kept as a setting).
    bool ValidateOnParse() const;
    void SetValidateOnParse(bool value);

    // Replace the tree by the parsed text or file. false when it does not parse: the document
    // is then empty and ParseError tells why.
    bool LoadXML(std::string_view text);
    bool Load(const std::string& fileName);
    const TParseError& ParseError() const;

    Node DocumentElement() const;              // the null node for an empty document
    Node AsNode() const;                       // the document node
    Node CreateElement(std::string_view name); // EXmlError for a name that is not an XML name
    Node CreateTextNode(std::string_view text);
    std::string Xml() const { return AsNode().Xml(); }
    Node SelectSingleNode(std::string_view xpath) const { return AsNode().SelectSingleNode(xpath); }
    std::vector<Node> SelectNodes(std::string_view xpath) const {
        return AsNode().SelectNodes(xpath);
    }

private:
    friend class Node;
    explicit Document(std::shared_ptr<DocImpl> impl) : FImpl(std::move(impl)) {}
    DocImpl& Impl() const;
    std::shared_ptr<DocImpl> FImpl;
};

// Whether the text is an XML name (the letters of XML 1.0 fifth edition, ":" included).
bool IsXmlName(std::string_view name);

} // namespace xml
