// XML helpers around the platform's DOM documents, and the portal web-service call through the
// maker's library "CallWebService".
#pragma once

#include "platform/rtl/SysUtils.h"
#include "platform/xml/Dom.h"

#include <string>
#include <string_view>
#include <vector>

// What a failed web-service call raises, with the library's failure text.
RTL_EXCEPTION_CLASS(EWebServiceError, rtl::Exception);

inline constexpr const char* XmlDeclarationGB = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
// Defines the entity stdd, so that "&stdd;" in the data reads as the text "&stdd;".
inline constexpr const char* XmlDoctypeSC = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";
inline constexpr const char* XmlEncodingGB = " encoding=\"GB2312\"";
inline constexpr const char* WebServiceFilePrefix = "~Tavik_";
inline constexpr const char* WebServiceTraceText =
    "跟踪测试中断!可在此时设置Dll之Modules。点\"OK\"继续。";

// A new document with parse-time validation off.
void NewXmlDocument(xml::Document& Doc);
// A new document loaded from Text. Text that does not parse leaves an empty document (no root
// element); nothing is raised.
void LoadXmlText(const std::string& Text, xml::Document& Doc);
void LoadXmlTextGB(const std::string& Text, xml::Document& Doc);
// Gives a text without a declaration the GB2312 declaration and the document type above, a
// declaration without an encoding the GB2312 encoding, and a text without a document type the
// document type (after its declaration). What the text has is judged from its first 100
// characters (lower case, line breaks removed, trimmed); the edits are made where the
// declaration really is, even when line breaks or blanks come before it.
std::string NormalizeXmlText(const std::string& Source);

// Parent's first node matching the XPath Name; when there is none and Create is set, a new
// element Name appended to Parent. The null node otherwise (and for a null Parent).
xml::Node FindOrAddChild(const xml::Node& Parent, const std::string& Name, bool Create);
// The element's attribute as text; empty when the attribute (or the node) is missing.
std::string GetAttribute(const xml::Node& Node, const std::string& Name);
// xml::EXmlError for a null node, a node that is not an element or an invalid name.
void SetAttribute(const xml::Node& Node, const std::string& Name, const std::string& Value);

// Calls the web service Method at Endpoint with the Request text through the library
// "CallWebService" (loaded by name, kept loaded), which writes the answer into a temporary file;
// Answer is that file's lines, each followed by CR LF, and the file is deleted. A missing
// library or export leaves Answer empty without a message; a failed call raises
// EWebServiceError with the library's text. When the host's last command-line parameter is "T"
// (any case), a message pauses the call after the library was loaded, so that a developer can
// attach tools.
void CallWebService(const std::string& Endpoint, const std::string& Method,
                    const std::string& Request, std::string& Answer);

// The host's command-line parameters after the program name (read from the process).
std::vector<std::string> HostParameters();
