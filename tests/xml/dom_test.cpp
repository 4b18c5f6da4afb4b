#include "platform/xml/Dom.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>

using xml::Document;
using xml::Node;
using xml::TNodeType;

namespace {

Document Parsed(std::string_view text) {
    Document d = Document::Create();
    EXPECT_TRUE(d.LoadXML(text)) << d.ParseError().Reason << "\n" << text;
    return d;
}

// The receivers list and the portal's answer as the system reads them.
constexpr const char* Portal =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Response>\n"
    "  <Status code=\"0\" Description=\"成功\"/>\n"
    "  <Record><Field name=\"Id\" value=\"u01\"/><Field name=\"Name\" value=\"王小明\"/></Record>\n"
    "  <Record><Field name=\"Id\" value=\"u02\"/><Field name=\"Name\" value=\"李四\"/></Record>\n"
    "  <!-- trailing note -->\n"
    "</Response>\n";

TEST(XmlDom, ReadsElementsAttributesAndSelections) {
    Document d = Parsed(Portal);
    Node root = d.DocumentElement();
    EXPECT_EQ(root.NodeName(), "Response");
    EXPECT_EQ(root.NodeType(), TNodeType::ntElement);
    EXPECT_EQ(d.AsNode().NodeType(), TNodeType::ntDocument);
    EXPECT_EQ(root.ParentNode(), d.AsNode());

    Node status = d.SelectSingleNode("//Status[@code]");
    ASSERT_TRUE(status);
    ASSERT_EQ(status.AttributeCount(), 2);
    EXPECT_EQ(status.Attribute(0).NodeName(), "code");
    EXPECT_EQ(status.Attribute(0).NodeType(), TNodeType::ntAttribute);
    EXPECT_EQ(status.Attribute(1).Text(), "成功");
    EXPECT_FALSE(status.Attribute(2));
    EXPECT_FALSE(status.GetAttribute("Missing").has_value());
    EXPECT_EQ(status.GetAttribute("Description"), "成功");

    std::vector<std::string> users;
    for (const Node& r : d.SelectNodes("//Record"))
        users.push_back(r.SelectSingleNode("Field[@name='Id']").GetAttribute("value").value() +
                        "=" + r.SelectSingleNode("Field[@name='Name']/@value").Text());
    EXPECT_EQ(users, (std::vector<std::string>{"u01=王小明", "u02=李四"}));

    Node attr = d.SelectSingleNode("//Status/@Description");
    EXPECT_EQ(attr.NodeType(), TNodeType::ntAttribute);
    EXPECT_EQ(attr.Text(), "成功");
    EXPECT_FALSE(d.SelectSingleNode("//Nothing"));
    EXPECT_TRUE(d.SelectNodes("//Nothing").empty());

    // Whitespace between elements is not kept; the comment is a node of its own.
    ASSERT_EQ(root.ChildCount(), 4);
    EXPECT_EQ(root.ChildNodes()[3].NodeType(), TNodeType::ntComment);
    EXPECT_EQ(d.AsNode().FirstChild().NodeName(), "xml");
}

TEST(XmlDom, TextAndXmlOfNodes) {
    Document d = Parsed("<a x=\"1 &lt; 2\">one<b>two</b><![CDATA[<three>]]><!--c--><c/></a>");
    Node a = d.DocumentElement();
    EXPECT_EQ(a.Text(), "onetwo<three>");
    EXPECT_EQ(a.Xml(), "<a x=\"1 &lt; 2\">one<b>two</b><![CDATA[<three>]]><!--c--><c/></a>");
    EXPECT_EQ(d.Xml(), a.Xml() + "\r\n");
    EXPECT_EQ(a.FirstChild().NodeName(), "#text");
    EXPECT_EQ(a.FirstChild().NextSibling().NextSibling().NodeName(), "#cdata-section");
}

TEST(XmlDom, ParsesProgramTextAsUtf8WhateverTheDeclarationSays) {
    Document d = Parsed("<?xml version=\"1.0\" encoding=\"GB2312\"?><a t=\"客户\">部门</a>");
    EXPECT_EQ(d.DocumentElement().GetAttribute("t"), "客户");
    EXPECT_EQ(d.DocumentElement().Text(), "部门");
    EXPECT_EQ(d.Xml(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<a t=\"客户\">部门</a>\r\n");
}

TEST(XmlDom, FilesInUtf8OrInTheirDeclaredChineseCodePage) {
    testing_support::TempDir dir;
    const std::string decl = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
    // "客户" in GB2312, and in Big5 "客戶"
    testing_support::WriteFile(dir.File("gb.xml"), decl + "<a>\xBF\xCD\xBB\xA7</a>");
    testing_support::WriteFile(dir.File("big5.xml"),
                               "<?xml version=\"1.0\" encoding=\"big5\"?><a>\xAB\xC8\xA4\xE1</a>");
    testing_support::WriteFile(dir.File("utf8.xml"), "\xEF\xBB\xBF" + decl + "<a>客户</a>");
    testing_support::WriteFile(dir.File("bad.xml"), "<a>\xBF\xCD</a>");
    Document d = Document::Create();
    ASSERT_TRUE(d.Load(dir.File("gb.xml"))) << d.ParseError().Reason;
    EXPECT_EQ(d.DocumentElement().Text(), "客户");
    ASSERT_TRUE(d.Load(dir.File("big5.xml"))) << d.ParseError().Reason;
    EXPECT_EQ(d.DocumentElement().Text(), "客戶");
    ASSERT_TRUE(d.Load(dir.File("utf8.xml"))) << d.ParseError().Reason;
    EXPECT_EQ(d.DocumentElement().Text(), "客户");

    EXPECT_FALSE(d.Load(dir.File("bad.xml")));
    EXPECT_EQ(d.ParseError().Url, dir.File("bad.xml"));
    EXPECT_NE(d.ParseError().Reason.find("line 1, column 4 of " + dir.File("bad.xml")),
              std::string::npos)
        << d.ParseError().Reason;
    EXPECT_FALSE(d.Load(dir.File("missing.xml")));
    EXPECT_NE(d.ParseError().Reason.find("missing.xml"), std::string::npos);
    EXPECT_FALSE(d.DocumentElement());
}

TEST(XmlDom, MalformedTextLeavesAnEmptyDocumentWithTheReasonAndPlace) {
    struct Case {
        const char* Text;
        int Line, Column;
        const char* ReasonHas;
    };
    const Case cases[] = {
        {"", 1, 1, "No document element"},
        {"<a><b></a>", 1, 9, "mismatch"},
        {"<a>\n  <b x='1' x='2'/></a>", 2, 3, "attribute x is repeated"},
        {"<a/><b/>", 1, 5, "top-level"},
        {"text<a/>", 1, 1, "outside"},
        {"<a/>\ntail", 2, 1, "outside"},
        {"<a>fish & chips</a>", 1, 9, "&amp;"},
        {"<a>&nbsp;</a>", 1, 4, "undefined entity 'nbsp'"},
        {"<a>&#0;</a>", 1, 4, "character reference"},
        {"<a>\x01</a>", 1, 4, "invalid character"},
        {"<a>\xC3\x28</a>", 1, 4, "invalid character"},
        {"<a x=\"<\"/>", 1, 7, "attribute"},
        {"<a/><!DOCTYPE a>", 1, 5, "document type"},
        {"<a><!-- open", 1, 4, "comment"},
    };
    for (const Case& c : cases) {
        Document d = Parsed("<old/>");
        EXPECT_FALSE(d.LoadXML(c.Text)) << c.Text;
        EXPECT_FALSE(d.DocumentElement()) << c.Text;
        EXPECT_EQ(d.Xml(), "") << c.Text;
        const xml::TParseError& e = d.ParseError();
        EXPECT_NE(e.ErrorCode, 0) << c.Text;
        EXPECT_EQ(e.Line, c.Line) << c.Text << ": " << e.Reason;
        EXPECT_EQ(e.LinePos, c.Column) << c.Text << ": " << e.Reason;
        EXPECT_NE(e.Reason.find(c.ReasonHas), std::string::npos) << c.Text << ": " << e.Reason;
        EXPECT_NE(e.Reason.find("at line " + std::to_string(c.Line)), std::string::npos)
            << e.Reason;
    }
    Document d = Document::Create();
    EXPECT_TRUE(d.LoadXML("<ok/>"));
    EXPECT_EQ(d.ParseError().ErrorCode, 0);
    EXPECT_EQ(d.ParseError().Reason, "");
}

TEST(XmlDom, DocumentTypeEntitiesExpandAsDeclared) {
    // The document type the XML helpers add: "&stdd;" reads as the text "&stdd;".
    Document d = Parsed("<?xml version=\"1.0\" encoding=\"GB2312\"?>"
                        "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>"
                        "<a v=\"x&stdd;y\">1&stdd;2</a>");
    EXPECT_EQ(d.DocumentElement().Text(), "1&stdd;2");
    EXPECT_EQ(d.DocumentElement().GetAttribute("v"), "x&stdd;y");
    EXPECT_EQ(d.AsNode().ChildNodes()[1].NodeType(), TNodeType::ntDocumentType);
    EXPECT_EQ(d.AsNode().ChildNodes()[1].NodeName(), "SC");

    // Nested references, character references resolved at declaration, markup in the
    // replacement text, quotes inside an attribute, declarations and comments in the subset.
    Document e = Parsed("<!DOCTYPE r SYSTEM \"r.dtd\" [\n"
                        "  <!-- entities -->\n"
                        "  <!ELEMENT r ANY>\n"
                        "  <!ATTLIST r q CDATA \"x>y\">\n"
                        "  <!ENTITY co \"Tavik &amp; Co\">\n"
                        "  <!ENTITY full \"&co; &#x5BA2;&#25143;\">\n"
                        "  <!ENTITY b \"<b>&full;</b>\">\n"
                        "  <!ENTITY q '\"quoted\"'>\n"
                        "  <!ENTITY co \"second declaration is ignored\">\n"
                        "]>\n"
                        "<r a=\"&q;\">&b;</r>");
    Node r = e.DocumentElement();
    EXPECT_EQ(r.GetAttribute("a"), "\"quoted\"");
    ASSERT_TRUE(r.SelectSingleNode("b"));
    EXPECT_EQ(r.SelectSingleNode("b").Text(), "Tavik & Co 客户");
}

TEST(XmlDom, EntityAbuseFailsTheLoad) {
    std::string laughs = "<!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i)
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + [&] {
            std::string s;
            for (int k = 0; k < 10; ++k)
                s += "&l" + std::to_string(i - 1) + ";";
            return s;
        }() + "\">";
    laughs += "]><l>&l9;</l>";
    // One big entity referenced many times grows quadratically without any nesting.
    std::string wide = "<!DOCTYPE w [<!ENTITY big \"" + std::string(100000, 'x') + "\">]><w>";
    for (int i = 0; i < 100; ++i)
        wide += "&big;";
    wide += "</w>";
    std::string deep = "<!DOCTYPE d [<!ENTITY e0 \"x\">";
    for (int i = 1; i <= 40; ++i)
        deep += "<!ENTITY e" + std::to_string(i) + " \"&e" + std::to_string(i - 1) + ";\">";
    deep += "]><d>&e40;</d>";

    const struct {
        std::string Text;
        const char* Reason;
    } cases[] = {
        {laughs, "expand to more than"},
        {wide, "expand to more than"},
        {deep, "nest too deep"},
        {"<!DOCTYPE s [<!ENTITY a \"&b;\"><!ENTITY b \"&a;\">]><s>&a;</s>", "refers to itself"},
        {"<!DOCTYPE x [<!ENTITY p SYSTEM \"file:///etc/passwd\">]><x>&p;</x>",
         "external entity 'p' is not read"},
        {"<!DOCTYPE x [<!ENTITY % p \"<!ENTITY q 'v'>\"> %p;]><x/>", "parameter entit"},
        {"<!DOCTYPE x [<!ENTITY a \"1 < 2\">]><x v=\"&a;\"/>", "'<' into an attribute"},
        {"<!DOCTYPE x [<!ENTITY a \"R&D\">]><x>&a;</x>", "'&'"},
        {"<!DOCTYPE x [junk]><x/>", "unexpected text"},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        Document d = Document::Create();
        EXPECT_FALSE(d.LoadXML(c.Text)) << c.Text.substr(0, 80);
        EXPECT_NE(d.ParseError().Reason.find(c.Reason), std::string::npos) << d.ParseError().Reason;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    // An external entity that is declared but never referenced does no harm.
    Parsed("<!DOCTYPE x [<!ENTITY p SYSTEM \"file:///etc/passwd\">]><x/>");
}

TEST(XmlDom, ErrorsAfterAnExpansionPointIntoTheTextAsGiven) {
    Document d = Document::Create();
    EXPECT_FALSE(d.LoadXML("<!DOCTYPE x [<!ENTITY e \"" + std::string(50, 'e') +
                           "\">]>\n<x>&e;\n  <y></x>"));
    EXPECT_EQ(d.ParseError().Line, 3);
    EXPECT_EQ(d.ParseError().LinePos, 8) << d.ParseError().Reason;
}

TEST(XmlDom, BuildsDocumentsAndWritesThemBackExactly) {
    Document d = Document::Create();
    ASSERT_TRUE(d.LoadXML("<?xml version=\"1.0\" encoding=\"GB2312\"?><Root/>"));
    Node root = d.DocumentElement();
    Node r1 = d.CreateElement("R1");
    EXPECT_FALSE(r1.ParentNode());
    // A created element is not part of the document until appended.
    EXPECT_EQ(d.Xml(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<Root/>\r\n");
    EXPECT_TRUE(d.SelectNodes("//*").size() == 1);
    EXPECT_EQ(root.AppendChild(r1), r1);
    // The handle stays the appended element.
    r1.SetAttribute("ID", "u01");
    r1.SetAttribute("Name", "王 \"小\" <明> & 'co'\r\n\tend");
    r1.SetAttribute("ID", "u02");
    root.AppendChild(d.CreateElement("R3")).AppendChild(d.CreateTextNode("a<b&c\r"));
    EXPECT_EQ(root.Xml(), "<Root><R1 ID=\"u02\" Name=\"王 &quot;小&quot; &lt;明&gt; &amp; "
                          "'co'&#13;&#10;&#9;end\"/><R3>a&lt;b&amp;c&#13;</R3></Root>");
    EXPECT_EQ(r1.ParentNode(), root);

    Document back = Parsed(d.Xml());
    EXPECT_EQ(back.SelectSingleNode("//R1").GetAttribute("Name"), "王 \"小\" <明> & 'co'\r\n\tend");
    EXPECT_EQ(back.SelectSingleNode("//R3").Text(), "a<b&c\r");
    EXPECT_EQ(back.Xml(), d.Xml());

    // Selections never see elements still waiting to be appended, nor where they wait.
    EXPECT_EQ(d.SelectSingleNode("/*[last()]"), root);
    Node waiting = d.CreateElement("R1");
    EXPECT_EQ(d.SelectNodes("//R1").size(), 1u);
    EXPECT_EQ(d.SelectSingleNode("//*[not(node())]"), r1);
    EXPECT_EQ(d.AsNode().ChildCount(), 2); // the declaration and Root
    EXPECT_EQ(waiting.SelectSingleNode("."), waiting);
    EXPECT_EQ(d.AsNode().Text(), root.Text());

    // Moving an element already in the tree.
    Node r3 = d.SelectSingleNode("//R3");
    r1.AppendChild(r3);
    EXPECT_EQ(d.SelectSingleNode("/Root/R1/R3"), r3);
    EXPECT_EQ(root.ChildCount(), 1);
}

TEST(XmlDom, RefusesWhatTheTreeCannotHold) {
    Document d = Parsed("<a><b/></a>");
    Document other = Parsed("<z/>");
    Node a = d.DocumentElement();
    Node b = d.SelectSingleNode("//b");
    Node doc = d.AsNode();
    const auto raises = [](auto&& f, const char* has) {
        try {
            f();
            ADD_FAILURE() << "no error, expected " << has;
        } catch (const xml::EXmlError& e) {
            EXPECT_NE(std::string(e.what()).find(has), std::string::npos) << e.what();
        }
    };
    raises([&] { b.AppendChild(a); }, "descendants");
    raises([&] { a.AppendChild(a); }, "descendants");
    raises([&] { a.AppendChild(other.DocumentElement()); }, "does not belong");
    raises([&] { doc.AppendChild(d.CreateElement("second")); }, "only one top-level");
    raises([&] { doc.AppendChild(d.CreateTextNode("t")); }, "outside the root");
    raises([&] { d.CreateElement("1bad"); }, "'1bad'");
    raises([&] { d.CreateElement(""); }, "invalid element name");
    raises([&] { a.SetAttribute("a b", "v"); }, "'a b'");
    raises([&] { a.SetAttribute("ok", std::string("x\x01y")); }, "ok");
    raises([&] { a.SetAttribute("ok", "\xFF"); }, "not UTF-8");
    raises([&] { a.Attribute(0).SetAttribute("x", "y"); }, "not an element");
    raises([&] { a.SelectNodes("//[bad"); }, "'//[bad'");
    raises([&] { a.SelectNodes("count(//b)"); }, "count(//b)");
    raises([&] { Document().LoadXML("<a/>"); }, "not been created");
    EXPECT_EQ(d.Xml(), "<a><b/></a>\r\n");
    EXPECT_TRUE(xml::IsXmlName("客户_1.x-y"));
}

TEST(XmlDom, HandlesKeepTheirTreeAlive) {
    Node kept;
    Node old;
    {
        Document d = Parsed("<a><b k=\"v\"/></a>");
        kept = d.SelectSingleNode("//b/@k");
        old = d.SelectSingleNode("//b");
        Document same = kept.OwnerDocument();
        ASSERT_TRUE(same.LoadXML("<new/>"));
        EXPECT_EQ(d.DocumentElement().NodeName(), "new");
    }
    // The document is gone and its old tree replaced; the handles still read.
    EXPECT_EQ(kept.Text(), "v");
    EXPECT_EQ(old.Xml(), "<b k=\"v\"/>");
    Document owner = old.OwnerDocument();
    EXPECT_THROW(owner.DocumentElement().AppendChild(old), xml::EXmlError);
}

TEST(XmlDom, DeepNestingNeedsNoStack) {
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<e>";
    text += "leaf";
    for (int i = 0; i < depth; ++i)
        text += "</e>";
    Document d = Parsed(text);
    EXPECT_EQ(d.DocumentElement().Text(), "leaf");
    EXPECT_EQ(d.SelectNodes("//e").size(), size_t(depth));
    EXPECT_EQ(d.Xml().size(), text.size() + 2);
}

} // namespace
