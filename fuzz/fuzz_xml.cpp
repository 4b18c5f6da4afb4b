// XML documents: any bytes are loaded; what loads is walked, selected in and written back, and
// the written text must load again to the same text.
#include "platform/xml/Dom.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Walk(const xml::Node& top) {
    for (xml::Node n = top.FirstChild(); n; n = n.NextSibling()) {
        n.NodeName();
        n.Text();
        const int count = n.AttributeCount();
        for (int i = 0; i < count; ++i)
            if (!n.Attribute(i) || n.Attribute(i).NodeType() != xml::TNodeType::ntAttribute)
                std::abort();
        if (n.Attribute(count)) std::abort();
        if (!(n.ParentNode() == top)) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    xml::Document doc = xml::Document::Create();
    if (!doc.LoadXML(text)) {
        if (doc.DocumentElement() || doc.ParseError().ErrorCode == 0 ||
            doc.ParseError().Reason.empty())
            std::abort();
        return 0;
    }
    const xml::Node root = doc.DocumentElement();
    if (!root) std::abort();
    Walk(doc.AsNode());
    Walk(root);
    const std::vector<xml::Node> all = doc.SelectNodes("//node() | //@*");
    if (all.empty() || !(doc.SelectSingleNode("/*") == root)) std::abort();
    for (const xml::Node& n : all)
        if (n.NodeType() == xml::TNodeType::ntInvalid) std::abort();

    const std::string written = doc.Xml();
    xml::Document again = xml::Document::Create();
    if (!again.LoadXML(written) || again.Xml() != written) std::abort();

    xml::Node added = root.AppendChild(doc.CreateElement("added"));
    added.SetAttribute("v", text.substr(0, 16).find('\0') == std::string_view::npos &&
                                    xml::IsXmlName(std::string(text.substr(0, 8)))
                                ? std::string(text.substr(0, 8))
                                : std::string("x"));
    if (!(doc.SelectSingleNode("/*/added[last()]") == added)) std::abort();
    return 0;
}
