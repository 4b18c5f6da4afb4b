#include "suite/callwebservice/CallWebService.h"

#include <curl/curl.h>
#include <pugixml.hpp>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>

namespace {

constexpr size_t MaxAnswerBytes = 64u << 20;

thread_local std::string Failure;

const char* Fail(std::string text) {
    Failure = std::move(text);
    return Failure.c_str();
}

std::string Escape(const char* s) {
    std::string out;
    for (; *s; ++s) {
        switch (*s) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += *s;
        }
    }
    return out;
}

bool IsName(const std::string& s) {
    if (s.empty()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const bool start = std::isalpha(c) || c == '_' || c >= 0x80;
        if (!(start || (i > 0 && (std::isdigit(c) || c == '.' || c == '-')))) return false;
    }
    return true;
}

std::string LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node ChildByLocalName(pugi::xml_node n, const char* local) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && LocalName(c.name()) == local) return c;
    return {};
}

pugi::xml_node FirstElement(pugi::xml_node n) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) return c;
    return {};
}

// The envelope's Body when the text is a SOAP envelope.
pugi::xml_node SoapBody(const pugi::xml_document& doc) {
    const pugi::xml_node env = doc.document_element();
    if (!env || LocalName(env.name()) != "Envelope") return {};
    return ChildByLocalName(env, "Body");
}

std::string FaultText(pugi::xml_node body) {
    const pugi::xml_node fault = ChildByLocalName(body, "Fault");
    if (!fault) return "";
    const pugi::xml_node s = ChildByLocalName(fault, "faultstring");
    return s ? s.text().get() : fault.text().get();
}

// The returned value of a SOAP answer.
std::string ReturnedText(pugi::xml_node body) {
    const pugi::xml_node response = FirstElement(body);
    const pugi::xml_node value = response ? FirstElement(response) : pugi::xml_node();
    if (!value) return response ? response.text().get() : "";
    if (!FirstElement(value)) return value.text().get();
    std::ostringstream xml;
    for (pugi::xml_node c = value.first_child(); c; c = c.next_sibling())
        c.print(xml, "", pugi::format_raw);
    return xml.str();
}

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* body = static_cast<std::string*>(user);
    const size_t n = size * count;
    if (body->size() + n > MaxAnswerBytes) return 0; // ends the transfer with an error
    body->append(data, n);
    return n;
}

long TimeoutMs() {
    if (const char* t = std::getenv("ORVANE_WEBSERVICE_TIMEOUT_MS")) {
        char* end = nullptr;
        const long v = std::strtol(t, &end, 10);
        if (end != t && *end == '\0' && v > 0) return v;
    }
    return 60000;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const char*
CallWebServiceFx(const char* endpoint, const char* method, const char* request,
                 const char* resultFile) {
    if (!endpoint || !method || !request || !resultFile)
        return Fail("CallWebServiceFx: null argument");
    const std::string name = method;
    if (!IsName(name))
        return Fail("CallWebServiceFx: method name '" + name + "' is not an XML name");
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const std::string envelope =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" +
        name + " xmlns=\"urn:Tavik\"><request>" + Escape(request) + "</request></" + name +
        "></soap:Body></soap:Envelope>";
    CURL* curl = curl_easy_init();
    if (!curl) return Fail("CallWebServiceFx: the HTTP client cannot be created");
    std::string body;
    char error[CURL_ERROR_SIZE] = "";
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Content-Type: text/xml; charset=utf-8");
    headers = curl_slist_append(headers, ("SOAPAction: \"" + name + "\"").c_str());
    curl_easy_setopt(curl, CURLOPT_URL, endpoint);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, envelope.c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(envelope.size()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, 10000L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, TimeoutMs());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    const CURLcode rc = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    if (rc == CURLE_WRITE_ERROR && body.size() + CURL_MAX_WRITE_SIZE > MaxAnswerBytes)
        return Fail(std::string("CallWebServiceFx: ") + method + " at " + endpoint +
                    ": the answer is larger than " + std::to_string(MaxAnswerBytes) + " bytes");
    if (rc != CURLE_OK)
        return Fail(std::string("CallWebServiceFx: ") + method + " at " + endpoint + ": " +
                    (*error ? error : curl_easy_strerror(rc)));

    pugi::xml_document doc;
    const bool isXml = doc.load_buffer(body.data(), body.size()) && SoapBody(doc);
    if (status < 200 || status >= 300) {
        std::string detail = isXml ? FaultText(SoapBody(doc)) : body.substr(0, 200);
        return Fail(std::string("CallWebServiceFx: ") + method + " at " + endpoint +
                    ": HTTP status " + std::to_string(status) +
                    (detail.empty() ? "" : ": " + detail));
    }
    std::string answer = body;
    if (isXml) {
        const pugi::xml_node soapBody = SoapBody(doc);
        const std::string fault = FaultText(soapBody);
        if (!fault.empty())
            return Fail(std::string("CallWebServiceFx: ") + method + " at " + endpoint +
                        ": SOAP fault: " + fault);
        answer = ReturnedText(soapBody);
    }
    FILE* f = std::fopen(resultFile, "wb");
    if (!f) return Fail(std::string("CallWebServiceFx: cannot write ") + resultFile);
    const bool written = std::fwrite(answer.data(), 1, answer.size(), f) == answer.size();
    if (std::fclose(f) != 0 || !written) {
        std::remove(resultFile);
        return Fail(std::string("CallWebServiceFx: cannot write ") + resultFile);
    }
    return nullptr;
}
