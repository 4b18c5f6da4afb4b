#include "services/LibXml.h"

#include "tests/services/HttpEndpoint.h"
#include "tests/support/TestSupport.h"

#include "platform/vcl/Dialogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

using testing_support::EnvGuard;
using testing_support::TempDir;

namespace {

const std::string Decl = XmlDeclarationGB;
const std::string Doctype = XmlDoctypeSC;

struct Scripted {
    vcl::TScriptedResponder* R;
    Scripted() {
        auto r = std::make_unique<vcl::TScriptedResponder>();
        R = r.get();
        vcl::SetInteraction(std::move(r));
    }
    ~Scripted() { vcl::SetInteraction(nullptr); }
};

TEST(LibXml, NormalizeAddsWhatTheTextLacks) {
    const struct {
        std::string Source, Expected;
    } cases[] = {
        {"<Root/>", Decl + Doctype + "<Root/>"},
        {"<!DOCTYPE r><r/>", Decl + "<!DOCTYPE r><r/>"},
        {"<?xml version=\"1.0\"?><r/>", Decl + Doctype + "<r/>"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><r/>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + Doctype + "<r/>"},
        {"<?XML version=\"1.0\"?><!doctype r><r/>",
         "<?XML version=\"1.0\" encoding=\"GB2312\"?><!doctype r><r/>"},
        {"<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<!DocType r>\r\n<r/>",
         "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<!DocType r>\r\n<r/>"},
        // Line breaks and blanks before the declaration do not shift the edits into it.
        {"\r\n\r\n  <?xml version=\"1.0\"?><r/>",
         "\r\n\r\n  <?xml version=\"1.0\" encoding=\"GB2312\"?>" + Doctype + "<r/>"},
        // Only the first 100 characters are judged: a document type further on is not seen.
        {"<r>" + std::string(100, 'x') + "<!DOCTYPE</r>",
         Decl + Doctype + "<r>" + std::string(100, 'x') + "<!DOCTYPE</r>"},
        {"", Decl + Doctype},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeXmlText(c.Source), c.Expected) << c.Source;
}

TEST(LibXml, LoadXmlTextGBReadsTheSuitesTexts) {
    xml::Document doc;
    LoadXmlTextGB("<Root><R1 ID=\"A&stdd;B\" Name=\"王小明\"/></Root>", doc);
    EXPECT_FALSE(doc.ValidateOnParse());
    ASSERT_TRUE(doc.DocumentElement()) << doc.ParseError().Reason;
    const xml::Node r1 = doc.SelectSingleNode("//R1");
    EXPECT_EQ(GetAttribute(r1, "ID"), "A&stdd;B");
    EXPECT_EQ(GetAttribute(r1, "Name"), "王小明");

    // Leading line breaks before the declaration still give a loadable text.
    LoadXmlTextGB("\r\n<?xml version=\"1.0\"?><Root a=\"&stdd;\"/>", doc);
    EXPECT_EQ(GetAttribute(doc.DocumentElement(), "a"), "&stdd;") << doc.ParseError().Reason;

    // Text that is not XML: an empty document, nothing raised.
    for (const char* bad : {"N", "", "<Root><R1></Root>", "<a>&nbsp;</a>"}) {
        LoadXmlText(bad, doc);
        ASSERT_TRUE(doc);
        EXPECT_FALSE(doc.DocumentElement()) << bad;
        EXPECT_TRUE(doc.SelectNodes("//R1").empty());
        LoadXmlTextGB(bad, doc);
        EXPECT_FALSE(doc.DocumentElement()) << bad;
    }
}

TEST(LibXml, FindOrAddChildAndAttributesBuildTheReceiversText) {
    xml::Document doc;
    LoadXmlText(Decl + "<Root/>", doc);
    xml::Node root = doc.DocumentElement();
    EXPECT_FALSE(FindOrAddChild(root, "R1", false));
    xml::Node r1 = FindOrAddChild(root, "R1", true);
    ASSERT_TRUE(r1);
    EXPECT_EQ(FindOrAddChild(root, "R1", true), r1); // found, not added twice
    SetAttribute(r1, "ID", "DS");
    SetAttribute(r1, "Name", "");
    SetAttribute(r1, "Type", "5");
    SetAttribute(r1, "Msg", "YNN");
    xml::Node r3 = FindOrAddChild(root, "R3", true);
    SetAttribute(r3, "ID", "u&3");
    EXPECT_EQ(Decl + root.Xml(), Decl + "<Root><R1 ID=\"DS\" Name=\"\" Type=\"5\" Msg=\"YNN\"/>"
                                        "<R3 ID=\"u&amp;3\"/></Root>");

    EXPECT_EQ(GetAttribute(r1, "Mob"), "");
    EXPECT_EQ(GetAttribute(r1, "Name"), "");
    EXPECT_EQ(GetAttribute(xml::Node(), "ID"), "");
    EXPECT_FALSE(FindOrAddChild(xml::Node(), "R1", true));
    // A path deeper than one child is found but, like any name, created only as one element.
    EXPECT_EQ(FindOrAddChild(doc.AsNode(), "//R3", false), r3);
    EXPECT_THROW(SetAttribute(xml::Node(), "ID", "x"), xml::EXmlError);
    EXPECT_THROW(FindOrAddChild(root, "R 4", true), xml::EXmlError);
}

// --- the web-service call ------------------------------------------------------------------

std::string SoapAnswer(const std::string& returned) {
    std::string escaped;
    for (char c : returned)
        escaped += c == '<' ? "&lt;" : c == '&' ? "&amp;" : std::string(1, c);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
           "<ns:getAllUserResponse xmlns:ns=\"urn:portal\"><return>" +
           escaped + "</return></ns:getAllUserResponse></soap:Body></soap:Envelope>";
}

struct WebServiceFixture : ::testing::Test {
    TempDir Temp;
    EnvGuard TmpDir{"TMPDIR", Temp.Path()};
    EnvGuard LibPath{"ORVANE_LIBRARY_PATH", CALLWEBSERVICE_DIR};
    Scripted Dialogs;

    size_t FilesLeft() const {
        size_t n = 0;
        for (const auto& e : std::filesystem::directory_iterator(Temp.Path()))
            n += e.path().filename().string().rfind(WebServiceFilePrefix, 0) == 0;
        return n;
    }
};

TEST_F(WebServiceFixture, PostsTheRequestAndReturnsTheAnswerLines) {
    const std::string users = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<Response><Status code=\"0\"/>\r\n"
                              "<Record><Field name=\"Id\" value=\"u01\"/></Record>\r"
                              "<Record><Field name=\"Name\" value=\"王小明\"/></Record></Response>";
    HttpEndpoint endpoint([&](const HttpRequest&) { return HttpResponse{200, SoapAnswer(users)}; });
    const std::string request = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Request>   <Access>"
                                "<Authentication user=\"DS\" password=\"\"/></Access></Request>";
    std::string answer = "stale";
    CallWebService(endpoint.Url(), "PORTAL.getAllUser", request, answer);

    EXPECT_EQ(answer, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                      "<Response><Status code=\"0\"/>\r\n"
                      "<Record><Field name=\"Id\" value=\"u01\"/></Record>\r\n"
                      "<Record><Field name=\"Name\" value=\"王小明\"/></Record></Response>\r\n");
    const std::vector<HttpRequest> seen = endpoint.Requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].RequestLine, "POST /portal/services HTTP/1.1");
    EXPECT_NE(seen[0].Headers.find("SOAPAction: \"PORTAL.getAllUser\""), std::string::npos);
    // The request travels as the text of one parameter of the method's element.
    xml::Document sent;
    LoadXmlText(seen[0].Body, sent);
    const xml::Node call = sent.SelectSingleNode("//*[local-name()='Body']/*");
    ASSERT_TRUE(call) << seen[0].Body;
    EXPECT_EQ(call.NodeName(), "PORTAL.getAllUser");
    EXPECT_EQ(call.SelectSingleNode("*").Text(), request);
    EXPECT_EQ(FilesLeft(), 0u);
    EXPECT_TRUE(Dialogs.R->Dialogs.empty());
}

TEST_F(WebServiceFixture, AnAnswerThatIsNoEnvelopeArrivesAsItIs) {
    HttpEndpoint endpoint([](const HttpRequest&) { return HttpResponse{200, "not xml at all"}; });
    std::string answer;
    CallWebService(endpoint.Url(), "PORTAL.getAllUser", "<Request/>", answer);
    EXPECT_EQ(answer, "not xml at all\r\n");
    // Its caller then finds no status in it.
    xml::Document doc;
    LoadXmlText(answer, doc);
    EXPECT_FALSE(doc.SelectSingleNode("//Status[@code]"));
}

TEST_F(WebServiceFixture, FailuresRaiseWithTheReasonAndLeaveNoFile) {
    const std::string fault =
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
        "<soap:Fault><faultcode>soap:Server</faultcode><faultstring>no such user list"
        "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
    HttpEndpoint failing([&](const HttpRequest& r) {
        if (r.RequestLine.find("/plain") != std::string::npos) return HttpResponse{404, "gone"};
        if (r.RequestLine.find("/ok-fault") != std::string::npos) return HttpResponse{200, fault};
        if (r.RequestLine.find("/hang") != std::string::npos) return HttpResponse{0, "", true};
        return HttpResponse{500, fault};
    });
    // A port nobody listens on: bound and closed again.
    std::string dead;
    {
        HttpEndpoint closed([](const HttpRequest&) { return HttpResponse{}; });
        dead = closed.Url();
    }
    EnvGuard timeout("ORVANE_WEBSERVICE_TIMEOUT_MS", "700");

    const struct {
        std::string Url, Method, Has;
    } cases[] = {
        {failing.Url("/fault"), "PORTAL.getAllUser", "HTTP status 500: no such user list"},
        {failing.Url("/ok-fault"), "PORTAL.getAllUser", "SOAP fault: no such user list"},
        {failing.Url("/plain"), "PORTAL.getAllUser", "HTTP status 404: gone"},
        {failing.Url("/hang"), "PORTAL.getAllUser", "timed out"},
        {dead, "PORTAL.getAllUser", dead},
        {"file:///etc/passwd", "PORTAL.getAllUser", "file:///etc/passwd"},
        {failing.Url(), "not a name", "'not a name'"},
    };
    for (const auto& c : cases) {
        std::string answer = "stale";
        const auto start = std::chrono::steady_clock::now();
        try {
            CallWebService(c.Url, c.Method, "<Request/>", answer);
            ADD_FAILURE() << c.Url << ": no error";
        } catch (const EWebServiceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.Has), std::string::npos) << e.what();
        }
        EXPECT_EQ(answer, "");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.Url;
    }
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(WebServiceFixture, AMissingLibraryGivesAnEmptyAnswerWithoutAMessage) {
    HttpEndpoint endpoint([](const HttpRequest&) { return HttpResponse{200, SoapAnswer("x")}; });
    EnvGuard nowhere("ORVANE_LIBRARY_PATH", Temp.Path());
    std::string answer = "stale";
    CallWebService(endpoint.Url(), "PORTAL.getAllUser", "<Request/>", answer);
    EXPECT_EQ(answer, "");
    EXPECT_TRUE(endpoint.Requests().empty());
    EXPECT_TRUE(Dialogs.R->Dialogs.empty());
}

// The trace pause depends on the host's own command line, so it runs in a child process of
// this test program started with the parameter under test.
TEST(LibXmlTrace, Child) {
    const char* expect = std::getenv("LIBXML_TRACE_EXPECT");
    if (!expect) GTEST_SKIP() << "runs as the child of PausesWhenTheLastParameterIsT";
    EnvGuard nowhere("ORVANE_LIBRARY_PATH", "/nonexistent");
    Scripted dialogs;
    std::string answer;
    CallWebService("http://127.0.0.1:9/", "PORTAL.getAllUser", "<Request/>", answer);
    if (std::string(expect) == "1") {
        ASSERT_EQ(dialogs.R->Dialogs.size(), 1u);
        EXPECT_EQ(dialogs.R->Dialogs[0].Text, WebServiceTraceText);
    } else {
        EXPECT_TRUE(dialogs.R->Dialogs.empty());
    }
}

TEST(LibXmlTrace, PausesWhenTheLastParameterIsT) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const struct {
        const char* Params;
        const char* Expect;
    } cases[] = {{"t", "1"}, {"x T", "1"}, {"T x", "0"}, {"", "0"}};
    for (const auto& c : cases) {
        const std::string cmd = std::string("LIBXML_TRACE_EXPECT=") + c.Expect + " '" + self +
                                "' --gtest_filter=LibXmlTrace.Child " + c.Params + " >/dev/null";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
}

} // namespace
