#include "services/LibXml.h"

#include "services/LibStrs.h"

#include "platform/vcl/Dialogs.h"
#include "platform/win/DynLib.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// The export of the web-service library: null on success, else the failure text, owned by the
// library and valid until its next call in the same thread.
using TCallWebServiceFx = const char* (*)(const char* endpoint, const char* method,
                                          const char* request, const char* resultFile);

// The first count characters of a UTF-8 text.
std::string FirstChars(const std::string& s, size_t count) {
    size_t i = 0;
    for (size_t n = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && n++ == count) break;
    return s.substr(0, i);
}

std::string ReadLinesCRLF(const std::string& fileName) {
    std::ifstream f(fileName, std::ios::binary);
    if (!f) throw EWebServiceError("Cannot open file \"" + fileName + "\"");
    std::ostringstream all;
    all << f.rdbuf();
    const std::string bytes = all.str();
    // Lines end at CR LF, LF or CR, as a string list reads them; each is written back with CR LF.
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32);
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        out.append(bytes, start, i - start);
        out += "\r\n";
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) {
        out.append(bytes, start, std::string::npos);
        out += "\r\n";
    }
    return out;
}

} // namespace

void NewXmlDocument(xml::Document& Doc) {
    Doc = xml::Document::Create();
    Doc.SetValidateOnParse(false);
}

void LoadXmlText(const std::string& Text, xml::Document& Doc) {
    NewXmlDocument(Doc);
    Doc.LoadXML(Text);
}

void LoadXmlTextGB(const std::string& Text, xml::Document& Doc) {
    LoadXmlText(NormalizeXmlText(Text), Doc);
}

std::string NormalizeXmlText(const std::string& Source) {
    const std::string head = ReplaceAll(rtl::LowerCase(FirstChars(Source, 100)), "\r\n", "", true);
    const bool hasDeclaration = head.compare(0, 5, "<?xml") == 0;
    const bool hasDoctype = head.find("<!doctype") != std::string::npos;
    const bool hasEncoding = head.find("encoding=") != std::string::npos;
    if (!hasDeclaration)
        return std::string(XmlDeclarationGB) + (hasDoctype ? "" : XmlDoctypeSC) + Source;
    // The declaration's place in Source itself: what precedes it (blanks, line breaks) must not
    // shift the edits into the declaration.
    size_t start = 0;
    while (start < Source.size() && static_cast<unsigned char>(Source[start]) <= ' ')
        ++start;
    const size_t end = Source.find("?>", start);
    if (end == std::string::npos) return Source; // an unterminated declaration stays as it is
    std::string result = Source;
    if (!hasDoctype) result.insert(end + 2, XmlDoctypeSC);
    if (!hasEncoding) result.insert(end, XmlEncodingGB);
    return result;
}

xml::Node FindOrAddChild(const xml::Node& Parent, const std::string& Name, bool Create) {
    if (!Parent) return {};
    xml::Node found = Parent.SelectSingleNode(Name);
    if (found || !Create) return found;
    xml::Document owner = Parent.OwnerDocument();
    return Parent.AppendChild(owner.CreateElement(Name));
}

std::string GetAttribute(const xml::Node& Node, const std::string& Name) {
    return Node.GetAttribute(Name).value_or(std::string());
}

void SetAttribute(const xml::Node& Node, const std::string& Name, const std::string& Value) {
    if (!Node) throw xml::EXmlError("attribute " + Name + " set on no node");
    Node.SetAttribute(Name, Value);
}

std::vector<std::string> HostParameters() {
    std::ifstream f("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> args;
    std::string arg;
    while (std::getline(f, arg, '\0'))
        args.push_back(arg);
    if (!args.empty()) args.erase(args.begin());
    return args;
}

void CallWebService(const std::string& Endpoint, const std::string& Method,
                    const std::string& Request, std::string& Answer) {
    Answer.clear();
    const std::string resultFile = TempFolder() + WebServiceFilePrefix +
                                   rtl::FormatDateTime("yyyymmddhhnnsszzz", rtl::Now()) + ".tmp";
    // Kept loaded: the library may hold its HTTP client between calls.
    win::HMODULE lib = win::LoadLibrary(win::LibraryFileName("CallWebService.dll"));
    const std::vector<std::string> params = HostParameters();
    if (!params.empty() && rtl::UpperCase(params.back()) == "T")
        vcl::ShowMessage(WebServiceTraceText);
    if (!lib) return;
    auto call = reinterpret_cast<TCallWebServiceFx>(win::GetProcAddress(lib, "CallWebServiceFx"));
    if (!call) return;
    if (const char* failure =
            call(Endpoint.c_str(), Method.c_str(), Request.c_str(), resultFile.c_str())) {
        const std::string text = failure;
        std::remove(resultFile.c_str()); // a failed call leaves no answer file behind
        throw EWebServiceError(text);
    }
    try {
        Answer = ReadLinesCRLF(resultFile);
    } catch (...) {
        std::remove(resultFile.c_str());
        throw;
    }
    std::remove(resultFile.c_str());
}
